#include "skinkit/SkinPicture.h"
#include "framework/StartupTrace.h"
#include <ole2.h>
#include <olectl.h>
#include <cstdint>
#include <cstring>

namespace {

// A picture file opened for reading and mapped whole: the system brings the pages in as
// they are read, many at a time, where reading into a block of our own would fault in
// every page of the block first. Closed again by the destructor.
class MappedFile {
public:
    explicit MappedFile(const wchar_t* path)
    {
        m_file = CreateFileW(path, GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
        if (m_file == INVALID_HANDLE_VALUE) return;
        DWORD size = GetFileSize(m_file, nullptr);
        if (size == INVALID_FILE_SIZE || size == 0) return;
        m_mapping = CreateFileMappingW(m_file, nullptr, PAGE_READONLY, 0, 0, nullptr);
        if (m_mapping) m_view = (const BYTE*)MapViewOfFile(m_mapping, FILE_MAP_READ, 0, 0, 0);
        if (m_view) m_size = size;
    }
    ~MappedFile()
    {
        if (m_view) UnmapViewOfFile(m_view);
        if (m_mapping) CloseHandle(m_mapping);
        if (m_file != INVALID_HANDLE_VALUE) CloseHandle(m_file);
    }
    MappedFile(const MappedFile&) = delete;
    MappedFile& operator=(const MappedFile&) = delete;

    const BYTE* Data() const { return m_view; }
    DWORD Size() const { return m_size; }
    // The bytes in a movable block of their own, for a stream; null when there are none.
    HGLOBAL Copy() const
    {
        HGLOBAL block = m_view ? GlobalAlloc(GMEM_MOVEABLE, m_size) : nullptr;
        void* p = block ? GlobalLock(block) : nullptr;
        if (!p) {
            if (block) GlobalFree(block);
            return nullptr;
        }
        memcpy(p, m_view, m_size);
        GlobalUnlock(block);
        return block;
    }

private:
    HANDLE m_file = INVALID_HANDLE_VALUE;
    HANDLE m_mapping = nullptr;
    const BYTE* m_view = nullptr;
    DWORD m_size = 0;
};

// The rows of a 24- or 32-bit file into a 32-bit bottom-up section's pixels, as the system
// converts them (blue, green, red and 0 from 24 bits; 32-bit pixels as they are). Done
// here rather than by SetDIBits, which holds the system's drawing lock while it converts
// and touches the new pages: pictures decoded side by side would wait for each other.
void CopyRows(const BYTE* rows, size_t stride, bool topDown, int bits, LONG width, LONG height, DWORD* out)
{
    for (LONG i = 0; i < height; ++i) {
        // The section's memory row i is the picture's row height - 1 - i.
        const BYTE* row = rows + stride * (size_t)(topDown ? height - 1 - i : i);
        DWORD* to = out + (size_t)width * i;
        if (bits == 32) {
            memcpy(to, row, (size_t)width * 4);
            continue;
        }
        for (LONG x = 0; x < width; ++x, row += 3) to[x] = row[0] | (row[1] << 8) | ((DWORD)row[2] << 16);
    }
}

// An uncompressed bitmap file straight into a 32-bit bottom-up DIB section: the pixels
// OLE picture loading and a copy into a section give, without the picture object and
// the copy. Null for anything else (other formats, compressed rows, a short file), which
// goes the OLE way.
HBITMAP DecodeBitmapFile(const BYTE* data, DWORD size)
{
    if (size < sizeof(BITMAPFILEHEADER) + sizeof(BITMAPINFOHEADER)) return nullptr;
    const BITMAPFILEHEADER* file = (const BITMAPFILEHEADER*)data;
    const BITMAPINFOHEADER* info = (const BITMAPINFOHEADER*)(data + sizeof(BITMAPFILEHEADER));
    if (file->bfType != 0x4D42 || info->biSize < sizeof(BITMAPINFOHEADER) || info->biPlanes != 1 ||
        info->biCompression != BI_RGB)
        return nullptr;
    int bits = info->biBitCount;
    if (bits != 1 && bits != 4 && bits != 8 && bits != 16 && bits != 24 && bits != 32) return nullptr;
    LONG width = info->biWidth;
    LONG height = info->biHeight < 0 ? -info->biHeight : info->biHeight;
    if (width <= 0 || height <= 0 || width > 0x7FFF || height > 0x7FFF) return nullptr;
    // The header, its palette and every row lie inside the file.
    DWORD colours = info->biClrUsed ? info->biClrUsed : bits <= 8 ? 1u << bits : 0;
    if (colours > 256) return nullptr;
    uint64_t headerEnd = sizeof(BITMAPFILEHEADER) + (uint64_t)info->biSize + colours * sizeof(RGBQUAD);
    uint64_t stride = (((uint64_t)width * bits + 31) / 32) * 4;
    if (headerEnd > size || file->bfOffBits > size || stride * height > size - file->bfOffBits) return nullptr;

    HDC dc = CreateCompatibleDC(nullptr);
    if (!dc) return nullptr;
    void* pixels = nullptr;
    HBITMAP bitmap = CreateDibSection32(dc, width, height, &pixels);
    if (bitmap && pixels && (bits == 24 || bits == 32)) {
        CopyRows(data + file->bfOffBits, (size_t)stride, info->biHeight < 0, bits, width, height, (DWORD*)pixels);
    } else if (bitmap && SetDIBits(dc, bitmap, 0, (UINT)height, data + file->bfOffBits, (const BITMAPINFO*)info,
                                   DIB_RGB_COLORS) != height) {
        // The system converts the other depths, as it does for the picture object's bitmap.
        DeleteObject(bitmap);
        bitmap = nullptr;
    }
    DeleteDC(dc);
    return bitmap;
}

// A bitmap of the picture's own that outlives the picture object.
HBITMAP DecodePicture(HGLOBAL block, DWORD size)
{
    IStream* stream = nullptr;
    if (FAILED(CreateStreamOnHGlobal(block, TRUE, &stream))) {
        GlobalFree(block);
        return nullptr;
    }
    IPicture* picture = nullptr;
    int64_t since = StartupTraceNow();
    HRESULT hr = OleLoadPicture(stream, (LONG)size, FALSE, IID_IPicture, (void**)&picture);
    stream->Release();
    StartupTraceSpan("picture-decode", since);
    if (FAILED(hr) || !picture) return nullptr;
    HBITMAP copy = nullptr;
    SHORT type = 0;
    OLE_HANDLE handle = 0;
    if (SUCCEEDED(picture->get_Type(&type)) && type == PICTYPE_BITMAP && SUCCEEDED(picture->get_Handle(&handle)) &&
        handle) {
        HBITMAP own = (HBITMAP)(UINT_PTR)handle;
        since = StartupTraceNow();
        copy = (HBITMAP)CopyImage(own, IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION);
        if (!copy) copy = (HBITMAP)CopyImage(own, IMAGE_BITMAP, 0, 0, 0);
        StartupTraceSpan("picture-copy", since);
    }
    picture->Release();
    return copy;
}

}  // namespace

BOOL LoadPictureFile(const wchar_t* path, CBitmap& bitmap, SIZE& size)
{
    bitmap.DeleteObject();
    size = SIZE{0, 0};
    if (!path) return FALSE;
    int64_t since = StartupTraceNow();
    MappedFile file(path);
    StartupTraceSpan("picture-read", since);
    if (!file.Data()) return FALSE;
    since = StartupTraceNow();
    HBITMAP decoded = DecodeBitmapFile(file.Data(), file.Size());
    StartupTraceSpan("picture-decode", since);
    if (!decoded) {
        HGLOBAL block = file.Copy();
        if (block) decoded = DecodePicture(block, file.Size());
    }
    if (!decoded) return FALSE;
    bitmap.Attach(decoded);
    size = bitmap.GetSize();
    return TRUE;
}

void CopyBitmapPart(CBitmap& dst, CDC* dc, CBitmap& src, int left, int top, int right, int bottom)
{
    if (!src.GetSafeHandle()) return;
    dst.DeleteObject();
    int width = right - left;
    int height = bottom - top;
    if (width <= 0 || height <= 0) return;
    // A part of a loaded picture is a section of the picture's own 32-bit format: its
    // pixels as they are, drawn on the window as the picture is, and made without the
    // display queries a device bitmap costs (several server requests each under Wine).
    DIBSECTION ds = {};
    if (GetObjectW(src.GetSafeHandle(), sizeof(ds), &ds) == sizeof(ds) && ds.dsBm.bmBitsPixel == 32 &&
        ds.dsBmih.biCompression == BI_RGB) {
        void* bits = nullptr;
        if (!dst.Attach(CreateDibSection32(nullptr, width, height, &bits))) return;
    } else {
        CClientDC screen(nullptr);
        CDC* ref = dc && dc->m_hDC ? dc : &screen;
        // Compatible with the window's DC, not with a memory DC's one-pixel monochrome bitmap.
        if (!dst.CreateCompatibleBitmap(ref, width, height)) return;
    }
    CDC to, from;
    if (!to.CreateCompatibleDC(dc && dc->m_hDC ? dc : nullptr) || !from.CreateCompatibleDC(dc && dc->m_hDC ? dc : nullptr))
        return;
    to.SelectObject(dst);
    from.SelectObject(src);
    to.BitBlt(0, 0, width, height, &from, left, top, SRCCOPY);
}

void DrawBackdrop(CDC* dc, CBitmap& picture, const RECT& area)
{
    if (!picture.GetSafeHandle()) {
        dc->FillSolidRect(area, RGB(0, 0, 0));
        return;
    }
    CDC source;
    source.CreateCompatibleDC(dc);
    source.SelectObject(picture);
    dc->BitBlt(area.left, area.top, area.right - area.left, area.bottom - area.top, &source, 0, 0, SRCCOPY);
}
