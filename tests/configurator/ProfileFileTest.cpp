#include "configurator/main_window/ProfileFile.h"
#include "core/ConfigTestSupport.h"
#include <gtest/gtest.h>
#include <random>
#include <string>
#include <vector>

namespace {

template <int N> void Put(wchar_t (&field)[N], const std::wstring& text)
{
    CopyField(field, text.c_str());
}

// Every field used: longest texts, markup and characters beyond ASCII, fifty macros with
// up to 320 events, loop flags on and off.
std::unique_ptr<ProfileData> FullProfile()
{
    std::unique_ptr<ProfileData> p(new ProfileData());
    p->REGION = 3;
    Put(p->SERVER_NAME, Repeat(L'r', 254));
    Put(p->CHARACTER_NAME, L"\u00C6var <&> \U0001D11E");
    Put(p->CHARACTER_CLASS, L"Dread Knight");
    Put(p->CHARACTER_RACE, L"5");
    Put(p->CHARACTER_LEVEL, L"80");
    Put(p->PROFILE_NAME, L"Raid & <Boss> " + Repeat(L'P', 241));
    p->DPI_VALUE = 2;
    p->DOUBLE_CLICK_SPEED = 950;
    p->SCROLL_SPEED = 18;
    p->SENSITIVITY = 1;
    p->ADVANCE_SENSITIVITY_X = 17;
    p->ADVANCE_SENSITIVITY_Y = 2;
    p->LED_COLOR = 0xFFFFFF;
    p->LED_INTENSITY = 1;
    p->LED_PULSATION = 4;
    for (int g = 0; g < GAME_NAME_COUNT; ++g)
        Put(p->GAME_NAME[g], g == 9 ? Repeat(L'g', 250) + L".exe" : L"game_" + std::to_wstring(g) + L".exe");
    for (int i = 0; i < BUTTON_COUNT; ++i) {
        p->buttons[i].number = (uint8_t)(i + 1);
        p->buttons[i].code = i < 2 ? i + 1 : (i == 10 ? 1200 : 1000 + i * 4);
    }
    for (int k = 0; k < MACRO_COUNT; ++k) {
        MacroData& m = p->macros[k];
        Put(m.MACRO_NAME, L"Macro <" + std::to_wstring(k + 1) + L"> & co");
        int count = k == 0 ? MACRO_EVENT_COUNT : (k * 37) % (MACRO_EVENT_COUNT + 1);
        for (int j = 0; j < count; ++j)
            m.events[j] = {(uint8_t)(1 + (j * 7) % 255), (uint8_t)(j % 2), j == 5 ? INT32_MAX : k * 1000 + j};
        m.loopCount = (k * 20) % 1000;
        m.loopFlag = k % 2;
        m.delayMode = 1 + k % 4;
        m.startKeys[0] = {160, 0, 5};
        if (k % 2) m.startKeys[1] = {160, 1, 0};
        m.startKeyFlag = k % 3 == 0;
        m.sendKeys[0] = {13, 0, 20 + k};
        m.sendKeys[1] = {13, 1, 0};
        m.sendKeyFlag = k % 4 == 1;
        Put(m.pasteText, k == 1 ? Repeat(L'v', 259) : L"paste <&> " + std::to_wstring(k));
    }
    return p;
}

// The whole element name (with its line end) that first follows anchor.
struct Span {
    size_t start, end;
};

Span ElementAfter(const std::wstring& text, const std::wstring& anchor, const std::wstring& name)
{
    size_t from = anchor.empty() ? 0 : text.find(anchor);
    EXPECT_NE(from, std::wstring::npos) << "no anchor";
    size_t open = text.find(L"<" + name + L">", from);
    size_t empty = text.find(L"<" + name + L"/>", from);
    if (empty < open) return {empty, empty + name.size() + 5};
    EXPECT_NE(open, std::wstring::npos) << "no element";
    std::wstring close = L"</" + name + L">\r\n";
    return {open, text.find(close, open) + close.size()};
}

void SetElement(std::wstring& text, const std::wstring& anchor, const std::wstring& name, const std::wstring& content)
{
    Span s = ElementAfter(text, anchor, name);
    text.replace(s.start, s.end - s.start, L"<" + name + L">" + content + L"</" + name + L">\r\n");
}

void EraseElement(std::wstring& text, const std::wstring& anchor, const std::wstring& name)
{
    Span s = ElementAfter(text, anchor, name);
    text.erase(s.start, s.end - s.start);
}

std::wstring Macro(int k)
{
    return L"<MACRO_" + std::to_wstring(k) + L">";
}

std::vector<unsigned char> Utf8Bytes(const std::wstring& text, bool mark)
{
    int n = WideCharToMultiByte(CP_UTF8, 0, text.data(), (int)text.size(), nullptr, 0, nullptr, nullptr);
    std::vector<unsigned char> out(mark ? 3 : 0, 0);
    if (mark) out = {0xEF, 0xBB, 0xBF};
    size_t at = out.size();
    out.resize(at + n);
    WideCharToMultiByte(CP_UTF8, 0, text.data(), (int)text.size(), (char*)out.data() + at, n, nullptr, nullptr);
    return out;
}

class ProfileFileTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_full = FullProfile();
        auto source = DefaultRecord();
        source->profiles[7] = *m_full;
        ASSERT_TRUE(ExportProfileFile(m_dir.File(L"good.xml"), *source, 7));
        m_good = ReadUtf16File(m_dir.File(L"good.xml"));
    }

    // The working record an import goes into: profile 4 current, its own content.
    std::unique_ptr<ConfigData> Target()
    {
        auto cfg = DefaultRecord();
        cfg->PROFILE_ID = 4;
        Put(cfg->profiles[4].PROFILE_NAME, L"Mine");
        cfg->profiles[4].DPI_VALUE = 1;
        cfg->profiles[4].macros[0].loopFlag = 1;
        return cfg;
    }

    TempDir m_dir;
    std::unique_ptr<ProfileData> m_full;
    std::wstring m_good;  // the full profile's file text, exported from index 7
};

