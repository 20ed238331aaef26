#include "framework/CDC.h"
#include "framework/CWnd.h"

CDC::~CDC()
{
    Release();
}

void CDC::Take(HDC hdc, Source source)
{
    m_hDC = hdc;
    m_source = hdc ? source : Source::None;
    m_saved = hdc ? ::SaveDC(hdc) : 0;
}

void CDC::Release()
{
    if (!m_hDC) return;
    if (m_saved) ::RestoreDC(m_hDC, m_saved);
    switch (m_source) {
    case Source::Created:
        ::DeleteDC(m_hDC);
        break;
    case Source::Client:
    case Source::Window:
        ::ReleaseDC(m_hWndOwner, m_hDC);
        break;
    default:
        // Attached and paint DCs go back to their owners, which end them.
        break;
    }
    m_hDC = nullptr;
    m_saved = 0;
    m_source = Source::None;
}

BOOL CDC::Attach(HDC hdc)
{
    if (m_hDC || !hdc) return FALSE;
    Take(hdc, Source::Attached);
    return TRUE;
}

HDC CDC::Detach()
{
    HDC h = m_hDC;
    if (m_source == Source::Attached) Release();
    return h;
}

BOOL CDC::CreateCompatibleDC(CDC* dc)
{
    if (m_hDC) return FALSE;
    HDC h = ::CreateCompatibleDC(dc ? dc->m_hDC : nullptr);
    if (!h) return FALSE;
    Take(h, Source::Created);
    return TRUE;
}

BOOL CDC::DeleteDC()
{
    if (!m_hDC || m_source != Source::Created) return FALSE;
    Release();
    return TRUE;
}

void CDC::FillSolidRect(const RECT& r, COLORREF color)
{
    COLORREF old = ::SetBkColor(m_hDC, color);
    ::ExtTextOutW(m_hDC, 0, 0, ETO_OPAQUE, &r, nullptr, 0, nullptr);
    ::SetBkColor(m_hDC, old);
}

SIZE CDC::GetTextExtent(const wchar_t* text, int count) const
{
    SIZE s = {0, 0};
    ::GetTextExtentPoint32W(m_hDC, text, count, &s);
    return s;
}

CPaintDC::CPaintDC(CWnd* wnd)
{
    m_hWndOwner = wnd->m_hWnd;
    Take(::BeginPaint(m_hWndOwner, &m_ps), Source::Paint);
}

CPaintDC::~CPaintDC()
{
    bool began = m_hDC != nullptr;
    Release();
    if (began) ::EndPaint(m_hWndOwner, &m_ps);
}

CClientDC::CClientDC(CWnd* wnd)
{
    m_hWndOwner = wnd ? wnd->m_hWnd : nullptr;
    Take(::GetDC(m_hWndOwner), Source::Client);
}

CClientDC::~CClientDC()
{
    Release();
}

CWindowDC::CWindowDC(CWnd* wnd)
{
    m_hWndOwner = wnd ? wnd->m_hWnd : nullptr;
    Take(::GetWindowDC(m_hWndOwner), Source::Window);
}

CWindowDC::~CWindowDC()
{
    Release();
}

CMemoryDC::CMemoryDC(HDC target, const RECT& area) : m_target(target), m_area(area)
{
    HDC h = ::CreateCompatibleDC(target);
    if (!h) return;
    Take(h, Source::Created);
    int w = area.right - area.left;
    int ht = area.bottom - area.top;
    m_bitmap.Attach(CreateCompatibleBitmapFor(target, w > 0 ? w : 1, ht > 0 ? ht : 1));
    ::SelectObject(m_hDC, m_bitmap.m_hObject);
    ::SetWindowOrgEx(m_hDC, area.left, area.top, nullptr);
}

CMemoryDC::~CMemoryDC()
{
    if (m_hDC) {
        ::BitBlt(m_target, m_area.left, m_area.top, m_area.right - m_area.left, m_area.bottom - m_area.top, m_hDC,
                 m_area.left, m_area.top, SRCCOPY);
        // The bitmap must leave the DC before it is deleted.
        Release();
    }
}
