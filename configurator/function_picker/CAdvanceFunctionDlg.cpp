#include "configurator/function_picker/CAdvanceFunctionDlg.h"
#include "configurator/main_window/CAPDlg.h"
#include "configurator/GearloomRes.h"
#include "skinkit/CSkinScrollWnd.h"
#include "skinkit/CTaskBar.h"
#include "skinkit/SkinBitmapsRes.h"
#include "skinkit/SkinButtons.h"
#include "skinkit/SkinDialogParts.h"
#include "skinkit/SkinFiles.h"
#include "skinkit/SkinHandlers.h"
#include "skinkit/SkinPicture.h"
#include "skinkit/SkinRegion.h"
#include "core/AppPaths.h"
#include "core/ConfigData.h"
#include "core/FunctionCatalogue.h"
#include "core/FunctionCodes.h"
#include "core/Messages.h"
#include "core/SkinEntry.h"
#include "core/XmlDoc.h"
#include "framework/CDC.h"

CAdvanceFunctionDlg* g_pAdvanceFunctionDlg = nullptr;

namespace {

constexpr COLORREF kTitleColour = 0x00CCFF;
constexpr COLORREF kListGround = 0x161616;
constexpr COLORREF kSelectedFill = 0x292929;
// Rows in gold like the tree's commands, the selected row in teal.
constexpr COLORREF kRowText = 0x00CCFF;
constexpr COLORREF kSelectedText = 0x008080;
constexpr RECT kSideBarRect = {0, 80, 174, 450};
constexpr LPARAM kPickerShown = 50;
constexpr LPARAM kPickerHidden = 54;

// The codes the picker's folders offer; nothing else is stored from it.
bool IsPickerCode(int code)
{
    switch (FamilyOf(code)) {
    case FunctionFamily::Dpi:
    case FunctionFamily::Profile:
    case FunctionFamily::GameCommand:
    case FunctionFamily::Macro:
        return true;
    default:
        return false;
    }
}

}  // namespace

BEGIN_MESSAGE_MAP(CAdvanceFunctionDlg, CSkinDialog)
    ON_MESSAGE(WM_CREATE, OnCreate)
    ON_MESSAGE(WM_DESTROY, OnDestroy)
    ON_MESSAGE(WM_TIMER, OnTimer)
    ON_MESSAGE(WM_NEW_MACRO, OnNewMacro)
    ON_MESSAGE(WM_DELETE_MACRO, DeleteMacro)
    ON_MESSAGE(WM_EDIT_MACRO, OnEditMacro)
    ON_MESSAGE(WM_MACRO_FOLDER, OnMacroFolderFocus)
    ON_MESSAGE(WM_ENABLE_MACRO_EDIT, OnMacroSelChange)
    ON_MESSAGE(WM_CLEAR_SELECTION, OnClearSelection)
    ON_MESSAGE(WM_SELECT_CODE, OnSelectCode)
END_MESSAGE_MAP()

CAdvanceFunctionDlg::CAdvanceFunctionDlg()
    : CSkinDialog(IDD_ADVANCE_FUNCTION),
      m_strMacrosFull(L"This profile holds fifty macros already. Delete one before you make a new one.")
{
}

CAdvanceFunctionDlg::~CAdvanceFunctionDlg()
{
    // A window destroyed without its WM_DESTROY reaching this object still takes its bar.
    if (m_hWnd) DestroyWindow();
}

BOOL CAdvanceFunctionDlg::Create(CWnd* parent)
{
    return CDialog::Create(IDD_ADVANCE_FUNCTION, parent);
}

BOOL CAdvanceFunctionDlg::OnInitDialog()
{
    CSkinDialog::OnInitDialog();
    return TRUE;
}

LRESULT CAdvanceFunctionDlg::OnCreate(WPARAM, LPARAM)
{
    if (Default() == -1) return -1;
    LoadSkin();
    DrawTitles();
    SetRegion(BitmapToRegion(m_bmpMask));
    CreateControls();
    return 0;
}

void CAdvanceFunctionDlg::LoadSkin()
{
    SIZE size = LoadWindowPictures(L"BUTTON_ASSIGNMENTS", m_bmpNormal, m_bmpDown, m_bmpOver, m_bmpMask);
    m_nPanelWidth = size.cx;
    m_nPanelHeight = size.cy;
    MoveWindow(0, 0, size.cx, size.cy, TRUE);

    std::vector<SkinItem> strings = ReadSkinSection(L"Strings.xml", L"BUTTON_ASSIGNMENTS");
    const SkinButtonRow rows[] = {{L"CLOSE_ASSIGNMENTS", &m_closeButton, SKIN_CHECK | SKIN_TOOLTIP | SKIN_CAPTION}};
    CreateSkinButtons(this, strings, rows, 1, {m_bmpNormal, m_bmpOver, m_bmpDown, m_bmpNormal});
    m_closeButton.m_bDownwardCaption[0] = 1;
    if (const CString* text = FindSkinItem(strings, L"STRING_WARNING_MACROS_FULL")) m_strMacrosFull = *text;
}

