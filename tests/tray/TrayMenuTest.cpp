#include "tray/TrayMenu.h"
#include "tray/TrayIconWnd.h"
#include "TestSupport.h"
#include "core/ConfigSettings.h"
#include <gtest/gtest.h>
#include <algorithm>
#include <string>
#include <vector>

namespace {

const std::wstring XML_HEAD = L"<?xml version=\"1.0\" encoding=\"utf-16\"?>\r\n";

std::wstring TrayIconElement(const std::vector<std::pair<std::wstring, std::wstring>>& texts)
{
    std::wstring s = L"<TRAY_ICON>\r\n";
    for (auto& t : texts) s += L"<" + t.first + L">" + t.second + L"</" + t.first + L">\r\n";
    return s + L"</TRAY_ICON>\r\n";
}

std::vector<std::pair<std::wstring, std::wstring>> AllTexts(const std::wstring& tag)
{
    std::vector<std::pair<std::wstring, std::wstring>> t = {{L"OPEN", L"Open " + tag}, {L"PROFILE", L"Profiles " + tag}};
    for (int i = 1; i <= 10; ++i) t.push_back({L"PROFILE_" + std::to_wstring(i), L"P" + std::to_wstring(i) + L" " + tag});
    t.push_back({L"HELP", L"Help " + tag});
    t.push_back({L"HIDE", L"Hide " + tag});
    return t;
}

std::vector<std::wstring> Flatten(const TrayMenuTexts& t)
{
    std::vector<std::wstring> v = {t.open.GetString(), t.profile.GetString()};
    for (const CString& p : t.profiles) v.push_back(p.GetString());
    v.push_back(t.help.GetString());
    v.push_back(t.hide.GetString());
    return v;
}

std::vector<std::wstring> Values(const std::vector<std::pair<std::wstring, std::wstring>>& texts)
{
    std::vector<std::wstring> v;
    for (auto& t : texts) v.push_back(t.second);
    return v;
}

}  // namespace

TEST(TrayMenuTexts, ReadFromTheUsersFileElseTheProgramFolder)
{
    TempDir conf, app;
    std::wstring appFile = XML_HEAD + L"<root>\r\n" + TrayIconElement(AllTexts(L"app")) + L"</root>\r\n";
    auto reversed = AllTexts(L"conf");
    std::reverse(reversed.begin(), reversed.end());  // any order within an element
    std::wstring confFile = XML_HEAD + L"<root>\r\n" + TrayIconElement(reversed) + L"</root>\r\n";
    // A later TRAY_ICON replaces what it holds, also with an empty text, and leaves the rest.
    std::wstring twoElements = XML_HEAD + L"<root>\r\n" + TrayIconElement(AllTexts(L"first")) +
                               TrayIconElement({{L"OPEN", L"Open second"}, {L"HIDE", L""}}) + L"</root>\r\n";
    std::vector<std::wstring> fromTwo = Values(AllTexts(L"first"));
    fromTwo.front() = L"Open second";
    fromTwo.back() = L"";

    struct Case {
        const char* name;
        const std::wstring* confText;  // null: no file
        const std::wstring* appText;
        std::vector<std::wstring> expected;
    } cases[] = {
        {"only the shipped file", nullptr, &appFile, Values(AllTexts(L"app"))},
        {"the user's file first", &confFile, &appFile, Values(AllTexts(L"conf"))},
        {"a user's file that does not load", &XML_HEAD, &appFile, Values(AllTexts(L"app"))},
        {"two elements", &twoElements, nullptr, fromTwo},
        {"no file at all", nullptr, nullptr, std::vector<std::wstring>(14)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        DeleteFileW(conf.File(L"TrayIcon.xml"));
        DeleteFileW(app.File(L"TrayIcon.xml"));
        if (c.confText) WriteUtf16File(conf.File(L"TrayIcon.xml"), *c.confText);
        if (c.appText) WriteUtf16File(app.File(L"TrayIcon.xml"), *c.appText);
        EXPECT_EQ(Flatten(ReadTrayMenuTexts(conf.Path(), app.Path())), c.expected);
    }
}

TEST(TrayMenuTexts, TheStoredProfileDecidesTheCheckedItem)
{
    TempDir conf;
    struct Case {
        const wchar_t* config;  // null: no file
        UINT checked;
    } cases[] = {
        {L"<root>\r\n<PROFILE_ID>3</PROFILE_ID>\r\n</root>\r\n", 2038},
        {L"<root>\r\n<PROFILE_ID>0</PROFILE_ID>\r\n</root>\r\n", 2035},
        {L"<root>\r\n<PROFILE_ID>9</PROFILE_ID>\r\n</root>\r\n", 2044},
        {L"<root>\r\n<PROFILE_ID>12</PROFILE_ID>\r\n</root>\r\n", 2035},
        {L"<root>\r\n<PROFILE_ID>-1</PROFILE_ID>\r\n</root>\r\n", 2035},
        {L"<root>\r\n<PROFILE_ID>x</PROFILE_ID>\r\n</root>\r\n", 2035},
        {L"<root>\r\n<POLLING_RATE>2</POLLING_RATE>\r\n</root>\r\n", 2035},
        {L"<root>\r\n<PROFILE_ID>4", 2035},  // does not load
        {nullptr, 2035},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.config ? c.config : L"no file");
        DeleteFileW(conf.File(L"Config.xml"));
        if (c.config) WriteUtf16File(conf.File(L"Config.xml"), XML_HEAD + c.config);
        EXPECT_EQ(CheckedProfileCmd(ReadProfileId(conf.Path())), c.checked);
    }
}

