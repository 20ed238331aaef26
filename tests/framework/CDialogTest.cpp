#include "framework/CDialog.h"
#include "framework/CEdit.h"
#include "framework/CWinApp.h"
#include "FrameworkTestRes.h"
#include "GuiTestSupport.h"
#include <gtest/gtest.h>
#include <functional>
#include <string>
#include <vector>

namespace {

constexpr UINT WM_TEST_END = WM_APP + 1;

// Notes the keys it sees pass on their way up to the dialog.
class NotingEdit : public CEdit {
public:
    std::vector<std::string>* order = nullptr;
    BOOL PreTranslateMessage(MSG* msg) override
    {
        if (msg->message == WM_KEYDOWN && order) order->push_back("edit");
        return FALSE;
    }
};

class TestDialog : public CDialog {
public:
    explicit TestDialog(CWnd* parent = nullptr, UINT id = IDD_TEST_MODAL) : CDialog(id, parent) {}

    std::vector<UINT> seen;
    std::vector<std::string> order;
    HWND handleAtCreate = nullptr;
    int cancels = 0;
    std::function<void(TestDialog&)> onInit;
    NotingEdit edit;

    BOOL OnInitDialog() override
    {
        seen.push_back(WM_INITDIALOG);
        edit.order = &order;
        edit.SubclassDlgItem(IDC_TEST_EDIT, this);
        if (onInit) onInit(*this);
        return TRUE;
    }
    void OnCancel() override
    {
        ++cancels;
        CDialog::OnCancel();
    }
    BOOL PreTranslateMessage(MSG* msg) override
    {
        if (msg->message == WM_KEYDOWN) order.push_back("dialog");
        return CDialog::PreTranslateMessage(msg);
    }
    LRESULT OnNcCreate(WPARAM, LPARAM)
    {
        seen.push_back(WM_NCCREATE);
        return Default();
    }
    LRESULT OnCreate(WPARAM, LPARAM)
    {
        seen.push_back(WM_CREATE);
        handleAtCreate = m_hWnd;
        return Default();
    }
    LRESULT OnEnd(WPARAM w, LPARAM)
    {
        EndDialog((int)w);
        return 0;
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(TestDialog, CDialog)
    ON_MESSAGE(WM_NCCREATE, OnNcCreate)
    ON_MESSAGE(WM_CREATE, OnCreate)
    ON_MESSAGE(WM_TEST_END, OnEnd)
END_MESSAGE_MAP()

bool CreatePopup(CWnd& w, HWND owner, const wchar_t* title)
{
    return w.CreateEx(0, CWnd::RegisterWndClass(0), title, WS_POPUP | WS_VISIBLE, 50, 50, 200, 150, owner, nullptr) !=
           FALSE;
}

}  // namespace

TEST(CDialog, ModalDialogSeesItsCreationMessagesAndEndsWithTheGivenResult)
{
    TestDialog d;
    HWND during = nullptr;
    d.onInit = [&](TestDialog& dlg) {
        during = dlg.m_hWnd;
        EXPECT_EQ(CWnd::FromHandle(dlg.m_hWnd), &dlg);
        EXPECT_EQ(CWnd::FromHandle(dlg.GetDlgItem(IDC_TEST_EDIT)), &dlg.edit);
        dlg.PostMessage(WM_TEST_END, 42);
    };
    EXPECT_EQ(d.DoModal(), 42);
    EXPECT_EQ(d.seen, (std::vector<UINT>{WM_NCCREATE, WM_CREATE, WM_INITDIALOG}));
    EXPECT_EQ(d.handleAtCreate, during);
    EXPECT_EQ(d.m_hWnd, nullptr);
    EXPECT_FALSE(IsWindow(during));
    EXPECT_EQ(d.edit.m_hWnd, nullptr);
}

TEST(CDialog, DialogKeysAndCloseEndTheModalDialog)
{
    struct Case {
        const char* name;
        std::function<void(TestDialog&)> act;
        INT_PTR result;
        int cancels;
    } cases[] = {
        {"Esc in the edit", [](TestDialog& d) { PostMessageW(d.edit.m_hWnd, WM_KEYDOWN, VK_ESCAPE, 0); }, IDCANCEL, 1},
        {"Enter in the edit", [](TestDialog& d) { PostMessageW(d.edit.m_hWnd, WM_KEYDOWN, VK_RETURN, 0); }, IDOK, 0},
        {"WM_CLOSE", [](TestDialog& d) { d.PostMessage(WM_CLOSE); }, IDCANCEL, 1},
        {"Cancel button", [](TestDialog& d) { PostMessageW(d.GetDlgItem(IDCANCEL), BM_CLICK, 0, 0); }, IDCANCEL, 1},
        {"OK button", [](TestDialog& d) { PostMessageW(d.GetDlgItem(IDOK), BM_CLICK, 0, 0); }, IDOK, 0},
    };
    for (auto& c : cases) {
        TestDialog d;
        d.onInit = c.act;
        EXPECT_EQ(d.DoModal(), c.result) << c.name;
        EXPECT_EQ(d.cancels, c.cancels) << c.name;
    }

    // The key went up the parent chain, the control first.
    TestDialog d;
    d.onInit = [](TestDialog& dlg) { PostMessageW(dlg.edit.m_hWnd, WM_KEYDOWN, VK_ESCAPE, 0); };
    d.DoModal();
    EXPECT_EQ(d.order, (std::vector<std::string>{"edit", "dialog"}));
}

TEST(CDialog, OwnerChainIsDisabledWhileModalAndTheMainWindowOwnsByDefault)
{
    CWnd top, main;
    ASSERT_TRUE(CreatePopup(top, nullptr, L"framework test top"));
    ASSERT_TRUE(CreatePopup(main, top.m_hWnd, L"framework test main"));
    CWinApp app;
    app.m_pMainWnd = &main;

    TestDialog d;
    HWND owner = nullptr;
    BOOL mainEnabled = TRUE, topEnabled = TRUE;
    d.onInit = [&](TestDialog& dlg) {
        owner = GetWindow(dlg.m_hWnd, GW_OWNER);
        mainEnabled = main.IsWindowEnabled();
        topEnabled = top.IsWindowEnabled();
        dlg.PostMessage(WM_TEST_END, 7);
    };
    EXPECT_EQ(d.DoModal(), 7);
    EXPECT_EQ(owner, main.m_hWnd);
    EXPECT_FALSE(mainEnabled);
    EXPECT_FALSE(topEnabled);
    EXPECT_TRUE(main.IsWindowEnabled());
    EXPECT_TRUE(top.IsWindowEnabled());

    // A child window given as parent: its top-level window owns the dialog.
    CWnd child;
    ASSERT_TRUE(child.Create(L"STATIC", L"", WS_CHILD | WS_VISIBLE, RECT{0, 0, 20, 20}, &top, 5));
    TestDialog d2(&child);
    d2.onInit = [&](TestDialog& dlg) {
        owner = GetWindow(dlg.m_hWnd, GW_OWNER);
        dlg.PostMessage(WM_TEST_END, 8);
    };
    EXPECT_EQ(d2.DoModal(), 8);
    EXPECT_EQ(owner, top.m_hWnd);
    app.m_pMainWnd = nullptr;
}

TEST(CDialog, QuitEndsTheModalLoopAndStaysQueuedForTheLoopOutside)
{
    TestDialog d;
    d.onInit = [](TestDialog&) { PostQuitMessage(5); };
    EXPECT_EQ(d.DoModal(), -1);
    EXPECT_EQ(d.m_hWnd, nullptr);
    MSG msg;
    ASSERT_TRUE(PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
    EXPECT_EQ(msg.wParam, 5u);
}

TEST(CDialog, MissingTemplateFailsAndLeavesTheOwnerEnabled)
{
    CWnd owner;
    ASSERT_TRUE(CreatePopup(owner, nullptr, L"framework test owner"));
    TestDialog d(&owner, 9999);
    EXPECT_EQ(d.DoModal(), -1);
    EXPECT_TRUE(owner.IsWindowEnabled());
    EXPECT_TRUE(d.seen.empty());
}

TEST(CDialog, ModelessDialogIsOwnedByTheMainWindowAndTakesItsKeysInTheApplicationLoop)
{
    CWinApp app;
    CWnd* main = new CWnd;
    ASSERT_TRUE(CreatePopup(*main, nullptr, L"framework test main"));
    app.m_pMainWnd = main;

    TestDialog d;
    ASSERT_TRUE(d.Create(IDD_TEST_MODAL));
    EXPECT_EQ(d.seen, (std::vector<UINT>{WM_NCCREATE, WM_CREATE, WM_INITDIALOG}));
    EXPECT_EQ(GetWindow(d.m_hWnd, GW_OWNER), main->m_hWnd);
    d.ShowWindow(SW_SHOW);
    PostMessageW(d.edit.m_hWnd, WM_KEYDOWN, VK_ESCAPE, 0);
    main->PostMessage(WM_CLOSE);
    app.Run();
    // Esc went through the dialog keys to OnCancel, which only hides a modeless dialog; its
    // owner took it along when it went.
    EXPECT_EQ(d.cancels, 1);
    EXPECT_EQ(d.order, (std::vector<std::string>{"edit", "dialog"}));
    EXPECT_EQ(d.m_hWnd, nullptr);
    EXPECT_EQ(main->m_hWnd, nullptr);
    delete main;
    app.m_pMainWnd = nullptr;
}
