#include "configurator/panels/CPropertiesDlg.h"
#include "configurator/panels/PanelSettings.h"
#include "configurator/GearloomRes.h"
#include "skinkit/PopupMenus.h"
#include "skinkit/SkinButtons.h"
#include "skinkit/SkinDialogParts.h"
#include "skinkit/SkinFiles.h"
#include "skinkit/SkinHandlers.h"
#include "skinkit/SkinPicture.h"
#include "core/ConfigData.h"
#include "core/Messages.h"
#include "core/SkinEntry.h"
#include "framework/CDC.h"

namespace {

constexpr COLORREF kLabelColour = 0x00CCFF;

// The current profile of the record, or null while none is bound.
ProfileData* CurrentProfile(ConfigData* config)
{
    if (!config || config->PROFILE_ID < 0 || config->PROFILE_ID >= PROFILE_COUNT) return nullptr;
    return &config->profiles[config->PROFILE_ID];
}

}  // namespace

BEGIN_MESSAGE_MAP(CPropertiesDlg, CSkinDialog)
    ON_MESSAGE(WM_CREATE, OnCreate)
    ON_MESSAGE(WM_DESTROY, OnDestroy)
    ON_MESSAGE(WM_WINDOWPOSCHANGED, OnWindowPosChanged)
    ON_MESSAGE(WM_MARKER_CHANGED, OnMarkerChanged)
    ON_MESSAGE(WM_DPIMENU_SELECT, OnDpiMenuSelect)
    ON_MESSAGE(WM_POPUP_CLOSED, OnPopupClosed)
END_MESSAGE_MAP()

CPropertiesDlg::CPropertiesDlg() : CSkinDialog(IDD_PROPERTIES_DIALOG)
{
}

BOOL CPropertiesDlg::Create(CWnd* owner)
{
    return CSkinDialog::Create(IDD_PROPERTIES_DIALOG, owner);
}

LRESULT CPropertiesDlg::OnCreate(WPARAM, LPARAM)
{
    if (Default() == -1) return -1;
    LoadSkin();
    DrawLabels();
    ApplyMaskRegion(m_bmpMask, m_hRgn);
    return 0;
}

void CPropertiesDlg::LoadSkin()
{
    SIZE size = LoadWindowPictures(L"MOUSE_PROPERTIES", m_bmpNormal, m_bmpDown, m_bmpOver, m_bmpMask);
    m_nPanelWidth = size.cx;
    m_nPanelHeight = size.cy;
    MoveWindow(0, 0, size.cx, size.cy, TRUE);

    std::vector<SkinItem> strings = ReadSkinSection(L"Strings.xml", L"MOUSE_PROPERTIES");
    const SkinButtonRow rows[] = {
        {L"CLOSE_PROPERTIES", &m_btnClose, SKIN_CHECK | SKIN_TOOLTIP_LATER | SKIN_CAPTION},
        {L"DPI_MENU", &m_btnDpi, SKIN_CHECK | SKIN_TOOLTIP_LATER},
    };
    CreateSkinButtons(this, strings, rows, 2, {m_bmpNormal, m_bmpOver, m_bmpDown, m_bmpNormal});
    m_btnClose.m_bUpwardCaption[0] = 1;
    m_btnDpi.m_nCaptionRight = 26;

    const struct {
        const wchar_t* entry;
        CSliderMarker& marker;
        int id;
    } markers[] = {
        {L"SLIDERS_DOUBLE_CLICK_SPEED", m_markerDoubleClick, MARKER_DOUBLE_CLICK},
        {L"SLIDERS_SCROLL_SPEED", m_markerScroll, MARKER_SCROLL},
        {L"SLIDERS_SENSITIVITY", m_markerSensitivity, MARKER_SENSITIVITY},
        {L"SLIDERS_ADVANCE_SENSITIVITY_X", m_markerX, MARKER_SENSITIVITY_X},
        {L"SLIDERS_ADVANCE_SENSITIVITY_Y", m_markerY, MARKER_SENSITIVITY_Y},
    };
    for (const auto& m : markers) {
        const CString* text = FindSkinItem(strings, m.entry);
        if (!text) continue;
        SkinEntry entry;
        ParseSkinEntry(*text, entry);
        // The mapping divides by the track's extent.
        if (entry.rect.right <= entry.rect.left || entry.rect.bottom <= entry.rect.top) continue;
        if (!m.marker.CreateMarker(m.id, entry.rect, this)) continue;
        m.marker.SetBitmaps(m_bmpNormal, m_bmpDown, entry.rect);
    }
}

LRESULT CPropertiesDlg::OnWindowPosChanged(WPARAM, LPARAM lParam)
{
    // The tooltips are made when the panel is first shown: hidden, it needs none.
    if (((const WINDOWPOS*)lParam)->flags & SWP_SHOWWINDOW) {
        CBitmapBtn* const buttons[] = {&m_btnClose, &m_btnDpi};
        MakeButtonTips(buttons, 2);
    }
    return Default();
}