TEST_F(ProfileFileTest, ExportThenImportGivesTheSameProfileFieldForField)
{
    std::vector<unsigned char> bytes = ReadBytes(m_dir.File(L"good.xml"));
    ASSERT_GE(bytes.size(), 2u);
    EXPECT_EQ(bytes[0], 0xFF);
    EXPECT_EQ(bytes[1], 0xFE);
    EXPECT_EQ(m_good.rfind(L"<?xml version=\"1.0\" encoding=\"UTF-16\"?>\r\n<root>\r\n<PROFILE_ID>7</PROFILE_ID>\r\n"
                           L"<REGION>3</REGION>\r\n", 0), 0u);
    EXPECT_NE(m_good.find(L"<MACRO_LOOP_COUNT>20,1,</MACRO_LOOP_COUNT>"), std::wstring::npos);

    auto target = Target();
    auto expected = Target();
    expected->profiles[4] = *m_full;
    ProfileFileProblem problem;
    ASSERT_TRUE(ImportProfileFile(m_dir.File(L"good.xml"), *target, problem)) << problem.Describe().GetString();
    EXPECT_EQ(CompareConfig(*target, *expected), 0);
    EXPECT_EQ(target->profiles[4].macros[1].loopFlag, 1);
    EXPECT_EQ(target->profiles[4].macros[0].events[5].delay, INT32_MAX);
    EXPECT_EQ(target->profiles[4].buttons[10].number, 11);

    // The imported profile exports to the same file as the original did.
    ASSERT_TRUE(ExportProfileFile(m_dir.File(L"again.xml"), *target, 4));
    std::wstring again = ReadUtf16File(m_dir.File(L"again.xml"));
    SetElement(again, L"", L"PROFILE_ID", L"7");
    EXPECT_TRUE(again == m_good);
}

