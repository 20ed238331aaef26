// make_tray_icons FOLDER: writes the tray program's icons (Bellwick.ico, DeviceAbsent.ico,
// DevicePresent.ico) into FOLDER, normally tray/icons. The same code always writes the
// same bytes; tray_tests compares the shipped files with it.
#include "TrayIcons.h"
#include <windows.h>
#include <cstdio>
#include <string>

int wmain(int argc, wchar_t** argv)
{
    if (argc != 2) {
        fwprintf(stderr, L"usage: make_tray_icons FOLDER\n");
        return 2;
    }
    for (const TrayIconFile& f : kTrayIconFiles) {
        std::wstring path = std::wstring(argv[1]) + L"\\" + f.name;
        std::vector<uint8_t> bytes = MakeTrayIconFile(f.kind);
        HANDLE h = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
        DWORD written = 0;
        bool ok = h != INVALID_HANDLE_VALUE && WriteFile(h, bytes.data(), DWORD(bytes.size()), &written, nullptr) &&
                  written == bytes.size();
        if (h != INVALID_HANDLE_VALUE) CloseHandle(h);
        if (!ok) {
            fwprintf(stderr, L"cannot write %ls\n", path.c_str());
            return 1;
        }
    }
    return 0;
}
