// The event display: the text of the events, its wrapping and scrolling, and the box itself.
#include "GuiTestSupport.h"
#include "MacroEditorRig.h"
#include "configurator/function_picker/COstrelMacroDisplay.h"
#include "configurator/function_picker/MacroEventText.h"
#include "configurator/function_picker/MacroRecording.h"
#include "core/Messages.h"
#include <gtest/gtest.h>

namespace {

MacroEvent E(int vk, int up, int delay = 0)
{
    return MacroEvent{(uint8_t)vk, (uint8_t)up, delay};
}

// A top-level window that holds one display and notes what the display tells it.
class DisplayHost : public CWnd {
public:
    DisplayHost()
    {
        CreateEx(0, RegisterWndClass(0, LoadCursorW(nullptr, IDC_ARROW), (HBRUSH)GetStockObject(GRAY_BRUSH)),
                 L"display host", WS_POPUP | WS_VISIBLE, 200, 200, 360, 260, nullptr, nullptr);
        EXPECT_TRUE(ShowAt(m_hWnd, RECT{200, 200, 560, 460}));
    }
    ~DisplayHost() override
    {
        if (m_hWnd) DestroyWindow();
    }
    std::vector<HWND> focusReports;

protected:
    LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (message == WM_MACRO_DISPLAY_FOCUS) {
            focusReports.push_back((HWND)wParam);
            return 0;
        }
        return CWnd::DefWindowProc(message, wParam, lParam);
    }
};

// Events of n presses and releases of the letters with recorded delays.
std::vector<MacroEvent> LongRecording(int keys)
{
    std::vector<MacroEvent> events;
    for (int i = 0; i < keys; ++i) {
        events.push_back(E('A' + i % 26, 0, 100 + i));
        events.push_back(E('A' + i % 26, 1, 30));
    }
    return events;
}

}  // namespace

TEST(MacroEventText, KeyNamesAndCharacters)
{
    // The keyboard layout's characters as the display gets them after a click.
    LoadKeyboardLayoutW(L"00000409", KLF_ACTIVATE);
    struct Case {
        int vk;
        const wchar_t* label;
    };
    const Case cases[] = {
        {8, L"Bck"},        {13, L"Enter"},     {19, L"Paus"},   {27, L"Esc"},     {32, L"Spc"},
        {37, L"Lft"},       {40, L"Dn"},        {44, L"Snapshot"}, {46, L"Del"},   {91, L"LWin"},
        {92, L"RWin"},      {96, L"Num0"},      {105, L"Num9"},  {106, L"Num*"},   {108, L"NumRet"},
        {111, L"Num/"},     {112, L"F1"},       {123, L"F12"},   {144, L"Numl"},   {145, L"Scrl"},
        {160, L"LShft"},    {161, L"RShft"},    {162, L"LCtrl"}, {163, L"RCtrl"},  {164, L"LAlt"},
        {165, L"RAlt"},     {'A', L"A"},        {'Z', L"Z"},     {'7', L"7"},      {VK_OEM_2, L"/"},
        {VK_OEM_1, L";"},   {VK_OEM_COMMA, L","},
        // Neither a name nor a character: its number.
        {VK_APPS, L"Key93"}, {VK_F13, L"Key124"},
    };
    for (const Case& c : cases) EXPECT_EQ(MacroKeyLabel(c.vk), c.label) << "key " << c.vk;
}

