// The macro editor's recording: keys, targets, the event stores and the commands.
#include "configurator/function_picker/CMacroDialog.h"
#include "configurator/function_picker/MacroEventText.h"
#include "configurator/function_picker/MacroRecording.h"
#include <cstring>
#include <cwchar>

namespace {

// The tick of the last recorded key and the pause measured then; they outlive editors.
DWORD g_dwLastKeyTick = 0;
int g_nLastPause = 0;

constexpr int kRecordDelayMs = 50;
constexpr int kWindowsKeyDelayMs = 50;

const MacroEvent kEnterKey[MACRO_KEY_COUNT] = {{VK_RETURN, 0, 0}, {VK_RETURN, 1, 0}};

// The events before the first one without a key.
int KeyCount(const MacroEvent* events, int capacity)
{
    int n = 0;
    while (n < capacity && events[n].vk != 0) ++n;
    return n;
}

}  // namespace

int CMacroDialog::TargetCapacity() const
{
    return ::TargetCapacity(m_pTarget == &m_macroArea);
}

void CMacroDialog::RecordPause()
{
    DWORD now = RecorderTickCount();
    // A pause is recorded as the player will wait it, so the display shows what plays.
    DWORD pause = now - g_dwLastKeyTick;
    g_nLastPause = pause > (DWORD)MACRO_MAX_DELAY_MS ? MACRO_MAX_DELAY_MS : (int)pause;
    g_dwLastKeyTick = now;
    if (m_nCount <= 0) return;
    if (m_bRecordDelay) {
        m_bRecordDelay = 0;
        m_events[m_nCount - 1].delay = kRecordDelayMs;
    } else {
        m_events[m_nCount - 1].delay = g_nLastPause;
    }
}

int CMacroDialog::PushKeyEvent(int up, int vk, UINT keyFlags)
{
    if (m_nCount >= TargetCapacity()) return 1;
    // A release without its press changes nothing, delays included.
    if (RefusesRelease(up, vk, keyFlags)) return -1;
    switch (m_nDelayMode) {
    case DELAY_AUTOMATIC:
        SetAutomaticDelays(m_events, m_nCount, vk);
        break;
    case DELAY_RECORDED:
        RecordPause();
        break;
    case DELAY_NONE:
        if (m_nCount > 0) m_events[m_nCount - 1].delay = 0;
        break;
    default:
        break;
    }
    int r = CBaseKeyPressDlg::PushKeyEvent(up, vk, keyFlags);
    return r < 0 ? r : 1;
}

LRESULT CMacroDialog::OnWindowsKey(WPARAM up, LPARAM)
{
    if (m_nCount >= TargetCapacity()) return 1;
    if (!m_bStarted) {
        ClearEvents();
        m_nCount = 0;
        m_bStarted = 1;
    }
    // Either Windows key is recorded as the left one.
    m_events[m_nCount] = MacroEvent{VK_LWIN, (uint8_t)(up ? 1 : 0), 0};
    ++m_nCount;
    switch (m_nDelayMode) {
    case DELAY_AUTOMATIC:
        m_events[m_nCount - 1].delay = kWindowsKeyDelayMs;
        break;
    case DELAY_RECORDED: {
        // The pause belongs to the event before the new one.
        --m_nCount;
        RecordPause();
        ++m_nCount;
        break;
    }
    case DELAY_NONE:
        if (m_nCount > 1) m_events[m_nCount - 2].delay = 0;
        break;
    default:
        break;
    }
    UpdateDisplay();
    return 1;
}

void CMacroDialog::UpdateDisplay()
{
    if (m_pTarget && m_pTarget->m_hWnd) m_pTarget->SetText(MacroEventsText(m_events, m_nCount, m_nDelayMode));
}

void CMacroDialog::SaveTargetEvents()
{
    if (m_pTarget == &m_macroArea)
        memcpy(m_mainStore, m_events, sizeof m_mainStore);
    else if (m_pTarget == &m_startArea)
        memcpy(m_startStore, m_events, sizeof m_startStore);
    else if (m_pTarget == &m_sendArea)
        memcpy(m_sendStore, m_events, sizeof m_sendStore);
}

