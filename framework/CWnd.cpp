#include "framework/CWnd.h"
#include "framework/CWinApp.h"

// The object whose CreateEx runs on this thread: the window procedure links it to the
// new handle at the first message, which may come before WM_NCCREATE.
static thread_local CWnd* t_pCreating = nullptr;

CWnd::~CWnd()
{
    if (m_hWnd) {
        // The object goes away first: the window must not call into it any more.
        SetWindowLongPtrW(m_hWnd, GWLP_USERDATA, 0);
        HWND h = m_hWnd;
        m_hWnd = nullptr;
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

BOOL CWnd::CreateEx(DWORD exStyle, const wchar_t* className, const wchar_t* title, DWORD style,
                    int x, int y, int width, int height, HWND parent, HMENU menu, void* param)
{
    if (m_hWnd) return FALSE;
    CWnd* outer = t_pCreating;
    t_pCreating = this;
    HWND h = CreateWindowExW(exStyle, className, title, style, x, y, width, height, parent, menu,
                             GetModuleHandleW(nullptr), param);
    t_pCreating = outer;
    if (!h) {
        m_hWnd = nullptr;
        return FALSE;
    }
    return TRUE;
}

BOOL CWnd::DestroyWindow()
{
    return m_hWnd ? ::DestroyWindow(m_hWnd) : FALSE;
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

CWnd* CWnd::FromHandle(HWND hwnd)
{
    if (!hwnd || !IsWindow(hwnd)) return nullptr;
    // Another copy of the program has the same window procedure, but its objects live in
    // its own address space.
    DWORD pid = 0;
    GetWindowThreadProcessId(hwnd, &pid);
    if (pid != GetCurrentProcessId()) return nullptr;
    if ((WNDPROC)GetClassLongPtrW(hwnd, GCLP_WNDPROC) != &CWnd::WndProc) return nullptr;
    return reinterpret_cast<CWnd*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
}

const MessageMap* CWnd::GetThisMessageMap()
{
    static const MessageMapEntry entries[] = {{0, nullptr}};
    static const MessageMap map = {nullptr, entries};
    return &map;
}

const MessageMap* CWnd::GetMessageMap() const
{
    return GetThisMessageMap();
}

LRESULT CWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    for (const MessageMap* map = GetMessageMap(); map; map = map->base ? map->base() : nullptr) {
        for (const MessageMapEntry* e = map->entries; e->handler; ++e) {
            if (e->message == message) return (this->*(e->handler))(wParam, lParam);
        }
    }
    return DefWindowProc(message, wParam, lParam);
}

LRESULT CWnd::DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    return ::DefWindowProcW(m_hWnd, message, wParam, lParam);
}

LRESULT CWnd::Default()
{
    return DefWindowProc(m_current.message, m_current.wParam, m_current.lParam);
}

LRESULT CALLBACK CWnd::WndProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    CWnd* wnd = reinterpret_cast<CWnd*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (!wnd && t_pCreating && !t_pCreating->m_hWnd) {
        wnd = t_pCreating;
        wnd->m_hWnd = hwnd;
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(wnd));
    }
    if (!wnd) return ::DefWindowProcW(hwnd, message, wParam, lParam);

    MSG outer = wnd->m_current;
    wnd->m_current.hwnd = hwnd;
    wnd->m_current.message = message;
    wnd->m_current.wParam = wParam;
    wnd->m_current.lParam = lParam;
    LRESULT result = wnd->WindowProc(message, wParam, lParam);
    wnd->m_current = outer;

    if (message == WM_NCDESTROY) {
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
        wnd->m_hWnd = nullptr;
        CWinApp* app = GetApp();
        bool mainWindow = app && app->m_pMainWnd == wnd;
        wnd->PostNcDestroy();
        if (mainWindow) PostQuitMessage(0);
    }
    return result;
}
