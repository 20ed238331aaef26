#include "GearloomRun.h"
#include "GuiTestSupport.h"
#include "core/Messages.h"
#include "core/SkinEntry.h"
#include "core/XmlDoc.h"
#include <algorithm>

namespace {

const DWORD GUARD_MS = 30000;

void CopyMatching(const CString& from, const wchar_t* pattern, const CString& to)
{
    WIN32_FIND_DATAW fd;
    HANDLE h = FindFirstFileW(from + pattern, &fd);
    if (h == INVALID_HANDLE_VALUE) return;
    do {
        CopyFileW(from + fd.cFileName, to + fd.cFileName, FALSE);
    } while (FindNextFileW(h, &fd));
    FindClose(h);
}

struct BoxSearch {
    DWORD pid;
    HWND main;
    const std::vector<HWND>* panels;
    HWND found;
};

BOOL CALLBACK FindBox(HWND h, LPARAM l)
{
    BoxSearch* s = (BoxSearch*)l;
    DWORD pid = 0;
    GetWindowThreadProcessId(h, &pid);
    wchar_t name[16] = {};
    if (pid == s->pid && h != s->main && IsWindowVisible(h) && GetClassNameW(h, name, 16) && wcscmp(name, L"#32770") == 0 &&
        std::find(s->panels->begin(), s->panels->end(), h) == s->panels->end()) {
        s->found = h;
        return FALSE;
    }
    return TRUE;
}

BOOL CALLBACK CollectChild(HWND h, LPARAM l)
{
    ((std::vector<HWND>*)l)->push_back(h);
    return TRUE;
}

}  // namespace

GearloomRun::GearloomRun(SuiteRun& run) : m_run(run)
{
    CString app = run.AppDir();
    CString shipped = SourceFile(L"resources\\");
    for (const wchar_t* name : {L"TrayIcon.xml", L"Skins.xml", L"Strings.xml", L"Menu.xml", L"Functions.xml"})
        CopyFileW(shipped + name, app + name, FALSE);
    CreateDirectoryW(app + L"skins", nullptr);
    CopyMatching(shipped + L"skins\\", L"*.bmp", app + L"skins\\");
    CopyFileW(ExeDir() + L"Gearloom.exe", app + L"Gearloom.exe", FALSE);
}

GearloomRun::~GearloomRun()
{
    if (!m_process) return;
    // Boxes first, then the window: WM_CLOSE ends it without a question.
    HWND box = nullptr;
    for (int i = 0; i < 10 && (box = WaitForBox(0)) != nullptr; ++i) {
        PostMessageW(box, WM_CLOSE, 0, 0);
        Sleep(100);
    }
    if (m_window) PostMessageW(m_window, WM_CLOSE, 0, 0);
    if (WaitForSingleObject(m_process, GUARD_MS) != WAIT_OBJECT_0) TerminateProcess(m_process, 1);
    CloseHandle(m_process);
}

bool GearloomRun::Start()
{
    m_process = StartProgram(m_run.AppDir() + L"Gearloom.exe", m_run.AppDir());
    if (!m_process) return false;
    m_pid = GetProcessId(m_process);
    m_window = WaitForWindowTitled(m_process, GEARLOOM_MAIN_TITLE, true);
    return m_window && BringToFront();
}

bool GearloomRun::BringToFront()
{
    SetForegroundWindow(m_window);
    testing::AssertionResult front = WindowInFront(m_window);
    EXPECT_TRUE(front);
    testing::AssertionResult painted = WindowShown(m_window);
    EXPECT_TRUE(painted);
    return front && painted;
}

RECT GearloomRun::ControlIn(HWND window, const wchar_t* section, const wchar_t* entry) const
{
    RECT r = {};
    CXmlDoc doc;
    if (!doc.LoadFile(m_run.AppDir() + L"Strings.xml") || !doc.FindChildNode(section)) return r;
    doc.EnterNode();
    if (!doc.FindChildNode(entry)) return r;
    SkinEntry e;
    ParseSkinEntry(doc.GetChildText(), e);
    RECT w;
    GetWindowRect(window, &w);
    r = e.rect;
    OffsetRect(&r, w.left, w.top);
    return r;
}

void GearloomRun::Click(const wchar_t* entry)
{
    RECT r = Control(entry);
    // As a person: the pointer comes over the button before it presses.
    const POINT centre = {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
    EXPECT_TRUE(TakesClickAt(m_window, centre)) << "to click " << CString(entry).GetString();
    MouseMoveTo(POINT{centre.x - 6, centre.y - 3});
    Sleep(100);
    MouseClickAt(centre);
}

std::vector<DWORD> GearloomRun::Pixels(const wchar_t* entry) const
{
    int w = 0, h = 0;
    std::vector<DWORD> all = CaptureWindow(m_window, &w, &h);
    RECT r = Control(entry);
    RECT win;
    GetWindowRect(m_window, &win);
    OffsetRect(&r, -win.left, -win.top);
    std::vector<DWORD> part;
    for (int y = std::max(0L, r.top); y < std::min((LONG)h, r.bottom); ++y)
        for (int x = std::max(0L, r.left); x < std::min((LONG)w, r.right); ++x) part.push_back(all[(size_t)y * w + x]);
    return part;
}

HWND GearloomRun::WaitForPanel(const wchar_t* section, DWORD ms)
{
    // Docked: the settings panel's right edge 17 pixels inside the main window's left edge,
    // 89 below its top; the lighting panel 87 pixels in from the left, 18 above the bottom.
    const bool settings = wcscmp(section, L"MOUSE_PROPERTIES") == 0;
    HWND found = nullptr;
    WaitUntil(
        [&] {
            BoxSearch s = {m_pid, m_window, &m_panels, nullptr};
            EnumWindows(&FindBox, (LPARAM)&s);
            if (!s.found) return false;
            RECT main, panel;
            GetWindowRect(m_window, &main);
            GetWindowRect(s.found, &panel);
            bool docked = settings ? panel.right == main.left + 17 && panel.top == main.top + 89
                                   : panel.left == main.left + 87 && panel.top == main.bottom - 18;
            if (docked) found = s.found;
            return docked;
        },
        ms);
    if (found) {
        m_panels.push_back(found);
        EXPECT_TRUE(WindowShown(found));
    }
    return found;
}

HWND GearloomRun::WaitForBox(DWORD ms) const
{
    BoxSearch s = {m_pid, m_window, &m_panels, nullptr};
    WaitUntil(
        [&] {
            s.found = nullptr;
            EnumWindows(&FindBox, (LPARAM)&s);
            return s.found != nullptr;
        },
        ms);
    return s.found;
}

void GearloomRun::Close(HWND box, bool no)
{
    std::vector<HWND> buttons;
    EnumChildWindows(box, &CollectChild, (LPARAM)&buttons);
    if (!no || buttons.size() < 2) {
        PostMessageW(box, WM_CLOSE, 0, 0);
        return;
    }
    HWND right = *std::max_element(buttons.begin(), buttons.end(), [](HWND a, HWND b) {
        RECT ra, rb;
        GetWindowRect(a, &ra);
        GetWindowRect(b, &rb);
        return ra.left < rb.left;
    });
    PostMessageW(box, WM_COMMAND, MAKEWPARAM(0, BN_CLICKED), (LPARAM)right);
}

bool GearloomRun::WaitForExit(DWORD ms)
{
    if (!m_process || WaitForSingleObject(m_process, ms) != WAIT_OBJECT_0) return false;
    CloseHandle(m_process);
    m_process = nullptr;
    m_window = nullptr;
    return true;
}
