#include "ConfigTestSupport.h"
#include "MenuFiles.h"
#include "core/FunctionCaptions.h"
#include "core/FunctionCatalogue.h"
#include "core/FunctionCodes.h"
#include "core/XmlDoc.h"
#include <gtest/gtest.h>

namespace {

CString Shipped(const wchar_t* name) { return SourceFile((std::wstring(L"resources\\") + name).c_str()); }

} // namespace

TEST(MenuFiles, ShippedFilesAreWhatTheToolMakes)
{
    struct Case {
        const wchar_t* name;
        std::wstring text;
    } cases[] = {{L"Menu.xml", MenuFileText()}, {L"Functions.xml", FunctionsFileText()}};
    TempDir dir;
    for (const Case& c : cases) {
        ASSERT_FALSE(c.text.empty()) << "the description lacks a text for " << c.name;
        ASSERT_TRUE(WriteShippedXml(c.text, dir.File(c.name)));
        std::vector<unsigned char> shipped = ReadBytes(Shipped(c.name));
        ASSERT_GE(shipped.size(), 2u) << c.name;
        EXPECT_EQ(shipped[0], 0xFF) << c.name;
        EXPECT_EQ(shipped[1], 0xFE) << c.name;
        EXPECT_TRUE(ReadBytes(dir.File(c.name)) == shipped) << "resources/" << c.name << " is not what make_menu_files makes";
    }
}

TEST(MenuFiles, TheShippedCatalogueHoldsEveryCommandAndList)
{
    CatalogueData d = LoadCatalogue(Shipped(L"Functions.xml"));
    ASSERT_EQ(d.roots.size(), 7u);
    const size_t counts[] = {14, 10, 52, 21, 21, 4, 9};
    for (size_t r = 0; r < d.roots.size(); ++r) {
        EXPECT_EQ(d.roots[r].group, (int)r + 1);
        EXPECT_FALSE(d.roots[r].text.IsEmpty());
        ASSERT_EQ(d.roots[r].children.size(), counts[r]);
        for (size_t c = 0; c < counts[r]; ++c) {
            EXPECT_EQ(d.roots[r].children[c].item, (int)c + 1);
            EXPECT_FALSE(d.roots[r].children[c].text.IsEmpty());
        }
    }
    EXPECT_EQ(d.dpiRows.size(), 6u);
    EXPECT_EQ(d.profileRows.size(), 12u);
    for (const CString& caption : d.folderCaptions) EXPECT_FALSE(caption.IsEmpty());

    CXmlDoc doc;
    ASSERT_TRUE(doc.LoadFile(Shipped(L"Functions.xml")));
    EXPECT_EQ(ReadProfileStepRows(doc).size(), 2u);
    // The side bar's two macro buttons.
    doc.ResetNavigation();
    ASSERT_TRUE(doc.FindChildNode(L"CUSTOM_MACROS"));
    doc.EnterNode();
    for (const wchar_t* name : {L"NEW_MACRO", L"DELETE"}) {
        doc.RewindChildren();
        ASSERT_TRUE(doc.FindChildNode(name)) << name;
        EXPECT_FALSE(doc.GetChildText().IsEmpty()) << name;
    }
}

TEST(MenuFiles, EveryCodeWithACaptionFindsItsTextInTheShippedFiles)
{
    CXmlDoc menu, functions;
    ASSERT_TRUE(menu.LoadFile(Shipped(L"Menu.xml")));
    ASSERT_TRUE(functions.LoadFile(Shipped(L"Functions.xml")));
    auto cfg = DefaultRecord();
    int withText = 0;
    for (CaptionVariant variant : {CaptionVariant::ButtonPopup, CaptionVariant::ScrollPopup}) {
        for (int code = 0; code <= FUNCTION_CODE_MAX; ++code) {
            CaptionSource s = CaptionSourceFor(code, variant);
            if (!s.file) continue;
            CXmlDoc* doc = wcscmp(s.file, MENU_FILE_NAME) == 0 ? &menu : &functions;
            CString text;
            EXPECT_TRUE(ReadCaptionText(s, doc, *cfg, text)) << code << " variant " << (int)variant;
            EXPECT_FALSE(text.IsEmpty()) << code << " variant " << (int)variant;
            ++withText;
        }
    }
    // Button variant: 7 basic, 13, 80..82, 6 DPI, 2 profile steps, 131 commands; scroll: 8 basic instead of 7.
    EXPECT_EQ(withText, (7 + 4 + 6 + 2 + 131) + (8 + 4 + 6 + 2 + 131));
}

TEST(MenuFiles, TheShippedMenuHoldsEverySectionTheProgramsRead)
{
    struct Section {
        const wchar_t* name;
        std::vector<const wchar_t*> rows;
    } sections[] = {
        {L"BUTTON_MENU", {L"LEFT_CLICK", L"RIGHT_CLICK", L"DOUBLE_CLICK", L"WINDOWS_BUTTON_4", L"WINDOWS_BUTTON_5",
                          L"UNIVERSAL_SCROLL", L"BUTTON_OFF", L"BUTTON_ASSIGNMENTS", L"STOP_ALL", L"FOCUS",
                          L"DISMOUNT"}},
        {L"SCROLL_BUTTON_MENU", {L"LEFT_CLICK", L"RIGHT_CLICK", L"DOUBLE_CLICK", L"SCROLL_UP", L"SCROLL_DOWN",
                                 L"WINDOWS_BUTTON_4", L"WINDOWS_BUTTON_5", L"BUTTON_OFF"}},
        {L"CHANGE_DPI", {L"DPI_400", L"DPI_800", L"DPI_1600", L"DPI_3200", L"DPI_UP", L"DPI_DOWN"}},
        {L"CHANGE_PROFILE", {L"PROFILE_UP", L"PROFILE_DOWN"}},
        {L"DPI_MENU", {L"DPI_400", L"DPI_800", L"DPI_1600", L"DPI_3200"}},
        {L"INTENSITY_MENU", {L"HIGH", L"MEDIUM", L"LOW", L"OFF"}},
        {L"PULSATION_MENU", {L"HIGH", L"MEDIUM", L"LOW", L"OFF"}},
        {L"CHRONICLE", {L"USA", L"EUROPE", L"KOREA", L"TAIWAN", L"CHINA"}},
        // These three are read one after the other, each forward from the last.
        {L"FILE_MENU", {L"EDIT", L"EXPORT", L"IMPORT", L"PRINT"}},
        {L"TOOLS_MENU", {L"CHANGE_POLLING_RATE", L"RATE_250", L"RATE_500", L"RATE_1000", L"SHOW_MACRO"}},
        {L"HELP_MENU", {L"USER_GUIDE", L"ABOUT"}},
        {L"PROFILE_MENU", {L"RESET", L"EDIT", L"RENAME", L"EXPORT", L"IMPORT", L"CHANGE_SKIN", L"ULK", L"GENERIC",
                           L"NO_SKIN", L"PRINT", L"ABOUT"}},
    };
    CXmlDoc doc;
    ASSERT_TRUE(doc.LoadFile(Shipped(L"Menu.xml")));
    // Searched in this order without rewinding: every section stands after the one before.
    for (const Section& s : sections) {
        ASSERT_TRUE(doc.FindChildNode(s.name)) << s.name;
        doc.EnterNode();
        for (const wchar_t* row : s.rows) {
            doc.RewindChildren();
            ASSERT_TRUE(doc.FindChildNode(row)) << s.name << "/" << row;
            EXPECT_FALSE(doc.GetChildText().IsEmpty()) << s.name << "/" << row;
        }
        doc.LeaveNode();
    }
}
