#include "framework/CWnd.h"
#include "framework/CWinApp.h"
#include <commctrl.h>

namespace {

// The object whose creation runs on this thread and the class of the window it waits for.
thread_local CWnd* t_linkWnd = nullptr;
thread_local const wchar_t* t_linkClass = nullptr;

// Windows of other classes carry their object in this property beside the subclass.
const wchar_t kObjectProp[] = L"TharnicWndObject";
constexpr UINT_PTR kSubclassId = 0x54484E43;

bool IsReflected(UINT message)
{
    return message >= WM_REFLECT_BASE && message < WM_REFLECT_BASE + WM_USER;
}

bool IsCtlColor(UINT message)
{
    return message >= WM_CTLCOLORMSGBOX && message <= WM_CTLCOLORSTATIC;
}

// The hook also sees the IME window and whatever the new window creates itself: only a
// window of the awaited class is taken.
bool ClassMatches(HWND hwnd, const wchar_t* className)
{
    if (!className) return false;
    if (IS_INTRESOURCE(className)) return GetClassLongPtrW(hwnd, GCW_ATOM) == (ULONG_PTR)className;
    wchar_t name[256];
    if (!GetClassNameW(hwnd, name, 256)) return false;
    return lstrcmpiW(name, className) == 0;
}

}  // namespace

CWnd::~CWnd()
{
    if (m_hWnd) {
        // The object goes away first: the window must not call into it any more.
        HWND h = m_hWnd;
        Unlink();
        ::DestroyWindow(h);
    }
}

CString CWnd::RegisterWndClass(UINT style, HCURSOR cursor, HBRUSH background, HICON icon)
{
    CString name;
    name.Format(L"TharnicWnd:%x:%p:%p:%p", style, (void*)cursor, (void*)background, (void*)icon);
    HINSTANCE instance = GetModuleHandleW(nullptr);
    WNDCLASSEXW wc = {};
    wc.cbSize = sizeof(wc);
    if (GetClassInfoExW(instance, name, &wc)) return name;
    wc = {};
    wc.cbSize = sizeof(wc);
    wc.style = style;
    wc.lpfnWndProc = &CWnd::WndProc;
    wc.hInstance = instance;
    wc.hCursor = cursor;
    wc.hbrBackground = background;
    wc.hIcon = icon;
    wc.lpszClassName = name;
    if (!RegisterClassExW(&wc)) return CString();
    return name;
}

CWnd::CreationLink::CreationLink(CWnd* wnd, const wchar_t* className)
    : m_outerWnd(t_linkWnd), m_outerClass(t_linkClass)
{
    t_linkWnd = wnd;
    t_linkClass = className;
    m_hook = SetWindowsHookExW(WH_CBT, &CWnd::CbtProc, nullptr, GetCurrentThreadId());
}

CWnd::CreationLink::~CreationLink()
{
    if (m_hook) UnhookWindowsHookEx(m_hook);
    t_linkWnd = m_outerWnd;
    t_linkClass = m_outerClass;
}

