#include "ConfigTestSupport.h"
#include "FileHolders.h"
#include "core/ConfigFile.h"
#include "core/ConfigSettings.h"
#include "core/XmlDoc.h"
#include <gtest/gtest.h>
#include <functional>
#include <sstream>
#include <vector>

namespace {

std::unique_ptr<ConfigData> Load(const wchar_t* path)
{
    auto cfg = NewConfigData();
    ResetConfig(*cfg);
    EXPECT_EQ(LoadConfig(*cfg, path), 0);
    return cfg;
}

std::unique_ptr<ConfigData> LoadValidated(const wchar_t* path)
{
    auto cfg = Load(path);
    ValidateConfig(*cfg);
    return cfg;
}

std::vector<std::wstring> Lines(const std::wstring& text)
{
    std::vector<std::wstring> lines;
    size_t from = 0;
    while (from < text.size()) {
        size_t end = text.find(L"\r\n", from);
        if (end == std::wstring::npos) {
            lines.push_back(text.substr(from));
            break;
        }
        lines.push_back(text.substr(from, end - from));
        from = end + 2;
    }
    return lines;
}

// The tag name of a line such as <A>1</A>, <A/>, </A>.
std::wstring TagOf(const std::wstring& line)
{
    size_t b = line[1] == L'/' ? 2 : 1;
    size_t e = line.find_first_of(L">/ ", b);
    return line.substr(b, e - b);
}

// The tag of every line of a new file, in the writer's order (without the declaration).
std::vector<std::wstring> WriterOrder()
{
    std::vector<std::wstring> t = {L"root", L"PROFILE_ID", L"POLLING_RATE", L"GAME_MODE"};
    for (int n = 1; n <= PROFILE_COUNT; ++n) {
        std::wstring profile = L"PROFILE_" + std::to_wstring(n);
        t.push_back(profile);
        for (const wchar_t* s : {L"REGION", L"SERVER_NAME", L"CHARACTER_NAME", L"CHARACTER_LEVEL", L"CHARACTER_CLASS",
                                 L"CHARACTER_RACE", L"PROFILE_NAME", L"DPI_VALUE", L"DOUBLE_CLICK_SPEED",
                                 L"SCROLL_SPEED", L"SENSITIVITY", L"ADVANCE_SENSITIVITY_X", L"ADVANCE_SENSITIVITY_Y",
                                 L"LED_COLOR", L"LED_INTENSITY", L"LED_PULSATION"})
            t.push_back(s);
        for (int g = 1; g <= GAME_NAME_COUNT; ++g) t.push_back(L"GAME_NAME_" + std::to_wstring(g));
        for (int k = 1; k <= MACRO_COUNT; ++k) {
            std::wstring macro = L"MACRO_" + std::to_wstring(k);
            t.push_back(macro);
            for (const wchar_t* s : {L"MACRO_NAME", L"MACRO_LOOP_COUNT", L"MACRO_DELAY_MODE", L"MACRO_PASTE",
                                     L"MACRO_START_KEY", L"MACRO_SEND_KEY", L"MACRO_INFO", L"MACRO_START_KEY_INFO",
                                     L"MACRO_SEND_KEY_INFO"})
                t.push_back(s);
            t.push_back(macro);
        }
        for (int b = 1; b <= BUTTON_COUNT; ++b) t.push_back(L"BUTTON_" + std::to_wstring(b));
        t.push_back(profile);
    }
    t.push_back(L"root");
    return t;
}

// The text of a new file for the record, as the writer makes it.
std::wstring NewFileText(const ConfigData& cfg)
{
    TempDir dir;
    EXPECT_TRUE(WriteNewConfigFile(cfg, dir.File(L"Config.xml")));
    return ReadUtf16File(dir.File(L"Config.xml"));
}

std::wstring RegValue(const wchar_t* key, const wchar_t* name, DWORD* type = nullptr, DWORD* bytes = nullptr)
{
    HKEY h;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, key, 0, KEY_READ, &h) != ERROR_SUCCESS) return L"<no key>";
    wchar_t buf[64] = {};
    DWORD size = sizeof(buf) - sizeof(wchar_t), t = 0;
    LONG r = RegQueryValueExW(h, name, nullptr, &t, reinterpret_cast<BYTE*>(buf), &size);
    RegCloseKey(h);
    if (type) *type = t;
    if (bytes) *bytes = size;
    return r == ERROR_SUCCESS ? std::wstring(buf) : L"<no value>";
}

// Edits of a default file and what the loader makes of them.
struct LoadCase {
    const char* what;
    std::function<void(std::wstring&)> edit;
    std::function<void(const ConfigData&)> check;
};

void RunLoadCases(const std::vector<LoadCase>& cases)
{
    std::wstring base = NewFileText(*DefaultRecord());
    for (const LoadCase& c : cases) {
        SCOPED_TRACE(c.what);
        TempDir dir;
        std::wstring text = base;
        c.edit(text);
        ASSERT_TRUE(WriteUtf16File(dir.File(L"Config.xml"), text));
        auto cfg = Load(dir.File(L"Config.xml"));
        c.check(*cfg);
    }
}

} // namespace

TEST(ConfigFile, RichRecordSurvivesSaveAndLoad)
{
    ConfFolder conf;
    auto rich = RichRecord();
    ASSERT_EQ(SaveConfig(*rich), 0);
    auto loaded = Load(conf.File(L"Config.xml"));
    EXPECT_EQ(ValidateConfig(*loaded), 0);
    EXPECT_EQ(CompareConfig(*rich, *loaded), 0);
    EXPECT_EQ(loaded->profiles[0].macros[0].events[319].vk, 65);
    EXPECT_EQ(loaded->profiles[0].macros[0].events[3].delay, -1);
    EXPECT_EQ(std::wstring(loaded->profiles[2].CHARACTER_NAME), L"  Name&<>3  ");

    // Saved again in place, a second rich record replaces the first one completely.
    auto other = RichRecord();
    for (ProfileData& p : other->profiles) {
        wcscpy(p.SERVER_NAME, L"Moved & <elsewhere>");
        p.LED_COLOR = 0x123456;
        for (MacroData& m : p.macros) {
            if (m.events[0].vk) m.events[0].delay += 7;
            m.delayMode = 4;
            wcscpy(m.pasteText, L"new <paste>");
            m.startKeys[1] = {66, 0, 9};
            m.sendKeyFlag = 1;
        }
    }
    other->PROFILE_ID = 2;
    ASSERT_EQ(SaveConfig(*other), 0);
    loaded = Load(conf.File(L"Config.xml"));
    EXPECT_EQ(ValidateConfig(*loaded), 0);
    EXPECT_EQ(CompareConfig(*other, *loaded), 0);
}

TEST(ConfigFile, NewFileGoldenLinesAndLayout)
{
    ConfFolder conf;
    ASSERT_EQ(SaveConfig(*DefaultRecord()), 0);
    std::vector<unsigned char> bytes = ReadBytes(conf.File(L"Config.xml"));
    ASSERT_GE(bytes.size(), 2u);
    EXPECT_EQ(bytes[0], 0xFF);
    EXPECT_EQ(bytes[1], 0xFE);
    std::wstring text = ReadUtf16File(conf.File(L"Config.xml"));
    ASSERT_GE(text.size(), 2u);
    EXPECT_EQ(text.substr(text.size() - 2), L"\r\n");
    EXPECT_EQ(text.find(L"\n"), text.find(L"\r\n") + 1);
    std::vector<std::wstring> lines = Lines(text);
    const std::vector<std::wstring> first = {
        L"<?xml version=\"1.0\" encoding=\"utf-16\"?>", L"<root>", L"<PROFILE_ID>0</PROFILE_ID>",
        L"<POLLING_RATE>2</POLLING_RATE>", L"<GAME_MODE>0</GAME_MODE>", L"<PROFILE_1>", L"<REGION>0</REGION>",
        L"<SERVER_NAME/>"};
    const std::vector<std::wstring> last = {L"<BUTTON_11>11,9,</BUTTON_11>", L"</PROFILE_10>", L"</root>"};
    ASSERT_GT(lines.size(), first.size() + last.size());
    for (size_t i = 0; i < first.size(); ++i) EXPECT_EQ(lines[i], first[i]);
    for (size_t i = 0; i < last.size(); ++i) EXPECT_EQ(lines[lines.size() - last.size() + i], last[i]);

    std::vector<std::wstring> tags;
    for (size_t i = 1; i < lines.size(); ++i) tags.push_back(TagOf(lines[i]));
    EXPECT_EQ(tags, WriterOrder());
    for (const std::wstring& line : lines) EXPECT_EQ(line[0], L'<');  // no indentation

    EXPECT_NE(text.find(L"<PROFILE_NAME>Profile 10</PROFILE_NAME>"), std::wstring::npos);
    EXPECT_NE(text.find(L"<LED_COLOR>15615</LED_COLOR>"), std::wstring::npos);
    EXPECT_NE(text.find(L"<MACRO_1>\r\n<MACRO_NAME/>\r\n<MACRO_LOOP_COUNT>0,0,</MACRO_LOOP_COUNT>\r\n"
                        L"<MACRO_DELAY_MODE>1</MACRO_DELAY_MODE>\r\n<MACRO_PASTE/>\r\n<MACRO_START_KEY>0</MACRO_START_KEY>\r\n"
                        L"<MACRO_SEND_KEY>0</MACRO_SEND_KEY>\r\n<MACRO_INFO/>\r\n<MACRO_START_KEY_INFO/>\r\n"
                        L"<MACRO_SEND_KEY_INFO/>\r\n</MACRO_1>\r\n"),
              std::wstring::npos);

    auto loaded = LoadValidated(conf.File(L"Config.xml"));
    EXPECT_EQ(CompareConfig(*DefaultRecord(), *loaded), 0);
}