TEST(TrayMenu, GroupsWithSeparatorsAndTenProfilesWithOneChecked)
{
    TempDir app;
    WriteUtf16File(app.File(L"TrayIcon.xml"), XML_HEAD + L"<root>\r\n" + TrayIconElement(AllTexts(L"x")) + L"</root>\r\n");
    CMenu menu;
    ASSERT_TRUE(BuildTrayMenu(menu, ReadTrayMenuTexts(L"", app.Path()), 2038));
    const UINT SEP = 0, POPUP = (UINT)-1;
    std::vector<UINT> ids = {ID_TRAY_OPEN, SEP, POPUP, SEP, ID_TRAY_HELP, SEP, ID_TRAY_HIDE};
    ASSERT_EQ(menu.GetMenuItemCount(), (int)ids.size());
    for (int i = 0; i < (int)ids.size(); ++i) EXPECT_EQ(GetMenuItemID(menu, i), ids[(size_t)i]) << i;
    EXPECT_EQ(GetMenuDefaultItem(menu, FALSE, 0), ID_TRAY_OPEN);
    auto text = [](HMENU m, UINT item, UINT flags) {
        wchar_t t[64] = {};
        GetMenuStringW(m, item, t, 64, flags);
        return std::wstring(t);
    };
    EXPECT_EQ(text(menu, 0, MF_BYPOSITION), L"Open x");
    EXPECT_EQ(text(menu, 2, MF_BYPOSITION), L"Profiles x");
    EXPECT_EQ(text(menu, ID_TRAY_HELP, MF_BYCOMMAND), L"Help x");
    EXPECT_EQ(text(menu, ID_TRAY_HIDE, MF_BYCOMMAND), L"Hide x");

    HMENU sub = GetSubMenu(menu, 2);
    ASSERT_NE(sub, nullptr);
    ASSERT_EQ(GetMenuItemCount(sub), 19);
    for (int i = 0; i < 19; ++i) {
        UINT id = GetMenuItemID(sub, i);
        UINT state = GetMenuState(sub, i, MF_BYPOSITION);
        if (i % 2) {
            EXPECT_TRUE(state & MF_SEPARATOR) << i;
            continue;
        }
        EXPECT_EQ(id, ID_TRAY_PROFILE_1 + i / 2);
        EXPECT_EQ((state & MF_CHECKED) != 0, id == 2038) << i;
        EXPECT_EQ(text(sub, i, MF_BYPOSITION), L"P" + std::to_wstring(i / 2 + 1) + L" x");
    }
}

TEST(TrayIconStart, TriesElevenTimesSixSecondsApartThenStoresTheFlagAsZero)
{
    TempDir conf;
    struct Case {
        const char* name;
        int flag;               // -1: no TRAY_ICON_FLAG
        int succeedAt;          // the try that succeeds, 0: none
        int tries;
        bool shown;
        int flagAfter;
    } cases[] = {
        {"first try", 1, 1, 1, true, 1},
        {"fifth try", 1, 5, 5, true, 1},
        {"eleventh try", 1, 11, 11, true, 1},
        {"never", 1, 0, 11, false, 0},
        {"flag 0", 0, 1, 0, false, 0},
        {"no flag", -1, 1, 0, false, -1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::wstring config = L"<?xml version=\"1.0\" encoding=\"utf-16\"?>\r\n<root>\r\n<PROFILE_ID>0</PROFILE_ID>\r\n";
        if (c.flag >= 0) config += L"<TRAY_ICON_FLAG>" + std::to_wstring(c.flag) + L"</TRAY_ICON_FLAG>\r\n";
        WriteUtf16File(conf.File(L"Config.xml"), config + L"</root>\r\n");
        int tries = 0;
        std::vector<DWORD> waits;
        bool shown = ShowIconAtStart(
            conf.Path(), [&] { return ++tries == c.succeedAt; }, [&](DWORD ms) { waits.push_back(ms); });
        EXPECT_EQ(shown, c.shown);
        EXPECT_EQ(tries, c.tries);
        EXPECT_EQ(waits, std::vector<DWORD>(c.tries > 0 ? c.tries - 1 : 0, 6000u));
        std::wstring after = ReadUtf16File(conf.File(L"Config.xml"));
        int flagAfter = after.find(L"<TRAY_ICON_FLAG>") == std::wstring::npos ? -1 : GetTrayIconFlag(conf.Path());
        EXPECT_EQ(flagAfter, c.flagAfter);
    }
}