LRESULT CALLBACK CWnd::CbtProc(int code, WPARAM wParam, LPARAM lParam)
{
    if (code == HCBT_CREATEWND) {
        HWND hwnd = (HWND)wParam;
        CWnd* wnd = t_linkWnd;
        if (wnd && !wnd->m_hWnd && ClassMatches(hwnd, t_linkClass)) wnd->LinkNew(hwnd);
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

void CWnd::LinkNew(HWND hwnd)
{
    m_hWnd = hwnd;
    PreSubclassWindow();
    if ((WNDPROC)GetClassLongPtrW(hwnd, GCLP_WNDPROC) == &CWnd::WndProc)
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    else
        LinkSubclass(hwnd);
}

void CWnd::LinkSubclass(HWND hwnd)
{
    m_subclassed = true;
    SetPropW(hwnd, kObjectProp, this);
    SetWindowSubclass(hwnd, &CWnd::SubclassProc, kSubclassId, reinterpret_cast<DWORD_PTR>(this));
}

void CWnd::UnlinkSubclass()
{
    RemoveWindowSubclass(m_hWnd, &CWnd::SubclassProc, kSubclassId);
    RemovePropW(m_hWnd, kObjectProp);
    m_subclassed = false;
}

void CWnd::Unlink()
{
    if (!m_hWnd) return;
    if (m_subclassed)
        UnlinkSubclass();
    else if (GetWindowLongPtrW(m_hWnd, GWLP_USERDATA) == reinterpret_cast<LONG_PTR>(this))
        SetWindowLongPtrW(m_hWnd, GWLP_USERDATA, 0);
    m_hWnd = nullptr;
}

BOOL CWnd::CreateEx(DWORD exStyle, const wchar_t* className, const wchar_t* title, DWORD style,
                    int x, int y, int width, int height, HWND parent, HMENU menu, void* param)
{
    if (m_hWnd) return FALSE;
    HWND h;
    {
        CreationLink link(this, className);
        h = CreateWindowExW(exStyle, className, title, style, x, y, width, height, parent, menu,
                            GetModuleHandleW(nullptr), param);
    }
    if (!h) {
        // A window refused in WM_CREATE is gone already; its link went with it.
        m_hWnd = nullptr;
        m_subclassed = false;
        return FALSE;
    }
    // Created by a road the hook could not see (another class name for the same class).
    if (!m_hWnd) LinkNew(h);
    return TRUE;
}

BOOL CWnd::Create(const wchar_t* className, const wchar_t* title, DWORD style, const RECT& rect,
                  CWnd* parent, UINT id)
{
    return CreateEx(0, className, title, style, rect.left, rect.top, rect.right - rect.left,
                    rect.bottom - rect.top, parent ? parent->m_hWnd : nullptr, (HMENU)(UINT_PTR)id);
}

BOOL CWnd::DestroyWindow()
{
    return m_hWnd ? ::DestroyWindow(m_hWnd) : FALSE;
}

BOOL CWnd::SubclassWindow(HWND hwnd)
{
    if (m_hWnd || !hwnd || !IsWindow(hwnd) || FromHandle(hwnd)) return FALSE;
    if (GetWindowThreadProcessId(hwnd, nullptr) != GetCurrentThreadId()) return FALSE;
    m_hWnd = hwnd;
    PreSubclassWindow();
    LinkSubclass(hwnd);
    return TRUE;
}

BOOL CWnd::SubclassDlgItem(UINT id, CWnd* parent)
{
    return parent ? SubclassWindow(::GetDlgItem(parent->m_hWnd, (int)id)) : FALSE;
}

HWND CWnd::UnsubclassWindow()
{
    HWND h = m_hWnd;
    Unlink();
    return h;
}

UINT_PTR CWnd::SetTimer(UINT_PTR id, UINT elapse)
{
    return ::SetTimer(m_hWnd, id, elapse, nullptr);
}

BOOL CWnd::KillTimer(UINT_PTR id)
{
    return ::KillTimer(m_hWnd, id);
}

BOOL CWnd::SetWindowText(const wchar_t* text)
{
    return ::SetWindowTextW(m_hWnd, text);
}

CString CWnd::GetWindowText() const
{
    int n = GetWindowTextLengthW(m_hWnd);
    CString s;
    wchar_t* buf = s.GetBuffer(n + 1);
    ::GetWindowTextW(m_hWnd, buf, n + 1);
    s.ReleaseBuffer();
    return s;
}

BOOL CWnd::PostMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    return ::PostMessageW(m_hWnd, message, wParam, lParam);
}

LRESULT CWnd::SendMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    return ::SendMessageW(m_hWnd, message, wParam, lParam);
}

HWND CWnd::GetOwnerHwnd() const
{
    HWND owner = ::GetWindow(m_hWnd, GW_OWNER);
    return owner ? owner : ::GetParent(m_hWnd);
}

