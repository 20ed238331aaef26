#include "TestSupport.h"
#include <windows.h>
#include <shellapi.h>

static void RemoveTree(const std::wstring& dir)
{
    WIN32_FIND_DATAW fd;
    HANDLE h = FindFirstFileW((dir + L"*").c_str(), &fd);
    if (h != INVALID_HANDLE_VALUE) {
        do {
            std::wstring name = fd.cFileName;
            if (name == L"." || name == L"..") continue;
            std::wstring full = dir + name;
            if (fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
                RemoveTree(full + L"\\");
            } else {
                SetFileAttributesW(full.c_str(), FILE_ATTRIBUTE_NORMAL);
                DeleteFileW(full.c_str());
            }
        } while (FindNextFileW(h, &fd));
        FindClose(h);
    }
    RemoveDirectoryW(dir.c_str());
}

TempDir::TempDir()
{
    wchar_t base[MAX_PATH];
    GetTempPathW(MAX_PATH, base);
    static LONG counter = 0;
    for (;;) {
        CString p;
        p.Format(L"%sthx_%lu_%ld_%lu\\", base, GetCurrentProcessId(), InterlockedIncrement(&counter), GetTickCount());
        if (CreateDirectoryW(p, nullptr)) { m_path = p; break; }
    }
}

TempDir::~TempDir()
{
    RemoveTree(m_path.str());
}

static const wchar_t* const PDF_BACKUP = L"Software\\TharnicTests\\PdfType";

NoPdfReader::NoPdfReader()
{
    HKEY classes, backup;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, L"Software\\Classes", 0, KEY_ALL_ACCESS, &classes) != ERROR_SUCCESS) return;
    HKEY pdf;
    if (RegOpenKeyExW(classes, L".pdf", 0, KEY_READ, &pdf) == ERROR_SUCCESS) {
        if (RegCreateKeyExW(HKEY_CURRENT_USER, PDF_BACKUP, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &backup, nullptr) ==
            ERROR_SUCCESS) {
            m_saved = RegCopyTreeW(pdf, nullptr, backup) == ERROR_SUCCESS;
            RegCloseKey(backup);
        }
        RegCloseKey(pdf);
    }
    RegDeleteTreeW(classes, L".pdf");
    RegCloseKey(classes);
}

NoPdfReader::~NoPdfReader()
{
    if (!m_saved) return;
    HKEY backup, pdf;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, PDF_BACKUP, 0, KEY_READ, &backup) != ERROR_SUCCESS) return;
    if (RegCreateKeyExW(HKEY_LOCAL_MACHINE, L"Software\\Classes\\.pdf", 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &pdf,
                        nullptr) == ERROR_SUCCESS) {
        RegCopyTreeW(backup, nullptr, pdf);
        RegCloseKey(pdf);
    }
    RegCloseKey(backup);
    RegDeleteTreeW(HKEY_CURRENT_USER, PDF_BACKUP);
}

static const wchar_t* SHELL_FOLDERS = L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\User Shell Folders";

AppDataRedirect::AppDataRedirect(const CString& folder)
{
    HKEY key;
    if (RegCreateKeyExW(HKEY_CURRENT_USER, SHELL_FOLDERS, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr))
        return;
    DWORD size = 0;
    if (RegQueryValueExW(key, L"AppData", nullptr, &m_type, nullptr, &size) == ERROR_SUCCESS) {
        m_old.resize(size);
        m_had = RegQueryValueExW(key, L"AppData", nullptr, &m_type, m_old.data(), &size) == ERROR_SUCCESS;
    }
    RegSetValueExW(key, L"AppData", 0, REG_SZ, (const BYTE*)folder.GetString(),
                   (DWORD)(folder.GetLength() + 1) * sizeof(wchar_t));
    RegCloseKey(key);
}

