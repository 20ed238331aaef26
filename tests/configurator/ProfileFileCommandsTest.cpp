#include "ConfiguratorRig.h"
#include "PersonHand.h"
#include "core/ConfigTestSupport.h"
#include "configurator/main_window/ProfileFile.h"
#include "configurator/GearloomRes.h"
#include "core/Messages.h"
#include <gtest/gtest.h>
#include <cstring>
#include <functional>
#include <shlobj.h>

namespace {

// The file dialogs' file name field (a combo box with its edit) and their folder list.
const int kFileNameField = 0x47C;
const int kFolderList = 0x471;

CString ControlText(HWND dialog, int id)
{
    wchar_t text[MAX_PATH] = {};
    GetWindowTextW(GetDlgItem(dialog, id), text, MAX_PATH);
    return text;
}

// The person names the file in a file dialog and confirms it.
void ChooseFile(HWND dialog, const wchar_t* name)
{
    SetWindowTextW(GetDlgItem(dialog, kFileNameField), name);
    PressButton(dialog, IDOK);

}

// The main window of a profile full of settings (every field away from its default,
// macros with events), with the dialogs' start folder under a roaming folder of the test.
class ProfileFileCommands : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_appData = m_rig.temp.Path() + L"Roaming";
        CreateDirectoryW(m_appData, nullptr);
        m_redirect.reset(new AppDataRedirect(m_appData));
        m_folder = ProfileFileFolder() + L"\\";
        ASSERT_EQ(m_folder.Find(m_appData), 0) << m_folder.GetString();
        SHCreateDirectoryExW(nullptr, m_folder, nullptr);
        std::unique_ptr<ConfigData> cfg = RichRecord();
        cfg->PROFILE_ID = 3;
        CopyField(cfg->profiles[3].PROFILE_NAME, L"Raid set");
        // Recorded delays are never negative; the file takes none.
        for (MacroData& m : cfg->profiles[3].macros)
            for (MacroEvent& e : m.events)
                if (e.delay < 0) e.delay = 0;
        ASSERT_TRUE(m_rig.WriteConfig(*cfg));
        ASSERT_TRUE(m_rig.Open());
        m_start = NewConfigData();
        *m_start = m_rig.dlg->m_config;
    }

    MainWindowRig m_rig;
    CString m_appData;
    std::unique_ptr<AppDataRedirect> m_redirect;
    CString m_folder;
    std::unique_ptr<ConfigData> m_start;
};

}  // namespace

// EXPORT writes the current profile to the file chosen in the save dialog (which starts in
// the profile folder with the profile's name); IMPORT, after the question that guards the
// changes made since, reads it back from the open dialog: the same profile, field for field.
TEST_F(ProfileFileCommands, ExportThenImportGiveTheSameProfile)
{
    CString startFolder, startName;
    {
        PersonHand person({[&](HWND h) {
            startFolder = ControlText(h, kFolderList);
            startName = ControlText(h, kFileNameField);
            Snap(h, L"export-file-dialog");
            ChooseFile(h, L"raid");
        }});
        m_rig.Command(ID_EXPORT_PROFILE);
        ASSERT_EQ(person.Finish(), 1);
    }
    EXPECT_EQ(startFolder, L"Profile");
    EXPECT_EQ(startName, L"Raid set");
    CString file = m_folder + L"raid.xml";
    ASSERT_NE(GetFileAttributesW(file), INVALID_FILE_ATTRIBUTES);

    // The profile changed since: reset, with another name.
    CAPDlg& d = *m_rig.dlg;
    memset(&d.m_config.profiles[3], 0, sizeof(ProfileData));
    ValidateConfig(d.m_config);
    CopyField(d.m_config.profiles[3].PROFILE_NAME, L"Something else");
    d.RefreshFromProfile();
    ASSERT_TRUE(d.HasUnsavedChanges());
    {
        PersonHand person({[&](HWND h) {
                               Snap(h, L"import-question");
                               ClickEntry(h, L"WARNING_TWO", L"BUTTON_YES");
                           },
                           [&](HWND h) {
                               Snap(h, L"import-file-dialog");
                               ChooseFile(h, L"raid.xml");
                           }});
        m_rig.Command(ID_IMPORT_PROFILE);
        ASSERT_EQ(person.Finish(), 2);
    }
    EXPECT_EQ(CompareConfig(d.m_config, *m_start), 0);
    EXPECT_FALSE(d.HasUnsavedChanges());
    EXPECT_EQ(d.m_profileButtons[3].m_strToolTip, L"Raid set");
}

// A refused file leaves the profile as it was and the person is told why; a cancelled
// dialog or a No to the question does nothing.
TEST_F(ProfileFileCommands, RefusedOrCancelledImportsChangeNothing)
{
    ASSERT_TRUE(CopyFileW(SourceFile(L"resources\\Config.xml"), m_folder + L"whole.xml", FALSE));
    {
        PersonHand person({[&](HWND h) { ChooseFile(h, L"whole.xml"); },
                           [&](HWND h) {
                               Snap(h, L"import-refused");
                               ClickEntry(h, L"WARNING_ONE", L"BUTTON_OK");
                           }});
        m_rig.Command(ID_IMPORT_PROFILE);
        ASSERT_EQ(person.Finish(), 2);
    }
    EXPECT_EQ(CompareConfig(m_rig.dlg->m_config, *m_start), 0);

    {
        PersonHand person({[&](HWND h) { PressButton(h, IDCANCEL); }});
        m_rig.Command(ID_IMPORT_PROFILE);
        ASSERT_EQ(person.Finish(), 1);
    }
    m_rig.dlg->m_config.profiles[3].DPI_VALUE = 1;
    auto changed = NewConfigData();
    *changed = m_rig.dlg->m_config;
    {
        ASSERT_TRUE(CopyFileW(m_folder + L"whole.xml", m_folder + L"never.xml", FALSE));
        PersonHand person({[&](HWND h) { ClickEntry(h, L"WARNING_TWO", L"BUTTON_NO"); }});
        m_rig.Command(ID_IMPORT_PROFILE);
        ASSERT_EQ(person.Finish(), 1) << "no file dialog after No";
    }
    EXPECT_EQ(CompareConfig(m_rig.dlg->m_config, *changed), 0);
}

