#include "core/ConfigData.h"
#include <gtest/gtest.h>
#include <cstring>
#include <functional>

namespace {

std::unique_ptr<ConfigData> DefaultConfig()
{
    auto cfg = NewConfigData();
    ResetConfig(*cfg);
    ValidateConfig(*cfg);
    return cfg;
}

} // namespace

TEST(ConfigData, RecordSizesFollowTheFieldLayout)
{
    EXPECT_EQ(sizeof(MacroEvent), 8u);
    EXPECT_EQ(sizeof(ButtonSlot), 8u);
    EXPECT_EQ(sizeof(ConfigData), 12 + PROFILE_COUNT * sizeof(ProfileData));
    EXPECT_GT(sizeof(ConfigData), 1600000u);
}

TEST(ConfigData, NewRecordIsZeroFilled)
{
    auto cfg = NewConfigData();
    const unsigned char* p = reinterpret_cast<const unsigned char*>(cfg.get());
    size_t nonZero = 0;
    for (size_t i = 0; i < sizeof(ConfigData); ++i) nonZero += p[i] != 0;
    EXPECT_EQ(nonZero, 0u);
}

TEST(ConfigData, ResetMarksMissingValuesAndKeepsGameMode)
{
    auto cfg = NewConfigData();
    cfg->GAME_MODE = 1;
    wcscpy(cfg->profiles[4].PROFILE_NAME, L"old");
    cfg->profiles[4].macros[3].events[0].vk = 65;
    ResetConfig(*cfg);
    EXPECT_EQ(cfg->PROFILE_ID, -1);
    EXPECT_EQ(cfg->POLLING_RATE, -1);
    EXPECT_EQ(cfg->GAME_MODE, 1);
    for (const ProfileData& p : cfg->profiles) {
        EXPECT_EQ(p.REGION, 0);
        EXPECT_EQ(p.PROFILE_NAME[0], 0);
        for (int v : {p.DPI_VALUE, p.DOUBLE_CLICK_SPEED, p.SCROLL_SPEED, p.SENSITIVITY, p.ADVANCE_SENSITIVITY_X,
                      p.ADVANCE_SENSITIVITY_Y, (int)p.LED_COLOR, p.LED_INTENSITY, p.LED_PULSATION})
            EXPECT_EQ(v, -1);
        for (int i = 0; i < BUTTON_COUNT; ++i) {
            EXPECT_EQ(p.buttons[i].number, i + 1);
            EXPECT_EQ(p.buttons[i].code, -1);
        }
        for (const MacroData& m : p.macros) {
            EXPECT_EQ(m.delayMode, 1);
            EXPECT_EQ(m.events[0].vk, 0);
            EXPECT_EQ(m.loopCount, 0);
        }
    }
}

TEST(ConfigData, ValidateFillsDefaultsOfAResetRecord)
{
    auto cfg = NewConfigData();
    ResetConfig(*cfg);
    EXPECT_EQ(ValidateConfig(*cfg), 1);
    EXPECT_EQ(cfg->PROFILE_ID, 0);
    EXPECT_EQ(cfg->POLLING_RATE, 2);
    EXPECT_EQ(cfg->GAME_MODE, 0);
    const int codes[BUTTON_COUNT] = {1, 2, 6, 9, 9, 9, 4, 5, 9, 9, 9};
    for (int n = 0; n < PROFILE_COUNT; ++n) {
        const ProfileData& p = cfg->profiles[n];
        EXPECT_EQ(p.DPI_VALUE, 4);
        EXPECT_EQ(p.DOUBLE_CLICK_SPEED, 500);
        EXPECT_EQ(p.SCROLL_SPEED, 10);
        EXPECT_EQ(p.SENSITIVITY, 10);
        EXPECT_EQ(p.ADVANCE_SENSITIVITY_X, 10);
        EXPECT_EQ(p.ADVANCE_SENSITIVITY_Y, 10);
        EXPECT_EQ(p.LED_COLOR, 0x3CFFu);
        EXPECT_EQ(p.LED_INTENSITY, 4);
        EXPECT_EQ(p.LED_PULSATION, 3);
        EXPECT_EQ(std::wstring(p.PROFILE_NAME), L"Profile " + std::to_wstring(n + 1));
        for (int i = 0; i < BUTTON_COUNT; ++i) {
            EXPECT_EQ(p.buttons[i].code, codes[i]);
            EXPECT_EQ(p.buttons[i].number, i + 1);
        }
    }
    EXPECT_EQ(ValidateConfig(*cfg), 0);
}

