#include "configurator/panels/CIllumination.h"
#include "configurator/panels/CSelColorDlg.h"
#include "configurator/panels/PanelSettings.h"
#include "configurator/main_window/CAPDlg.h"
#include "configurator/GearloomRes.h"
#include "skinkit/PopupMenus.h"
#include "skinkit/SkinButtons.h"
#include "skinkit/SkinDialogParts.h"
#include "skinkit/SkinFiles.h"
#include "skinkit/SkinHandlers.h"
#include "skinkit/SkinPicture.h"
#include "skinkit/SkinRegion.h"
#include "core/Messages.h"
#include "core/SkinEntry.h"
#include "framework/CDC.h"

namespace {

constexpr COLORREF kLabelColour = 0x00CCFF;
constexpr UINT_PTR SLIDE_IN_TIMER = 100;
constexpr UINT_PTR SLIDE_OUT_TIMER = 101;

ProfileData* CurrentProfile(ConfigData* config)
{
    if (!config || config->PROFILE_ID < 0 || config->PROFILE_ID >= PROFILE_COUNT) return nullptr;
    return &config->profiles[config->PROFILE_ID];
}

}  // namespace

BEGIN_MESSAGE_MAP(CIllumination, CSkinDialog)
    ON_MESSAGE(WM_CREATE, OnCreate)
    ON_MESSAGE(WM_LBUTTONDOWN, OnButtonDown)
    ON_MESSAGE(WM_RBUTTONDOWN, OnButtonDown)
    ON_MESSAGE(WM_DESTROY, OnDestroy)
    ON_MESSAGE(WM_WINDOWPOSCHANGED, OnWindowPosChanged)
    ON_MESSAGE(WM_MOVE, OnMove)
    ON_MESSAGE(WM_TIMER, OnTimer)
    ON_MESSAGE(WM_INTENSITYMENU_SELECT, OnIntensityMenuSelect)
    ON_MESSAGE(WM_PULSATIONMENU_SELECT, OnPulsationMenuSelect)
    ON_MESSAGE(WM_POPUP_CLOSED, OnPopupClosed)
    ON_MESSAGE(WM_COLOR_SELECTED, OnColorSelected)
END_MESSAGE_MAP()

CIllumination::CIllumination() : CSkinDialog(IDD_ILLUMINATION_DIALOG)
{
}

BOOL CIllumination::Create(CWnd* owner)
{
    return CSkinDialog::Create(IDD_ILLUMINATION_DIALOG, owner);
}

LRESULT CIllumination::OnCreate(WPARAM, LPARAM)
{
    if (Default() == -1) return -1;
    LoadSkin();
    DrawLabels();
    ApplyMaskRegion(m_bmpMask, m_hRgn);
    return 0;
}

void CIllumination::LoadSkin()
{
    SIZE size = LoadWindowPictures(L"ILLUMINATION_SETTING", m_bmpNormal, m_bmpDown, m_bmpOver, m_bmpMask);
    m_nPanelWidth = size.cx;
    m_nPanelHeight = size.cy;
    MoveWindow(0, 0, size.cx, size.cy, TRUE);

    std::vector<SkinItem> strings = ReadSkinSection(L"Strings.xml", L"ILLUMINATION_SETTINGS");
    const unsigned plain = SKIN_CHECK | SKIN_TOOLTIP_LATER;
    const SkinButtonRow rows[] = {
        {L"CLOSE_ILLUMINATION", &m_btnClose, plain | SKIN_CAPTION},
        {L"INTENSITY_MENU", &m_btnIntensity, plain},
        {L"PULSATION_MENU", &m_btnPulsation, plain},
    };
    CreateSkinButtons(this, strings, rows, 3, {m_bmpNormal, m_bmpOver, m_bmpDown, m_bmpNormal});
    m_btnClose.m_bBoldCaption[0] = 1;

    if (const CString* text = FindSkinItem(strings, L"COLOR_MENU")) {
        SkinEntry entry;
        ParseSkinEntry(*text, entry);
        if (m_btnColor.Create(L"", WS_CHILD | WS_VISIBLE, entry.rect, this, 0)) {
            m_btnColor.SetBitmaps(m_bmpNormal, m_bmpOver, m_bmpDown, m_bmpNormal, entry.rect);
            m_btnColor.SetCheck(entry.flag ? 1 : 0);
            m_strColorTip = entry.text;
        }
    }
}

LRESULT CIllumination::OnWindowPosChanged(WPARAM, LPARAM lParam)
{
    // The tooltips are made when the panel is first shown: hidden, it needs none.
    if ((((const WINDOWPOS*)lParam)->flags & SWP_SHOWWINDOW) && !m_bTipsMade) {
        m_bTipsMade = true;
        CBitmapBtn* const buttons[] = {&m_btnClose, &m_btnIntensity, &m_btnPulsation};
        MakeButtonTips(buttons, 3);
        if (m_btnColor.m_hWnd) m_btnColor.SetToolTipText(&m_strColorTip);
    }
    return Default();
}