void CWnd::CenterWindow(HWND over)
{
    RECT me = GetWindowRect();
    MONITORINFO mi = {};
    mi.cbSize = sizeof(mi);
    GetMonitorInfoW(MonitorFromWindow(over ? over : m_hWnd, MONITOR_DEFAULTTOPRIMARY), &mi);
    RECT area = mi.rcWork;
    RECT centre = area;
    if (over && ::IsWindowVisible(over) && !::IsIconic(over)) ::GetWindowRect(over, &centre);
    int w = me.right - me.left;
    int h = me.bottom - me.top;
    int x = centre.left + ((centre.right - centre.left) - w) / 2;
    int y = centre.top + ((centre.bottom - centre.top) - h) / 2;
    if (x + w > area.right) x = area.right - w;
    if (y + h > area.bottom) y = area.bottom - h;
    if (x < area.left) x = area.left;
    if (y < area.top) y = area.top;
    ::SetWindowPos(m_hWnd, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

RECT CWnd::GetClientRect() const
{
    RECT r = {};
    ::GetClientRect(m_hWnd, &r);
    return r;
}

RECT CWnd::GetWindowRect() const
{
    RECT r = {};
    ::GetWindowRect(m_hWnd, &r);
    return r;
}

RECT CWnd::GetRectInParent() const
{
    RECT r = GetWindowRect();
    HWND parent = ::GetParent(m_hWnd);
    if (parent && (GetStyle() & WS_CHILD)) MapWindowPoints(nullptr, parent, (POINT*)&r, 2);
    return r;
}

void CWnd::ClientToScreen(RECT* r) const
{
    MapWindowPoints(m_hWnd, nullptr, (POINT*)r, 2);
}

void CWnd::ScreenToClient(RECT* r) const
{
    MapWindowPoints(nullptr, m_hWnd, (POINT*)r, 2);
}

namespace {

BOOL ChangeStyle(HWND hwnd, int index, DWORD remove, DWORD add, UINT flags)
{
    DWORD style = (DWORD)GetWindowLongPtrW(hwnd, index);
    DWORD changed = (style & ~remove) | add;
    if (changed == style) return FALSE;
    SetWindowLongPtrW(hwnd, index, (LONG_PTR)changed);
    if (flags) SetWindowPos(hwnd, nullptr, 0, 0, 0, 0, flags | SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    return TRUE;
}

}  // namespace

BOOL CWnd::ModifyStyle(DWORD remove, DWORD add, UINT flags)
{
    return ChangeStyle(m_hWnd, GWL_STYLE, remove, add, flags);
}

BOOL CWnd::ModifyStyleEx(DWORD remove, DWORD add, UINT flags)
{
    return ChangeStyle(m_hWnd, GWL_EXSTYLE, remove, add, flags);
}

CWnd* CWnd::FromHandle(HWND hwnd)
{
    if (!hwnd || !IsWindow(hwnd)) return nullptr;
    // Another copy of the program has the same window procedure, but its objects live in
    // its own address space.
    DWORD pid = 0;
    GetWindowThreadProcessId(hwnd, &pid);
    if (pid != GetCurrentProcessId()) return nullptr;
    if ((WNDPROC)GetClassLongPtrW(hwnd, GCLP_WNDPROC) == &CWnd::WndProc)
        return reinterpret_cast<CWnd*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    CWnd* wnd = static_cast<CWnd*>(GetPropW(hwnd, kObjectProp));
    return wnd && wnd->m_hWnd == hwnd && wnd->m_subclassed ? wnd : nullptr;
}

BOOL CWnd::WalkPreTranslateTree(HWND stop, MSG* msg)
{
    for (HWND h = msg->hwnd; h; h = ::GetParent(h)) {
        CWnd* wnd = FromHandle(h);
        if (wnd && wnd->PreTranslateMessage(msg)) return TRUE;
        if (h == stop) break;
    }
    return FALSE;
}

const MessageMap* CWnd::GetThisMessageMap()
{
    static const MessageMapEntry entries[] = {{0, 0, 0, 0, MapSig_Message, nullptr}};
    static const MessageMap map = {nullptr, entries};
    return &map;
}

const MessageMap* CWnd::GetMessageMap() const
{
    return GetThisMessageMap();
}

const MessageMapEntry* CWnd::FindMessageRow(UINT message) const
{
    for (const MessageMap* map = GetMessageMap(); map; map = map->base ? map->base() : nullptr) {
        for (const MessageMapEntry* e = map->entries; e->handler; ++e) {
            if (e->message == message && e->sig == MapSig_Message) return e;
        }
    }
    return nullptr;
}

const MessageMapEntry* CWnd::FindControlRow(UINT message, UINT code, UINT id) const
{
    for (const MessageMap* map = GetMessageMap(); map; map = map->base ? map->base() : nullptr) {
        for (const MessageMapEntry* e = map->entries; e->handler; ++e) {
            if (e->message == message && e->sig != MapSig_Message && e->code == code && id >= e->id &&
                id <= e->lastId)
                return e;
        }
    }
    return nullptr;
}

BOOL CWnd::CallControlRow(const MessageMapEntry* row, UINT id, LPARAM lParam, LRESULT* result)
{
    switch (row->sig) {
    case MapSig_Command:
        (this->*RowHandler<void (CWnd::*)()>(row->handler))();
        return TRUE;
    case MapSig_CommandEx:
        return (this->*RowHandler<BOOL (CWnd::*)()>(row->handler))();
    case MapSig_CommandRange:
        (this->*RowHandler<void (CWnd::*)(UINT)>(row->handler))(id);
        return TRUE;
    case MapSig_Notify:
        (this->*RowHandler<void (CWnd::*)(NMHDR*, LRESULT*)>(row->handler))((NMHDR*)lParam, result);
        return TRUE;
    case MapSig_NotifyRange:
        (this->*RowHandler<void (CWnd::*)(UINT, NMHDR*, LRESULT*)>(row->handler))(id, (NMHDR*)lParam, result);
        return TRUE;
    default:
        return FALSE;
    }
}

BOOL CWnd::ReflectToChild(HWND child, UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result)
{
    CWnd* wnd = FromHandle(child);
    if (!wnd || wnd == this) return FALSE;
    return wnd->OnChildNotify(message, wParam, lParam, result);
}

BOOL CWnd::OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result)
{
    UINT reflected = WM_REFLECT_BASE + message;
    MSG outer = m_current;
    m_current = {m_hWnd, reflected, wParam, lParam, 0, {0, 0}};
    BOOL taken = FALSE;
    LRESULT r = 0;
    if (message == WM_COMMAND) {
        const MessageMapEntry* row = FindControlRow(reflected, HIWORD(wParam), LOWORD(wParam));
        taken = row && CallControlRow(row, LOWORD(wParam), lParam, &r);
    } else if (message == WM_NOTIFY) {
        const NMHDR* hdr = (const NMHDR*)lParam;
        const MessageMapEntry* row = FindControlRow(reflected, hdr->code, (UINT)hdr->idFrom);
        taken = row && CallControlRow(row, (UINT)hdr->idFrom, lParam, &r);
    } else if (const MessageMapEntry* row = FindMessageRow(reflected)) {
        r = (this->*(row->handler))(wParam, lParam);
        // A control that gives no brush leaves the colours to its parent.
        taken = !(IsCtlColor(message) && r == 0);
    }
    m_current = outer;
    if (taken) *result = r;
    return taken;
}

BOOL CWnd::OnCommand(WPARAM wParam, LPARAM lParam)
{
    HWND control = (HWND)lParam;
    UINT id = LOWORD(wParam);
    UINT code = HIWORD(wParam);
    LRESULT r = 0;
    if (control && ReflectToChild(control, WM_COMMAND, wParam, lParam, &r)) return TRUE;
    // Menus and accelerators (code 1) are one command.
    if (!control) code = 0;
    const MessageMapEntry* row = FindControlRow(WM_COMMAND, code, id);
    return row && CallControlRow(row, id, lParam, &r);
}

BOOL CWnd::OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* result)
{
    const NMHDR* hdr = (const NMHDR*)lParam;
    if (!hdr) return FALSE;
    if (ReflectToChild(hdr->hwndFrom, WM_NOTIFY, wParam, lParam, result)) return TRUE;
    const MessageMapEntry* row = FindControlRow(WM_NOTIFY, hdr->code, (UINT)hdr->idFrom);
    return row && CallControlRow(row, (UINT)hdr->idFrom, lParam, result);
}

LRESULT CWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    LRESULT result = 0;
    switch (message) {
    case WM_COMMAND:
        if (OnCommand(wParam, lParam)) return 0;
        break;
    case WM_NOTIFY:
        if (OnNotify(wParam, lParam, &result)) return result;
        break;
    case WM_DRAWITEM: {
        const DRAWITEMSTRUCT* d = (const DRAWITEMSTRUCT*)lParam;
        if (d && d->CtlType != ODT_MENU && ReflectToChild(d->hwndItem, message, wParam, lParam, &result))
            return result;
        break;
    }
    case WM_MEASUREITEM: {
        // Only the id comes with it, and it arrives while the control is being created.
        const MEASUREITEMSTRUCT* m = (const MEASUREITEMSTRUCT*)lParam;
        if (m && m->CtlType != ODT_MENU && m->CtlID &&
            ReflectToChild(::GetDlgItem(m_hWnd, (int)m->CtlID), message, wParam, lParam, &result))
            return result;
        break;
    }
    case WM_CTLCOLORMSGBOX:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORDLG:
    case WM_CTLCOLORSCROLLBAR:
    case WM_CTLCOLORSTATIC:
    case WM_HSCROLL:
    case WM_VSCROLL:
        if (lParam && ReflectToChild((HWND)lParam, message, wParam, lParam, &result)) return result;
        break;
    default:
        break;
    }
    if (const MessageMapEntry* row = FindMessageRow(message)) return (this->*(row->handler))(wParam, lParam);
    return DefWindowProc(message, wParam, lParam);
}

