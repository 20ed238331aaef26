#include "skinkit/CWarningFourDlg.h"
#include "skinkit/CWarningOneDlg.h"
#include "skinkit/CWarningThreeDlg.h"
#include "skinkit/CWarningTwoDlg.h"
#include "core/AppPaths.h"
#include "core/ConfigSettings.h"
#include "GuiTestSupport.h"
#include "SkinTestSupport.h"
#include <gtest/gtest.h>
#include <atomic>
#include <functional>
#include <string>
#include <thread>
#include <vector>

namespace {

const wchar_t* const kMessage = L"Please download and install the free PDF Reader  to read the user guide.";

// Shows the box modally on this thread while a person, on a second thread, acts on it
// once it is up. A box the person leaves open is closed after 8 s and counts as a failure.
template <class Box>
INT_PTR ShowWithPerson(Box& box, const std::function<void(Box&, HWND)>& person)
{
    DWORD ui = GetCurrentThreadId();
    std::atomic<bool> forced(false);
    std::thread t([&] {
        HWND h = nullptr;
        if (!WaitUntil([&] { return (h = FindThreadWindow(ui)) != nullptr; })) return;
        // Painted and active before anyone touches it.
        EXPECT_TRUE(WindowInFront(h));
        EXPECT_TRUE(WindowShown(h));
        person(box, h);
        if (!WaitUntil([&] { return !IsWindow(h); }, 8000)) {
            forced = true;
            PostMessageW(h, WM_CLOSE, 0, 0);
        }
    });
    INT_PTR result = box.DoModal();
    t.join();
    EXPECT_FALSE(forced) << "the box did not close";
    return result;
}

// What the test's own thread was posted and sent on the way to a move.
std::vector<MSG> g_seen;

LRESULT CALLBACK NotePosted(int code, WPARAM w, LPARAM l)
{
    MSG* m = (MSG*)l;
    if (code == HC_ACTION && w == PM_REMOVE && m->message == WM_NCLBUTTONDOWN) g_seen.push_back(*m);
    return CallNextHookEx(nullptr, code, w, l);
}

LRESULT CALLBACK NoteSent(int code, WPARAM w, LPARAM l)
{
    CWPSTRUCT* c = (CWPSTRUCT*)l;
    if (code == HC_ACTION && c->message == WM_SYSCOMMAND) g_seen.push_back(MSG{c->hwnd, c->message, c->wParam, c->lParam, 0, {}});
    return CallNextHookEx(nullptr, code, w, l);
}

void Click(CBitmapBtn& button)
{
    EXPECT_TRUE(ClickOn(button.m_hWnd));
}

void Key(WORD vk)
{
    KeyTap(vk);
}

// Pictures of a box at rest, with the button hovered and pressed; the press is let go
// away from the button, so it clicks nothing. Then Esc closes the box.
template <class Box>
void Pictures(Box& box, HWND h, CBitmapBtn& button, const std::wstring& name)
{
    SaveWindowPng(h, (name + L"-rest").c_str());
    MouseMoveTo(ScreenCenter(button.m_hWnd));
    EXPECT_TRUE(WaitUntil([&] { return button.m_nHover == 1; }));
    EXPECT_TRUE(WindowShown(h));
    SaveWindowPng(h, (name + L"-hover").c_str());
    MouseButton(true, true);
    EXPECT_TRUE(WaitUntil([&] { return (SendMessageW(button.m_hWnd, BM_GETSTATE, 0, 0) & BST_PUSHED) != 0; }));
    EXPECT_TRUE(WindowShown(h));
    SaveWindowPng(h, (name + L"-pressed").c_str());
    RECT r;
    GetWindowRect(h, &r);
    MouseMoveTo(POINT{r.right + 40, r.bottom + 40});
    Sleep(100);
    MouseButton(true, false);
    Sleep(100);
    Key(VK_ESCAPE);
}

}  // namespace

