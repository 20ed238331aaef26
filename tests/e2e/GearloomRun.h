#pragma once
#include "SuiteRun.h"
#include <windows.h>
#include <vector>

// The real Gearloom.exe beside the service in a SuiteRun's program folder, with the shipped
// skin and texts, driven as a person drives it: real clicks on its buttons, whose places
// come from the shipped "Strings.xml", and pictures of its window.
class GearloomRun {
public:
    explicit GearloomRun(SuiteRun& run);
    ~GearloomRun();
    GearloomRun(const GearloomRun&) = delete;
    GearloomRun& operator=(const GearloomRun&) = delete;

    // Starts the program and waits until its main window is up and in front.
    bool Start();
    HWND Window() const { return m_window; }
    bool BringToFront();
    // The screen rectangle of the control of that entry in the main window's section, or
    // in another window's section of "Strings.xml".
    RECT Control(const wchar_t* entry) const { return ControlIn(m_window, L"MAIN", entry); }
    RECT ControlIn(HWND window, const wchar_t* section, const wchar_t* entry) const;
    void Click(const wchar_t* entry);
    // The side panel of that skin section ("MOUSE_PROPERTIES", "ILLUMINATION_SETTING") once
    // it is shown and docked at its place at the main window's edge; null when it does not
    // come. Side panels are no boxes.
    HWND WaitForPanel(const wchar_t* section, DWORD ms);
    // The main window's pixels inside the control of that entry.
    std::vector<DWORD> Pixels(const wchar_t* entry) const;
    // A dialog of the program other than the main window (a notice box), or null.
    HWND WaitForBox(DWORD ms) const;
    // Answers a question box with its right (No) button, or closes a message box.
    static void Close(HWND box, bool no);
    bool WaitForExit(DWORD ms);

private:
    SuiteRun& m_run;
    HANDLE m_process = nullptr;
    DWORD m_pid = 0;
    HWND m_window = nullptr;
    std::vector<HWND> m_panels;
};
