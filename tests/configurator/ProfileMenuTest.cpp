#include "ConfiguratorRig.h"
#include "PersonHand.h"
#include "configurator/GearloomRes.h"
#include "core/Messages.h"
#include <gtest/gtest.h>
#include <cstring>

namespace {

// The main window as the program makes it, noting every menu command that reaches it. The
// commands that open a dialog are noted and not carried out, unless told.
class NotingMainDlg : public CAPDlg {
public:
    NotingMainDlg() : CAPDlg(false) {}
    std::vector<UINT> commands;
    bool carryOut = false;

protected:
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override
    {
        if (lParam == 0) {
            UINT id = LOWORD(wParam);
            commands.push_back(id);
            bool opensDialog = id != ID_SKIN_ULK && id != ID_SKIN_GENERIC && id != ID_SKIN_NONE;
            if (opensDialog && !carryOut) return TRUE;
        }
        return CAPDlg::OnCommand(wParam, lParam);
    }
};

NotingMainDlg* OpenNoting(MainWindowRig& rig)
{
    NotingMainDlg* d = new NotingMainDlg;
    rig.dlg.reset(d);
    rig.app.m_pMainWnd = d;
    if (!d->Create(IDD_AP_DIALOG)) return nullptr;
    d->ShowWindow(SW_SHOW);
    EXPECT_TRUE(WindowShown(d->m_hWnd));
    return d;
}

// The popup opened by the main window's message, driven by keys; the command it posted
// arrives when the window's messages run again.
void UseProfileMenu(MainWindowRig& rig, std::vector<WORD> keys, const wchar_t* picture = nullptr,
                    const wchar_t* submenuPicture = nullptr, RECT* shown = nullptr)
{
    MenuHand hand(keys, picture, submenuPicture);
    rig.dlg->SendMessage(WM_PROFILE_MENU, 0, 0);
    EXPECT_TRUE(hand.Finish()) << "no menu showed";
    if (shown) *shown = hand.Rect();
    rig.Pump(150);
}

std::vector<WORD> Downs(int n, std::vector<WORD> then)
{
    std::vector<WORD> keys(n, VK_DOWN);
    keys.insert(keys.end(), then.begin(), then.end());
    return keys;
}

HWND NameField(HWND dialog)
{
    return FindWindowExW(dialog, nullptr, L"Edit", nullptr);
}

CString FieldText(HWND edit)
{
    int n = GetWindowTextLengthW(edit);
    std::wstring text(n + 1, L'\0');
    GetWindowTextW(edit, &text[0], n + 1);
    text.resize(n);
    return CString(text);
}

}  // namespace

// Each item of the popup reaches its command; the menu opens at the cursor with the texts
// of "Menu.xml", and the skin choices change nothing.
TEST(ProfileMenu, EveryItemReachesItsCommand)
{
    MainWindowRig rig;
    NotingMainDlg* d = OpenNoting(rig);
    ASSERT_NE(d, nullptr);
    const struct {
        std::vector<WORD> keys;
        UINT command;
    } items[] = {
        {Downs(1, {VK_RETURN}), ID_RESET_PROFILE},
        {Downs(2, {VK_RETURN}), ID_EDIT_GAMES},
        {Downs(3, {VK_RETURN}), ID_RENAME_PROFILE},
        {Downs(4, {VK_RETURN}), ID_EXPORT_PROFILE},
        {Downs(5, {VK_RETURN}), ID_IMPORT_PROFILE},
        {Downs(6, {VK_RIGHT, VK_RETURN}), ID_SKIN_ULK},
        {Downs(6, {VK_RIGHT, VK_DOWN, VK_RETURN}), ID_SKIN_GENERIC},
        {Downs(7, {VK_RETURN}), ID_PRINT_PROFILE},
        {Downs(8, {VK_RETURN}), ID_ABOUT},
    };
    auto before = NewConfigData();
    *before = d->m_config;
    bool first = true;
    for (const auto& item : items) {
        d->commands.clear();
        POINT at = {400, 300};
        MouseMoveTo(at);
        d->SetForegroundWindow();
        EXPECT_TRUE(WindowInFront(d->m_hWnd));
        rig.Pump(50);
        RECT shown = {};
        UseProfileMenu(rig, item.keys, first ? L"profile-menu" : nullptr,
                       item.command == ID_SKIN_GENERIC ? L"profile-menu-skins" : nullptr, &shown);
        first = false;
        ASSERT_EQ(d->commands.size(), 1u) << item.command;
        EXPECT_EQ(d->commands[0], item.command);
        EXPECT_EQ(shown.left, at.x) << item.command;
        EXPECT_EQ(shown.top, at.y) << item.command;
    }
    EXPECT_EQ(CompareConfig(*before, d->m_config), 0) << "the skin choices change nothing";
    EXPECT_FALSE(d->HasUnsavedChanges());
}

// Rename, reached through the popup: the current profile's name in the field; the name
// typed and OK make it the profile's name (an unsaved change) and its button's tooltip.
TEST(RenameProfile, ThroughThePopup)
{
    MainWindowRig rig;
    NotingMainDlg* d = OpenNoting(rig);
    ASSERT_NE(d, nullptr);
    d->carryOut = true;
    rig.dlg->SendMessage(WM_PROFILE_CHANGE, 2);
    CString shownName;
    PersonHand person({[&](HWND h) {
        HWND field = NameField(h);
        shownName = FieldText(field);
        Snap(h, L"rename-profile");
        TypeText(field, L"raid night", true);
        Snap(h, L"rename-profile-typed");
        ClickEntry(h, L"RENAME_PROFILE", L"BUTTON_OK");
    }});
    d->SetForegroundWindow();
    EXPECT_TRUE(WindowInFront(d->m_hWnd));
    UseProfileMenu(rig, Downs(3, {VK_RETURN}));
    ASSERT_EQ(person.Finish(), 1);
    EXPECT_EQ(shownName, L"Profile 3");
    EXPECT_STREQ(d->m_config.profiles[2].PROFILE_NAME, L"raid night");
    EXPECT_EQ(d->m_profileButtons[2].m_strToolTip, L"raid night");
    EXPECT_STREQ(d->m_savedConfig.profiles[2].PROFILE_NAME, L"Profile 3");
    EXPECT_TRUE(d->HasUnsavedChanges());
}

