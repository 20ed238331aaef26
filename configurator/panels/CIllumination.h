#pragma once
#include "skinkit/CBitmapBtn.h"
#include "skinkit/CColorBtn.h"
#include "skinkit/CSkinDialog.h"

#include "core/ConfigData.h"

// The lighting panel, docked under the main window's bottom edge: the light's colour from
// the colour picker, its intensity and pulsation from two popups. Every change goes into the
// current profile of the main window's working copy only; Apply takes it further.
//
// It slides down out of a line and back up into it on timers of its own (100 in, 101 out),
// 10 pixels a tick, its rows above the line cut away. It tells its owner (the main window):
// WM_PANEL_STATE (0, 52) when it has slid in and (0, 55) when it has slid out,
// WM_CLOSE_PANEL (0, 55) from its close button, WM_PANEL_ESCAPE (0, 0) from Esc and Alt+F4.
class CIllumination : public CSkinDialog {
public:
    CIllumination();
    // Hidden, owned by the main window.
    BOOL Create(CWnd* owner);
    // Binds the working copy and shows its current profile's light.
    void SetConfig(ConfigData* config);
    void ShowColor(COLORREF color);
    // Row 0..3 of the popup (HIGH, MEDIUM, LOW, OFF): its text on the button and its level
    // 4..1 in LED_INTENSITY or LED_PULSATION. Any other row, or a "Menu.xml" without it,
    // changes nothing.
    void ShowIntensity(int index);
    void ShowPulsation(int index);

    // The slide: the place it ends at (screen coordinates), the cut of its rows, in and out.
    void SetTargetPos(int x, int y)
    {
        m_nTargetX = x;
        m_nTargetY = y;
    }
    void SetSlideClip() { m_nClipMode = 2; }
    void SlideIn();
    void SlideOut();
    // Moves the panel at once, or while it slides only the place the slide ends at.
    void MoveTo(int x, int y, int width, int height);

    BOOL OnInitDialog() override { return CSkinDialog::OnInitDialog(); }
    BOOL PreTranslateMessage(MSG* msg) override;
    // The dialog keys do not end the panel: it is closed by sliding.
    void OnOK() override {}
    void OnCancel() override {}

    int m_nPanelWidth = 0;
    int m_nPanelHeight = 0;
    int m_nClipMode = 0;
    int m_nOffset = 0;
    int m_nTargetX = 0;
    int m_nTargetY = 0;
    BYTE m_bBusy = 0;
    CBitmap m_bmpMask;
    HRGN m_hRgn = nullptr;
    CBitmap m_bmpNormal, m_bmpDown, m_bmpOver;
    CBitmapBtn m_btnClose;
    CColorBtn m_btnColor;
    CBitmapBtn m_btnIntensity;
    CBitmapBtn m_btnPulsation;
    ConfigData* m_pConfig = nullptr;
    // The colour button's tooltip text until the panel is first shown, and whether the
    // tooltips are made.
    CString m_strColorTip;
    bool m_bTipsMade = false;

protected:
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;
    void OnDraw(CDC* dc) override;

    LRESULT OnCreate(WPARAM, LPARAM);
    LRESULT OnButtonDown(WPARAM, LPARAM);
    LRESULT OnDestroy(WPARAM, LPARAM);
    LRESULT OnWindowPosChanged(WPARAM, LPARAM);
    LRESULT OnMove(WPARAM, LPARAM);
    LRESULT OnTimer(WPARAM, LPARAM);
    LRESULT OnIntensityMenuSelect(WPARAM, LPARAM);
    LRESULT OnPulsationMenuSelect(WPARAM, LPARAM);
    LRESULT OnPopupClosed(WPARAM, LPARAM);
    LRESULT OnColorSelected(WPARAM, LPARAM);
    DECLARE_MESSAGE_MAP()

private:
    void LoadSkin();
    void DrawLabels();
    void SlideTick(bool slidingIn);
    void SetCutRegion(int offset);
    void SetFullRegion();
    void OpenOrCloseColorPicker();
    void ShowLightLevel(CBitmapBtn& button, const wchar_t* section, int index, int32_t ProfileData::*level);
    void PostToOwner(UINT message, LPARAM lParam);
};
