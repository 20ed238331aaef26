#pragma once
#include "GuiTestSupport.h"
#include "TestSupport.h"
#include "configurator/main_window/CAPDlg.h"
#include "core/ConfigData.h"
#include "framework/CWinApp.h"
#include <atomic>
#include <memory>
#include <ostream>
#include <string>
#include <thread>
#include <vector>

// Texts in failure messages as texts.
inline void PrintTo(const CString& s, std::ostream* os)
{
    std::string narrow;
    for (wchar_t c : s.str()) narrow += c < 128 ? (char)c : '?';
    *os << '"' << narrow << '"';
}

class CSkinPopupMenu;

// A person's click on a skinned button: the mouse comes over it, then presses and lets go
// (a popup's opener knows from the hover that its second click closes the popup).
void ClickOnButton(CWnd& button);
// The screen point at the middle of a popup menu's row.
POINT RowPoint(CSkinPopupMenu& popup, int row);

// The main window of the configuration program in this process, as the program runs it:
// the main window of an application object, its program folder and per-user folder set by
// the test. The program folder is the repository's resources folder (only read), or a copy
// of its XML files and pictures in the test's folder that the test may change.
class MainWindowRig {
public:
    enum class Program { Shipped, Copy };
    explicit MainWindowRig(Program program = Program::Shipped);
    ~MainWindowRig();
    MainWindowRig(const MainWindowRig&) = delete;
    MainWindowRig& operator=(const MainWindowRig&) = delete;

    TempDir temp;
    CWinApp app;
    std::unique_ptr<CAPDlg> dlg;

    CString AppDir() const { return m_appDir; }
    CString ConfDir() const { return temp.Path() + L"Conf\\"; }
    CString ConfigPath() const { return ConfDir() + L"Config.xml"; }

    // The record a fresh start reads from the shipped "Config.xml".
    static std::unique_ptr<ConfigData> ShippedConfig();
    // The user's "Config.xml" (the shipped one until a test writes another).
    bool WriteConfig(const ConfigData& cfg);
    std::unique_ptr<ConfigData> ReadConfig() const;
    // A copied program folder's XML file rewritten: every `from` replaced by `to`.
    void EditProgramFile(const wchar_t* name, const std::wstring& from, const std::wstring& to);

    // Makes and shows the main window (modeless, so the test keeps its thread).
    bool Open(bool usePipe = false);
    HWND Hwnd() const { return dlg ? dlg->m_hWnd : nullptr; }
    // The main window and its side panels: the windows that are no notice boxes.
    std::vector<HWND> OwnWindows() const;
    // The main window ended as the dialog ends: hidden by its cancel.
    bool Ended() const { return !dlg || !dlg->m_hWnd || !IsWindowVisible(dlg->m_hWnd); }
    void Close();

    // A skinned button reports as it does: a click as BN_CLICKED with its handle, a right
    // press as ID_BUTTON_RCLICK.
    void Click(CBitmapBtn& button);
    void RightClick(CBitmapBtn& button);
    // A menu command.
    void Command(UINT id);
    void Pump(DWORD ms = 50) { PumpFor(ms); }

private:
    CString m_appDir;
};

// A person on a second thread who answers the next notice box that the UI thread shows
// (any dialog but the windows given), the way the box's own buttons do: Yes (the left
// button of a question's lowest row), No (its right-most button), or a close; the box is saved as a picture when a name is
// given. Made before the UI thread's action, finished after it returned.
class BoxAnswerer {
public:
    enum class Answer { Yes, No, Close };
    BoxAnswerer(Answer answer, std::vector<HWND> known, const wchar_t* picture = nullptr, DWORD waitMs = WINDOW_WAIT_MS);
    ~BoxAnswerer();
    // How many boxes were answered (0 or 1).
    int Finish();
    // A box was answered already.
    bool Answered() const { return m_answered != 0; }

private:
    std::thread m_thread;
    std::atomic<int> m_answered{0};
    std::atomic<bool> m_stop{false};
};