TEST(MacroEventText, EntriesOfEachMode)
{
    const MacroEvent a[] = {E('A', 0, 120), E('A', 1, 0)};
    const MacroEvent shifted[] = {E(161, 0, 20), E(108, 0, 35), E(108, 1, 0), E(161, 1, 5)};
    const MacroEvent outOfRange[] = {E('A', 0, 95000), E('A', 1, 60001), E('B', 0, -5)};
    struct Case {
        const MacroEvent* events;
        int count;
        int mode;
        const wchar_t* text;
    };
    const Case cases[] = {
        {a, 2, DELAY_RECORDED, L"A|<120ms> A^ "},
        {a, 2, DELAY_AUTOMATIC, L"A "},
        {a, 2, DELAY_NONE, L"A| A^ "},
        {a, 2, DELAY_PASTE, L"A|<120ms> A^ "},
        {shifted, 4, DELAY_RECORDED, L"RShft|<20ms> NumRet|<35ms> NumRet^ RShft^<5ms> "},
        {shifted, 4, DELAY_AUTOMATIC, L"RShft NumRet "},
        {a, 0, DELAY_RECORDED, L""},
        // Delays shown as the player waits them: a minute at most, nothing below 0.
        {outOfRange, 3, DELAY_RECORDED, L"A|<60000ms> A^<60000ms> B| "},
    };
    for (const Case& c : cases) EXPECT_EQ(MacroEventsText(c.events, c.count, c.mode), c.text);
}

TEST(MacroEventText, LinesWrapCharacterByCharacter)
{
    MacroTextMeasure m;
    m.usableWidth = 30;
    m.upWidth = 7;
    m.downWidth = 9;
    m.charWidth = [](wchar_t) { return 6; };
    struct Case {
        const wchar_t* text;
        int usable;
        std::vector<int> starts;
    };
    const Case cases[] = {
        {L"", 30, {}},
        {L"ABCD", 30, {0}},              // x 2, 8, 14, 20 -> 26: fits
        {L"ABCDE", 30, {0, 4}},          // 26 + 6 reaches 30
        {L"ABCDEFGHIJ", 30, {0, 4, 8}},
        {L"A|B^C", 30, {0, 3}},          // 2 + 6 + 9 + 6 = 23; 23 + 7 reaches 30
        {L"AB", 5, {0, 1}},              // narrower than a character: one per line, none empty
    };
    for (const Case& c : cases) {
        m.usableWidth = c.usable;
        EXPECT_EQ(MacroLineStarts(c.text, m), c.starts) << CString(c.text).GetString();
    }
}

TEST(MacroDisplay, ShortTextsShowNoScrollBarLongOnesScrollToTheirEnd)
{
    DisplayHost host;
    COstrelMacroDisplay display;
    ASSERT_TRUE(display.Create(WS_CHILD | WS_VISIBLE, RECT{16, 16, 16 + 212, 16 + 30}, &host, 0));
    EXPECT_EQ(display.m_nUpWidth, 7);
    EXPECT_EQ(display.m_nUpHeight, 9);
    EXPECT_EQ(display.m_nDownWidth, 7);
    // A line counts when at least seven tenths of it are in the box.
    const int page = display.GetPageLines();
    EXPECT_EQ(page, (int)(30.0 / display.GetLineHeight() + 0.3));
    EXPECT_GE(display.GetLineHeight(), 9) << "never lower than the arrows";

    const MacroEvent enter[] = {E(13, 0), E(13, 1)};
    display.SetText(MacroEventsText(enter, 2, DELAY_PASTE));
    EXPECT_EQ(display.CountLines(), 1);
    EXPECT_FALSE(display.m_scrollBar.IsWindowVisible());

    // A recording growing event by event: once it outgrows the box, every new event shows
    // the end.
    std::vector<MacroEvent> events = LongRecording(12);
    for (int n = 1; n <= (int)events.size(); ++n) {
        display.SetText(MacroEventsText(events.data(), n, DELAY_RECORDED));
        int lines = display.CountLines();
        if (lines > page) {
            EXPECT_TRUE(display.m_scrollBar.IsWindowVisible()) << n;
            EXPECT_EQ(display.m_nFirstLine, lines - page) << n;
        } else {
            EXPECT_FALSE(display.m_scrollBar.IsWindowVisible()) << n;
        }
    }
    PumpFor(100);
    SaveWindowPng(display.m_hWnd, L"macro-display-start-area-scrolled");

    // A text given to an empty box starts at its top.
    display.SetText(L"");
    display.SetText(MacroEventsText(events.data(), (int)events.size(), DELAY_RECORDED));
    EXPECT_EQ(display.m_nFirstLine, 0);
}

