#include "core/FunctionCatalogue.h"
#include "core/FunctionCodes.h"
#include "core/XmlDoc.h"

namespace {

const wchar_t kStrings[] = L"Strings";

// Each item is looked up among all children of the entered element: the position is
// rewound after every lookup, found or not.
void ReadListItems(CXmlDoc& doc, int firstCode, int count, std::vector<CString>& rows)
{
    for (int code = firstCode; code < firstCode + count; ++code) {
        if (doc.FindChildNode(DescribeFunctionCode(code).element)) rows.push_back(doc.GetChildText());
        doc.RewindChildren();
    }
}

void ReadGroup(CXmlDoc& doc, const CatalogueGroup& group, CatalogueRoot& root)
{
    for (int item = 1; item <= group.itemCount; ++item) {
        if (doc.FindChildNode(group.items[item - 1])) root.children.push_back({item, doc.GetChildText()});
        doc.RewindChildren();
    }
}

void ReadGameCommands(CXmlDoc& doc, CatalogueData& out)
{
    const CatalogueGroup* groups = CatalogueGroups();
    while (doc.FindChildNode(L"GAME_COMMANDS")) {
        out.folderCaptions[PICKER_FOLDER_COMMANDS] = doc.GetChildAttribute(kStrings);
        doc.EnterNode();
        // Each group is searched forward from the previous group's last element.
        for (int g = 0; g < CATALOGUE_GROUP_COUNT; ++g) {
            while (doc.FindChildNode(groups[g].element)) {
                CatalogueRoot root{groups[g].number, doc.GetChildAttribute(kStrings), {}};
                doc.EnterNode();
                ReadGroup(doc, groups[g], root);
                doc.LeaveNode();
                out.roots.push_back(std::move(root));
            }
        }
        doc.LeaveNode();
    }
}

void ReadListSection(CXmlDoc& doc, const wchar_t* section, int folder, int firstCode, int count,
                     CatalogueData& out, std::vector<CString>& rows)
{
    while (doc.FindChildNode(section)) {
        out.folderCaptions[folder] = doc.GetChildAttribute(kStrings);
        doc.EnterNode();
        ReadListItems(doc, firstCode, count, rows);
        doc.LeaveNode();
    }
}

} // namespace

void ReadCatalogue(CXmlDoc& doc, CatalogueData& out)
{
    out = CatalogueData();
    doc.ResetNavigation();
    ReadGameCommands(doc, out);
    ReadListSection(doc, L"CHANGE_DPI", PICKER_FOLDER_DPI, FIRST_DPI_CODE, 6, out, out.dpiRows);
    ReadListSection(doc, L"CHANGE_PROFILE", PICKER_FOLDER_PROFILES, FIRST_PROFILE_CODE, 12, out, out.profileRows);
    while (doc.FindChildNode(L"CUSTOM_MACROS"))
        out.folderCaptions[PICKER_FOLDER_MACROS] = doc.GetChildAttribute(kStrings);
}

CatalogueData LoadCatalogue(const wchar_t* path)
{
    CatalogueData data;
    CXmlDoc doc;
    if (doc.LoadFile(path)) ReadCatalogue(doc, data);
    return data;
}

std::vector<CString> ReadProfileStepRows(CXmlDoc& doc)
{
    std::vector<CString> rows;
    doc.ResetNavigation();
    while (doc.FindChildNode(L"CHANGE_PROFILE")) {
        doc.EnterNode();
        ReadListItems(doc, FunctionCodeOf(L"PROFILE_UP"), 2, rows);
        doc.LeaveNode();
    }
    return rows;
}

bool FindTreePosition(const CatalogueData& catalogue, int code, size_t& root, size_t& child)
{
    PickerPlace place = PickerPlaceOfCode(code);
    if (place.folder != PICKER_FOLDER_COMMANDS) return false;
    root = (size_t)(place.group - 1);
    child = (size_t)(place.item - 1);
    return root < catalogue.roots.size() && child < catalogue.roots[root].children.size();
}