TEST(ConfigFile, ValueTextsOfANewFile)
{
    auto cfg = DefaultRecord();
    ProfileData& p = cfg->profiles[0];
    wcscpy(p.SERVER_NAME, L"a<b&c>d \"e\" 'f'");
    p.LED_COLOR = 0xFFFFFFFFu;
    p.buttons[3].code = 1003;
    p.buttons[3].number = 0;
    MacroData& m = p.macros[0];
    m.loopCount = 3;
    m.loopFlag = 1;
    m.events[0] = {65, 0, 100};
    m.events[1] = {65, 1, 50};
    m.events[2] = {0, 0, 999};  // ends the list
    m.events[3] = {66, 0, 1};
    m.startKeys[0] = {0, 0, 0};
    m.startKeys[1] = {13, 0, 5};  // after the end of the list
    m.sendKeys[0] = {160, 0, 0};
    m.sendKeys[1] = {9, 1, 20};
    std::wstring text = NewFileText(*cfg);
    for (const wchar_t* line : {L"<SERVER_NAME>a&lt;b&amp;c&gt;d \"e\" 'f'</SERVER_NAME>\r\n", L"<LED_COLOR>-1</LED_COLOR>\r\n",
                                L"<BUTTON_4>0,1003,</BUTTON_4>\r\n", L"<MACRO_LOOP_COUNT>3,1,</MACRO_LOOP_COUNT>\r\n",
                                L"<MACRO_INFO>65,0,100,65,1,50,</MACRO_INFO>\r\n", L"<MACRO_START_KEY_INFO/>\r\n",
                                L"<MACRO_SEND_KEY_INFO>160,0,0,9,1,20,</MACRO_SEND_KEY_INFO>\r\n"})
        EXPECT_NE(text.find(line), std::wstring::npos) << std::string(line, line + wcslen(line));
}

TEST(ConfigFile, InPlaceUpdateKeepsOrderAndChangesOnlyWhatChanged)
{
    ConfFolder conf;
    auto cfg = DefaultRecord();
    ASSERT_EQ(SaveConfig(*cfg), 0);
    std::wstring before = ReadUtf16File(conf.File(L"Config.xml"));

    cfg->PROFILE_ID = 4;
    wcscpy(cfg->profiles[0].PROFILE_NAME, L"Main & <raid>");
    MacroData& m = cfg->profiles[2].macros[5];
    wcscpy(m.MACRO_NAME, L"Combo");
    m.events[0] = {49, 0, 30};
    m.events[1] = {49, 1, 0};
    m.delayMode = 4;
    wcscpy(m.pasteText, L"hello <you> & me");
    m.startKeys[0] = {13, 0, 10};
    m.startKeyFlag = 1;
    m.sendKeys[0] = {13, 1, 0};
    m.sendKeyFlag = 1;
    cfg->profiles[9].buttons[10].code = 1005;
    wcscpy(cfg->profiles[9].GAME_NAME[9], L"game.exe");
    ASSERT_EQ(SaveConfig(*cfg), 0);
    std::wstring after = ReadUtf16File(conf.File(L"Config.xml"));

    // Exactly the file the writer makes for the changed record: same order, same forms.
    EXPECT_EQ(after, NewFileText(*cfg));
    std::vector<std::wstring> a = Lines(before), b = Lines(after);
    ASSERT_EQ(a.size(), b.size());
    int changed = 0;
    for (size_t i = 0; i < a.size(); ++i) changed += a[i] != b[i];
    EXPECT_EQ(changed, 12);

    // The in-place copy loads back to the record.
    auto loaded = LoadValidated(conf.File(L"Config.xml"));
    EXPECT_EQ(CompareConfig(*cfg, *loaded), 0);

    // Unchanged record: the file stays byte for byte the same.
    std::vector<unsigned char> bytes = ReadBytes(conf.File(L"Config.xml"));
    ASSERT_EQ(SaveConfig(*cfg), 0);
    EXPECT_EQ(ReadBytes(conf.File(L"Config.xml")), bytes);

    // A text that becomes empty keeps an element that loads as empty.
    wcscpy(cfg->profiles[0].PROFILE_NAME, L"");
    wcscpy(m.pasteText, L"");
    ASSERT_EQ(SaveConfig(*cfg), 0);
    loaded = Load(conf.File(L"Config.xml"));
    EXPECT_EQ(loaded->profiles[0].PROFILE_NAME[0], 0);
    EXPECT_EQ(loaded->profiles[2].macros[5].pasteText[0], 0);
    EXPECT_EQ(loaded->profiles[2].macros[5].delayMode, 4);
}

