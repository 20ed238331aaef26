#include "skinkit/CTreeCtrlEx.h"
#include "framework/AfxOle.h"
#include "core/FunctionCatalogue.h"
#include "core/Messages.h"
#include "GuiTestSupport.h"
#include "PickerTestSupport.h"
#include "SkinTestSupport.h"
#include <gtest/gtest.h>

namespace {

constexpr UINT kTreeId = 117;

// The picker's way of making its tree, as a child of the host.
bool MakeTree(PickerHost& host, CTreeCtrlEx& tree, const RECT& r)
{
    if (!tree.Create(WS_CHILD | WS_VISIBLE | WS_TABSTOP | TVS_HASBUTTONS | TVS_HASLINES | TVS_LINESATROOT, r, &host,
                     kTreeId))
        return false;
    tree.SetBkColor(0x161616);
    tree.SetTextColor(0x00CCFF);
    tree.SetFont(tree.m_font, TRUE);
    tree.m_hNotifyWnd = host.m_hWnd;
    tree.RegisterDropTarget(&host);
    tree.m_bDrag = 1;
    return true;
}

CatalogueData ShippedCatalogue()
{
    return LoadCatalogue(SourceFile(L"resources\\Functions.xml"));
}

}  // namespace

TEST(CTreeCtrlEx, ItemsGiveTheCodesOfTheirCataloguePlacesOnly)
{
    PickerHost host;
    ASSERT_TRUE(host.Open(100, 100, 300, 400));
    CTreeCtrlEx tree;
    ASSERT_TRUE(MakeTree(host, tree, RECT{0, 0, 300, 400}));
    std::vector<CatalogueRoot> roots = {
        {1, L"Movement", {{1, L"first"}, {14, L"last"}, {15, L"past the group"}, {0, L"none"}}},
        {2, L"Chat without commands", {}},
        {3, L"Action bars", {{52, L"next bar"}}},
        {7, L"Other", {{9, L"screen shot"}}},
        {8, L"No such group", {{1, L"one"}}},
    };
    tree.AddCatalogue(roots);
    struct Case {
        size_t root, child;
        int code;
    } cases[] = {{0, 0, 101}, {0, 1, 114}, {0, 2, -1}, {0, 3, -1}, {2, 0, 352}, {3, 0, 709}, {4, 0, -1}};
    for (auto& c : cases) EXPECT_EQ(tree.ItemCode(tree.ItemAtPosition(c.root, c.child)), c.code) << c.root << "/" << c.child;
    // Group nodes, the childless one among them, are no commands.
    for (HTREEITEM root = tree.GetRootItem(); root; root = tree.GetNextSiblingItem(root))
        EXPECT_EQ(tree.ItemCode(root), -1);
    EXPECT_EQ(tree.ItemAtPosition(1, 0), nullptr);
    EXPECT_EQ(tree.ItemAtPosition(9, 0), nullptr);

    // The shipped catalogue: seven collapsed groups with every command.
    CTreeCtrlEx full;
    ASSERT_TRUE(MakeTree(host, full, RECT{0, 0, 300, 400}));
    CatalogueData catalogue = ShippedCatalogue();
    full.AddCatalogue(catalogue.roots);
    EXPECT_EQ(full.GetCount(), 7u + 131u);
    EXPECT_EQ(full.ItemCode(full.ItemAtPosition(2, 0)), 301);
    EXPECT_EQ(full.ItemCode(full.ItemAtPosition(6, 8)), 709);
    TVITEMW item = {};
    item.mask = TVIF_STATE | TVIF_HANDLE;
    item.hItem = full.GetRootItem();
    item.stateMask = TVIS_EXPANDED;
    full.SendMessage(TVM_GETITEMW, 0, (LPARAM)&item);
    EXPECT_EQ(item.state & TVIS_EXPANDED, 0u);
}

