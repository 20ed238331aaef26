#include "skinkit/SkinFiles.h"
#include "skinkit/SkinPicture.h"
#include "framework/AfxOle.h"
#include "framework/CDC.h"
#include "core/AppPaths.h"
#include "SkinTestSupport.h"
#include <objidl.h>
#include <gdiplus.h>
#include <gtest/gtest.h>
#include <functional>

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

}  // namespace

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
