#pragma once
#include <windows.h>
#include "framework/CGdiObject.h"
#include "framework/CString.h"

class CWnd;

// A device context. Whatever way the DC was taken, its state is saved then and restored
// before it is given back, so every object selected through it is let go again.
class CDC : public CObject {
public:
    CDC() = default;
    ~CDC() override;
    CDC(const CDC&) = delete;
    CDC& operator=(const CDC&) = delete;

    HDC m_hDC = nullptr;
    operator HDC() const { return m_hDC; }
    HDC GetSafeHdc() const { return m_hDC; }

    // Takes a DC made elsewhere (the one of a DRAWITEMSTRUCT, for instance) until Detach.
    BOOL Attach(HDC hdc);
    HDC Detach();
    // A memory DC compatible with dc (the screen when null); deleted with the object.
    BOOL CreateCompatibleDC(CDC* dc);
    BOOL DeleteDC();

    HGDIOBJ SelectObject(HGDIOBJ object) { return ::SelectObject(m_hDC, object); }
    HGDIOBJ SelectObject(const CGdiObject& object) { return ::SelectObject(m_hDC, object.m_hObject); }
    int SaveDC() { return ::SaveDC(m_hDC); }
    BOOL RestoreDC(int saved) { return ::RestoreDC(m_hDC, saved); }

    BOOL BitBlt(int x, int y, int width, int height, CDC* src, int srcX, int srcY, DWORD rop)
    {
        return ::BitBlt(m_hDC, x, y, width, height, src ? src->m_hDC : nullptr, srcX, srcY, rop);
    }
    BOOL StretchBlt(int x, int y, int width, int height, CDC* src, int srcX, int srcY, int srcWidth,
                    int srcHeight, DWORD rop)
    {
        return ::StretchBlt(m_hDC, x, y, width, height, src ? src->m_hDC : nullptr, srcX, srcY, srcWidth,
                            srcHeight, rop);
    }
    int FillRect(const RECT& r, HBRUSH brush) { return ::FillRect(m_hDC, &r, brush); }
    void FillSolidRect(const RECT& r, COLORREF color);
    BOOL DrawFocusRect(const RECT& r) { return ::DrawFocusRect(m_hDC, &r); }
    COLORREF SetTextColor(COLORREF c) { return ::SetTextColor(m_hDC, c); }
    COLORREF SetBkColor(COLORREF c) { return ::SetBkColor(m_hDC, c); }
    int SetBkMode(int mode) { return ::SetBkMode(m_hDC, mode); }
    UINT SetTextAlign(UINT align) { return ::SetTextAlign(m_hDC, align); }
    BOOL TextOut(int x, int y, const wchar_t* text, int count)
    {
        return ::TextOutW(m_hDC, x, y, text, count);
    }
    BOOL TextOut(int x, int y, const CString& text) { return TextOut(x, y, text, text.GetLength()); }
    int DrawText(const wchar_t* text, int count, RECT* r, UINT format)
    {
        return ::DrawTextW(m_hDC, text, count, r, format);
    }
    int DrawText(const CString& text, RECT* r, UINT format) { return DrawText(text, text.GetLength(), r, format); }
    SIZE GetTextExtent(const wchar_t* text, int count) const;
    SIZE GetTextExtent(const CString& text) const { return GetTextExtent(text, text.GetLength()); }
    BOOL GetTextMetrics(TEXTMETRICW* tm) const { return ::GetTextMetricsW(m_hDC, tm); }
    int GetClipBox(RECT* r) const { return ::GetClipBox(m_hDC, r); }
    COLORREF GetPixel(int x, int y) const { return ::GetPixel(m_hDC, x, y); }
    int GetDeviceCaps(int index) const { return ::GetDeviceCaps(m_hDC, index); }

protected:
    // How the handle was taken, so it goes back the same way.
    enum class Source { None, Attached, Created, Paint, Client, Window };
    void Take(HDC hdc, Source source);
    // Restores the saved state and gives the handle back.
    void Release();
    Source m_source = Source::None;
    int m_saved = 0;
    HWND m_hWndOwner = nullptr;
};

// BeginPaint / EndPaint around the object's life.
class CPaintDC : public CDC {
public:
    explicit CPaintDC(CWnd* wnd);
    ~CPaintDC() override;
    PAINTSTRUCT m_ps = {};
};

// GetDC / ReleaseDC of the client area.
class CClientDC : public CDC {
public:
    explicit CClientDC(CWnd* wnd);
    ~CClientDC() override;
};

// GetWindowDC / ReleaseDC: the whole window, frame included.
class CWindowDC : public CDC {
public:
    explicit CWindowDC(CWnd* wnd);
    ~CWindowDC() override;
};

// Double buffering: drawing goes to a bitmap of the area's size in the target's
// coordinates; when the object goes away the area is copied to the target in one step.
class CMemoryDC : public CDC {
public:
    CMemoryDC(HDC target, const RECT& area);
    ~CMemoryDC() override;

private:
    HDC m_target;
    RECT m_area;
    CBitmap m_bitmap;
};