LRESULT CMacroDialog::OnDisplayFocus(WPARAM display, LPARAM)
{
    HWND h = (HWND)display;
    COstrelMacroDisplay* clicked = nullptr;
    for (COstrelMacroDisplay* d : {&m_macroArea, &m_startArea, &m_sendArea})
        if (h && d->m_hWnd == h) clicked = d;
    if (!clicked) return 1;
    SaveTargetEvents();
    m_pTarget = clicked;
    m_nCount = 0;
    ClearEvents();
    // The fixed pause stood for the time before the next key of the events just put away.
    m_bRecordDelay = 0;
    UpdateDisplay();
    return 1;
}

void CMacroDialog::ShowStore(COstrelMacroDisplay& display, const MacroEvent* store, int count)
{
    ClearEvents();
    memcpy(m_events, store, sizeof(MacroEvent) * count);
    m_pTarget = &display;
    m_nCount = KeyCount(m_events, count);
    m_bRecordDelay = 0;
    UpdateDisplay();
}

void CMacroDialog::ResetStartSendKeys()
{
    // The events of the target so far stay in its store: the target changes below.
    SaveTargetEvents();
    CheckButton(m_btnStartKey, 1);
    CheckButton(m_btnSendKey, 1);
    if (m_startArea.m_hWnd) m_startArea.EnableWindow(TRUE);
    if (m_sendArea.m_hWnd) m_sendArea.EnableWindow(TRUE);
    memcpy(m_startStore, kEnterKey, sizeof m_startStore);
    ShowStore(m_startArea, m_startStore, MACRO_KEY_COUNT);
    memcpy(m_sendStore, kEnterKey, sizeof m_sendStore);
    ShowStore(m_sendArea, m_sendStore, MACRO_KEY_COUNT);
}

void CMacroDialog::ShowStartSendKeys()
{
    SaveTargetEvents();
    CheckButton(m_btnStartKey, m_macro.startKeyFlag ? 1 : 0);
    if (m_startArea.m_hWnd) m_startArea.EnableWindow(m_macro.startKeyFlag ? TRUE : FALSE);
    ShowStore(m_startArea, m_startStore, MACRO_KEY_COUNT);
    CheckButton(m_btnSendKey, m_macro.sendKeyFlag ? 1 : 0);
    if (m_sendArea.m_hWnd) m_sendArea.EnableWindow(m_macro.sendKeyFlag ? TRUE : FALSE);
    ShowStore(m_sendArea, m_sendStore, MACRO_KEY_COUNT);
    for (CWnd* w : {(CWnd*)&m_btnStartKey, (CWnd*)&m_startArea, (CWnd*)&m_btnSendKey, (CWnd*)&m_sendArea})
        if (w->m_hWnd) w->Invalidate(FALSE);
}

BOOL CMacroDialog::PreTranslateMessage(MSG* msg)
{
    if (!m_bEditFocus) return CBaseKeyPressDlg::PreTranslateMessage(msg);
    // Enter and Esc in a field never end the editor: a multi-line edit in a dialog turns Esc
    // into WM_CLOSE and Enter into the default button. Enter makes a new line in the paste
    // text, moves from the name on to the loop count when that field takes input, and is
    // otherwise let go; Esc is always let go.
    const bool field = msg->hwnd == m_editName.m_hWnd || msg->hwnd == m_editLoop.m_hWnd;
    const bool paste = msg->hwnd == m_editPaste.m_hWnd;
    if (msg->message == WM_KEYDOWN &&
        ((field && msg->wParam == VK_RETURN) || ((field || paste) && msg->wParam == VK_ESCAPE))) {
        if (msg->wParam == VK_RETURN && msg->hwnd == m_editName.m_hWnd && m_editLoop.m_hWnd &&
            m_editLoop.IsWindowVisible() && m_editLoop.IsWindowEnabled()) {
            m_editLoop.SetFocus();
            m_editLoop.SetSel(0, -1);
        }
        return TRUE;
    }
    return CDialog::PreTranslateMessage(msg);
}

