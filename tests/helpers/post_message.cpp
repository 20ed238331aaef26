// A second process that tells a window something, as the other programs of the suite do.
//   post_message <title> <message> [wParam] [lParam]
// Waits up to five seconds for a top-level window with exactly that title, then posts the
// message (numbers in decimal or 0x hex). Exit code 0 when posted, 1 when no window came.
#include <windows.h>
#include <cwchar>

int wmain(int argc, wchar_t** argv)
{
    if (argc < 3) return 2;
    UINT message = (UINT)wcstoul(argv[2], nullptr, 0);
    WPARAM wParam = argc > 3 ? (WPARAM)wcstoull(argv[3], nullptr, 0) : 0;
    LPARAM lParam = argc > 4 ? (LPARAM)wcstoll(argv[4], nullptr, 0) : 0;
    for (int tries = 0; tries < 100; ++tries) {
        if (HWND window = FindWindowW(nullptr, argv[1])) return PostMessageW(window, message, wParam, lParam) ? 0 : 1;
        Sleep(50);
    }
    return 1;
}
