#include "PersonHand.h"
#include "GuiTestSupport.h"
#include "TestSupport.h"
#include "skinkit/SkinFiles.h"
#include "core/SkinEntry.h"
#include <objidl.h>
#include <gdiplus.h>
#include <algorithm>

namespace {

struct Search {
    const std::function<bool(HWND)>* known;
    HWND found;
};

BOOL CALLBACK FindNewDialog(HWND h, LPARAM l)
{
    Search* s = (Search*)l;
    wchar_t name[16];
    if (!IsWindowVisible(h) || !IsWindowEnabled(h) || !GetClassNameW(h, name, 16) || wcscmp(name, L"#32770") != 0)
        return TRUE;
    if ((*s->known)(h)) return TRUE;
    s->found = h;
    return FALSE;
}

BOOL CALLBACK CollectDialogs(HWND h, LPARAM l)
{
    wchar_t name[16];
    if (GetClassNameW(h, name, 16) && wcscmp(name, L"#32770") == 0) ((std::set<HWND>*)l)->insert(h);
    return TRUE;
}

const CLSID kJpegEncoder = {0x557CF401, 0x1A04, 0x11D3, {0x9A, 0x73, 0x00, 0x00, 0xF8, 0x1E, 0xF3, 0x2E}};

}  // namespace

HWND WaitForNewDialog(DWORD thread, const std::function<bool(HWND)>& known, const std::atomic<bool>& stop,
                      DWORD waitMs)
{
    Search search = {&known, nullptr};
    WaitUntil(
        [&] {
            search.found = nullptr;
            EnumThreadWindows(thread, &FindNewDialog, (LPARAM)&search);
            return search.found != nullptr || stop;
        },
        waitMs);
    return search.found;
}

PersonHand::PersonHand(std::vector<Step> steps, DWORD waitMs)
{
    DWORD ui = GetCurrentThreadId();
    std::set<HWND> before;
    EnumThreadWindows(ui, &CollectDialogs, (LPARAM)&before);
    m_thread = std::thread([this, ui, steps, waitMs, before] {
        std::set<HWND> seen = before;
        for (const Step& step : steps) {
            HWND dialog = WaitForNewDialog(ui, [&](HWND h) { return seen.count(h) > 0; }, m_stop, waitMs);
            if (!dialog) return;
            seen.insert(dialog);
            // Shown and painted, as a person would see it.
            EXPECT_TRUE(WindowShown(dialog));
            step(dialog);
            ++m_done;
            WaitUntil([dialog] { return !IsWindow(dialog) || !IsWindowEnabled(dialog); }, waitMs);
        }
    });
}

PersonHand::~PersonHand()
{
    m_stop = true;
    if (m_thread.joinable()) m_thread.join();
}

int PersonHand::Finish()
{
    // The UI thread's action has returned: every dialog it showed was dealt with.
    m_stop = true;
    if (m_thread.joinable()) m_thread.join();
    return m_done;
}

MenuHand::MenuHand(std::vector<WORD> keys, const wchar_t* picture, const wchar_t* submenuPicture)
{
    DWORD ui = GetCurrentThreadId();
    std::wstring name = picture ? picture : L"";
    std::wstring subName = submenuPicture ? submenuPicture : L"";
    m_thread = std::thread([this, ui, keys, name, subName] {
        HWND menu = nullptr;
        WaitUntil([&] { return (menu = FindThreadWindow(ui, L"#32768")) != nullptr || m_stop; });
        if (!menu) return;
        m_found = true;
        EXPECT_TRUE(WindowShown(menu));
        RECT r;
        GetWindowRect(menu, &r);
        m_rect = r;
        if (!name.empty()) SaveScreenPng(RECT{r.left - 20, r.top - 20, r.right + 200, r.bottom + 20}, name.c_str());
        for (WORD key : keys) {
            KeyTap(key);
            Sleep(120);
            if (key == VK_RIGHT && !subName.empty()) {
                Sleep(300);
                SaveScreenPng(RECT{r.left - 20, r.top - 20, r.right + 200, r.bottom + 20}, subName.c_str());
            }
        }
    });
}

MenuHand::~MenuHand()
{
    m_stop = true;
    if (m_thread.joinable()) m_thread.join();
}

bool MenuHand::Finish()
{
    m_stop = true;
    if (m_thread.joinable()) m_thread.join();
    return m_found;
}

void Snap(HWND window, const wchar_t* name)
{
    RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN);
    EXPECT_TRUE(WindowShown(window));
    SaveWindowPng(window, name);
}

void ClickAtClient(HWND dialog, POINT client)
{
    ClientToScreen(dialog, &client);
    EXPECT_TRUE(ClickOn(dialog, client));
    Sleep(100);
}

