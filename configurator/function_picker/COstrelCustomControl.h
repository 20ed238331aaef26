#pragma once
#include "framework/CWnd.h"

// The ground of the editor's own child controls: a child window of a class of ours with the
// arrow cursor and no background brush (the control paints all of itself).
class COstrelCustomControl : public CWnd {
public:
    virtual BOOL Create(DWORD style, const RECT& rect, CWnd* parent, UINT id);

protected:
    LRESULT OnCreate(WPARAM, LPARAM) { return Default(); }
    DECLARE_MESSAGE_MAP()
};
