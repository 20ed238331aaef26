#pragma once
#include "framework/CScrollBar.h"
#include "skinkit/SkinScrollGeometry.h"

class CDC;

// A scroll bar drawn from the skin picture of 9 × 3 square parts (columns: up, down,
// thumb, track of a vertical bar; left, right, thumb, track of a horizontal one; the
// corner; rows: normal, hot, pressed). It keeps its own copy of the scroll information
// (SBM_SETSCROLLINFO / SBM_GETSCROLLINFO; the system control's own state is not used) and
// sends its parent WM_VSCROLL or WM_HSCROLL (code, position; its own handle) as a system
// bar would: arrows and the track at once and repeated after 500 ms every 100 ms while
// held, SB_THUMBTRACK while the thumb is dragged and SB_THUMBPOSITION when it is let go.
// A press also ends, as its release would, when the mouse is taken from the bar (another
// window's capture, WM_CANCELMODE) or its window is disabled (a box opened over it).
// SBS_VERT in its style makes it vertical; a double click does nothing.
class CSkinScrollBar : public CScrollBar {
public:
    CSkinScrollBar();

    // The skin (not owned); the bar becomes one part thick.
    void SetBitmap(HBITMAP skin);
    bool IsVertical() const { return (GetStyle() & SBS_VERT) != 0; }
    bool IsDragging() const { return m_bDragging != 0; }

    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

    HBITMAP m_hSkin = nullptr;
    int m_nPartWidth = 0;
    int m_nPartHeight = 0;
    int m_nLength = 0;
    SCROLLINFO m_si;
    int m_bDragging = 0;
    POINT m_ptDrag = {0, 0};
    int m_nDragStartPos = 0;
    int m_nPressedPart = -1;
    int m_bAutoRepeat = 0;
    int m_nHotPart = -1;
    int m_bOutside = 0;
    int m_bTracking = 0;

protected:
    static constexpr UINT_PTR kRepeatTimer = 100;
    static constexpr UINT_PTR kFirstRepeatTimer = 200;

    ScrollParts Parts(bool forHitTest) const;
    int Along(POINT client) const { return IsVertical() ? client.y : client.x; }
    int PartAt(POINT client) const;
    RECT PartRect(int part) const;
    void Notify(int code, int position);
    void Repaint();
    void Draw(CDC& dc);
    void FollowMouse(POINT client, bool fromLeave);
    void StopRepeat();
    // The press or the drag ended; the pointer at client over the bar, or away.
    void EndPress(POINT client, bool pointerOnBar);
    // The press ended from outside: the mouse is let go and no release will come.
    void CancelPress();
    // False while the bar or a window it lies in is disabled.
    bool TakesInput() const;

    LRESULT OnSize(WPARAM, LPARAM);
    LRESULT OnPaint(WPARAM, LPARAM);
    LRESULT OnLButtonDown(WPARAM, LPARAM);
    LRESULT OnMouseMove(WPARAM, LPARAM);
    LRESULT OnLButtonUp(WPARAM, LPARAM);
    LRESULT OnTimer(WPARAM, LPARAM);
    LRESULT OnMouseLeave(WPARAM, LPARAM);
    LRESULT OnCaptureChanged(WPARAM, LPARAM);
    LRESULT OnCancelMode(WPARAM, LPARAM);
    DECLARE_MESSAGE_MAP()

private:
    // Set while the bar lets the mouse go itself, at a release.
    bool m_bReleasing = false;
};
