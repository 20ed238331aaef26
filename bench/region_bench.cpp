// The window region of the largest mask the skin ships, the main window's (Skins.xml
// MAIN/MAIN_MASK of resources/), cut with BitmapToRegion: the median of 101 runs beside
// the median of a plain pass over the same pixels (a 32-bit copy of the mask, each pixel
// read and compared with white once), both in this run. Without the shipped skin it cuts
// a drawn mask of the main window's size instead, and says so. Target: the region at
// most 5 times the plain pass, and under 10 ms.
#include "skinkit/SkinFiles.h"
#include "skinkit/SkinRegion.h"
#include "core/AppPaths.h"
#include <windows.h>
#include <algorithm>
#include <cstdio>
#include <cwchar>
#include <vector>

namespace {

constexpr int kRuns = 101;

double Now()
{
    static LARGE_INTEGER freq;
    if (!freq.QuadPart) QueryPerformanceFrequency(&freq);
    LARGE_INTEGER t;
    QueryPerformanceCounter(&t);
    return (double)t.QuadPart / (double)freq.QuadPart;
}

double Median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

// The shipped resources/ folder, three levels above build/<arch>/bin.
void FindResources()
{
    wchar_t path[MAX_PATH];
    DWORD n = GetModuleFileNameW(nullptr, path, MAX_PATH);
    while (n && path[n - 1] != L'\\') --n;
    path[n] = 0;
    wchar_t full[MAX_PATH];
    std::wstring rel = std::wstring(path) + L"..\\..\\..\\resources\\";
    if (GetFullPathNameW(rel.c_str(), MAX_PATH, full, nullptr)) wcscpy(g_szAppDir, full);
}

// A window-sized shape: a rounded body with a notch and a hole, white outside.
HBITMAP DrawnMask(int width, int height)
{
    HDC screen = GetDC(nullptr);
    HBITMAP mask = CreateCompatibleBitmap(screen, width, height);
    HDC dc = CreateCompatibleDC(screen);
    HGDIOBJ old = SelectObject(dc, mask);
    RECT all = {0, 0, width, height};
    FillRect(dc, &all, (HBRUSH)GetStockObject(WHITE_BRUSH));
    SelectObject(dc, GetStockObject(BLACK_BRUSH));
    SelectObject(dc, GetStockObject(NULL_PEN));
    RoundRect(dc, 0, 0, width, height, 60, 60);
    SelectObject(dc, GetStockObject(WHITE_BRUSH));
    Ellipse(dc, width / 2 - 80, -60, width / 2 + 80, 60);
    Ellipse(dc, width / 3, height / 3, width / 3 + 120, height / 3 + 90);
    SelectObject(dc, old);
    DeleteDC(dc);
    ReleaseDC(nullptr, screen);
    return mask;
}

std::vector<DWORD> PixelsOf(HBITMAP mask, int width, int height)
{
    std::vector<DWORD> pixels((size_t)width * height);
    BITMAPINFO bi = {};
    bi.bmiHeader.biSize = sizeof(bi.bmiHeader);
    bi.bmiHeader.biWidth = width;
    bi.bmiHeader.biHeight = height;
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    bi.bmiHeader.biCompression = BI_RGB;
    HDC dc = CreateCompatibleDC(nullptr);
    GetDIBits(dc, mask, 0, height, pixels.data(), &bi, DIB_RGB_COLORS);
    DeleteDC(dc);
    return pixels;
}

}  // namespace

int wmain()
{
    FindResources();
    CBitmap shipped;
    SIZE size = LoadSkinPicture(ReadSkinSection(L"Skins.xml", L"MAIN"), L"MAIN_MASK", shipped);
    HBITMAP mask = (HBITMAP)shipped.GetSafeHandle();
    const wchar_t* source = L"the shipped MAIN_MASK";
    if (!mask) {
        size = SIZE{840, 620};
        mask = DrawnMask(size.cx, size.cy);
        source = L"a drawn mask (no shipped MAIN_MASK found)";
    }
    std::vector<DWORD> pixels = PixelsOf(mask, size.cx, size.cy);

    std::vector<double> region, pass;
    DWORD rects = 0;
    volatile long inside = 0;
    for (int i = 0; i < kRuns; ++i) {
        double t0 = Now();
        HRGN r = BitmapToRegion(mask);
        double t1 = Now();
        long n = 0;
        for (DWORD p : pixels) n += (p & 0x00FFFFFF) != 0x00FFFFFF;
        double t2 = Now();
        inside = n;
        region.push_back((t1 - t0) * 1000.0);
        pass.push_back((t2 - t1) * 1000.0);
        if (i == 0 && r) rects = (GetRegionData(r, 0, nullptr) - sizeof(RGNDATAHEADER)) / sizeof(RECT);
        if (r) DeleteObject(r);
    }
    double regionMs = Median(region);
    double passMs = Median(pass);
    wprintf(L"mask: %ls, %ld x %ld pixels, %ld inside, a region of %lu rectangles\n", source, size.cx, size.cy,
            (long)inside, rects);
    wprintf(L"BitmapToRegion: median %.3f ms over %d runs\n", regionMs, kRuns);
    wprintf(L"plain pass over the same pixels: median %.3f ms\n", passMs);
    wprintf(L"ratio %.2f (target at most 5), region %ls 10 ms\n", passMs > 0 ? regionMs / passMs : 0.0,
            regionMs < 10.0 ? L"under" : L"NOT under");
    return 0;
}
