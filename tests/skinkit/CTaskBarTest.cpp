#include "skinkit/CTaskBar.h"
#include "skinkit/CListBoxEx.h"
#include "skinkit/CSkinScrollWnd.h"
#include "skinkit/CTreeCtrlEx.h"
#include "skinkit/SkinBitmapsRes.h"
#include "skinkit/TaskBarLayout.h"
#include "framework/AfxOle.h"
#include "core/FunctionCatalogue.h"
#include "core/Messages.h"
#include "GuiTestSupport.h"
#include "PickerTestSupport.h"
#include "SkinTestSupport.h"
#include <gtest/gtest.h>
#include <string>

namespace {

// The picker's side bar with its four folders, filled from the shipped catalogue.
struct SideBar {
    SkinFolders folders;
    PickerHost host;
    CTaskBar bar;
    CTreeCtrlEx tree;
    CListBoxEx dpi, profiles, macros;

    bool Make(int hostWidth = 230)
    {
        CopyFileW(SourceFile(L"resources\\Functions.xml"), folders.App(L"Functions.xml"), FALSE);
        if (!host.Open(300, 120, hostWidth, 470)) return false;
        if (!bar.CreateBar(RECT{0, 80, 174, 450}, &host)) return false;
        if (!tree.Create(WS_CHILD | WS_TABSTOP | TVS_HASBUTTONS | TVS_HASLINES | TVS_LINESATROOT, RECT{0, 0, 100, 100},
                         &bar, 117))
            return false;
        tree.SetBkColor(0x161616);
        tree.SetTextColor(0x00CCFF);
        tree.SetFont(tree.m_font, TRUE);
        tree.m_hNotifyWnd = host.m_hWnd;
        CatalogueData catalogue = LoadCatalogue(folders.App(L"Functions.xml"));
        tree.AddCatalogue(catalogue.roots);
        struct {
            CListBoxEx& list;
            UINT id;
            RECT rect;
            int kind;
            std::vector<CString> rows;
        } lists[] = {{dpi, 114, {0, 0, 100, 100}, 1, catalogue.dpiRows},
                     {profiles, 4369, {0, 0, 100, 100}, 2, catalogue.profileRows},
                     {macros, CTaskBar::kMacroListId, {0, 140, 176, 240}, 3, {L"Open the door", L"Heal the party"}}};
        for (auto& l : lists) {
            if (!l.list.Create(WS_CHILD | WS_VSCROLL | LBS_NOTIFY | LBS_OWNERDRAWVARIABLE | LBS_HASSTRINGS, l.rect, &bar,
                               l.id))
                return false;
            l.list.SetColors(0x292929, 0x161616);
            l.list.SetTextColors(0x00CCFF, 0x008080);
            l.list.m_bCloseParent = 0;
            l.list.m_hNotifyWnd = host.m_hWnd;
            l.list.m_nListKind = l.kind;
            for (const CString& row : l.rows) l.list.AddItem(row, IDB_LIST_BULLET);
        }
        const wchar_t* captions[4] = {catalogue.folderCaptions[0], catalogue.folderCaptions[1],
                                      catalogue.folderCaptions[2], catalogue.folderCaptions[3]};
        CWnd* windows[4] = {&tree, &dpi, &profiles, &macros};
        const int heights[4] = {220, 200, 240, 240};
        for (int i = 0; i < 4; ++i)
            if (bar.AddFolder(captions[i], windows[i], heights[i]) != i) return false;
        bar.UpdateWindow();
        PumpFor(100);
        return true;
    }
    // The visible middle of header button i (its left 20 pixels lie outside the bar).
    POINT Header(int i)
    {
        RECT r = bar.GetHeaderRect(i);
        POINT p = {75, r.top + 14};
        bar.ClientToScreen(&p);
        return p;
    }
    POINT OnBar(int x, int y)
    {
        POINT p = {x, y};
        bar.ClientToScreen(&p);
        return p;
    }
    int OpenFolder() const
    {
        for (int i = 0; i < bar.GetFolderCount(); ++i)
            if (bar.m_folders[i]->m_bOpen) return i;
        return -1;
    }
    void Click(POINT p)
    {
        MouseClickAt(p);
        PumpFor(GetDoubleClickTime() + 100);
    }
};

}  // namespace

