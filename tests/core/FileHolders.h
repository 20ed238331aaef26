#pragma once
#include <windows.h>
#include <vector>

// A second handle on a file, as another program of the suite or an outside program (an
// editor, a virus scanner, a backup tool) holds it while a save runs.
struct FileHolder {
    const char* who;
    DWORD access;
    DWORD share;
    bool sharedLock;  // a reader of ours in the middle of its read
    bool saves;       // whether a save can still bring its whole change into the file
};

const std::vector<FileHolder>& FileHolders();
// Opens the file as the holder does; INVALID_HANDLE_VALUE when it cannot.
HANDLE HoldFile(const wchar_t* path, const FileHolder& holder);
