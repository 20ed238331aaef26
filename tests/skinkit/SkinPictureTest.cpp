#include "skinkit/SkinFiles.h"
#include "skinkit/SkinPicture.h"
#include "framework/AfxOle.h"
#include "framework/CDC.h"
#include "core/AppPaths.h"
#include "SkinTestSupport.h"
#include <objidl.h>
#include <gdiplus.h>
#include <gtest/gtest.h>
#include <olectl.h>
#include <functional>
#include <string>

namespace {

COLORREF Gradient(int x, int y)
{
    return RGB(x * 10, y * 20, 200);
}

COLORREF PixelOf(CBitmap& bitmap, int x, int y)
{
    CDC dc;
    dc.CreateCompatibleDC(nullptr);
    dc.SelectObject(bitmap);
    return dc.GetPixel(x, y);
}

// The picture in another format, written by the system's own encoder.
bool WriteThroughGdiplus(const wchar_t* bmpPath, const wchar_t* path, const CLSID& encoder)
{
    ULONG_PTR token = 0;
    Gdiplus::GdiplusStartupInput input;
    if (Gdiplus::GdiplusStartup(&token, &input, nullptr) != Gdiplus::Ok) return false;
    Gdiplus::GpImage* image = nullptr;
    bool ok = Gdiplus::DllExports::GdipLoadImageFromFile(bmpPath, &image) == Gdiplus::Ok &&
              Gdiplus::DllExports::GdipSaveImageToFile(image, path, &encoder, nullptr) == Gdiplus::Ok;
    if (image) Gdiplus::DllExports::GdipDisposeImage(image);
    return ok;
}

const CLSID kJpegEncoder = {0x557CF401, 0x1A04, 0x11D3, {0x9A, 0x73, 0x00, 0x00, 0xF8, 0x1E, 0xF3, 0x2E}};

// A bitmap file of any depth: value gives each pixel's raw value (a palette index, a 5-5-5
// word, a blue-green-red triple, a 32-bit word); pictures of 8 bits or fewer have a palette.
// RLE8 stores every pixel as a run of one.
std::vector<unsigned char> BmpFile(int width, int height, int bits, bool topDown, DWORD compression,
                                   const std::function<DWORD(int x, int y)>& value)
{
    int colours = bits <= 8 ? 1 << bits : 0;
    int stride = ((width * bits + 31) / 32) * 4;
    std::vector<unsigned char> pixels;
    for (int i = 0; i < height; ++i) {
        int y = topDown ? i : height - 1 - i;
        if (compression == BI_RLE8) {
            for (int x = 0; x < width; ++x) pixels.insert(pixels.end(), {1, (unsigned char)value(x, y)});
            pixels.insert(pixels.end(), {0, 0});
            continue;
        }
        std::vector<unsigned char> row(stride, 0);
        for (int x = 0; x < width; ++x) {
            DWORD v = value(x, y);
            if (bits < 8)
                row[x * bits / 8] |= (unsigned char)(v << (8 - bits - (x * bits) % 8));
            else
                for (int b = 0; b < bits / 8; ++b) row[x * bits / 8 + b] = (unsigned char)(v >> (8 * b));
        }
        pixels.insert(pixels.end(), row.begin(), row.end());
    }
    if (compression == BI_RLE8) pixels.insert(pixels.end(), {0, 1});
    size_t offBits = sizeof(BITMAPFILEHEADER) + sizeof(BITMAPINFOHEADER) + colours * 4;
    std::vector<unsigned char> file(offBits + pixels.size());
    BITMAPFILEHEADER* fh = (BITMAPFILEHEADER*)file.data();
    BITMAPINFOHEADER* ih = (BITMAPINFOHEADER*)(file.data() + sizeof(BITMAPFILEHEADER));
    fh->bfType = 0x4D42;
    fh->bfSize = (DWORD)(offBits + pixels.size());
    fh->bfOffBits = (DWORD)offBits;
    ih->biSize = sizeof(BITMAPINFOHEADER);
    ih->biWidth = width;
    ih->biHeight = topDown ? -height : height;
    ih->biPlanes = 1;
    ih->biBitCount = (WORD)bits;
    ih->biCompression = compression;
    ih->biSizeImage = compression == BI_RLE8 ? (DWORD)pixels.size() : 0;
    RGBQUAD* palette = (RGBQUAD*)(ih + 1);
    for (int i = 0; i < colours; ++i) palette[i] = RGBQUAD{(BYTE)(i * 5), (BYTE)(255 - i), (BYTE)(i * 37), 0};
    std::copy(pixels.begin(), pixels.end(), file.begin() + offBits);
    return file;
}

// A bitmap's pixels as 32-bit words, top row first, alpha left out; empty for none.
std::vector<DWORD> PixelsOf(HBITMAP bitmap, SIZE& size)
{
    BITMAP bm = {};
    if (!bitmap || !GetObjectW(bitmap, sizeof(bm), &bm)) return {};
    size = SIZE{bm.bmWidth, bm.bmHeight};
    BITMAPINFO bi = {};
    bi.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    bi.bmiHeader.biWidth = bm.bmWidth;
    bi.bmiHeader.biHeight = -bm.bmHeight;
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    bi.bmiHeader.biCompression = BI_RGB;
    std::vector<DWORD> pixels((size_t)bm.bmWidth * bm.bmHeight);
    HDC dc = GetDC(nullptr);
    int rows = GetDIBits(dc, bitmap, 0, bm.bmHeight, pixels.data(), &bi, DIB_RGB_COLORS);
    ReleaseDC(nullptr, dc);
    if (rows != bm.bmHeight) return {};
    for (DWORD& p : pixels) p &= 0x00FFFFFF;
    return pixels;
}

// What OLE picture loading makes of a file, as the pixels above; empty when it fails.
std::vector<DWORD> OlePixels(const std::vector<unsigned char>& file, SIZE& size)
{
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, file.size());
    memcpy(GlobalLock(block), file.data(), file.size());
    GlobalUnlock(block);
    IStream* stream = nullptr;
    if (FAILED(CreateStreamOnHGlobal(block, TRUE, &stream))) return {};
    IPicture* picture = nullptr;
    HRESULT hr = OleLoadPicture(stream, (LONG)file.size(), FALSE, IID_IPicture, (void**)&picture);
    stream->Release();
    if (FAILED(hr) || !picture) return {};
    OLE_HANDLE handle = 0;
    std::vector<DWORD> pixels;
    if (SUCCEEDED(picture->get_Handle(&handle))) pixels = PixelsOf((HBITMAP)(UINT_PTR)handle, size);
    picture->Release();
    return pixels;
}

}  // namespace