TEST(NoticeDialogs, EveryWayOutGivesItsResultAndWritesOnlyItsOwnOption)
{
    SkinFolders folders;
    typedef CBitmapBtn CWarningThreeDlg::*ThreeButton;
    typedef CBitmapBtn CWarningFourDlg::*FourButton;
    struct Case {
        const char* name;
        std::function<INT_PTR()> show;
        INT_PTR result;
        int optionFlag;
        int fourFlag;
    };
    auto one = [](std::function<void(CWarningOneDlg&)> act) {
        return [act] {
            CWarningOneDlg box(kMessage);
            return ShowWithPerson<CWarningOneDlg>(box, [&](CWarningOneDlg& b, HWND) { act(b); });
        };
    };
    auto two = [](std::function<void(CWarningTwoDlg&)> act) {
        return [act] {
            CWarningTwoDlg box(L"Discard the changes you have not applied?");
            return ShowWithPerson<CWarningTwoDlg>(box, [&](CWarningTwoDlg& b, HWND) { act(b); });
        };
    };
    // The option clicked first when asked, then one way out.
    auto three = [](bool option, std::function<void(CWarningThreeDlg&)> act) {
        return [option, act] {
            CWarningThreeDlg box;
            return ShowWithPerson<CWarningThreeDlg>(box, [&](CWarningThreeDlg& b, HWND) {
                if (option) {
                    Click(b.m_btnOption);
                    WaitUntil([&] { return b.m_btnOption.GetCheck() == 1; });
                }
                act(b);
            });
        };
    };
    auto four = [](bool option, std::function<void(CWarningFourDlg&)> act) {
        return [option, act] {
            CWarningFourDlg box;
            return ShowWithPerson<CWarningFourDlg>(box, [&](CWarningFourDlg& b, HWND) {
                if (option) {
                    Click(b.m_btnOption);
                    WaitUntil([&] { return b.m_btnOption.GetCheck() == 1; });
                }
                act(b);
            });
        };
    };
    auto clickThree = [](ThreeButton m) { return [m](CWarningThreeDlg& b) { Click(b.*m); }; };
    auto clickFour = [](FourButton m) { return [m](CWarningFourDlg& b) { Click(b.*m); }; };
    auto keyThree = [](WORD vk) { return [vk](CWarningThreeDlg&) { Key(vk); }; };
    auto keyFour = [](WORD vk) { return [vk](CWarningFourDlg&) { Key(vk); }; };

    Case cases[] = {
        {"One: OK", one([](CWarningOneDlg& b) { Click(b.m_btnOK); }), IDCANCEL, 7, 7},
        {"One: exit", one([](CWarningOneDlg& b) { Click(b.m_btnExit); }), IDCANCEL, 7, 7},
        {"One: Enter", one([](CWarningOneDlg&) { Key(VK_RETURN); }), IDOK, 7, 7},
        {"One: Esc", one([](CWarningOneDlg&) { Key(VK_ESCAPE); }), IDCANCEL, 7, 7},
        {"Two: Yes", two([](CWarningTwoDlg& b) { Click(b.m_btnYes); }), IDOK, 7, 7},
        {"Two: No", two([](CWarningTwoDlg& b) { Click(b.m_btnNo); }), IDCANCEL, 7, 7},
        {"Two: Enter", two([](CWarningTwoDlg&) { Key(VK_RETURN); }), IDOK, 7, 7},
        {"Two: Esc", two([](CWarningTwoDlg&) { Key(VK_ESCAPE); }), IDCANCEL, 7, 7},
        {"Three: Yes", three(false, clickThree(&CWarningThreeDlg::m_btnYes)), IDOK, 0, 7},
        {"Three: option, Yes", three(true, clickThree(&CWarningThreeDlg::m_btnYes)), IDOK, 1, 7},
        {"Three: option, No", three(true, clickThree(&CWarningThreeDlg::m_btnNo)), IDCANCEL, 7, 7},
        {"Three: exit", three(false, clickThree(&CWarningThreeDlg::m_btnExit)), IDCANCEL, 7, 7},
        {"Three: option, Enter", three(true, keyThree(VK_RETURN)), IDOK, 7, 7},
        {"Three: option, Esc", three(true, keyThree(VK_ESCAPE)), IDCANCEL, 7, 7},
        {"Four: Yes", four(false, clickFour(&CWarningFourDlg::m_btnYes)), IDOK, 7, 0},
        {"Four: option, Yes", four(true, clickFour(&CWarningFourDlg::m_btnYes)), IDOK, 7, 1},
        {"Four: option, No", four(true, clickFour(&CWarningFourDlg::m_btnNo)), IDCANCEL, 7, 7},
        {"Four: option, exit", four(true, clickFour(&CWarningFourDlg::m_btnExit)), IDCANCEL, 7, 7},
        {"Four: Enter", four(false, keyFour(VK_RETURN)), IDOK, 7, 7},
        {"Four: option, Esc", four(true, keyFour(VK_ESCAPE)), IDCANCEL, 7, 7},
    };
    for (auto& c : cases) {
        folders.ResetConfig();
        EXPECT_EQ(c.show(), c.result) << c.name;
        EXPECT_EQ(GetWarningOptionFlag(g_szConfDir), c.optionFlag) << c.name;
        EXPECT_EQ(GetWarningFourOptionFlag(g_szConfDir), c.fourFlag) << c.name;
    }
}

