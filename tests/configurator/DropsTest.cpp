#include "ConfiguratorRig.h"
#include "configurator/main_window/MainLayout.h"
#include "core/Messages.h"
#include "framework/COleDataSource.h"
#include <gtest/gtest.h>
#include <memory>

namespace {

// A button of another window that drags a number, as the picker's lists and tree do.
class DragSource : public CWnd {
public:
    CBitmapBtn button;
    bool Open(CAPDlg& d, int number)
    {
        if (!CreateEx(0, RegisterWndClass(0, LoadCursorW(nullptr, IDC_ARROW)), L"drag source", WS_POPUP | WS_VISIBLE,
                      20, 700, 200, 60, nullptr, nullptr))
            return false;
        if (!button.Create(L"", WS_CHILD | WS_VISIBLE, RECT{10, 10, 190, 50}, this, 0)) return false;
        button.SetBitmaps(d.m_bmpNormal, d.m_bmpOver, d.m_bmpDown, d.m_bmpNormal, RECT{10, 10, 190, 50});
        button.m_bDragSource = 1;
        button.m_nItemValue = number;
        return ShowAt(m_hWnd, RECT{20, 700, 220, 760}, false);
    }
};

// A dragged text offered to a window's drop target as a drag over it and a drop on it;
// the effect the drag was shown.
DWORD DropText(HWND hwnd, const wchar_t* text)
{
    IDropTarget* target = (IDropTarget*)GetPropW(hwnd, L"OleDropTargetInterface");
    if (!target) return 99;
    COleDataSource data;
    data.CacheGlobalData(CF_UNICODETEXT, TextBlock(text));
    POINTL at = {ScreenCenter(hwnd).x, ScreenCenter(hwnd).y};
    DWORD effect = DROPEFFECT_COPY;
    target->DragEnter(data.GetDataObject(), MK_LBUTTON, at, &effect);
    DWORD over = DROPEFFECT_COPY;
    target->DragOver(MK_LBUTTON, at, &over);
    effect = DROPEFFECT_COPY;
    target->Drop(data.GetDataObject(), 0, at, &effect);
    PumpFor(50);
    return over;
}

}  // namespace

TEST(Drops, ProfileCopyQuestionTakesOnlyItsTwoNumbers)
{
    const struct {
        const wchar_t* format;
        const wchar_t* text;
    } cases[] = {
        {L"Replace profile %d with a copy of profile %d?", L"Replace profile 5 with a copy of profile 1?"},
        {L"%d <- %d", L"5 <- 1"},
        {L"Copy 100% of profile %d to %d?", L"Copy 100% of profile 5 to 1?"},
        {L"%s %n %x %d %d %d %", L"%s %n %x 5 1 %d %"},
        {L"100%% sure? %d", L"100% sure? 5"},
        {L"No numbers", L"No numbers"},
        {L"", L""},
    };
    for (const auto& c : cases) EXPECT_EQ(FormatProfileCopyQuestion(c.format, 5, 1), c.text) << CString(c.format).GetString();
}

// The current profile dragged onto another profile's button asks first; Yes makes that
// profile an exact copy (name, light, functions and all) in the working copy, No leaves it.
// The current profile stays current, and dropping it onto itself asks nothing.
TEST(Drops, AProfileDroppedOntoAnotherAsksAndCopies)
{
    MainWindowRig rig;
    ASSERT_TRUE(rig.Open());
    CAPDlg& d = *rig.dlg;
    EXPECT_TRUE(WindowShown(rig.Hwnd()));  // the drop targets come after the first paint
    ProfileData& first = d.m_config.profiles[0];
    CopyField(first.PROFILE_NAME, L"Raid night");
    first.LED_COLOR = RGB(10, 200, 30);
    first.buttons[5].code = 18;
    first.macros[2].events[0].vk = 'K';
    d.RefreshFromProfile();
    std::unique_ptr<ConfigData> before = NewConfigData();
    *before = d.m_config;

    const struct {
        BoxAnswerer::Answer answer;
        bool copied;
        const wchar_t* picture;
    } cases[] = {
        {BoxAnswerer::Answer::No, false, nullptr},
        {BoxAnswerer::Answer::Yes, true, L"profile-copy-question"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "answer " << (int)c.answer);
        BoxAnswerer person(c.answer, rig.OwnWindows(), c.picture);
        DragWithTheMouse(ScreenCenter(d.m_profileButtons[0].m_hWnd), ScreenCenter(d.m_profileButtons[4].m_hWnd));
        PumpUntil([&] { return person.Answered(); });
        EXPECT_EQ(person.Finish(), 1) << "asked";
        std::unique_ptr<ConfigData> expected = NewConfigData();
        *expected = *before;
        if (c.copied) expected->profiles[4] = before->profiles[0];
        EXPECT_EQ(CompareConfig(*expected, d.m_config), 0);
        EXPECT_EQ(d.m_config.PROFILE_ID, 0);
    }
    // Onto its own button: nothing to ask.
    *before = d.m_config;
    BoxAnswerer person(BoxAnswerer::Answer::Yes, rig.OwnWindows(), nullptr, 1500);
    d.PostMessage(WM_DROP_PROFILE, 0, 0);
    rig.Pump(200);
    EXPECT_EQ(person.Finish(), 0);
    EXPECT_EQ(CompareConfig(*before, d.m_config), 0);
    EXPECT_EQ(CString(d.m_config.profiles[4].PROFILE_NAME), L"Raid night");
    EXPECT_EQ(d.m_profileButtons[4].m_crFill, RGB(10, 200, 30));
    EXPECT_EQ(d.m_profileButtons[4].m_strToolTip, L"Raid night");
    EXPECT_TRUE(d.HasUnsavedChanges()) << "until Apply";
    EXPECT_NE(CString(d.m_savedConfig.profiles[4].PROFILE_NAME), L"Raid night");
}