void CPropertiesDlg::DrawLabels()
{
    if (!m_bmpNormal.GetSafeHandle()) return;
    std::vector<SkinItem> strings = ReadSkinSection(L"Strings.xml", L"MOUSE_PROPERTIES");
    CClientDC window(this);
    CDC dc;
    if (!dc.CreateCompatibleDC(&window)) return;
    dc.SelectObject(m_bmpNormal);
    dc.SetBkMode(TRANSPARENT);
    dc.SetTextColor(kLabelColour);
    CFont font;
    font.CreateFont(12, 0, 0, 0, FW_BOLD, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, FF_SWISS, L"MS Shell Dlg");
    dc.SelectObject(font);
    const struct {
        const wchar_t* entry;
        bool centred;
    } labels[] = {
        {L"MOUSE_PROPERTIES", true},      {L"DPI_VALUE", false},
        {L"DOUBLE_CLICK_SPEED", false},   {L"SCROLL_SPEED", false},
        {L"SENSITIVITY", false},          {L"ADVANCED_SENSITIVITY", false},
        {L"ADVANCED_SENSITIVITY_X", false}, {L"ADVANCED_SENSITIVITY_Y", false},
    };
    for (const auto& label : labels) DrawLabelEntry(&dc, strings, label.entry, label.centred);
    // The DC gives back the picture and the font before they are deleted.
    dc.DeleteDC();
}

void CPropertiesDlg::OnDraw(CDC* dc)
{
    DrawBackdrop(dc, m_bmpNormal, GetClientRect());
}

void CPropertiesDlg::SetConfig(ConfigData* config)
{
    m_pConfig = config;
    ProfileData* p = CurrentProfile(config);
    if (!p) return;
    m_markerDoubleClick.SetRange(950, 150);
    m_markerScroll.SetRange(18, 1);
    m_markerSensitivity.SetRange(20, 1);
    m_markerX.SetDefaultRange();
    m_markerY.SetDefaultRange();
    CSliderMarker* markers[] = {&m_markerDoubleClick, &m_markerScroll, &m_markerSensitivity, &m_markerX, &m_markerY};
    for (CSliderMarker* m : markers)
        if (m->m_hWnd) m->SetPosition(MarkerValueOf(*p, m->m_nID));
    // Stages 4..1 are the rows 0..3; any other stage shows no choice.
    ShowDpiChoice(4 - p->DPI_VALUE);
}

void CPropertiesDlg::ShowDpiChoice(int index)
{
    CString text;
    if (!ReadMenuItem(L"DPI_MENU", DpiMenuItem(index), text)) return;
    m_btnDpi.SetCaption(text);
    if (m_btnDpi.m_hWnd) m_btnDpi.RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
    if (ProfileData* p = CurrentProfile(m_pConfig)) p->DPI_VALUE = DpiStageOfRow(index);
}

LRESULT CPropertiesDlg::OnMarkerChanged(WPARAM wParam, LPARAM lParam)
{
    // Only the working copy changes; the device hears of it after Apply.
    if (ProfileData* p = CurrentProfile(m_pConfig)) StoreMarkerValue(*p, (int)lParam, (int)wParam);
    return 0;
}

BOOL CPropertiesDlg::OnCommand(WPARAM wParam, LPARAM lParam)
{
    HWND from = (HWND)lParam;
    // A quick second click on a button comes as a double click: it closes the popup the
    // first one opened.
    if (from && (HIWORD(wParam) == BN_CLICKED || HIWORD(wParam) == BN_DOUBLECLICKED)) {
        if (from == m_btnClose.m_hWnd)
            PostToOwner(WM_CLOSE_PANEL, 53);
        else if (from == m_btnDpi.m_hWnd)
            OpenOrCloseDpiMenu();
    }
    return CSkinDialog::OnCommand(wParam, lParam);
}

void CPropertiesDlg::OpenOrCloseDpiMenu()
{
    // A second click on the button closes the open popup.
    if (g_pDpiMenu) {
        ForgetPopup(g_pDpiMenu);
        return;
    }
    RECT r = m_btnDpi.GetClientRect();
    m_btnDpi.ClientToScreen(&r);
    g_pDpiMenu = new CDPIMenu(this, m_btnDpi.GetHoverFlagPtr());
    g_pDpiMenu->SetMenuPos(r.left, r.bottom);
    g_pDpiMenu->Create();
    g_pDpiMenu->ShowWindow(SW_SHOW);
}

LRESULT CPropertiesDlg::OnDpiMenuSelect(WPARAM wParam, LPARAM)
{
    ForgetPopup(g_pDpiMenu);
    ShowDpiChoice((int)wParam);
    return 1;
}

LRESULT CPropertiesDlg::OnPopupClosed(WPARAM, LPARAM)
{
    ForgetPopupIfGone(g_pDpiMenu);
    return 1;
}

LRESULT CPropertiesDlg::OnDestroy(WPARAM, LPARAM)
{
    LRESULT r = Default();
    ForgetPopup(g_pDpiMenu);
    return r;
}

BOOL CPropertiesDlg::PreTranslateMessage(MSG* msg)
{
    switch (SidePanelKey(*msg)) {
    case PanelKey::EndsProgram: PostToOwner(WM_PANEL_ESCAPE, 0); return TRUE;
    case PanelKey::Ignored: return TRUE;
    case PanelKey::Other: break;
    }
    return CSkinDialog::PreTranslateMessage(msg);
}

void CPropertiesDlg::PostToOwner(UINT message, LPARAM lParam)
{
    if (HWND owner = GetOwnerHwnd()) ::PostMessageW(owner, message, 0, lParam);
}
