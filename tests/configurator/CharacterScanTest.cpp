#include "configurator/panels/CharacterScan.h"
#include "configurator/panels/CharacterServices.h"
#include "core/ConfigTestSupport.h"
#include <gtest/gtest.h>

namespace {

TEST(CharacterScan, JsonValuesAreTakenAsTheSearchesFindThem)
{
    struct Case {
        const wchar_t* key;
        const wchar_t* text;
        const wchar_t* string;  // ScanJsonString
        const wchar_t* number;  // ScanJsonNumber
    };
    const Case cases[] = {
        {L"\"level\"", L"{\"level\": 80,\"x\":1}", L"x", L" 80"},
        {L"\"level\"", L"{\"level\":80}", L"", L"80"},
        {L"\"name\"", L"{\"name\" : \"  Arthas \" ,\"a\":2}", L"Arthas", L" \"  Arthas \" "},
        {L"\"name\"", L"{\"name\":\"open}", L"open", L"\"open"},
        {L"\"name\"", L"{\"other\":1}", L"", L""},
        {L"\"name\"", L"{\"name\"", L"", L""},
        {L"\"name\"", L"", L"", L""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_STREQ(ScanJsonString(c.key, c.text), c.string);
        EXPECT_STREQ(ScanJsonNumber(c.key, c.text), c.number);
    }
}

TEST(CharacterScan, AttributesAndScriptValues)
{
    CString out;
    EXPECT_TRUE(ScanAttribute(L"class", L" <c classId=\"3\" class=\"Hunter\"/>", out));
    EXPECT_STREQ(out, L"3");  // the first "class" is the one of classId
    ScanAttribute(L"class", L" <c class=\"Hunter\" classId=\"3\"/>", out);
    EXPECT_STREQ(out, L"Hunter");
    ScanAttribute(L"level", L" level=\"80", out);
    EXPECT_STREQ(out, L"");

    EXPECT_FALSE(KeyInLine(L"level=\"80\"", L"level"));
    EXPECT_TRUE(KeyInLine(L" level=\"80\"", L"level"));

    EXPECT_STREQ(ScanScriptValue(L"var theLevel = 80;"), L" 80");
    EXPECT_STREQ(ScanScriptValue(L"theLevel 80;"), L"theLevel 80");
    EXPECT_STREQ(ScanScriptValue(L"var theLevel = 80"), L"");

    CString path;
    EXPECT_TRUE(ScanPortraitPath(L" <img class=\"x\" src=\"/_images/portraits/a.gif\">", path));
    EXPECT_STREQ(path, L"_images/portraits/a.gif");
    EXPECT_FALSE(ScanPortraitPath(L" portraits: <img src=\"/x.gif\">", path));
    EXPECT_FALSE(ScanPortraitPath(L" \"portraits\" only at a quoted text's start", path));

    EXPECT_STREQ(ScanImagesPath(L" <img src=\"/_images/portraits/a.gif\">"), L"images/portraits/a.gif");
    EXPECT_STREQ(ScanImagesPath(L" portraits without a quote"), L"");
}

TEST(CharacterScan, ClassNamesAndLevelFolders)
{
    const wchar_t* const classes[][2] = {
        {L"1", L"Warrior"},  {L"6", L"Dread Knight"}, {L"9", L"Warlock"}, {L"11", L"Druid"},
        {L"10", L"Unknown"}, {L" 9", L"Unknown"},     {L"", L"Unknown"},
    };
    for (const auto& c : classes) EXPECT_STREQ(ClassNameFromId(c[0]), c[1]) << c[0];
    const wchar_t* const folders[][2] = {
        {L"69", L"ulk/"}, {L"70", L"ulk-70/"}, {L"79", L"ulk-70/"}, {L"85", L"ulk-80/"}, {L"many", L"ulk/"},
    };
    for (const auto& f : folders) EXPECT_STREQ(LevelFolder(f[0]), f[1]) << f[0];
}

TEST(CharacterFiles, PictureNamesStayInsideTheFolderWithinMaxPath)
{
    ConfFolder conf;
    struct Case {
        const wchar_t* realm;
        const wchar_t* name;
        const wchar_t* file;  // null: only the bounds are checked
    };
    const Case cases[] = {
        {L"Silvermoon", L"Arthas", L"Silvermoon_Arthas.jpg"},
        {L"..\\..\\Windows", L"a/b:c", L".._.._Windows_a_b_c.jpg"},
        {L"C:\\x", L"<>|?*\"\t", L"C__x________.jpg"},
        {L"nul.x", L"y", L"_nul.x_y.jpg"},
        {L"COM1", L"", L"COM1_.jpg"},
        {L"lpt9.", L"z", L"_lpt9._z.jpg"},
        {L"", L"", L"_.jpg"},
        {nullptr, nullptr, L"_.jpg"},
        {Repeat(L'r', 400).c_str(), Repeat(L'n', 400).c_str(), nullptr},
        {L"short", Repeat(L'\u00E9', 300).c_str(), nullptr},
    };
    for (const Case& c : cases) {
        CString path = CharacterPicturePath(c.realm, c.name, L".jpg");
        SCOPED_TRACE(path.GetString());
        ASSERT_EQ(path.Find(conf.Path()), 0);
        CString file = path.Mid(conf.Path().GetLength());
        EXPECT_LT(path.GetLength(), MAX_PATH);
        EXPECT_LE(file.GetLength(), 255);
        EXPECT_LT(file.Find(L'\\'), 0);
        EXPECT_LT(file.Find(L'/'), 0);
        if (c.file) {
            EXPECT_STREQ(file, c.file);
        }
        // The file can be made, and is made where the name says.
        HANDLE h = CreateFileW(path, GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
        EXPECT_NE(h, INVALID_HANDLE_VALUE);
        if (h != INVALID_HANDLE_VALUE) CloseHandle(h);
        EXPECT_NE(GetFileAttributesW(path), INVALID_FILE_ATTRIBUTES);
        DeleteFileW(path);
    }
    // A long realm keeps room for the name: both are cut.
    CString cut = CharacterPicturePath(Repeat(L'r', 400).c_str(), L"Arthas", L".gif");
    EXPECT_GE(cut.Find(L"_Arthas.gif"), 0);

    // A folder that leaves no room gives no name at all.
    wchar_t saved[MAX_PATH];
    wcscpy(saved, g_szConfDir);
    wcscpy(g_szConfDir, (CString(L"C:\\") + Repeat(L'd', MAX_PATH - 8).c_str() + L"\\").GetString());
    EXPECT_TRUE(CharacterPicturePath(L"a", L"b", L".jpg").IsEmpty());
    wcscpy(g_szConfDir, saved);
}

TEST(CharacterServices, RegionsAndAddresses)
{
    EXPECT_EQ(RegionIndex(4), 4);
    EXPECT_EQ(RegionIndex(5), 0);
    EXPECT_EQ(RegionIndex(-1), 0);
    EXPECT_STREQ(RegionCode(2), L"kr");
    EXPECT_STREQ(RegionCode(77), L"us");
    EXPECT_STREQ(CharacterSheetAddress(1, L"Aerie Peak", L"\u00C6var"),
                 L"http://eu.chronicle.eldvarra.net/character-sheet.xml?r=Aerie%20Peak&n=%C3%86var");
    EXPECT_STREQ(ApiAddress(9, L"/x"), L"http://us.api.eldvarra.net/x");
}

} // namespace
