#pragma once
#include <windows.h>
#include "framework/CString.h"

class CWnd;

// Every mapped handler takes the message's two parameters and answers its result.
typedef LRESULT (CWnd::*MsgHandler)(WPARAM, LPARAM);

// One row of a message map. Registered messages have no row: their numbers are known only
// at run time, so a window handles them in its DefWindowProc.
struct MessageMapEntry {
    UINT message;
    MsgHandler handler;
};

struct MessageMap {
    const MessageMap* (*base)();
    const MessageMapEntry* entries;
};

// A window object linked to its window handle through GWLP_USERDATA. Messages are looked
// up in the message maps of the class and its bases; anything unmapped goes to the
// virtual DefWindowProc.
class CWnd {
public:
    CWnd() = default;
    virtual ~CWnd();
    CWnd(const CWnd&) = delete;
    CWnd& operator=(const CWnd&) = delete;

    HWND m_hWnd = nullptr;
    HWND GetSafeHwnd() const { return m_hWnd; }
    operator HWND() const { return m_hWnd; }

    // A window class with our window procedure and the given style, cursor, brush and
    // icon; the same arguments give the same class.
    static CString RegisterWndClass(UINT style, HCURSOR cursor = nullptr, HBRUSH background = nullptr,
                                    HICON icon = nullptr);

    BOOL CreateEx(DWORD exStyle, const wchar_t* className, const wchar_t* title, DWORD style,
                  int x, int y, int width, int height, HWND parent, HMENU menu, void* param = nullptr);
    BOOL DestroyWindow();

    UINT_PTR SetTimer(UINT_PTR id, UINT elapse);
    BOOL KillTimer(UINT_PTR id);

    BOOL SetWindowText(const wchar_t* text);
    CString GetWindowText() const;
    BOOL PostMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0);
    LRESULT SendMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0);

    // The object linked to a window of ours, or null.
    static CWnd* FromHandle(HWND hwnd);

    // Runs the message through the maps; public so a window can be driven directly.
    virtual LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam);

protected:
    virtual LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam);
    // Called after the last message; the handle is already unlinked.
    virtual void PostNcDestroy() {}
    // The default handling of the message being handled now.
    LRESULT Default();

    static const MessageMap* GetThisMessageMap();
    virtual const MessageMap* GetMessageMap() const;

private:
    static LRESULT CALLBACK WndProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    MSG m_current = {};
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

#define ON_MESSAGE(msg, fn) {(UINT)(msg), static_cast<MsgHandler>(&ThisClass::fn)},

#define END_MESSAGE_MAP()                                                          \
            {0, nullptr}};                                                         \
        static const MessageMap map = {&TheBaseClass::GetThisMessageMap, entries}; \
        return &map;                                                               \
    }
