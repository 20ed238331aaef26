#pragma once
#include "framework/COleDataObject.h"
#include "framework/COleDropTarget.h"
#include "framework/CObject.h"

// The arguments of one drop-target event, carried to the window in wParam. It lives for
// the one sent message: the window keeps neither it nor the data object.
class COleDropInfo : public CObject {
public:
    ~COleDropInfo() override { m_pDataObject = nullptr; }

    COleDataObject* m_pDataObject = nullptr;
    DWORD m_dwKeyState = 0;            // enter and over only
    DROPEFFECT m_dropEffect = 0;       // drop; the default effect of a drop with effect
    DROPEFFECT m_dropEffectList = 0;   // drop with effect: what the source allows
    POINT m_point = {0, 0};            // client coordinates of the window
};

// Turns each drop-target event into a message sent to the registered window
// (WM_DROPTARGET_ENTER, _OVER, _DROP, _DROPEX, _LEAVE), so any control can take drops
// through its message map; the window's answer is the event's result. A window without
// handlers answers 0: no effect, and a drop that fails.
class COleDropTargetEx : public COleDropTarget {
public:
    DROPEFFECT OnDragEnter(CWnd* wnd, COleDataObject* data, DWORD keyState, POINT point) override;
    DROPEFFECT OnDragOver(CWnd* wnd, COleDataObject* data, DWORD keyState, POINT point) override;
    BOOL OnDrop(CWnd* wnd, COleDataObject* data, DROPEFFECT dropEffect, POINT point) override;
    DROPEFFECT OnDropEx(CWnd* wnd, COleDataObject* data, DROPEFFECT dropDefault, DROPEFFECT dropList,
                        POINT point) override;
    void OnDragLeave(CWnd* wnd) override;
};