TEST(ConfigData, ValidationTable)
{
    struct Case {
        const char* what;
        std::function<void(ConfigData&)> set;
        std::function<bool(const ConfigData&)> check;
        int result;
    };
    const Case cases[] = {
        {"PROFILE_ID 10", [](ConfigData& c) { c.PROFILE_ID = 10; }, [](const ConfigData& c) { return c.PROFILE_ID == 0; }, 1},
        {"PROFILE_ID 9", [](ConfigData& c) { c.PROFILE_ID = 9; }, [](const ConfigData& c) { return c.PROFILE_ID == 9; }, 0},
        {"PROFILE_ID -1", [](ConfigData& c) { c.PROFILE_ID = -1; }, [](const ConfigData& c) { return c.PROFILE_ID == 0; }, 1},
        {"POLLING_RATE 0", [](ConfigData& c) { c.POLLING_RATE = 0; }, [](const ConfigData& c) { return c.POLLING_RATE == 2; }, 1},
        {"POLLING_RATE 3", [](ConfigData& c) { c.POLLING_RATE = 3; }, [](const ConfigData& c) { return c.POLLING_RATE == 3; }, 0},
        {"POLLING_RATE 4", [](ConfigData& c) { c.POLLING_RATE = 4; }, [](const ConfigData& c) { return c.POLLING_RATE == 2; }, 1},
        {"GAME_MODE 1", [](ConfigData& c) { c.GAME_MODE = 1; }, [](const ConfigData& c) { return c.GAME_MODE == 1; }, 0},
        {"GAME_MODE 2", [](ConfigData& c) { c.GAME_MODE = 2; }, [](const ConfigData& c) { return c.GAME_MODE == 0; }, 1},
        {"DPI 5", [](ConfigData& c) { c.profiles[2].DPI_VALUE = 5; }, [](const ConfigData& c) { return c.profiles[2].DPI_VALUE == 5; }, 0},
        {"DPI 6", [](ConfigData& c) { c.profiles[2].DPI_VALUE = 6; }, [](const ConfigData& c) { return c.profiles[2].DPI_VALUE == 4; }, 1},
        {"DPI 0", [](ConfigData& c) { c.profiles[9].DPI_VALUE = 0; }, [](const ConfigData& c) { return c.profiles[9].DPI_VALUE == 4; }, 1},
        {"double click 150", [](ConfigData& c) { c.profiles[0].DOUBLE_CLICK_SPEED = 150; }, [](const ConfigData& c) { return c.profiles[0].DOUBLE_CLICK_SPEED == 150; }, 0},
        {"double click 149", [](ConfigData& c) { c.profiles[0].DOUBLE_CLICK_SPEED = 149; }, [](const ConfigData& c) { return c.profiles[0].DOUBLE_CLICK_SPEED == 500; }, 1},
        {"double click 951", [](ConfigData& c) { c.profiles[0].DOUBLE_CLICK_SPEED = 951; }, [](const ConfigData& c) { return c.profiles[0].DOUBLE_CLICK_SPEED == 500; }, 1},
        {"scroll 18", [](ConfigData& c) { c.profiles[1].SCROLL_SPEED = 18; }, [](const ConfigData& c) { return c.profiles[1].SCROLL_SPEED == 18; }, 0},
        {"scroll 19", [](ConfigData& c) { c.profiles[1].SCROLL_SPEED = 19; }, [](const ConfigData& c) { return c.profiles[1].SCROLL_SPEED == 10; }, 1},
        {"sensitivity 20", [](ConfigData& c) { c.profiles[1].SENSITIVITY = 20; }, [](const ConfigData& c) { return c.profiles[1].SENSITIVITY == 20; }, 0},
        {"sensitivity 21", [](ConfigData& c) { c.profiles[1].SENSITIVITY = 21; }, [](const ConfigData& c) { return c.profiles[1].SENSITIVITY == 10; }, 1},
        {"sensitivity X 0", [](ConfigData& c) { c.profiles[3].ADVANCE_SENSITIVITY_X = 0; }, [](const ConfigData& c) { return c.profiles[3].ADVANCE_SENSITIVITY_X == 10; }, 1},
        {"sensitivity Y 19", [](ConfigData& c) { c.profiles[3].ADVANCE_SENSITIVITY_Y = 19; }, [](const ConfigData& c) { return c.profiles[3].ADVANCE_SENSITIVITY_Y == 10; }, 1},
        {"LED_COLOR 0", [](ConfigData& c) { c.profiles[5].LED_COLOR = 0; }, [](const ConfigData& c) { return c.profiles[5].LED_COLOR == 0x3CFFu; }, 1},
        {"LED_COLOR 0xFFFFFF", [](ConfigData& c) { c.profiles[5].LED_COLOR = 0xFFFFFF; }, [](const ConfigData& c) { return c.profiles[5].LED_COLOR == 0xFFFFFFu; }, 0},
        {"LED_COLOR 0x1000000", [](ConfigData& c) { c.profiles[5].LED_COLOR = 0x1000000; }, [](const ConfigData& c) { return c.profiles[5].LED_COLOR == 0x3CFFu; }, 1},
        {"LED_COLOR -1", [](ConfigData& c) { c.profiles[5].LED_COLOR = 0xFFFFFFFFu; }, [](const ConfigData& c) { return c.profiles[5].LED_COLOR == 0x3CFFu; }, 1},
        {"intensity 5", [](ConfigData& c) { c.profiles[6].LED_INTENSITY = 5; }, [](const ConfigData& c) { return c.profiles[6].LED_INTENSITY == 4; }, 1},
        {"pulsation 0", [](ConfigData& c) { c.profiles[6].LED_PULSATION = 0; }, [](const ConfigData& c) { return c.profiles[6].LED_PULSATION == 3; }, 1},
        {"pulsation 4", [](ConfigData& c) { c.profiles[6].LED_PULSATION = 4; }, [](const ConfigData& c) { return c.profiles[6].LED_PULSATION == 4; }, 0},
        {"button 1 code 7 forced back", [](ConfigData& c) { c.profiles[0].buttons[0].code = 7; },
         [](const ConfigData& c) { return c.profiles[0].buttons[0].code == 1; }, 0},
        {"button 2 code 1200 forced back", [](ConfigData& c) { c.profiles[0].buttons[1].code = 1200; },
         [](const ConfigData& c) { return c.profiles[0].buttons[1].code == 2; }, 0},
        {"button 5 code 0", [](ConfigData& c) { c.profiles[0].buttons[4].code = 0; c.profiles[0].buttons[4].number = 0; },
         [](const ConfigData& c) { return c.profiles[0].buttons[4].code == 9 && c.profiles[0].buttons[4].number == 5; }, 1},
        {"button 7 code 1201", [](ConfigData& c) { c.profiles[8].buttons[6].code = 1201; },
         [](const ConfigData& c) { return c.profiles[8].buttons[6].code == 4; }, 1},
        {"button 8 code 1049 kept, imported number kept", [](ConfigData& c) { c.profiles[8].buttons[7].code = 1049; c.profiles[8].buttons[7].number = 0; },
         [](const ConfigData& c) { return c.profiles[8].buttons[7].code == 1049 && c.profiles[8].buttons[7].number == 0; }, 0},
        {"empty name of the third profile", [](ConfigData& c) { c.profiles[2].PROFILE_NAME[0] = 0; },
         [](const ConfigData& c) { return std::wstring(c.profiles[2].PROFILE_NAME) == L"Profile 3"; }, 0},
        {"a name is kept", [](ConfigData& c) { wcscpy(c.profiles[2].PROFILE_NAME, L"Raid"); },
         [](const ConfigData& c) { return std::wstring(c.profiles[2].PROFILE_NAME) == L"Raid"; }, 0},
        {"texts, REGION and a macro's loop count are not checked",
         [](ConfigData& c) { c.profiles[4].REGION = 77; c.profiles[4].macros[0].loopCount = -5; },
         [](const ConfigData& c) { return c.profiles[4].REGION == 77 && c.profiles[4].macros[0].loopCount == -5; }, 0},
        {"delay mode 4", [](ConfigData& c) { c.profiles[4].macros[7].delayMode = 4; },
         [](const ConfigData& c) { return c.profiles[4].macros[7].delayMode == 4; }, 0},
        {"delay mode 0, as a zero-filled macro has it", [](ConfigData& c) { c.profiles[4].macros[49].delayMode = 0; },
         [](const ConfigData& c) { return c.profiles[4].macros[49].delayMode == 1; }, 1},
        {"delay mode 99", [](ConfigData& c) { c.profiles[4].macros[0].delayMode = 99; },
         [](const ConfigData& c) { return c.profiles[4].macros[0].delayMode == 1; }, 1},
        {"delay mode -1", [](ConfigData& c) { c.profiles[9].macros[3].delayMode = -1; },
         [](const ConfigData& c) { return c.profiles[9].macros[3].delayMode == 1; }, 1},
    };
    for (const Case& c : cases) {
        auto cfg = DefaultConfig();
        c.set(*cfg);
        EXPECT_EQ(ValidateConfig(*cfg), c.result) << c.what;
        EXPECT_TRUE(c.check(*cfg)) << c.what;
    }
}

