#include "core/FunctionCodes.h"
#include <gtest/gtest.h>
#include <climits>
#include <map>
#include <set>
#include <string>

namespace {

std::wstring Name(const wchar_t* s) { return s ? s : L"(null)"; }

} // namespace

TEST(FunctionCodes, EveryCodeHasItsFamilyElementAndCatalogueNumbers)
{
    using F = FunctionFamily;
    struct Case {
        int code;
        F family;
        const wchar_t* element;
        int group;
        int item;
    } cases[] = {
        {INT_MIN, F::None, nullptr, 0, 0}, {-1, F::None, nullptr, 0, 0}, {0, F::None, nullptr, 0, 0},
        {1, F::Mouse, L"LEFT_CLICK", 0, 0}, {2, F::Mouse, L"RIGHT_CLICK", 0, 0},
        {3, F::Mouse, L"DOUBLE_CLICK", 0, 0}, {4, F::Mouse, L"WINDOWS_BUTTON_4", 0, 0},
        {5, F::Mouse, L"WINDOWS_BUTTON_5", 0, 0}, {6, F::Mouse, L"UNIVERSAL_SCROLL", 0, 0},
        {7, F::None, nullptr, 0, 0}, {8, F::None, nullptr, 0, 0}, {9, F::ButtonOff, L"BUTTON_OFF", 0, 0},
        {10, F::None, nullptr, 0, 0}, {11, F::ScrollEntry, L"SCROLL_UP", 0, 0},
        {12, F::ScrollEntry, L"SCROLL_DOWN", 0, 0}, {13, F::OpenPicker, L"BUTTON_ASSIGNMENTS", 0, 0},
        {14, F::None, nullptr, 0, 0}, {15, F::None, nullptr, 0, 0},
        {16, F::Dpi, L"DPI_400", 0, 0}, {17, F::Dpi, L"DPI_800", 0, 0}, {18, F::Dpi, L"DPI_1600", 0, 0},
        {19, F::Dpi, L"DPI_3200", 0, 0}, {20, F::Dpi, L"DPI_UP", 0, 0}, {21, F::Dpi, L"DPI_DOWN", 0, 0},
        {22, F::None, nullptr, 0, 0}, {31, F::None, nullptr, 0, 0},
        {32, F::Profile, L"PROFILE_1", 0, 0}, {41, F::Profile, L"PROFILE_10", 0, 0},
        {42, F::Profile, L"PROFILE_UP", 0, 0}, {43, F::Profile, L"PROFILE_DOWN", 0, 0},
        {44, F::None, nullptr, 0, 0}, {79, F::None, nullptr, 0, 0},
        {80, F::Chat, L"STOP_ALL", 0, 0}, {81, F::Chat, L"FOCUS", 0, 0}, {82, F::Chat, L"DISMOUNT", 0, 0},
        {83, F::None, nullptr, 0, 0}, {100, F::None, nullptr, 0, 0},
        {101, F::GameCommand, L"MOVE_AND_STEER", 1, 1}, {102, F::GameCommand, L"MOVE_FORWARD", 1, 2},
        {113, F::GameCommand, L"PITCH_DOWN", 1, 13}, {114, F::GameCommand, L"TOGGLE_RUN", 1, 14},
        {115, F::None, nullptr, 0, 0}, {200, F::None, nullptr, 0, 0},
        {201, F::GameCommand, L"OPEN_CHAT", 2, 1}, {210, F::GameCommand, L"TOGGLE_COMBAT_LOG", 2, 10},
        {211, F::None, nullptr, 0, 0},
        {301, F::GameCommand, L"ACTION_BUTTON_1", 3, 1}, {312, F::GameCommand, L"ACTION_BUTTON_12", 3, 12},
        {313, F::GameCommand, L"SELF_ACTION_BUTTON_1", 3, 13}, {324, F::GameCommand, L"SELF_ACTION_BUTTON_12", 3, 24},
        {325, F::GameCommand, L"SPECIAL_ACTION_BUTTON_1", 3, 25},
        {334, F::GameCommand, L"SPECIAL_ACTION_BUTTON_10", 3, 34},
        {335, F::GameCommand, L"SECONDARY_ACTION_BUTTON_1", 3, 35},
        {344, F::GameCommand, L"SECONDARY_ACTION_BUTTON_10", 3, 44},
        {345, F::GameCommand, L"ACTION_PAGE_1", 3, 45}, {350, F::GameCommand, L"ACTION_PAGE_6", 3, 50},
        {351, F::GameCommand, L"PREVIOUS_ACTION_BAR", 3, 51}, {352, F::GameCommand, L"NEXT_ACTION_BAR", 3, 52},
        {353, F::None, nullptr, 0, 0},
        {401, F::GameCommand, L"TARGET_NEAREST_ENEMY", 4, 1}, {406, F::GameCommand, L"TARGET_PARTY_MEMBER_1", 4, 6},
        {410, F::GameCommand, L"TARGET_PET", 4, 10}, {414, F::GameCommand, L"TARGET_PARTY_PET_4", 4, 14},
        {421, F::GameCommand, L"PET_ATTACK", 4, 21}, {422, F::None, nullptr, 0, 0},
        {501, F::GameCommand, L"TOGGLE_CHARACTER_PANE", 5, 1}, {503, F::GameCommand, L"TOGGLE_BAG_1", 5, 3},
        {521, F::GameCommand, L"TOGGLE_CHANNEL_PULLOUT", 5, 21}, {522, F::None, nullptr, 0, 0},
        {601, F::GameCommand, L"NEXT_VIEW", 6, 1}, {604, F::GameCommand, L"ZOOM_OUT", 6, 4},
        {605, F::None, nullptr, 0, 0},
        {701, F::GameCommand, L"MINIMAP_ZOOM_IN", 7, 1}, {709, F::GameCommand, L"SCREEN_SHOT", 7, 9},
        {710, F::None, nullptr, 0, 0}, {999, F::None, nullptr, 0, 0},
        {1000, F::Macro, nullptr, 0, 0}, {1049, F::Macro, nullptr, 0, 0}, {1050, F::None, nullptr, 0, 0},
        {1200, F::None, nullptr, 0, 0}, {1201, F::None, nullptr, 0, 0}, {INT_MAX, F::None, nullptr, 0, 0},
    };
    for (const Case& c : cases) {
        FunctionCodeInfo info = DescribeFunctionCode(c.code);
        EXPECT_EQ(info.code, c.code);
        EXPECT_EQ(info.family, c.family) << c.code;
        EXPECT_EQ(Name(info.element), Name(c.element)) << c.code;
        EXPECT_EQ(info.group, c.group) << c.code;
        EXPECT_EQ(info.item, c.item) << c.code;
        EXPECT_EQ(FamilyOf(c.code), c.family) << c.code;
    }
}

