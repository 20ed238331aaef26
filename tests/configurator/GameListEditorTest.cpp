#include "configurator/main_window/CEditGameDlg.h"
#include "configurator/main_window/GameList.h"
#include "skinkit/CWarningOneDlg.h"
#include "configurator/GearloomRes.h"
#include "core/AppPaths.h"
#include "ConfiguratorRig.h"
#include "GuiTestSupport.h"
#include "TestSupport.h"
#include <gtest/gtest.h>
#include <atomic>
#include <cstring>
#include <cwchar>
#include <functional>
#include <memory>
#include <thread>

namespace {

// The person at the editor, on a second thread, while the test's thread runs the editor
// modally (itself, or the main window does). Whatever the acts do, the editor and anything
// over it are closed at the end.
class Person {
public:
    ~Person() { Finish(); }

    void Start(std::function<void(Person&)> acts)
    {
        m_uiThread = GetCurrentThreadId();
        m_thread = std::thread([this, acts] {
            if (WaitUntil([&] { return FindEditor(); })) {
                EXPECT_TRUE(WindowShown(m_editor));
                acts(*this);
            }
            // Whatever is still open on top of the editor goes first.
            for (int i = 0; i < 5 && IsWindow(m_editor); ++i) {
                for (bool ours : {true, false}) {
                    if (HWND other = OtherDialog(ours)) PostMessageW(other, WM_CLOSE, 0, 0);
                }
                PostMessageW(m_editor, WM_CLOSE, 0, 0);
                WaitUntil([&] { return !IsWindow(m_editor); }, 1000);
            }
        });
    }
    void Finish()
    {
        if (m_thread.joinable()) m_thread.join();
    }

