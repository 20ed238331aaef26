#include "service/DeviceSettings.h"
#include "service/ProfileSwitch.h"
#include "service/GameWatch.h"
#include "core/AppPaths.h"
#include "core/ConfigFile.h"
#include "core/XmlDoc.h"
#include "TestSupport.h"
#include <gtest/gtest.h>

static std::unique_ptr<ConfigData> Defaults()
{
    auto cfg = NewConfigData();
    ResetConfig(*cfg);
    ValidateConfig(*cfg);
    return cfg;
}

TEST(InterceptionMask, FollowsTheButtonsThatKeepTheirWindowsFunction)
{
    struct Case { int gameMode; int b1, b2, b3, b7, b8; DWORD want; } cases[] = {
        {0, 1, 2, 101, 4, 5, 0xFFE0},  // all five stay with Windows
        {0, 1, 2, 6, 4, 5, 0xFFE4},    // middle button as UNIVERSAL_SCROLL goes to the service
        {0, 1, 2, 101, 5, 4, 0xFFF8},  // Windows buttons 4 and 5 swapped: both reported
        {0, 1, 2, 101, 9, 5, 0xFFE8},
        {0, 1, 2, 101, 4, 9, 0xFFF0},
        {0, 3, 2, 101, 4, 5, 0xFFE1},
        {0, 1, 1, 101, 4, 5, 0xFFE2},
        {0, 9, 9, 9, 9, 9, 0xFFFF},
        {1, 1, 2, 101, 4, 5, 0xFF00},  // in-game mode, whatever the buttons hold
        {1, 9, 9, 9, 9, 9, 0xFF00},
    };
    auto cfg = Defaults();
    cfg->PROFILE_ID = 3;
    for (auto& c : cases) {
        cfg->GAME_MODE = c.gameMode;
        ButtonSlot* b = cfg->profiles[3].buttons;
        b[0].code = c.b1, b[1].code = c.b2, b[2].code = c.b3, b[6].code = c.b7, b[7].code = c.b8;
        EXPECT_EQ(InterceptionMask(*cfg), c.want) << c.b1 << "," << c.b2 << "," << c.b3 << "," << c.b7 << "," << c.b8;
    }
    // Another profile's buttons do not count.
    cfg->GAME_MODE = 0;
    cfg->profiles[4].buttons[0].code = 9;
    EXPECT_EQ(InterceptionMask(*cfg), 0xFFFFu);
}

TEST(DeviceSettings, ValueRules)
{
    struct Clamp { int in, want; } clamps[] = {{-3, 0}, {0, 0}, {10, 10}, {18, 18}, {25, 18}};
    for (auto& c : clamps) EXPECT_EQ(ClampDeviceSensitivity(c.in), c.want) << c.in;
    struct Dc { int in; UINT want; } dcs[] = {{100, 500}, {149, 500}, {150, 150}, {950, 950}, {951, 500}, {1000, 500}, {-1, 500}};
    for (auto& c : dcs) EXPECT_EQ(DoubleClickTimeFor(c.in), c.want) << c.in;
    EXPECT_EQ(ZeroAsFive(0), 5);
    EXPECT_EQ(ZeroAsFive(7), 7);
    struct Step { int stage; bool up; int want; } steps[] = {
        {1, true, 0}, {2, true, 1}, {4, true, 3}, {5, true, 4},
        {4, false, 0}, {5, false, 0}, {3, false, 4}, {1, false, 2},
    };
    for (auto& c : steps) EXPECT_EQ(DpiStepTarget(c.stage, c.up), c.want) << c.stage << (c.up ? " up" : " down");
    auto cfg = Defaults();
    struct Index { int id, want; } indexes[] = {{0, 0}, {9, 9}, {10, 0}, {-1, 0}};
    for (auto& c : indexes) {
        cfg->PROFILE_ID = c.id;
        EXPECT_EQ(CurrentProfileIndex(*cfg), c.want);
    }
}

TEST(GameWatch, FirstListingProfileWinsWithoutRegardToCase)
{
    auto cfg = Defaults();
    CopyField(cfg->profiles[2].GAME_NAME[4], L"Game.exe");
    CopyField(cfg->profiles[4].GAME_NAME[0], L"game.EXE");
    CopyField(cfg->profiles[7].GAME_NAME[9], L"other.exe");
    struct Case { const wchar_t* exe; int want; } cases[] = {
        {L"GAME.exe", 2}, {L"other.EXE", 7}, {L"notepad.exe", -1}, {L"", -1}, {nullptr, -1},
    };
    for (auto& c : cases) EXPECT_EQ(FindGameProfile(*cfg, c.exe), c.want);
}

class ConfigWriters : public testing::Test {
protected:
    TempDir dir;
    void SetUp() override { wcscpy(g_szConfDir, dir.Path()); }
    void TearDown() override { g_szConfDir[0] = 0; }
    CString Path() const { return dir.File(L"Config.xml"); }
    void WriteDefaults(const wchar_t* profileChanged)
    {
        auto cfg = Defaults();
        ASSERT_TRUE(WriteNewConfigFile(*cfg, Path()));
        if (!profileChanged) return;
        CXmlDoc doc;
        ASSERT_TRUE(doc.LoadFile(Path()));
        doc.FindElement(nullptr);
        doc.EnterNode();
        doc.AddElement(L"PROFILE_CHAGED", profileChanged);
        ASSERT_TRUE(doc.SaveFile(Path()));
    }
    std::unique_ptr<ConfigData> Load()
    {
        auto cfg = NewConfigData();
        ResetConfig(*cfg);
        LoadConfig(*cfg, Path());
        return cfg;
    }
};

