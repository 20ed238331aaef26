#pragma once
#include <windows.h>
#include "framework/CObject.h"
#include "framework/CString.h"
#include <cstring>

class CWnd;
class CFont;

// Every mapped handler is stored under this type and called back under the signature its
// row names (MapSig).
typedef LRESULT (CWnd::*MsgHandler)(WPARAM, LPARAM);

// A parent hands these notifications to the object of the child that sent them under
// WM_REFLECT_BASE + message, before its own map. The range lies above the system's own
// messages and every number of core/Messages.h, and below registered messages.
constexpr UINT WM_REFLECT_BASE = 0x2000;

enum MapSig : int {
    MapSig_Message,       // LRESULT (WPARAM, LPARAM): any message, matched by number only
    MapSig_Command,       // void (): WM_COMMAND (or its reflection) with the code, id in range
    MapSig_CommandEx,     // BOOL (): as MapSig_Command; FALSE leaves the command unhandled
    MapSig_CommandRange,  // void (UINT id)
    MapSig_Notify,        // void (NMHDR*, LRESULT*): WM_NOTIFY (or its reflection)
    MapSig_NotifyRange,   // void (UINT id, NMHDR*, LRESULT*)
};

// One row of a message map. Registered messages have no row: their numbers are known only
// at run time, so a window handles them in its DefWindowProc.
struct MessageMapEntry {
    UINT message;
    UINT code;    // notification code of command and notify rows
    UINT id;      // first and last control id of command and notify rows
    UINT lastId;
    int sig;
    MsgHandler handler;
};

struct MessageMap {
    const MessageMap* (*base)();
    const MessageMapEntry* entries;
};

// A window object linked to its window handle. Windows of our own window class are linked
// through GWLP_USERDATA; any other window (dialogs, system controls) through a subclass
// that runs the same maps. Messages are looked up in the message maps of the class and
// its bases; anything unmapped goes to the virtual DefWindowProc, which for a subclassed
// window is the window's own procedure.
class CWnd : public CObject {
public:
    CWnd() = default;
    ~CWnd() override;
    CWnd(const CWnd&) = delete;
    CWnd& operator=(const CWnd&) = delete;

    HWND m_hWnd = nullptr;
    HWND GetSafeHwnd() const { return m_hWnd; }
    operator HWND() const { return m_hWnd; }

    // A window class with our window procedure and the given style, cursor, brush and
    // icon; the same arguments give the same class.
    static CString RegisterWndClass(UINT style, HCURSOR cursor = nullptr, HBRUSH background = nullptr,
                                    HICON icon = nullptr);

    // Creates the window and links it to this object before its first message, whatever
    // its class: the object's map sees WM_NCCREATE and WM_CREATE.
    BOOL CreateEx(DWORD exStyle, const wchar_t* className, const wchar_t* title, DWORD style,
                  int x, int y, int width, int height, HWND parent, HMENU menu, void* param = nullptr);
    // A child window with a control id.
    BOOL Create(const wchar_t* className, const wchar_t* title, DWORD style, const RECT& rect,
                CWnd* parent, UINT id);
    BOOL DestroyWindow();
    // Links an existing window of this thread (a dialog's control, for instance).
    BOOL SubclassWindow(HWND hwnd);
    BOOL SubclassDlgItem(UINT id, CWnd* parent);
    // Unlinks without destroying; answers the handle.
    HWND UnsubclassWindow();

    UINT_PTR SetTimer(UINT_PTR id, UINT elapse);
    BOOL KillTimer(UINT_PTR id);