TEST(NoticeDialogs, PicturesAtRestHoveredAndPressed)
{
    SkinFolders folders;
    {
        CWarningOneDlg box(L"The profile file could not be read.");
        EXPECT_EQ(ShowWithPerson<CWarningOneDlg>(box, [](CWarningOneDlg& b, HWND h) {
                      Pictures(b, h, b.m_btnOK, L"notice-one");
                  }),
                  IDCANCEL);
    }
    {
        CWarningTwoDlg box(L"Copy profile 1 onto profile 4? The settings of profile 4 will be replaced.");
        EXPECT_EQ(ShowWithPerson<CWarningTwoDlg>(box, [](CWarningTwoDlg& b, HWND h) {
                      Pictures(b, h, b.m_btnYes, L"notice-two");
                  }),
                  IDCANCEL);
    }
    {
        CWarningThreeDlg box;
        EXPECT_EQ(ShowWithPerson<CWarningThreeDlg>(box, [](CWarningThreeDlg& b, HWND h) {
                      Pictures(b, h, b.m_btnYes, L"notice-three");
                  }),
                  IDCANCEL);
    }
    {
        CWarningFourDlg box;
        EXPECT_EQ(ShowWithPerson<CWarningFourDlg>(box, [](CWarningFourDlg& b, HWND h) {
                      Pictures(b, h, b.m_btnYes, L"notice-four");
                  }),
                  IDCANCEL);
    }
    EXPECT_EQ(GetWarningOptionFlag(g_szConfDir), 7);
    EXPECT_EQ(GetWarningFourOptionFlag(g_szConfDir), 7);
}

