#pragma once
#include "TestSupport.h"
#include "SavedMouseSettings.h"
#include "SimMouseClient.h"
#include "core/ConfigData.h"
#include <memory>
#include <string>
#include <vector>

// The suite as it runs on a player's machine, with the simulated mouse in place of the
// hardware: the driver installed and started in this Wine prefix, the real Portwarden.exe
// started from a program folder of its own, the user's application-data folder pointed
// into a temporary folder.
class SuiteRun {
public:
    SuiteRun();
    ~SuiteRun();
    SuiteRun(const SuiteRun&) = delete;
    SuiteRun& operator=(const SuiteRun&) = delete;

    // First in, last out: put back once the programs have ended.
    SavedMouseSettings mouseSettings;
    TempDir temp;
    SimMouseControl mouse;

    CString AppDir() const { return temp.Path() + L"App\\"; }
    CString ConfDir() const;  // with its trailing backslash
    CString ConfigPath() const { return ConfDir() + L"Config.xml"; }

    // A validated record of defaults, as a fresh "Config.xml" holds them.
    static std::unique_ptr<ConfigData> DefaultConfig();
    // The user's "Config.xml" (before the start: the one the service will find).
    bool WriteConfig(const ConfigData& cfg);
    std::unique_ptr<ConfigData> ReadConfig() const;

    // Installs and starts the driver if needed and opens its control channel; the mouse
    // is then fresh from the box, its memory and log empty. Empty, or what went wrong.
    std::wstring StartMouse();
    // Stops the driver and starts it again, as a new start of the suite does: the mouse
    // has what its memory kept. Empty, or what went wrong.
    std::wstring RestartMouse();
    // Starts Portwarden.exe and waits until its window is up (its device session, if any,
    // has started by then).
    bool StartService();
    HWND ServiceWindow() const { return m_window; }
    // SendMessage to the service window, which answers once the handler has run.
    LRESULT Send(UINT message, WPARAM wParam = 0, LPARAM lParam = 0);
    // Closes the service window and waits for the program to end.
    void StopService();

    // The requests the mouse got from seq `mark` on, the event thread's reads left out
    // unless asked for.
    std::vector<SimLogEntry> RequestsSince(uint32_t mark, bool withEventReads = false);
    // Waits until the mouse got a request with that code from seq `mark` on; false when
    // the guard time ran out first.
    bool WaitForRequest(uint32_t mark, uint32_t code);
    SimDeviceState State();
    // Runs simmouse.exe (the person's control program) with these arguments to its end;
    // answers its exit code, and what it printed on both outputs in *printed.
    DWORD RunControlProgram(const wchar_t* arguments, std::string* printed);

private:
    std::unique_ptr<AppDataRedirect> m_redirect;
    HANDLE m_process = nullptr;
    HWND m_window = nullptr;
};

// The codes of the driver's requests, in order.
std::vector<uint32_t> RequestCodes(const std::vector<SimLogEntry>& requests);
// The names of the driver's requests, for messages.
std::string RequestNames(const std::vector<SimLogEntry>& requests);