    BOOL SetWindowText(const wchar_t* text);
    CString GetWindowText() const;
    BOOL PostMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0);
    LRESULT SendMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0);

    // Thin wrappers of the window calls the windows of the programs make.
    int GetDlgCtrlID() const { return ::GetDlgCtrlID(m_hWnd); }
    HWND GetParentHwnd() const { return ::GetParent(m_hWnd); }
    CWnd* GetParent() const { return FromHandle(::GetParent(m_hWnd)); }
    // The owner window, else the parent.
    HWND GetOwnerHwnd() const;
    HWND GetDlgItem(int id) const { return ::GetDlgItem(m_hWnd, id); }
    BOOL ShowWindow(int cmd) { return ::ShowWindow(m_hWnd, cmd); }
    BOOL MoveWindow(int x, int y, int width, int height, BOOL repaint = TRUE)
    {
        return ::MoveWindow(m_hWnd, x, y, width, height, repaint);
    }
    BOOL MoveWindow(const RECT& r, BOOL repaint = TRUE)
    {
        return MoveWindow(r.left, r.top, r.right - r.left, r.bottom - r.top, repaint);
    }
    BOOL SetWindowPos(HWND after, int x, int y, int cx, int cy, UINT flags)
    {
        return ::SetWindowPos(m_hWnd, after, x, y, cx, cy, flags);
    }
    // Centres the window over the given window when it is visible and not minimised, else
    // over the work area, and keeps it inside the work area.
    void CenterWindow(HWND over = nullptr);
    RECT GetClientRect() const;
    RECT GetWindowRect() const;
    // The window's rectangle in its parent's client coordinates.
    RECT GetRectInParent() const;
    void ClientToScreen(POINT* p) const { ::ClientToScreen(m_hWnd, p); }
    void ClientToScreen(RECT* r) const;
    void ScreenToClient(POINT* p) const { ::ScreenToClient(m_hWnd, p); }
    void ScreenToClient(RECT* r) const;
    void Invalidate(BOOL erase = TRUE) { ::InvalidateRect(m_hWnd, nullptr, erase); }
    void InvalidateRect(const RECT* r, BOOL erase = TRUE) { ::InvalidateRect(m_hWnd, r, erase); }
    void UpdateWindow() { ::UpdateWindow(m_hWnd); }
    BOOL RedrawWindow(const RECT* r = nullptr, HRGN rgn = nullptr,
                      UINT flags = RDW_INVALIDATE | RDW_UPDATENOW | RDW_ERASE)
    {
        return ::RedrawWindow(m_hWnd, r, rgn, flags);
    }
    BOOL EnableWindow(BOOL enable = TRUE) { return ::EnableWindow(m_hWnd, enable); }
    BOOL IsWindowEnabled() const { return ::IsWindowEnabled(m_hWnd); }
    BOOL IsWindowVisible() const { return ::IsWindowVisible(m_hWnd); }
    DWORD GetStyle() const { return (DWORD)::GetWindowLongPtrW(m_hWnd, GWL_STYLE); }
    DWORD GetExStyle() const { return (DWORD)::GetWindowLongPtrW(m_hWnd, GWL_EXSTYLE); }
    // Removes then adds style bits; with flags, SetWindowPos(flags | SWP_NOSIZE...) makes
    // the frame take the change.
    BOOL ModifyStyle(DWORD remove, DWORD add, UINT flags = 0);
    BOOL ModifyStyleEx(DWORD remove, DWORD add, UINT flags = 0);
    void SetFont(HFONT font, BOOL redraw = TRUE) { SendMessage(WM_SETFONT, (WPARAM)font, redraw); }
    HFONT GetFont() const { return (HFONT)::SendMessageW(m_hWnd, WM_GETFONT, 0, 0); }
    HWND SetFocus() { return ::SetFocus(m_hWnd); }
    HWND SetCapture() { return ::SetCapture(m_hWnd); }
    BOOL SetForegroundWindow() { return ::SetForegroundWindow(m_hWnd); }
    HWND SetActiveWindow() { return ::SetActiveWindow(m_hWnd); }
    // The system owns the region afterwards.
    int SetWindowRgn(HRGN rgn, BOOL redraw) { return ::SetWindowRgn(m_hWnd, rgn, redraw); }

    // The object linked to a window of ours in this process, or null.
    static CWnd* FromHandle(HWND hwnd);

    // Runs the message through the maps; public so a window can be driven directly.
    virtual LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam);
    // Called by every message loop for the message's window and each of its parents, up to
    // the loop's own window; TRUE means the message is used up and is not dispatched.
    virtual BOOL PreTranslateMessage(MSG* msg) { return FALSE; }
    // The walk of the message loops: from the message's window up the parent chain, ending
    // after stop (or at the top).
    static BOOL WalkPreTranslateTree(HWND stop, MSG* msg);

    // A parent hands a notification to the child's object; TRUE when the child's map took it.
    virtual BOOL OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result);

