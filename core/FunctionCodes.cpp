#include "core/FunctionCodes.h"
#include "core/ConfigData.h"
#include <cwchar>
#include <vector>

namespace {

const wchar_t* const kMovementKeys[] = {
    L"MOVE_AND_STEER", L"MOVE_FORWARD", L"TURN_LEFT", L"MOVE_BACKWARD", L"TURN_RIGHT", L"STRAFE_LEFT",
    L"STRAFE_RIGHT", L"JUMP", L"SIT_STAND", L"SHEATH", L"TOGGLE_AUTORUN", L"PITCH_UP", L"PITCH_DOWN",
    L"TOGGLE_RUN",
};

const wchar_t* const kChatFunctions[] = {
    L"OPEN_CHAT", L"OPEN_CHAT_SLASH", L"CHAT_PAGE_UP", L"CHAT_PAGE_DOWN", L"CHAT_BOTTOM", L"CHAT_REPLY",
    L"COMBAT_LOG_PAGE_UP", L"COMBAT_LOG_PAGE_DOWN", L"COMBAT_LOG_BOTTOM", L"TOGGLE_COMBAT_LOG",
};

const wchar_t* const kActionBarFunctions[] = {
    L"ACTION_BUTTON_1", L"ACTION_BUTTON_2", L"ACTION_BUTTON_3", L"ACTION_BUTTON_4", L"ACTION_BUTTON_5",
    L"ACTION_BUTTON_6", L"ACTION_BUTTON_7", L"ACTION_BUTTON_8", L"ACTION_BUTTON_9", L"ACTION_BUTTON_10",
    L"ACTION_BUTTON_11", L"ACTION_BUTTON_12",
    L"SELF_ACTION_BUTTON_1", L"SELF_ACTION_BUTTON_2", L"SELF_ACTION_BUTTON_3", L"SELF_ACTION_BUTTON_4",
    L"SELF_ACTION_BUTTON_5", L"SELF_ACTION_BUTTON_6", L"SELF_ACTION_BUTTON_7", L"SELF_ACTION_BUTTON_8",
    L"SELF_ACTION_BUTTON_9", L"SELF_ACTION_BUTTON_10", L"SELF_ACTION_BUTTON_11", L"SELF_ACTION_BUTTON_12",
    L"SPECIAL_ACTION_BUTTON_1", L"SPECIAL_ACTION_BUTTON_2", L"SPECIAL_ACTION_BUTTON_3",
    L"SPECIAL_ACTION_BUTTON_4", L"SPECIAL_ACTION_BUTTON_5", L"SPECIAL_ACTION_BUTTON_6",
    L"SPECIAL_ACTION_BUTTON_7", L"SPECIAL_ACTION_BUTTON_8", L"SPECIAL_ACTION_BUTTON_9",
    L"SPECIAL_ACTION_BUTTON_10",
    L"SECONDARY_ACTION_BUTTON_1", L"SECONDARY_ACTION_BUTTON_2", L"SECONDARY_ACTION_BUTTON_3",
    L"SECONDARY_ACTION_BUTTON_4", L"SECONDARY_ACTION_BUTTON_5", L"SECONDARY_ACTION_BUTTON_6",
    L"SECONDARY_ACTION_BUTTON_7", L"SECONDARY_ACTION_BUTTON_8", L"SECONDARY_ACTION_BUTTON_9",
    L"SECONDARY_ACTION_BUTTON_10",
    L"ACTION_PAGE_1", L"ACTION_PAGE_2", L"ACTION_PAGE_3", L"ACTION_PAGE_4", L"ACTION_PAGE_5", L"ACTION_PAGE_6",
    L"PREVIOUS_ACTION_BAR", L"NEXT_ACTION_BAR",
};

const wchar_t* const kTargetingFunctions[] = {
    L"TARGET_NEAREST_ENEMY", L"TARGET_PREVIOUS_ENEMY", L"TARGET_NEAREST_FRIEND", L"TARGET_PREVIOUS_FRIEND",
    L"TARGET_SELF", L"TARGET_PARTY_MEMBER_1", L"TARGET_PARTY_MEMBER_2", L"TARGET_PARTY_MEMBER_3",
    L"TARGET_PARTY_MEMBER_4", L"TARGET_PET", L"TARGET_PARTY_PET_1", L"TARGET_PARTY_PET_2",
    L"TARGET_PARTY_PET_3", L"TARGET_PARTY_PET_4", L"TARGET_LAST_HOSTILE", L"ASSIST_TARGET",
    L"SHOW_ENEMY_NAME_PLATES", L"SHOW_FRIENDLY_NAME_PLATES", L"SHOW_ALL_NAME_PLATES", L"ATTACK_TARGET",
    L"PET_ATTACK",
};

const wchar_t* const kInterfacePanelFunctions[] = {
    L"TOGGLE_CHARACTER_PANE", L"TOGGLE_BACKPACK", L"TOGGLE_BAG_1", L"TOGGLE_BAG_2", L"TOGGLE_BAG_3",
    L"TOGGLE_BAG_4", L"OPEN_ALL_BAGS", L"TOGGLE_SPELLBOOK", L"TOGGLE_PETBOOK", L"TOGGLE_TALENT_PANE",
    L"TOGGLE_HONOR_PANE", L"TOGGLE_PET_PANE", L"TOGGLE_REPUTATION_PANE", L"TOGGLE_SKILL_PANE",
    L"TOGGLE_QUEST_LOG", L"TOGGLE_GAME_MENU", L"TOGGLE_WORLD_MAP_PANE", L"TOGGLE_SOCIAL_PANE",
    L"TOGGLE_SCORE_SCREEN", L"TOGGLE_BATTLE_MAP", L"TOGGLE_CHANNEL_PULLOUT",
};

const wchar_t* const kCameraFunctions[] = {
    L"NEXT_VIEW", L"PREVIOUS_VIEW", L"ZOOM_IN", L"ZOOM_OUT",
};

const wchar_t* const kMiscellaneousFunctions[] = {
    L"MINIMAP_ZOOM_IN", L"MINIMAP_ZOOM_OUT", L"TOGGLE_MUSIC", L"TOGGLE_SOUND", L"MASTER_VOLUME_UP",
    L"MASTER_VOLUME_DOWN", L"TOGGLE_USER_INTERFACE", L"TOGGLE_FRAMERATE_DISPLAY", L"SCREEN_SHOT",
};

template <int N> constexpr int CountOf(const wchar_t* const (&)[N]) { return N; }

const CatalogueGroup kGroups[CATALOGUE_GROUP_COUNT] = {
    {1, L"MOVEMENT_KEYS", CountOf(kMovementKeys), kMovementKeys},
    {2, L"CHAT_FUNCTIONS", CountOf(kChatFunctions), kChatFunctions},
    {3, L"ACTION_BAR_FUNCTIONS", CountOf(kActionBarFunctions), kActionBarFunctions},
    {4, L"TARGETING_FUNCTIONS", CountOf(kTargetingFunctions), kTargetingFunctions},
    {5, L"INTERFACE_PANEL_FUNCTIONS", CountOf(kInterfacePanelFunctions), kInterfacePanelFunctions},
    {6, L"CAMERA_FUNCTIONS", CountOf(kCameraFunctions), kCameraFunctions},
    {7, L"MISCELLANEOUS_FUNCTIONS", CountOf(kMiscellaneousFunctions), kMiscellaneousFunctions},
};

struct NamedCode {
    int code;
    FunctionFamily family;
    const wchar_t* element;
};

// Every code outside the catalogue and the macros.
const NamedCode kNamedCodes[] = {
    {1, FunctionFamily::Mouse, L"LEFT_CLICK"},
    {2, FunctionFamily::Mouse, L"RIGHT_CLICK"},
    {3, FunctionFamily::Mouse, L"DOUBLE_CLICK"},
    {4, FunctionFamily::Mouse, L"WINDOWS_BUTTON_4"},
    {5, FunctionFamily::Mouse, L"WINDOWS_BUTTON_5"},
    {6, FunctionFamily::Mouse, L"UNIVERSAL_SCROLL"},
    {9, FunctionFamily::ButtonOff, L"BUTTON_OFF"},
    {11, FunctionFamily::ScrollEntry, L"SCROLL_UP"},
    {12, FunctionFamily::ScrollEntry, L"SCROLL_DOWN"},
    {13, FunctionFamily::OpenPicker, L"BUTTON_ASSIGNMENTS"},
    {16, FunctionFamily::Dpi, L"DPI_400"},
    {17, FunctionFamily::Dpi, L"DPI_800"},
    {18, FunctionFamily::Dpi, L"DPI_1600"},
    {19, FunctionFamily::Dpi, L"DPI_3200"},
    {20, FunctionFamily::Dpi, L"DPI_UP"},
    {21, FunctionFamily::Dpi, L"DPI_DOWN"},
    {32, FunctionFamily::Profile, L"PROFILE_1"},
    {33, FunctionFamily::Profile, L"PROFILE_2"},
    {34, FunctionFamily::Profile, L"PROFILE_3"},
    {35, FunctionFamily::Profile, L"PROFILE_4"},
    {36, FunctionFamily::Profile, L"PROFILE_5"},
    {37, FunctionFamily::Profile, L"PROFILE_6"},
    {38, FunctionFamily::Profile, L"PROFILE_7"},
    {39, FunctionFamily::Profile, L"PROFILE_8"},
    {40, FunctionFamily::Profile, L"PROFILE_9"},
    {41, FunctionFamily::Profile, L"PROFILE_10"},
    {42, FunctionFamily::Profile, L"PROFILE_UP"},
    {43, FunctionFamily::Profile, L"PROFILE_DOWN"},
    {80, FunctionFamily::Chat, L"STOP_ALL"},
    {81, FunctionFamily::Chat, L"FOCUS"},
    {82, FunctionFamily::Chat, L"DISMOUNT"},
};

// The whole space by code, made once.
struct CodeSpace {
    std::vector<FunctionCodeInfo> byCode;
    CodeSpace() : byCode(FUNCTION_CODE_MAX + 1)
    {
        for (int code = 0; code <= FUNCTION_CODE_MAX; ++code) byCode[code].code = code;
        for (const NamedCode& n : kNamedCodes) {
            byCode[n.code].family = n.family;
            byCode[n.code].element = n.element;
        }
        for (const CatalogueGroup& g : kGroups) {
            for (int i = 1; i <= g.itemCount; ++i) {
                FunctionCodeInfo& info = byCode[100 * g.number + i];
                info.family = FunctionFamily::GameCommand;
                info.element = g.items[i - 1];
                info.group = g.number;
                info.item = i;
            }
        }
        for (int slot = 0; slot < MACRO_COUNT; ++slot) byCode[FIRST_MACRO_CODE + slot].family = FunctionFamily::Macro;
    }
};

const CodeSpace& TheCodeSpace()
{
    static const CodeSpace space;
    return space;
}

} // namespace

