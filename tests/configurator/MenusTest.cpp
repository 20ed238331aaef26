#include "ConfiguratorRig.h"
#include "configurator/GearloomRes.h"
#include "core/ConfigSettings.h"
#include <gtest/gtest.h>
#include <functional>

namespace {

struct MenuSearch {
    HWND found;
};

BOOL CALLBACK FindMenuWindow(HWND h, LPARAM l)
{
    wchar_t name[16];
    if (IsWindowVisible(h) && GetClassNameW(h, name, 16) && wcscmp(name, L"#32768") == 0) {
        ((MenuSearch*)l)->found = h;
        return FALSE;
    }
    return TRUE;
}

// Opens one of the window's menus by a real click on its button; a person on a second
// thread looks at the open menu (its handle and its window), takes a picture of the window
// with the menu over it, and closes it with Esc.
void WithOpenMenu(MainWindowRig& rig, CBitmapBtn& button, const wchar_t* picture,
                  const std::function<void(HMENU)>& look)
{
    SetForegroundWindow(rig.Hwnd());
    EXPECT_TRUE(WindowInFront(rig.Hwnd()));
    // Not so soon after the last click on the button that this one makes a double click.
    rig.Pump(GetDoubleClickTime() + 100);
    DWORD ui = GetCurrentThreadId();
    HWND main = rig.Hwnd();
    std::atomic<bool> seen(false), done(false);
    std::thread person([&] {
        struct Done {
            std::atomic<bool>& flag;
            ~Done() { flag = true; }
        } finish{done};
        MenuSearch s = {nullptr};
        if (!WaitUntil([&] {
                s.found = nullptr;
                EnumThreadWindows(ui, &FindMenuWindow, (LPARAM)&s);
                return s.found != nullptr;
            }))
            return;
        seen = true;
        EXPECT_TRUE(WindowShown(s.found));
        HMENU menu = (HMENU)SendMessageW(s.found, MN_GETHMENU, 0, 0);
        look(menu);
        if (picture) {
            RECT a, b, both;
            GetWindowRect(main, &a);
            GetWindowRect(s.found, &b);
            UnionRect(&both, &a, &b);
            SaveScreenPng(both, picture);
        }
        KeyTap(VK_ESCAPE);
        if (!WaitUntil([&] { return !IsWindowVisible(s.found); }, 3000)) KeyTap(VK_ESCAPE);
    });
    EXPECT_TRUE(ClickOn(button.m_hWnd));
    // The menu runs its own loop inside the click's handling; this waits until it is over.
    PumpUntil([&] { return done.load(); });
    person.join();
    rig.Pump(100);
    EXPECT_TRUE(seen.load()) << "the menu opened";
}

std::wstring ItemText(HMENU menu, int position)
{
    wchar_t text[128] = {};
    GetMenuStringW(menu, (UINT)position, text, 128, MF_BYPOSITION);
    return text;
}

}  // namespace

// The FILE menu: the game list, export, import and print, separated, with their texts.
TEST(Menus, FileMenu)
{
    MainWindowRig rig;
    ASSERT_TRUE(rig.Open());
    WithOpenMenu(rig, rig.dlg->m_btnFileMenu, L"main-file-menu", [](HMENU m) {
        ASSERT_NE(m, nullptr);
        EXPECT_EQ(GetMenuItemCount(m), 7);
        EXPECT_EQ(GetMenuItemID(m, 0), (UINT)ID_EDIT_GAMES);
        EXPECT_EQ(ItemText(m, 0), L"Edit Game List...");
        EXPECT_EQ(GetMenuItemID(m, 2), (UINT)ID_EXPORT_PROFILE);
        EXPECT_EQ(GetMenuItemID(m, 4), (UINT)ID_IMPORT_PROFILE);
        EXPECT_EQ(GetMenuItemID(m, 6), (UINT)ID_PRINT_PROFILE);
        EXPECT_EQ(ItemText(m, 6), L"Print Profile...");
        EXPECT_TRUE(GetMenuState(m, 1, MF_BYPOSITION) & MF_SEPARATOR);
    });
    EXPECT_FALSE(rig.Ended());
}

// The TOOLS menu checks the working copy's polling rate (anything but 1 and 2 as 250 Hz)
// and SHOW_MACRO unless the file's option is 1.
TEST(Menus, ToolsMenuChecks)
{
    MainWindowRig rig;
    ASSERT_TRUE(rig.Open());
    const struct {
        int rate;
        int option;
        UINT checked;
        bool showMacro;
    } cases[] = {{1, 0, ID_RATE_1000, true}, {2, 1, ID_RATE_500, false}, {3, 7, ID_RATE_250, true},
                 {0, 0, ID_RATE_250, true}, {4, 0, ID_RATE_250, true}};
    bool first = true;
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "rate " << c.rate << " option " << c.option);
        rig.dlg->m_config.POLLING_RATE = c.rate;
        SetWarningOptionFlag(rig.ConfDir(), c.option);
        WithOpenMenu(rig, rig.dlg->m_btnToolsMenu, first ? L"main-tools-menu" : nullptr, [&](HMENU m) {
            ASSERT_NE(m, nullptr);
            EXPECT_EQ(GetMenuItemCount(m), 3);
            EXPECT_EQ(ItemText(m, 0), L"Polling Rate");
            HMENU rates = GetSubMenu(m, 0);
            ASSERT_NE(rates, nullptr);
            for (UINT id : {ID_RATE_250, ID_RATE_500, ID_RATE_1000})
                EXPECT_EQ((GetMenuState(rates, id, MF_BYCOMMAND) & MF_CHECKED) != 0, id == c.checked) << id;
            EXPECT_EQ(GetMenuItemID(m, 2), (UINT)ID_SHOW_MACRO);
            EXPECT_EQ((GetMenuState(m, ID_SHOW_MACRO, MF_BYCOMMAND) & MF_CHECKED) != 0, c.showMacro);
        });
        first = false;
        EXPECT_EQ(rig.dlg->m_config.POLLING_RATE, c.rate) << "only looked at";
    }
    WithOpenMenu(rig, rig.dlg->m_btnHelpMenu, L"main-help-menu", [](HMENU m) {
        ASSERT_NE(m, nullptr);
        EXPECT_EQ(GetMenuItemID(m, 0), (UINT)ID_USER_GUIDE);
        EXPECT_EQ(GetMenuItemID(m, 2), (UINT)ID_ABOUT);
    });
    EXPECT_FALSE(rig.Ended());
}

// The system menu of the taskbar button holds the About item.
TEST(Menus, SystemMenuAbout)
{
    MainWindowRig rig;
    ASSERT_TRUE(rig.Open());
    HMENU system = GetSystemMenu(rig.Hwnd(), FALSE);
    ASSERT_NE(system, nullptr);
    int n = GetMenuItemCount(system);
    ASSERT_GE(n, 2);
    EXPECT_EQ(GetMenuItemID(system, n - 1), (UINT)IDM_ABOUTBOX);
    EXPECT_EQ(ItemText(system, n - 1), L"&About AP...");
    EXPECT_TRUE(GetMenuState(system, n - 2, MF_BYPOSITION) & MF_SEPARATOR);
    BoxAnswerer closer(BoxAnswerer::Answer::Close, {rig.Hwnd()});
    rig.dlg->SendMessage(WM_SYSCOMMAND, IDM_ABOUTBOX, 0);
    EXPECT_EQ(closer.Finish(), 1) << "the small About box showed";
    EXPECT_FALSE(rig.Ended());
}
