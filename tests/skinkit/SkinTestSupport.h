#pragma once
#include <windows.h>
#include <functional>
#include <vector>
#include "framework/CGdiObject.h"
#include "framework/CString.h"
#include "GuiTestSupport.h"
#include "TestSupport.h"

typedef std::function<COLORREF(int x, int y)> PixelFn;

// A 32-bit DIB section of the given pixels, its rows top-down in memory unless asked
// otherwise (loaded pictures are bottom-up).
HBITMAP MakeDib(int width, int height, const PixelFn& pixel, bool topDown = true);
inline HBITMAP SolidDib(int width, int height, COLORREF c)
{
    return MakeDib(width, height, [c](int, int) { return c; });
}
// A 24-bit bitmap file of the given pixels.
bool WriteBmp(const wchar_t* path, int width, int height, const PixelFn& pixel);

// A GIF file of palette indexes; palette colour i is GifColour(i).
bool WriteGif(const wchar_t* path, int width, int height, const std::function<BYTE(int x, int y)>& index);
inline COLORREF GifColour(int i)
{
    return RGB(i, 255 - i, 128);
}

// The rectangles of a region as the system keeps them.
std::vector<RECT> RegionRects(HRGN region);

// A pixel of a capture (CaptureWindow) as a COLORREF.
COLORREF CapturedPixel(const std::vector<DWORD>& pixels, int width, int x, int y);
// The window's pixels as a COLORREF grid, after painting everything pending.
struct WindowPixels {
    std::vector<DWORD> raw;
    int width = 0;
    int height = 0;
    COLORREF At(int x, int y) const { return CapturedPixel(raw, width, x, y); }
    // How many pixels of rect have exactly that colour.
    int Count(const RECT& rect, COLORREF c) const;
};
WindowPixels GrabWindow(HWND hwnd);

// A person at the mouse and keyboard: steps runs on a second thread while this thread
// pumps its messages (a press may run a drag loop or a tracking loop inside a handler).
void AsAPerson(const std::function<void()>& steps, DWORD timeoutMs = WINDOW_WAIT_MS);

// A program folder and a per-user folder of the test's own, set as g_szAppDir and
// g_szConfDir while the object lives. With the shipped skin, the program folder gets
// resources/Skins.xml, Strings.xml and skins\*.bmp; the per-user folder gets a small
// Config.xml with both warning option flags set to 7.
class SkinFolders {
public:
    explicit SkinFolders(bool shippedSkin = true);
    ~SkinFolders();
    SkinFolders(const SkinFolders&) = delete;
    SkinFolders& operator=(const SkinFolders&) = delete;
    CString App(const wchar_t* name = L"") const { return m_app + name; }
    // Config.xml as at the start: both option flags 7.
    void ResetConfig() const;
    CString Conf(const wchar_t* name = L"") const { return m_conf + name; }

private:
    TempDir m_temp;
    CString m_app;
    CString m_conf;
};