    CEditGameDlg& Dlg() const { return *m_dlg; }
    HWND Editor() const { return m_editor; }
    bool EditorOpen() const { return IsWindow(m_editor) && IsWindowVisible(m_editor); }
    void Click(HWND control)
    {
        // As a person waits for the window to come back after a dialog over it closed.
        EXPECT_TRUE(WindowInFront(control));
        EXPECT_TRUE(ClickOn(control));
        Sleep(150);
    }
    // Typed into the path field with the keyboard (lower-case letters, digits, dots).
    void Type(const wchar_t* text)
    {
        Click(m_dlg->m_editPath.m_hWnd);
        for (const wchar_t* c = text; *c; ++c) KeyTap((WORD)(VkKeyScanW(*c) & 0xFF));
        Sleep(150);
    }
    void SetField(const CString& text) { SendMessageW(m_dlg->m_editPath.m_hWnd, WM_SETTEXT, 0, (LPARAM)text.GetString()); }
    CString Field() const
    {
        wchar_t buf[1024] = {};
        SendMessageW(m_dlg->m_editPath.m_hWnd, WM_GETTEXT, 1024, (LPARAM)buf);
        return CString(buf);
    }
    int Rows() const { return (int)SendMessageW(m_dlg->m_listGames.m_hWnd, LB_GETCOUNT, 0, 0); }
    CString Row(int i) const
    {
        wchar_t buf[1024] = {};
        SendMessageW(m_dlg->m_listGames.m_hWnd, LB_GETTEXT, (WPARAM)i, (LPARAM)buf);
        return CString(buf);
    }
    void ClickRow(int i)
    {
        RECT r = {};
        SendMessageW(m_dlg->m_listGames.m_hWnd, LB_GETITEMRECT, (WPARAM)i, (LPARAM)&r);
        POINT p = {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
        ClientToScreen(m_dlg->m_listGames.m_hWnd, &p);
        EXPECT_TRUE(ClickOn(m_dlg->m_listGames.m_hWnd, p));
        EXPECT_TRUE(WaitUntil([&] { return SendMessageW(m_dlg->m_listGames.m_hWnd, LB_GETCURSEL, 0, 0) == i; }))
            << "row " << i << " selected";
    }
    // A dialog of the editor's thread other than the editor: a notice box (ours) or the
    // file dialog (the system's).
    HWND WaitForDialog(bool ours, DWORD ms = 5000)
    {
        HWND found = nullptr;
        WaitUntil(
            [&] {
                found = OtherDialog(ours);
                return found != nullptr;
            },
            ms);
        if (found) {
            EXPECT_TRUE(WindowShown(found));
        }
        return found;
    }
    // The notice box over the editor: its message, answered with its OK button.
    CString AnswerNotice(const wchar_t* picture = nullptr)
    {
        HWND box = WaitForDialog(true);
        if (!box) return CString(L"(no notice)");
        CWarningOneDlg* notice = dynamic_cast<CWarningOneDlg*>(CWnd::FromHandle(box));
        if (!notice) return CString(L"(not a message box)");
        CString message = notice->m_strMessage;
        if (picture) SaveWindowPng(box, picture);
        Click(notice->m_btnOK.m_hWnd);
        WaitUntil([&] { return !IsWindow(box); });
        return message;
    }

private:
    struct Search {
        HWND editor;
        bool ours;
        HWND found;
    };
    static BOOL CALLBACK MatchDialog(HWND h, LPARAM l)
    {
        Search* s = (Search*)l;
        wchar_t name[16] = {};
        GetClassNameW(h, name, 16);
        if (h == s->editor || !IsWindowVisible(h) || wcscmp(name, L"#32770") != 0) return TRUE;
        if ((CWnd::FromHandle(h) != nullptr) != s->ours) return TRUE;
        s->found = h;
        return FALSE;
    }
    HWND OtherDialog(bool ours)
    {
        Search s = {m_editor, ours, nullptr};
        EnumThreadWindows(m_uiThread, &MatchDialog, (LPARAM)&s);
        return s.found;
    }

    // The visible editor of the test's thread.
    bool FindEditor()
    {
        Search s = {nullptr, true, nullptr};
        EnumThreadWindows(m_uiThread, &MatchDialog, (LPARAM)&s);
        CEditGameDlg* dlg = s.found ? dynamic_cast<CEditGameDlg*>(CWnd::FromHandle(s.found)) : nullptr;
        if (!dlg) return false;
        m_dlg = dlg;
        m_editor = s.found;
        return true;
    }

    CEditGameDlg* m_dlg = nullptr;
    std::thread m_thread;
    HWND m_editor = nullptr;
    DWORD m_uiThread = 0;
};

BOOL CALLBACK FindEdit(HWND h, LPARAM l)
{
    wchar_t cls[16] = {};
    GetClassNameW(h, cls, 16);
    if (_wcsicmp(cls, L"Edit") != 0) return TRUE;
    *(HWND*)l = h;
    return FALSE;
}

class GameListEditor : public ::testing::Test {
protected:
    void SetUp() override
    {
        wcscpy(g_szAppDir, SourceFile(L"resources\\"));
        cfg = NewConfigData();
        cfg->PROFILE_ID = 2;
        for (int p = 0; p < PROFILE_COUNT; ++p) CopyField(cfg->profiles[p].GAME_NAME[0], L"other.exe");
    }
    void TearDown() override { g_szAppDir[0] = 0; }

    ProfileData& Current() { return cfg->profiles[cfg->PROFILE_ID]; }
    void SetNames(std::initializer_list<const wchar_t*> names)
    {
        int i = 0;
        for (const wchar_t* n : names) CopyField(Current().GAME_NAME[i++], n);
    }
    CString Slot(int i) { return CString(Current().GAME_NAME[i]); }
    // Runs the editor modally on the record while the person acts.
    void Run(const std::function<void(Person&)>& acts)
    {
        CEditGameDlg dlg;
        dlg.SetConfig(cfg.get());
        Person person;
        person.Start(acts);
        dlg.DoModal();
        person.Finish();
    }

