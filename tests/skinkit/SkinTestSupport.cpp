#include "SkinTestSupport.h"
#include "GuiTestSupport.h"
#include "core/AppPaths.h"
#include <atomic>
#include <cwchar>
#include <thread>

HBITMAP MakeDib(int width, int height, const PixelFn& pixel, bool topDown)
{
    BITMAPINFO bi = {};
    bi.bmiHeader.biSize = sizeof(bi.bmiHeader);
    bi.bmiHeader.biWidth = width;
    bi.bmiHeader.biHeight = topDown ? -height : height;
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    bi.bmiHeader.biCompression = BI_RGB;
    DWORD* bits = nullptr;
    HBITMAP dib = CreateDIBSection(nullptr, &bi, DIB_RGB_COLORS, (void**)&bits, nullptr, 0);
    if (!dib) return nullptr;
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            COLORREF c = pixel(x, y);
            int row = topDown ? y : height - 1 - y;
            bits[(size_t)row * width + x] = (GetRValue(c) << 16) | (GetGValue(c) << 8) | GetBValue(c);
        }
    }
    return dib;
}

bool WriteBmp(const wchar_t* path, int width, int height, const PixelFn& pixel)
{
    int stride = (width * 3 + 3) & ~3;
    std::vector<unsigned char> file(sizeof(BITMAPFILEHEADER) + sizeof(BITMAPINFOHEADER) + (size_t)stride * height);
    BITMAPFILEHEADER* fh = (BITMAPFILEHEADER*)file.data();
    BITMAPINFOHEADER* ih = (BITMAPINFOHEADER*)(file.data() + sizeof(BITMAPFILEHEADER));
    fh->bfType = 0x4D42;
    fh->bfSize = (DWORD)file.size();
    fh->bfOffBits = sizeof(BITMAPFILEHEADER) + sizeof(BITMAPINFOHEADER);
    ih->biSize = sizeof(BITMAPINFOHEADER);
    ih->biWidth = width;
    ih->biHeight = height;
    ih->biPlanes = 1;
    ih->biBitCount = 24;
    unsigned char* rows = file.data() + fh->bfOffBits;
    for (int y = 0; y < height; ++y) {
        unsigned char* row = rows + (size_t)(height - 1 - y) * stride;
        for (int x = 0; x < width; ++x) {
            COLORREF c = pixel(x, y);
            row[x * 3] = GetBValue(c);
            row[x * 3 + 1] = GetGValue(c);
            row[x * 3 + 2] = GetRValue(c);
        }
    }
    return WriteBytes(path, file);
}

namespace {

// LSB-first codes of the GIF image data.
class CodeWriter {
public:
    void Put(unsigned code, int bits)
    {
        m_acc |= code << m_n;
        m_n += bits;
        while (m_n >= 8) {
            m_bytes.push_back((unsigned char)(m_acc & 0xFF));
            m_acc >>= 8;
            m_n -= 8;
        }
    }
    std::vector<unsigned char> Finish()
    {
        if (m_n) m_bytes.push_back((unsigned char)(m_acc & 0xFF));
        return m_bytes;
    }

private:
    unsigned m_acc = 0;
    int m_n = 0;
    std::vector<unsigned char> m_bytes;
};

}  // namespace

bool WriteGif(const wchar_t* path, int width, int height, const std::function<BYTE(int x, int y)>& index)
{
    std::vector<unsigned char> f = {'G', 'I', 'F', '8', '9', 'a'};
    auto word = [&](int v) {
        f.push_back((unsigned char)(v & 0xFF));
        f.push_back((unsigned char)(v >> 8));
    };
    word(width);
    word(height);
    f.push_back(0xF7);  // a global table of 256 colours
    f.push_back(0);
    f.push_back(0);
    for (int i = 0; i < 256; ++i) {
        COLORREF c = GifColour(i);
        f.push_back(GetRValue(c));
        f.push_back(GetGValue(c));
        f.push_back(GetBValue(c));
    }
    f.push_back(0x2C);
    word(0);
    word(0);
    word(width);
    word(height);
    f.push_back(0);
    f.push_back(8);
    // Every pixel a 9-bit literal; a clear code before the table would need 10 bits.
    CodeWriter codes;
    int sinceClear = 0;
    codes.Put(256, 9);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            if (sinceClear == 250) {
                codes.Put(256, 9);
                sinceClear = 0;
            }
            codes.Put(index(x, y), 9);
            ++sinceClear;
        }
    }
    codes.Put(257, 9);
    std::vector<unsigned char> data = codes.Finish();
    for (size_t at = 0; at < data.size(); at += 255) {
        size_t n = data.size() - at < 255 ? data.size() - at : 255;
        f.push_back((unsigned char)n);
        f.insert(f.end(), data.begin() + at, data.begin() + at + n);
    }
    f.push_back(0);
    f.push_back(0x3B);
    return WriteBytes(path, f);
}