TEST_F(ConfigWriters, ProfileChangedRoundTripsWithTrailingCommas)
{
    WriteDefaults(L"0,0,");
    int saved = 2, switched = 1;
    EXPECT_EQ(WriteProfileChanged(&saved, &switched, dir.Path()), 1);
    EXPECT_NE(ReadUtf16File(Path()).find(L"<PROFILE_CHAGED>2,1,</PROFILE_CHAGED>"), std::wstring::npos);
    int s = -5, w = -5;
    EXPECT_EQ(ReadProfileChanged(&s, &w, dir.Path()), 1);
    EXPECT_EQ(s, 2);
    EXPECT_EQ(w, 1);
}

TEST_F(ConfigWriters, ProfileChangedIsAddedOnceAsTheRootsLastChild)
{
    WriteDefaults(nullptr);
    int s = 7, w = 7;
    EXPECT_EQ(ReadProfileChanged(&s, &w, dir.Path()), 1);  // missing element: empty text
    EXPECT_EQ(s, 0);
    EXPECT_EQ(w, 0);

    int saved = 3, switched = 1;
    EXPECT_EQ(WriteProfileChanged(&saved, &switched, dir.Path()), 1);
    std::wstring text = ReadUtf16File(Path());
    EXPECT_EQ(CountOf(text, L"PROFILE_CHAGED"), 2u);  // one start and one end tag
    EXPECT_NE(text.find(L"</PROFILE_10>\r\n<PROFILE_CHAGED>3,1,</PROFILE_CHAGED>\r\n</root>"), std::wstring::npos);
    EXPECT_EQ(ReadProfileChanged(&s, &w, dir.Path()), 1);
    EXPECT_EQ(s, 3);
    EXPECT_EQ(w, 1);
    EXPECT_EQ(Load()->PROFILE_ID, 0);  // the rest of the file reads as before

    // A second write changes the element the first one added.
    saved = 3, switched = 0;
    WriteProfileChanged(&saved, &switched, dir.Path());
    text = ReadUtf16File(Path());
    EXPECT_EQ(CountOf(text, L"PROFILE_CHAGED"), 2u);
    EXPECT_NE(text.find(L"<PROFILE_CHAGED>3,0,</PROFILE_CHAGED>"), std::wstring::npos);
}

TEST_F(ConfigWriters, ProfileChangedWithoutAConfigFileChangesNothing)
{
    int s = 7, w = 7;
    EXPECT_EQ(ReadProfileChanged(&s, &w, dir.Path()), 0);
    EXPECT_EQ(s, 7);
    EXPECT_EQ(w, 7);
    int saved = 3, switched = 1;
    EXPECT_EQ(WriteProfileChanged(&saved, &switched, dir.Path()), 1);
    EXPECT_EQ(GetFileAttributesW(Path()), INVALID_FILE_ATTRIBUTES);
}

TEST(ProfileChanged, TextParsing)
{
    struct Case { const wchar_t* text; int saved, switched; } cases[] = {
        {L"2,1,", 2, 1}, {L"5,0,", 5, 0}, {L"", 0, 0}, {L"7", 0, 0}, {L"4,1", 4, 0},
        {L"x,1,", 0, 1}, {L" 3,1,", 3, 1}, {L"12,1,", 12, 1}, {L"-1,1,", -1, 1},
    };
    for (auto& c : cases) {
        int s = 99, w = 99;
        ParseProfileChanged(c.text, &s, &w);
        EXPECT_EQ(s, c.saved) << c.text;
        EXPECT_EQ(w, c.switched) << c.text;
    }
    EXPECT_TRUE(IsProfileIndex(0));
    EXPECT_TRUE(IsProfileIndex(9));
    EXPECT_FALSE(IsProfileIndex(10));
    EXPECT_FALSE(IsProfileIndex(-1));
}

TEST_F(ConfigWriters, ProfileIdAndDpiAreWrittenInPlace)
{
    WriteDefaults(nullptr);
    EXPECT_EQ(WriteProfileId(6), 1);
    EXPECT_EQ(WriteProfileDpi(6, 1), 1);
    EXPECT_EQ(WriteProfileDpi(0, 3), 1);
    auto cfg = Load();
    EXPECT_EQ(cfg->PROFILE_ID, 6);
    EXPECT_EQ(cfg->profiles[6].DPI_VALUE, 1);
    EXPECT_EQ(cfg->profiles[0].DPI_VALUE, 3);
    EXPECT_EQ(cfg->profiles[5].DPI_VALUE, 4);
    EXPECT_EQ(cfg->profiles[7].DPI_VALUE, 4);
    // A profile that does not exist in the file changes nothing.
    std::wstring before = ReadUtf16File(Path());
    WriteProfileDpi(10, 2);
    EXPECT_EQ(ReadUtf16File(Path()), before);
}

TEST_F(ConfigWriters, WithoutAConfigFileNothingIsWritten)
{
    EXPECT_EQ(WriteProfileId(3), 1);
    EXPECT_EQ(WriteProfileDpi(3, 2), 1);
    EXPECT_EQ(GetFileAttributesW(Path()), INVALID_FILE_ATTRIBUTES);
}
