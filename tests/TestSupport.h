#pragma once
#include "framework/CString.h"
#include <windows.h>
#include <string>
#include <vector>

// How long a test waits for what it needs (a window shown, placed, painted, enabled, in
// front; a program's answer): a guard against a hang, which a busy machine stays well inside.
constexpr DWORD WINDOW_WAIT_MS = 20000;

// A fresh folder under the temporary folder, removed with everything in it at the end
// of the test. Path() ends with a backslash, like the programs' own folders.
class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
    const CString& Path() const { return m_path; }
    CString File(const wchar_t* name) const { return m_path + name; }
private:
    CString m_path;
};

// No program is associated with .pdf while it lives, as on a machine without a PDF
// reader: the shell then answers 31 for the user guide. The association comes back after.
class NoPdfReader {
public:
    NoPdfReader();
    ~NoPdfReader();
    NoPdfReader(const NoPdfReader&) = delete;
    NoPdfReader& operator=(const NoPdfReader&) = delete;

private:
    bool m_saved = false;
};

// Points the user's roaming application-data folder (HKCU User Shell Folders, AppData) at
// a folder of the test and puts the old value back at the end.
class AppDataRedirect {
public:
    explicit AppDataRedirect(const CString& folder);
    ~AppDataRedirect();
    AppDataRedirect(const AppDataRedirect&) = delete;
    AppDataRedirect& operator=(const AppDataRedirect&) = delete;

private:
    bool m_had = false;
    DWORD m_type = 0;
    std::vector<BYTE> m_old;
};

// While it lives, HKEY_CURRENT_USER of this process is a deleted key: no key under it opens
// or can be made, as when the user's registry cannot be written.
class UserRegistryGone {
public:
    UserRegistryGone();
    ~UserRegistryGone();
    UserRegistryGone(const UserRegistryGone&) = delete;
    UserRegistryGone& operator=(const UserRegistryGone&) = delete;
    bool ok = false;

private:
    HKEY m_gone = nullptr;
};

// The user's configuration folder "Korvath\Eldvarra(R) MMO Gaming Mouse Tharnic Edition\Conf"
// under a roaming application-data folder of a test, made with its parents; answers it
// with its trailing backslash.
CString MakeConfFolder(const CString& roaming);

// Starts a program without arguments, in folder (the test's own when empty): its process
// handle, or null.
HANDLE StartProgram(const CString& exe, const CString& folder = CString());
// Waits for the top-level window of that title (shown, when visible is set) while the
// process runs; null when the process ended or 30 s passed first.
HWND WaitForWindowTitled(HANDLE process, const wchar_t* title, bool visible = false);
// How many top-level windows have exactly that title.
int CountWindowsTitled(const wchar_t* title);
// A text value under HKEY_CURRENT_USER, or an empty text when there is none.
CString RegistryText(const wchar_t* key, const wchar_t* name);

// The folder of the running test program (with a trailing backslash); programs under
// test and the helper programs are built into the same folder.
CString ExeDir();

// A file of the repository (such as L"resources\\Config.xml"), found through the source
// folder the tests were built from.
CString SourceFile(const wchar_t* relative);

std::vector<unsigned char> ReadBytes(const wchar_t* path);
bool WriteBytes(const wchar_t* path, const void* data, size_t size);
inline bool WriteBytes(const wchar_t* path, const std::vector<unsigned char>& b) { return WriteBytes(path, b.data(), b.size()); }
// The file's content as UTF-16LE after a byte-order mark, as the system writes XML files.
bool WriteUtf16File(const wchar_t* path, const std::wstring& text);
std::wstring ReadUtf16File(const wchar_t* path);
// The text's UTF-16 bytes, little-endian unless bigEndian, after a byte-order mark when mark.
std::vector<unsigned char> Utf16Bytes(const std::wstring& text, bool bigEndian = false, bool mark = false);
// A pixel of a 24-bit bitmap file, read from the file's own bytes; black outside it.
COLORREF BmpPixel(const std::vector<unsigned char>& file, int x, int y);
// The bytes read in the system's ANSI code page.
std::wstring AnsiToWide(const std::vector<unsigned char>& bytes);
// How many times what occurs in text, overlapping occurrences included.
size_t CountOf(const std::wstring& text, const std::wstring& what);