TEST(CTreeCtrlEx, AClickOnACommandReportsItsCode)
{
    ASSERT_TRUE(AfxOleInit());
    PickerHost host;
    ASSERT_TRUE(host.Open(200, 150, 320, 420));
    CTreeCtrlEx tree;
    ASSERT_TRUE(MakeTree(host, tree, RECT{0, 0, 320, 420}));
    std::vector<CatalogueRoot> roots = ShippedCatalogue().roots;
    roots.push_back({5, L"A group without commands", {}});
    tree.AddCatalogue(roots);
    HTREEITEM chat = tree.ItemAtPosition(1, 0) ? tree.GetParentItem(tree.ItemAtPosition(1, 0)) : nullptr;
    ASSERT_NE(chat, nullptr);
    tree.Expand(chat, TVE_EXPAND);
    HTREEITEM command = tree.ItemAtPosition(1, 2);
    ASSERT_EQ(tree.ItemCode(command), 203);
    PumpFor(100);

    // Selected by the click: reported as it becomes selected and again by the click.
    MouseClickAt(TreeItemPoint(tree, command));
    PumpUntil([&] { return host.Codes(WM_SELECT_CODE).size() >= 2; });
    PumpFor(100);
    EXPECT_EQ(host.Codes(WM_SELECT_CODE), (std::vector<int>{203, 203}));
    EXPECT_EQ(tree.GetSelectedItem(), command);
    SaveWindowPng(host.m_hWnd, L"command-tree-chat-open");

    // Already selected: the click alone (after the double-click time, so it is a click).
    PumpFor(GetDoubleClickTime() + 100);
    host.notices.clear();
    MouseClickAt(TreeItemPoint(tree, command));
    PumpUntil([&] { return !host.Codes(WM_SELECT_CODE).empty(); });
    PumpFor(200);
    EXPECT_EQ(host.Codes(WM_SELECT_CODE), std::vector<int>{203});

    // Held a while without moving, it is still a click: the drag never starts.
    PumpFor(GetDoubleClickTime() + 100);
    host.notices.clear();
    POINT at = TreeItemPoint(tree, command);
    AsAPerson([at] {
        MouseMoveTo(at);
        Sleep(50);
        MouseButton(true, true);
        Sleep(300);
        MouseButton(true, false);
    });
    PumpUntil([&] { return !host.Codes(WM_SELECT_CODE).empty(); });
    PumpFor(200);
    EXPECT_EQ(host.Codes(WM_SELECT_CODE), std::vector<int>{203});

    // A group node and a group without commands report nothing.
    PumpFor(GetDoubleClickTime() + 100);
    host.notices.clear();
    MouseClickAt(TreeItemPoint(tree, chat));
    HTREEITEM empty = tree.GetRootItem();
    while (tree.GetNextSiblingItem(empty)) empty = tree.GetNextSiblingItem(empty);
    MouseClickAt(TreeItemPoint(tree, empty));
    PumpFor(400);
    EXPECT_TRUE(host.Codes(WM_SELECT_CODE).empty());

    // Keys move the selection and pick nothing, even with the pointer resting on a command.
    tree.SelectItem(command);
    PumpFor(100);
    host.notices.clear();
    MouseMoveTo(TreeItemPoint(tree, tree.GetChildItem(chat)));
    tree.SetFocus();
    for (WORD vk : {VK_DOWN, VK_DOWN, VK_UP}) KeyTap(vk, true);
    PumpFor(300);
    EXPECT_NE(tree.GetSelectedItem(), command);
    EXPECT_TRUE(host.Codes(WM_SELECT_CODE).empty());
}

TEST(CTreeCtrlEx, ACommandDraggedWithTheMouseReachesATargetOfItsRange)
{
    ASSERT_TRUE(AfxOleInit());
    PickerHost host;
    ASSERT_TRUE(host.Open(100, 100, 640, 420));
    CTreeCtrlEx tree;
    ASSERT_TRUE(MakeTree(host, tree, RECT{0, 0, 260, 420}));
    ASSERT_TRUE(host.AddTargets(RECT{400, 40, 560, 80}, RECT{400, 200, 560, 240}));
    tree.AddCatalogue(ShippedCatalogue().roots);
    HTREEITEM group = tree.GetParentItem(tree.ItemAtPosition(2, 51));
    tree.Expand(group, TVE_EXPAND);
    HTREEITEM nextBar = tree.ItemAtPosition(2, 51);
    ASSERT_EQ(tree.ItemCode(nextBar), 352);
    CodeTarget own(16, 1200);
    ASSERT_TRUE(own.Open(900, 300));

    struct Case {
        const char* name;
        HWND to;
        std::vector<int> functionDrops, profileDrops, ownDrops;
    } cases[] = {
        {"onto a mouse-button image", host.functionButton.m_hWnd, {352}, {}, {}},
        {"onto a profile button, out of its range", host.profileButton.m_hWnd, {}, {}, {}},
        {"onto a window of its own", own.m_hWnd, {}, {}, {352}},
    };
    for (auto& c : cases) {
        host.notices.clear();
        own.dropped.clear();
        DragWithTheMouse(TreeItemPoint(tree, nextBar), ScreenCenter(c.to));
        PumpFor(200);
        EXPECT_EQ(host.Codes(WM_DROP_FUNCTION), c.functionDrops) << c.name;
        EXPECT_EQ(host.Codes(WM_DROP_PROFILE), c.profileDrops) << c.name;
        EXPECT_EQ(own.dropped, c.ownDrops) << c.name;
        // The press selected it (reported once at most); the drag itself reports nothing.
        EXPECT_LE(host.Codes(WM_SELECT_CODE).size(), 1u) << c.name;
    }
    EXPECT_EQ(tree.GetSelectedItem(), nextBar);
}