TEST(FunctionCodes, TheSpaceHoldsEachFamilyOnceWithUniqueNames)
{
    std::map<FunctionFamily, int> counts;
    std::set<std::wstring> names;
    for (int code = -5; code <= 1300; ++code) {
        FunctionCodeInfo info = DescribeFunctionCode(code);
        ++counts[info.family];
        if (info.element) {
            EXPECT_TRUE(names.insert(info.element).second) << "element used twice: " << Name(info.element);
            // Every name leads back to its code.
            EXPECT_EQ(FunctionCodeOf(info.element), code);
        }
        EXPECT_EQ(info.element == nullptr, info.family == FunctionFamily::None || info.family == FunctionFamily::Macro)
            << code;
        // What ValidateConfig keeps is the whole space of functions.
        if (info.family != FunctionFamily::None) {
            EXPECT_GE(code, FUNCTION_CODE_MIN);
            EXPECT_LE(code, FUNCTION_CODE_MAX);
        }
    }
    EXPECT_EQ(counts[FunctionFamily::Mouse], 6);
    EXPECT_EQ(counts[FunctionFamily::ButtonOff], 1);
    EXPECT_EQ(counts[FunctionFamily::ScrollEntry], 2);
    EXPECT_EQ(counts[FunctionFamily::OpenPicker], 1);
    EXPECT_EQ(counts[FunctionFamily::Dpi], 6);
    EXPECT_EQ(counts[FunctionFamily::Profile], 12);
    EXPECT_EQ(counts[FunctionFamily::Chat], 3);
    EXPECT_EQ(counts[FunctionFamily::GameCommand], CATALOGUE_ITEM_COUNT);
    EXPECT_EQ(counts[FunctionFamily::Macro], 50);
    EXPECT_EQ(FunctionCodeOf(L"NO_SUCH_FUNCTION"), -1);
    EXPECT_EQ(FunctionCodeOf(L""), -1);
    EXPECT_EQ(FunctionCodeOf(nullptr), -1);
    EXPECT_EQ(FunctionCodeOf(L"move_forward"), -1);  // names are exact
}

