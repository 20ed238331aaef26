// Another program's notice to a window, as a second process:
//   window_message post|send <title> <message> <wParam> <lParam>
// The window is found by its exact title just before the message goes, as the programs do.
// Exit code 0 when the message went, 2 when no window has that title, 1 on bad arguments.
#include <windows.h>
#include <cwchar>

namespace {

bool Number(const wchar_t* text, long long& out)
{
    wchar_t* end = nullptr;
    out = wcstoll(text, &end, 0);
    return end && end != text && *end == 0;
}

}  // namespace

int wmain(int argc, wchar_t** argv)
{
    long long message = 0, wParam = 0, lParam = 0;
    if (argc != 6 || !Number(argv[3], message) || !Number(argv[4], wParam) || !Number(argv[5], lParam)) return 1;
    HWND target = FindWindowW(nullptr, argv[2]);
    if (!target) return 2;
    if (wcscmp(argv[1], L"send") == 0) {
        SendMessageW(target, (UINT)message, (WPARAM)wParam, (LPARAM)lParam);
        return 0;
    }
    if (wcscmp(argv[1], L"post") == 0) return PostMessageW(target, (UINT)message, (WPARAM)wParam, (LPARAM)lParam) ? 0 : 1;
    return 1;
}