TEST(LoadPictureFile, BitmapFilesGiveThePixelsOfOlePictureLoadingInA32BitSection)
{
    ASSERT_TRUE(AfxOleInit());
    TempDir temp;
    struct Case {
        std::string name;
        std::vector<unsigned char> file;
    };
    std::vector<Case> cases;
    auto colour = [](int x, int y) { return (DWORD)RGB(x * 9, y * 17, 255 - x * y); };
    auto index = [](int x, int y) { return (DWORD)(x * 7 + y * 3); };
    cases.push_back({"24 bits bottom-up", BmpFile(23, 11, 24, false, BI_RGB, colour)});
    cases.push_back({"24 bits top-down", BmpFile(23, 11, 24, true, BI_RGB, colour)});
    cases.push_back({"32 bits", BmpFile(13, 7, 32, false, BI_RGB, [](int x, int y) { return 0x7F000000u | (DWORD)(x * 19 + y * 4000); })});
    cases.push_back({"16 bits", BmpFile(13, 7, 16, false, BI_RGB, [](int x, int y) { return (DWORD)(x * 1234 + y * 77) & 0x7FFF; })});
    cases.push_back({"8 bits", BmpFile(21, 9, 8, false, BI_RGB, index)});
    cases.push_back({"4 bits", BmpFile(21, 9, 4, false, BI_RGB, [&](int x, int y) { return index(x, y) & 15; })});
    cases.push_back({"1 bit", BmpFile(21, 9, 1, false, BI_RGB, [&](int x, int y) { return index(x, y) & 1; })});
    cases.push_back({"RLE8", BmpFile(21, 9, 8, false, BI_RLE8, index)});
    // The shipped skin, whatever its pictures are.
    WIN32_FIND_DATAW fd;
    HANDLE find = FindFirstFileW(SourceFile(L"resources\\skins\\*.bmp"), &fd);
    ASSERT_NE(find, INVALID_HANDLE_VALUE);
    do {
        HANDLE f = CreateFileW(SourceFile((CString(L"resources\\skins\\") + fd.cFileName)), GENERIC_READ,
                               FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
        ASSERT_NE(f, INVALID_HANDLE_VALUE);
        std::vector<unsigned char> bytes(GetFileSize(f, nullptr));
        DWORD got = 0;
        ReadFile(f, bytes.data(), (DWORD)bytes.size(), &got, nullptr);
        CloseHandle(f);
        char name[MAX_PATH];
        WideCharToMultiByte(CP_UTF8, 0, fd.cFileName, -1, name, MAX_PATH, nullptr, nullptr);
        cases.push_back({name, bytes});
    } while (FindNextFileW(find, &fd));
    FindClose(find);

    for (const Case& c : cases) {
        SIZE oleSize = {};
        std::vector<DWORD> expected = OlePixels(c.file, oleSize);
        ASSERT_FALSE(expected.empty()) << c.name << ": OLE picture loading decodes it";
        CString path = temp.File(L"picture.bmp");
        ASSERT_TRUE(WriteBytes(path, c.file));
        CBitmap picture;
        SIZE size = {};
        ASSERT_TRUE(LoadPictureFile(path, picture, size)) << c.name;
        EXPECT_EQ(size.cx, oleSize.cx) << c.name;
        EXPECT_EQ(size.cy, oleSize.cy) << c.name;
        SIZE mine = {};
        EXPECT_TRUE(PixelsOf((HBITMAP)picture.GetSafeHandle(), mine) == expected) << c.name << ": the same pixels";
        // The region builder and the buttons read it as it is.
        DIBSECTION ds = {};
        ASSERT_EQ(GetObjectW(picture.GetSafeHandle(), sizeof(ds), &ds), (int)sizeof(ds)) << c.name << ": a DIB section";
        EXPECT_EQ(ds.dsBm.bmBitsPixel, 32) << c.name;
        EXPECT_GT(ds.dsBmih.biHeight, 0) << c.name << ": rows bottom-up";
    }
}

TEST(LoadPictureFile, DecodesBitmapsJpegAndGifIntoABitmapOfItsOwn)
{
    ASSERT_TRUE(AfxOleInit());
    TempDir temp;
    CString bmp = temp.File(L"picture.bmp");
    ASSERT_TRUE(WriteBmp(bmp, 23, 11, Gradient));
    ASSERT_TRUE(WriteThroughGdiplus(bmp, temp.File(L"picture.jpg"), kJpegEncoder));
    ASSERT_TRUE(WriteGif(temp.File(L"picture.gif"), 23, 11, [](int x, int y) { return (BYTE)(x * 11 + y); }));

    struct Case {
        const char* name;
        const wchar_t* file;
        std::function<COLORREF(int x, int y)> exact;  // null: a lossy format
    } cases[] = {{"bitmap", L"picture.bmp", Gradient},
                 {"JPEG", L"picture.jpg", nullptr},
                 {"GIF", L"picture.gif", [](int x, int y) { return GifColour(x * 11 + y); }}};
    for (auto& c : cases) {
        CBitmap picture;
        SIZE size = {-1, -1};
        ASSERT_TRUE(LoadPictureFile(temp.File(c.file), picture, size)) << c.name;
        EXPECT_EQ(size.cx, 23) << c.name;
        EXPECT_EQ(size.cy, 11) << c.name;
        EXPECT_EQ(picture.GetSize().cx, 23) << c.name;
        if (c.exact) {
            EXPECT_EQ(PixelOf(picture, 0, 0), c.exact(0, 0)) << c.name;
            EXPECT_EQ(PixelOf(picture, 22, 10), c.exact(22, 10)) << c.name;
        }
        // The file is closed: it can go at once.
        EXPECT_TRUE(DeleteFileW(temp.File(c.file))) << c.name;
    }
}

TEST(LoadPictureFile, MissingOrUndecodableFileGivesAnEmptyPicture)
{
    TempDir temp;
    ASSERT_TRUE(WriteBytes(temp.File(L"garbage.bmp"), "not a picture at all", 20));
    ASSERT_TRUE(WriteBytes(temp.File(L"empty.bmp"), "", 0));
    for (const wchar_t* file : {L"missing.bmp", L"garbage.bmp", L"empty.bmp"}) {
        CBitmap picture;
        picture.Attach(SolidDib(4, 4, RGB(1, 2, 3)));
        HGDIOBJ before = picture.GetSafeHandle();
        SIZE size = {5, 5};
        EXPECT_FALSE(LoadPictureFile(temp.File(file), picture, size));
        EXPECT_EQ(picture.GetSafeHandle(), nullptr);
        EXPECT_EQ(GetObjectType(before), 0u) << "the previous picture is deleted";
        EXPECT_EQ(size.cx, 0);
        EXPECT_EQ(size.cy, 0);
    }
    CBitmap picture;
    SIZE size;
    EXPECT_FALSE(LoadPictureFile(nullptr, picture, size));
}

TEST(LoadPictureFile, RepeatedLoadsKeepNoFilesOrPicturesBehind)
{
    TempDir temp;
    CString bmp = temp.File(L"loop.bmp");
    ASSERT_TRUE(WriteBmp(bmp, 64, 64, Gradient));
    CBitmap picture;
    SIZE size;
    DWORD handlesBefore = 0, handlesAfter = 0;
    LoadPictureFile(bmp, picture, size);
    GetProcessHandleCount(GetCurrentProcess(), &handlesBefore);
    DWORD gdiBefore = GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS);
    for (int i = 0; i < 200; ++i) ASSERT_TRUE(LoadPictureFile(bmp, picture, size));
    GetProcessHandleCount(GetCurrentProcess(), &handlesAfter);
    DWORD gdiAfter = GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS);
    EXPECT_LE(handlesAfter, handlesBefore + 5);
    EXPECT_LE(gdiAfter, gdiBefore + 5);
    EXPECT_TRUE(DeleteFileW(bmp));
}