// How the dialog ends: only OK takes the field's text; Cancel, the exit button and Esc
// leave the name; Enter does nothing (no line break, the dialog stays).
TEST(RenameProfile, OnlyOkTakesTheName)
{
    const struct {
        const wchar_t* how;
        bool taken;
    } cases[] = {{L"ok", true}, {L"cancel", false}, {L"exit", false}, {L"escape", false}, {L"enter then ok", true}};
    for (const auto& c : cases) {
        MainWindowRig rig;
        ASSERT_TRUE(rig.Open());
        bool stayedAfterEnter = true;
        PersonHand person({[&](HWND h) {
            HWND field = NameField(h);
            TypeText(field, L"tanks", true);
            CString how = c.how;
            if (how == L"ok") ClickEntry(h, L"RENAME_PROFILE", L"BUTTON_OK");
            if (how == L"cancel") ClickEntry(h, L"RENAME_PROFILE", L"BUTTON_CANCEL");
            if (how == L"exit") ClickEntry(h, L"RENAME_PROFILE", L"BUTTON_EXIT");
            if (how == L"escape") KeyTap(VK_ESCAPE);
            if (how == L"enter then ok") {
                KeyTap(VK_RETURN);
                Sleep(300);
                stayedAfterEnter = IsWindowVisible(h) && FieldText(field) == L"tanks";
                ClickEntry(h, L"RENAME_PROFILE", L"BUTTON_OK");
            }
        }});
        rig.Command(ID_RENAME_PROFILE);
        ASSERT_EQ(person.Finish(), 1) << c.how;
        EXPECT_TRUE(stayedAfterEnter) << c.how;
        int id = rig.dlg->m_config.PROFILE_ID;
        EXPECT_STREQ(rig.dlg->m_config.profiles[id].PROFILE_NAME, c.taken ? L"tanks" : L"Profile 1") << c.how;
        EXPECT_EQ(rig.dlg->HasUnsavedChanges(), c.taken) << c.how;
    }
}

// A name longer than the profile holds (255 characters) is cut, never written past the
// field: a paste stops at the field's limit, and a longer text that reaches
// OK all the same is cut. An empty name is stored empty and, after Apply, the next start
// shows the default name.
TEST(RenameProfile, LongAndEmptyNames)
{
    MainWindowRig rig;
    ASSERT_TRUE(rig.Open());
    CAPDlg& d = *rig.dlg;
    int id = d.m_config.PROFILE_ID;
    const std::wstring longName = std::wstring(250, L'a') + L"bcdefghijklmnopqrstuvwxyz";
    int pastedLength = -1;
    PersonHand paste({[&](HWND h) {
        HWND field = NameField(h);
        SendMessageW(field, EM_SETSEL, 0, -1);
        // The clipboard needs an owner window for its data to stay.
        if (OpenClipboard(h)) {
            EmptyClipboard();
            size_t bytes = (longName.size() + 1) * sizeof(wchar_t);
            HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, bytes);
            memcpy(GlobalLock(block), longName.c_str(), bytes);
            GlobalUnlock(block);
            SetClipboardData(CF_UNICODETEXT, block);
            CloseClipboard();
        }
        SendMessageW(field, WM_PASTE, 0, 0);
        pastedLength = GetWindowTextLengthW(field);
        ClickEntry(h, L"RENAME_PROFILE", L"BUTTON_CANCEL");
    }});
    rig.Command(ID_RENAME_PROFILE);
    ASSERT_EQ(paste.Finish(), 1);
    // The field cuts the paste or refuses it; either way it holds no more than the profile.
    EXPECT_GE(pastedLength, 0);
    EXPECT_LE(pastedLength, 255);

    int32_t dpiAfterName = d.m_config.profiles[id].DPI_VALUE;
    PersonHand setText({[&](HWND h) {
        SetWindowTextW(NameField(h), longName.c_str());
        ClickEntry(h, L"RENAME_PROFILE", L"BUTTON_OK");
    }});
    rig.Command(ID_RENAME_PROFILE);
    ASSERT_EQ(setText.Finish(), 1);
    EXPECT_EQ(std::wstring(d.m_config.profiles[id].PROFILE_NAME), longName.substr(0, 255));
    EXPECT_EQ(d.m_config.profiles[id].DPI_VALUE, dpiAfterName);

    PersonHand empty({[&](HWND h) {
        SetWindowTextW(NameField(h), L"");
        ClickEntry(h, L"RENAME_PROFILE", L"BUTTON_OK");
    }});
    rig.Command(ID_RENAME_PROFILE);
    ASSERT_EQ(empty.Finish(), 1);
    EXPECT_STREQ(d.m_config.profiles[id].PROFILE_NAME, L"");
    ASSERT_TRUE(d.ApplySettings());
    rig.Close();
    ASSERT_TRUE(rig.Open());
    CString expected;
    expected.Format(L"Profile %d", id + 1);
    EXPECT_EQ(CString(rig.dlg->m_config.profiles[id].PROFILE_NAME), expected);
}