TEST(ConfigData, MissingLedColorBecomesDefault)
{
    auto cfg = DefaultConfig();
    cfg->profiles[7].LED_COLOR = 0xFFFFFFFFu;  // as reset, the file lacked it
    EXPECT_EQ(ValidateConfig(*cfg), 1);
    EXPECT_EQ(cfg->profiles[7].LED_COLOR, 0x3CFFu);
}

TEST(ConfigData, CompareSeesEveryField)
{
    struct Case {
        const char* what;
        std::function<void(ConfigData&)> change;
    };
    const Case cases[] = {
        {"PROFILE_ID", [](ConfigData& c) { c.PROFILE_ID = 3; }},
        {"POLLING_RATE", [](ConfigData& c) { c.POLLING_RATE = 1; }},
        {"GAME_MODE", [](ConfigData& c) { c.GAME_MODE = 1; }},
        {"REGION", [](ConfigData& c) { c.profiles[9].REGION = 2; }},
        {"SERVER_NAME", [](ConfigData& c) { wcscpy(c.profiles[9].SERVER_NAME, L"x"); }},
        {"CHARACTER_NAME", [](ConfigData& c) { wcscpy(c.profiles[9].CHARACTER_NAME, L"x"); }},
        {"CHARACTER_CLASS", [](ConfigData& c) { wcscpy(c.profiles[9].CHARACTER_CLASS, L"x"); }},
        {"CHARACTER_RACE", [](ConfigData& c) { wcscpy(c.profiles[9].CHARACTER_RACE, L"x"); }},
        {"CHARACTER_LEVEL", [](ConfigData& c) { wcscpy(c.profiles[9].CHARACTER_LEVEL, L"x"); }},
        {"PROFILE_NAME", [](ConfigData& c) { c.profiles[9].PROFILE_NAME[9] = L'X'; }},
        {"DPI_VALUE", [](ConfigData& c) { c.profiles[9].DPI_VALUE = 1; }},
        {"DOUBLE_CLICK_SPEED", [](ConfigData& c) { c.profiles[9].DOUBLE_CLICK_SPEED = 501; }},
        {"SCROLL_SPEED", [](ConfigData& c) { c.profiles[9].SCROLL_SPEED = 1; }},
        {"SENSITIVITY", [](ConfigData& c) { c.profiles[9].SENSITIVITY = 1; }},
        {"ADVANCE_SENSITIVITY_X", [](ConfigData& c) { c.profiles[9].ADVANCE_SENSITIVITY_X = 1; }},
        {"ADVANCE_SENSITIVITY_Y", [](ConfigData& c) { c.profiles[9].ADVANCE_SENSITIVITY_Y = 1; }},
        {"LED_COLOR", [](ConfigData& c) { c.profiles[9].LED_COLOR = 1; }},
        {"LED_INTENSITY", [](ConfigData& c) { c.profiles[9].LED_INTENSITY = 1; }},
        {"LED_PULSATION", [](ConfigData& c) { c.profiles[9].LED_PULSATION = 1; }},
        {"GAME_NAME_10", [](ConfigData& c) { wcscpy(c.profiles[9].GAME_NAME[9], L"wow.exe"); }},
        {"button number", [](ConfigData& c) { c.profiles[9].buttons[10].number = 0; }},
        {"button code", [](ConfigData& c) { c.profiles[9].buttons[10].code = 1000; }},
        {"MACRO_NAME", [](ConfigData& c) { wcscpy(c.profiles[9].macros[49].MACRO_NAME, L"m"); }},
        {"event key", [](ConfigData& c) { c.profiles[9].macros[49].events[319].vk = 1; }},
        {"event up flag", [](ConfigData& c) { c.profiles[9].macros[49].events[0].up = 1; }},
        {"event delay only", [](ConfigData& c) { c.profiles[9].macros[49].events[5].delay = 1; }},
        {"loop count", [](ConfigData& c) { c.profiles[9].macros[49].loopCount = 1; }},
        {"loop flag", [](ConfigData& c) { c.profiles[9].macros[49].loopFlag = 1; }},
        {"delay mode", [](ConfigData& c) { c.profiles[9].macros[49].delayMode = 4; }},
        {"start key", [](ConfigData& c) { c.profiles[9].macros[49].startKeys[1].vk = 13; }},
        {"start-key flag", [](ConfigData& c) { c.profiles[9].macros[49].startKeyFlag = 1; }},
        {"send key", [](ConfigData& c) { c.profiles[9].macros[49].sendKeys[1].delay = 13; }},
        {"send-key flag", [](ConfigData& c) { c.profiles[9].macros[49].sendKeyFlag = 1; }},
        {"paste text", [](ConfigData& c) { wcscpy(c.profiles[9].macros[49].pasteText, L"hi"); }},
    };
    auto base = DefaultConfig();
    for (const Case& c : cases) {
        auto other = NewConfigData();
        *other = *base;
        EXPECT_EQ(CompareConfig(*base, *other), 0) << c.what;
        c.change(*other);
        EXPECT_NE(CompareConfig(*base, *other), 0) << c.what;
        EXPECT_NE(CompareConfig(*other, *base), 0) << c.what;
    }
}

