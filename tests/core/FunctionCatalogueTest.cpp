#include "TestSupport.h"
#include "core/FunctionCatalogue.h"
#include "core/FunctionCodes.h"
#include "core/XmlDoc.h"
#include <gtest/gtest.h>

namespace {

const CatalogueGroup& Group(int number) { return CatalogueGroups()[number - 1]; }

std::wstring Item(const wchar_t* element) { return std::wstring(L"<") + element + L">" + element + L"</" + element + L">"; }

// A group element with its items in item order, or the given item numbers in that order.
std::wstring GroupText(int number, const std::vector<int>& items = {})
{
    const CatalogueGroup& g = Group(number);
    std::wstring text = std::wstring(L"<") + g.element + L" Strings=\"Group " + std::to_wstring(number) + L"\">";
    if (items.empty()) {
        for (int i = 1; i <= g.itemCount; ++i) text += Item(g.items[i - 1]);
    } else {
        for (int i : items) text += Item(g.items[i - 1]);
    }
    return text + L"</" + g.element + L">";
}

std::wstring AllGroups()
{
    std::wstring text;
    for (int g = 1; g <= CATALOGUE_GROUP_COUNT; ++g) text += GroupText(g);
    return text;
}

std::wstring Commands(const std::wstring& groups, const wchar_t* caption = L"Commands")
{
    return std::wstring(L"<GAME_COMMANDS Strings=\"") + caption + L"\">" + groups + L"</GAME_COMMANDS>";
}

std::wstring Section(const wchar_t* name, const wchar_t* caption, const std::vector<const wchar_t*>& items)
{
    std::wstring text = std::wstring(L"<") + name + L" Strings=\"" + caption + L"\">";
    for (const wchar_t* i : items) text += Item(i);
    return text + L"</" + name + L">";
}

const std::vector<const wchar_t*> kDpi = {L"DPI_400", L"DPI_800", L"DPI_1600", L"DPI_3200", L"DPI_UP", L"DPI_DOWN"};
const std::vector<const wchar_t*> kProfiles = {L"PROFILE_1", L"PROFILE_2", L"PROFILE_3", L"PROFILE_4",
                                               L"PROFILE_5", L"PROFILE_6", L"PROFILE_7", L"PROFILE_8",
                                               L"PROFILE_9", L"PROFILE_10", L"PROFILE_UP", L"PROFILE_DOWN"};

std::wstring Full()
{
    return L"<root>" + Commands(AllGroups()) + Section(L"CHANGE_DPI", L"Dpi", kDpi) +
           Section(L"CHANGE_PROFILE", L"Profiles", kProfiles) + Section(L"CUSTOM_MACROS", L"Macros", {L"NEW_MACRO"}) +
           L"</root>";
}

CatalogueData Read(const std::wstring& text)
{
    CXmlDoc doc;
    doc.SetDocText(text.c_str());
    CatalogueData data;
    ReadCatalogue(doc, data);
    return data;
}

std::vector<int> RootGroups(const CatalogueData& d)
{
    std::vector<int> groups;
    for (const CatalogueRoot& r : d.roots) groups.push_back(r.group);
    return groups;
}

// The text of the tree item the picker selects for code, or "-" for none.
std::wstring Selected(const CatalogueData& d, int code)
{
    size_t root, child;
    if (!FindTreePosition(d, code, root, child)) return L"-";
    return d.roots[root].children[child].text.str();
}

std::vector<std::wstring> Texts(const std::vector<CString>& rows)
{
    std::vector<std::wstring> out;
    for (const CString& r : rows) out.push_back(r.str());
    return out;
}

} // namespace