AppDataRedirect::~AppDataRedirect()
{
    HKEY key;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, SHELL_FOLDERS, 0, KEY_ALL_ACCESS, &key)) return;
    if (m_had)
        RegSetValueExW(key, L"AppData", 0, m_type, m_old.data(), (DWORD)m_old.size());
    else
        RegDeleteValueW(key, L"AppData");
    RegCloseKey(key);
}

UserRegistryGone::UserRegistryGone()
{
    const wchar_t* sub = L"Software\\TharnicTest\\Deleted";
    if (RegCreateKeyExW(HKEY_CURRENT_USER, sub, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &m_gone, nullptr)) return;
    RegDeleteKeyW(HKEY_CURRENT_USER, sub);
    RegDeleteKeyW(HKEY_CURRENT_USER, L"Software\\TharnicTest");
    ok = RegOverridePredefKey(HKEY_CURRENT_USER, m_gone) == ERROR_SUCCESS;
}

UserRegistryGone::~UserRegistryGone()
{
    RegOverridePredefKey(HKEY_CURRENT_USER, nullptr);
    if (m_gone) RegCloseKey(m_gone);
}

CString MakeConfFolder(const CString& roaming)
{
    CString dir = roaming + L"\\Korvath";
    CreateDirectoryW(dir, nullptr);
    dir += L"\\Eldvarra(R) MMO Gaming Mouse Tharnic Edition";
    CreateDirectoryW(dir, nullptr);
    dir += L"\\Conf";
    CreateDirectoryW(dir, nullptr);
    return dir + L"\\";
}

HANDLE StartProgram(const CString& exe, const CString& folder)
{
    STARTUPINFOW si = {};
    si.cb = sizeof(si);
    PROCESS_INFORMATION pi = {};
    CString cmd = L"\"" + exe + L"\"";
    if (!CreateProcessW(exe, cmd.GetBuffer(cmd.GetLength() + 1), nullptr, nullptr, FALSE, 0, nullptr,
                        folder.IsEmpty() ? nullptr : folder.GetString(), &si, &pi))
        return nullptr;
    CloseHandle(pi.hThread);
    return pi.hProcess;
}

HWND WaitForWindowTitled(HANDLE process, const wchar_t* title, bool visible)
{
    for (DWORD start = GetTickCount(); GetTickCount() - start < 30000;) {
        HWND h = FindWindowW(nullptr, title);
        if (h && (!visible || IsWindowVisible(h))) return h;
        if (WaitForSingleObject(process, 20) == WAIT_OBJECT_0) return nullptr;
    }
    return nullptr;
}

namespace {

struct TitleCount {
    const wchar_t* title;
    int count;
};

BOOL CALLBACK CountTitled(HWND h, LPARAM l)
{
    TitleCount* c = (TitleCount*)l;
    wchar_t title[256] = {};
    GetWindowTextW(h, title, 256);
    if (wcscmp(title, c->title) == 0) ++c->count;
    return TRUE;
}

}  // namespace

int CountWindowsTitled(const wchar_t* title)
{
    TitleCount c = {title, 0};
    EnumWindows(&CountTitled, (LPARAM)&c);
    return c.count;
}

CString RegistryText(const wchar_t* key, const wchar_t* name)
{
    wchar_t text[256] = {};
    DWORD size = sizeof(text);
    if (RegGetValueW(HKEY_CURRENT_USER, key, name, RRF_RT_REG_SZ, nullptr, text, &size) != ERROR_SUCCESS) return L"";
    return text;
}

CString ExeDir()
{
    wchar_t path[MAX_PATH];
    DWORD n = GetModuleFileNameW(nullptr, path, MAX_PATH);
    CString s(path, (int)n);
    return s.Left(s.ReverseFind(L'\\') + 1);
}

std::vector<unsigned char> ReadBytes(const wchar_t* path)
{
    std::vector<unsigned char> out;
    HANDLE h = CreateFileW(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr);
    if (h == INVALID_HANDLE_VALUE) return out;
    DWORD size = GetFileSize(h, nullptr), got = 0;
    out.resize(size);
    if (size && !ReadFile(h, out.data(), size, &got, nullptr)) got = 0;
    out.resize(got);
    CloseHandle(h);
    return out;
}