TEST(ConfigFile, InPlaceUpdateRewritesATextOnlyWhenItsFormDiffers)
{
    struct Case {
        const char* what;
        const wchar_t* element;  // SERVER_NAME as the file holds it
        const wchar_t* value;    // the record's text
        const wchar_t* result;   // SERVER_NAME after the update
    };
    const Case cases[] = {
        {"empty stays an empty-element tag", L"<SERVER_NAME/>", L"", L"<SERVER_NAME/>"},
        {"same text", L"<SERVER_NAME>a&amp;b</SERVER_NAME>", L"a&b", L"<SERVER_NAME>a&amp;b</SERVER_NAME>"},
        {"text becomes empty", L"<SERVER_NAME>abc</SERVER_NAME>", L"", L"<SERVER_NAME></SERVER_NAME>"},
        {"empty gets a text", L"<SERVER_NAME></SERVER_NAME>", L"x", L"<SERVER_NAME>x</SERVER_NAME>"},
        {"empty-element tag gets a text", L"<SERVER_NAME/>", L"<x>", L"<SERVER_NAME>&lt;x&gt;</SERVER_NAME>"},
        {"same value, other form", L"<SERVER_NAME>a&#38;b</SERVER_NAME>", L"a&b", L"<SERVER_NAME>a&amp;b</SERVER_NAME>"},
        {"same length, other text", L"<SERVER_NAME>abc</SERVER_NAME>", L"abd", L"<SERVER_NAME>abd</SERVER_NAME>"},
        {"one character longer", L"<SERVER_NAME>ab</SERVER_NAME>", L"abc", L"<SERVER_NAME>abc</SERVER_NAME>"},
        {"unended element is completed", L"<SERVER_NAME>", L"", L"<SERVER_NAME></SERVER_NAME>"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        auto cfg = DefaultRecord();
        wcscpy(cfg->profiles[0].SERVER_NAME, c.value);
        const std::wstring head = L"<root>\r\n<PROFILE_1>\r\n<REGION>0</REGION>\r\n";
        const std::wstring tail = L"\r\n<CHARACTER_NAME/>\r\n</PROFILE_1>\r\n</root>\r\n";
        CXmlDoc doc;
        doc.SetDocText((head + c.element + tail).c_str());
        UpdateConfigDoc(doc, *cfg);
        EXPECT_EQ(std::wstring(doc.GetDocText().GetString()), head + c.result + tail);
        EXPECT_EQ(std::wstring(doc.CheckTree().GetString()), L"");
    }
}

TEST(ConfigFile, InPlaceUpdateLeavesUnknownElementsAlone)
{
    ConfFolder conf;
    std::wstring text = NewFileText(*DefaultRecord());
    InsertAfter(text, L"<GAME_MODE>0</GAME_MODE>\r\n", L"<TRAY_ICON_FLAG>1</TRAY_ICON_FLAG>\r\n");
    InsertAfter(text, L"<DPI_VALUE>4</DPI_VALUE>\r\n", L"<ACCELERATION>3</ACCELERATION>\r\n");
    InsertAfter(text, L"</PROFILE_10>\r\n", L"<PROFILE_CHAGED>1</PROFILE_CHAGED>\r\n");
    ASSERT_TRUE(WriteUtf16File(conf.File(L"Config.xml"), text));

    auto cfg = Load(conf.File(L"Config.xml"));
    EXPECT_EQ(ValidateConfig(*cfg), 0);
    EXPECT_EQ(CompareConfig(*cfg, *DefaultRecord()), 0);
    cfg->GAME_MODE = 1;
    cfg->profiles[0].DOUBLE_CLICK_SPEED = 700;
    ASSERT_EQ(SaveConfig(*cfg), 0);

    std::wstring expected = text;
    ReplaceAfter(expected, L"<POLLING_RATE>", L"<GAME_MODE>0</GAME_MODE>", L"<GAME_MODE>1</GAME_MODE>");
    ReplaceAfter(expected, L"<ACCELERATION>3</ACCELERATION>\r\n", L"<DOUBLE_CLICK_SPEED>500<", L"<DOUBLE_CLICK_SPEED>700<");
    EXPECT_EQ(ReadUtf16File(conf.File(L"Config.xml")), expected);
}

TEST(ConfigFile, TopLevelKeysOnlyInTheirOrder)
{
    ConfFolder conf;
    std::wstring text = NewFileText(*DefaultRecord());
    ReplaceAfter(text, L"<root>\r\n", L"<PROFILE_ID>0</PROFILE_ID>\r\n<POLLING_RATE>2</POLLING_RATE>\r\n",
                 L"<POLLING_RATE>3</POLLING_RATE>\r\n<PROFILE_ID>5</PROFILE_ID>\r\n");
    ASSERT_TRUE(WriteUtf16File(conf.File(L"Config.xml"), text));

    auto cfg = Load(conf.File(L"Config.xml"));
    EXPECT_EQ(cfg->PROFILE_ID, 5);
    EXPECT_EQ(cfg->POLLING_RATE, -1);
    EXPECT_EQ(ValidateConfig(*cfg), 1);
    EXPECT_EQ(cfg->POLLING_RATE, 2);

    cfg->PROFILE_ID = 7;
    cfg->POLLING_RATE = 1;
    cfg->GAME_MODE = 1;
    ASSERT_EQ(SaveConfig(*cfg), 0);
    std::wstring after = ReadUtf16File(conf.File(L"Config.xml"));
    EXPECT_NE(after.find(L"<POLLING_RATE>3</POLLING_RATE>\r\n<PROFILE_ID>7</PROFILE_ID>\r\n<GAME_MODE>1</GAME_MODE>\r\n"),
              std::wstring::npos);
}

TEST(ConfigFile, ProfileElementsInAnyOrderLoadButUpdateOnlyForward)
{
    ConfFolder conf;
    auto cfg = DefaultRecord();
    wcscpy(cfg->profiles[1].SERVER_NAME, L"realm");
    wcscpy(cfg->profiles[1].CHARACTER_NAME, L"hero");
    std::wstring text = NewFileText(*cfg);
    ReplaceAfter(text, L"<PROFILE_2>", L"<SERVER_NAME>realm</SERVER_NAME>\r\n<CHARACTER_NAME>hero</CHARACTER_NAME>\r\n",
                 L"<CHARACTER_NAME>hero</CHARACTER_NAME>\r\n<SERVER_NAME>realm</SERVER_NAME>\r\n");
    // Buttons before the game names, the light values reversed.
    ReplaceAfter(text, L"<PROFILE_3>", L"<LED_COLOR>15615</LED_COLOR>\r\n<LED_INTENSITY>4</LED_INTENSITY>\r\n<LED_PULSATION>3</LED_PULSATION>\r\n",
                 L"<BUTTON_3>3,1007,</BUTTON_3>\r\n<LED_PULSATION>1</LED_PULSATION>\r\n<LED_INTENSITY>2</LED_INTENSITY>\r\n<LED_COLOR>255</LED_COLOR>\r\n");
    EraseAfter(text, L"<PROFILE_3>", L"<BUTTON_3>3,6,</BUTTON_3>\r\n");
    ASSERT_TRUE(WriteUtf16File(conf.File(L"Config.xml"), text));

    auto loaded = Load(conf.File(L"Config.xml"));
    EXPECT_EQ(std::wstring(loaded->profiles[1].SERVER_NAME), L"realm");
    EXPECT_EQ(std::wstring(loaded->profiles[1].CHARACTER_NAME), L"hero");
    EXPECT_EQ(loaded->profiles[2].LED_COLOR, 255u);
    EXPECT_EQ(loaded->profiles[2].LED_INTENSITY, 2);
    EXPECT_EQ(loaded->profiles[2].LED_PULSATION, 1);
    EXPECT_EQ(loaded->profiles[2].buttons[2].code, 1007);

    ValidateConfig(*loaded);
    wcscpy(loaded->profiles[1].SERVER_NAME, L"new realm");
    wcscpy(loaded->profiles[1].CHARACTER_NAME, L"new hero");
    wcscpy(loaded->profiles[1].CHARACTER_LEVEL, L"70");
    ASSERT_EQ(SaveConfig(*loaded), 0);
    auto again = Load(conf.File(L"Config.xml"));
    EXPECT_EQ(std::wstring(again->profiles[1].SERVER_NAME), L"new realm");
    EXPECT_EQ(std::wstring(again->profiles[1].CHARACTER_NAME), L"hero");  // stands before SERVER_NAME
    EXPECT_EQ(std::wstring(again->profiles[1].CHARACTER_LEVEL), L"70");
}

TEST(ConfigFile, MissingMacroIsSkippedAndTheRestStillUpdated)
{
    ConfFolder conf;
    auto cfg = DefaultRecord();
    wcscpy(cfg->profiles[3].macros[6].MACRO_NAME, L"seven");
    std::wstring text = NewFileText(*cfg);
    size_t from = text.find(L"<MACRO_7>", text.find(L"<PROFILE_4>"));
    size_t to = text.find(L"</MACRO_7>\r\n", from) + wcslen(L"</MACRO_7>\r\n");
    text.erase(from, to - from);
    ASSERT_TRUE(WriteUtf16File(conf.File(L"Config.xml"), text));

    auto loaded = LoadValidated(conf.File(L"Config.xml"));
    EXPECT_EQ(loaded->profiles[3].macros[6].MACRO_NAME[0], 0);
    EXPECT_EQ(loaded->profiles[3].macros[6].delayMode, 1);

    wcscpy(loaded->profiles[3].macros[6].MACRO_NAME, L"lost");
    wcscpy(loaded->profiles[3].macros[7].MACRO_NAME, L"eight");
    wcscpy(loaded->profiles[3].macros[49].MACRO_NAME, L"fifty");
    loaded->profiles[3].buttons[10].code = 1001;
    wcscpy(loaded->profiles[4].PROFILE_NAME, L"five");
    ASSERT_EQ(SaveConfig(*loaded), 0);
    std::wstring after = ReadUtf16File(conf.File(L"Config.xml"));
    EXPECT_EQ(after.find(L"lost"), std::wstring::npos);
    auto again = Load(conf.File(L"Config.xml"));
    EXPECT_EQ(std::wstring(again->profiles[3].macros[7].MACRO_NAME), L"eight");
    EXPECT_EQ(std::wstring(again->profiles[3].macros[49].MACRO_NAME), L"fifty");
    EXPECT_EQ(again->profiles[3].buttons[10].code, 1001);
    EXPECT_EQ(std::wstring(again->profiles[4].PROFILE_NAME), L"five");
}

TEST(ConfigFile, MissingMacroElementsAreAddedInTheWritersOrder)
{
    struct Case {
        const char* what;
        std::vector<std::wstring> removed;
    };
    const Case cases[] = {
        {"paste", {L"<MACRO_PASTE/>\r\n"}},
        {"delay mode", {L"<MACRO_DELAY_MODE>1</MACRO_DELAY_MODE>\r\n"}},
        {"all six addable ones",
         {L"<MACRO_DELAY_MODE>1</MACRO_DELAY_MODE>\r\n", L"<MACRO_PASTE/>\r\n", L"<MACRO_START_KEY>0</MACRO_START_KEY>\r\n",
          L"<MACRO_SEND_KEY>0</MACRO_SEND_KEY>\r\n", L"<MACRO_START_KEY_INFO/>\r\n", L"<MACRO_SEND_KEY_INFO/>\r\n"}},
        {"the two key lists", {L"<MACRO_START_KEY_INFO/>\r\n", L"<MACRO_SEND_KEY_INFO/>\r\n"}},
    };
    std::wstring full = NewFileText(*DefaultRecord());
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ConfFolder conf;
        std::wstring text = full;
        for (const std::wstring& r : c.removed) EraseAfter(text, L"<PROFILE_5>", r);
        ASSERT_TRUE(WriteUtf16File(conf.File(L"Config.xml"), text));
        auto cfg = LoadValidated(conf.File(L"Config.xml"));
        ASSERT_EQ(SaveConfig(*cfg), 0);
        EXPECT_EQ(ReadUtf16File(conf.File(L"Config.xml")), full);

        // With values: they land in the added elements and load back.
        MacroData& m = cfg->profiles[4].macros[0];
        m.delayMode = 4;
        wcscpy(m.pasteText, L"<typed>");
        m.startKeyFlag = 1;
        m.sendKeyFlag = 1;
        m.startKeys[0] = {13, 0, 1};
        m.sendKeys[0] = {13, 1, 2};
        ASSERT_EQ(SaveConfig(*cfg), 0);
        auto loaded = LoadValidated(conf.File(L"Config.xml"));
        EXPECT_EQ(CompareConfig(*cfg, *loaded), 0);
    }
}

