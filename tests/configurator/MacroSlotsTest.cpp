#include "configurator/function_picker/MacroSlots.h"
#include "PickerRig.h"
#include <gtest/gtest.h>
#include <cstring>
#include <memory>
#include <string>
#include <utility>
#include <vector>

// A deleted macro's buttons are switched off, the later macros move down one slot and
// their buttons follow, each code lowered once; the last slot of a full profile is emptied.
TEST(MacroSlots, DeletingARowMovesTheLaterMacrosAndTheirButtonsDown)
{
    struct Case {
        const char* name;
        int macros, row;
        std::vector<std::pair<int, int>> codesBefore, codesAfter;  // (button, code)
        std::vector<std::pair<int, std::wstring>> namesAfter;       // (slot, name), "" = free
    };
    const Case cases[] = {
        {"the middle one of three", 3, 1, {{3, 1001}, {4, 1002}, {5, 1000}}, {{3, 9}, {4, 1001}, {5, 1000}},
         {{0, L"Macro 1"}, {1, L"Macro 3"}, {2, L""}}},
        {"the first of three", 3, 0, {{2, 1000}, {6, 1002}, {7, 1002}}, {{2, 9}, {6, 1001}, {7, 1001}},
         {{0, L"Macro 2"}, {1, L"Macro 3"}, {2, L""}}},
        {"the last of fifty", 50, 49, {{2, 1049}, {3, 1048}}, {{2, 9}, {3, 1048}}, {{48, L"Macro 49"}, {49, L""}}},
        {"the first of fifty", 50, 0, {{2, 1049}, {3, 1000}}, {{2, 1048}, {3, 9}},
         {{0, L"Macro 2"}, {48, L"Macro 50"}, {49, L""}}},
        {"a row past the list", 3, 3, {{3, 1002}}, {{3, 1002}}, {{2, L"Macro 3"}, {3, L""}}},
        {"no row", 3, -1, {{3, 1000}}, {{3, 1000}}, {{0, L"Macro 1"}}},
    };
    for (const Case& c : cases) {
        auto profile = std::make_unique<ProfileData>();
        ProfileData& p = *profile;
        GiveMacros(p, c.macros);
        for (auto [b, code] : c.codesBefore) p.buttons[b].code = code;
        DeleteMacroRow(p, c.row, c.macros);
        for (auto [b, code] : c.codesAfter) EXPECT_EQ(p.buttons[b].code, code) << c.name << ", button " << b;
        for (auto [slot, name] : c.namesAfter)
            EXPECT_EQ(std::wstring(p.macros[slot].MACRO_NAME), name) << c.name << ", slot " << slot;
        if (c.macros == MACRO_COUNT) {
            // The emptied last slot is a new configuration's slot: it exports and imports.
            auto fresh = NewConfigData();
            ResetConfig(*fresh);
            ValidateConfig(*fresh);
            EXPECT_EQ(p.macros[49].delayMode, 1) << c.name;
            EXPECT_EQ(memcmp(&p.macros[49], &fresh->profiles[0].macros[49], sizeof(MacroData)), 0) << c.name;
        }
    }
}