void CIllumination::DrawLabels()
{
    if (!m_bmpNormal.GetSafeHandle()) return;
    std::vector<SkinItem> strings = ReadSkinSection(L"Strings.xml", L"ILLUMINATION_SETTINGS");
    CClientDC window(this);
    CDC dc;
    if (!dc.CreateCompatibleDC(&window)) return;
    dc.SelectObject(m_bmpNormal);
    dc.SetBkMode(TRANSPARENT);
    dc.SetTextColor(kLabelColour);
    CFont fontA, fontB;
    fontA.CreateFont(12, 0, 0, 0, FW_BOLD, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, FF_SWISS, L"MS Shell Dlg");
    fontB.CreateFont(-10, 0, 0, 0, FW_BOLD, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0, L"MS Shell Dlg");
    const struct {
        const wchar_t* entry;
        CFont& font;
        bool centred;
    } labels[] = {
        {L"ILLUMINATION_SETTINGS", fontA, true}, {L"COLOR", fontA, false},
        {L"INTENSITY", fontA, false},            {L"PULSATION", fontA, false},
        {L"ILLUMINATION_TITLE", fontB, false},
    };
    for (const auto& label : labels) {
        dc.SelectObject(label.font);
        DrawLabelEntry(&dc, strings, label.entry, label.centred);
    }
    // The DC gives back the picture and the fonts before they are deleted.
    dc.DeleteDC();
}

void CIllumination::OnDraw(CDC* dc)
{
    DrawBackdrop(dc, m_bmpNormal, GetClientRect());
}

void CIllumination::SetConfig(ConfigData* config)
{
    m_pConfig = config;
    ProfileData* p = CurrentProfile(config);
    if (!p) return;
    ShowColor(p->LED_COLOR);
    // Levels 4..1 are the rows 0..3.
    ShowIntensity(4 - p->LED_INTENSITY);
    ShowPulsation(4 - p->LED_PULSATION);
}

void CIllumination::ShowColor(COLORREF color)
{
    m_btnColor.SetColor(color);
    if (m_btnColor.m_hWnd) m_btnColor.RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
}

void CIllumination::ShowIntensity(int index)
{
    ShowLightLevel(m_btnIntensity, L"INTENSITY_MENU", index, &ProfileData::LED_INTENSITY);
}

void CIllumination::ShowPulsation(int index)
{
    ShowLightLevel(m_btnPulsation, L"PULSATION_MENU", index, &ProfileData::LED_PULSATION);
}

void CIllumination::ShowLightLevel(CBitmapBtn& button, const wchar_t* section, int index, int32_t ProfileData::*level)
{
    CString text;
    if (!ReadMenuItem(section, LightLevelItem(index), text)) return;
    button.SetCaption(text);
    button.m_nCaptionRight = 26;
    if (button.m_hWnd) button.RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
    if (ProfileData* p = CurrentProfile(m_pConfig)) p->*level = LightLevelOfRow(index);
}

BOOL CIllumination::OnCommand(WPARAM wParam, LPARAM lParam)
{
    HWND from = (HWND)lParam;
    // A quick second click on a button comes as a double click: it closes the popup the
    // first one opened.
    if (from && (HIWORD(wParam) == BN_CLICKED || HIWORD(wParam) == BN_DOUBLECLICKED)) {
        if (from == m_btnClose.m_hWnd) {
            PostToOwner(WM_CLOSE_PANEL, 55);
        } else if (from == m_btnColor.m_hWnd) {
            OpenOrCloseColorPicker();
        } else if (from == m_btnIntensity.m_hWnd || from == m_btnPulsation.m_hWnd) {
            bool intensity = from == m_btnIntensity.m_hWnd;
            CBitmapBtn& button = intensity ? m_btnIntensity : m_btnPulsation;
            RECT r = button.GetClientRect();
            button.ClientToScreen(&r);
            // A second click on the button closes the open popup.
            CSkinPopupMenu* opened = nullptr;
            if (intensity && g_pIntensityMenu) {
                ForgetPopup(g_pIntensityMenu);
            } else if (!intensity && g_pPulsationMenu) {
                ForgetPopup(g_pPulsationMenu);
            } else if (intensity) {
                opened = g_pIntensityMenu = new CIntensityMenu(this, button.GetHoverFlagPtr());
            } else {
                opened = g_pPulsationMenu = new CPulsationMenu(this, button.GetHoverFlagPtr());
            }
            if (opened) {
                opened->SetMenuPos(r.left, r.bottom);
                opened->Create();
                opened->ShowWindow(SW_SHOW);
            }
        }
    }
    return CSkinDialog::OnCommand(wParam, lParam);
}

void CIllumination::OpenOrCloseColorPicker()
{
    if (g_pSelColorDlg) {
        ForgetPopup(g_pSelColorDlg);
        return;
    }
    RECT r = m_btnColor.GetClientRect();
    m_btnColor.ClientToScreen(&r);
    g_pSelColorDlg = new CSelColorDlg(this, m_btnColor.GetCheckStatePtr());
    g_pSelColorDlg->SetPopupPos(r.left, r.bottom);
    if (!g_pSelColorDlg->Create()) {
        ForgetPopup(g_pSelColorDlg);
        return;
    }
    g_pSelColorDlg->ShowWindow(SW_SHOW);
    g_pSelColorDlg->SetFocus();
}

