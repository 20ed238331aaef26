#include "ConfiguratorRig.h"
#include "PersonHand.h"
#include "configurator/main_window/AboutVersions.h"
#include "configurator/main_window/CAboutDialog.h"
#include "configurator/GearloomRes.h"
#include "core/Messages.h"
#include <gtest/gtest.h>

namespace {

bool WriteVersions(const CString& confDir, const wchar_t* firmware, const wchar_t* software)
{
    std::wstring text = L"<?xml version=\"1.0\" encoding=\"utf-16\"?>\r\n<root>\r\n";
    if (firmware) text += std::wstring(L"<FW_VERSION>") + firmware + L"</FW_VERSION>\r\n";
    if (software) text += std::wstring(L"<SOFTWARE_VERSION>") + software + L"</SOFTWARE_VERSION>\r\n";
    text += L"</root>\r\n";
    return WriteUtf16File(confDir + L"FWVersion.xml", text);
}

// The box's pixels as a person sees them, once it has painted.
std::vector<DWORD> Look(HWND box)
{
    EXPECT_TRUE(WindowShown(box));
    int w = 0, h = 0;
    return CaptureWindow(box, &w, &h);
}

// The box's pixels once they are as expected (a notice is taken and painted at the box's
// own pace), or as they are when the wait ends.
std::vector<DWORD> LookUntil(HWND box, const std::function<bool(const std::vector<DWORD>&)>& expected)
{
    std::vector<DWORD> seen;
    WaitUntil([&] {
        seen = Look(box);
        return expected(seen);
    });
    return seen;
}

}  // namespace

TEST(AboutVersions, TextsOfTheNumbers)
{
    const struct {
        int32_t number;
        const wchar_t* firmware;
        const wchar_t* software;
    } cases[] = {
        {105, L"1.05", L"1.05"},
        {0, L"Disconnected", L"1.14"},
        {114, L"1.0e", L"1.14"},
        {1610, L"10.0a", L"1.610"},
        {7, L"0.07", L"7."},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(FirmwareVersionText(c.number), c.firmware) << c.number;
        EXPECT_EQ(SoftwareVersionText(c.number), c.software) << c.number;
    }
}

// The box shows the versions of "FWVersion.xml" and follows the service's notice, from a
// second process or another window: each notice redraws on a clean picture, so going back
// to the first versions gives back the first picture. Enter leaves the box open; Esc ends it.
TEST(AboutBox, ShowsTheVersionsAndFollowsTheirChanges)
{
    MainWindowRig rig;
    ASSERT_TRUE(WriteVersions(rig.ConfDir(), L"105", L"114"));
    ASSERT_TRUE(rig.Open());
    CAboutDialog box(rig.dlg.get());
    std::vector<DWORD> first, changed, back;
    bool openAfterEnter = false;
    DWORD posted = 1;
    CString confDir = rig.ConfDir();
    PersonHand person({[&](HWND h) {
        EXPECT_EQ(FindWindowW(nullptr, GEARLOOM_ABOUT_TITLE), h);
        first = Look(h);
        Snap(h, L"about-box");
        WriteVersions(confDir, L"0", L"120");
        posted = PostFromSecondProcess(GEARLOOM_ABOUT_TITLE, WM_VERSION_CHANGED);
        changed = LookUntil(h, [&](const std::vector<DWORD>& seen) { return seen != first; });
        Snap(h, L"about-box-versions-changed");
        WriteVersions(confDir, L"105", nullptr);
        PostMessageW(FindWindowW(nullptr, GEARLOOM_ABOUT_TITLE), WM_VERSION_CHANGED, 0, 0);
        back = LookUntil(h, [&](const std::vector<DWORD>& seen) { return seen == first; });
        SetForegroundWindow(h);
        EXPECT_TRUE(WindowInFront(h));
        KeyTap(VK_RETURN);
        Sleep(300);
        openAfterEnter = IsWindowVisible(h) != FALSE;
        KeyTap(VK_ESCAPE);
    }});
    INT_PTR result = box.DoModal();
    ASSERT_EQ(person.Finish(), 1);
    EXPECT_EQ(result, IDCANCEL);
    EXPECT_EQ(posted, 0u);
    EXPECT_TRUE(openAfterEnter);
    ASSERT_FALSE(first.empty());
    EXPECT_NE(first, changed);
    EXPECT_EQ(first, back) << "a missing software version counts as 1.14, and nothing of 1.20 stays";
    EXPECT_EQ(box.m_strFirmwareVersion, L"1.05");
    EXPECT_EQ(box.m_strSoftwareVersion, L"1.14");
}

// Without "FWVersion.xml" the firmware is disconnected and the software 1.14; the box is
// the picture's size and shape, and its exit button ends it.
TEST(AboutBox, WithoutVersionFileAndClosedByItsExitButton)
{
    MainWindowRig rig;
    ASSERT_TRUE(rig.Open());
    CAboutDialog box(rig.dlg.get());
    PersonHand person({[&](HWND h) {
        Snap(h, L"about-box-disconnected");
        ClickEntry(h, L"ABOUT", L"BUTTON_EXIT");
    }});
    box.DoModal();
    ASSERT_EQ(person.Finish(), 1);
    EXPECT_EQ(box.m_strFirmwareVersion, L"Disconnected");
    EXPECT_EQ(box.m_strSoftwareVersion, L"1.14");
    EXPECT_EQ(box.m_btnExit.m_strToolTip, L"Close");
}

// The HELP menu's and the profile popup's ABOUT command opens the skinned box over the main
// window; the system menu's item the small plain one.
TEST(AboutBox, OpenedFromTheMainWindow)
{
    MainWindowRig rig;
    ASSERT_TRUE(WriteVersions(rig.ConfDir(), L"105", L"114"));
    ASSERT_TRUE(rig.Open());
    CString title;
    RECT shape = {};
    {
        PersonHand person({[&](HWND h) {
            wchar_t text[128] = {};
            GetWindowTextW(h, text, 128);
            title = text;
            HRGN region = CreateRectRgn(0, 0, 0, 0);
            if (GetWindowRgn(h, region) != ERROR) GetRgnBox(region, &shape);
            DeleteObject(region);
            PostMessageW(h, WM_CLOSE, 0, 0);
        }});
        rig.Command(ID_ABOUT);
        ASSERT_EQ(person.Finish(), 1);
    }
    EXPECT_EQ(title, GEARLOOM_ABOUT_TITLE);
    EXPECT_GT(shape.right - shape.left, 100) << "cut to its mask";

    CString caption;
    {
        PersonHand person({[&](HWND h) {
            wchar_t text[128] = {};
            GetWindowTextW(h, text, 128);
            caption = text;
            Snap(h, L"about-small-box");
            PressButton(h, IDOK);
        }});
        rig.dlg->SendMessage(WM_SYSCOMMAND, IDM_ABOUTBOX, 0);
        ASSERT_EQ(person.Finish(), 1);
    }
    EXPECT_EQ(caption, L"About AP");
    EXPECT_FALSE(rig.Ended());
}