TEST(ConfigData, CompareIgnoresPaddingAndCharactersAfterATerminator)
{
    auto a = DefaultConfig();
    auto b = NewConfigData();
    memset(b.get(), 0xA5, sizeof(ConfigData));  // garbage in every padding byte and text tail
    b->GAME_MODE = 0;
    ResetConfig(*b);
    // ResetConfig zero-fills the profiles; put garbage back behind the terminators.
    for (ProfileData& p : b->profiles) {
        wcscpy(p.SERVER_NAME, L"stale realm");
        p.SERVER_NAME[0] = 0;
        for (ButtonSlot& s : p.buttons) memset(reinterpret_cast<unsigned char*>(&s) + 1, 0x5A, 3);
        for (MacroData& m : p.macros)
            for (MacroEvent& e : m.events) memset(reinterpret_cast<unsigned char*>(&e) + 2, 0x5A, 2);
    }
    ValidateConfig(*b);
    wcscpy(b->profiles[0].PROFILE_NAME, L"Profile 1\0junk");
    b->profiles[0].PROFILE_NAME[10] = L'j';
    EXPECT_NE(memcmp(a.get(), b.get(), sizeof(ConfigData)), 0);
    EXPECT_EQ(CompareConfig(*a, *b), 0);
}

TEST(ConfigData, CopyFieldCutsToTheField)
{
    wchar_t field[5];
    wmemset(field, L'#', 5);
    CopyField(field, L"abcdefgh");
    EXPECT_EQ(std::wstring(field), L"abcd");
    CopyField(field, L"x");
    EXPECT_EQ(field[0], L'x');
    for (int i = 1; i < 5; ++i) EXPECT_EQ(field[i], 0);
    CopyField(field, nullptr);
    EXPECT_EQ(field[0], 0);
}

TEST(ConfigData, WholeRecordCopyIsEqual)
{
    auto a = DefaultConfig();
    a->profiles[3].macros[7].events[12] = {65, 1, 250};
    auto b = NewConfigData();
    *b = *a;
    EXPECT_EQ(CompareConfig(*a, *b), 0);
    EXPECT_EQ(memcmp(a.get(), b.get(), sizeof(ConfigData)), 0);
}