    std::unique_ptr<ConfigData> cfg;
};

}  // namespace

// Names in slots 1 and 3 show as two rows; a typed name is added, a selected row removed,
// and OK adds the name still in the field as the last one. The rows go to slots 1.., the
// rest are emptied; the other profiles stay as they were.
TEST_F(GameListEditor, AddTypedRemoveSelectedAndOK)
{
    SetNames({L"alpha.exe", L"", L"gamma.exe"});
    std::unique_ptr<ConfigData> before = NewConfigData();
    *before = *cfg;
    Run([](Person& p) {
        CEditGameDlg* dlg = &p.Dlg();
        ASSERT_EQ(p.Rows(), 2);
        EXPECT_EQ(p.Row(0), L"alpha.exe");
        EXPECT_EQ(p.Row(1), L"gamma.exe");
        SaveWindowPng(p.Editor(), L"game-list-editor-open");
        p.Type(L"quest2.exe");
        EXPECT_EQ(p.Field(), L"quest2.exe");
        p.Click(dlg->m_btnAdd.m_hWnd);
        WaitUntil([&] { return p.Rows() == 3; });
        EXPECT_EQ(p.Rows(), 3);
        EXPECT_EQ(p.Row(2), L"quest2.exe");
        EXPECT_EQ(p.Field(), L"");
        p.ClickRow(0);
        p.Click(dlg->m_btnRemove.m_hWnd);
        WaitUntil([&] { return p.Rows() == 2; });
        EXPECT_EQ(p.Rows(), 2);
        EXPECT_EQ(p.Row(0), L"gamma.exe");
        p.Type(L"delta.exe");
        SaveWindowPng(p.Editor(), L"game-list-editor-edited");
        p.Click(dlg->m_btnOK.m_hWnd);
        EXPECT_TRUE(WaitUntil([&] { return !p.EditorOpen(); }));
    });
    EXPECT_EQ(Slot(0), L"gamma.exe");
    EXPECT_EQ(Slot(1), L"quest2.exe");
    EXPECT_EQ(Slot(2), L"delta.exe");
    for (int i = 3; i < GAME_NAME_COUNT; ++i) EXPECT_EQ(Slot(i), L"") << i;
    for (int p = 0; p < PROFILE_COUNT; ++p) {
        if (p == cfg->PROFILE_ID) continue;
        EXPECT_EQ(memcmp(&cfg->profiles[p], &before->profiles[p], sizeof(ProfileData)), 0) << p;
    }
}

// Add and Remove, then any way out but OK: Cancel, the exit button, Esc. The record stays
// as it was; Enter does nothing.
TEST_F(GameListEditor, LeavingWithoutOKKeepsTheRecord)
{
    SetNames({L"alpha.exe", L"beta.exe"});
    enum Way { Cancel, Exit, Escape };
    for (Way way : {Cancel, Exit, Escape}) {
        std::unique_ptr<ConfigData> before = NewConfigData();
        *before = *cfg;
        Run([way](Person& p) {
            CEditGameDlg* dlg = &p.Dlg();
            p.Type(L"new.exe");
            p.Click(dlg->m_btnAdd.m_hWnd);
            p.ClickRow(0);
            p.Click(dlg->m_btnRemove.m_hWnd);
            WaitUntil([&] { return p.Rows() == 2; });
            EXPECT_EQ(p.Rows(), 2);
            KeyTap(VK_RETURN);
            Sleep(200);
            EXPECT_TRUE(p.EditorOpen());
            EXPECT_EQ(p.Field(), L"");
            switch (way) {
            case Cancel: p.Click(dlg->m_btnCancel.m_hWnd); break;
            case Exit: p.Click(dlg->m_btnExit.m_hWnd); break;
            case Escape: KeyTap(VK_ESCAPE); break;
            }
            EXPECT_TRUE(WaitUntil([&] { return !p.EditorOpen(); })) << way;
        });
        EXPECT_EQ(memcmp(cfg.get(), before.get(), sizeof(ConfigData)), 0) << way;
    }
}

// Browse runs the system's open-file dialog; a cancelled one changes nothing, a chosen
// program in any folder puts its file name alone into the field.
TEST_F(GameListEditor, BrowsePutsTheProgramsFileNameInTheField)
{
    TempDir games;
    CString folder = games.File(L"Dragon Games\\");
    CreateDirectoryW(folder, nullptr);
    ASSERT_TRUE(WriteBytes(folder + L"dragon.exe", "MZ", 2));
    Run([&](Person& p) {
        CEditGameDlg* dlg = &p.Dlg();
        p.Click(dlg->m_btnBrowse.m_hWnd);
        HWND files = p.WaitForDialog(false);
        ASSERT_TRUE(files);
        SaveWindowPng(files, L"game-list-editor-browse");
        p.Click(GetDlgItem(files, IDCANCEL));
        ASSERT_TRUE(WaitUntil([&] { return !IsWindow(files); }));
        EXPECT_TRUE(WindowInFront(p.Editor()));
        EXPECT_EQ(p.Field(), L"");

        p.Click(dlg->m_btnBrowse.m_hWnd);
        files = p.WaitForDialog(false);
        ASSERT_TRUE(files);
        // The file name box: the edit inside the combo box cmb13.
        HWND name = nullptr;
        EnumChildWindows(GetDlgItem(files, 0x47c), &FindEdit, (LPARAM)&name);
        ASSERT_TRUE(name);
        CString chosen = folder + L"dragon.exe";
        SendMessageW(name, WM_SETTEXT, 0, (LPARAM)chosen.GetString());
        p.Click(GetDlgItem(files, IDOK));
        ASSERT_TRUE(WaitUntil([&] { return !IsWindow(files); }));
        EXPECT_TRUE(WaitUntil([&] { return p.Field() == L"dragon.exe"; }));
        p.Click(dlg->m_btnOK.m_hWnd);
    });
    EXPECT_EQ(Slot(0), L"other.exe");
    EXPECT_EQ(Slot(1), L"dragon.exe");
    EXPECT_EQ(Slot(2), L"");
}

// An eleventh name is refused with a notice, by Add and by OK; the ten stay, the name stays
// in the field, and the editor stays open until the field is cleared.
TEST_F(GameListEditor, EleventhNameRefusedWithANotice)
{
    const wchar_t* ten[] = {L"g1.exe", L"g2.exe", L"g3.exe", L"g4.exe", L"g5.exe",
                            L"g6.exe", L"g7.exe", L"g8.exe", L"g9.exe", L"g10.exe"};
    for (int i = 0; i < 10; ++i) CopyField(Current().GAME_NAME[i], ten[i]);
    Run([](Person& p) {
        CEditGameDlg* dlg = &p.Dlg();
        ASSERT_EQ(p.Rows(), 10);
        p.Type(L"eleven.exe");
        p.Click(dlg->m_btnAdd.m_hWnd);
        EXPECT_EQ(p.AnswerNotice(L"game-list-editor-eleventh-name"), DEFAULT_TOO_MANY_GAMES_TEXT);
        EXPECT_EQ(p.Rows(), 10);
        EXPECT_EQ(p.Field(), L"eleven.exe");
        p.Click(dlg->m_btnOK.m_hWnd);
        EXPECT_EQ(p.AnswerNotice(), DEFAULT_TOO_MANY_GAMES_TEXT);
        EXPECT_TRUE(p.EditorOpen());
        EXPECT_EQ(p.Rows(), 10);
        p.SetField(L"");
        p.Click(dlg->m_btnOK.m_hWnd);
        EXPECT_TRUE(WaitUntil([&] { return !p.EditorOpen(); }));
    });
    for (int i = 0; i < 10; ++i) EXPECT_EQ(Slot(i), ten[i]) << i;
}

// A name longer than 254 characters put into the field (as a browsed one can be) is
// refused with a notice; typing stops at 254; a name of 254 fits its slot with the
// terminator.
TEST_F(GameListEditor, NamesLongerThanASlotNeverReachTheRecord)
{
    SetNames({L"keep.exe"});
    CString fits(L'a', 250);
    fits += L".exe";
    CString tooLong = CString(L'b', 251) + L".exe";
    Run([&](Person& p) {
        CEditGameDlg* dlg = &p.Dlg();
        p.SetField(tooLong);
        p.Click(dlg->m_btnAdd.m_hWnd);
        EXPECT_EQ(p.AnswerNotice(L"game-list-editor-name-too-long"), DEFAULT_GAME_NAME_TOO_LONG_TEXT);
        EXPECT_EQ(p.Rows(), 1);
        EXPECT_EQ(p.Field(), tooLong);
        // Typing stops where a slot ends.
        p.SetField(fits);
        p.Click(dlg->m_editPath.m_hWnd);
        SendMessageW(dlg->m_editPath.m_hWnd, EM_SETSEL, 254, 254);
        KeyTap('X');
        KeyTap('Y');
        Sleep(150);
        EXPECT_EQ(p.Field(), fits);
        p.Click(dlg->m_btnOK.m_hWnd);
        EXPECT_TRUE(WaitUntil([&] { return !p.EditorOpen(); }));
    });
    EXPECT_EQ(Slot(0), L"keep.exe");
    EXPECT_EQ(Slot(1), fits);
    EXPECT_EQ(Current().GAME_NAME[1][254], L'\0');
    EXPECT_EQ(Slot(2), L"");
}

// Without the skin files the editor has no controls; Esc still ends it and nothing changes.
TEST_F(GameListEditor, WithoutSkinFilesEscEndsIt)
{
    TempDir empty;
    wcscpy(g_szAppDir, empty.Path());
    SetNames({L"alpha.exe"});
    std::unique_ptr<ConfigData> before = NewConfigData();
    *before = *cfg;
    Run([](Person& p) {
        CEditGameDlg* dlg = &p.Dlg();
        EXPECT_FALSE(dlg->m_listGames.m_hWnd);
        EXPECT_FALSE(dlg->m_btnOK.m_hWnd);
        SetForegroundWindow(p.Editor());
        EXPECT_TRUE(WindowInFront(p.Editor()));
        KeyTap(VK_ESCAPE);
        EXPECT_TRUE(WaitUntil([&] { return !p.EditorOpen(); }));
    });
    EXPECT_EQ(memcmp(cfg.get(), before.get(), sizeof(ConfigData)), 0);
}

TEST(GameList, SlotsAreNeverWrittenPast)
{
    std::unique_ptr<ConfigData> cfg = NewConfigData();
    ProfileData& p = cfg->profiles[0];
    std::vector<CString> rows;
    for (int i = 0; i < 12; ++i) rows.push_back(CString(L'x', 300));
    CopyField(p.CHARACTER_NAME, L"after");  // lies before; the buttons lie after the slots
    p.buttons[0].code = 1234;
    StoreGameList(p, rows);
    for (int i = 0; i < GAME_NAME_COUNT; ++i) {
        EXPECT_EQ(FieldLength(p.GAME_NAME[i]), GAME_NAME_MAX) << i;
        EXPECT_EQ(p.GAME_NAME[i][GAME_NAME_MAX], L'\0');
    }
    EXPECT_EQ(p.buttons[0].code, 1234);
    EXPECT_EQ(GAME_NAME_MAX, 254);

    StoreGameList(p, {CString(L"one.exe")});
    EXPECT_EQ(ReadGameList(p), std::vector<CString>{CString(L"one.exe")});
    for (int i = 1; i < GAME_NAME_COUNT; ++i) EXPECT_EQ(p.GAME_NAME[i][0], L'\0');

    EXPECT_EQ(CheckGameName(9, CString(L'a', 254)), GameNameCheck::Fits);
    EXPECT_EQ(CheckGameName(9, CString(L'a', 255)), GameNameCheck::TooLong);
    EXPECT_EQ(CheckGameName(10, L"a.exe"), GameNameCheck::TooMany);

    struct Case {
        const wchar_t* path;
        const wchar_t* name;
    } cases[] = {
        {L"C:\\Games\\Dragon Quest\\dq.exe", L"dq.exe"},
        {L"\\\\server\\share\\x.exe", L"x.exe"},
        {L"C:\\a.b\\c", L"c"},
        {L"plain.exe", L"plain.exe"},
    };
    for (const Case& c : cases) EXPECT_EQ(GameFileName(c.path), c.name) << c.path;
}

// FILE > EDIT of the main window: the editor on the working copy of the current profile; what
// OK stores is an unsaved change until Apply.
TEST(GameListEditorOfTheMainWindow, EditsTheWorkingCopy)
{
    MainWindowRig rig;
    ASSERT_TRUE(rig.Open());
    ASSERT_FALSE(rig.dlg->HasUnsavedChanges());
    Person person;
    person.Start([](Person& p) {
        EXPECT_FALSE(IsWindowEnabled(GetWindow(p.Editor(), GW_OWNER)));
        p.Type(L"raid.exe");
        RECT main = {};
        GetWindowRect(GetWindow(p.Editor(), GW_OWNER), &main);
        SaveScreenPng(main, L"game-list-editor-over-main-window");
        p.Click(p.Dlg().m_btnOK.m_hWnd);
        EXPECT_TRUE(WaitUntil([&] { return !p.EditorOpen(); }));
    });
    rig.Command(ID_EDIT_GAMES);
    person.Finish();
    const ConfigData& work = rig.dlg->m_config;
    std::vector<CString> names = ReadGameList(work.profiles[work.PROFILE_ID]);
    ASSERT_FALSE(names.empty());
    EXPECT_EQ(names.back(), L"raid.exe");
    EXPECT_TRUE(rig.dlg->HasUnsavedChanges());
    EXPECT_TRUE(rig.dlg->IsWindowEnabled());
}