TEST(FunctionCodes, CatalogueGroupsNumberTheirItemsInOrder)
{
    const wchar_t* elements[] = {L"MOVEMENT_KEYS", L"CHAT_FUNCTIONS", L"ACTION_BAR_FUNCTIONS", L"TARGETING_FUNCTIONS",
                                 L"INTERFACE_PANEL_FUNCTIONS", L"CAMERA_FUNCTIONS", L"MISCELLANEOUS_FUNCTIONS"};
    const int counts[] = {14, 10, 52, 21, 21, 4, 9};
    const CatalogueGroup* groups = CatalogueGroups();
    int total = 0;
    for (int g = 0; g < CATALOGUE_GROUP_COUNT; ++g) {
        EXPECT_EQ(groups[g].number, g + 1);
        EXPECT_EQ(Name(groups[g].element), elements[g]);
        EXPECT_EQ(groups[g].itemCount, counts[g]);
        for (int i = 1; i <= groups[g].itemCount; ++i) {
            int code = 100 * (g + 1) + i;
            EXPECT_EQ(CatalogueCode(g + 1, i), code);
            EXPECT_EQ(FunctionCodeOf(groups[g].items[i - 1]), code);
        }
        total += groups[g].itemCount;
    }
    EXPECT_EQ(total, CATALOGUE_ITEM_COUNT);

    struct Case { int group, item, code; } cases[] = {
        {1, 0, -1}, {1, 15, -1}, {0, 1, -1}, {8, 1, -1}, {-1, 1, -1}, {2, 11, -1}, {3, 53, -1},
        {6, 5, -1}, {7, 10, -1}, {3, 52, 352}, {7, 9, 709}, {INT_MAX, INT_MAX, -1},
    };
    for (const Case& c : cases) EXPECT_EQ(CatalogueCode(c.group, c.item), c.code) << c.group << "/" << c.item;
}

TEST(FunctionCodes, PickerRowsAndPopupRowsGiveTheirCodes)
{
    struct ListCase { int kind, row, code; } lists[] = {
        {PICKER_LIST_DPI, 0, 16}, {PICKER_LIST_DPI, 5, 21}, {PICKER_LIST_DPI, 6, -1}, {PICKER_LIST_DPI, -1, -1},
        {PICKER_LIST_PROFILES, 0, 32}, {PICKER_LIST_PROFILES, 9, 41}, {PICKER_LIST_PROFILES, 11, 43},
        {PICKER_LIST_PROFILES, 12, -1}, {PICKER_LIST_MACROS, 0, 1000}, {PICKER_LIST_MACROS, 49, 1049},
        {PICKER_LIST_MACROS, 50, -1}, {0, 0, -1}, {4, 0, -1}, {-1, 3, -1},
    };
    for (const ListCase& c : lists) EXPECT_EQ(ListRowCode(c.kind, c.row), c.code) << c.kind << "/" << c.row;

    const int buttonMenu[] = {1, 2, 3, 4, 5, 6, 9};
    for (int row = 0; row < 7; ++row) EXPECT_EQ(ButtonMenuRowCode(row), buttonMenu[row]) << row;
    for (int row : {-1, 7, 8, INT_MAX, INT_MIN}) EXPECT_EQ(ButtonMenuRowCode(row), -1) << row;

    const int scrollMenu[] = {1, 2, 3, 11, 12, 4, 5, 9};
    for (int row = 0; row < 8; ++row) EXPECT_EQ(ScrollMenuRowCode(row), scrollMenu[row]) << row;
    // Later rows give row + 1 (no window sends them).
    EXPECT_EQ(ScrollMenuRowCode(8), 9);
    EXPECT_EQ(ScrollMenuRowCode(12), 13);
    EXPECT_EQ(ScrollMenuRowCode(79), 80);
    for (int row : {-1, INT_MIN, INT_MAX}) EXPECT_EQ(ScrollMenuRowCode(row), -1) << row;
    // Every popup row's code is a function of the code space.
    for (int row = 0; row < 8; ++row) {
        EXPECT_NE(FamilyOf(ScrollMenuRowCode(row)), FunctionFamily::None) << row;
        if (row < 7) {
            EXPECT_NE(FamilyOf(ButtonMenuRowCode(row)), FunctionFamily::None) << row;
        }
    }
}