protected:
    virtual LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam);
    // Just before a window of another class is linked to this object (from CreateEx before
    // the window's first message, or from SubclassWindow).
    virtual void PreSubclassWindow() {}
    // Called after the last message; the handle is already unlinked.
    virtual void PostNcDestroy() {}
    // The default handling of the message being handled now.
    LRESULT Default();
    // WM_COMMAND: the child's reflection first, then the command rows. TRUE when taken.
    virtual BOOL OnCommand(WPARAM wParam, LPARAM lParam);
    // WM_NOTIFY: the child's reflection first, then the notify rows. TRUE when taken.
    virtual BOOL OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* result);
    // Hands a reflectable message to the child's object; TRUE when the child took it.
    BOOL ReflectToChild(HWND child, UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result);

    static const MessageMap* GetThisMessageMap();
    virtual const MessageMap* GetMessageMap() const;

    // Links the next window of the class that this thread creates while the scope lives to
    // the object, from a CBT hook, before the window's first message. Dialogs are created
    // inside one with the dialog class "#32770".
    class CreationLink {
    public:
        CreationLink(CWnd* wnd, const wchar_t* className);
        ~CreationLink();
        CreationLink(const CreationLink&) = delete;
        CreationLink& operator=(const CreationLink&) = delete;
    private:
        CWnd* m_outerWnd;
        const wchar_t* m_outerClass;
        HHOOK m_hook;
    };

private:
    static LRESULT CALLBACK CbtProc(int code, WPARAM wParam, LPARAM lParam);
    void LinkNew(HWND hwnd);
    const MessageMapEntry* FindMessageRow(UINT message) const;
    const MessageMapEntry* FindControlRow(UINT message, UINT code, UINT id) const;
    BOOL CallControlRow(const MessageMapEntry* row, UINT id, LPARAM lParam, LRESULT* result);
    static LRESULT CALLBACK WndProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    static LRESULT CALLBACK SubclassProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam,
                                         UINT_PTR id, DWORD_PTR ref);
    static LRESULT Dispatch(CWnd* wnd, HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    static void AfterLastMessage(CWnd* wnd);
    void LinkSubclass(HWND hwnd);
    void UnlinkSubclass();
    void Unlink();
    MSG m_current = {};
    bool m_subclassed = false;
};

#define DECLARE_MESSAGE_MAP()                              \
protected:                                                 \
    static const MessageMap* GetThisMessageMap();          \
    const MessageMap* GetMessageMap() const override;