TEST(TaskBarLayout, HeadersStackAndAnOpenFolderTakesItsHeight)
{
    const std::vector<int> heights = {220, 200, 240, 240};
    struct Case {
        std::vector<bool> open;
        std::vector<RECT> headers, contents;
    } cases[] = {
        {{false, true, false, false},
         {{0, 0, 174, 20}, {0, 20, 174, 40}, {0, 240, 174, 260}, {0, 260, 174, 310}},
         {{}, {0, 45, 174, 240}, {}, {}}},
        {{false, false, false, true},
         {{0, 0, 174, 20}, {0, 20, 174, 40}, {0, 40, 174, 60}, {0, 60, 174, 110}},
         {{}, {}, {}, {0, 115, 174, 350}}},
        {{false, false, false, false},
         {{0, 0, 174, 20}, {0, 20, 174, 40}, {0, 40, 174, 60}, {0, 60, 174, 110}},
         {{}, {}, {}, {}}},
    };
    for (auto& c : cases) {
        std::vector<FolderPlace> places = LayoutFolders(heights, c.open, 174);
        ASSERT_EQ(places.size(), 4u);
        for (int i = 0; i < 4; ++i) {
            EXPECT_TRUE(SameRect(places[i].header, c.headers[i])) << i;
            EXPECT_TRUE(SameRect(places[i].content, c.contents[i])) << i;
        }
    }
    std::vector<FolderPlace> places = LayoutFolders(heights, {false, true, false, false}, 174);
    EXPECT_EQ(HeaderAt(places, POINT{10, 25}), 1);
    EXPECT_EQ(HeaderAt(places, POINT{10, 100}), -1) << "in an open folder's content";
    EXPECT_EQ(HeaderAt(places, POINT{10, 300}), 3);
    EXPECT_EQ(HeaderAt(places, POINT{10, 320}), -1);
}

TEST(CTaskBar, FoldersOpenAndCloseFromTheirHeaders)
{
    ASSERT_TRUE(AfxOleInit());
    SideBar s;
    ASSERT_TRUE(s.Make());
    EXPECT_EQ(s.OpenFolder(), -1) << "all folders start closed";
    s.bar.UpdateWindow();
    EXPECT_TRUE(s.bar.m_headerButtons[0].GetCaption() == L"Game Commands") << "captions from the first paint";
    EXPECT_TRUE(s.bar.m_newMacroButton.GetCaption() == L"New");
    EXPECT_TRUE(s.bar.m_deleteButton.GetCaption() == L"Delete");
    EXPECT_FALSE(s.bar.m_newMacroButton.IsWindowVisible());
    SaveWindowPng(s.host.m_hWnd, L"side-bar-closed");

    const wchar_t* shots[4] = {L"side-bar-commands", L"side-bar-dpi", L"side-bar-profiles", L"side-bar-macros"};
    for (int i = 0; i < 4; ++i) {
        s.host.notices.clear();
        s.Click(s.Header(i));
        EXPECT_EQ(s.OpenFolder(), i);
        EXPECT_EQ(s.host.Codes(WM_CLEAR_SELECTION).size(), 1u) << i;
        EXPECT_EQ(s.bar.m_nCurrentFolder, -1) << "a header button leaves the current folder";
        CWnd* window = s.bar.GetFolderWindow(i);
        EXPECT_TRUE(window->IsWindowVisible()) << i;
        RECT content = s.bar.GetContentRect(i);
        RECT at = window->GetRectInParent();
        EXPECT_TRUE(SameRect(at, content)) << i;
        for (int j = 0; j < 4; ++j)
            if (j != i) {
                EXPECT_FALSE(s.bar.GetFolderWindow(j)->IsWindowVisible()) << i << " " << j;
            }
        EXPECT_EQ(s.bar.m_newMacroButton.IsWindowVisible() != FALSE, i == 3) << i;
        EXPECT_EQ(s.bar.m_deleteButton.IsWindowVisible() != FALSE, i == 3) << i;
        SaveWindowPng(s.host.m_hWnd, shots[i]);
    }

    // The open folder's header closes it.
    s.host.notices.clear();
    s.Click(s.Header(3));
    EXPECT_EQ(s.OpenFolder(), -1);
    EXPECT_EQ(s.host.Codes(WM_CLEAR_SELECTION).size(), 1u);
    EXPECT_FALSE(s.bar.m_newMacroButton.IsWindowVisible());

    // A press beside a header button is a press on that header; one below the folders
    // closes the open folder and posts nothing.
    s.host.notices.clear();
    s.Click(s.OnBar(165, s.bar.GetHeaderRect(2).top + 10));
    EXPECT_EQ(s.OpenFolder(), 2);
    EXPECT_EQ(s.bar.m_nCurrentFolder, 2);
    EXPECT_EQ(s.host.Codes(WM_CLEAR_SELECTION).size(), 1u);
    s.host.notices.clear();
    s.Click(s.OnBar(100, 360));
    EXPECT_EQ(s.OpenFolder(), -1);
    EXPECT_EQ(s.bar.m_nCurrentFolder, -1);
    EXPECT_TRUE(s.host.notices.empty());

    // Opened by the picker: no notice.
    s.bar.OpenFolder(1);
    PumpFor(100);
    EXPECT_EQ(s.OpenFolder(), 1);
    EXPECT_EQ(s.bar.m_nCurrentFolder, 1);
    s.bar.OpenFolder(-1);
    PumpFor(100);
    EXPECT_EQ(s.OpenFolder(), -1);
    EXPECT_TRUE(s.host.notices.empty());

    CListBoxEx sixth;
    EXPECT_EQ(s.bar.AddFolder(L"Five", &sixth, 100), 4);
    EXPECT_EQ(s.bar.AddFolder(L"Six", &sixth, 100), -1) << "five header buttons, five folders";
}

