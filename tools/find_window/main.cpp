// find_window TITLE [SECONDS]: waits up to SECONDS (default 0) for a top-level window with
// exactly that title, as the programs of the suite find each other. Exit code 0 when found.
#include <windows.h>
#include <cwchar>
#include <cstdlib>

int wmain(int argc, wchar_t** argv)
{
    if (argc < 2) {
        fwprintf(stderr, L"usage: find_window TITLE [SECONDS]\n");
        return 2;
    }
    const double seconds = argc > 2 ? wcstod(argv[2], nullptr) : 0.0;
    const ULONGLONG end = GetTickCount64() + (ULONGLONG)(seconds > 0 ? seconds * 1000 : 0);
    for (;;) {
        if (FindWindowW(nullptr, argv[1]))
            return 0;
        if (GetTickCount64() >= end)
            return 1;
        Sleep(100);
    }
}
