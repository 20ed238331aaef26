#pragma once
#include "skinkit/CBitmapBtn.h"
#include "skinkit/CDMarker.h"
#include "skinkit/CSkinDialog.h"
#include "skinkit/CVMarker.h"

struct ConfigData;

// The sensor-settings panel, docked at the main window's left edge and slid open and
// closed by it: the DPI stage from a popup, the double-click time, wheel lines and Windows
// pointer speed on three horizontal sliders, the device's X and Y sensitivity on two
// vertical ones. Every change goes into the current profile of the main window's working
// copy only; Apply takes it further.
//
// It tells its owner (the main window): WM_CLOSE_PANEL (0, 53) from its close button,
// WM_PANEL_ESCAPE (0, 0) from Esc and Alt+F4.
class CPropertiesDlg : public CSkinDialog {
public:
    CPropertiesDlg();
    // Hidden, owned by the main window.
    BOOL Create(CWnd* owner);
    // Binds the working copy and shows its current profile on the sliders and the DPI button.
    void SetConfig(ConfigData* config);
    // Row 0..3 of the DPI popup (400, 800, 1600, 3200 dpi): its text on the DPI button and its
    // stage in DPI_VALUE. Any other row, or a "Menu.xml" without it, changes nothing.
    void ShowDpiChoice(int index);

    BOOL OnInitDialog() override { return CSkinDialog::OnInitDialog(); }
    BOOL PreTranslateMessage(MSG* msg) override;
    // The dialog keys do not end the panel: it is closed by sliding.
    void OnOK() override {}
    void OnCancel() override {}

    CBitmap m_bmpMask;
    HRGN m_hRgn = nullptr;
    CBitmap m_bmpNormal, m_bmpDown, m_bmpOver;
    CBitmapBtn m_btnClose;
    CBitmapBtn m_btnDpi;
    CDMarker m_markerDoubleClick, m_markerScroll, m_markerSensitivity;
    CVMarker m_markerX, m_markerY;
    ConfigData* m_pConfig = nullptr;
    // 1 while the slide helpers slide the panel.
    BYTE m_bBusy = 0;
    int m_nPanelWidth = 0;
    int m_nPanelHeight = 0;

protected:
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;
    void OnDraw(CDC* dc) override;

    LRESULT OnCreate(WPARAM, LPARAM);
    LRESULT OnDestroy(WPARAM, LPARAM);
    LRESULT OnWindowPosChanged(WPARAM, LPARAM);
    LRESULT OnMarkerChanged(WPARAM, LPARAM);
    LRESULT OnDpiMenuSelect(WPARAM, LPARAM);
    LRESULT OnPopupClosed(WPARAM, LPARAM);
    DECLARE_MESSAGE_MAP()

private:
    void LoadSkin();
    void DrawLabels();
    void OpenOrCloseDpiMenu();
    void PostToOwner(UINT message, LPARAM lParam);
};