FunctionCodeInfo DescribeFunctionCode(int code)
{
    if (code < 0 || code > FUNCTION_CODE_MAX) {
        FunctionCodeInfo none;
        none.code = code;
        return none;
    }
    return TheCodeSpace().byCode[code];
}

int FunctionCodeOf(const wchar_t* element)
{
    if (!element) return -1;
    for (const FunctionCodeInfo& info : TheCodeSpace().byCode)
        if (info.element && wcscmp(info.element, element) == 0) return info.code;
    return -1;
}

const CatalogueGroup* CatalogueGroups()
{
    return kGroups;
}

int CatalogueCode(int group, int item)
{
    if (group < 1 || group > CATALOGUE_GROUP_COUNT) return -1;
    if (item < 1 || item > kGroups[group - 1].itemCount) return -1;
    return 100 * group + item;
}

int ListRowCode(int listKind, int row)
{
    switch (listKind) {
    case PICKER_LIST_DPI: return row >= 0 && row <= 5 ? FIRST_DPI_CODE + row : -1;
    case PICKER_LIST_PROFILES: return row >= 0 && row <= 11 ? FIRST_PROFILE_CODE + row : -1;
    case PICKER_LIST_MACROS: return row >= 0 && row < MACRO_COUNT ? FIRST_MACRO_CODE + row : -1;
    default: return -1;
    }
}

