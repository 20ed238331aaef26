#include "ConfiguratorRig.h"
#include "PersonHand.h"
#include "configurator/GearloomRes.h"
#include "configurator/function_picker/CAdvanceFunctionDlg.h"
#include "skinkit/CSkinPopupMenu.h"
#include "core/AppPaths.h"
#include "core/ConfigFile.h"
#include "core/Messages.h"
#include "framework/AfxOle.h"
#include <gtest/gtest.h>
#include <algorithm>

namespace {

void CopyFolder(const CString& from, const CString& to)
{
    CreateDirectoryW(to, nullptr);
    WIN32_FIND_DATAW fd;
    HANDLE h = FindFirstFileW(from + L"*", &fd);
    if (h == INVALID_HANDLE_VALUE) return;
    do {
        CString name = fd.cFileName;
        if (name == L"." || name == L"..") continue;
        if (fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
            CopyFolder(from + name + L"\\", to + name + L"\\");
        else
            CopyFileW(from + name, to + name, FALSE);
    } while (FindNextFileW(h, &fd));
    FindClose(h);
}

BOOL CALLBACK CollectChild(HWND h, LPARAM l)
{
    ((std::vector<HWND>*)l)->push_back(h);
    return TRUE;
}

}  // namespace

void ClickOnButton(CWnd& button)
{
    EXPECT_TRUE(TakesClickAt(button.m_hWnd, ScreenCenter(button.m_hWnd)));
    POINT centre = ScreenCenter(button.m_hWnd);
    MouseMoveTo(POINT{centre.x - 6, centre.y - 3});
    PumpFor(60);
    MouseClickAt(centre);
}

POINT RowPoint(CSkinPopupMenu& popup, int row)
{
    RECT r;
    popup.m_list.GetItemRect(row, &r);
    popup.m_list.ClientToScreen(&r);
    return POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
}

MainWindowRig::MainWindowRig(Program program)
{
    if (program == Program::Copy) {
        m_appDir = temp.Path() + L"App\\";
        CopyFolder(SourceFile(L"resources\\"), m_appDir);
    } else {
        m_appDir = SourceFile(L"resources\\");
    }
    CreateDirectoryW(ConfDir(), nullptr);
    CopyFileW(SourceFile(L"resources\\Config.xml"), ConfigPath(), FALSE);
    CopyFileW(SourceFile(L"resources\\TrayIcon.xml"), ConfDir() + L"TrayIcon.xml", FALSE);
    wcscpy(g_szAppDir, m_appDir);
    wcscpy(g_szConfDir, ConfDir());
    // As the program's start does: the buttons become drop targets.
    AfxOleInit();
}

MainWindowRig::~MainWindowRig()
{
    Close();
    g_szAppDir[0] = 0;
    g_szConfDir[0] = 0;
}

std::unique_ptr<ConfigData> MainWindowRig::ShippedConfig()
{
    std::unique_ptr<ConfigData> cfg = NewConfigData();
    ResetConfig(*cfg);
    LoadConfig(*cfg, SourceFile(L"resources\\Config.xml"));
    ValidateConfig(*cfg);
    return cfg;
}

bool MainWindowRig::WriteConfig(const ConfigData& cfg)
{
    return WriteNewConfigFile(cfg, ConfigPath());
}

std::unique_ptr<ConfigData> MainWindowRig::ReadConfig() const
{
    std::unique_ptr<ConfigData> cfg = NewConfigData();
    ResetConfig(*cfg);
    LoadConfig(*cfg, ConfigPath());
    ValidateConfig(*cfg);
    return cfg;
}

void MainWindowRig::EditProgramFile(const wchar_t* name, const std::wstring& from, const std::wstring& to)
{
    ASSERT_NE(m_appDir, SourceFile(L"resources\\")) << "the shipped files are not changed";
    std::wstring text = ReadUtf16File(m_appDir + name);
    size_t at = text.find(from);
    ASSERT_NE(at, std::wstring::npos) << "not in " << CString(name).GetString();
    for (; at != std::wstring::npos; at = text.find(from, at + to.size())) text.replace(at, from.size(), to);
    ASSERT_TRUE(WriteUtf16File(m_appDir + name, text));
}

bool MainWindowRig::Open(bool usePipe)
{
    dlg.reset(new CAPDlg(usePipe));
    app.m_pMainWnd = dlg.get();
    if (!dlg->Create(IDD_AP_DIALOG)) return false;
    dlg->ShowWindow(SW_SHOW);
    testing::AssertionResult shown = WindowShown(dlg->m_hWnd);
    EXPECT_TRUE(shown);
    return shown;
}

std::vector<HWND> MainWindowRig::OwnWindows() const
{
    if (!dlg) return {};
    std::vector<HWND> own = {dlg->m_hWnd, dlg->m_propertiesDlg.m_hWnd, dlg->m_illuminationDlg.m_hWnd};
    if (g_pAdvanceFunctionDlg) own.push_back(g_pAdvanceFunctionDlg->m_hWnd);
    return own;
}

void MainWindowRig::Close()
{
    if (!dlg) return;
    // Not the application's window any more: its end must not end the test's loops.
    app.m_pMainWnd = nullptr;
    if (dlg->m_hWnd) dlg->DestroyWindow();
    dlg.reset();
    PumpFor(20);
}

void MainWindowRig::Click(CBitmapBtn& button)
{
    ASSERT_NE(button.m_hWnd, nullptr);
    dlg->SendMessage(WM_COMMAND, MAKEWPARAM(0, BN_CLICKED), (LPARAM)button.m_hWnd);
}

void MainWindowRig::RightClick(CBitmapBtn& button)
{
    ASSERT_NE(button.m_hWnd, nullptr);
    dlg->SendMessage(WM_COMMAND, ID_BUTTON_RCLICK, (LPARAM)button.m_hWnd);
}

void MainWindowRig::Command(UINT id)
{
    dlg->SendMessage(WM_COMMAND, MAKEWPARAM(id, 0), 0);
}

BoxAnswerer::BoxAnswerer(Answer answer, std::vector<HWND> known, const wchar_t* picture, DWORD waitMs)
{
    DWORD ui = GetCurrentThreadId();
    std::wstring name = picture ? picture : L"";
    m_thread = std::thread([this, ui, answer, known, name, waitMs] {
        HWND box = WaitForNewDialog(
            ui, [&](HWND h) { return std::find(known.begin(), known.end(), h) != known.end(); }, m_stop, waitMs);
        if (!box) return;
        EXPECT_TRUE(WindowShown(box));  // painted before anyone looks at it
        // A paint begun is no longer left to paint, but its pixels come only once the box's
        // thread has finished it: a message sent there returns after that.
        DWORD_PTR done = 0;
        SendMessageTimeoutW(box, WM_NULL, 0, 0, SMTO_NORMAL, WINDOW_WAIT_MS, &done);
        EXPECT_TRUE(WindowShown(box));
        if (!name.empty()) SaveWindowPng(box, name.c_str());
        std::vector<HWND> buttons;
        EnumChildWindows(box, &CollectChild, (LPARAM)&buttons);
        // A question's Yes is the left button of its lowest row (a "do not ask again" box
        // stands above that row), No its right-most button.
        auto rectOf = [](HWND h) {
            RECT r;
            GetWindowRect(h, &r);
            return r;
        };
        std::sort(buttons.begin(), buttons.end(), [&](HWND a, HWND b) { return rectOf(a).left < rectOf(b).left; });
        HWND yes = nullptr;
        for (HWND b : buttons)
            if (!yes || rectOf(b).top > rectOf(yes).bottom) yes = b;
        if (answer == Answer::Close || buttons.size() < 2)
            PostMessageW(box, WM_CLOSE, 0, 0);
        else
            PostMessageW(box, WM_COMMAND, MAKEWPARAM(0, BN_CLICKED),
                         (LPARAM)(answer == Answer::Yes ? yes : buttons.back()));
        WaitUntil([box] { return !IsWindow(box); });
        m_answered = 1;
    });
}

BoxAnswerer::~BoxAnswerer()
{
    m_stop = true;
    if (m_thread.joinable()) m_thread.join();
}

int BoxAnswerer::Finish()
{
    // The UI thread's action has returned: a box it showed was answered by now.
    m_stop = true;
    if (m_thread.joinable()) m_thread.join();
    return m_answered;
}
