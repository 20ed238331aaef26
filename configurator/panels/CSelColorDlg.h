#pragma once
#include "skinkit/CSkinDialog.h"
#include "framework/CGdiObject.h"

// The lighting panel's colour picker: a borderless popup under the colour button showing
// "Skins\Color.bmp" of the program folder inside a 2-pixel black frame. A left click on
// the picture posts the colour of the pixel under the mouse to the panel as
// WM_COLOR_SELECTED (COLORREF, 0); any left or right click closes the picker, and so do
// Esc and Enter. When its window goes, the panel gets WM_POPUP_CLOSED (1, the picker's
// window handle), unless the opener's flag is 1; after a pick it comes after the colour.
//
// The panel's protocol: construct it (panel, the colour button's GetCheckStatePtr) and
// keep it in g_pSelColorDlg; SetPopupPos with the button's bottom-left corner on the
// screen; Create; ShowWindow(SW_SHOW) and SetFocus. To close it, delete it (its window
// goes with it) and clear the pointer; on WM_POPUP_CLOSED delete it when its window is
// gone.
class CSelColorDlg : public CSkinDialog {
public:
    CSelColorDlg(CWnd* panel, int* openerFlag);
    ~CSelColorDlg() override;

    // The colour button's bottom-left corner in screen coordinates, before Create: the
    // picture, not its frame, lines up with the button's left edge.
    void SetPopupPos(int x, int y)
    {
        m_nX = x - 2;
        m_nY = y;
    }
    // Modeless, with the panel as parent.
    BOOL Create();
    using CSkinDialog::Create;

    BOOL OnInitDialog() override;
    void OnOK() override { DestroyWindow(); }
    void OnCancel() override { DestroyWindow(); }

    CBitmap m_bmpFramed;
    RECT m_rcPicture = {0, 0, 0, 0};
    int m_nWidth = 0;
    int m_nHeight = 0;
    int m_nFrame = 4;
    COLORREF m_crPicked = 0;
    int m_nX = 0;
    int m_nY = 0;
    int* m_pOpenerFlag;
    CWnd* m_pPanel;
    bool m_bPlaced = false;

protected:
    void OnDraw(CDC* dc) override;
    bool InPicture(LPARAM point) const;
    void SetCursorFor(LPARAM point) const;

    LRESULT OnLButtonDown(WPARAM, LPARAM);
    LRESULT OnMouseMove(WPARAM, LPARAM);
    LRESULT OnRButtonDown(WPARAM, LPARAM);
    LRESULT OnDestroy(WPARAM, LPARAM);
    LRESULT OnWindowPosChanging(WPARAM, LPARAM);
    DECLARE_MESSAGE_MAP()

private:
    void LoadFramedPicture();
};

// The open colour picker, held by the lighting panel; null when none is open.
extern CSelColorDlg* g_pSelColorDlg;