TEST(CopyBitmapPart, CopiesTheRectangleAndLeavesTheDestinationAloneForAnEmptySource)
{
    CBitmap source;
    source.Attach(MakeDib(20, 10, Gradient));
    CBitmap part;
    CClientDC screen(nullptr);
    CopyBitmapPart(part, &screen, source, 5, 2, 15, 8);
    EXPECT_EQ(part.GetSize().cx, 10);
    EXPECT_EQ(part.GetSize().cy, 6);
    EXPECT_EQ(PixelOf(part, 0, 0), Gradient(5, 2));
    EXPECT_EQ(PixelOf(part, 9, 5), Gradient(14, 7));

    CBitmap empty;
    CopyBitmapPart(part, &screen, empty, 0, 0, 3, 3);
    EXPECT_EQ(part.GetSize().cx, 10);
    // Without a DC the screen's kind of bitmap is made.
    CBitmap again;
    CopyBitmapPart(again, nullptr, source, 0, 0, 4, 4);
    EXPECT_EQ(PixelOf(again, 3, 3), Gradient(3, 3));
}

TEST(SkinFiles, SectionsOfTheSkinFilesAndTheirPictures)
{
    SkinFolders folders(false);
    CreateDirectoryW(folders.App(L"skins"), nullptr);
    ASSERT_TRUE(WriteBmp(folders.App(L"skins\\box.bmp"), 7, 3, Gradient));
    ASSERT_TRUE(WriteUtf16File(folders.App(L"Skins.xml"),
                               L"<root><OTHER><BOX_NORMAL>x.bmp</BOX_NORMAL></OTHER>"
                               L"<BOX><BOX_NORMAL>box.bmp</BOX_NORMAL><BOX_MASK>gone.bmp</BOX_MASK></BOX>"
                               L"<BOX><BOX_OVER>box.bmp</BOX_OVER></BOX></root>"));
    std::vector<SkinItem> items = ReadSkinSection(L"Skins.xml", L"BOX");
    ASSERT_EQ(items.size(), 3u);
    EXPECT_EQ(items[0].name, L"BOX_NORMAL");
    EXPECT_EQ(items[2].name, L"BOX_OVER");
    CBitmap normal, mask, down;
    EXPECT_EQ(LoadSkinPicture(items, L"BOX_NORMAL", normal).cx, 7);
    EXPECT_EQ(LoadSkinPicture(items, L"BOX_MASK", mask).cx, 0);
    EXPECT_EQ(LoadSkinPicture(items, L"BOX_DOWN", down).cx, 0);
    EXPECT_EQ(mask.GetSafeHandle(), nullptr);
    EXPECT_TRUE(ReadSkinSection(L"Skins.xml", L"NONE").empty());
    EXPECT_TRUE(ReadSkinSection(L"Missing.xml", L"BOX").empty());
}