TEST(CTaskBar, MacroFolderButtonsListNoticesAndDisabling)
{
    ASSERT_TRUE(AfxOleInit());
    SideBar s;
    ASSERT_TRUE(s.Make());
    s.bar.OpenFolder(3);
    PumpFor(100);
    struct Case {
        CBitmapBtn& button;
        UINT message;
    } cases[] = {{s.bar.m_newMacroButton, WM_NEW_MACRO}, {s.bar.m_deleteButton, WM_DELETE_MACRO}};
    for (auto& c : cases) {
        s.host.notices.clear();
        s.Click(ScreenCenter(c.button.m_hWnd));
        ASSERT_EQ(s.host.notices.size(), 1u);
        EXPECT_EQ(s.host.notices[0].message, c.message);
        EXPECT_EQ(s.host.notices[0].w, 0u);
        EXPECT_EQ(s.host.notices[0].l, 0);
    }

    // The macro list's focus, selection and double click.
    s.host.notices.clear();
    POINT p = ListRowPoint(s.macros, 1);
    MouseClickAt(p);
    PumpFor(300);
    EXPECT_FALSE(s.host.Codes(WM_MACRO_FOLDER).empty());
    EXPECT_FALSE(s.host.Codes(WM_ENABLE_MACRO_EDIT).empty());
    EXPECT_EQ(s.host.Codes(WM_SELECT_CODE), std::vector<int>{1001});
    s.host.notices.clear();
    MouseClickAt(p);
    PumpFor(300);
    EXPECT_EQ(s.host.Codes(WM_EDIT_MACRO).size(), 1u) << "the second click of a double click";

    // A disabled macro folder: its header button is disabled, a press on its header only
    // makes it the current folder.
    s.bar.OpenFolder(-1);
    s.bar.DisableMacroFolder(1);
    s.bar.UpdateWindow();
    PumpFor(100);
    EXPECT_FALSE(s.bar.m_headerButtons[3].IsWindowEnabled());
    SaveWindowPng(s.host.m_hWnd, L"side-bar-macros-disabled");
    PumpFor(GetDoubleClickTime());
    s.host.notices.clear();
    s.Click(s.OnBar(165, s.bar.GetHeaderRect(3).top + 10));
    EXPECT_EQ(s.bar.m_nCurrentFolder, 3);
    EXPECT_EQ(s.OpenFolder(), -1);
    EXPECT_TRUE(s.host.notices.empty());
    s.bar.DisableMacroFolder(0);
    s.bar.UpdateWindow();
    PumpFor(100);
    EXPECT_TRUE(s.bar.m_headerButtons[3].IsWindowEnabled());
}