void CAdvanceFunctionDlg::DrawTitles()
{
    if (!m_bmpNormal.GetSafeHandle()) return;
    std::vector<SkinItem> strings = ReadSkinSection(L"Strings.xml", L"BUTTON_ASSIGNMENTS");
    const CString* title = FindSkinItem(strings, L"BUTTON_ASSIGNMENTS");
    if (!title) return;
    TextEntry entry;
    ParseTextEntry(*title, entry);
    CDC dc;
    if (!dc.CreateCompatibleDC(nullptr)) return;
    CFont font;
    font.CreateFont(12, 0, 0, 0, 700, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0x20, L"MS Shell Dlg");
    dc.SelectObject(m_bmpNormal);
    dc.SelectObject(font);
    dc.SetBkMode(TRANSPARENT);
    dc.SetTextColor(kTitleColour);
    dc.SetTextAlign(TA_CENTER | TA_TOP);
    dc.TextOut(entry.x, entry.y, entry.text);
    // The DC gives back the picture and the font before the font is deleted.
    dc.DeleteDC();
}

void CAdvanceFunctionDlg::CreateControls()
{
    g_pTaskBar = new CTaskBar;
    g_pTaskBar->CreateBar(kSideBarRect, this);

    const RECT small = {0, 0, 100, 100};
    m_commandTree.Create(WS_CHILD | WS_TABSTOP | TVS_HASBUTTONS | TVS_HASLINES | TVS_LINESATROOT, small, g_pTaskBar,
                         COMMAND_TREE_ID);
    m_commandTree.SetBkColor(kListGround);
    m_commandTree.SetTextColor(kTitleColour);
    m_commandTree.SetFont(m_commandTree.m_font, TRUE);
    m_commandTree.m_hNotifyWnd = m_hWnd;

    const struct {
        CListBoxEx& list;
        UINT id;
        RECT rect;
        int kind;
    } lists[] = {{m_dpiList, DPI_LIST_ID, small, PICKER_LIST_DPI},
                 {m_profileList, PROFILE_LIST_ID, small, PICKER_LIST_PROFILES},
                 {m_macroList, MACRO_LIST_ID, {0, 140, 176, 240}, PICKER_LIST_MACROS}};
    for (const auto& l : lists) {
        l.list.Create(WS_CHILD | WS_VSCROLL | LBS_NOTIFY | LBS_OWNERDRAWVARIABLE | LBS_HASSTRINGS, l.rect, g_pTaskBar,
                      l.id);
        l.list.SetColors(kSelectedFill, kListGround);
        l.list.SetTextColors(kRowText, kSelectedText);
        // Losing the focus must not close the panel.
        l.list.m_bCloseParent = 0;
        l.list.m_hNotifyWnd = m_hWnd;
    }

    FillFromCatalogue();
    CWnd* hosted[4] = {&m_commandTree, &m_dpiList, &m_profileList, &m_macroList};
    const int heights[4] = {220, 200, 240, 240};
    for (int i = 0; i < 4; ++i) g_pTaskBar->AddFolder(m_strFolderCaption[i], hosted[i], heights[i]);

    m_commandTree.RegisterDropTarget(this);
    m_commandTree.m_bDrag = 1;
    for (const auto& l : lists) {
        l.list.RegisterDropTarget(this);
        l.list.m_bDrag = 1;
        l.list.m_nListKind = l.kind;
    }

    // One picture for the four controls' bars; it lives as long as they do.
    m_hScrollSkin =
        (HBITMAP)LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDB_SCROLLBAR), IMAGE_BITMAP, 0, 0, 0);
    if (m_hScrollSkin) {
        CWnd* wrapped[4] = {&m_profileList, &m_macroList, &m_commandTree, &m_dpiList};
        for (CWnd* w : wrapped)
            if (w->m_hWnd) AttachSkinScroll(w, m_hScrollSkin);
    }
}

void CAdvanceFunctionDlg::FillFromCatalogue()
{
    CatalogueData catalogue = LoadCatalogue(CString(g_szAppDir) + L"Functions.xml");
    if (m_commandTree.m_hWnd) m_commandTree.AddCatalogue(catalogue.roots);
    if (m_dpiList.m_hWnd) {
        for (const CString& row : catalogue.dpiRows) m_dpiList.AddItem(row, IDB_LIST_BULLET);
        m_dpiList.SetCurSel(-1);
    }
    if (m_profileList.m_hWnd) {
        for (const CString& row : catalogue.profileRows) m_profileList.AddItem(row, IDB_LIST_BULLET);
        m_profileList.SetCurSel(-1);
    }
    for (int i = 0; i < 4; ++i) m_strFolderCaption[i] = catalogue.folderCaptions[i];
}

