#include "skinkit/NumberDrag.h"
#include "skinkit/COleDropTargetEx.h"
#include "skinkit/DropText.h"
#include "framework/COleDataSource.h"
#include "framework/CString.h"
#include <climits>
#include <cstring>

DragOutcome DragNumberText(int number)
{
    CString text;
    text.Format(L"%d", number);
    SIZE_T bytes = (SIZE_T)(text.GetLength() + 1) * sizeof(wchar_t);
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, bytes);
    if (!block) return DragOutcome::Dragged;
    memcpy(GlobalLock(block), text.GetString(), bytes);
    GlobalUnlock(block);
    COleDataSource source;
    source.CacheGlobalData(CF_UNICODETEXT, block);
    DROPEFFECT effect = source.DoDragDrop(DROPEFFECT_COPY);
    MSG msg;
    if (effect == DROPEFFECT_NONE && PeekMessageW(&msg, nullptr, WM_LBUTTONUP, WM_LBUTTONUP, PM_NOREMOVE))
        return DragOutcome::Clicked;
    return DragOutcome::Dragged;
}

namespace {

bool TakeNumber(COleDropInfo* info)
{
    CString text;
    int n = 0;
    return info && TakeDroppedText(info->m_pDataObject, text) && ParseDroppedNumber(text, INT_MIN, INT_MAX, n);
}

}  // namespace

DROPEFFECT NumberDragOver(COleDropInfo* info)
{
    return TakeNumber(info) ? DROPEFFECT_COPY : DROPEFFECT_NONE;
}

BOOL TakeNumberDrop(COleDropInfo* info)
{
    return TakeNumber(info) ? TRUE : FALSE;
}
