#include "skinkit/CBitmapBtn.h"
#include "framework/AfxOle.h"
#include "framework/COleDataSource.h"
#include "core/Messages.h"
#include "GuiTestSupport.h"
#include "SkinTestSupport.h"
#include <gtest/gtest.h>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

namespace {

constexpr COLORREF kNormal = RGB(0, 0, 160);
constexpr COLORREF kOver = RGB(0, 160, 0);
constexpr COLORREF kDown = RGB(160, 0, 0);
constexpr COLORREF kDisabled = RGB(90, 90, 90);
constexpr COLORREF kGold = RGB(255, 204, 0);
constexpr COLORREF kWhite = RGB(255, 255, 255);

struct Command {
    WPARAM w;
    HWND from;
};

struct Drop {
    UINT message;
    WPARAM w;
    LPARAM l;
};

// A skinned window in miniature: full-size state pictures in four plain colours, and a
// record of what its buttons tell it.
class ButtonHost : public CWnd {
public:
    CBitmap normal, over, down, disabled;
    std::vector<Command> commands;
    std::vector<Drop> drops;

    bool Open(int width = 420, int height = 320)
    {
        normal.Attach(SolidDib(width, height, kNormal));
        over.Attach(SolidDib(width, height, kOver));
        down.Attach(SolidDib(width, height, kDown));
        disabled.Attach(SolidDib(width, height, kDisabled));
        if (!CreateEx(0, RegisterWndClass(0, LoadCursorW(nullptr, IDC_ARROW), (HBRUSH)GetStockObject(BLACK_BRUSH)),
                      L"button host", WS_POPUP | WS_VISIBLE, 100, 100, width, height, nullptr, nullptr))
            return false;
        return ShowAt(m_hWnd, RECT{100, 100, 100 + width, 100 + height});
    }
    // As a window's loader makes its buttons.
    bool Add(CBitmapBtn& b, const RECT& r)
    {
        if (!b.Create(L"", WS_CHILD | WS_VISIBLE, r, this, 0)) return false;
        b.SetBitmaps(normal, over, down, disabled, r);
        return true;
    }
    LRESULT OnCommandMessage(WPARAM w, LPARAM l)
    {
        commands.push_back({w, (HWND)l});
        return 0;
    }
    LRESULT OnDropProfile(WPARAM w, LPARAM l)
    {
        drops.push_back({WM_DROP_PROFILE, w, l});
        return 0;
    }
    LRESULT OnDropFunction(WPARAM w, LPARAM l)
    {
        drops.push_back({WM_DROP_FUNCTION, w, l});
        return 0;
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(ButtonHost, CWnd)
    ON_MESSAGE(WM_COMMAND, OnCommandMessage)
    ON_MESSAGE(WM_DROP_PROFILE, OnDropProfile)
    ON_MESSAGE(WM_DROP_FUNCTION, OnDropFunction)
END_MESSAGE_MAP()

COLORREF CentreColour(CBitmapBtn& b)
{
    WindowPixels p = GrabWindow(b.m_hWnd);
    return p.At(p.width / 2, p.height / 2);
}

// The box around every pixel of that colour; empty when there is none.
RECT BoundsOf(const WindowPixels& p, COLORREF c)
{
    RECT r = {p.width, p.height, 0, 0};
    for (int y = 0; y < p.height; ++y)
        for (int x = 0; x < p.width; ++x)
            if (p.At(x, y) == c) {
                if (x < r.left) r.left = x;
                if (y < r.top) r.top = y;
                if (x + 1 > r.right) r.right = x + 1;
                if (y + 1 > r.bottom) r.bottom = y + 1;
            }
    return r;
}

}  // namespace

TEST(CBitmapBtn, ShowsTheImageOfItsState)
{
    ButtonHost host;
    ASSERT_TRUE(host.Open());
    struct Case {
        const char* name;
        bool toggle;
        int checked;
        bool pressed;
        int hover;
        bool disabled;
        COLORREF shown;
    } cases[] = {
        {"at rest", false, 0, false, 0, false, kNormal},
        {"hovered", false, 0, false, 1, false, kOver},
        {"pressed", false, 0, true, 0, false, kDown},
        {"checked", false, 1, false, 0, false, kDown},
        {"checked and hovered", false, 1, false, 1, false, kDown},
        {"disabled", false, 0, false, 0, true, kDisabled},
        {"toggle unchecked and hovered", true, 0, false, 1, false, kNormal},
        {"toggle checked and pressed", true, 1, true, 0, false, kDown},
        {"toggle unchecked and pressed", true, 0, true, 0, false, kNormal},
    };
    for (auto& c : cases) {
        CBitmapBtn b;
        ASSERT_TRUE(host.Add(b, RECT{20, 20, 120, 60})) << c.name;
        if (c.toggle) b.SetToggle();
        b.SetCheck(c.checked);
        b.m_nHover = c.hover;
        if (c.pressed) b.SendMessage(BM_SETSTATE, TRUE);
        if (c.disabled) b.EnableWindow(FALSE);
        EXPECT_EQ(CentreColour(b), c.shown) << c.name;
    }

    // The images are cut at the button's own rectangle of the full-window pictures.
    CBitmapBtn b;
    CBitmap picture;
    picture.Attach(MakeDib(420, 320, [](int x, int y) { return RGB(x % 256, y % 256, 7); }));
    ASSERT_TRUE(b.Create(L"", WS_CHILD | WS_VISIBLE, RECT{30, 40, 90, 70}, &host, 0));
    b.SetBitmaps(picture, picture, picture, picture, RECT{30, 40, 90, 70});
    WindowPixels p = GrabWindow(b.m_hWnd);
    EXPECT_EQ(p.At(0, 0), RGB(30, 40, 7));
    EXPECT_EQ(p.At(59, 29), RGB(89, 69, 7));
    EXPECT_FALSE(b.GetStyle() & WS_TABSTOP);
    SaveWindowPng(host.m_hWnd, L"bitmap-button-states");
}

TEST(CBitmapBtn, HoverFollowsTheMouseAndShowsTheTooltip)
{
    ButtonHost host;
    ASSERT_TRUE(host.Open());
    CBitmapBtn b;
    ASSERT_TRUE(host.Add(b, RECT{40, 40, 160, 80}));
    CString tip(L"Apply the changes");
    b.SetToolTipText(&tip);
    b.SetToolTipText(nullptr);
    EXPECT_EQ(b.m_toolTip.GetToolCount(), 1);
    EXPECT_EQ(b.m_toolTip.GetText(&b, 1), L"Apply the changes");

    MouseMoveTo(ScreenCenter(b.m_hWnd));
    ASSERT_TRUE(PumpUntil([&] { return b.m_nHover == 1; }));
    EXPECT_EQ(CentreColour(b), kOver);
    EXPECT_TRUE(PumpUntil([&] { return b.m_toolTip.IsWindowVisible() != FALSE; })) << "tooltip shown";
    SaveWindowPng(host.m_hWnd, L"bitmap-button-hovered");

    POINT outside = ScreenCenter(host.m_hWnd);
    outside.y += 100;
    MouseMoveTo(outside);
    ASSERT_TRUE(PumpUntil([&] { return b.m_nHover == 0; }));
    EXPECT_EQ(CentreColour(b), kNormal);
    EXPECT_NE(GetCapture(), b.m_hWnd);
}

TEST(CBitmapBtn, ClicksTogglesAndRightClicksReachTheParent)
{
    ButtonHost host;
    ASSERT_TRUE(host.Open());
    CBitmapBtn plain, toggle;
    ASSERT_TRUE(host.Add(plain, RECT{20, 20, 120, 60}));
    ASSERT_TRUE(host.Add(toggle, RECT{20, 100, 120, 140}));
    toggle.SetToggle();

    EXPECT_TRUE(ClickOn(plain.m_hWnd));
    ASSERT_TRUE(PumpUntil([&] { return !host.commands.empty(); }));
    PumpFor(100);
    ASSERT_EQ(host.commands.size(), 1u);
    EXPECT_EQ(host.commands[0].w, MAKEWPARAM(0, BN_CLICKED));
    EXPECT_EQ(host.commands[0].from, plain.m_hWnd);

    host.commands.clear();
    EXPECT_TRUE(ClickOn(toggle.m_hWnd));
    ASSERT_TRUE(PumpUntil([&] { return !host.commands.empty(); }));
    PumpFor(100);
    EXPECT_EQ(toggle.GetCheck(), 1);
    ASSERT_EQ(host.commands.size(), 1u) << "the toggle's own command only";
    EXPECT_EQ(host.commands[0].from, toggle.m_hWnd);
    EXPECT_EQ(CentreColour(toggle), kDown);
    // Not so soon that the second press makes a double click.
    PumpFor(GetDoubleClickTime() + 100);
    EXPECT_TRUE(ClickOn(toggle.m_hWnd));
    ASSERT_TRUE(PumpUntil([&] { return host.commands.size() == 2; }));
    EXPECT_EQ(toggle.GetCheck(), 0);

    PumpFor(GetDoubleClickTime() + 100);
    host.commands.clear();
    POINT p = ScreenCenter(toggle.m_hWnd);
    MouseMoveTo(p);
    Sleep(30);
    MouseButton(false, true);
    Sleep(30);
    MouseButton(false, false);
    ASSERT_TRUE(PumpUntil([&] { return !host.commands.empty(); }));
    PumpFor(100);
    EXPECT_EQ(host.commands[0].w, (WPARAM)ID_BUTTON_RCLICK);
    EXPECT_EQ(host.commands[0].from, toggle.m_hWnd);
    EXPECT_EQ(toggle.GetCheck(), 0) << "a right click leaves the toggle as it was";
}

TEST(CBitmapBtn, CaptionStylesFillStripAndCard)
{
    ButtonHost host;
    ASSERT_TRUE(host.Open(420, 320));
    struct Case {
        const char* name;
        RECT rect;
        std::function<void(CBitmapBtn&)> set;
        COLORREF colour;
        bool vertical;
    } cases[] = {
        {"default", {10, 10, 130, 40}, [](CBitmapBtn&) {}, kGold, false},
        {"hovered", {10, 10, 130, 40}, [](CBitmapBtn& b) { b.m_nHover = 1; }, kWhite, false},
        {"checked", {10, 10, 130, 40}, [](CBitmapBtn& b) { b.m_nCheck = 1; }, kWhite, false},
        {"light", {10, 10, 130, 40}, [](CBitmapBtn& b) { b.m_bLightCaption = 1; }, kWhite, false},
        {"bold", {10, 10, 130, 40}, [](CBitmapBtn& b) { b.m_bBoldCaption[1] = 1; }, kGold, false},
        {"upward", {10, 10, 40, 150}, [](CBitmapBtn& b) { b.m_bUpwardCaption[0] = 1; }, kGold, true},
        {"downward", {10, 10, 40, 150}, [](CBitmapBtn& b) { b.m_bDownwardCaption[1] = 1; }, kGold, true},
    };
    for (auto& c : cases) {
        CBitmapBtn b;
        ASSERT_TRUE(host.Add(b, c.rect)) << c.name;
        b.SetCaption(L"Apply");
        c.set(b);
        WindowPixels p = GrabWindow(b.m_hWnd);
        RECT text = BoundsOf(p, c.colour);
        ASSERT_LT(text.left, text.right) << c.name << ": no caption pixels";
        int w = text.right - text.left, h = text.bottom - text.top;
        EXPECT_EQ(h > w, c.vertical) << c.name << " " << w << "x" << h;
    }

    // A caption longer than its room ends with an ellipsis instead of running over.
    CBitmapBtn longOne;
    ASSERT_TRUE(host.Add(longOne, RECT{10, 200, 90, 230}));
    longOne.m_nCaptionRight = 10;
    longOne.SetCaption(L"A caption far too long for its little button");
    WindowPixels p = GrabWindow(longOne.m_hWnd);
    RECT text = BoundsOf(p, kGold);
    EXPECT_LE(text.right, 80 - 10 - 2 + 1);
    EXPECT_GT(text.right - text.left, 30);

    // Fill strip: a 100 x 40 button shows its image in rows 0..36 and the colour below.
    CBitmapBtn filled;
    ASSERT_TRUE(host.Add(filled, RECT{200, 10, 300, 50}));
    filled.SetFillColor(RGB(12, 200, 99));
    p = GrabWindow(filled.m_hWnd);
    EXPECT_EQ(p.Count(RECT{0, 0, 100, 37}, kNormal), 100 * 37);
    EXPECT_EQ(p.Count(RECT{0, 37, 100, 40}, RGB(12, 200, 99)), 100 * 3);

    // Card: the portrait's top-left 64 x 64 stretched to 70 x 70 at (5, 4), the name in
    // white, level and class, then the server, in gold.
    CBitmapBtn card;
    ASSERT_TRUE(host.Add(card, RECT{200, 100, 310, 260}));
    CBitmap portrait;
    portrait.Attach(SolidDib(64, 160, RGB(200, 100, 50)));
    card.SetPortraitBitmaps(portrait, 64);
    card.SetPortraitTexts(L"Stormreach", L"Aldric", L"60", L"Warden", L"Human");
    p = GrabWindow(card.m_hWnd);
    EXPECT_EQ(p.Count(RECT{5, 4, 75, 74}, RGB(200, 100, 50)), 70 * 70);
    RECT name = BoundsOf(p, kWhite);
    EXPECT_GE(name.top, 88);
    EXPECT_LE(name.bottom, 110);
    RECT lines = BoundsOf(p, kGold);
    EXPECT_GE(lines.top, 118);
    EXPECT_LE(lines.bottom, 155);
    SaveWindowPng(host.m_hWnd, L"bitmap-button-captions");
    card.SetNormalBitmaps(host.normal, host.over, host.down, host.disabled, RECT{200, 100, 310, 260});
    EXPECT_EQ(card.m_bCard, 0);
    EXPECT_EQ(CentreColour(card), kNormal);
}

TEST(CBitmapBtn, DraggedNumbersReachTheTargetsMapThroughTheRealDropTarget)
{
    ASSERT_TRUE(AfxOleInit());
    ButtonHost host;
    ASSERT_TRUE(host.Open());
    CBitmapBtn source, functionTarget, profileTarget;
    ASSERT_TRUE(host.Add(source, RECT{20, 20, 120, 60}));
    ASSERT_TRUE(host.Add(functionTarget, RECT{260, 20, 380, 60}));
    ASSERT_TRUE(host.Add(profileTarget, RECT{260, 200, 380, 240}));
    source.m_bDragSource = 1;
    functionTarget.m_nDropKind = 2;
    functionTarget.m_nItemValue = 18;
    functionTarget.RegisterDropTarget(&host);
    profileTarget.m_nDropKind = 1;
    profileTarget.m_nItemValue = 4;
    profileTarget.RegisterDropTarget(nullptr);

    struct Case {
        const char* name;
        int value;
        CBitmapBtn* target;
        std::vector<UINT> messages;
    } cases[] = {
        {"function code 16", 16, &functionTarget, {WM_DROP_FUNCTION}},
        {"function code 1200", 1200, &functionTarget, {WM_DROP_FUNCTION}},
        {"function code 1201", 1201, &functionTarget, {}},
        {"profile 3", 3, &profileTarget, {WM_DROP_PROFILE}},
        {"profile 10", 10, &profileTarget, {}},
        {"a function code onto a profile", 16, &profileTarget, {}},
    };
    for (auto& c : cases) {
        host.drops.clear();
        source.m_nItemValue = c.value;
        DragWithTheMouse(ScreenCenter(source.m_hWnd), ScreenCenter(c.target->m_hWnd));
        PumpUntil([&] { return !host.drops.empty(); }, c.messages.empty() ? 300 : 3000);
        ASSERT_EQ(host.drops.size(), c.messages.size()) << c.name;
        if (!c.messages.empty()) {
            EXPECT_EQ(host.drops[0].message, c.messages[0]) << c.name;
            EXPECT_EQ(host.drops[0].w, (WPARAM)c.value) << c.name;
            EXPECT_EQ(host.drops[0].l, (LPARAM)c.target->m_nItemValue) << c.name;
        }
    }

    // A press released before the mouse leaves the drag rectangle is a plain click.
    host.drops.clear();
    host.commands.clear();
    EXPECT_TRUE(ClickOn(source.m_hWnd));
    ASSERT_TRUE(PumpUntil([&] { return !host.commands.empty(); }));
    EXPECT_EQ(host.commands[0].from, source.m_hWnd);
    EXPECT_TRUE(host.drops.empty());
}

TEST(CBitmapBtn, OnlyTextsThatAreWhollyANumberInRangeAreTaken)
{
    ASSERT_TRUE(AfxOleInit());
    ButtonHost host;
    ASSERT_TRUE(host.Open());
    CBitmapBtn functions, profiles;
    ASSERT_TRUE(host.Add(functions, RECT{20, 20, 120, 60}));
    ASSERT_TRUE(host.Add(profiles, RECT{20, 100, 120, 140}));
    functions.m_nDropKind = 2;
    functions.RegisterDropTarget(nullptr);
    profiles.m_nDropKind = 1;
    profiles.RegisterDropTarget(nullptr);

    struct Case {
        const wchar_t* text;
        CBitmapBtn* target;
        int posted;  // -1: refused
    } cases[] = {
        {L"16", &functions, 16},  {L"1200", &functions, 1200}, {L"1201", &functions, -1},
        {L"15", &functions, -1},  {L"0", &profiles, 0},         {L"9", &profiles, 9},
        {L"10", &profiles, -1},   {L"-1", &profiles, -1},       {L"abc", &profiles, -1},
        {L"12abc", &functions, -1}, {L"", &profiles, -1},       {L" 7", &profiles, -1},
        {L"99999999999999999999", &functions, -1},
    };
    for (auto& c : cases) {
        host.drops.clear();
        IDropTarget* target = (IDropTarget*)GetPropW(c.target->m_hWnd, L"OleDropTargetInterface");
        ASSERT_NE(target, nullptr);
        COleDataSource data;
        data.CacheGlobalData(CF_UNICODETEXT, TextBlock(c.text));
        POINTL at = {ScreenCenter(c.target->m_hWnd).x, ScreenCenter(c.target->m_hWnd).y};
        DWORD effect = DROPEFFECT_COPY;
        target->DragEnter(data.GetDataObject(), MK_LBUTTON, at, &effect);
        effect = DROPEFFECT_COPY;
        target->DragOver(MK_LBUTTON, at, &effect);
        std::string name(c.text, c.text + wcslen(c.text));
        EXPECT_EQ(effect, c.posted >= 0 ? (DWORD)DROPEFFECT_COPY : (DWORD)DROPEFFECT_NONE) << name;
        effect = DROPEFFECT_COPY;
        target->Drop(data.GetDataObject(), 0, at, &effect);
        PumpFor(50);
        if (c.posted >= 0) {
            ASSERT_EQ(host.drops.size(), 1u) << name;
            EXPECT_EQ(host.drops[0].w, (WPARAM)c.posted) << name;
        } else {
            EXPECT_TRUE(host.drops.empty()) << name;
            EXPECT_EQ(effect, (DWORD)DROPEFFECT_NONE) << name;
        }
    }
}