void CAdvanceFunctionDlg::SetConfig(ConfigData* config)
{
    m_pConfig = config;
    FillMacroList();
    FillProfileList();
}

int CAdvanceFunctionDlg::CurrentProfile() const
{
    if (!m_pConfig || m_pConfig->PROFILE_ID < 0 || m_pConfig->PROFILE_ID >= PROFILE_COUNT) return -1;
    return m_pConfig->PROFILE_ID;
}

CAPDlg* CAdvanceFunctionDlg::MainWindow() const
{
    if (m_pMainDlg) return m_pMainDlg;
    return m_hWnd ? dynamic_cast<CAPDlg*>(CWnd::FromHandle(GetOwnerHwnd())) : nullptr;
}

void CAdvanceFunctionDlg::FillMacroList()
{
    if (!m_macroList.m_hWnd) return;
    m_macroList.ResetContent();
    int p = CurrentProfile();
    if (p < 0) return;
    for (const MacroData& macro : m_pConfig->profiles[p].macros) {
        if (!macro.MACRO_NAME[0]) continue;
        m_macroList.AddItem(CString(macro.MACRO_NAME, FieldLength(macro.MACRO_NAME)), IDB_LIST_BULLET);
    }
}

void CAdvanceFunctionDlg::FillProfileList()
{
    if (!m_profileList.m_hWnd || !m_pConfig) return;
    m_profileList.ResetContent();
    for (const ProfileData& profile : m_pConfig->profiles)
        m_profileList.AddItem(CString(profile.PROFILE_NAME, FieldLength(profile.PROFILE_NAME)), IDB_LIST_BULLET);
    CXmlDoc doc;
    if (doc.LoadFile(CString(g_szAppDir) + L"Functions.xml")) {
        for (const CString& row : ReadProfileStepRows(doc)) m_profileList.AddItem(row, IDB_LIST_BULLET);
    }
    m_profileList.SetCurSel(-1);
}

void CAdvanceFunctionDlg::SelectCurrentFunction(int n)
{
    // A profile has eleven button slots; any other index edits no button.
    m_nButton = n >= 0 && n < BUTTON_COUNT ? n : -1;
    int p = CurrentProfile();
    if (m_nButton < 0 || p < 0 || !g_pTaskBar) return;
    PickerPlace place = PickerPlaceOfCode(m_pConfig->profiles[p].buttons[m_nButton].code);
    g_pTaskBar->OpenFolder(place.folder);
    switch (place.folder) {
    case PICKER_FOLDER_DPI: m_dpiList.SetCurSel(place.row); break;
    case PICKER_FOLDER_PROFILES: m_profileList.SetCurSel(place.row); break;
    case PICKER_FOLDER_MACROS: m_macroList.SetCurSel(place.row); break;
    case PICKER_FOLDER_COMMANDS:
        if (HTREEITEM item = m_commandTree.ItemAtPosition(place.group - 1, place.item - 1)) {
            // The tree reports a selection change with the command under the mouse pointer;
            // this one is the program's own and must not be taken for a pick.
            HWND notify = m_commandTree.m_hNotifyWnd;
            m_commandTree.m_hNotifyWnd = nullptr;
            m_commandTree.SelectItem(item);
            m_commandTree.m_hNotifyWnd = notify;
            m_commandTree.SetFocus();
        }
        break;
    default: break;
    }
}

void CAdvanceFunctionDlg::PostToMainWindow(UINT message, LPARAM lParam)
{
    HWND owner = m_hWnd ? ::GetParent(m_hWnd) : nullptr;
    if (owner) ::PostMessageW(owner, message, 0, lParam);
}

void CAdvanceFunctionDlg::PostClosePanel()
{
    PostToMainWindow(WM_CLOSE_PANEL, kPickerHidden);
}

LRESULT CAdvanceFunctionDlg::OnSelectCode(WPARAM wParam, LPARAM)
{
    int code = (int)wParam;
    int p = CurrentProfile();
    if (m_nButton < 0 || m_nButton >= BUTTON_COUNT || p < 0 || !IsPickerCode(code)) return 1;
    m_pConfig->profiles[p].buttons[m_nButton].code = code;
    if (CAPDlg* main = MainWindow()) main->UpdateButtons();
    return 1;
}

LRESULT CAdvanceFunctionDlg::OnClearSelection(WPARAM, LPARAM)
{
    m_macroList.SetCurSel(-1);
    m_dpiList.SetCurSel(-1);
    m_profileList.SetCurSel(-1);
    return 1;
}