namespace {

const std::vector<std::wstring> kMacroElements = {
    L"MACRO_NAME", L"MACRO_LOOP_COUNT", L"MACRO_DELAY_MODE", L"MACRO_PASTE", L"MACRO_START_KEY",
    L"MACRO_SEND_KEY", L"MACRO_INFO", L"MACRO_START_KEY_INFO", L"MACRO_SEND_KEY_INFO"};

// Rewrites the children of one macro of one profile in the given order; elements not
// named are left out.
void ReorderMacro(std::wstring& text, int profile, int macro, const std::vector<std::wstring>& order)
{
    std::wstring open = L"<MACRO_" + std::to_wstring(macro) + L">\r\n";
    std::wstring close = L"</MACRO_" + std::to_wstring(macro) + L">\r\n";
    size_t from = text.find(open, text.find(L"<PROFILE_" + std::to_wstring(profile) + L">")) + open.size();
    size_t to = text.find(close, from);
    ASSERT_NE(to, std::wstring::npos);
    std::vector<std::wstring> lines = Lines(text.substr(from, to - from));
    std::wstring block;
    for (const std::wstring& name : order)
        for (const std::wstring& line : lines)
            if (TagOf(line) == name) block += line + L"\r\n";
    text.replace(from, to - from, block);
}

void ExpectSameMacro(const MacroData& got, const MacroData& want)
{
    EXPECT_EQ(std::wstring(got.MACRO_NAME), std::wstring(want.MACRO_NAME)) << "name";
    for (int i = 0; i < MACRO_EVENT_COUNT; ++i) {
        EXPECT_EQ(got.events[i].vk, want.events[i].vk) << "event " << i << " key";
        EXPECT_EQ(got.events[i].up, want.events[i].up) << "event " << i << " up flag";
        EXPECT_EQ(got.events[i].delay, want.events[i].delay) << "event " << i << " delay";
    }
    EXPECT_EQ(got.loopCount, want.loopCount) << "loop count";
    EXPECT_EQ(got.loopFlag, want.loopFlag) << "loop flag";
    EXPECT_EQ(got.delayMode, want.delayMode) << "delay mode";
    for (int i = 0; i < MACRO_KEY_COUNT; ++i) {
        EXPECT_EQ(got.startKeys[i].vk, want.startKeys[i].vk) << "start key " << i;
        EXPECT_EQ(got.startKeys[i].up, want.startKeys[i].up) << "start key " << i << " up flag";
        EXPECT_EQ(got.startKeys[i].delay, want.startKeys[i].delay) << "start key " << i << " delay";
        EXPECT_EQ(got.sendKeys[i].vk, want.sendKeys[i].vk) << "send key " << i;
        EXPECT_EQ(got.sendKeys[i].up, want.sendKeys[i].up) << "send key " << i << " up flag";
        EXPECT_EQ(got.sendKeys[i].delay, want.sendKeys[i].delay) << "send key " << i << " delay";
    }
    EXPECT_EQ(got.startKeyFlag, want.startKeyFlag) << "start-key flag";
    EXPECT_EQ(got.sendKeyFlag, want.sendKeyFlag) << "send-key flag";
    EXPECT_EQ(std::wstring(got.pasteText), std::wstring(want.pasteText)) << "paste text";
}

// Every field of the macro changed.
void ChangeEveryField(MacroData& m)
{
    wcscpy(m.MACRO_NAME, L"Changed <&> name");
    for (MacroEvent& e : m.events) e = MacroEvent{0, 0, 0};
    m.events[0] = {87, 0, 25};
    m.events[1] = {164, 0, 5};
    m.events[2] = {87, 1, 31};
    m.events[3] = {164, 1, 0};
    m.loopCount = 17;
    m.loopFlag = m.loopFlag ? 0 : 1;
    m.delayMode = m.delayMode == 3 ? 2 : 3;
    m.startKeys[0] = {17, 0, 9};
    m.startKeys[1] = {70, 1, 8};
    m.startKeyFlag = m.startKeyFlag ? 0 : 1;
    m.sendKeys[0] = {13, 0, 7};
    m.sendKeys[1] = {13, 1, 6};
    m.sendKeyFlag = m.sendKeyFlag ? 0 : 1;
    wcscpy(m.pasteText, L"changed & <pasted>");
}

} // namespace

TEST(ConfigFile, EveryChangedMacroFieldSurvivesASaveInPlaceWhateverTheElementOrder)
{
    auto order = [](std::initializer_list<int> indexes) {
        std::vector<std::wstring> names;
        for (int i : indexes) names.push_back(kMacroElements[i]);
        return names;
    };
    struct Case {
        const char* layout;
        std::vector<std::wstring> order;
    };
    const Case cases[] = {
        {"the writer's order", kMacroElements},
        {"the older order, the later elements after MACRO_INFO", order({0, 1, 6, 2, 3, 4, 5, 7, 8})},
        {"only the three older elements", order({0, 1, 6})},
        {"MACRO_INFO first", order({6, 0, 1, 2, 3, 4, 5, 7, 8})},
        {"reversed", order({8, 7, 6, 5, 4, 3, 2, 1, 0})},
        {"shuffled", order({3, 7, 0, 5, 6, 1, 8, 2, 4})},
        {"shuffled, some of the later elements missing", order({5, 6, 1, 0, 8})},
        {"shuffled, the older ones last", order({4, 2, 8, 3, 7, 5, 6, 1, 0})},
    };
    const std::wstring base = NewFileText(*RichRecord());
    for (const Case& c : cases) {
        SCOPED_TRACE(c.layout);
        ConfFolder conf;
        std::wstring text = base;
        // A macro of the current profile and one of another, the last of its profile.
        ReorderMacro(text, 7, 6, c.order);
        ReorderMacro(text, 3, 50, c.order);
        ASSERT_TRUE(WriteUtf16File(conf.File(L"Config.xml"), text));

        auto cfg = LoadValidated(conf.File(L"Config.xml"));
        ChangeEveryField(cfg->profiles[6].macros[5]);
        ChangeEveryField(cfg->profiles[2].macros[49]);
        ASSERT_EQ(SaveConfig(*cfg), 0);

        auto loaded = LoadValidated(conf.File(L"Config.xml"));
        {
            SCOPED_TRACE("profile 7, macro 6");
            ExpectSameMacro(loaded->profiles[6].macros[5], cfg->profiles[6].macros[5]);
        }
        {
            SCOPED_TRACE("profile 3, macro 50");
            ExpectSameMacro(loaded->profiles[2].macros[49], cfg->profiles[2].macros[49]);
        }
        EXPECT_EQ(CompareConfig(*loaded, *cfg), 0);
        // Each element stands once in the macro, and a second save changes nothing.
        std::wstring saved = ReadUtf16File(conf.File(L"Config.xml"));
        for (const std::wstring& name : kMacroElements)
            EXPECT_EQ(CountOf(saved, L"<" + name + L">") + CountOf(saved, L"<" + name + L"/>"),
                      (size_t)(PROFILE_COUNT * MACRO_COUNT)) << std::string(name.begin(), name.end());
        ASSERT_EQ(SaveConfig(*loaded), 0);
        EXPECT_EQ(ReadUtf16File(conf.File(L"Config.xml")), saved);
    }
}