#define BEGIN_MESSAGE_MAP(theClass, baseClass)                                        \
    const MessageMap* theClass::GetMessageMap() const { return GetThisMessageMap(); } \
    const MessageMap* theClass::GetThisMessageMap()                                   \
    {                                                                                 \
        typedef theClass ThisClass;                                                   \
        typedef baseClass TheBaseClass;                                               \
        static const MessageMapEntry entries[] = {

// A member pointer of another signature kept under the one handler type; RowHandler gives
// it back. Both are the same size for every class of the single-inheritance tree.
template <class F>
MsgHandler StoredHandler(F f)
{
    static_assert(sizeof(F) == sizeof(MsgHandler), "member pointer size");
    MsgHandler h;
    memcpy(&h, &f, sizeof h);
    return h;
}
template <class F>
F RowHandler(MsgHandler h)
{
    F f;
    memcpy(&f, &h, sizeof f);
    return f;
}

// Member pointers of the derived class stored under the one handler type.
#define THARNIC_HANDLER(ret, args, fn) \
    StoredHandler(static_cast<ret(CWnd::*) args>(static_cast<ret(ThisClass::*) args>(&ThisClass::fn)))

#define ON_MESSAGE(msg, fn) {(UINT)(msg), 0, 0, 0, MapSig_Message, static_cast<MsgHandler>(&ThisClass::fn)},
// A menu command, accelerator or BN_CLICKED from control id.
#define ON_COMMAND(id, fn) {WM_COMMAND, 0, (UINT)(id), (UINT)(id), MapSig_Command, THARNIC_HANDLER(void, (), fn)},
#define ON_COMMAND_RANGE(first, last, fn) \
    {WM_COMMAND, 0, (UINT)(first), (UINT)(last), MapSig_CommandRange, THARNIC_HANDLER(void, (UINT), fn)},
#define ON_CONTROL(code, id, fn) {WM_COMMAND, (UINT)(code), (UINT)(id), (UINT)(id), MapSig_Command, THARNIC_HANDLER(void, (), fn)},
#define ON_CONTROL_RANGE(code, first, last, fn) \
    {WM_COMMAND, (UINT)(code), (UINT)(first), (UINT)(last), MapSig_CommandRange, THARNIC_HANDLER(void, (UINT), fn)},
#define ON_BN_CLICKED(id, fn) ON_CONTROL(BN_CLICKED, id, fn)
#define ON_LBN_SELCHANGE(id, fn) ON_CONTROL(LBN_SELCHANGE, id, fn)
#define ON_NOTIFY(code, id, fn) \
    {WM_NOTIFY, (UINT)(code), (UINT)(id), (UINT)(id), MapSig_Notify, THARNIC_HANDLER(void, (NMHDR*, LRESULT*), fn)},
#define ON_NOTIFY_RANGE(code, first, last, fn)                        \
    {WM_NOTIFY, (UINT)(code), (UINT)(first), (UINT)(last), MapSig_NotifyRange, \
     THARNIC_HANDLER(void, (UINT, NMHDR*, LRESULT*), fn)},
// Rows of the child for notifications its parent reflects to it.
#define ON_CONTROL_REFLECT(code, fn) \
    {WM_REFLECT_BASE + WM_COMMAND, (UINT)(code), 0, 0xFFFF, MapSig_Command, THARNIC_HANDLER(void, (), fn)},
#define ON_CONTROL_REFLECT_EX(code, fn) \
    {WM_REFLECT_BASE + WM_COMMAND, (UINT)(code), 0, 0xFFFF, MapSig_CommandEx, THARNIC_HANDLER(BOOL, (), fn)},
#define ON_NOTIFY_REFLECT(code, fn) \
    {WM_REFLECT_BASE + WM_NOTIFY, (UINT)(code), 0, 0xFFFF, MapSig_Notify, THARNIC_HANDLER(void, (NMHDR*, LRESULT*), fn)},
// WM_DRAWITEM, WM_MEASUREITEM, WM_CTLCOLOR*, WM_HSCROLL, WM_VSCROLL as the child gets them.
#define ON_REFLECT(msg, fn) ON_MESSAGE(WM_REFLECT_BASE + (msg), fn)
// Every WM_CTLCOLOR* message to one handler (wParam the DC, lParam the control).
#define ON_WM_CTLCOLOR(fn)                                                             \
    ON_MESSAGE(WM_CTLCOLORMSGBOX, fn) ON_MESSAGE(WM_CTLCOLOREDIT, fn)                  \
    ON_MESSAGE(WM_CTLCOLORLISTBOX, fn) ON_MESSAGE(WM_CTLCOLORBTN, fn)                  \
    ON_MESSAGE(WM_CTLCOLORDLG, fn) ON_MESSAGE(WM_CTLCOLORSCROLLBAR, fn)                \
    ON_MESSAGE(WM_CTLCOLORSTATIC, fn)
#define ON_WM_CTLCOLOR_REFLECT(fn)                                                     \
    ON_REFLECT(WM_CTLCOLOREDIT, fn) ON_REFLECT(WM_CTLCOLORLISTBOX, fn)                 \
    ON_REFLECT(WM_CTLCOLORBTN, fn) ON_REFLECT(WM_CTLCOLORSCROLLBAR, fn)                \
    ON_REFLECT(WM_CTLCOLORSTATIC, fn)

#define END_MESSAGE_MAP()                                                          \
            {0, 0, 0, 0, MapSig_Message, nullptr}};                                \
        static const MessageMap map = {&TheBaseClass::GetThisMessageMap, entries}; \
        return &map;                                                               \
    }
