#pragma once
#include "framework/CWnd.h"
#include "framework/CGdiObject.h"
#include "skinkit/CBitmapBtn.h"
#include "skinkit/COleDropTargetEx.h"
#include "framework/CListBox.h"
#include "framework/CTreeCtrl.h"
#include <vector>

// The function picker's surroundings in miniature, for its controls' tests.

// A message a window was sent or posted, WM_USER and above.
struct Notice {
    UINT message;
    WPARAM w;
    LPARAM l;
};

// A popup that holds the controls under test and records every WM_USER-based message it
// gets (their notices, and what its buttons post). It also holds two drop targets as the
// main window has them: a mouse-button image (drop kind 2, codes 16..1200) and a profile
// button (drop kind 1, 0..9).
class PickerHost : public CWnd {
public:
    bool Open(int x, int y, int width, int height);
    // The mouse-button image and the profile button, in the host's client area.
    bool AddTargets(const RECT& functionRect, const RECT& profileRect);
    std::vector<Notice> notices;
    std::vector<int> Codes(UINT message) const;
    CBitmapBtn functionButton, profileButton;
    CBitmap normal, over, down;

    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
};

// A window of its own that takes dropped numbers in [low, high] through COleDropTargetEx.
class CodeTarget : public CWnd {
public:
    CodeTarget(int low, int high) : m_low(low), m_high(high) {}
    bool Open(int x, int y);
    std::vector<int> dropped;
    COleDropTargetEx target;

protected:
    LRESULT OnOver(WPARAM w, LPARAM);
    LRESULT OnDrop(WPARAM w, LPARAM);
    // The drop goes on as the plain drop.
    LRESULT OnDropEx(WPARAM, LPARAM) { return (LRESULT)-1; }
    DECLARE_MESSAGE_MAP()

private:
    bool Read(WPARAM w, int& n);
    int m_low, m_high;
};

inline bool SameRect(const RECT& a, const RECT& b)
{
    return EqualRect(&a, &b) != FALSE;
}

// The drop target registered for a window (Wine keeps it in this property).
IDropTarget* DropTargetOf(HWND hwnd);
// A text dragged over a window's client point and dropped there, through its registered
// target; the effects answered at the move and at the drop.
struct DropAnswer {
    DWORD over;
    DWORD drop;
};
DropAnswer DropText(HWND hwnd, POINT client, const wchar_t* text);
// The same with a data object that hands out blocks of its own; answers how many of the
// blocks it handed out are still allocated after the drop.
int BlocksLeftAfterDrop(HWND hwnd, POINT client, const wchar_t* text);