TEST(ConfigFile, MissingNameInfoAndButtonsAreNotAdded)
{
    ConfFolder conf;
    std::wstring text = NewFileText(*DefaultRecord());
    EraseAfter(text, L"<PROFILE_6>", L"<BUTTON_3>3,6,</BUTTON_3>\r\n");
    EraseAfter(text, L"<PROFILE_6>", L"<MACRO_INFO/>\r\n");
    EraseAfter(text, L"<PROFILE_7>", L"<MACRO_NAME/>\r\n");
    ASSERT_TRUE(WriteUtf16File(conf.File(L"Config.xml"), text));
    auto cfg = LoadValidated(conf.File(L"Config.xml"));
    cfg->profiles[5].buttons[2].code = 1010;
    cfg->profiles[5].buttons[3].code = 1011;
    cfg->profiles[5].macros[0].events[0] = {65, 0, 1};
    cfg->profiles[5].macros[0].delayMode = 3;
    wcscpy(cfg->profiles[6].macros[0].MACRO_NAME, L"gone");
    cfg->profiles[6].macros[0].loopCount = 5;
    ASSERT_EQ(SaveConfig(*cfg), 0);

    std::wstring expected = text;
    ReplaceAfter(expected, L"<PROFILE_6>", L"<MACRO_DELAY_MODE>1<", L"<MACRO_DELAY_MODE>3<");
    ReplaceAfter(expected, L"<PROFILE_6>", L"<BUTTON_4>4,9,", L"<BUTTON_4>4,1011,");
    ReplaceAfter(expected, L"<PROFILE_7>", L"<MACRO_LOOP_COUNT>0,0,", L"<MACRO_LOOP_COUNT>5,0,");
    EXPECT_EQ(ReadUtf16File(conf.File(L"Config.xml")), expected);
}

TEST(ConfigFile, LoaderEdgeCases)
{
    const std::wstring p1 = L"<PROFILE_1>";
    RunLoadCases({
        {"BUTTON_4 with number and code", [&](std::wstring& t) { ReplaceAfter(t, p1, L"<BUTTON_4>4,9,", L"<BUTTON_4>4,1003,"); },
         [](const ConfigData& c) { EXPECT_EQ(c.profiles[0].buttons[3].code, 1003); EXPECT_EQ(c.profiles[0].buttons[3].number, 4); }},
        {"BUTTON_4 without a comma", [&](std::wstring& t) { ReplaceAfter(t, p1, L"<BUTTON_4>4,9,", L"<BUTTON_4>17"); },
         [](const ConfigData& c) { EXPECT_EQ(c.profiles[0].buttons[3].code, 17); }},
        {"the button number is never read", [&](std::wstring& t) { ReplaceAfter(t, p1, L"<BUTTON_4>4,9,", L"<BUTTON_4>0,5,"); },
         [](const ConfigData& c) { EXPECT_EQ(c.profiles[0].buttons[3].code, 5); EXPECT_EQ(c.profiles[0].buttons[3].number, 4); }},
        {"MACRO_INFO with two events",
         [&](std::wstring& t) { ReplaceAfter(t, p1, L"<MACRO_INFO/>", L"<MACRO_INFO>65,0,100,65,1,50,</MACRO_INFO>"); },
         [](const ConfigData& c) {
             const MacroData& m = c.profiles[0].macros[0];
             EXPECT_EQ(m.events[0].vk, 65); EXPECT_EQ(m.events[0].up, 0); EXPECT_EQ(m.events[0].delay, 100);
             EXPECT_EQ(m.events[1].vk, 65); EXPECT_EQ(m.events[1].up, 1); EXPECT_EQ(m.events[1].delay, 50);
             for (int i = 2; i < MACRO_EVENT_COUNT; ++i) EXPECT_TRUE(m.events[i].vk == 0 && m.events[i].up == 0 && m.events[i].delay == 0);
         }},
        {"MACRO_INFO without the final comma",
         [&](std::wstring& t) { ReplaceAfter(t, p1, L"<MACRO_INFO/>", L"<MACRO_INFO>65,0,100</MACRO_INFO>"); },
         [](const ConfigData& c) {
             const MacroData& m = c.profiles[0].macros[0];
             EXPECT_EQ(m.events[0].vk, 65); EXPECT_EQ(m.events[0].up, 0); EXPECT_EQ(m.events[0].delay, 0);
             EXPECT_EQ(m.events[1].vk, 0);
         }},
        {"key and up flag keep their low 8 bits",
         [&](std::wstring& t) { ReplaceAfter(t, p1, L"<MACRO_INFO/>", L"<MACRO_INFO>321,257,-5,</MACRO_INFO>"); },
         [](const ConfigData& c) {
             const MacroEvent& e = c.profiles[0].macros[0].events[0];
             EXPECT_EQ(e.vk, 65); EXPECT_EQ(e.up, 1); EXPECT_EQ(e.delay, -5);
         }},
        {"more than 320 events stop at 320",
         [&](std::wstring& t) {
             std::wstring many;
             for (int i = 0; i < 400; ++i) many += L"66,0,7,";
             ReplaceAfter(t, p1, L"<MACRO_INFO/>", L"<MACRO_INFO>" + many + L"</MACRO_INFO>");
         },
         [](const ConfigData& c) { EXPECT_EQ(c.profiles[0].macros[0].events[319].vk, 66); EXPECT_EQ(c.profiles[0].macros[0].events[319].delay, 7); }},
        {"start and send keys",
         [&](std::wstring& t) {
             ReplaceAfter(t, p1, L"<MACRO_START_KEY_INFO/>", L"<MACRO_START_KEY_INFO>13,0,20,13,1,0,99,1,1,</MACRO_START_KEY_INFO>");
             ReplaceAfter(t, p1, L"<MACRO_SEND_KEY_INFO/>", L"<MACRO_SEND_KEY_INFO>9,0,1,</MACRO_SEND_KEY_INFO>");
         },
         [](const ConfigData& c) {
             const MacroData& m = c.profiles[0].macros[0];
             EXPECT_EQ(m.startKeys[0].vk, 13); EXPECT_EQ(m.startKeys[0].delay, 20);
             EXPECT_EQ(m.startKeys[1].vk, 13); EXPECT_EQ(m.startKeys[1].up, 1);
             EXPECT_EQ(m.sendKeys[0].vk, 9); EXPECT_EQ(m.sendKeys[0].delay, 1); EXPECT_EQ(m.sendKeys[1].vk, 0);
         }},
        {"loop count and flag", [&](std::wstring& t) { ReplaceAfter(t, p1, L"<MACRO_LOOP_COUNT>0,0,", L"<MACRO_LOOP_COUNT>3,1,"); },
         [](const ConfigData& c) { EXPECT_EQ(c.profiles[0].macros[0].loopCount, 3); EXPECT_EQ(c.profiles[0].macros[0].loopFlag, 1); }},
        {"loop count without a comma reads 0", [&](std::wstring& t) { ReplaceAfter(t, p1, L"<MACRO_LOOP_COUNT>0,0,", L"<MACRO_LOOP_COUNT>7"); },
         [](const ConfigData& c) { EXPECT_EQ(c.profiles[0].macros[0].loopCount, 0); }},
        {"numbers as the C library reads them",
         [&](std::wstring& t) {
             ReplaceAfter(t, p1, L"<REGION>0</REGION>", L"<REGION> -5x</REGION>");
             ReplaceAfter(t, p1, L"<DPI_VALUE>4</DPI_VALUE>", L"<DPI_VALUE>abc</DPI_VALUE>");
             ReplaceAfter(t, p1, L"<SCROLL_SPEED>10</SCROLL_SPEED>", L"<SCROLL_SPEED>+7</SCROLL_SPEED>");
             ReplaceAfter(t, p1, L"<SENSITIVITY>10</SENSITIVITY>", L"<SENSITIVITY/>");
         },
         [](const ConfigData& c) {
             EXPECT_EQ(c.profiles[0].REGION, -5); EXPECT_EQ(c.profiles[0].DPI_VALUE, 0);
             EXPECT_EQ(c.profiles[0].SCROLL_SPEED, 7); EXPECT_EQ(c.profiles[0].SENSITIVITY, 0);
         }},
        {"LED_COLOR as a signed decimal", [&](std::wstring& t) { ReplaceAfter(t, p1, L"<LED_COLOR>15615<", L"<LED_COLOR>-16777216<"); },
         [](const ConfigData& c) { EXPECT_EQ(c.profiles[0].LED_COLOR, 0xFF000000u); }},
        {"a missing LED_COLOR stays -1", [&](std::wstring& t) { EraseAfter(t, p1, L"<LED_COLOR>15615</LED_COLOR>\r\n"); },
         [](const ConfigData& c) { EXPECT_EQ(c.profiles[0].LED_COLOR, 0xFFFFFFFFu); EXPECT_EQ(c.profiles[1].LED_COLOR, 15615u); }},
        {"references are decoded",
         [&](std::wstring& t) { ReplaceAfter(t, p1, L"<SERVER_NAME/>", L"<SERVER_NAME>a&amp;b&lt;c&gt;&#65;</SERVER_NAME>"); },
         [](const ConfigData& c) { EXPECT_EQ(std::wstring(c.profiles[0].SERVER_NAME), L"a&b<c>A"); }},
        {"texts longer than their fields are cut",
         [&](std::wstring& t) {
             ReplaceAfter(t, p1, L"<SERVER_NAME/>", L"<SERVER_NAME>" + Repeat(L's', 400) + L"</SERVER_NAME>");
             ReplaceAfter(t, p1, L"<CHARACTER_CLASS/>", L"<CHARACTER_CLASS>" + Repeat(L'c', 100) + L"</CHARACTER_CLASS>");
             ReplaceAfter(t, p1, L"<PROFILE_NAME>Profile 1<", L"<PROFILE_NAME>" + Repeat(L'p', 256) + L"<");
             ReplaceAfter(t, p1, L"<GAME_NAME_10/>", L"<GAME_NAME_10>" + Repeat(L'g', 1000) + L"</GAME_NAME_10>");
             ReplaceAfter(t, p1, L"<MACRO_NAME/>", L"<MACRO_NAME>" + Repeat(L'm', 150) + L"</MACRO_NAME>");
             ReplaceAfter(t, p1, L"<MACRO_PASTE/>", L"<MACRO_PASTE>" + Repeat(L'x', 5000) + L"</MACRO_PASTE>");
         },
         [](const ConfigData& c) {
             const ProfileData& p = c.profiles[0];
             EXPECT_EQ(std::wstring(p.SERVER_NAME), Repeat(L's', 254));
             EXPECT_EQ(std::wstring(p.CHARACTER_CLASS), Repeat(L'c', 99));
             EXPECT_EQ(std::wstring(p.PROFILE_NAME), Repeat(L'p', 255));
             EXPECT_EQ(std::wstring(p.GAME_NAME[9]), Repeat(L'g', 254));
             EXPECT_EQ(std::wstring(p.macros[0].MACRO_NAME), Repeat(L'm', 99));
             EXPECT_EQ(std::wstring(p.macros[0].pasteText), Repeat(L'x', 259));
             // The next fields are untouched.
             EXPECT_EQ(p.CHARACTER_NAME[0], 0);
             EXPECT_EQ(p.CHARACTER_RACE[0], 0);
             EXPECT_EQ(p.DPI_VALUE, 4);
             EXPECT_EQ(p.macros[0].events[0].vk, 0);
             EXPECT_EQ(p.macros[0].loopCount, 0);
         }},
        {"a later duplicate profile overrides",
         [&](std::wstring& t) { InsertAfter(t, L"</PROFILE_2>\r\n", L"<PROFILE_2>\r\n<REGION>7</REGION>\r\n</PROFILE_2>\r\n"); },
         [](const ConfigData& c) { EXPECT_EQ(c.profiles[1].REGION, 7); EXPECT_EQ(c.profiles[1].DPI_VALUE, 4); EXPECT_EQ(c.profiles[2].DPI_VALUE, 4); }},
        {"a later duplicate macro overrides",
         [&](std::wstring& t) { InsertAfter(t, L"</MACRO_3>\r\n", L"<MACRO_3>\r\n<MACRO_NAME>dup</MACRO_NAME>\r\n</MACRO_3>\r\n"); },
         [](const ConfigData& c) {
             EXPECT_EQ(std::wstring(c.profiles[0].macros[2].MACRO_NAME), L"dup");
             EXPECT_EQ(c.profiles[0].macros[3].delayMode, 1);
         }},
        {"macros out of ascending order are missed",
         [&](std::wstring& t) {
             ReplaceAfter(t, p1, L"<MACRO_1>\r\n<MACRO_NAME/>", L"<MACRO_Y>\r\n<MACRO_NAME>one</MACRO_NAME>");
             ReplaceAfter(t, p1, L"</MACRO_1>", L"</MACRO_Y>");
             ReplaceAfter(t, p1, L"<MACRO_2>\r\n<MACRO_NAME/>", L"<MACRO_1>\r\n<MACRO_NAME>two</MACRO_NAME>");
             ReplaceAfter(t, p1, L"</MACRO_2>", L"</MACRO_1>");
             ReplaceAfter(t, p1, L"<MACRO_Y>", L"<MACRO_2>");
             ReplaceAfter(t, p1, L"</MACRO_Y>", L"</MACRO_2>");
         },
         [](const ConfigData& c) {
             EXPECT_EQ(std::wstring(c.profiles[0].macros[0].MACRO_NAME), L"two");
             EXPECT_EQ(c.profiles[0].macros[1].MACRO_NAME[0], 0);
         }},
    });
}