TEST(FunctionCatalogue, AFullCatalogueGivesSevenRootsOfAllCommands)
{
    CatalogueData d = Read(Full());
    ASSERT_EQ(RootGroups(d), (std::vector<int>{1, 2, 3, 4, 5, 6, 7}));
    const size_t counts[] = {14, 10, 52, 21, 21, 4, 9};
    for (size_t r = 0; r < 7; ++r) {
        EXPECT_EQ(d.roots[r].text.str(), L"Group " + std::to_wstring(r + 1));
        ASSERT_EQ(d.roots[r].children.size(), counts[r]);
        for (size_t c = 0; c < counts[r]; ++c) {
            const CatalogueChild& child = d.roots[r].children[c];
            EXPECT_EQ(child.item, (int)c + 1);
            EXPECT_EQ(child.text.str(), Group((int)r + 1).items[c]);
        }
    }
    // A picked child's code: 100 × the root's data + its own.
    EXPECT_EQ(CatalogueCode(d.roots[2].group, d.roots[2].children[0].item), 301);
    EXPECT_EQ(CatalogueCode(d.roots[6].group, d.roots[6].children[8].item), 709);
    // Every catalogue code selects the item of its own name.
    for (int code = 0; code <= FUNCTION_CODE_MAX; ++code) {
        FunctionCodeInfo info = DescribeFunctionCode(code);
        EXPECT_EQ(Selected(d, code), info.family == FunctionFamily::GameCommand ? info.element : L"-") << code;
    }
    EXPECT_EQ(Texts(d.dpiRows), std::vector<std::wstring>(kDpi.begin(), kDpi.end()));
    EXPECT_EQ(Texts(d.profileRows), std::vector<std::wstring>(kProfiles.begin(), kProfiles.end()));
    EXPECT_EQ(d.folderCaptions[0].str(), L"Commands");
    EXPECT_EQ(d.folderCaptions[1].str(), L"Dpi");
    EXPECT_EQ(d.folderCaptions[2].str(), L"Profiles");
    EXPECT_EQ(d.folderCaptions[3].str(), L"Macros");
}

TEST(FunctionCatalogue, ItemsAreFoundInAnyOrderAndKeepTheirNumbers)
{
    // PITCH_DOWN first: still code 113 and the 13th child.
    std::vector<int> order = {13, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 14};
    CatalogueData d = Read(L"<root>" + Commands(GroupText(1, order) + GroupText(2)) + L"</root>");
    ASSERT_EQ(d.roots.size(), 2u);
    ASSERT_EQ(d.roots[0].children.size(), 14u);
    EXPECT_EQ(d.roots[0].children[12].item, 13);
    EXPECT_EQ(d.roots[0].children[12].text.str(), L"PITCH_DOWN");
    EXPECT_EQ(Selected(d, 113), L"PITCH_DOWN");

    // An item that occurs twice is taken once, the first one.
    CatalogueData twice = Read(L"<root><GAME_COMMANDS><CAMERA_FUNCTIONS><ZOOM_IN>first</ZOOM_IN><ZOOM_IN>second</ZOOM_IN>"
                               L"</CAMERA_FUNCTIONS></GAME_COMMANDS></root>");
    ASSERT_EQ(twice.roots.size(), 1u);
    ASSERT_EQ(twice.roots[0].children.size(), 1u);
    EXPECT_EQ(twice.roots[0].children[0].text.str(), L"first");
    EXPECT_EQ(twice.roots[0].children[0].item, 3);
    EXPECT_EQ(twice.roots[0].group, 6);
    // Placing goes by position: the first root holds camera commands, not movement keys.
    EXPECT_EQ(Selected(twice, 101), L"first");
    EXPECT_EQ(Selected(twice, 603), L"-");
}

TEST(FunctionCatalogue, AMissingItemShiftsThePlacesAfterIt)
{
    std::vector<int> withoutForward = {1, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14};
    CatalogueData d = Read(L"<root>" + Commands(GroupText(1, withoutForward) + GroupText(2)) + L"</root>");
    ASSERT_EQ(d.roots[0].children.size(), 13u);
    // TURN_LEFT keeps its number 3 but is the second child.
    EXPECT_EQ(d.roots[0].children[1].item, 3);
    EXPECT_EQ(d.roots[0].children[1].text.str(), L"TURN_LEFT");
    // A button holding 103 selects the third child.
    EXPECT_EQ(Selected(d, 103), L"MOVE_BACKWARD");
    EXPECT_EQ(Selected(d, 114), L"-");
    EXPECT_EQ(Selected(d, 201), L"OPEN_CHAT");
}

