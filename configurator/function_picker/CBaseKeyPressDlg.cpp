#include "configurator/function_picker/CBaseKeyPressDlg.h"
#include "configurator/function_picker/MacroRecording.h"
#include <cstring>

namespace {

constexpr UINT kRepeatBit = 0x4000;  // of keyFlags: the key was already down
constexpr int kHighestRecordedKey = 226;

UINT KeyFlags(LPARAM lParam)
{
    return HIWORD(lParam);
}

// Keys the dialog manager would act on; they are recorded with the extended bit only.
bool IsDialogKey(WPARAM vk)
{
    switch (vk) {
    case VK_TAB:
    case VK_RETURN:
    case VK_ESCAPE:
    case VK_RIGHT:
    case VK_DOWN:
    case VK_SNAPSHOT:
        return true;
    default:
        return false;
    }
}

}  // namespace

BEGIN_MESSAGE_MAP(CBaseKeyPressDlg, CSkinDialog)
    ON_MESSAGE(WM_KEYDOWN, OnKeyDown)
    ON_MESSAGE(WM_KEYUP, OnKeyUp)
    ON_MESSAGE(WM_SYSKEYUP, OnKeyUp)
    ON_MESSAGE(WM_SYSKEYDOWN, OnSysKeyDown)
END_MESSAGE_MAP()

CBaseKeyPressDlg::CBaseKeyPressDlg(UINT templateId, CWnd* parent) : CSkinDialog(templateId, parent)
{
    ClearEvents();
}

void CBaseKeyPressDlg::ClearEvents()
{
    memset(m_events, 0, sizeof m_events);
}

bool CBaseKeyPressDlg::IsKeyDown(int vk) const
{
    return IsKeyDownIn(m_events, m_nCount, vk);
}

bool CBaseKeyPressDlg::RefusesRelease(int up, int vk, UINT keyFlags) const
{
    // Before the first event the list is emptied, so no key counts as down.
    return up && !(m_bStarted && IsKeyDown(RecordedKey(vk, keyFlags)));
}

int CBaseKeyPressDlg::PushKeyEvent(int up, int vk, UINT keyFlags)
{
    if (RefusesRelease(up, vk, keyFlags)) return -1;
    if (!m_bStarted) {
        ClearEvents();
        m_nCount = 0;
    }
    if (m_nCount >= MACRO_EVENT_COUNT) return -1;
    MacroEvent& e = m_events[m_nCount];
    e.vk = (uint8_t)RecordedKey(vk, keyFlags);
    e.up = up ? 1 : 0;
    ++m_nCount;
    UpdateDisplay();
    m_bStarted = 1;
    return 0;
}

bool CBaseKeyPressDlg::IsRepeat(WPARAM vk, UINT keyFlags) const
{
    if (!(keyFlags & kRepeatBit)) return false;
    // Shift, Ctrl and Alt come as one key for both sides, and the repeat bit may then tell of
    // the other side's key being held: the press is a repeat only when its own side is down.
    if (vk == VK_SHIFT || vk == VK_CONTROL || vk == VK_MENU)
        return m_bStarted && IsKeyDown(RecordedKey((int)vk, keyFlags));
    return true;
}

bool CBaseKeyPressDlg::RecordKeyMessage(UINT message, WPARAM vk, LPARAM lParam)
{
    const UINT flags = KeyFlags(lParam);
    switch (message) {
    case WM_KEYDOWN:
        if (IsDialogKey(vk)) {
            if (!(lParam & (1 << 30))) PushKeyEvent(0, (int)vk, flags & 0x100);
        } else if (vk <= kHighestRecordedKey && !IsRepeat(vk, flags)) {
            PushKeyEvent(0, (int)vk, flags);
        }
        return true;
    case WM_KEYUP:
        // The Windows keys come from the keyboard hook; the Apps key's release is dropped.
        if (vk < VK_LWIN || vk > VK_APPS) PushKeyEvent(1, (int)vk, flags);
        return true;
    case WM_SYSKEYDOWN:
        if (!IsRepeat(vk, flags)) PushKeyEvent(0, (int)vk, flags);
        return true;
    case WM_SYSKEYUP:
        PushKeyEvent(1, (int)vk, flags);
        return true;
    default:
        return false;
    }
}

BOOL CBaseKeyPressDlg::PreTranslateMessage(MSG* msg)
{
    return RecordKeyMessage(msg->message, msg->wParam, msg->lParam) ? TRUE : FALSE;
}

LRESULT CBaseKeyPressDlg::OnKeyDown(WPARAM vk, LPARAM lParam)
{
    RecordKeyMessage(WM_KEYDOWN, vk, lParam);
    return 0;
}

LRESULT CBaseKeyPressDlg::OnKeyUp(WPARAM vk, LPARAM lParam)
{
    RecordKeyMessage(WM_KEYUP, vk, lParam);
    return 0;
}

LRESULT CBaseKeyPressDlg::OnSysKeyDown(WPARAM vk, LPARAM lParam)
{
    RecordKeyMessage(WM_SYSKEYDOWN, vk, lParam);
    return 0;
}