TEST(ConfigFile, MissingOrBrokenFileLeavesTheResetRecord)
{
    TempDir dir;
    auto reset = NewConfigData();
    ResetConfig(*reset);
    auto cfg = Load(dir.File(L"nothing.xml"));
    EXPECT_EQ(CompareConfig(*cfg, *reset), 0);

    std::wstring text = NewFileText(*RichRecord());
    const std::vector<std::wstring> broken = {
        text.substr(0, text.size() / 2),         // cut off: elements not ended
        text + L"<root/>\r\n",                    // a second root
        L"",                                      // empty
    };
    for (const std::wstring& b : broken) {
        ASSERT_TRUE(WriteUtf16File(dir.File(L"Config.xml"), b));
        cfg = Load(dir.File(L"Config.xml"));
        EXPECT_EQ(CompareConfig(*cfg, *reset), 0);
    }
}

// A "Config.xml" whose macros hold delay mode 0 (written after a reset by an earlier
// version) is repaired when it is loaded, and the next save writes the repaired modes.
TEST(ConfigFile, DelayModeZeroIsRepairedAtLoad)
{
    ConfFolder conf;
    auto cfg = DefaultRecord();
    for (MacroData& m : cfg->profiles[6].macros) m.delayMode = 0;
    cfg->profiles[6].macros[2].delayMode = 4;
    std::wstring text = NewFileText(*cfg);
    ASSERT_NE(text.find(L"<MACRO_DELAY_MODE>0</MACRO_DELAY_MODE>"), std::wstring::npos);
    ASSERT_TRUE(WriteUtf16File(conf.File(L"Config.xml"), text));

    auto loaded = LoadValidated(conf.File(L"Config.xml"));
    for (int k = 0; k < MACRO_COUNT; ++k) EXPECT_EQ(loaded->profiles[6].macros[k].delayMode, k == 2 ? 4 : 1) << k;
    for (MacroData& m : cfg->profiles[6].macros) m.delayMode = 1;
    cfg->profiles[6].macros[2].delayMode = 4;
    EXPECT_EQ(CompareConfig(*loaded, *cfg), 0);
    ASSERT_EQ(SaveConfig(*loaded), 0);
    EXPECT_EQ(ReadUtf16File(conf.File(L"Config.xml")).find(L"<MACRO_DELAY_MODE>0</MACRO_DELAY_MODE>"), std::wstring::npos);
}

TEST(ConfigFile, BrokenFileIsReplacedByANewOneOnSave)
{
    ConfFolder conf;
    std::wstring text = NewFileText(*RichRecord());
    ASSERT_TRUE(WriteUtf16File(conf.File(L"Config.xml"), text.substr(0, 5000)));
    auto cfg = DefaultRecord();
    ASSERT_EQ(SaveConfig(*cfg), 0);
    EXPECT_EQ(ReadUtf16File(conf.File(L"Config.xml")), NewFileText(*cfg));
}

