#include "skinkit/COleDropTargetEx.h"
#include "core/Messages.h"
#include "framework/CWnd.h"

namespace {

LRESULT SendInfo(CWnd* wnd, UINT message, COleDropInfo& info)
{
    return wnd && wnd->m_hWnd ? SendMessageW(wnd->m_hWnd, message, (WPARAM)&info, 0) : 0;
}

// An enter or a move: the data, the keys and the point.
DROPEFFECT SendMove(CWnd* wnd, UINT message, COleDataObject* data, DWORD keyState, POINT point)
{
    COleDropInfo info;
    info.m_pDataObject = data;
    info.m_dwKeyState = keyState;
    info.m_point = point;
    return (DROPEFFECT)SendInfo(wnd, message, info);
}

}  // namespace

DROPEFFECT COleDropTargetEx::OnDragEnter(CWnd* wnd, COleDataObject* data, DWORD keyState, POINT point)
{
    return SendMove(wnd, WM_DROPTARGET_ENTER, data, keyState, point);
}

DROPEFFECT COleDropTargetEx::OnDragOver(CWnd* wnd, COleDataObject* data, DWORD keyState, POINT point)
{
    return SendMove(wnd, WM_DROPTARGET_OVER, data, keyState, point);
}

BOOL COleDropTargetEx::OnDrop(CWnd* wnd, COleDataObject* data, DROPEFFECT dropEffect, POINT point)
{
    COleDropInfo info;
    info.m_pDataObject = data;
    info.m_dropEffect = dropEffect;
    info.m_point = point;
    return (BOOL)SendInfo(wnd, WM_DROPTARGET_DROP, info);
}

DROPEFFECT COleDropTargetEx::OnDropEx(CWnd* wnd, COleDataObject* data, DROPEFFECT dropDefault,
                                      DROPEFFECT dropList, POINT point)
{
    COleDropInfo info;
    info.m_pDataObject = data;
    info.m_dropEffect = dropDefault;
    info.m_dropEffectList = dropList;
    info.m_point = point;
    return (DROPEFFECT)SendInfo(wnd, WM_DROPTARGET_DROPEX, info);
}

void COleDropTargetEx::OnDragLeave(CWnd* wnd)
{
    if (wnd && wnd->m_hWnd) SendMessageW(wnd->m_hWnd, WM_DROPTARGET_LEAVE, 0, 0);
}
