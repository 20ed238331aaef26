#pragma once
#include "framework/CDialog.h"
#include "framework/CGdiObject.h"

class CDC;

// The ground of a skinned dialog: nothing is erased, WM_PAINT and WM_PRINTCLIENT draw
// the whole client area through one off-screen buffer in OnDraw (so a test can draw a
// hidden window too), and the window can be cut to the shape of a mask picture.
class CSkinDialog : public CDialog {
public:
    explicit CSkinDialog(UINT templateId, CWnd* parent = nullptr) : CDialog(templateId, parent) {}

protected:
    virtual void OnDraw(CDC* dc) {}
    // The region of the mask's non-white pixels becomes the window's shape (redrawn); an
    // empty mask leaves the window rectangular. The handle, kept in region, belongs to
    // the system from then on.
    void ApplyMaskRegion(CBitmap& mask, HRGN& region);

    LRESULT OnEraseBkgnd(WPARAM, LPARAM) { return TRUE; }
    LRESULT OnPaint(WPARAM, LPARAM);
    LRESULT OnPrintClient(WPARAM, LPARAM);
    DECLARE_MESSAGE_MAP()
};