TEST(ConfigFile, MouseValuesOfTheCurrentProfileGoToTheRegistry)
{
    ConfFolder conf;
    auto cfg = DefaultRecord();
    cfg->PROFILE_ID = 3;
    cfg->profiles[3].DOUBLE_CLICK_SPEED = 432;
    cfg->profiles[3].SENSITIVITY = 17;
    cfg->profiles[3].SCROLL_SPEED = 6;
    cfg->profiles[0].DOUBLE_CLICK_SPEED = 900;
    ASSERT_EQ(SaveConfig(*cfg), 0);
    DWORD type = 0, bytes = 0;
    EXPECT_EQ(RegValue(L"Control Panel\\Mouse", L"DoubleClickSpeed", &type, &bytes), L"432");
    EXPECT_EQ(type, (DWORD)REG_SZ);
    EXPECT_EQ(bytes, 4 * sizeof(wchar_t));
    EXPECT_EQ(RegValue(L"Control Panel\\Mouse", L"MouseSensitivity"), L"17");
    EXPECT_EQ(RegValue(L"Control Panel\\Desktop", L"WheelScrollLines"), L"6");

    cfg->PROFILE_ID = 0;
    ASSERT_EQ(SaveConfig(*cfg), 0);
    EXPECT_EQ(RegValue(L"Control Panel\\Mouse", L"DoubleClickSpeed"), L"900");
    EXPECT_EQ(RegValue(L"Control Panel\\Mouse", L"MouseSensitivity"), L"10");

    // A record that was not validated: an index outside the ten profiles takes the first.
    for (int id : {-1, 10, 1000000}) {
        cfg->PROFILE_ID = id;
        cfg->profiles[0].DOUBLE_CLICK_SPEED = 650 + id % 7;
        ASSERT_EQ(SaveConfig(*cfg), 0) << id;
        EXPECT_EQ(RegValue(L"Control Panel\\Mouse", L"DoubleClickSpeed"), std::to_wstring(650 + id % 7)) << id;
        EXPECT_EQ(Load(conf.File(L"Config.xml"))->PROFILE_ID, id);
    }
}

TEST(ConfigFile, RegistryFailureAnswersMinusOneButBothFilesAreWritten)
{
    ConfFolder conf;
    ASSERT_TRUE(WriteBytes(conf.File(L"TrayIcon.xml"), ReadBytes(SourceFile(L"resources\\TrayIcon.xml"))));
    ASSERT_EQ(SaveConfig(*DefaultRecord()), 0);
    HKEY key = nullptr;
    ASSERT_EQ(OpenUserRegKey(L"Control Panel\\Mouse", &key), ERROR_SUCCESS);
    SetRegString(key, L"DoubleClickSpeed", L"123");
    RegCloseKey(key);

    // HKEY_CURRENT_USER of this process becomes a deleted key: nothing opens or is created under it.
    const wchar_t* sub = L"Software\\TharnicTest\\Deleted";
    HKEY gone = nullptr;
    ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, sub, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &gone, nullptr), ERROR_SUCCESS);
    ASSERT_EQ(RegDeleteKeyW(HKEY_CURRENT_USER, sub), ERROR_SUCCESS);
    RegDeleteKeyW(HKEY_CURRENT_USER, L"Software\\TharnicTest");
    ASSERT_EQ(RegOverridePredefKey(HKEY_CURRENT_USER, gone), ERROR_SUCCESS);
    LONG open = OpenUserRegKey(L"Control Panel\\Mouse", &key);
    auto cfg = RichRecord();
    int result = SaveConfig(*cfg);
    RegOverridePredefKey(HKEY_CURRENT_USER, nullptr);
    RegCloseKey(gone);

    EXPECT_NE(open, ERROR_SUCCESS);
    EXPECT_EQ(result, -1);
    EXPECT_EQ(RegValue(L"Control Panel\\Mouse", L"DoubleClickSpeed"), L"123");
    auto loaded = LoadValidated(conf.File(L"Config.xml"));
    EXPECT_EQ(CompareConfig(*cfg, *loaded), 0);
    CXmlDoc tray;
    ASSERT_TRUE(tray.LoadFile(conf.File(L"TrayIcon.xml")));
    ASSERT_TRUE(tray.FindChildNode(L"TRAY_ICON"));
    tray.EnterNode();
    ASSERT_TRUE(tray.FindChildNode(L"PROFILE_1"));
    EXPECT_EQ(tray.GetChildText(), CString(cfg->profiles[0].PROFILE_NAME));
}

TEST(ConfigFile, OpenUserRegKeyCreatesAMissingKey)
{
    const wchar_t* sub = L"Software\\TharnicTest\\ConfigFile";
    RegDeleteKeyW(HKEY_CURRENT_USER, sub);
    HKEY key = nullptr;
    ASSERT_EQ(OpenUserRegKey(sub, &key), ERROR_SUCCESS);
    EXPECT_EQ(SetRegString(key, L"Value", L"12"), ERROR_SUCCESS);
    RegCloseKey(key);
    EXPECT_EQ(RegValue(sub, L"Value"), L"12");
    ASSERT_EQ(OpenUserRegKey(sub, &key), ERROR_SUCCESS);
    RegCloseKey(key);
    RegDeleteKeyW(HKEY_CURRENT_USER, sub);
    RegDeleteKeyW(HKEY_CURRENT_USER, L"Software\\TharnicTest");
}

namespace {

int FilesInFolder(const CString& folder)
{
    WIN32_FIND_DATAW fd;
    HANDLE find = FindFirstFileW(folder + L"*", &fd);
    int files = 0;
    if (find != INVALID_HANDLE_VALUE) {
        do files += !(fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY);
        while (FindNextFileW(find, &fd));
        FindClose(find);
    }
    return files;
}

} // namespace

TEST(ConfigFile, AReadOnlyOrHeldConfigXmlLosesNothingAndTheAnswerIsHonest)
{
    struct Case {
        std::string who;
        std::function<HANDLE(const wchar_t*)> block;  // a handle to close afterwards, or none
        bool saves;
    };
    std::vector<Case> cases = {{"read-only", [](const wchar_t* path) {
                                    SetFileAttributesW(path, FILE_ATTRIBUTE_READONLY);
                                    return INVALID_HANDLE_VALUE;
                                },
                                false}};
    for (const FileHolder& holder : FileHolders()) {
        cases.push_back({holder.who, [&holder](const wchar_t* path) {
                             HANDLE h = HoldFile(path, holder);
                             EXPECT_NE(h, INVALID_HANDLE_VALUE);
                             return h;
                         },
                         holder.saves});
    }
    for (const Case& c : cases) {
        SCOPED_TRACE(c.who);
        ConfFolder conf;
        CString path = conf.File(L"Config.xml");
        auto cfg = RichRecord();
        ASSERT_EQ(SaveConfig(*cfg), 0);
        std::vector<unsigned char> old = ReadBytes(path);

        cfg->profiles[cfg->PROFILE_ID].DOUBLE_CLICK_SPEED = 333;
        wcscpy(cfg->profiles[0].PROFILE_NAME, L"changed");
        cfg->profiles[9].macros[49].events[0] = {90, 0, 12};
        HANDLE h = c.block(path);
        int result = SaveConfig(*cfg);
        if (h != INVALID_HANDLE_VALUE) CloseHandle(h);
        SetFileAttributesW(path, FILE_ATTRIBUTE_NORMAL);
        EXPECT_EQ(result, c.saves ? 0 : -1);
        if (c.saves)
            EXPECT_EQ(CompareConfig(*LoadValidated(path), *cfg), 0);
        else
            EXPECT_EQ(ReadBytes(path), old);
        // The registry copy is written all the same.
        EXPECT_EQ(RegValue(L"Control Panel\\Mouse", L"DoubleClickSpeed"), L"333");
        EXPECT_EQ(FilesInFolder(conf.Path()), 1) << "a temporary file was left";
    }
}

// The answer tells which parts could not be written, so a caller knows whether
// "Config.xml" holds the record.
TEST(ConfigFile, SaveTellsWhichPartsWereNotWritten)
{
    struct Case {
        const char* what;
        bool registry, config, tray;  // blocked
        unsigned failed;
    };
    const Case cases[] = {
        {"everything written", false, false, false, 0},
        {"registry", true, false, false, CONFIG_SAVE_REGISTRY},
        {"Config.xml", false, true, false, CONFIG_SAVE_FILE},
        {"TrayIcon.xml", false, false, true, CONFIG_SAVE_TRAY},
        {"registry and TrayIcon.xml", true, false, true, CONFIG_SAVE_REGISTRY | CONFIG_SAVE_TRAY},
        {"all three", true, true, true, CONFIG_SAVE_REGISTRY | CONFIG_SAVE_FILE | CONFIG_SAVE_TRAY},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ConfFolder conf;
        CString tray = conf.File(L"TrayIcon.xml");
        ASSERT_TRUE(WriteBytes(tray, ReadBytes(SourceFile(L"resources\\TrayIcon.xml"))));
        ASSERT_EQ(SaveConfig(*DefaultRecord()), 0);
        if (c.config) SetFileAttributesW(conf.File(L"Config.xml"), FILE_ATTRIBUTE_READONLY);
        if (c.tray) SetFileAttributesW(tray, FILE_ATTRIBUTE_READONLY);
        auto cfg = RichRecord();
        unsigned failed = 99;
        int result;
        {
            std::unique_ptr<UserRegistryGone> gone(c.registry ? new UserRegistryGone : nullptr);
            if (gone) {
                ASSERT_TRUE(gone->ok);
            }
            result = SaveConfig(*cfg, &failed);
        }
        SetFileAttributesW(conf.File(L"Config.xml"), FILE_ATTRIBUTE_NORMAL);
        SetFileAttributesW(tray, FILE_ATTRIBUTE_NORMAL);
        EXPECT_EQ(failed, c.failed);
        EXPECT_EQ(result, c.failed ? -1 : 0);
        EXPECT_EQ(CompareConfig(*LoadValidated(conf.File(L"Config.xml")), *cfg) == 0, !c.config);
    }
}

