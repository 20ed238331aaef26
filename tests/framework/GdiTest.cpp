#include "framework/CDC.h"
#include "framework/CGdiObject.h"
#include <gtest/gtest.h>
#include <utility>

TEST(Gdi, ObjectsOwnTheirHandlesAndMoveThem)
{
    CBrush a(RGB(1, 2, 3));
    HGDIOBJ first = a.GetSafeHandle();
    ASSERT_NE(first, nullptr);
    CBrush b(std::move(a));
    EXPECT_EQ(a.GetSafeHandle(), nullptr);
    EXPECT_EQ(b.GetSafeHandle(), first);

    // Taking another handle deletes the one held before.
    b.Attach(CreateSolidBrush(RGB(4, 5, 6)));
    EXPECT_EQ(GetObjectType(first), 0u);
    HGDIOBJ kept = b.Detach();
    EXPECT_EQ(b.GetSafeHandle(), nullptr);
    EXPECT_NE(GetObjectType(kept), 0u);
    DeleteObject(kept);

    CBitmap empty;
    EXPECT_EQ(empty.GetSize().cx, 0);
    EXPECT_EQ(empty.GetSize().cy, 0);
}

TEST(Gdi, DcsLetGoOfWhatWasSelectedThroughThem)
{
    CBitmap bitmap;
    {
        CDC screen;
        ASSERT_TRUE(screen.CreateCompatibleDC(nullptr));
        ASSERT_TRUE(bitmap.CreateCompatibleBitmap(&screen, 8, 8));
        CDC mem;
        ASSERT_TRUE(mem.CreateCompatibleDC(&screen));
        mem.SelectObject(bitmap);
    }
    // A bitmap still selected somewhere could not be deleted.
    EXPECT_TRUE(bitmap.DeleteObject());

    HDC raw = CreateCompatibleDC(nullptr);
    HGDIOBJ before = GetCurrentObject(raw, OBJ_FONT);
    CFont font;
    font.CreateFont(12, 0, 0, 0, 400, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0, L"MS Shell Dlg");
    CDC taken;
    ASSERT_TRUE(taken.Attach(raw));
    taken.SelectObject(font);
    EXPECT_EQ(GetCurrentObject(raw, OBJ_FONT), font.GetSafeHandle());
    EXPECT_EQ(taken.Detach(), raw);
    EXPECT_EQ(GetCurrentObject(raw, OBJ_FONT), before);
    DeleteDC(raw);
}

TEST(Gdi, MemoryDcCopiesItsAreaToTheTargetInOneStep)
{
    CDC target;
    ASSERT_TRUE(target.CreateCompatibleDC(nullptr));
    BITMAPINFO bi = {};
    bi.bmiHeader = {sizeof(BITMAPINFOHEADER), 20, -20, 1, 32, BI_RGB};
    void* bits = nullptr;
    CBitmap dib;
    dib.Attach(CreateDIBSection(target, &bi, DIB_RGB_COLORS, &bits, nullptr, 0));
    target.SelectObject(dib);
    target.FillSolidRect(RECT{0, 0, 20, 20}, RGB(0, 0, 255));
    {
        CMemoryDC mem(target, RECT{5, 5, 15, 15});
        // Target coordinates: the buffer covers only the area.
        mem.FillSolidRect(RECT{0, 0, 20, 20}, RGB(255, 0, 0));
        EXPECT_EQ(target.GetPixel(10, 10), RGB(0, 0, 255));
    }
    EXPECT_EQ(target.GetPixel(5, 5), RGB(255, 0, 0));
    EXPECT_EQ(target.GetPixel(14, 14), RGB(255, 0, 0));
    EXPECT_EQ(target.GetPixel(4, 4), RGB(0, 0, 255));
    EXPECT_EQ(target.GetPixel(15, 15), RGB(0, 0, 255));
}
