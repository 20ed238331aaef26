#include "framework/CListBox.h"

BEGIN_MESSAGE_MAP(CListBox, CWnd)
    ON_REFLECT(WM_DRAWITEM, OnReflectedDrawItem)
    ON_REFLECT(WM_MEASUREITEM, OnReflectedMeasureItem)
END_MESSAGE_MAP()