TEST_F(ProfileFileTest, ExportReplacesWhateverWasAtThePathWhole)
{
    const CString foreign[] = {SourceFile(L"resources\\Config.xml"), m_dir.File(L"good.xml")};
    for (const CString& original : foreign) {
        CString path = m_dir.File(L"target.xml");
        ASSERT_TRUE(WriteBytes(path, ReadBytes(original)));
        auto cfg = DefaultRecord();
        cfg->profiles[2] = *m_full;
        cfg->profiles[2].REGION = 1;
        ASSERT_TRUE(ExportProfileFile(path, *cfg, 2));
        ASSERT_TRUE(ExportProfileFile(m_dir.File(L"fresh.xml"), *cfg, 2));
        EXPECT_TRUE(ReadBytes(path) == ReadBytes(m_dir.File(L"fresh.xml"))) << original.GetString();
    }
    // Nothing but the files themselves: no temporary file stays beside them.
    WIN32_FIND_DATAW fd;
    HANDLE h = FindFirstFileW(m_dir.File(L"*.tmp"), &fd);
    EXPECT_EQ(h, INVALID_HANDLE_VALUE);
    if (h != INVALID_HANDLE_VALUE) FindClose(h);
}

TEST_F(ProfileFileTest, AFailedExportLeavesThingsAsTheyWere)
{
    auto cfg = DefaultRecord();
    CString locked = m_dir.File(L"locked.xml");
    ASSERT_TRUE(WriteBytes(locked, "keep", 4));
    SetFileAttributesW(locked, FILE_ATTRIBUTE_READONLY);
    EXPECT_FALSE(ExportProfileFile(locked, *cfg, 0));
    std::vector<unsigned char> kept = ReadBytes(locked);
    EXPECT_EQ(std::string(kept.begin(), kept.end()), "keep");
    SetFileAttributesW(locked, FILE_ATTRIBUTE_NORMAL);

    EXPECT_FALSE(ExportProfileFile(m_dir.File(L"ten.xml"), *cfg, 10));
    EXPECT_FALSE(ExportProfileFile(m_dir.File(L"minus.xml"), *cfg, -1));
    EXPECT_FALSE(ExportProfileFile(m_dir.File(L"no such folder\\p.xml"), *cfg, 0));
    EXPECT_EQ(GetFileAttributesW(m_dir.File(L"ten.xml")), INVALID_FILE_ATTRIBUTES);
    EXPECT_EQ(GetFileAttributesW(m_dir.File(L"minus.xml")), INVALID_FILE_ATTRIBUTES);
}

