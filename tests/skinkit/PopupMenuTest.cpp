#include "skinkit/PopupMenus.h"
#include "core/AppPaths.h"
#include "core/Messages.h"
#include "framework/AfxOle.h"
#include "GuiTestSupport.h"
#include "TestSupport.h"
#include <gtest/gtest.h>
#include <memory>
#include <string>

namespace {

// The program folder of the popups: the shipped skin, or a copy whose "Menu.xml" the test
// writes. The owner is a visible window of the test that records what the popups post.
class PopupRig {
public:
    explicit PopupRig(const wchar_t* menuXml = nullptr) : owner(L"Popup owner of the test")
    {
        AfxOleInit();
        CString app = SourceFile(L"resources\\");
        if (menuXml) {
            app = temp.Path();
            CreateDirectoryW(app + L"skins", nullptr);
            CopyFileW(SourceFile(L"resources\\Skins.xml"), app + L"Skins.xml", FALSE);
            for (const wchar_t* pic : {L"button_menu.bmp", L"dpi_menu.bmp", L"illumination_menu.bmp", L"region_menu.bmp"})
                CopyFileW(SourceFile(L"resources\\skins\\") + pic, app + L"skins\\" + pic, FALSE);
            WriteUtf16File(app + L"Menu.xml", std::wstring(L"<?xml version=\"1.0\" encoding=\"utf-16\"?>\r\n") + menuXml);
        }
        wcscpy(g_szAppDir, app);
        EXPECT_TRUE(ShowAt(owner.m_hWnd, RECT{100, 100, 500, 400}));
    }
    ~PopupRig() { g_szAppDir[0] = 0; }

    // Opens the popup as its owners do: position, create, show; the focus in its list.
    template <class Popup> void Open(Popup& popup, int x, int y)
    {
        popup.SetMenuPos(x, y);
        ASSERT_TRUE(popup.Create());
        popup.ShowWindow(SW_SHOW);
        ASSERT_TRUE(PumpUntil([&] { return ::GetFocus() == popup.m_list.m_hWnd; }))
            << "the focus in the list; it is in " << DescribeWindow(::GetFocus());
        EXPECT_TRUE(WindowOnScreen(popup.m_hWnd));
    }

    TempDir temp;
    PeerWindow owner;
};

std::vector<CString> Rows(CSkinPopupMenu& popup)
{
    std::vector<CString> rows;
    for (int i = 0; i < popup.m_list.GetCount(); ++i) rows.push_back(popup.m_list.GetText(i));
    return rows;
}

POINT RowCentre(CSkinPopupMenu& popup, int row)
{
    RECT r;
    popup.m_list.GetItemRect(row, &r);
    popup.m_list.ClientToScreen(&r);
    return POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
}

}  // namespace