namespace {

RECT EntryRect(const wchar_t* section, const wchar_t* entry)
{
    SkinEntry e = {};
    std::vector<SkinItem> strings = ReadSkinSection(L"Strings.xml", section);
    if (const CString* text = FindSkinItem(strings, entry)) ParseSkinEntry(*text, e);
    return e.rect;
}

}  // namespace

void ClickEntry(HWND dialog, const wchar_t* section, const wchar_t* entry)
{
    RECT r = EntryRect(section, entry);
    ClickAtClient(dialog, POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2});
}

HWND ChildAtEntry(HWND dialog, const wchar_t* section, const wchar_t* entry)
{
    RECT r = EntryRect(section, entry);
    POINT centre = {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
    return ChildWindowFromPointEx(dialog, centre, CWP_SKIPINVISIBLE);
}

void PressButton(HWND dialog, int id)
{
    // Posted: what the press opens (a question over the dialog) must not hold this hand.
    PostMessageW(GetDlgItem(dialog, id), BM_CLICK, 0, 0);
}

void TypeText(HWND edit, const wchar_t* text, bool replace)
{
    SetForegroundWindow(GetAncestor(edit, GA_ROOT));
    EXPECT_TRUE(WindowInFront(edit));
    RECT r;
    GetWindowRect(edit, &r);
    EXPECT_TRUE(ClickOn(edit, POINT{r.left + 6, (r.top + r.bottom) / 2}));
    // The click put the caret there: the keys go to the edit.
    EXPECT_TRUE(WaitUntil([&] {
        GUITHREADINFO info = {};
        info.cbSize = sizeof(info);
        return GetGUIThreadInfo(GetWindowThreadProcessId(edit, nullptr), &info) && info.hwndFocus == edit;
    })) << "the focus in " << DescribeWindow(edit);
    if (replace) SendMessageW(edit, EM_SETSEL, 0, -1);
    for (const wchar_t* c = text; *c; ++c) {
        wchar_t up = (wchar_t)towupper(*c);
        KeyTap((WORD)(up == L' ' ? VK_SPACE : up));
        Sleep(15);
    }
    Sleep(100);
}

DWORD PostFromSecondProcess(const wchar_t* title, UINT message, WPARAM wParam, LPARAM lParam)
{
    CString command;
    command.Format(L"\"%lspost_message.exe\" \"%ls\" %u %llu %lld", ExeDir().GetString(), title, message,
                   (unsigned long long)wParam, (long long)lParam);
    STARTUPINFOW si = {};
    si.cb = sizeof(si);
    PROCESS_INFORMATION pi = {};
    std::wstring line = command.GetString();
    if (!CreateProcessW(nullptr, &line[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi)) return (DWORD)-1;
    DWORD code = (DWORD)-1;
    if (WaitForSingleObject(pi.hProcess, 15000) == WAIT_OBJECT_0) GetExitCodeProcess(pi.hProcess, &code);
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
    return code;
}

std::string JpegBytes(COLORREF colour, int width, int height)
{
    static ULONG_PTR token = 0;
    static bool started = [] {
        Gdiplus::GdiplusStartupInput input;
        return Gdiplus::GdiplusStartup(&token, &input, nullptr) == Gdiplus::Ok;
    }();
    if (!started) return std::string();
    std::vector<DWORD> pixels((size_t)width * height, (DWORD)(GetRValue(colour) << 16 | GetGValue(colour) << 8 | GetBValue(colour)));
    Gdiplus::GpBitmap* bitmap = nullptr;
    if (Gdiplus::DllExports::GdipCreateBitmapFromScan0(width, height, width * 4, PixelFormat32bppRGB,
                                                       (BYTE*)pixels.data(), &bitmap) != Gdiplus::Ok)
        return std::string();
    IStream* stream = nullptr;
    std::string bytes;
    if (SUCCEEDED(CreateStreamOnHGlobal(nullptr, TRUE, &stream))) {
        if (Gdiplus::DllExports::GdipSaveImageToStream(bitmap, stream, &kJpegEncoder, nullptr) == Gdiplus::Ok) {
            HGLOBAL block = nullptr;
            GetHGlobalFromStream(stream, &block);
            STATSTG stat = {};
            stream->Stat(&stat, STATFLAG_NONAME);
            const char* p = (const char*)GlobalLock(block);
            if (p) bytes.assign(p, (size_t)stat.cbSize.QuadPart);
            GlobalUnlock(block);
        }
        stream->Release();
    }
    Gdiplus::DllExports::GdipDisposeImage(bitmap);
    return bytes;
}