std::vector<RECT> RegionRects(HRGN region)
{
    std::vector<RECT> rects;
    DWORD size = GetRegionData(region, 0, nullptr);
    if (!size) return rects;
    std::vector<unsigned char> buf(size);
    RGNDATA* data = (RGNDATA*)buf.data();
    if (!GetRegionData(region, size, data)) return rects;
    const RECT* r = (const RECT*)data->Buffer;
    rects.assign(r, r + data->rdh.nCount);
    return rects;
}

COLORREF CapturedPixel(const std::vector<DWORD>& pixels, int width, int x, int y)
{
    DWORD p = pixels[(size_t)y * width + x];
    return RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF);
}

int WindowPixels::Count(const RECT& r, COLORREF c) const
{
    int n = 0;
    for (int y = r.top; y < r.bottom && y < height; ++y)
        for (int x = r.left; x < r.right && x < width; ++x)
            if (At(x, y) == c) ++n;
    return n;
}

WindowPixels GrabWindow(HWND hwnd)
{
    RedrawWindow(hwnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    GdiFlush();
    WindowPixels w;
    w.raw = CaptureWindow(hwnd, &w.width, &w.height);
    return w;
}

void AsAPerson(const std::function<void()>& steps, DWORD timeoutMs)
{
    std::atomic<bool> done(false);
    std::thread person([&] {
        steps();
        done = true;
    });
    PumpUntil([&] { return done.load(); }, timeoutMs);
    person.join();
    PumpInput();
    PumpFor(200);
}

namespace {

void CopyFolderFiles(const CString& from, const CString& to, const wchar_t* pattern)
{
    CreateDirectoryW(to, nullptr);
    WIN32_FIND_DATAW fd;
    HANDLE h = FindFirstFileW(from + pattern, &fd);
    if (h == INVALID_HANDLE_VALUE) return;
    do {
        if (!(fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) CopyFileW(from + fd.cFileName, to + fd.cFileName, FALSE);
    } while (FindNextFileW(h, &fd));
    FindClose(h);
}

}  // namespace

SkinFolders::SkinFolders(bool shippedSkin)
{
    m_app = m_temp.File(L"App\\");
    m_conf = m_temp.File(L"Conf\\");
    CreateDirectoryW(m_app, nullptr);
    CreateDirectoryW(m_conf, nullptr);
    if (shippedSkin) {
        CopyFileW(SourceFile(L"resources\\Skins.xml"), m_app + L"Skins.xml", FALSE);
        CopyFileW(SourceFile(L"resources\\Strings.xml"), m_app + L"Strings.xml", FALSE);
        CopyFolderFiles(SourceFile(L"resources\\skins\\"), m_app + L"skins\\", L"*.bmp");
    }
    ResetConfig();
    wcscpy(g_szAppDir, m_app);
    wcscpy(g_szConfDir, m_conf);
}

void SkinFolders::ResetConfig() const
{
    WriteUtf16File(m_conf + L"Config.xml",
                   L"<?xml version=\"1.0\" encoding=\"utf-16\"?>\r\n<root>\r\n<PROFILE_ID>0</PROFILE_ID>\r\n"
                   L"<WARNING_OPTION_FLAG>7</WARNING_OPTION_FLAG>\r\n"
                   L"<WARNINGFOUR_OPTION_FLAG>7</WARNINGFOUR_OPTION_FLAG>\r\n</root>\r\n");
}

SkinFolders::~SkinFolders()
{
    g_szAppDir[0] = 0;
    g_szConfDir[0] = 0;
}