TEST(NoticeDialogs, MessageBoxPlacementAndReaderLink)
{
    SkinFolders folders;
    RECT work;
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);

    // Without an owner the box sits in the middle of the work area, without a link.
    CWarningOneDlg centred(kMessage);
    ShowWithPerson<CWarningOneDlg>(centred, [&](CWarningOneDlg& b, HWND h) {
        RECT r;
        EXPECT_TRUE(WaitUntil([&] {
            GetWindowRect(h, &r);
            return abs((r.left + r.right) / 2 - (work.left + work.right) / 2) <= 1 &&
                   abs((r.top + r.bottom) / 2 - (work.top + work.bottom) / 2) <= 1;
        })) << "in the middle of the work area: " << DescribeWindow(h);
        GetWindowRect(h, &r);
        EXPECT_NEAR((r.left + r.right) / 2, (work.left + work.right) / 2, 1);
        EXPECT_NEAR((r.top + r.bottom) / 2, (work.top + work.bottom) / 2, 1);
        EXPECT_EQ(GetDlgItem(h, 1), nullptr);
        Key(VK_ESCAPE);
    });

    TempDir scratch;
    CWarningOneDlg corner(kMessage);
    corner.SetCornerPlacement();
    corner.ShowReaderLink(true);
    EXPECT_EQ(ShowWithPerson<CWarningOneDlg>(corner, [&](CWarningOneDlg& b, HWND h) {
                  RECT r;
                  EXPECT_TRUE(WaitUntil([&] {
                      GetWindowRect(h, &r);
                      return r.right == work.right && r.bottom == work.bottom;
                  })) << "in the work area's corner: " << DescribeWindow(h);
                  GetWindowRect(h, &r);
                  EXPECT_EQ(r.right, work.right);
                  EXPECT_EQ(r.bottom, work.bottom);
                  EXPECT_EQ(r.right - r.left, b.m_sizeNormal.cx);
                  HWND link = GetDlgItem(h, 1);
                  ASSERT_EQ(link, b.m_readerLink.m_hWnd);
                  EXPECT_TRUE(IsWindowVisible(link));
                  EXPECT_EQ(b.m_readerLink.GetWindowText(), L"PDF Reader");
                  EXPECT_EQ(b.m_readerLink.GetURL(), PDF_READER_DOWNLOAD_URL);
                  RECT lr;
                  GetWindowRect(link, &lr);
                  EXPECT_GE(lr.left, r.left);
                  EXPECT_LE(lr.right, r.right);
                  SaveWindowPng(h, L"notice-one-reader-link");
                  MouseMoveTo(ScreenCenter(link));
                  EXPECT_TRUE(WaitUntil([&] { return b.m_readerLink.IsHighlighted() != FALSE; }));
                  EXPECT_TRUE(WindowShown(h));
                  SaveWindowPng(h, L"notice-one-reader-link-hover");
                  // Opening the page is the shell's business; here it opens nothing.
                  b.m_readerLink.SetURL(scratch.File(L"no-such-page.html"));
                  EXPECT_TRUE(ClickOn(link));
                  EXPECT_TRUE(WaitUntil([&] { return b.m_readerLink.m_bVisited != FALSE; }));
                  Sleep(300);
                  EXPECT_TRUE(IsWindow(h)) << "the link leaves the box open";
                  // Space on the focused link acts as Enter.
                  b.m_readerLink.m_bVisited = FALSE;
                  PostMessageW(link, WM_KEYDOWN, VK_SPACE, 0);
                  EXPECT_TRUE(WaitUntil([&] { return b.m_readerLink.m_bVisited != FALSE; }));
                  EXPECT_TRUE(IsWindow(h));
                  Click(b.m_btnOK);
              }),
              IDCANCEL);
}

