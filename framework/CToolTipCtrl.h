#pragma once
#include "framework/CWnd.h"
#include <commctrl.h>

// The system tooltip window. Tools are added without subclassing: the owner of a tool
// relays its mouse messages (RelayEvent) from its PreTranslateMessage.
class CToolTipCtrl : public CWnd {
public:
    // A tooltip made as the system makes its own: a tool window owned by the window it
    // serves (the top-level window of parent), so that no task bar lists it. FALSE without
    // a parent.
    BOOL Create(CWnd* parent, DWORD style = 0);
    // A tool for rect of the window (the whole window when null), known by id.
    BOOL AddTool(CWnd* wnd, const wchar_t* text, const RECT* rect = nullptr, UINT_PTR id = 0);
    void DelTool(CWnd* wnd, UINT_PTR id = 0);
    void UpdateTipText(const wchar_t* text, CWnd* wnd, UINT_PTR id = 0);
    CString GetText(CWnd* wnd, UINT_PTR id = 0) const;
    int GetToolCount() const { return (int)::SendMessageW(m_hWnd, TTM_GETTOOLCOUNT, 0, 0); }
    void Activate(BOOL activate) { SendMessage(TTM_ACTIVATE, activate); }
    void RelayEvent(MSG* msg) { SendMessage(TTM_RELAYEVENT, 0, (LPARAM)msg); }
    void SetDelayTime(DWORD which, int ms) { SendMessage(TTM_SETDELAYTIME, which, MAKELPARAM(ms, 0)); }
    void SetMaxTipWidth(int width) { SendMessage(TTM_SETMAXTIPWIDTH, 0, width); }
    void Pop() { SendMessage(TTM_POP); }

private:
    void FillTool(TTTOOLINFOW& ti, CWnd* wnd, UINT_PTR id) const;
};
