#pragma once
#include "framework/CGdiObject.h"
#include "framework/CWnd.h"
#include "skinkit/MarkerMapping.h"

class CDC;

// What the horizontal and the vertical slider marker share: a child window that maps the
// mouse along its track to a value in [min, max], shows the value as the filled part of
// the track, and reports it to its parent when the left button is released there:
// WM_MARKER_CHANGED (value, control id), posted. A drag runs from the press to the
// release; the value follows the mouse meanwhile without a report. A drag that loses the
// mouse capture to another window ends there, and the value goes back to what it was at
// the press (what the parent last heard).
//
// A panel makes one with CreateMarker, gives it its pictures with SetBitmaps, its range
// (CDMarker::SetRange, CVMarker::SetDefaultRange) and its value with SetPosition.
class CSliderMarker : public CWnd {
public:
    // A visible child at rect (the parent's client coordinates, also the track), range
    // 0..10, value 0. Answers the creation's result.
    BOOL CreateMarker(int id, RECT rect, CWnd* parent);
    // The empty and the full track cut at rect out of two pictures of the parent's size
    // (a panel passes its NORMAL and DOWN pictures and the marker's own rectangle).
    void SetBitmaps(CBitmap& emptySource, CBitmap& fullSource, RECT rect);
    // The value shown, repainted at once; a value outside [min, max] sets min. No report.
    void SetPosition(int value);
    int GetPosition() const { return m_nValue; }
    int GetMin() const { return m_nMin; }
    int GetMax() const { return m_nMax; }
    bool IsDragging() const { return m_bDragging != 0; }

    int m_nID = 0;
    CBitmap m_bmpEmpty;
    CBitmap m_bmpFull;
    int m_bDragging = 0;
    RECT m_rcTrack = {0, 0, 0, 0};
    CWnd* m_pParent = nullptr;
    int m_nMin = 0;
    int m_nMax = 10;
    int m_nValue = 0;

protected:
    explicit CSliderMarker(MarkerAxis axis) : m_axis(axis) {}

    // The value at a point of the marker's client area.
    int ValueAtClientPoint(LPARAM point) const;
    void Draw(CDC* dc);

    LRESULT OnPaint(WPARAM, LPARAM);
    LRESULT OnPrintClient(WPARAM, LPARAM);
    LRESULT OnLButtonDown(WPARAM, LPARAM);
    LRESULT OnMouseMove(WPARAM, LPARAM);
    LRESULT OnLButtonUp(WPARAM, LPARAM);
    LRESULT OnCaptureChanged(WPARAM, LPARAM);
    LRESULT OnKillFocus(WPARAM, LPARAM);
    DECLARE_MESSAGE_MAP()

private:
    const MarkerAxis m_axis;
    int m_nValueAtPress = 0;
};