TEST(NoticeDialogs, WithoutTheirSkinFilesTheBoxesStillCloseWithEsc)
{
    struct Variant {
        const char* name;
        bool skins, strings;
    } variants[] = {{"no skin files", false, false}, {"no Strings.xml", true, false}, {"no Skins.xml", false, true}};
    for (auto& v : variants) {
        SkinFolders folders;
        if (!v.skins) DeleteFileW(folders.App(L"Skins.xml"));
        if (!v.strings) DeleteFileW(folders.App(L"Strings.xml"));
        auto esc = [](auto&, HWND h) {
            EXPECT_TRUE(IsWindowVisible(h));
            Key(VK_ESCAPE);
        };
        CWarningOneDlg one(kMessage);
        EXPECT_EQ(ShowWithPerson<CWarningOneDlg>(one, esc), IDCANCEL) << v.name;
        CWarningTwoDlg two(L"Question?");
        EXPECT_EQ(ShowWithPerson<CWarningTwoDlg>(two, esc), IDCANCEL) << v.name;
        CWarningThreeDlg three;
        EXPECT_EQ(ShowWithPerson<CWarningThreeDlg>(three, esc), IDCANCEL) << v.name;
        CWarningFourDlg four;
        EXPECT_EQ(ShowWithPerson<CWarningFourDlg>(four, [&](CWarningFourDlg& b, HWND h) {
                      if (!v.skins && !v.strings) SaveWindowPng(h, L"notice-four-without-skin-files");
                      esc(b, h);
                  }),
                  IDCANCEL)
            << v.name;
        EXPECT_EQ(three.m_btnYes.m_hWnd, nullptr);
        EXPECT_EQ(GetWarningOptionFlag(g_szConfDir), 7);
    }
}

TEST(NoticeDialogs, TextsFollowStringsXmlAtTheNextPaintAndTheFourIsDraggedByItsBody)
{
    SkinFolders folders;
    CWarningTwoDlg two(L"Question?");
    ShowWithPerson<CWarningTwoDlg>(two, [&](CWarningTwoDlg& b, HWND h) {
        WindowPixels before = GrabWindow(h);
        std::wstring strings = ReadUtf16File(folders.App(L"Strings.xml"));
        size_t at = strings.find(L"Please confirm");
        ASSERT_NE(at, std::wstring::npos);
        strings.replace(at, 14, L"Are you sure?!");
        ASSERT_TRUE(WriteUtf16File(folders.App(L"Strings.xml"), strings));
        HWND yes = b.m_btnYes.m_hWnd;
        WindowPixels after = GrabWindow(h);
        EXPECT_NE(before.raw, after.raw);
        EXPECT_EQ(b.m_btnYes.m_hWnd, yes);
        Key(VK_ESCAPE);
    });

    // The press on the body asks the system to move the box as if its caption were held:
    // a posted WM_NCLBUTTONDOWN, HTCAPTION, at the press's screen point. (The move itself is
    // the window manager's, which follows the pointer of the X server, not injected input.)
    CWarningFourDlg four;
    g_seen.clear();
    HHOOK posted = SetWindowsHookExW(WH_GETMESSAGE, &NotePosted, nullptr, GetCurrentThreadId());
    HHOOK sent = SetWindowsHookExW(WH_CALLWNDPROC, &NoteSent, nullptr, GetCurrentThreadId());
    POINT grip = {};
    ShowWithPerson<CWarningFourDlg>(four, [&](CWarningFourDlg& b, HWND h) {
        // A point of the body with no control: under the text, left of the option.
        RECT text = b.m_textBox.GetWindowRect();
        grip = POINT{text.left + 4, text.bottom + 6};
        EXPECT_EQ(WindowFromPoint(grip), h);
        MouseMoveTo(grip);
        Sleep(100);
        MouseButton(true, true);
        Sleep(100);
        MouseMoveTo(POINT{grip.x - 20, grip.y - 16});
        Sleep(100);
        MouseButton(true, false);
        Sleep(200);
        Key(VK_ESCAPE);
    });
    UnhookWindowsHookEx(posted);
    UnhookWindowsHookEx(sent);
    ASSERT_GE(g_seen.size(), 2u);
    EXPECT_EQ(g_seen[0].message, (UINT)WM_NCLBUTTONDOWN);
    EXPECT_EQ(g_seen[0].wParam, (WPARAM)HTCAPTION);
    EXPECT_EQ(g_seen[0].lParam, MAKELPARAM(grip.x, grip.y));
    EXPECT_EQ(g_seen[1].message, (UINT)WM_SYSCOMMAND);
    EXPECT_EQ(g_seen[1].wParam & 0xFFF0, (WPARAM)SC_MOVE);
}