void CMacroDialog::ClearCommand()
{
    m_nCount = 0;
    ClearEvents();
    m_bRecordDelay = 0;
    UpdateDisplay();
    if (m_editPaste.m_hWnd) m_editPaste.SetWindowText(L"");
}

void CMacroDialog::DelayModeCommand(int mode)
{
    SelectDelayMode(mode);
    m_nDelayMode = mode;
    if (mode == DELAY_RECORDED && m_nCount > 0) m_bRecordDelay = 1;
    if (m_bPasteLook) {
        m_bPasteLook = 0;
        LoadNormalSkin();
        Invalidate(FALSE);
        LayoutControls();
    }
    UpdateDisplay();
}

void CMacroDialog::PasteCommand()
{
    m_bPasteLook = 1;
    SelectDelayMode(DELAY_PASTE);
    m_nDelayMode = DELAY_PASTE;
    LoadPasteSkin();
    Invalidate(FALSE);
    LayoutControls();
    ResetStartSendKeys();
}

void CMacroDialog::OkCommand()
{
    CString name = m_editName.m_hWnd ? m_editName.GetWindowText() : CString();
    if (name.IsEmpty()) name = L"Custom";
    CString loop = m_editLoop.m_hWnd ? m_editLoop.GetWindowText() : CString();
    int loopCount = (int)wcstol(loop, nullptr, 10);
    SaveTargetEvents();

    MacroData m;
    memset(&m, 0, sizeof m);
    CopyField(m.MACRO_NAME, name);
    memcpy(m.events, m_mainStore, sizeof m.events);
    m.loopCount = loopCount;
    m.loopFlag = m_btnLoop.GetCheck() ? 1 : 0;
    m.delayMode = m_nDelayMode;
    memcpy(m.startKeys, m_startStore, sizeof m.startKeys);
    m.startKeyFlag = m_btnStartKey.GetCheck() ? 1 : 0;
    memcpy(m.sendKeys, m_sendStore, sizeof m.sendKeys);
    m.sendKeyFlag = m_btnSendKey.GetCheck() ? 1 : 0;
    if (m_editPaste.m_hWnd) CopyField(m.pasteText, m_editPaste.GetWindowText());
    m_result = m;
    m_bStored = 1;
    PostMessage(WM_CLOSE);
}

BOOL CMacroDialog::OnCommand(WPARAM wParam, LPARAM lParam)
{
    HWND from = (HWND)lParam;
    auto is = [from](const CWnd& w) { return from && w.m_hWnd == from; };
    if (is(m_btnExit) || is(m_btnCancel)) {
        PostMessage(WM_CLOSE);
    } else if (is(m_btnClear)) {
        ClearCommand();
    } else if (is(m_btnAutoDelay)) {
        DelayModeCommand(DELAY_AUTOMATIC);
    } else if (is(m_btnRecordDelay)) {
        DelayModeCommand(DELAY_RECORDED);
    } else if (is(m_btnNoDelay)) {
        DelayModeCommand(DELAY_NONE);
    } else if (is(m_btnPaste)) {
        PasteCommand();
    } else if (is(m_btnLoop)) {
        if (m_editLoop.m_hWnd) m_editLoop.EnableWindow(m_btnLoop.GetCheck() ? TRUE : FALSE);
    } else if (is(m_btnStartKey)) {
        if (m_startArea.m_hWnd) {
            m_startArea.EnableWindow(m_btnStartKey.GetCheck() ? TRUE : FALSE);
            m_startArea.Invalidate(FALSE);
        }
    } else if (is(m_btnSendKey)) {
        if (m_sendArea.m_hWnd) {
            m_sendArea.EnableWindow(m_btnSendKey.GetCheck() ? TRUE : FALSE);
            m_sendArea.Invalidate(FALSE);
        }
    } else if (is(m_btnOK)) {
        OkCommand();
    }
    return CBaseKeyPressDlg::OnCommand(wParam, lParam);
}