BOOL CAdvanceFunctionDlg::PreTranslateMessage(MSG* msg)
{
    switch (SidePanelKey(*msg)) {
    case PanelKey::EndsProgram: PostToMainWindow(WM_PANEL_ESCAPE, 0); return TRUE;
    case PanelKey::Ignored: return TRUE;
    case PanelKey::Other: break;
    }
    return CSkinDialog::PreTranslateMessage(msg);
}

BOOL CAdvanceFunctionDlg::OnCommand(WPARAM wParam, LPARAM lParam)
{
    if (lParam && (HWND)lParam == m_closeButton.m_hWnd && HIWORD(wParam) == BN_CLICKED) PostClosePanel();
    return CSkinDialog::OnCommand(wParam, lParam);
}

void CAdvanceFunctionDlg::OnDraw(CDC* dc)
{
    DrawBackdrop(dc, m_bmpNormal, GetClientRect());
}

void CAdvanceFunctionDlg::SetRegion(HRGN region)
{
    // An empty mask gives no region, and the window keeps the one it has.
    if (!region) return;
    m_hRgn = region;
    SetWindowRgn(region, TRUE);
}

void CAdvanceFunctionDlg::SlideIn()
{
    KillTimer(SLIDE_OUT_TIMER);
    // A slide-out under way turns round where it is.
    if (!m_bSliding) m_nSlideOffset = m_nPanelWidth;
    m_bSliding = 1;
    SetTimer(SLIDE_IN_TIMER, SLIDE_TICK_MS);
}

void CAdvanceFunctionDlg::SlideOut()
{
    KillTimer(SLIDE_IN_TIMER);
    if (!m_bSliding) m_nSlideOffset = 0;
    m_bSliding = 1;
    SetTimer(SLIDE_OUT_TIMER, SLIDE_TICK_MS);
}

void CAdvanceFunctionDlg::MoveTo(int x, int y, int width, int height)
{
    if (m_bSliding) {
        SetTargetPos(x, y);
        return;
    }
    MoveWindow(x, y, width, height, TRUE);
}

LRESULT CAdvanceFunctionDlg::OnTimer(WPARAM id, LPARAM)
{
    if (id == SLIDE_IN_TIMER) SlideInTick();
    if (id == SLIDE_OUT_TIMER) SlideOutTick();
    return Default();
}

// The window's left edge lies offset pixels left of the target and its first offset
// columns are cut away, so what shows always begins at the target.
void CAdvanceFunctionDlg::SlideInTick()
{
    if (m_nSlideOffset > 0) {
        HRGN cut = BitmapToRegionPart(m_bmpMask, m_nClipMode, m_nSlideOffset);
        SetWindowPos(nullptr, m_nTargetX - m_nSlideOffset, m_nTargetY, m_nPanelWidth, m_nPanelHeight,
                     SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOREDRAW);
        SetRegion(cut);
        if (m_nSlideOffset == m_nPanelWidth) ShowWindow(SW_SHOW);
        m_nSlideOffset -= SLIDE_STEP;
        RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
        return;
    }
    KillTimer(SLIDE_IN_TIMER);
    SetRegion(BitmapToRegion(m_bmpMask));
    PostToMainWindow(WM_PANEL_STATE, kPickerShown);
    m_bSliding = 0;
}

void CAdvanceFunctionDlg::SlideOutTick()
{
    SetRegion(BitmapToRegionPart(m_bmpMask, m_nClipMode, m_nSlideOffset));
    MoveWindow(m_nTargetX - m_nSlideOffset, m_nTargetY, m_nPanelWidth, m_nPanelHeight, TRUE);
    m_nSlideOffset += SLIDE_STEP;
    if (m_nSlideOffset < m_nPanelWidth) return;
    KillTimer(SLIDE_OUT_TIMER);
    ShowWindow(SW_HIDE);
    SetRegion(BitmapToRegion(m_bmpMask));
    PostToMainWindow(WM_PANEL_STATE, kPickerHidden);
    m_bSliding = 0;
}

LRESULT CAdvanceFunctionDlg::OnDestroy(WPARAM, LPARAM)
{
    LRESULT r = Default();
    KillTimer(SLIDE_IN_TIMER);
    KillTimer(SLIDE_OUT_TIMER);
    m_bSliding = 0;
    // The bar takes the tree and the lists with it, before their bars' picture goes.
    delete g_pTaskBar;
    g_pTaskBar = nullptr;
    if (m_hScrollSkin) DeleteObject(m_hScrollSkin);
    m_hScrollSkin = nullptr;
    m_bmpMask.DeleteObject();
    m_bmpDown.DeleteObject();
    m_bmpOver.DeleteObject();
    m_bmpNormal.DeleteObject();
    return r;
}
