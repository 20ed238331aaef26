#pragma once
#include <windows.h>
#include <gtest/gtest.h>
#include <functional>
#include <string>
#include <vector>
#include "framework/CString.h"
#include "framework/CListBox.h"
#include "framework/CTreeCtrl.h"
#include "framework/CWnd.h"
#include "TestSupport.h"

// Pictures of windows, for a person to look at: build/screenshots/<name>.png, the folder
// found from the test program's place (build/<arch>/bin/../../screenshots).
CString ScreenshotDir();
// The window's own pixels as they are on the screen (black outside its region). Answers
// the file written, empty when it could not be written.
CString SaveWindowPng(HWND hwnd, const wchar_t* name);
// The screen's pixels in a rectangle: the windows over one another as a person sees them,
// menus and popups included.
CString SaveScreenPng(const RECT& screen, const wchar_t* name);
// The window's pixels, top-down rows of 0x00RRGGBB; empty when the window is gone.
std::vector<DWORD> CaptureWindow(HWND hwnd, int* width, int* height);
// The screen's pixels in a rectangle, in the same rows.
std::vector<DWORD> CaptureScreen(const RECT& screen);
// Pixels in those rows, width x height, as build/screenshots/<name>.png.
CString SavePixelsPng(std::vector<DWORD>& pixels, int width, int height, const wchar_t* name);
// A picture in memory (a bitmap not selected into any DC), the same ways.
std::vector<DWORD> BitmapPixels(HBITMAP bitmap, int* width, int* height);
CString SaveBitmapPng(HBITMAP bitmap, const wchar_t* name);

// Real input, as a person gives it: the mouse moved to a screen point, the left or right
// button pressed or released there, keys tapped. A move to a window of another thread
// returns once that thread has taken it in.
void MouseMoveTo(POINT screen);
void MouseButton(bool left, bool down);
void MouseClickAt(POINT screen);
// The wheel turned where the pointer is: delta in WHEEL_DELTA units, negative towards the person.
void MouseWheel(int delta);
// A key press and release with the key's scan code; extended for the keys of the
// navigation block (not their keypad twins of the same scan code).
void KeyTap(WORD vk, bool extended = false);
// The centre of a window in screen coordinates.
POINT ScreenCenter(HWND hwnd);

// Runs this thread's messages as the programs' loops do (PreTranslateMessage first)
// until done() answers true or the time is up.
bool PumpUntil(const std::function<bool()>& done, DWORD timeoutMs = WINDOW_WAIT_MS);
// For that long, and on until the input given so far is taken (PumpInput).
void PumpFor(DWORD ms);
// Waits (without pumping: for a second thread) until done() or the time is up.
bool WaitUntil(const std::function<bool()>& done, DWORD timeoutMs = WINDOW_WAIT_MS);

// Waits for what a test needs of a window before it clicks, types or looks. A window of
// this thread is placed, shown and painted only while the thread runs its messages, so the
// wait pumps them then; for any other window it only waits. A failure says what was waited
// for and what was seen.
// A window in words: handle, class, title, visible, enabled, rectangle.
std::string DescribeWindow(HWND hwnd);
// Visible, of some size, with nothing of it or its children left to paint.
testing::AssertionResult WindowShown(HWND hwnd, DWORD timeoutMs = WINDOW_WAIT_MS);
// Shown, and the screen shows its pixels where the system says it is (the window manager
// has put it there), twice in a row with its messages run in between. Of a window of this
// process: a window of another is read from the screen either way.
testing::AssertionResult WindowOnScreen(HWND hwnd, DWORD timeoutMs = WINDOW_WAIT_MS);
// Its rectangle on the screen is this one.
testing::AssertionResult WindowPlaced(HWND hwnd, const RECT& expected, DWORD timeoutMs = WINDOW_WAIT_MS);
// The foreground window is it (or the top-level window it belongs to).
testing::AssertionResult WindowInFront(HWND hwnd, DWORD timeoutMs = WINDOW_WAIT_MS);
// A click at the screen point reaches it: it and its top-level window are visible and
// enabled, and the window under the point is it or one of its children.
testing::AssertionResult TakesClickAt(HWND hwnd, POINT screen, DWORD timeoutMs = WINDOW_WAIT_MS);
// Shows a window of the test's own at the place (in front, unless told otherwise), as a
// program shows its window, and waits until it is there, painted, on the screen and in
// front. Under a window manager the system may report the manager's frame, still at the
// screen's corner, as the window's place while the manager takes the window in; the window
// is put at its place again then.
testing::AssertionResult ShowAt(HWND hwnd, const RECT& place, bool inFront = true, DWORD timeoutMs = WINDOW_WAIT_MS);
// A real left click at the point once the window takes it there.
testing::AssertionResult ClickOn(HWND hwnd, POINT screen, DWORD timeoutMs = WINDOW_WAIT_MS);
// A real left click at the window's centre once it takes it there.
testing::AssertionResult ClickOn(HWND hwnd, DWORD timeoutMs = WINDOW_WAIT_MS);
// Runs this thread's messages until the mouse and key input given so far is taken: none
// left in its queue, twice in a row.
bool PumpInput();
// A person's acts (real input, answering boxes) on a second thread while this thread pumps,
// until they are done and their input is taken.
void WhilePersonActs(const std::function<void()>& acts, DWORD timeoutMs = WINDOW_WAIT_MS);

// A person's drag: press on from, ten moves 60 ms apart, release on to; this thread pumps
// meanwhile (the press may run a drag loop inside a handler).
void DragWithTheMouse(POINT from, POINT to);
// The middle of a tree item's text and of a list row, in screen coordinates (the item is
// scrolled into view first).
POINT TreeItemPoint(CTreeCtrl& tree, HTREEITEM item);
POINT ListRowPoint(const CListBox& list, int row);

// A dragged text as the programs offer it: a movable block with the text and its zero.
HGLOBAL TextBlock(const wchar_t* text);

// The first visible top-level window of the thread with the class ("#32770" for dialogs).
HWND FindThreadWindow(DWORD threadId, const wchar_t* className = L"#32770");

// A window of another program as the program under test sees it: found by its title, it
// records every WM_USER-based message it gets, sent or posted, and answers 1. Made hidden;
// one with WS_OVERLAPPEDWINDOW can be shown, minimised and brought forward as a program's.
// Shown, it is white, so the screen tells where it is.
class PeerWindow : public CWnd {
public:
    struct Message {
        UINT message;
        WPARAM wParam;
        LPARAM lParam;
    };
    explicit PeerWindow(const wchar_t* title, DWORD style = WS_POPUP);
    std::vector<Message> received;
    // The received messages with that number.
    std::vector<Message> Of(UINT message) const;

protected:
    LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
};
