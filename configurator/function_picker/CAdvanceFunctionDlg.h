#pragma once
#include "framework/CDialog.h"

struct ConfigData;
class CAPDlg;

// The function picker: the panel that slides out at the main window's right edge and
// gives a mouse button any function. Until the panel is built it is an empty hidden
// window that keeps the record it edits and the button it was last asked to show; its
// slide does nothing, so it never reports itself shown.
class CAdvanceFunctionDlg : public CDialog {
public:
    CAdvanceFunctionDlg();
    // Modeless and hidden; with no parent the main window owns it.
    BOOL Create(CWnd* parent = nullptr);
    void SetConfig(ConfigData* config) { m_pConfig = config; }
    // Shows the function of mouse button n (0..10; -1 for none).
    void SelectCurrentFunction(int n) { m_nButton = n; }
    // Has the main window hide the panel (WM_CLOSE_PANEL 54, posted to the owner).
    void PostClosePanel();
    void SetTargetPos(int x, int y)
    {
        m_nTargetX = x;
        m_nTargetY = y;
    }
    void SetSlideClip() { m_nClipMode = 1; }
    void SlideIn() {}
    void SlideOut() {}
    void MoveTo(int x, int y, int width, int height) {}

    int m_nPanelWidth = 0;
    int m_nPanelHeight = 0;
    int m_nTargetX = 0;
    int m_nTargetY = 0;
    int m_nClipMode = 0;
    int m_nButton = -1;
    CAPDlg* m_pMainDlg = nullptr;
    ConfigData* m_pConfig = nullptr;
};

// The one picker, made by the main window on first use.
extern CAdvanceFunctionDlg* g_pAdvanceFunctionDlg;