// Each popup with the shipped skin: the size of its picture, one 20-pixel row per text of
// its element in "Menu.xml" in the family's order, at the given place, where it stays
// whatever place the system reports for it while it shows; a click on a row posts the row
// to the owner with the family's message.
TEST(PopupMenus, EveryKindWithTheShippedSkin)
{
    struct Case {
        const wchar_t* name;
        std::function<CSkinPopupMenu*(CWnd*, int*)> make;
        UINT message;
        LPARAM lParam;
        std::vector<const wchar_t*> rows;
    } cases[] = {
        {L"button", [](CWnd* o, int*) { return new CButtonMenu(o, 7); }, WM_BUTTONMENU_SELECT, 7,
         {L"Left Click", L"Right Click", L"Double Click", L"Mouse Button 4", L"Mouse Button 5", L"Middle Click", L"Disabled"}},
        {L"dpi", [](CWnd* o, int* h) { return new CDPIMenu(o, h); }, WM_DPIMENU_SELECT, 0,
         {L"400 DPI", L"800 DPI", L"1600 DPI", L"3200 DPI"}},
        {L"intensity", [](CWnd* o, int* h) { return new CIntensityMenu(o, h); }, WM_INTENSITYMENU_SELECT, 0,
         {L"High", L"Medium", L"Low", L"Off"}},
        {L"pulsation", [](CWnd* o, int* h) { return new CPulsationMenu(o, h); }, WM_PULSATIONMENU_SELECT, 0,
         {L"Fast", L"Medium", L"Slow", L"Off"}},
        {L"region", [](CWnd* o, int* h) { return new CRegionMenu(o, h); }, WM_REGION_SELECT, 0,
         {L"Americas", L"Europe", L"Korea", L"Taiwan", L"China"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(CString(c.name).GetString());
        PopupRig rig;
        int hover = 0;
        std::unique_ptr<CSkinPopupMenu> popup(c.make(&rig.owner, &hover));
        rig.Open(*popup, 150, 160);
        RECT r = popup->GetWindowRect();
        EXPECT_EQ(r.left, 150);
        EXPECT_EQ(r.top, 160);
        EXPECT_GT(popup->m_nWidth, 0);
        EXPECT_EQ(r.right - r.left, popup->m_nWidth);
        EXPECT_EQ(r.bottom - r.top, 20 * (int)c.rows.size());
        // As the system reports the window manager's frame before the manager has put it
        // in place: the screen's corner.
        popup->SetWindowPos(nullptr, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        RECT after = popup->GetWindowRect();
        EXPECT_EQ(after.left, 150) << "stays at its place";
        EXPECT_EQ(after.top, 160) << "stays at its place";
        std::vector<CString> rows = Rows(*popup);
        ASSERT_EQ(rows.size(), c.rows.size());
        for (size_t i = 0; i < rows.size(); ++i) EXPECT_EQ(rows[i], c.rows[i]) << i;
        EXPECT_EQ(popup->m_list.GetCurSel(), -1);
        SaveWindowPng(popup->m_hWnd, (std::wstring(L"popup-") + c.name).c_str());

        int row = (int)c.rows.size() - 2;
        ASSERT_TRUE(ClickOn(popup->m_list.m_hWnd, RowCentre(*popup, row)));
        ASSERT_TRUE(PumpUntil([&] { return !rig.owner.Of(c.message).empty(); }));
        EXPECT_EQ(rig.owner.Of(c.message)[0].wParam, (WPARAM)row);
        EXPECT_EQ(rig.owner.Of(c.message)[0].lParam, c.lParam);
        EXPECT_TRUE(popup->IsWindowVisible()) << "the owner ends it";
        // The owner's way: close it, delete it. No closed notice then.
        popup->Close();
        popup.reset();
        PumpFor(100);
        EXPECT_TRUE(rig.owner.Of(WM_POPUP_CLOSED).empty());
    }
}

// Rows in the family's order whatever the file's order; a second element adds its rows;
// a missing element or file gives no rows and no height.
TEST(PopupMenus, RowsFollowTheFamilyOrder)
{
    const struct {
        const wchar_t* xml;
        std::vector<const wchar_t*> rows;
    } cases[] = {
        {L"<root>\r\n<DPI_MENU>\r\n<DPI_800>Eight</DPI_800>\r\n<DPI_400>Four</DPI_400>\r\n</DPI_MENU>\r\n</root>\r\n",
         {L"Four", L"Eight"}},
        {L"<root>\r\n<DPI_MENU>\r\n<DPI_3200>A</DPI_3200>\r\n</DPI_MENU>\r\n<X/>\r\n<DPI_MENU>\r\n<DPI_1600>B</DPI_1600>\r\n"
         L"<DPI_400>C</DPI_400>\r\n</DPI_MENU>\r\n</root>\r\n",
         {L"A", L"C", L"B"}},
        {L"<root>\r\n<INTENSITY_MENU>\r\n<HIGH>H</HIGH>\r\n</INTENSITY_MENU>\r\n</root>\r\n", {}},
        {L"not xml", {}},
    };
    for (const auto& c : cases) {
        PopupRig rig(c.xml);
        int hover = 0;
        CDPIMenu popup(&rig.owner, &hover);
        popup.SetMenuPos(200, 200);
        ASSERT_TRUE(popup.Create());
        PumpFor(50);
        std::vector<CString> rows = Rows(popup);
        ASSERT_EQ(rows.size(), c.rows.size());
        for (size_t i = 0; i < rows.size(); ++i) EXPECT_EQ(rows[i], c.rows[i]);
        RECT r = popup.GetWindowRect();
        EXPECT_EQ(r.bottom - r.top, 20 * (int)c.rows.size());
        popup.Close();
    }
}

// Focus elsewhere closes a popup and tells its owner, unless the mouse is over the opener
// (whose click then ends it for good); Esc closes the button and intensity popups (with
// the notice) and does nothing in the others; a missing picture gives a popup of no size.
TEST(PopupMenus, ClosingRoads)
{
    {
        PopupRig rig;
        int hover = 0;
        CIntensityMenu popup(&rig.owner, &hover);
        rig.Open(popup, 150, 160);
        ASSERT_TRUE(PumpUntil([&] { return !popup.JustShown(); }));
        ASSERT_TRUE(ClickOn(rig.owner.m_hWnd, POINT{450, 380}));  // the owner's body
        EXPECT_TRUE(PumpUntil([&] { return popup.m_hWnd == nullptr; }));
        EXPECT_TRUE(PumpUntil([&] { return rig.owner.Of(WM_POPUP_CLOSED).size() == 1; }));
    }
    {
        PopupRig rig;
        int hover = 1;
        CPulsationMenu popup(&rig.owner, &hover);
        rig.Open(popup, 150, 160);
        ASSERT_TRUE(PumpUntil([&] { return !popup.JustShown(); }));
        ASSERT_TRUE(ClickOn(rig.owner.m_hWnd, POINT{450, 380}));
        EXPECT_TRUE(PumpUntil([&] { return popup.m_hWnd == nullptr; }));
        PumpFor(200);
        EXPECT_TRUE(rig.owner.Of(WM_POPUP_CLOSED).empty()) << "over its opener: no notice";
    }
    const struct {
        const wchar_t* name;
        bool escCloses;
    } keys[] = {{L"button", true}, {L"dpi", false}, {L"intensity", true}, {L"pulsation", false}, {L"region", false}};
    for (const auto& k : keys) {
        SCOPED_TRACE(CString(k.name).GetString());
        PopupRig rig;
        int hover = 0;
        std::unique_ptr<CSkinPopupMenu> popup;
        CString name = k.name;
        if (name == L"button") popup.reset(new CButtonMenu(&rig.owner, 1));
        if (name == L"dpi") popup.reset(new CDPIMenu(&rig.owner, &hover));
        if (name == L"intensity") popup.reset(new CIntensityMenu(&rig.owner, &hover));
        if (name == L"pulsation") popup.reset(new CPulsationMenu(&rig.owner, &hover));
        if (name == L"region") popup.reset(new CRegionMenu(&rig.owner, &hover));
        rig.Open(*popup, 150, 160);
        KeyTap(VK_ESCAPE);
        // The key is queued by now: one that closes is waited for, one that does not is
        // given its turn in the loop.
        if (k.escCloses)
            PumpUntil([&] { return popup->m_hWnd == nullptr; });
        else
            PumpFor(300);
        EXPECT_EQ(popup->m_hWnd == nullptr, k.escCloses);
        EXPECT_EQ(rig.owner.Of(WM_POPUP_CLOSED).size(), k.escCloses ? 1u : 0u);
        KeyTap(VK_RETURN);
        PumpFor(200);
        EXPECT_EQ(popup->m_hWnd == nullptr, k.escCloses) << "Enter as Esc";
    }
    {
        PopupRig rig(L"<root>\r\n<DPI_MENU>\r\n<DPI_400>Four</DPI_400>\r\n</DPI_MENU>\r\n</root>\r\n");
        DeleteFileW(rig.temp.Path() + L"skins\\dpi_menu.bmp");
        int hover = 0;
        CDPIMenu popup(&rig.owner, &hover);
        ASSERT_TRUE(popup.Create());
        RECT r = popup.GetWindowRect();
        EXPECT_EQ(r.right - r.left, 0);
        EXPECT_EQ(popup.m_list.GetCount(), 1);
    }
}