TEST(FunctionCatalogue, GroupsAreSearchedForwardInGroupOrder)
{
    // CHAT_FUNCTIONS before MOVEMENT_KEYS is passed by the time chat is looked for.
    CatalogueData d = Read(L"<root>" + Commands(GroupText(2) + GroupText(1) + GroupText(3)) + L"</root>");
    EXPECT_EQ(RootGroups(d), (std::vector<int>{1, 3}));
    EXPECT_EQ(Selected(d, 201), L"ACTION_BUTTON_1");  // by position: the second root

    // A group that occurs twice in order adds a second root with the same number; the
    // later groups' places shift by one.
    d = Read(L"<root>" + Commands(GroupText(1) + GroupText(1, {2}) + GroupText(2) + GroupText(3)) + L"</root>");
    EXPECT_EQ(RootGroups(d), (std::vector<int>{1, 1, 2, 3}));
    EXPECT_EQ(d.roots[1].children.size(), 1u);
    EXPECT_EQ(Selected(d, 102), L"MOVE_FORWARD");
    EXPECT_EQ(Selected(d, 201), L"MOVE_FORWARD");  // the second root, the doubled group
    EXPECT_EQ(Selected(d, 202), L"-");
    EXPECT_EQ(Selected(d, 301), L"OPEN_CHAT");

    // Unknown elements between the groups are passed over; a missing group leaves a gap.
    d = Read(L"<root>" + Commands(L"<x/>" + GroupText(1) + L"<y>text</y>" + GroupText(4) + GroupText(7)) + L"</root>");
    EXPECT_EQ(RootGroups(d), (std::vector<int>{1, 4, 7}));
    EXPECT_EQ(Selected(d, 201), L"TARGET_NEAREST_ENEMY");
    EXPECT_EQ(Selected(d, 401), L"-");
}

TEST(FunctionCatalogue, TopLevelSectionsAreSearchedForwardInTheirOrder)
{
    // A CHANGE_DPI before GAME_COMMANDS is not read; CUSTOM_MACROS without Strings has an empty caption.
    CatalogueData d = Read(L"<root>" + Section(L"CHANGE_DPI", L"early", kDpi) + Commands(GroupText(6)) +
                           Section(L"CHANGE_PROFILE", L"Profiles", {L"PROFILE_UP"}) + L"<CUSTOM_MACROS/></root>");
    EXPECT_TRUE(d.dpiRows.empty());
    EXPECT_EQ(d.folderCaptions[1].str(), L"");
    EXPECT_EQ(Texts(d.profileRows), (std::vector<std::wstring>{L"PROFILE_UP"}));
    EXPECT_EQ(d.folderCaptions[3].str(), L"");

    // Two catalogues: the later caption wins and the roots follow one another.
    d = Read(L"<root>" + Commands(GroupText(6), L"first") + Commands(GroupText(7), L"second") +
             Section(L"CUSTOM_MACROS", L"m1", {}) + Section(L"CUSTOM_MACROS", L"m2", {}) + L"</root>");
    EXPECT_EQ(RootGroups(d), (std::vector<int>{6, 7}));
    EXPECT_EQ(d.folderCaptions[0].str(), L"second");
    EXPECT_EQ(d.folderCaptions[3].str(), L"m2");

    // Without GAME_COMMANDS the list sections are read from the start.
    d = Read(L"<root>" + Section(L"CHANGE_DPI", L"Dpi", kDpi) + L"</root>");
    EXPECT_EQ(d.dpiRows.size(), 6u);
    EXPECT_TRUE(d.roots.empty());
}