TEST(FunctionCodes, EachCodeHasItsPlaceInThePicker)
{
    struct Case { int code, folder, row, group, item; } cases[] = {
        {16, PICKER_FOLDER_DPI, 0, 0, 0}, {21, PICKER_FOLDER_DPI, 5, 0, 0},
        // 22 and 23 open the DPI folder at rows its six rows do not have.
        {22, PICKER_FOLDER_DPI, 6, 0, 0}, {23, PICKER_FOLDER_DPI, 7, 0, 0},
        {24, PICKER_FOLDER_NONE, -1, 0, 0}, {15, PICKER_FOLDER_NONE, -1, 0, 0},
        {32, PICKER_FOLDER_PROFILES, 0, 0, 0}, {41, PICKER_FOLDER_PROFILES, 9, 0, 0},
        {43, PICKER_FOLDER_PROFILES, 11, 0, 0}, {44, PICKER_FOLDER_NONE, -1, 0, 0},
        {101, PICKER_FOLDER_COMMANDS, -1, 1, 1}, {113, PICKER_FOLDER_COMMANDS, -1, 1, 13},
        {301, PICKER_FOLDER_COMMANDS, -1, 3, 1}, {352, PICKER_FOLDER_COMMANDS, -1, 3, 52},
        {709, PICKER_FOLDER_COMMANDS, -1, 7, 9},
        {115, PICKER_FOLDER_NONE, -1, 0, 0}, {200, PICKER_FOLDER_NONE, -1, 0, 0},
        {353, PICKER_FOLDER_NONE, -1, 0, 0}, {710, PICKER_FOLDER_NONE, -1, 0, 0},
        {1000, PICKER_FOLDER_MACROS, 0, 0, 0}, {1049, PICKER_FOLDER_MACROS, 49, 0, 0},
        {1050, PICKER_FOLDER_NONE, -1, 0, 0}, {1200, PICKER_FOLDER_NONE, -1, 0, 0},
        // Mouse, chat and the configuration program's own codes are offered by no folder.
        {1, PICKER_FOLDER_NONE, -1, 0, 0}, {6, PICKER_FOLDER_NONE, -1, 0, 0}, {9, PICKER_FOLDER_NONE, -1, 0, 0},
        {11, PICKER_FOLDER_NONE, -1, 0, 0}, {13, PICKER_FOLDER_NONE, -1, 0, 0}, {80, PICKER_FOLDER_NONE, -1, 0, 0},
        {0, PICKER_FOLDER_NONE, -1, 0, 0}, {-1, PICKER_FOLDER_NONE, -1, 0, 0}, {-101, PICKER_FOLDER_NONE, -1, 0, 0},
        {INT_MIN, PICKER_FOLDER_NONE, -1, 0, 0}, {INT_MAX, PICKER_FOLDER_NONE, -1, 0, 0},
    };
    for (const Case& c : cases) {
        PickerPlace p = PickerPlaceOfCode(c.code);
        EXPECT_EQ(p.folder, c.folder) << c.code;
        EXPECT_EQ(p.row, c.row) << c.code;
        EXPECT_EQ(p.group, c.group) << c.code;
        EXPECT_EQ(p.item, c.item) << c.code;
    }
    // Place and code agree both ways for every code a folder offers.
    for (int code = 0; code <= FUNCTION_CODE_MAX; ++code) {
        PickerPlace p = PickerPlaceOfCode(code);
        switch (p.folder) {
        case PICKER_FOLDER_COMMANDS: EXPECT_EQ(CatalogueCode(p.group, p.item), code); break;
        case PICKER_FOLDER_DPI:
            if (code <= 21) {
                EXPECT_EQ(ListRowCode(PICKER_LIST_DPI, p.row), code);
            }
            break;
        case PICKER_FOLDER_PROFILES: EXPECT_EQ(ListRowCode(PICKER_LIST_PROFILES, p.row), code); break;
        case PICKER_FOLDER_MACROS: EXPECT_EQ(ListRowCode(PICKER_LIST_MACROS, p.row), code); break;
        default: break;
        }
        EXPECT_EQ(p.folder == PICKER_FOLDER_COMMANDS, FamilyOf(code) == FunctionFamily::GameCommand) << code;
    }
}