TEST_F(ProfileFileTest, DamagedAndForeignFilesAreRefusedWithoutTouchingTheProfile)
{
    std::wstring configXml = ReadUtf16File(SourceFile(L"resources\\Config.xml"));
    std::mt19937 random(18);
    std::vector<unsigned char> garbage(6000);
    for (unsigned char& b : garbage) b = (unsigned char)random();
    std::vector<unsigned char> goodBytes = Utf16Bytes(m_good, false, true);

    auto edited = [&](void (*edit)(std::wstring&)) {
        std::wstring text = m_good;
        edit(text);
        return Utf16Bytes(text, false, true);
    };
    struct Case {
        const char* what;
        std::vector<unsigned char> bytes;
        ProfileFileError error;
        const wchar_t* key;
    };
    std::vector<Case> cases = {
        {"empty file", {}, ProfileFileError::NotXml, L""},
        {"cut in half", std::vector<unsigned char>(goodBytes.begin(), goodBytes.begin() + goodBytes.size() / 2),
         ProfileFileError::NotXml, L""},
        {"cut at an odd byte", std::vector<unsigned char>(goodBytes.begin(), goodBytes.begin() + goodBytes.size() * 3 / 4 + 1),
         ProfileFileError::NotXml, L""},
        {"binary garbage", garbage, ProfileFileError::NotXml, L""},
        {"garbage after a UTF-16 mark", [&] { auto b = garbage; b[0] = 0xFF; b[1] = 0xFE; return b; }(),
         ProfileFileError::NotXml, L""},
        {"another root", edited([](std::wstring& t) {
             t.replace(t.find(L"<root>"), 6, L"<profile>");
             t.replace(t.find(L"</root>"), 7, L"</profile>");
         }), ProfileFileError::NotProfile, L""},
        {"another root, UTF-16BE", [&] {
             std::wstring t = m_good;
             t.replace(t.find(L"<root>"), 6, L"<Root>");
             t.replace(t.find(L"</root>"), 7, L"</Root>");
             return Utf16Bytes(t, true, true);
         }(), ProfileFileError::NotProfile, L""},
        {"a web page, UTF-8", Utf8Bytes(L"<?xml version=\"1.0\"?>\r\n<html><body><p>x</p></body></html>", false),
         ProfileFileError::NotProfile, L""},
        {"Config.xml", ReadBytes(SourceFile(L"resources\\Config.xml")), ProfileFileError::WholeConfiguration, L""},
        {"Config.xml, UTF-8", Utf8Bytes(configXml, true), ProfileFileError::WholeConfiguration, L""},
        {"a key missing", edited([](std::wstring& t) { EraseElement(t, L"", L"DPI_VALUE"); }),
         ProfileFileError::MissingKey, L"DPI_VALUE"},
        {"a macro missing", edited([](std::wstring& t) {
             size_t a = t.find(Macro(7)), b = t.find(Macro(8));
             t.erase(a, b - a);
         }), ProfileFileError::MissingKey, L"MACRO_7"},
        {"a macro's events missing", edited([](std::wstring& t) { EraseElement(t, Macro(3), L"MACRO_INFO"); }),
         ProfileFileError::MissingKey, L"MACRO_3/MACRO_INFO"},
        {"a key twice", edited([](std::wstring& t) { t.insert(t.find(L"<REGION>"), L"<PROFILE_NAME>x</PROFILE_NAME>\r\n"); }),
         ProfileFileError::RepeatedKey, L"PROFILE_NAME"},
        {"macros out of order", edited([](std::wstring& t) {
             size_t a = t.find(Macro(3)), b = t.find(Macro(4)), c = t.find(Macro(5));
             std::wstring third = t.substr(a, b - a), fourth = t.substr(b, c - b);
             t.replace(a, c - a, fourth + third);
         }), ProfileFileError::MacroOrder, L"MACRO_3"},
        {"a huge name", edited([](std::wstring& t) { SetElement(t, L"", L"PROFILE_NAME", Repeat(L'n', 100000)); }),
         ProfileFileError::TextTooLong, L"PROFILE_NAME"},
        {"a realm one too long", edited([](std::wstring& t) { SetElement(t, L"", L"SERVER_NAME", Repeat(L'r', 255)); }),
         ProfileFileError::TextTooLong, L"SERVER_NAME"},
        {"a paste one too long", edited([](std::wstring& t) { SetElement(t, Macro(2), L"MACRO_PASTE", Repeat(L'p', 260)); }),
         ProfileFileError::TextTooLong, L"MACRO_2/MACRO_PASTE"},
        {"a huge file", edited([](std::wstring& t) { t.insert(t.find(L"</root>"), L"<!--" + Repeat(L'x', 2200000) + L"-->"); }),
         ProfileFileError::TooLarge, L""},
        {"DPI stage 9", edited([](std::wstring& t) { SetElement(t, L"", L"DPI_VALUE", L"9"); }),
         ProfileFileError::OutOfRange, L"DPI_VALUE"},
        {"double-click 5000", edited([](std::wstring& t) { SetElement(t, L"", L"DOUBLE_CLICK_SPEED", L"5000"); }),
         ProfileFileError::OutOfRange, L"DOUBLE_CLICK_SPEED"},
        {"colour past white", edited([](std::wstring& t) { SetElement(t, L"", L"LED_COLOR", L"16777216"); }),
         ProfileFileError::OutOfRange, L"LED_COLOR"},
        {"colour -1", edited([](std::wstring& t) { SetElement(t, L"", L"LED_COLOR", L"-1"); }),
         ProfileFileError::OutOfRange, L"LED_COLOR"},
        {"profile index 10", edited([](std::wstring& t) { SetElement(t, L"", L"PROFILE_ID", L"10"); }),
         ProfileFileError::OutOfRange, L"PROFILE_ID"},
        {"function code 1201", edited([](std::wstring& t) { SetElement(t, L"", L"BUTTON_5", L"5,1201,"); }),
         ProfileFileError::OutOfRange, L"BUTTON_5"},
        {"function code 0 on button 1", edited([](std::wstring& t) { SetElement(t, L"", L"BUTTON_1", L"1,0,"); }),
         ProfileFileError::OutOfRange, L"BUTTON_1"},
        {"delay mode 5", edited([](std::wstring& t) { SetElement(t, Macro(2), L"MACRO_DELAY_MODE", L"5"); }),
         ProfileFileError::OutOfRange, L"MACRO_2/MACRO_DELAY_MODE"},
        {"loop count 1000", edited([](std::wstring& t) { SetElement(t, Macro(2), L"MACRO_LOOP_COUNT", L"1000,1,"); }),
         ProfileFileError::OutOfRange, L"MACRO_2/MACRO_LOOP_COUNT"},
        {"loop flag 2", edited([](std::wstring& t) { SetElement(t, Macro(2), L"MACRO_LOOP_COUNT", L"3,2,"); }),
         ProfileFileError::OutOfRange, L"MACRO_2/MACRO_LOOP_COUNT"},
        {"key 256", edited([](std::wstring& t) { SetElement(t, Macro(2), L"MACRO_INFO", L"256,0,10,"); }),
         ProfileFileError::OutOfRange, L"MACRO_2/MACRO_INFO"},
        {"up flag 2", edited([](std::wstring& t) { SetElement(t, Macro(2), L"MACRO_START_KEY_INFO", L"65,2,10,"); }),
         ProfileFileError::OutOfRange, L"MACRO_2/MACRO_START_KEY_INFO"},
        {"a negative delay", edited([](std::wstring& t) { SetElement(t, Macro(2), L"MACRO_INFO", L"65,0,-5,"); }),
         ProfileFileError::OutOfRange, L"MACRO_2/MACRO_INFO"},
        {"321 events", edited([](std::wstring& t) { t.insert(t.find(L"</MACRO_INFO>"), L"1,0,0,"); }),
         ProfileFileError::OutOfRange, L"MACRO_1/MACRO_INFO"},
        {"three send keys", edited([](std::wstring& t) { SetElement(t, Macro(2), L"MACRO_SEND_KEY_INFO", L"13,0,0,13,1,0,13,0,0,"); }),
         ProfileFileError::OutOfRange, L"MACRO_2/MACRO_SEND_KEY_INFO"},
        {"a word for a number", edited([](std::wstring& t) { SetElement(t, L"", L"SCROLL_SPEED", L"fast"); }),
         ProfileFileError::BadValue, L"SCROLL_SPEED"},
        {"a number and more", edited([](std::wstring& t) { SetElement(t, L"", L"SCROLL_SPEED", L"4x"); }),
         ProfileFileError::BadValue, L"SCROLL_SPEED"},
        {"an empty number", edited([](std::wstring& t) { SetElement(t, L"", L"REGION", L""); }),
         ProfileFileError::BadValue, L"REGION"},
        {"a number past 32 bits", edited([](std::wstring& t) { SetElement(t, L"", L"REGION", L"99999999999"); }),
         ProfileFileError::BadValue, L"REGION"},
        {"events without the last comma", edited([](std::wstring& t) { SetElement(t, Macro(2), L"MACRO_INFO", L"65,0,100"); }),
         ProfileFileError::BadValue, L"MACRO_2/MACRO_INFO"},
        {"events a number short", edited([](std::wstring& t) { SetElement(t, Macro(2), L"MACRO_INFO", L"65,0,"); }),
         ProfileFileError::BadValue, L"MACRO_2/MACRO_INFO"},
        {"a button of three numbers", edited([](std::wstring& t) { SetElement(t, L"", L"BUTTON_3", L"3,6,7,"); }),
         ProfileFileError::BadValue, L"BUTTON_3"},
        {"markup inside a name", edited([](std::wstring& t) { SetElement(t, L"", L"CHARACTER_NAME", L"a<b>c</b>"); }),
         ProfileFileError::BadValue, L"CHARACTER_NAME"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        CString path = m_dir.File(L"bad.xml");
        ASSERT_TRUE(WriteBytes(path, c.bytes));
        auto target = Target();
        auto before = Target();
        ProfileFileProblem problem;
        EXPECT_FALSE(ImportProfileFile(path, *target, problem));
        EXPECT_EQ((int)problem.error, (int)c.error) << problem.Describe().GetString();
        EXPECT_STREQ(problem.key, c.key);
        EXPECT_FALSE(problem.Describe().IsEmpty());
        EXPECT_EQ(CompareConfig(*target, *before), 0);
    }

    auto target = Target();
    auto before = Target();
    ProfileFileProblem problem;
    EXPECT_FALSE(ImportProfileFile(m_dir.File(L"missing.xml"), *target, problem));
    EXPECT_EQ((int)problem.error, (int)ProfileFileError::Unreadable);
    EXPECT_FALSE(ImportProfileFile(m_dir.Path(), *target, problem));
    EXPECT_EQ((int)problem.error, (int)ProfileFileError::Unreadable);
    EXPECT_EQ(CompareConfig(*target, *before), 0);
}

TEST_F(ProfileFileTest, OtherEncodingsAndOlderFilesAreRead)
{
    struct Case {
        const char* what;
        std::vector<unsigned char> bytes;
        void (*expect)(ProfileData&);
    };
    auto text = [&](void (*edit)(std::wstring&)) {
        std::wstring t = m_good;
        edit(t);
        return Utf16Bytes(t, false, true);
    };
    std::wstring utf8Declared = m_good;
    utf8Declared.replace(utf8Declared.find(L"UTF-16"), 6, L"UTF-8");
    std::vector<Case> cases = {
        {"UTF-8 with its mark", Utf8Bytes(utf8Declared, true), nullptr},
        {"UTF-8 without a mark", Utf8Bytes(utf8Declared, false), nullptr},
        {"UTF-16BE", Utf16Bytes(m_good, true, true), nullptr},
        {"loop counts alone, as older files hold them", text([](std::wstring& t) {
             for (int k = 1; k <= MACRO_COUNT; ++k) {
                 Span s = ElementAfter(t, Macro(k), L"MACRO_LOOP_COUNT");
                 std::wstring element = t.substr(s.start, s.end - s.start);
                 size_t comma = element.find(L',');
                 t.replace(s.start + comma, element.find(L'<', comma) - comma, L"");
             }
         }),
         [](ProfileData& p) {
             for (MacroData& m : p.macros) m.loopFlag = 0;
         }},
        {"macros without the later elements", text([](std::wstring& t) {
             for (int k = 1; k <= MACRO_COUNT; ++k)
                 for (const wchar_t* name : {L"MACRO_PASTE", L"MACRO_START_KEY", L"MACRO_SEND_KEY",
                                             L"MACRO_START_KEY_INFO", L"MACRO_SEND_KEY_INFO"})
                     EraseElement(t, Macro(k), name);
         }),
         [](ProfileData& p) {
             for (MacroData& m : p.macros) {
                 m.pasteText[0] = 0;
                 m.startKeyFlag = m.sendKeyFlag = 0;
                 memset(m.startKeys, 0, sizeof(m.startKeys));
                 memset(m.sendKeys, 0, sizeof(m.sendKeys));
             }
         }},
        {"keys in another order and keys of others", text([](std::wstring& t) {
             Span b = ElementAfter(t, L"", L"BUTTON_4");
             std::wstring button = t.substr(b.start, b.end - b.start);
             t.erase(b.start, b.end - b.start);
             t.insert(t.find(L"<REGION>"), button + L"<ACCELERATION>3</ACCELERATION>\r\n<NOTE>x</NOTE>\r\n");
         }),
         nullptr},
        {"a button holding its code alone", text([](std::wstring& t) { SetElement(t, L"", L"BUTTON_3", L"6"); }),
         [](ProfileData& p) { p.buttons[2].code = 6; }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        CString path = m_dir.File(L"variant.xml");
        ASSERT_TRUE(WriteBytes(path, c.bytes));
        auto target = Target();
        auto expected = Target();
        expected->profiles[4] = *m_full;
        if (c.expect) c.expect(expected->profiles[4]);
        ProfileFileProblem problem;
        EXPECT_TRUE(ImportProfileFile(path, *target, problem)) << problem.Describe().GetString();
        EXPECT_EQ(CompareConfig(*target, *expected), 0);
    }
}

TEST(ProfileFileFolder, LiesUnderTheRoamingApplicationDataFolder)
{
    TempDir dir;
    CString appData = dir.Path().Left(dir.Path().GetLength() - 1);
    AppDataRedirect redirect(appData);
    EXPECT_STREQ(ProfileFileFolder(), appData + L"\\Korvath\\Eldvarra MMO Gaming Mouse Software\\Profile");
}

} // namespace
