#include "framework/CButton.h"

BEGIN_MESSAGE_MAP(CButton, CWnd)
    ON_REFLECT(WM_DRAWITEM, OnReflectedDrawItem)
END_MESSAGE_MAP()