PickerPlace PickerPlaceOfCode(int code)
{
    PickerPlace place;
    if (code >= FIRST_DPI_CODE && code <= 23) {
        place.folder = PICKER_FOLDER_DPI;
        place.row = code - FIRST_DPI_CODE;
    } else if (code >= FIRST_PROFILE_CODE && code <= 43) {
        place.folder = PICKER_FOLDER_PROFILES;
        place.row = code - FIRST_PROFILE_CODE;
    } else if (code >= FIRST_MACRO_CODE && code < FIRST_MACRO_CODE + MACRO_COUNT) {
        place.folder = PICKER_FOLDER_MACROS;
        place.row = code - FIRST_MACRO_CODE;
    } else if (FamilyOf(code) == FunctionFamily::GameCommand) {
        place.folder = PICKER_FOLDER_COMMANDS;
        place.group = code / 100;
        place.item = code % 100;
    }
    return place;
}

int ButtonMenuRowCode(int row)
{
    if (row >= 0 && row <= 5) return row + 1;
    return row == 6 ? 9 : -1;
}

int ScrollMenuRowCode(int row)
{
    static const int codes[8] = {1, 2, 3, 11, 12, 4, 5, 9};
    if (row < 0 || row == INT32_MAX) return -1;
    return row < 8 ? codes[row] : row + 1;
}
