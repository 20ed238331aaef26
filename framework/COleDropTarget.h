#pragma once
#include <windows.h>
#include <ole2.h>
#include "framework/AfxOle.h"
#include "framework/CObject.h"

class CWnd;
class COleDataObject;

// Makes a window a place to drop OLE drags. The events arrive as virtual calls with the
// point in the window's client coordinates; the effects they answer are limited to what
// the source allows. A drop asks OnDragOver for the effect, then OnDropEx; when that
// answers -1 the drop goes to OnDrop.
class COleDropTarget : public CObject {
public:
    COleDropTarget();
    ~COleDropTarget() override;
    COleDropTarget(const COleDropTarget&) = delete;
    COleDropTarget& operator=(const COleDropTarget&) = delete;

    // OLE must be ready on this thread (AfxOleInit).
    BOOL Register(CWnd* wnd);
    void Revoke();
    CWnd* GetWindow() const { return m_pWnd; }

    virtual DROPEFFECT OnDragEnter(CWnd* wnd, COleDataObject* data, DWORD keyState, POINT point);
    virtual DROPEFFECT OnDragOver(CWnd* wnd, COleDataObject* data, DWORD keyState, POINT point);
    virtual BOOL OnDrop(CWnd* wnd, COleDataObject* data, DROPEFFECT dropEffect, POINT point);
    virtual DROPEFFECT OnDropEx(CWnd* wnd, COleDataObject* data, DROPEFFECT dropDefault, DROPEFFECT dropList,
                                POINT point);
    virtual void OnDragLeave(CWnd* wnd);

private:
    class Target;
    Target* m_target;
    CWnd* m_pWnd = nullptr;
    HWND m_hWndRegistered = nullptr;
};
