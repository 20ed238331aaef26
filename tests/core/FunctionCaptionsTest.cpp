#include "ConfigTestSupport.h"
#include "core/FunctionCaptions.h"
#include "core/FunctionCodes.h"
#include "core/XmlDoc.h"
#include <gtest/gtest.h>
#include <climits>

namespace {

std::wstring Name(const wchar_t* s) { return s ? s : L"(null)"; }

const CaptionVariant BUTTON = CaptionVariant::ButtonPopup;
const CaptionVariant SCROLL = CaptionVariant::ScrollPopup;

// Reads the caption of code through variant from the given document text.
struct Reader {
    std::unique_ptr<ConfigData> cfg = DefaultRecord();

    // "-" when the source gives no text.
    std::wstring Read(int code, CaptionVariant variant, const std::wstring& docText)
    {
        CXmlDoc doc;
        doc.SetDocText(docText.c_str());
        CString text;
        return ReadCaptionText(CaptionSourceFor(code, variant), &doc, *cfg, text) ? text.str() : L"-";
    }
};

} // namespace

TEST(FunctionCaptions, EachCodeNamesWhereItsTextComesFrom)
{
    using C = CaptionFrom;
    const wchar_t* MENU = MENU_FILE_NAME;
    const wchar_t* FUNCS = FUNCTIONS_FILE_NAME;
    struct Case {
        int code;
        CaptionVariant variant;
        CaptionFrom from;
        const wchar_t* file;
        const wchar_t* section;
        const wchar_t* group;
        const wchar_t* element;
        int index;
        bool writesSlot;
        bool opensPicker;
    } cases[] = {
        {1, BUTTON, C::MenuFamilies, MENU, L"BUTTON_MENU", nullptr, L"LEFT_CLICK", -1, true, false},
        {1, SCROLL, C::MenuFamilies, MENU, L"SCROLL_BUTTON_MENU", nullptr, L"LEFT_CLICK", -1, true, false},
        {2, SCROLL, C::MenuFamilies, MENU, L"SCROLL_BUTTON_MENU", nullptr, L"RIGHT_CLICK", -1, true, false},
        {3, BUTTON, C::MenuFamilies, MENU, L"BUTTON_MENU", nullptr, L"DOUBLE_CLICK", -1, true, false},
        {4, SCROLL, C::MenuFamilies, MENU, L"SCROLL_BUTTON_MENU", nullptr, L"WINDOWS_BUTTON_4", -1, true, false},
        {5, BUTTON, C::MenuFamilies, MENU, L"BUTTON_MENU", nullptr, L"WINDOWS_BUTTON_5", -1, true, false},
        {6, BUTTON, C::MenuFamilies, MENU, L"BUTTON_MENU", nullptr, L"UNIVERSAL_SCROLL", -1, true, false},
        {6, SCROLL, C::Nothing, nullptr, nullptr, nullptr, nullptr, -1, false, false},
        {9, BUTTON, C::MenuFamilies, MENU, L"BUTTON_MENU", nullptr, L"BUTTON_OFF", -1, true, false},
        {9, SCROLL, C::MenuFamilies, MENU, L"SCROLL_BUTTON_MENU", nullptr, L"BUTTON_OFF", -1, true, false},
        {11, BUTTON, C::Nothing, nullptr, nullptr, nullptr, nullptr, -1, false, false},
        {12, BUTTON, C::Nothing, nullptr, nullptr, nullptr, nullptr, -1, false, false},
        {11, SCROLL, C::MenuFamilies, MENU, L"SCROLL_BUTTON_MENU", nullptr, L"SCROLL_UP", -1, true, false},
        {12, SCROLL, C::MenuFamilies, MENU, L"SCROLL_BUTTON_MENU", nullptr, L"SCROLL_DOWN", -1, true, false},
        // Code 13 and the chat commands read BUTTON_MENU in both variants.
        {13, BUTTON, C::MenuFamilies, MENU, L"BUTTON_MENU", nullptr, L"BUTTON_ASSIGNMENTS", -1, false, true},
        {13, SCROLL, C::MenuFamilies, MENU, L"BUTTON_MENU", nullptr, L"BUTTON_ASSIGNMENTS", -1, false, true},
        {80, BUTTON, C::MenuFamilies, MENU, L"BUTTON_MENU", nullptr, L"STOP_ALL", -1, true, false},
        {80, SCROLL, C::MenuFamilies, MENU, L"BUTTON_MENU", nullptr, L"STOP_ALL", -1, true, false},
        {81, SCROLL, C::MenuFamilies, MENU, L"BUTTON_MENU", nullptr, L"FOCUS", -1, true, false},
        {82, BUTTON, C::MenuFamilies, MENU, L"BUTTON_MENU", nullptr, L"DISMOUNT", -1, true, false},
        {16, BUTTON, C::MenuSection, MENU, L"CHANGE_DPI", nullptr, L"DPI_400", -1, false, false},
        {19, SCROLL, C::MenuSection, MENU, L"CHANGE_DPI", nullptr, L"DPI_3200", -1, false, false},
        {20, BUTTON, C::MenuSection, MENU, L"CHANGE_DPI", nullptr, L"DPI_UP", -1, false, false},
        {21, BUTTON, C::MenuSection, MENU, L"CHANGE_DPI", nullptr, L"DPI_DOWN", -1, false, false},
        {32, BUTTON, C::ProfileName, nullptr, nullptr, nullptr, nullptr, 0, false, false},
        {41, SCROLL, C::ProfileName, nullptr, nullptr, nullptr, nullptr, 9, false, false},
        {42, BUTTON, C::MenuSection, MENU, L"CHANGE_PROFILE", nullptr, L"PROFILE_UP", -1, false, false},
        {43, SCROLL, C::MenuSection, MENU, L"CHANGE_PROFILE", nullptr, L"PROFILE_DOWN", -1, false, false},
        {101, BUTTON, C::Catalogue, FUNCS, L"GAME_COMMANDS", L"MOVEMENT_KEYS", L"MOVE_AND_STEER", -1, false, false},
        {301, SCROLL, C::Catalogue, FUNCS, L"GAME_COMMANDS", L"ACTION_BAR_FUNCTIONS", L"ACTION_BUTTON_1", -1, false, false},
        {709, BUTTON, C::Catalogue, FUNCS, L"GAME_COMMANDS", L"MISCELLANEOUS_FUNCTIONS", L"SCREEN_SHOT", -1, false, false},
        {1000, BUTTON, C::MacroName, nullptr, nullptr, nullptr, nullptr, 0, false, false},
        {1049, SCROLL, C::MacroName, nullptr, nullptr, nullptr, nullptr, 49, false, false},
    };
    for (const Case& c : cases) {
        CaptionSource s = CaptionSourceFor(c.code, c.variant);
        int v = (int)c.variant;
        EXPECT_EQ(s.from, c.from) << c.code << " variant " << v;
        EXPECT_EQ(Name(s.file), Name(c.file)) << c.code << " variant " << v;
        EXPECT_EQ(Name(s.section), Name(c.section)) << c.code << " variant " << v;
        EXPECT_EQ(Name(s.group), Name(c.group)) << c.code << " variant " << v;
        EXPECT_EQ(Name(s.element), Name(c.element)) << c.code << " variant " << v;
        EXPECT_EQ(s.index, c.index) << c.code << " variant " << v;
        EXPECT_EQ(s.writesSlot, c.writesSlot) << c.code << " variant " << v;
        EXPECT_EQ(s.opensPicker, c.opensPicker) << c.code << " variant " << v;
    }

    // Codes without a caption in both variants.
    for (int code : {INT_MIN, -1, 0, 7, 8, 10, 14, 15, 22, 23, 31, 44, 79, 83, 100, 115, 200, 353, 522, 605, 710,
                     999, 1050, 1200, 1201, INT_MAX}) {
        EXPECT_EQ(CaptionSourceFor(code, BUTTON).from, CaptionFrom::Nothing) << code;
        EXPECT_EQ(CaptionSourceFor(code, SCROLL).from, CaptionFrom::Nothing) << code;
    }
    // Every code of a family has a caption in the button variant but the scroll entries,
    // and every catalogue code reads its own group and item.
    for (int code = 0; code <= FUNCTION_CODE_MAX; ++code) {
        FunctionCodeInfo info = DescribeFunctionCode(code);
        CaptionSource s = CaptionSourceFor(code, BUTTON);
        bool expected = info.family != FunctionFamily::None && info.family != FunctionFamily::ScrollEntry;
        EXPECT_EQ(s.from != CaptionFrom::Nothing, expected) << code;
        if (info.family == FunctionFamily::GameCommand) {
            EXPECT_EQ(Name(s.group), Name(CatalogueGroups()[info.group - 1].element)) << code;
            EXPECT_EQ(Name(s.element), Name(info.element)) << code;
        }
    }
}