LRESULT CWnd::DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (m_subclassed) return DefSubclassProc(m_hWnd, message, wParam, lParam);
    return ::DefWindowProcW(m_hWnd, message, wParam, lParam);
}

LRESULT CWnd::Default()
{
    // A reflected notification has no default of its own: the parent's handling follows.
    if (IsReflected(m_current.message)) return 0;
    return DefWindowProc(m_current.message, m_current.wParam, m_current.lParam);
}

LRESULT CWnd::Dispatch(CWnd* wnd, HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    MSG outer = wnd->m_current;
    wnd->m_current = {hwnd, message, wParam, lParam, 0, {0, 0}};
    LRESULT result = wnd->WindowProc(message, wParam, lParam);
    wnd->m_current = outer;
    return result;
}

void CWnd::AfterLastMessage(CWnd* wnd)
{
    CWinApp* app = GetApp();
    bool mainWindow = app && app->m_pMainWnd == wnd;
    wnd->PostNcDestroy();
    if (mainWindow) PostQuitMessage(0);
}

LRESULT CALLBACK CWnd::WndProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    CWnd* wnd = reinterpret_cast<CWnd*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (!wnd && t_linkWnd && !t_linkWnd->m_hWnd) {
        wnd = t_linkWnd;
        wnd->LinkNew(hwnd);
    }
    if (!wnd) return ::DefWindowProcW(hwnd, message, wParam, lParam);

    LRESULT result = Dispatch(wnd, hwnd, message, wParam, lParam);
    if (message == WM_NCDESTROY) {
        wnd->Unlink();
        AfterLastMessage(wnd);
    }
    return result;
}

LRESULT CALLBACK CWnd::SubclassProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                    DWORD_PTR ref)
{
    CWnd* wnd = reinterpret_cast<CWnd*>(ref);
    if (!wnd || wnd->m_hWnd != hwnd) return DefSubclassProc(hwnd, message, wParam, lParam);
    LRESULT result = Dispatch(wnd, hwnd, message, wParam, lParam);
    if (message == WM_NCDESTROY && wnd->m_hWnd == hwnd) {
        wnd->Unlink();
        AfterLastMessage(wnd);
    }
    return result;
}
