#include "BellwickRig.h"
#include "tray/TrayIconWnd.h"
#include "tray/TrayResource.h"
#include "TestSupport.h"
#include "GuiTestSupport.h"
#include "core/AppPaths.h"
#include "core/Messages.h"
#include <gtest/gtest.h>
#include <cwchar>

namespace {

#pragma pack(push, 2)
struct IconGroupEntry {
    BYTE width, height, colours, reserved;
    WORD planes, bitCount;
    DWORD bytes;
    WORD id;
};
struct IconGroup {
    WORD reserved, type, count;
    IconGroupEntry entries[1];
};
#pragma pack(pop)

BOOL CALLBACK FirstGroup(HMODULE, LPCWSTR, LPWSTR name, LONG_PTR first)
{
    *(ULONG_PTR*)first = (ULONG_PTR)name;
    return FALSE;
}

// The small-icon sizes of 100 to 150 per cent and the large ones.
const int ICON_SIZES[] = {16, 20, 24, 32, 48};

}  // namespace

// Every icon of the program file in every size the shell asks for, drawn on a light and
// a dark task bar into one picture; the light's colour tells the states apart.
TEST(TrayIcons, TheProgramCarriesEachIconAtEverySizeInItsColours)
{
    HMODULE exe = LoadLibraryExW(ExeDir() + L"Bellwick.exe", nullptr, LOAD_LIBRARY_AS_DATAFILE);
    ASSERT_NE(exe, nullptr);
    ULONG_PTR first = 0;
    EnumResourceNamesW(exe, RT_GROUP_ICON, FirstGroup, (LONG_PTR)&first);
    EXPECT_EQ(first, (ULONG_PTR)IDI_BELLWICK) << "the shell shows the first icon group for the file";

    const UINT ids[] = {IDI_BELLWICK, IDI_DEVICE_ABSENT, IDI_DEVICE_PRESENT};
    const int cell = 56, width = cell * 5 * 2, height = cell * 3;
    HDC screen = GetDC(nullptr);
    HDC dc = CreateCompatibleDC(screen);
    HBITMAP sheet = CreateCompatibleBitmap(screen, width, height);
    ReleaseDC(nullptr, screen);
    HGDIOBJ old = SelectObject(dc, sheet);
    RECT light = {0, 0, width / 2, height}, dark = {width / 2, 0, width, height};
    HBRUSH lightBrush = CreateSolidBrush(RGB(0xD8, 0xD8, 0xD8)), darkBrush = CreateSolidBrush(RGB(0x1A, 0x1A, 0x1A));
    FillRect(dc, &light, lightBrush);
    FillRect(dc, &dark, darkBrush);
    DeleteObject(lightBrush);
    DeleteObject(darkBrush);

    for (int row = 0; row < 3; ++row) {
        SCOPED_TRACE(ids[row]);
        HRSRC res = FindResourceW(exe, MAKEINTRESOURCEW(ids[row]), RT_GROUP_ICON);
        ASSERT_NE(res, nullptr);
        const IconGroup* group = (const IconGroup*)LockResource(LoadResource(exe, res));
        ASSERT_EQ(group->count, 5);
        for (int i = 0; i < 5; ++i) {
            const int size = ICON_SIZES[i];
            EXPECT_EQ(group->entries[i].width, size);
            EXPECT_EQ(group->entries[i].bitCount, 32);
            HICON icon = (HICON)LoadImageW(exe, MAKEINTRESOURCEW(ids[row]), IMAGE_ICON, size, size, 0);
            ASSERT_NE(icon, nullptr);
            for (int half = 0; half < 2; ++half) {
                int x = half * width / 2 + i * cell + (cell - size) / 2, y = row * cell + (cell - size) / 2;
                DrawIconEx(dc, x, y, icon, size, size, 0, nullptr, DI_NORMAL);
            }
            DestroyIcon(icon);
        }
    }
    SelectObject(dc, old);
    DeleteDC(dc);
    FreeLibrary(exe);

    // The sheet's pixels: the light of each row at the largest size, on the dark half.
    BITMAPINFO bi = {};
    bi.bmiHeader = {sizeof(BITMAPINFOHEADER), width, -height, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    std::vector<DWORD> pixels((size_t)width * height);
    HDC any = GetDC(nullptr);
    GetDIBits(any, sheet, 0, height, pixels.data(), &bi, DIB_RGB_COLORS);
    ReleaseDC(nullptr, any);
    DeleteObject(sheet);
    for (DWORD& p : pixels) p &= 0x00FFFFFF;
    SavePixelsPng(pixels, width, height, L"tray-icons");

    // The largest of each row on the dark half: the light's colour tells the states apart.
    for (int row = 0; row < 3; ++row) {
        SCOPED_TRACE(ids[row]);
        std::vector<DWORD> cellPixels;
        for (int y = row * cell; y < (row + 1) * cell; ++y)
            for (int x = width / 2 + 4 * cell; x < width / 2 + 5 * cell; ++x) cellPixels.push_back(pixels[(size_t)y * width + x]);
        IconColours c = ClassifyPixels(cellPixels);
        bool expected = ids[row] == IDI_BELLWICK      ? c.gold > 0 && c.red == 0
                        : ids[row] == IDI_DEVICE_ABSENT ? c.coloured == 0
                                                        : c.red > 0;
        EXPECT_TRUE(expected) << "gold " << c.gold << ", red " << c.red << ", coloured " << c.coloured;
    }
}

// The window in this process: the icon record it fills and the notices' answers.
TEST(TrayIconWindow, FillsTheIconRecordWithTheSizeOfTheStructureItIsBuiltWith)
{
    ASSERT_EQ(FindWindowW(nullptr, BELLWICK_WINDOW_TITLE), nullptr) << "a tray program is already running";
    TempDir conf;
    WriteUtf16File(conf.File(L"Config.xml"),
                   L"<?xml version=\"1.0\" encoding=\"utf-16\"?>\r\n<root>\r\n<TRAY_ICON_FLAG>1</TRAY_ICON_FLAG>\r\n</root>\r\n");
    wcscpy(g_szConfDir, conf.Path());
    {
        CTrayIconWnd wnd;
        ASSERT_TRUE(wnd.CreateTrayWindow());
        EXPECT_EQ(FindWindowW(nullptr, BELLWICK_WINDOW_TITLE), wnd.m_hWnd);
        EXPECT_FALSE(wnd.IsWindowVisible());
        EXPECT_EQ(g_nid.cbSize, (DWORD)sizeof(NOTIFYICONDATAW));
        EXPECT_EQ(g_nid.hWnd, wnd.m_hWnd);
        EXPECT_EQ(g_nid.uID, 128u);
        EXPECT_EQ(g_nid.uFlags, (UINT)(NIF_MESSAGE | NIF_ICON | NIF_TIP));
        EXPECT_EQ(g_nid.uCallbackMessage, WM_TRAY_NOTIFY);
        EXPECT_NE(g_nid.hIcon, nullptr);
        EXPECT_STREQ(g_nid.szTip, L"Eldvarra\u00AE MMO Gaming Mouse: Tharnic Edition");
        EXPECT_STREQ(g_szAppDir, ExeDir());
        EXPECT_GT(g_nOSVersion, 0);

        HICON present = (HICON)LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDI_DEVICE_PRESENT), IMAGE_ICON,
                                          GetSystemMetrics(SM_CXSMICON), GetSystemMetrics(SM_CYSMICON), LR_SHARED);
        EXPECT_EQ(wnd.SendMessage(WM_SET_ICON_ACTIVE), 1);
        EXPECT_EQ(g_nid.hIcon, present);
        EXPECT_EQ(wnd.SendMessage(WM_SET_ICON_INACTIVE), 1);
        EXPECT_NE(g_nid.hIcon, present);
        EXPECT_EQ(g_nid.cbSize, (DWORD)sizeof(NOTIFYICONDATAW));
    }
    EXPECT_EQ(FindWindowW(nullptr, BELLWICK_WINDOW_TITLE), nullptr);
    g_szConfDir[0] = 0;
}