TEST(ConfigFile, MissingFolderAnswersMinusOne)
{
    ConfFolder conf;
    CString missing = conf.Path() + L"gone\\";
    wcscpy(g_szConfDir, missing);
    auto cfg = DefaultRecord();
    cfg->profiles[0].SCROLL_SPEED = 3;
    EXPECT_EQ(SaveConfig(*cfg), -1);
    EXPECT_EQ(GetFileAttributesW(missing + L"Config.xml"), INVALID_FILE_ATTRIBUTES);
    EXPECT_EQ(RegValue(L"Control Panel\\Desktop", L"WheelScrollLines"), L"3");
}

TEST(ConfigFile, ProfileNamesGoIntoTrayIconXml)
{
    ConfFolder conf;
    CString tray = conf.File(L"TrayIcon.xml");
    std::vector<unsigned char> shipped = ReadBytes(SourceFile(L"resources\\TrayIcon.xml"));
    ASSERT_FALSE(shipped.empty());
    ASSERT_TRUE(WriteBytes(tray, shipped));
    std::wstring before = ReadUtf16File(tray);

    auto cfg = DefaultRecord();
    wcscpy(cfg->profiles[0].PROFILE_NAME, L"Alpha & <1>");
    wcscpy(cfg->profiles[9].PROFILE_NAME, L"Omega");
    ASSERT_EQ(SaveConfig(*cfg), 0);

    std::wstring expected = before;
    ReplaceAfter(expected, L"", L"<PROFILE_1>Profile 1</PROFILE_1>", L"<PROFILE_1>Alpha &amp; &lt;1&gt;</PROFILE_1>");
    ReplaceAfter(expected, L"", L"<PROFILE_10>Profile 10</PROFILE_10>", L"<PROFILE_10>Omega</PROFILE_10>");
    EXPECT_EQ(ReadUtf16File(tray), expected);
    EXPECT_EQ(ReadBytes(tray)[0], 0xFF);

    CXmlDoc doc;
    ASSERT_TRUE(doc.LoadFile(tray));
    doc.FindElement(nullptr);
    doc.EnterNode();
    ASSERT_TRUE(doc.FindChildNode(L"PROFILE_1"));
    EXPECT_EQ(doc.GetChildText(), L"Alpha & <1>");
}

TEST(ConfigFile, TrayIconXmlOnlyTheRootsFirstChild)
{
    ConfFolder conf;
    CString tray = conf.File(L"TrayIcon.xml");
    const std::wstring text =
        L"<?xml version=\"1.0\" encoding=\"utf-16\"?>\r\n<root>\r\n<TRAY_ICON>\r\n<OPEN>Open</OPEN>\r\n"
        L"<PROFILE_2>old</PROFILE_2>\r\n<PROFILE_1>old</PROFILE_1>\r\n</TRAY_ICON>\r\n<PROFILE_3>x</PROFILE_3>\r\n"
        L"<TRAY_ICON>\r\n<PROFILE_4>x</PROFILE_4>\r\n</TRAY_ICON>\r\n</root>\r\n";
    ASSERT_TRUE(WriteUtf16File(tray, text));
    auto cfg = DefaultRecord();
    ASSERT_EQ(SaveConfig(*cfg), 0);
    std::wstring expected = text;
    // Searched forward without rewind: PROFILE_2 stands before PROFILE_1 and is missed.
    ReplaceAfter(expected, L"", L"<PROFILE_1>old<", L"<PROFILE_1>Profile 1<");
    EXPECT_EQ(ReadUtf16File(tray), expected);
}

TEST(ConfigFile, TrayIconXmlThatDoesNotLoadIsLeftAlone)
{
    {
        ConfFolder conf;
        ASSERT_EQ(SaveConfig(*DefaultRecord()), 0);
        EXPECT_EQ(GetFileAttributesW(conf.File(L"TrayIcon.xml")), INVALID_FILE_ATTRIBUTES);
    }
    {
        ConfFolder conf;
        std::vector<unsigned char> broken = {0xFF, 0xFE, '<', 0, 'r', 0, '>', 0};
        ASSERT_TRUE(WriteBytes(conf.File(L"TrayIcon.xml"), broken));
        ASSERT_EQ(SaveConfig(*DefaultRecord()), 0);
        EXPECT_EQ(ReadBytes(conf.File(L"TrayIcon.xml")), broken);
    }
}

TEST(ConfigFile, UnwritableTrayIconXmlAnswersMinusOneAfterWritingConfig)
{
    ConfFolder conf;
    CString tray = conf.File(L"TrayIcon.xml");
    ASSERT_TRUE(WriteBytes(tray, ReadBytes(SourceFile(L"resources\\TrayIcon.xml"))));
    std::vector<unsigned char> old = ReadBytes(tray);
    SetFileAttributesW(tray, FILE_ATTRIBUTE_READONLY);
    auto cfg = DefaultRecord();
    wcscpy(cfg->profiles[0].PROFILE_NAME, L"renamed");
    EXPECT_EQ(SaveConfig(*cfg), -1);
    SetFileAttributesW(tray, FILE_ATTRIBUTE_NORMAL);
    EXPECT_EQ(ReadBytes(tray), old);
    auto loaded = LoadValidated(conf.File(L"Config.xml"));
    EXPECT_EQ(std::wstring(loaded->profiles[0].PROFILE_NAME), L"renamed");
}

TEST(ConfigFile, ShippedConfigXmlIsTheWritersDefaultFile)
{
    std::vector<unsigned char> shipped = ReadBytes(SourceFile(L"resources\\Config.xml"));
    ASSERT_FALSE(shipped.empty());
    // The writer's new file with the tray icon shown, as the flag setter makes it.
    TempDir dir;
    ASSERT_TRUE(WriteNewConfigFile(*DefaultRecord(), dir.File(L"Config.xml")));
    ASSERT_TRUE(SetTrayIconFlag(dir.Path(), 1));
    EXPECT_TRUE(ReadBytes(dir.File(L"Config.xml")) == shipped) << "resources/Config.xml is not what make_default_config makes";
    EXPECT_EQ(GetTrayIconFlag(SourceFile(L"resources\\")), 1);

    auto loaded = Load(SourceFile(L"resources\\Config.xml"));
    EXPECT_EQ(ValidateConfig(*loaded), 0);
    EXPECT_EQ(CompareConfig(*loaded, *DefaultRecord()), 0);
}

TEST(ConfigFile, ShippedTrayIconXmlHoldsEveryMenuText)
{
    CString path = SourceFile(L"resources\\TrayIcon.xml");
    std::vector<unsigned char> bytes = ReadBytes(path);
    ASSERT_GE(bytes.size(), 2u);
    EXPECT_EQ(bytes[0], 0xFF);
    EXPECT_EQ(bytes[1], 0xFE);
    CXmlDoc doc;
    ASSERT_TRUE(doc.LoadFile(path));
    ASSERT_TRUE(doc.FindChildNode(L"TRAY_ICON"));
    doc.EnterNode();
    std::vector<std::wstring> names = {L"OPEN", L"PROFILE", L"HELP", L"HIDE"};
    for (int n = 1; n <= PROFILE_COUNT; ++n) names.push_back(L"PROFILE_" + std::to_wstring(n));
    for (const std::wstring& name : names) {
        SCOPED_TRACE(std::string(name.begin(), name.end()));
        ASSERT_TRUE(doc.FindChildNode(name.c_str()));
        EXPECT_FALSE(doc.GetChildText().IsEmpty());
        doc.RewindChildren();
    }
    doc.RewindChildren();
    ASSERT_TRUE(doc.FindChildNode(L"PROFILE_3"));
    EXPECT_EQ(doc.GetChildText(), L"Profile 3");
}
