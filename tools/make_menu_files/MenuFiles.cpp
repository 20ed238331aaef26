#include "MenuFiles.h"
#include "core/FunctionCodes.h"
#include "core/XmlDoc.h"
#include <cwchar>
#include <cwctype>
#include <vector>

namespace {

struct Text {
    const wchar_t* element;
    const wchar_t* text;
};

// The texts of every named function code and of every catalogue command.
const Text kFunctionTexts[] = {
    {L"LEFT_CLICK", L"Left Click"},
    {L"RIGHT_CLICK", L"Right Click"},
    {L"DOUBLE_CLICK", L"Double Click"},
    {L"WINDOWS_BUTTON_4", L"Mouse Button 4"},
    {L"WINDOWS_BUTTON_5", L"Mouse Button 5"},
    {L"UNIVERSAL_SCROLL", L"Middle Click"},
    {L"BUTTON_OFF", L"Disabled"},
    {L"SCROLL_UP", L"Scroll Up"},
    {L"SCROLL_DOWN", L"Scroll Down"},
    {L"BUTTON_ASSIGNMENTS", L"Button Assignments"},
    {L"DPI_400", L"400 DPI"},
    {L"DPI_800", L"800 DPI"},
    {L"DPI_1600", L"1600 DPI"},
    {L"DPI_3200", L"3200 DPI"},
    {L"DPI_UP", L"DPI Up"},
    {L"DPI_DOWN", L"DPI Down"},
    {L"PROFILE_UP", L"Next Profile"},
    {L"PROFILE_DOWN", L"Previous Profile"},
    {L"STOP_ALL", L"Stop Casting and Attacking"},
    {L"FOCUS", L"Set Focus"},
    {L"DISMOUNT", L"Dismount"},
    // MOVEMENT_KEYS
    {L"MOVE_AND_STEER", L"Move and Steer"},
    {L"MOVE_FORWARD", L"Move Forward"},
    {L"TURN_LEFT", L"Turn Left"},
    {L"MOVE_BACKWARD", L"Move Backward"},
    {L"TURN_RIGHT", L"Turn Right"},
    {L"STRAFE_LEFT", L"Strafe Left"},
    {L"STRAFE_RIGHT", L"Strafe Right"},
    {L"JUMP", L"Jump"},
    {L"SIT_STAND", L"Sit / Stand"},
    {L"SHEATH", L"Sheathe Weapon"},
    {L"TOGGLE_AUTORUN", L"Toggle Autorun"},
    {L"PITCH_UP", L"Pitch Up"},
    {L"PITCH_DOWN", L"Pitch Down"},
    {L"TOGGLE_RUN", L"Toggle Run / Walk"},
    // CHAT_FUNCTIONS
    {L"OPEN_CHAT", L"Open Chat"},
    {L"OPEN_CHAT_SLASH", L"Open Chat Command (/)"},
    {L"CHAT_PAGE_UP", L"Chat Page Up"},
    {L"CHAT_PAGE_DOWN", L"Chat Page Down"},
    {L"CHAT_BOTTOM", L"Scroll Chat to Bottom"},
    {L"CHAT_REPLY", L"Reply to Whisper"},
    {L"COMBAT_LOG_PAGE_UP", L"Combat Log Page Up"},
    {L"COMBAT_LOG_PAGE_DOWN", L"Combat Log Page Down"},
    {L"COMBAT_LOG_BOTTOM", L"Scroll Combat Log to Bottom"},
    {L"TOGGLE_COMBAT_LOG", L"Toggle Combat Log"},
    // ACTION_BAR_FUNCTIONS (the numbered ones below)
    {L"PREVIOUS_ACTION_BAR", L"Previous Action Bar"},
    {L"NEXT_ACTION_BAR", L"Next Action Bar"},
    // TARGETING_FUNCTIONS
    {L"TARGET_NEAREST_ENEMY", L"Target Nearest Enemy"},
    {L"TARGET_PREVIOUS_ENEMY", L"Target Previous Enemy"},
    {L"TARGET_NEAREST_FRIEND", L"Target Nearest Friend"},
    {L"TARGET_PREVIOUS_FRIEND", L"Target Previous Friend"},
    {L"TARGET_SELF", L"Target Self"},
    {L"TARGET_PET", L"Target Pet"},
    {L"TARGET_LAST_HOSTILE", L"Target Last Hostile"},
    {L"ASSIST_TARGET", L"Assist Target"},
    {L"SHOW_ENEMY_NAME_PLATES", L"Show Enemy Name Plates"},
    {L"SHOW_FRIENDLY_NAME_PLATES", L"Show Friendly Name Plates"},
    {L"SHOW_ALL_NAME_PLATES", L"Show All Name Plates"},
    {L"ATTACK_TARGET", L"Attack Target"},
    {L"PET_ATTACK", L"Pet Attack"},
    // INTERFACE_PANEL_FUNCTIONS
    {L"TOGGLE_CHARACTER_PANE", L"Character Info"},
    {L"TOGGLE_BACKPACK", L"Backpack"},
    {L"OPEN_ALL_BAGS", L"Open All Bags"},
    {L"TOGGLE_SPELLBOOK", L"Spellbook"},
    {L"TOGGLE_PETBOOK", L"Pet Spellbook"},
    {L"TOGGLE_TALENT_PANE", L"Talents"},
    {L"TOGGLE_HONOR_PANE", L"Honor"},
    {L"TOGGLE_PET_PANE", L"Pet Info"},
    {L"TOGGLE_REPUTATION_PANE", L"Reputation"},
    {L"TOGGLE_SKILL_PANE", L"Skills"},
    {L"TOGGLE_QUEST_LOG", L"Quest Log"},
    {L"TOGGLE_GAME_MENU", L"Game Menu"},
    {L"TOGGLE_WORLD_MAP_PANE", L"World Map"},
    {L"TOGGLE_SOCIAL_PANE", L"Social"},
    {L"TOGGLE_SCORE_SCREEN", L"Battleground Score"},
    {L"TOGGLE_BATTLE_MAP", L"Battlefield Minimap"},
    {L"TOGGLE_CHANNEL_PULLOUT", L"Chat Channels"},
    // CAMERA_FUNCTIONS
    {L"NEXT_VIEW", L"Next Camera View"},
    {L"PREVIOUS_VIEW", L"Previous Camera View"},
    {L"ZOOM_IN", L"Camera Zoom In"},
    {L"ZOOM_OUT", L"Camera Zoom Out"},
    // MISCELLANEOUS_FUNCTIONS
    {L"MINIMAP_ZOOM_IN", L"Minimap Zoom In"},
    {L"MINIMAP_ZOOM_OUT", L"Minimap Zoom Out"},
    {L"TOGGLE_MUSIC", L"Toggle Music"},
    {L"TOGGLE_SOUND", L"Toggle Sound"},
    {L"MASTER_VOLUME_UP", L"Master Volume Up"},
    {L"MASTER_VOLUME_DOWN", L"Master Volume Down"},
    {L"TOGGLE_USER_INTERFACE", L"Hide / Show Interface"},
    {L"TOGGLE_FRAMERATE_DISPLAY", L"Show Framerate"},
    {L"SCREEN_SHOT", L"Screenshot"},
};

// Numbered families: the element prefix followed by the number, and the text before it.
const Text kNumberedTexts[] = {
    {L"ACTION_BUTTON_", L"Action Button "},
    {L"SELF_ACTION_BUTTON_", L"Self-Cast Action Button "},
    {L"SPECIAL_ACTION_BUTTON_", L"Special Action Button "},
    {L"SECONDARY_ACTION_BUTTON_", L"Secondary Action Button "},
    {L"ACTION_PAGE_", L"Action Bar Page "},
    {L"TARGET_PARTY_MEMBER_", L"Target Party Member "},
    {L"TARGET_PARTY_PET_", L"Target Party Pet "},
    {L"TOGGLE_BAG_", L"Bag "},
    {L"PROFILE_", L"Profile "},
};

// "Strings" of the catalogue's group elements, in group order.
const wchar_t* const kGroupCaptions[CATALOGUE_GROUP_COUNT] = {
    L"Movement", L"Chat", L"Action Bars", L"Targeting", L"Interface Panels", L"Camera", L"Miscellaneous",
};

bool AllDigits(const wchar_t* s)
{
    if (!*s) return false;
    for (; *s; ++s)
        if (!iswdigit(*s)) return false;
    return true;
}

// The text of a function element; empty when the description has none.
std::wstring FunctionText(const wchar_t* element)
{
    for (const Text& t : kFunctionTexts)
        if (wcscmp(t.element, element) == 0) return t.text;
    for (const Text& t : kNumberedTexts) {
        size_t n = wcslen(t.element);
        if (wcsncmp(t.element, element, n) == 0 && AllDigits(element + n)) return std::wstring(t.text) + (element + n);
    }
    return std::wstring();
}

// A menu row: its element and its text; a null text takes the function's text.
struct Row {
    const wchar_t* element;
    const wchar_t* text;
};

struct Section {
    const wchar_t* element;
    std::vector<Row> rows;
};

// FILE_MENU, TOOLS_MENU and HELP_MENU are read in this order, each forward from the last.
const std::vector<Section>& MenuSections()
{
    static const std::vector<Section> sections = {
        {L"BUTTON_MENU", {{L"LEFT_CLICK", nullptr}, {L"RIGHT_CLICK", nullptr}, {L"DOUBLE_CLICK", nullptr},
                          {L"WINDOWS_BUTTON_4", nullptr}, {L"WINDOWS_BUTTON_5", nullptr},
                          {L"UNIVERSAL_SCROLL", nullptr}, {L"BUTTON_OFF", nullptr},
                          {L"BUTTON_ASSIGNMENTS", nullptr}, {L"STOP_ALL", nullptr}, {L"FOCUS", nullptr},
                          {L"DISMOUNT", nullptr}}},
        {L"SCROLL_BUTTON_MENU", {{L"LEFT_CLICK", nullptr}, {L"RIGHT_CLICK", nullptr}, {L"DOUBLE_CLICK", nullptr},
                                 {L"SCROLL_UP", nullptr}, {L"SCROLL_DOWN", nullptr},
                                 {L"WINDOWS_BUTTON_4", nullptr}, {L"WINDOWS_BUTTON_5", nullptr},
                                 {L"BUTTON_OFF", nullptr}}},
        {L"CHANGE_DPI", {{L"DPI_400", nullptr}, {L"DPI_800", nullptr}, {L"DPI_1600", nullptr},
                         {L"DPI_3200", nullptr}, {L"DPI_UP", nullptr}, {L"DPI_DOWN", nullptr}}},
        {L"CHANGE_PROFILE", {{L"PROFILE_UP", nullptr}, {L"PROFILE_DOWN", nullptr}}},
        {L"DPI_MENU", {{L"DPI_400", nullptr}, {L"DPI_800", nullptr}, {L"DPI_1600", nullptr}, {L"DPI_3200", nullptr}}},
        {L"INTENSITY_MENU", {{L"HIGH", L"High"}, {L"MEDIUM", L"Medium"}, {L"LOW", L"Low"}, {L"OFF", L"Off"}}},
        {L"PULSATION_MENU", {{L"HIGH", L"Fast"}, {L"MEDIUM", L"Medium"}, {L"LOW", L"Slow"}, {L"OFF", L"Off"}}},
        {L"CHRONICLE", {{L"USA", L"Americas"}, {L"EUROPE", L"Europe"}, {L"KOREA", L"Korea"},
                        {L"TAIWAN", L"Taiwan"}, {L"CHINA", L"China"}}},
        {L"FILE_MENU", {{L"EDIT", L"Edit Game List..."}, {L"EXPORT", L"Export Profile..."},
                        {L"IMPORT", L"Import Profile..."}, {L"PRINT", L"Print Profile..."}}},
        {L"TOOLS_MENU", {{L"CHANGE_POLLING_RATE", L"Polling Rate"}, {L"RATE_250", L"250 Hz"},
                         {L"RATE_500", L"500 Hz"}, {L"RATE_1000", L"1000 Hz"},
                         {L"SHOW_MACRO", L"Confirm Before Deleting a Macro"}}},
        {L"HELP_MENU", {{L"USER_GUIDE", L"User Guide"}, {L"ABOUT", L"About..."}}},
        {L"PROFILE_MENU", {{L"RESET", L"Reset Profile"}, {L"EDIT", L"Edit Game List..."},
                           {L"RENAME", L"Rename Profile..."}, {L"EXPORT", L"Export Profile..."},
                           {L"IMPORT", L"Import Profile..."}, {L"CHANGE_SKIN", L"Skin"},
                           {L"ULK", L"Tharnic Edition"}, {L"GENERIC", L"Generic"}, {L"NO_SKIN", L"No Skin"},
                           {L"PRINT", L"Print Profile..."}, {L"ABOUT", L"About..."}}},
    };
    return sections;
}

const wchar_t kDeclaration[] = L"<?xml version=\"1.0\" encoding=\"utf-16\"?>\r\n";

std::wstring EscapeAttribute(const wchar_t* text)
{
    std::wstring out = EncodeEntities(text).str();
    for (size_t at = out.find(L'"'); at != std::wstring::npos; at = out.find(L'"', at + 6))
        out.replace(at, 1, L"&quot;");
    return out;
}

// One element per line; false when the text is empty (a gap in the description).
bool AddLine(std::wstring& doc, const wchar_t* element, const std::wstring& text)
{
    doc += std::wstring(L"<") + element + L">" + EncodeEntities(text.c_str()).str() + L"</" + element + L">\r\n";
    return !text.empty();
}

void Open(std::wstring& doc, const wchar_t* element, const wchar_t* strings = nullptr)
{
    doc += std::wstring(L"<") + element;
    if (strings) doc += std::wstring(L" Strings=\"") + EscapeAttribute(strings) + L"\"";
    doc += L">\r\n";
}

void Close(std::wstring& doc, const wchar_t* element)
{
    doc += std::wstring(L"</") + element + L">\r\n";
}

// Rows of the named codes from first to last, under their element names.
bool AddCodeRange(std::wstring& doc, int first, int last)
{
    bool complete = true;
    for (int code = first; code <= last; ++code) {
        const wchar_t* element = DescribeFunctionCode(code).element;
        complete &= AddLine(doc, element, FunctionText(element));
    }
    return complete;
}

} // namespace