LRESULT CIllumination::OnIntensityMenuSelect(WPARAM wParam, LPARAM)
{
    ForgetPopup(g_pIntensityMenu);
    ShowIntensity((int)wParam);
    return 0;
}

LRESULT CIllumination::OnPulsationMenuSelect(WPARAM wParam, LPARAM)
{
    ForgetPopup(g_pPulsationMenu);
    ShowPulsation((int)wParam);
    return 0;
}

LRESULT CIllumination::OnPopupClosed(WPARAM, LPARAM)
{
    ForgetPopupIfGone(g_pSelColorDlg);
    ForgetPopupIfGone(g_pIntensityMenu);
    ForgetPopupIfGone(g_pPulsationMenu);
    return 1;
}

LRESULT CIllumination::OnColorSelected(WPARAM wParam, LPARAM)
{
    COLORREF color = (COLORREF)wParam;
    if (ProfileData* p = CurrentProfile(m_pConfig)) p->LED_COLOR = color;
    ShowColor(color);
    // The profile buttons show their profiles' colours too.
    if (CAPDlg* main = dynamic_cast<CAPDlg*>(CWnd::FromHandle(GetOwnerHwnd()))) main->RefreshFromProfile();
    return 0;
}

LRESULT CIllumination::OnButtonDown(WPARAM, LPARAM)
{
    ForgetPopup(g_pSelColorDlg);
    return Default();
}

LRESULT CIllumination::OnMove(WPARAM, LPARAM)
{
    LRESULT r = Default();
    ForgetPopup(g_pSelColorDlg);
    return r;
}

LRESULT CIllumination::OnDestroy(WPARAM, LPARAM)
{
    LRESULT r = Default();
    KillTimer(SLIDE_IN_TIMER);
    KillTimer(SLIDE_OUT_TIMER);
    m_bBusy = 0;
    ForgetPopup(g_pSelColorDlg);
    ForgetPopup(g_pIntensityMenu);
    ForgetPopup(g_pPulsationMenu);
    return r;
}

void CIllumination::SlideIn()
{
    m_nOffset = m_nPanelHeight;
    m_bBusy = 1;
    SetTimer(SLIDE_IN_TIMER, 1);
}

void CIllumination::SlideOut()
{
    m_nOffset = 0;
    m_bBusy = 1;
    SetTimer(SLIDE_OUT_TIMER, 1);
}

void CIllumination::MoveTo(int x, int y, int width, int height)
{
    // While it slides, the slide ends at the new place.
    if (m_bBusy)
        SetTargetPos(x, y);
    else
        MoveWindow(x, y, width, height, TRUE);
}

LRESULT CIllumination::OnTimer(WPARAM wParam, LPARAM)
{
    if (wParam == SLIDE_IN_TIMER || wParam == SLIDE_OUT_TIMER) SlideTick(wParam == SLIDE_IN_TIMER);
    return Default();
}

void CIllumination::SlideTick(bool slidingIn)
{
    // The rows above the line are cut away, so the panel seems to come out of it.
    SetCutRegion(m_nOffset);
    MoveWindow(m_nTargetX, m_nTargetY - m_nOffset, m_nPanelWidth, m_nPanelHeight, TRUE);
    if (slidingIn && m_nOffset == m_nPanelHeight) ShowWindow(SW_SHOW);
    m_nOffset = NextDropSlideOffset(slidingIn, m_nOffset);
    if (!DropSlideEnds(slidingIn, m_nOffset, m_nPanelHeight)) return;

    KillTimer(slidingIn ? SLIDE_IN_TIMER : SLIDE_OUT_TIMER);
    if (!slidingIn) ShowWindow(SW_HIDE);
    SetFullRegion();
    MoveWindow(m_nTargetX, m_nTargetY, m_nPanelWidth, m_nPanelHeight, TRUE);
    PostToOwner(WM_PANEL_STATE, slidingIn ? 52 : 55);
    m_bBusy = 0;
}

void CIllumination::SetCutRegion(int offset)
{
    HRGN region = BitmapToRegionPart((HBITMAP)m_bmpMask.GetSafeHandle(), m_nClipMode, offset);
    // The window owns the region from here on, and deletes the one it had.
    if (region) {
        m_hRgn = region;
        SetWindowRgn(region, TRUE);
    }
}

void CIllumination::SetFullRegion()
{
    ApplyMaskRegion(m_bmpMask, m_hRgn);
}

BOOL CIllumination::PreTranslateMessage(MSG* msg)
{
    switch (SidePanelKey(*msg)) {
    case PanelKey::EndsProgram: PostToOwner(WM_PANEL_ESCAPE, 0); return TRUE;
    case PanelKey::Ignored: return TRUE;
    case PanelKey::Other: break;
    }
    return CSkinDialog::PreTranslateMessage(msg);
}

void CIllumination::PostToOwner(UINT message, LPARAM lParam)
{
    if (HWND owner = GetOwnerHwnd()) ::PostMessageW(owner, message, 0, lParam);
}
