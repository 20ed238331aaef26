#include "skinkit/SkinPicture.h"
#include "framework/StartupTrace.h"
#include <ole2.h>
#include <olectl.h>

namespace {

// The whole file in a movable block, or null.
HGLOBAL ReadWholeFile(const wchar_t* path, DWORD& size)
{
    HANDLE file = CreateFileW(path, GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) return nullptr;
    size = GetFileSize(file, nullptr);
    HGLOBAL block = nullptr;
    if (size != INVALID_FILE_SIZE && size > 0) block = GlobalAlloc(GMEM_MOVEABLE, size);
    if (block) {
        void* p = GlobalLock(block);
        DWORD got = 0;
        BOOL ok = p && ReadFile(file, p, size, &got, nullptr) && got == size;
        if (p) GlobalUnlock(block);
        if (!ok) {
            GlobalFree(block);
            block = nullptr;
        }
    }
    CloseHandle(file);
    return block;
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
    DWORD bytes = 0;
    int64_t since = StartupTraceNow();
    HGLOBAL block = path ? ReadWholeFile(path, bytes) : nullptr;
    StartupTraceSpan("picture-read", since);
    HBITMAP decoded = block ? DecodePicture(block, bytes) : nullptr;
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
    CClientDC screen(nullptr);
    CDC* ref = dc && dc->m_hDC ? dc : &screen;
    // Compatible with the window's DC, not with a memory DC's one-pixel monochrome bitmap.
    if (!dst.CreateCompatibleBitmap(ref, width, height)) return;
    CDC to, from;
    if (!to.CreateCompatibleDC(ref) || !from.CreateCompatibleDC(ref)) return;
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