std::wstring MenuFileText()
{
    std::wstring doc = kDeclaration;
    Open(doc, L"root");
    bool complete = true;
    for (const Section& section : MenuSections()) {
        Open(doc, section.element);
        for (const Row& row : section.rows)
            complete &= AddLine(doc, row.element, row.text ? std::wstring(row.text) : FunctionText(row.element));
        Close(doc, section.element);
    }
    Close(doc, L"root");
    return complete ? doc : std::wstring();
}

std::wstring FunctionsFileText()
{
    std::wstring doc = kDeclaration;
    Open(doc, L"root");
    bool complete = true;
    Open(doc, L"GAME_COMMANDS", L"Game Commands");
    const CatalogueGroup* groups = CatalogueGroups();
    for (int g = 0; g < CATALOGUE_GROUP_COUNT; ++g) {
        Open(doc, groups[g].element, kGroupCaptions[g]);
        for (int i = 0; i < groups[g].itemCount; ++i)
            complete &= AddLine(doc, groups[g].items[i], FunctionText(groups[g].items[i]));
        Close(doc, groups[g].element);
    }
    Close(doc, L"GAME_COMMANDS");

    Open(doc, L"CHANGE_DPI", L"DPI");
    complete &= AddCodeRange(doc, FIRST_DPI_CODE, FIRST_DPI_CODE + 5);
    Close(doc, L"CHANGE_DPI");
    Open(doc, L"CHANGE_PROFILE", L"Profiles");
    complete &= AddCodeRange(doc, FIRST_PROFILE_CODE, FIRST_PROFILE_CODE + 11);
    Close(doc, L"CHANGE_PROFILE");
    Open(doc, L"CUSTOM_MACROS", L"Macros");
    AddLine(doc, L"NEW_MACRO", L"New");
    AddLine(doc, L"DELETE", L"Delete");
    Close(doc, L"CUSTOM_MACROS");
    Close(doc, L"root");
    return complete ? doc : std::wstring();
}

bool WriteShippedXml(const std::wstring& text, const wchar_t* path)
{
    if (text.empty()) return false;
    CXmlDoc doc;
    if (!doc.SetDocText(text.c_str())) return false;
    doc.m_docFlags |= XMLDOC_UTF16LE_BOM;
    return doc.SaveFile(path);
}
