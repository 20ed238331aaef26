#include "configurator/function_picker/COstrelCustomControl.h"

BEGIN_MESSAGE_MAP(COstrelCustomControl, CWnd)
    ON_MESSAGE(WM_CREATE, OnCreate)
END_MESSAGE_MAP()

BOOL COstrelCustomControl::Create(DWORD style, const RECT& rect, CWnd* parent, UINT id)
{
    CString windowClass = RegisterWndClass(0, LoadCursorW(nullptr, IDC_ARROW));
    return CWnd::Create(windowClass, L"", style, rect, parent, id);
}