bool WriteBytes(const wchar_t* path, const void* data, size_t size)
{
    HANDLE h = CreateFileW(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    if (h == INVALID_HANDLE_VALUE) return false;
    DWORD done = 0;
    BOOL ok = size == 0 || WriteFile(h, data, (DWORD)size, &done, nullptr);
    CloseHandle(h);
    return ok && done == size;
}

std::vector<unsigned char> Utf16Bytes(const std::wstring& text, bool bigEndian, bool mark)
{
    std::vector<unsigned char> out;
    if (mark) {
        out.push_back(bigEndian ? 0xFE : 0xFF);
        out.push_back(bigEndian ? 0xFF : 0xFE);
    }
    for (wchar_t c : text) {
        unsigned char lo = (unsigned char)(c & 0xFF), hi = (unsigned char)(c >> 8);
        out.push_back(bigEndian ? hi : lo);
        out.push_back(bigEndian ? lo : hi);
    }
    return out;
}

bool WriteUtf16File(const wchar_t* path, const std::wstring& text)
{
    return WriteBytes(path, Utf16Bytes(text, false, true));
}

std::wstring ReadUtf16File(const wchar_t* path)
{
    std::vector<unsigned char> b = ReadBytes(path);
    std::wstring s;
    size_t i = (b.size() >= 2 && b[0] == 0xFF && b[1] == 0xFE) ? 2 : 0;
    for (; i + 1 < b.size(); i += 2) s += (wchar_t)(b[i] | (b[i + 1] << 8));
    return s;
}

std::wstring AnsiToWide(const std::vector<unsigned char>& bytes)
{
    std::wstring w(bytes.size() * 2 + 1, L'\0');
    int n = MultiByteToWideChar(CP_ACP, 0, (const char*)bytes.data(), (int)bytes.size(), &w[0], (int)w.size());
    w.resize(n > 0 ? n : 0);
    return w;
}

size_t CountOf(const std::wstring& text, const std::wstring& what)
{
    size_t n = 0;
    for (size_t at = text.find(what); at != std::wstring::npos; at = text.find(what, at + 1)) ++n;
    return n;
}

CString SourceFile(const wchar_t* relative)
{
    std::string dir = THARNIC_SOURCE_DIR;
    std::wstring w(dir.begin(), dir.end());
    if (!w.empty() && w[0] == L'/') {
        // Built on the host, run under Wine: map the host path to a DOS one.
        typedef LPWSTR(CDECL * DosName)(LPCSTR);
        DosName toDos = (DosName)(void*)GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "wine_get_dos_file_name");
        if (toDos) {
            if (LPWSTR p = toDos(dir.c_str())) {
                w = p;
                HeapFree(GetProcessHeap(), 0, p);
            }
        }
    }
    for (wchar_t& c : w)
        if (c == L'/') c = L'\\';
    if (!w.empty() && w.back() != L'\\') w += L'\\';
    return CString(w) + relative;
}

COLORREF BmpPixel(const std::vector<unsigned char>& file, int x, int y)
{
    if (file.size() < 54) return 0;
    auto u32 = [&](size_t at) { return (uint32_t)(file[at] | file[at + 1] << 8 | file[at + 2] << 16 | file[at + 3] << 24); };
    uint32_t offset = u32(10);
    int width = (int)u32(18);
    int height = (int)u32(22);
    if (x < 0 || y < 0 || x >= width || y >= height) return 0;
    size_t stride = ((size_t)width * 3 + 3) & ~(size_t)3;
    size_t at = offset + (size_t)(height - 1 - y) * stride + (size_t)x * 3;
    if (at + 2 >= file.size()) return 0;
    return RGB(file[at + 2], file[at + 1], file[at]);
}