// An export onto a file that cannot be replaced (read-only) is confirmed by the dialog,
// fails, leaves that file as it was and is told; a cancelled export writes nothing.
TEST_F(ProfileFileCommands, AFailedExportIsTold)
{
    CString locked = m_folder + L"locked.xml";
    ASSERT_TRUE(WriteBytes(locked, "keep", 4));
    SetFileAttributesW(locked, FILE_ATTRIBUTE_READONLY);
    {
        PersonHand person({[&](HWND h) { ChooseFile(h, L"locked.xml"); },
                           [&](HWND h) {
                               Snap(h, L"export-overwrite-question");
                               PressButton(h, IDYES);
                           },
                           [&](HWND h) {
                               Snap(h, L"export-failed");
                               ClickEntry(h, L"WARNING_ONE", L"BUTTON_OK");
                           }});
        m_rig.Command(ID_EXPORT_PROFILE);
        EXPECT_EQ(person.Finish(), 3);
    }
    std::vector<unsigned char> kept = ReadBytes(locked);
    EXPECT_EQ(std::string(kept.begin(), kept.end()), "keep");
    SetFileAttributesW(locked, FILE_ATTRIBUTE_NORMAL);

    {
        PersonHand person({[&](HWND h) { PressButton(h, IDCANCEL); }});
        m_rig.Command(ID_EXPORT_PROFILE);
        ASSERT_EQ(person.Finish(), 1);
    }
    WIN32_FIND_DATAW fd;
    HANDLE h = FindFirstFileW(m_folder + L"*", &fd);
    int files = 0;
    if (h != INVALID_HANDLE_VALUE) {
        do {
            if (!(fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) ++files;
        } while (FindNextFileW(h, &fd));
        FindClose(h);
    }
    EXPECT_EQ(files, 1) << "only the locked file";
}

// Every profile the program can hold exports and imports back equal, field for field: a
// full one, a new configuration's, and one reset with RESTORE. The reset profile reaches
// "Config.xml" through Apply, and another profile through a drop, as a new configuration's.
TEST_F(ProfileFileCommands, EveryProfileExportsAndImportsBackEqual)
{
    CAPDlg& d = *m_rig.dlg;
    auto roundTrip = [&](int index) {
        CString file = m_folder + L"round.xml";
        ASSERT_TRUE(ExportProfileFile(file, d.m_config, index));
        auto back = NewConfigData();
        *back = d.m_config;
        back->PROFILE_ID = index;
        CopyField(back->profiles[index].PROFILE_NAME, L"Overwritten");
        back->profiles[index].macros[0].delayMode = 3;
        ProfileFileProblem problem;
        ASSERT_TRUE(ImportProfileFile(file, *back, problem)) << problem.Describe().GetString();
        back->PROFILE_ID = d.m_config.PROFILE_ID;
        EXPECT_EQ(CompareConfig(*back, d.m_config), 0);
    };
    struct Case {
        const char* what;
        std::function<void()> make;
    };
    const Case cases[] = {
        {"full", [] {}},
        {"a new configuration's", [&] { d.m_config.profiles[3] = MainWindowRig::ShippedConfig()->profiles[3]; }},
        {"reset",
         [&] {
             BoxAnswerer person(BoxAnswerer::Answer::Yes, m_rig.OwnWindows());
             m_rig.Click(d.m_btnRestore);
             EXPECT_EQ(person.Finish(), 1);
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        c.make();
        roundTrip(3);
    }

    // The reset profile is a new configuration's, but for its name.
    auto fresh = NewConfigData();
    ResetConfig(*fresh);
    ValidateConfig(*fresh);
    CopyField(fresh->profiles[3].PROFILE_NAME, d.m_config.profiles[3].PROFILE_NAME);
    EXPECT_EQ(memcmp(&fresh->profiles[3], &d.m_config.profiles[3], sizeof(ProfileData)), 0);

    m_rig.Click(d.m_btnApply);
    EXPECT_FALSE(d.HasUnsavedChanges());
    std::wstring saved = ReadUtf16File(m_rig.ConfigPath());
    EXPECT_EQ(saved.find(L"<MACRO_DELAY_MODE>0</MACRO_DELAY_MODE>"), std::wstring::npos);

    BoxAnswerer person(BoxAnswerer::Answer::Yes, m_rig.OwnWindows());
    d.PostMessage(WM_DROP_PROFILE, 3, 5);
    m_rig.Pump(200);
    EXPECT_EQ(person.Finish(), 1);
    EXPECT_EQ(CString(d.m_config.profiles[5].PROFILE_NAME), CString(d.m_config.profiles[3].PROFILE_NAME));
    for (const MacroData& m : d.m_config.profiles[5].macros) EXPECT_EQ(m.delayMode, 1);
    roundTrip(5);
}
