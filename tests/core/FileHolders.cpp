#include "FileHolders.h"

const std::vector<FileHolder>& FileHolders()
{
    const DWORD all = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;
    static const std::vector<FileHolder> holders = {
        {"a reader of ours", GENERIC_READ, all, false, true},
        {"a reader without delete sharing", GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, false, true},
        {"a writer sharing everything", GENERIC_READ | GENERIC_WRITE, all, false, true},
        {"an editor that lets others only read", GENERIC_READ, FILE_SHARE_READ, false, false},
        {"a program sharing nothing", GENERIC_READ, 0, false, false},
        {"a reader that keeps its lock", GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, true, false},
    };
    return holders;
}

HANDLE HoldFile(const wchar_t* path, const FileHolder& holder)
{
    HANDLE file = CreateFileW(path, holder.access, holder.share, nullptr, OPEN_EXISTING, 0, nullptr);
    if (file != INVALID_HANDLE_VALUE && holder.sharedLock) {
        OVERLAPPED at = {};
        if (!LockFileEx(file, LOCKFILE_FAIL_IMMEDIATELY, 0, MAXDWORD, MAXDWORD, &at)) {
            CloseHandle(file);
            return INVALID_HANDLE_VALUE;
        }
    }
    return file;
}
