#pragma once
#include <windows.h>
#include "framework/CObject.h"

class CDC;

// A GDI object that owns its handle: deleted with the object, movable, never copied.
// A DC that selected the object must have let it go first (CDC restores its selections),
// or the deletion fails and the handle leaks.
class CGdiObject : public CObject {
public:
    CGdiObject() = default;
    ~CGdiObject() override { DeleteObject(); }
    CGdiObject(const CGdiObject&) = delete;
    CGdiObject& operator=(const CGdiObject&) = delete;
    CGdiObject(CGdiObject&& other) noexcept : m_hObject(other.Detach()) {}
    CGdiObject& operator=(CGdiObject&& other) noexcept
    {
        if (this != &other) Attach(other.Detach());
        return *this;
    }

    HGDIOBJ GetSafeHandle() const { return m_hObject; }
    // Takes the handle; the one held before is deleted.
    BOOL Attach(HGDIOBJ handle)
    {
        DeleteObject();
        m_hObject = handle;
        return handle != nullptr;
    }
    // Gives the handle away without deleting it.
    HGDIOBJ Detach()
    {
        HGDIOBJ h = m_hObject;
        m_hObject = nullptr;
        return h;
    }
    BOOL DeleteObject()
    {
        if (!m_hObject) return FALSE;
        BOOL ok = ::DeleteObject(m_hObject);
        m_hObject = nullptr;
        return ok;
    }
    int GetObject(int size, void* out) const { return m_hObject ? ::GetObjectW(m_hObject, size, out) : 0; }

    HGDIOBJ m_hObject = nullptr;
};

// A bitmap compatible with dc. For a DC of a 32-bit display it is a 32-bit DIB section:
// the device's own format and pixels, but making and selecting it asks the system about
// the display nothing (under Wine a device bitmap costs several server requests each time).
// Any other DC gets the system's compatible bitmap.
HBITMAP CreateCompatibleBitmapFor(HDC dc, int width, int height);
// A 32-bit bottom-up DIB section of that size, its pixels in *bits; null when it cannot be made.
HBITMAP CreateDibSection32(HDC dc, int width, int height, void** bits);

class CBitmap : public CGdiObject {
public:
    operator HBITMAP() const { return (HBITMAP)m_hObject; }
    BOOL CreateCompatibleBitmap(CDC* dc, int width, int height);
    BOOL CreateBitmap(int width, int height, UINT planes, UINT bitsPerPixel, const void* bits)
    {
        return Attach(::CreateBitmap(width, height, planes, bitsPerPixel, bits));
    }
    int GetBitmap(BITMAP* out) const { return GetObject(sizeof(BITMAP), out); }
    // Width and height in pixels; 0 x 0 when empty.
    SIZE GetSize() const;
};

class CFont : public CGdiObject {
public:
    operator HFONT() const { return (HFONT)m_hObject; }
    BOOL CreateFontIndirect(const LOGFONTW* lf) { return Attach(::CreateFontIndirectW(lf)); }
    BOOL CreateFont(int height, int width, int escapement, int orientation, int weight, BYTE italic,
                    BYTE underline, BYTE strikeOut, BYTE charSet, BYTE outPrecision, BYTE clipPrecision,
                    BYTE quality, BYTE pitchAndFamily, const wchar_t* face)
    {
        return Attach(::CreateFontW(height, width, escapement, orientation, weight, italic, underline, strikeOut,
                                    charSet, outPrecision, clipPrecision, quality, pitchAndFamily, face));
    }
    int GetLogFont(LOGFONTW* out) const { return GetObject(sizeof(LOGFONTW), out); }
};

class CBrush : public CGdiObject {
public:
    CBrush() = default;
    explicit CBrush(COLORREF color) { CreateSolidBrush(color); }
    operator HBRUSH() const { return (HBRUSH)m_hObject; }
    BOOL CreateSolidBrush(COLORREF color) { return Attach(::CreateSolidBrush(color)); }
};