// The picker's whole side: every folder's window wrapped in skinned scroll bars after the
// folders are made, placed by the bar through the frames, still reporting and dragging.
TEST(CTaskBar, FoldersOfWrappedWindows)
{
    ASSERT_TRUE(AfxOleInit());
    SideBar s;
    ASSERT_TRUE(s.Make(640));
    for (int i = 0; i < 30; ++i) s.macros.AddItem((L"Recorded macro " + std::to_wstring(i + 3)).c_str(), IDB_LIST_BULLET);
    ASSERT_TRUE(s.host.AddTargets(RECT{400, 140, 560, 180}, RECT{400, 300, 560, 340}));
    s.dpi.m_bDrag = 1;
    s.tree.m_bDrag = 1;
    s.macros.m_bDrag = 1;
    HBITMAP skin = (HBITMAP)LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDB_SCROLLBAR), IMAGE_BITMAP, 0, 0, 0);
    ASSERT_NE(skin, nullptr);
    CWnd* wrapped[4] = {&s.profiles, &s.macros, &s.tree, &s.dpi};
    for (CWnd* w : wrapped) ASSERT_NE(AttachSkinScroll(w, skin), nullptr);

    const wchar_t* shots[4] = {L"side-bar-wrapped-commands", L"side-bar-wrapped-dpi", L"side-bar-wrapped-profiles",
                               L"side-bar-wrapped-macros"};
    for (int i = 0; i < 4; ++i) {
        s.Click(s.Header(i));
        CSkinScrollWnd* frame = SkinScrollFrameOf(s.bar.GetFolderWindow(i)->m_hWnd);
        ASSERT_NE(frame, nullptr);
        EXPECT_TRUE(frame->IsWindowVisible()) << i;
        RECT at = frame->GetRectInParent();
        EXPECT_TRUE(SameRect(at, s.bar.GetContentRect(i))) << i << ": the frame is where the folder's window goes";
        for (int j = 0; j < 4; ++j) {
            if (j != i) {
                EXPECT_FALSE(SkinScrollFrameOf(s.bar.GetFolderWindow(j)->m_hWnd)->IsWindowVisible()) << i << " " << j;
            }
        }
        if (i == 3) {
            // A scrolled macro list.
            MouseMoveTo(ScreenCenter(s.macros.m_hWnd));
            s.macros.SetFocus();
            s.macros.SendMessage(WM_MOUSEWHEEL, MAKEWPARAM(0, (WORD)(short)-WHEEL_DELTA), 0);
            s.macros.SendMessage(WM_MOUSEWHEEL, MAKEWPARAM(0, (WORD)(short)-WHEEL_DELTA), 0);
            PumpUntil([&] { return frame->m_vertBar.m_si.nPos == 2; });
            EXPECT_EQ(frame->m_vertBar.m_si.nPos, 2);
        }
        SaveWindowPng(s.host.m_hWnd, shots[i]);
    }

    // A DPI row dragged out of its wrapped list onto a mouse-button image.
    s.Click(s.Header(1));
    s.host.notices.clear();
    DragWithTheMouse(ListRowPoint(s.dpi, 3), ScreenCenter(s.host.functionButton.m_hWnd));
    EXPECT_EQ(s.host.Codes(WM_DROP_FUNCTION), std::vector<int>{19});
    EXPECT_EQ(s.host.Codes(WM_SELECT_CODE), std::vector<int>{19});

    // A click on a command of the wrapped tree.
    s.Click(s.Header(0));
    s.tree.Expand(s.tree.GetRootItem(), TVE_EXPAND);
    PumpFor(100);
    s.host.notices.clear();
    MouseClickAt(TreeItemPoint(s.tree, s.tree.ItemAtPosition(0, 7)));
    PumpUntil([&] { return s.host.Codes(WM_SELECT_CODE).size() >= 2; });
    EXPECT_EQ(s.host.Codes(WM_SELECT_CODE), (std::vector<int>{108, 108}));
    SaveWindowPng(s.host.m_hWnd, L"side-bar-wrapped-commands-open");

    s.host.DestroyWindow();
    DeleteObject(skin);
}