// A question text with stray percent signs shows them as they are, and the copy still works.
TEST(Drops, AStrayPercentInTheQuestionIsShownAsItIs)
{
    MainWindowRig rig(MainWindowRig::Program::Copy);
    rig.EditProgramFile(L"Strings.xml", L"Replace profile %d with a copy of profile %d?",
                        L"%s%n 100% sure? Profile %d becomes a copy of profile %d.");
    ASSERT_TRUE(rig.Open());
    CAPDlg& d = *rig.dlg;
    EXPECT_EQ(FormatProfileCopyQuestion(d.m_strWarningChangeProfile, 3, 1),
              L"%s%n 100% sure? Profile 3 becomes a copy of profile 1.");
    CopyField(d.m_config.profiles[0].PROFILE_NAME, L"Copied");
    BoxAnswerer person(BoxAnswerer::Answer::Yes, rig.OwnWindows(), L"profile-copy-question-percent");
    d.PostMessage(WM_DROP_PROFILE, 0, 2);
    rig.Pump(100);
    EXPECT_EQ(person.Finish(), 1);
    EXPECT_EQ(CString(d.m_config.profiles[2].PROFILE_NAME), L"Copied");
}

// A function code dropped onto mouse buttons 3 to 11 becomes their function in the working
// copy and their caption; buttons 1 and 2 keep their clicks and show no drop.
TEST(Drops, AFunctionCodeDroppedOntoAMouseButton)
{
    MainWindowRig rig;
    ASSERT_TRUE(rig.Open());
    CAPDlg& d = *rig.dlg;
    rig.Pump(200);
    const int p = d.m_config.PROFILE_ID;

    // A real drag from another window: DPI 1600 onto button 4.
    DragSource source;
    ASSERT_TRUE(source.Open(d, 18));
    ASSERT_NE(d.m_mouseButtons[3].GetCaption(), L"1600 DPI");
    DragWithTheMouse(ScreenCenter(source.button.m_hWnd), ScreenCenter(d.m_mouseButtons[3].m_hWnd));
    EXPECT_TRUE(PumpUntil([&] { return d.m_config.profiles[p].buttons[3].code == 18; }));
    EXPECT_EQ(d.m_mouseButtons[3].GetCaption(), L"1600 DPI");
    EXPECT_TRUE(d.HasUnsavedChanges());
    rig.Pump(200);
    SaveWindowPng(rig.Hwnd(), L"main-function-dropped");

    // Every button, through its drop target.
    const ButtonSlot saved[2] = {d.m_config.profiles[p].buttons[0], d.m_config.profiles[p].buttons[1]};
    for (int i = 0; i < BUTTON_COUNT; ++i) {
        SCOPED_TRACE(testing::Message() << "mouse button " << i + 1);
        const int code = 1000 + i;  // a macro of the profile
        DWORD shown = DropText(d.m_mouseButtons[i].m_hWnd, std::to_wstring(code).c_str());
        if (i < 2) {
            EXPECT_EQ(shown, (DWORD)DROPEFFECT_NONE);
            EXPECT_EQ(d.m_config.profiles[p].buttons[i].code, saved[i].code);
        } else {
            EXPECT_EQ(shown, (DWORD)DROPEFFECT_COPY);
            EXPECT_EQ(d.m_config.profiles[p].buttons[i].code, code);
        }
    }
    // The first two refuse posted drops too, and codes no drag carries are refused.
    const struct {
        WPARAM code;
        LPARAM target;
    } refused[] = {{20, 16}, {20, 17}, {15, 20}, {1201, 20}, {20, 27}, {20, 15}};
    std::unique_ptr<ConfigData> before = NewConfigData();
    *before = d.m_config;
    for (const auto& r : refused) EXPECT_EQ(d.SendMessage(WM_DROP_FUNCTION, r.code, r.target), 1);
    EXPECT_EQ(CompareConfig(*before, d.m_config), 0);
}