TEST(FunctionCatalogue, ListRowsFollowTheListOrderAndMissingRowsMoveTheRest)
{
    // Without DPI_800 the list has five rows, and the row showing DPI_1600 yields 17.
    std::vector<const wchar_t*> dpi = {L"DPI_DOWN", L"DPI_3200", L"DPI_1600", L"DPI_UP", L"DPI_400"};
    CatalogueData d = Read(L"<root>" + Section(L"CHANGE_DPI", L"Dpi", dpi) + L"</root>");
    EXPECT_EQ(Texts(d.dpiRows),
              (std::vector<std::wstring>{L"DPI_400", L"DPI_1600", L"DPI_3200", L"DPI_UP", L"DPI_DOWN"}));
    EXPECT_EQ(ListRowCode(PICKER_LIST_DPI, 1), 17);

    // Codes 22 and 23 open the DPI folder and select nothing in a six-row list.
    d = Read(Full());
    for (int code : {22, 23}) {
        PickerPlace p = PickerPlaceOfCode(code);
        EXPECT_EQ(p.folder, PICKER_FOLDER_DPI);
        EXPECT_GE(p.row, (int)d.dpiRows.size());
    }
    // Code 1050 opens nothing.
    EXPECT_EQ(PickerPlaceOfCode(1050).folder, PICKER_FOLDER_NONE);

    // Two DPI sections add both sets of rows.
    d = Read(L"<root>" + Section(L"CHANGE_DPI", L"a", {L"DPI_400"}) + Section(L"CHANGE_DPI", L"b", {L"DPI_UP"}) +
             L"</root>");
    EXPECT_EQ(Texts(d.dpiRows), (std::vector<std::wstring>{L"DPI_400", L"DPI_UP"}));
    EXPECT_EQ(d.folderCaptions[1].str(), L"b");
}

TEST(FunctionCatalogue, ProfileStepRowsComeFromEveryProfileSection)
{
    struct Case {
        std::wstring text;
        std::vector<std::wstring> rows;
    } cases[] = {
        {Full(), {L"PROFILE_UP", L"PROFILE_DOWN"}},
        // Read wherever the section stands, and from each one.
        {L"<root>" + Section(L"CHANGE_PROFILE", L"p", {L"PROFILE_DOWN", L"PROFILE_UP"}) + Commands(GroupText(1)) +
             Section(L"CHANGE_PROFILE", L"p", {L"PROFILE_DOWN"}) + L"</root>",
         {L"PROFILE_UP", L"PROFILE_DOWN", L"PROFILE_DOWN"}},
        {L"<root>" + Commands(GroupText(1)) + L"</root>", {}},
        {L"<root><x><CHANGE_PROFILE><PROFILE_UP>nested</PROFILE_UP></CHANGE_PROFILE></x></root>", {}},
    };
    for (const Case& c : cases) {
        CXmlDoc doc;
        doc.SetDocText(c.text.c_str());
        EXPECT_EQ(Texts(ReadProfileStepRows(doc)), c.rows);
    }
}

TEST(FunctionCatalogue, AFileThatDoesNotLoadGivesNothing)
{
    TempDir dir;
    CatalogueData d = LoadCatalogue(dir.File(L"Functions.xml"));
    EXPECT_TRUE(d.roots.empty());
    EXPECT_TRUE(d.dpiRows.empty());
    EXPECT_TRUE(d.profileRows.empty());
    for (const CString& c : d.folderCaptions) EXPECT_TRUE(c.IsEmpty());

    ASSERT_TRUE(WriteUtf16File(dir.File(L"Broken.xml"), L"<root><GAME_COMMANDS>"));
    d = LoadCatalogue(dir.File(L"Broken.xml"));
    EXPECT_TRUE(d.roots.empty());
    for (const CString& c : d.folderCaptions) EXPECT_TRUE(c.IsEmpty());

    ASSERT_TRUE(WriteUtf16File(dir.File(L"Good.xml"), Full()));
    d = LoadCatalogue(dir.File(L"Good.xml"));
    EXPECT_EQ(d.roots.size(), 7u);
}