TEST(MacroDisplay, WheelPagesDownAndStepsUpAndTheBarScrolls)
{
    DisplayHost host;
    COstrelMacroDisplay display;
    ASSERT_TRUE(display.Create(WS_CHILD | WS_VISIBLE, RECT{10, 10, 10 + 316, 10 + 200}, &host, 0));
    std::vector<MacroEvent> events = LongRecording(60);
    display.SetText(MacroEventsText(events.data(), (int)events.size(), DELAY_RECORDED));
    const int lines = display.CountLines();
    const int page = display.GetPageLines();
    ASSERT_GT(lines - page, 3) << "a page of the wheel is two lines";
    ASSERT_EQ(display.m_nFirstLine, 0);
    PumpFor(50);

    // A click makes it the target: the parent is told which display it was.
    EXPECT_TRUE(ClickOn(display.m_hWnd));
    PumpUntil([&] { return !host.focusReports.empty(); });
    ASSERT_EQ(host.focusReports.size(), 1u);
    EXPECT_EQ(host.focusReports[0], display.m_hWnd);
    EXPECT_EQ(GetFocus(), display.m_hWnd);

    auto wheel = [](int delta) {
        INPUT in = {};
        in.type = INPUT_MOUSE;
        in.mi.dwFlags = MOUSEEVENTF_WHEEL;
        in.mi.mouseData = (DWORD)delta;
        SendInput(1, &in, sizeof in);
        PumpFor(80);
    };
    wheel(-WHEEL_DELTA);
    EXPECT_EQ(display.m_nFirstLine, 2);
    wheel(-WHEEL_DELTA);
    EXPECT_EQ(display.m_nFirstLine, 4);
    wheel(WHEEL_DELTA);
    EXPECT_EQ(display.m_nFirstLine, 3);
    SaveWindowPng(display.m_hWnd, L"macro-display-wheeled");

    // The bar's own down arrow, clicked, moves one line; its track end goes to the last line.
    RECT bar = display.m_scrollBar.GetWindowRect();
    MouseClickAt(POINT{(bar.left + bar.right) / 2, bar.bottom - 4});
    PumpFor(150);
    EXPECT_EQ(display.m_nFirstLine, 4);
    display.SendMessage(WM_VSCROLL, SB_BOTTOM, (LPARAM)display.m_scrollBar.m_hWnd);
    EXPECT_EQ(display.m_nFirstLine, lines - page);
    for (int i = 0; i < 3; ++i) wheel(-WHEEL_DELTA);
    EXPECT_EQ(display.m_nFirstLine, lines - page);
    PumpFor(50);
    SaveWindowPng(display.m_hWnd, L"macro-display-end");
}

TEST(MacroDisplay, PaintsArrowsAndGreyWhenDisabled)
{
    DisplayHost host;
    COstrelMacroDisplay display;
    ASSERT_TRUE(display.Create(WS_CHILD | WS_VISIBLE, RECT{10, 10, 10 + 212, 10 + 30}, &host, 0));
    display.SetText(L"|");
    PumpFor(80);
    int w = 0, h = 0;
    std::vector<DWORD> pixels = CaptureWindow(display.m_hWnd, &w, &h);
    ASSERT_EQ(w, 212);
    // The down arrow's 7 x 9 picture at (2, 2): black ink on the white ground.
    int ink = 0;
    for (int y = 2; y < 11; ++y)
        for (int x = 2; x < 9; ++x) ink += (pixels[y * w + x] & 0xFFFFFF) == 0;
    EXPECT_GT(ink, 5);
    EXPECT_EQ(pixels[20 * w + 100] & 0xFFFFFF, 0xFFFFFFu);

    display.EnableWindow(FALSE);
    PumpFor(80);
    pixels = CaptureWindow(display.m_hWnd, &w, &h);
    EXPECT_EQ(pixels[20 * w + 100] & 0xFFFFFF, 0xC0C0C0u);
    // The arrow's ground follows the box's.
    EXPECT_EQ(pixels[10 * w + 2] & 0xFFFFFF, 0xC0C0C0u);
    SaveWindowPng(display.m_hWnd, L"macro-display-disabled");
}