TEST(FunctionCaptions, MenuFamiliesAreReadInDocumentOrderAndTheLastOneWins)
{
    Reader r;
    const std::wstring menu =
        L"<root>"
        L"<BUTTON_MENU><LEFT_CLICK>Left</LEFT_CLICK><RIGHT_CLICK>Right</RIGHT_CLICK><BUTTON_OFF>Off</BUTTON_OFF>"
        L"<STOP_ALL>Stop &amp; go</STOP_ALL><BUTTON_ASSIGNMENTS>Assign</BUTTON_ASSIGNMENTS>"
        L"<UNIVERSAL_SCROLL>Middle</UNIVERSAL_SCROLL><SCROLL_UP>not here</SCROLL_UP></BUTTON_MENU>"
        L"<SCROLL_BUTTON_MENU><RIGHT_CLICK>Scroll right</RIGHT_CLICK><BUTTON_OFF>Scroll off</BUTTON_OFF>"
        L"<SCROLL_UP>Up</SCROLL_UP><SCROLL_DOWN>Down</SCROLL_DOWN><UNIVERSAL_SCROLL>no</UNIVERSAL_SCROLL>"
        L"<STOP_ALL>not this</STOP_ALL></SCROLL_BUTTON_MENU>"
        L"<BUTTON_MENU><LEFT_CLICK>Left again</LEFT_CLICK><LEFT_CLICK>second child</LEFT_CLICK></BUTTON_MENU>"
        L"<BUTTON_MENU><DOUBLE_CLICK>Double</DOUBLE_CLICK></BUTTON_MENU>"
        L"<other><BUTTON_MENU><RIGHT_CLICK>nested</RIGHT_CLICK></BUTTON_MENU></other>"
        L"</root>";
    struct Case { int code; CaptionVariant variant; const wchar_t* text; } cases[] = {
        // A later family element with the item wins; its first such child gives the text.
        {1, BUTTON, L"Left again"},
        // A later one without the item leaves the earlier text; a nested one is not read.
        {2, BUTTON, L"Right"},
        {3, BUTTON, L"Double"},
        {9, BUTTON, L"Off"},
        {80, BUTTON, L"Stop & go"},
        {13, BUTTON, L"Assign"},
        {6, BUTTON, L"Middle"},
        // The scroll variant reads SCROLL_BUTTON_MENU for the basic functions only.
        {2, SCROLL, L"Scroll right"},
        {9, SCROLL, L"Scroll off"},
        {11, SCROLL, L"Up"},
        {12, SCROLL, L"Down"},
        {80, SCROLL, L"Stop & go"},
        {13, SCROLL, L"Assign"},
        {1, SCROLL, L"-"},
        {6, SCROLL, L"-"},
        {11, BUTTON, L"-"},
        {12, BUTTON, L"-"},
        {4, BUTTON, L"-"},
        {81, BUTTON, L"-"},
        {0, BUTTON, L"-"}, {22, BUTTON, L"-"}, {1050, BUTTON, L"-"}, {-1, BUTTON, L"-"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(r.Read(c.code, c.variant, menu), c.text) << c.code << " variant " << (int)c.variant;

    // A family element with no items, or none at all.
    EXPECT_EQ(r.Read(1, BUTTON, L"<root><BUTTON_MENU/></root>"), L"-");
    EXPECT_EQ(r.Read(1, BUTTON, L"<root><SCROLL_BUTTON_MENU><LEFT_CLICK>x</LEFT_CLICK></SCROLL_BUTTON_MENU></root>"),
              L"-");
    // An empty item gives an empty caption, which is still put on the button.
    EXPECT_EQ(r.Read(1, BUTTON, L"<root><BUTTON_MENU><LEFT_CLICK/></BUTTON_MENU></root>"), L"");
}

TEST(FunctionCaptions, DpiAndProfileStepsReadTheFirstSectionOnly)
{
    Reader r;
    const std::wstring menu =
        L"<root><CHANGE_DPI><DPI_400>400</DPI_400><DPI_UP>Up</DPI_UP><DPI_UP>Up twice</DPI_UP></CHANGE_DPI>"
        L"<CHANGE_DPI><DPI_800>800 later</DPI_800><DPI_400>400 later</DPI_400></CHANGE_DPI>"
        L"<CHANGE_PROFILE><PROFILE_DOWN>Previous</PROFILE_DOWN></CHANGE_PROFILE>"
        L"<CHANGE_PROFILE><PROFILE_UP>Next later</PROFILE_UP></CHANGE_PROFILE></root>";
    struct Case { int code; const wchar_t* text; } cases[] = {
        {16, L"400"}, {20, L"Up"}, {17, L"-"}, {18, L"-"}, {21, L"-"}, {43, L"Previous"}, {42, L"-"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(r.Read(c.code, BUTTON, menu), c.text) << c.code;
        EXPECT_EQ(r.Read(c.code, SCROLL, menu), c.text) << c.code;
    }
    // Without a CHANGE_DPI element a DPI button keeps its text.
    EXPECT_EQ(r.Read(16, BUTTON, L"<root><BUTTON_MENU><DPI_400>x</DPI_400></BUTTON_MENU></root>"), L"-");
}

TEST(FunctionCaptions, GameCommandsReadTheFirstGroupOfTheFirstCatalogue)
{
    Reader r;
    const std::wstring catalogue =
        L"<catalogue><CHANGE_DPI/><GAME_COMMANDS Strings='Commands'>"
        L"<MOVEMENT_KEYS><MOVE_FORWARD>Forward</MOVE_FORWARD><JUMP>Jump</JUMP><JUMP>Jump twice</JUMP></MOVEMENT_KEYS>"
        L"<MOVEMENT_KEYS><TURN_LEFT>Left later</TURN_LEFT><MOVE_FORWARD>Forward later</MOVE_FORWARD></MOVEMENT_KEYS>"
        L"<MISCELLANEOUS_FUNCTIONS><SCREEN_SHOT>Picture</SCREEN_SHOT></MISCELLANEOUS_FUNCTIONS>"
        L"<CHAT_FUNCTIONS><OPEN_CHAT>Chat &lt;Enter&gt;</OPEN_CHAT></CHAT_FUNCTIONS>"
        L"</GAME_COMMANDS>"
        L"<GAME_COMMANDS><CAMERA_FUNCTIONS><ZOOM_IN>Zoom later</ZOOM_IN></CAMERA_FUNCTIONS></GAME_COMMANDS>"
        L"</catalogue>";
    struct Case { int code; const wchar_t* text; } cases[] = {
        {102, L"Forward"}, {108, L"Jump"}, {103, L"-"}, {709, L"Picture"},
        // Groups in any order: each is looked up from the start of GAME_COMMANDS.
        {201, L"Chat <Enter>"},
        {603, L"-"}, {101, L"-"}, {115, L"-"},
    };
    for (const Case& c : cases) EXPECT_EQ(r.Read(c.code, BUTTON, catalogue), c.text) << c.code;
    // The catalogue's item names belong to their group only.
    EXPECT_EQ(r.Read(102, BUTTON, L"<r><GAME_COMMANDS><CHAT_FUNCTIONS><MOVE_FORWARD>x</MOVE_FORWARD>"
                                  L"</CHAT_FUNCTIONS></GAME_COMMANDS></r>"),
              L"-");
    EXPECT_EQ(r.Read(102, BUTTON, L"<r><MOVEMENT_KEYS><MOVE_FORWARD>x</MOVE_FORWARD></MOVEMENT_KEYS></r>"), L"-");
}

TEST(FunctionCaptions, ProfileAndMacroCodesShowTheRecordsNames)
{
    Reader r;
    ConfigData& cfg = *r.cfg;
    cfg.PROFILE_ID = 6;
    CopyField(cfg.profiles[3].PROFILE_NAME, L"Raid <healer>");
    CopyField(cfg.profiles[9].PROFILE_NAME, L"");
    CopyField(cfg.profiles[6].macros[49].MACRO_NAME, L"Last macro");
    CopyField(cfg.profiles[0].macros[0].MACRO_NAME, L"other profile's macro");
    struct Case { int code; const wchar_t* text; } cases[] = {
        // A profile code names its profile whatever profile is current.
        {35, L"Raid <healer>"}, {41, L""}, {32, L"Profile 1"},
        // A macro code names the current profile's macro, empty or not.
        {1049, L"Last macro"}, {1000, L""},
    };
    for (const Case& c : cases) {
        CString text = L"unchanged";
        EXPECT_TRUE(ReadCaptionText(CaptionSourceFor(c.code, BUTTON), nullptr, cfg, text)) << c.code;
        EXPECT_EQ(text.str(), c.text) << c.code;
    }
    // A name that fills its whole field is read up to the field's end.
    for (wchar_t& ch : cfg.profiles[6].macros[2].MACRO_NAME) ch = L'm';
    CString text;
    EXPECT_TRUE(ReadCaptionText(CaptionSourceFor(1002, BUTTON), nullptr, cfg, text));
    EXPECT_EQ(text.GetLength(), 100);
    // A current profile out of range names no macro.
    cfg.PROFILE_ID = 10;
    text = L"unchanged";
    EXPECT_FALSE(ReadCaptionText(CaptionSourceFor(1000, BUTTON), nullptr, cfg, text));
    EXPECT_EQ(text.str(), L"unchanged");
}

TEST(FunctionCaptions, AFileThatDidNotLoadGivesNoText)
{
    auto cfg = DefaultRecord();
    for (int code : {1, 9, 13, 16, 42, 80, 301}) {
        CString text = L"unchanged";
        EXPECT_FALSE(ReadCaptionText(CaptionSourceFor(code, BUTTON), nullptr, *cfg, text)) << code;
        EXPECT_EQ(text.str(), L"unchanged");
    }
    // A document read before is searched from its start again.
    CXmlDoc doc;
    doc.SetDocText(L"<root><BUTTON_MENU><LEFT_CLICK>Left</LEFT_CLICK></BUTTON_MENU>"
                   L"<CHANGE_DPI><DPI_400>400</DPI_400></CHANGE_DPI></root>");
    CString text;
    EXPECT_TRUE(ReadCaptionText(CaptionSourceFor(16, BUTTON), &doc, *cfg, text));
    EXPECT_TRUE(ReadCaptionText(CaptionSourceFor(1, BUTTON), &doc, *cfg, text));
    EXPECT_EQ(text.str(), L"Left");
}
