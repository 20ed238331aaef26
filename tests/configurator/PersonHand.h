#pragma once
#include <windows.h>
#include <atomic>
#include <functional>
#include <set>
#include <string>
#include <thread>
#include <vector>
#include "framework/CString.h"

// Waits up to waitMs, or until stop, for a visible and enabled dialog of the thread that
// known does not count; answers it, or null when none came.
HWND WaitForNewDialog(DWORD thread, const std::function<bool(HWND)>& known, const std::atomic<bool>& stop,
                      DWORD waitMs);

// A person on a second thread who deals with the dialogs the UI thread shows, one after
// the other, while the UI thread sits in their modal loops. Each step waits for the next
// dialog of the UI thread that was not there before (visible and enabled, so the one on
// top), acts on it from this thread, then waits until it is gone or another dialog lies
// over it. Made before the UI thread's action, finished after it returned.
class PersonHand {
public:
    using Step = std::function<void(HWND dialog)>;
    explicit PersonHand(std::vector<Step> steps, DWORD waitMs = 10000);
    ~PersonHand();
    PersonHand(const PersonHand&) = delete;
    PersonHand& operator=(const PersonHand&) = delete;
    // How many steps found their dialog.
    int Finish();

private:
    std::thread m_thread;
    std::atomic<int> m_done{0};
    std::atomic<bool> m_stop{false};
};

// The same person at a popup menu of the UI thread: once it shows, a picture of the
// screen around it is saved under the name (when given) and the keys are tapped, a
// pause after each. Finish answers whether a menu came.
class MenuHand {
public:
    MenuHand(std::vector<WORD> keys, const wchar_t* picture = nullptr, const wchar_t* submenuPicture = nullptr);
    ~MenuHand();
    bool Finish();
    // Where the menu showed (after Finish).
    RECT Rect() const { return m_rect; }

private:
    std::thread m_thread;
    RECT m_rect = {};
    std::atomic<bool> m_found{false};
    std::atomic<bool> m_stop{false};
};

// What a step may do.
// Waits until the window has painted, then saves its picture.
void Snap(HWND window, const wchar_t* name);
// A real click at the centre of the child control at its dialog's client point, or of a
// Strings.xml control entry of the program folder ("BUTTON_OK" in "CHRONICLE").
void ClickAtClient(HWND dialog, POINT client);
void ClickEntry(HWND dialog, const wchar_t* section, const wchar_t* entry);
// The child window of the dialog with the class whose rectangle holds the entry's centre.
HWND ChildAtEntry(HWND dialog, const wchar_t* section, const wchar_t* entry);
// A button of a system dialog (the file and print dialogs, message boxes), pressed.
void PressButton(HWND dialog, int id);
// Text typed into an edit as keys (letters, digits and blanks) after a click into it; with
// replace, over all of its text.
void TypeText(HWND edit, const wchar_t* text, bool replace = false);

// Starts tests/helpers/post_message (a second process) to post a message to the window of
// that title; answers its exit code (0: posted).
DWORD PostFromSecondProcess(const wchar_t* title, UINT message, WPARAM wParam = 0, LPARAM lParam = 0);

// A real JPEG picture, one colour, made with the system's encoder.
std::string JpegBytes(COLORREF colour, int width, int height);
