#include "configurator/function_picker/CMacroDialog.h"
#include "configurator/function_picker/MacroEditorRes.h"
#include "configurator/function_picker/MacroKeyboardHook.h"
#include "configurator/function_picker/MacroRecording.h"
#include "skinkit/SkinButtons.h"
#include "skinkit/SkinPicture.h"
#include "skinkit/SkinHandlers.h"
#include "core/Messages.h"
#include "core/SkinEntry.h"
#include "framework/CDC.h"
#include <windowsx.h>
#include <cstring>

namespace {

constexpr COLORREF kLabelColour = 0x00CCFF;

const wchar_t* const kNormalLabels[] = {L"AUTO_DELAY", L"RECORD_DELAY", L"NO_DELAY", L"PASTE", L"LOOP"};
const wchar_t* const kPasteLabels[] = {L"PASTE_AUTO_DELAY", L"PASTE_RECORD_DELAY", L"PASTE_NO_DELAY",
                                       L"PASTE_PASTE",      L"START_KEY",          L"SEND_KEY"};
// The four mode buttons are cut at these entries' rectangles in the normal and the paste look.
const wchar_t* const kNormalModeEntries[] = {L"BUTTON_AUTO_DELAY", L"BUTTON_RECORD_DELAY", L"BUTTON_NO_DELAY",
                                             L"BUTTON_PASTE"};
const wchar_t* const kPasteModeEntries[] = {L"BUTTON_PASTE_AUTO_DELAY", L"BUTTON_PASTE_RECORD_DELAY",
                                            L"BUTTON_PASTE_NO_DELAY", L"BUTTON_PASTE_PASTE"};

struct OtherWindows {
    HWND self;
    std::vector<HWND>* found;
};

BOOL CALLBACK CollectOtherWindow(HWND h, LPARAM l)
{
    OtherWindows* o = (OtherWindows*)l;
    if (h != o->self && ::GetWindow(h, GW_OWNER) != o->self && ::IsWindowVisible(h) && ::IsWindowEnabled(h))
        o->found->push_back(h);
    return TRUE;
}

}  // namespace

BEGIN_MESSAGE_MAP(CMacroDialog, CBaseKeyPressDlg)
    ON_MESSAGE(WM_CREATE, OnCreate)
    ON_MESSAGE(WM_LBUTTONDOWN, OnLButtonDown)
    ON_MESSAGE(WM_DESTROY, OnDestroy)
    ON_MESSAGE(WM_CLOSE, OnClose)
    ON_CONTROL(EN_SETFOCUS, CMacroDialog::EDIT_NAME_ID, OnEditSetFocus)
    ON_CONTROL(EN_KILLFOCUS, CMacroDialog::EDIT_NAME_ID, OnEditKillFocus)
    ON_CONTROL(EN_SETFOCUS, CMacroDialog::EDIT_LOOP_ID, OnEditSetFocus)
    ON_CONTROL(EN_KILLFOCUS, CMacroDialog::EDIT_LOOP_ID, OnEditKillFocus)
    ON_MESSAGE(WM_WINDOWS_KEY, OnWindowsKey)
    ON_MESSAGE(WM_MACRO_DISPLAY_FOCUS, OnDisplayFocus)
END_MESSAGE_MAP()

CMacroDialog::CMacroDialog(CWnd* parent) : CBaseKeyPressDlg(IDD_MACRO_DIALOG, parent)
{
    memset(&m_macro, 0, sizeof m_macro);
    memset(&m_result, 0, sizeof m_result);
    memset(m_mainStore, 0, sizeof m_mainStore);
    memset(m_startStore, 0, sizeof m_startStore);
    memset(m_sendStore, 0, sizeof m_sendStore);
}

CMacroDialog::~CMacroDialog()
{
    if (m_hWnd) DestroyWindow();
}

void CMacroDialog::SetMacro(const MacroData* macro)
{
    m_bHasMacro = macro != nullptr;
    if (macro)
        m_macro = *macro;
    else
        memset(&m_macro, 0, sizeof m_macro);
}

INT_PTR CMacroDialog::DoModal()
{
    m_bStored = 0;
    memset(&m_result, 0, sizeof m_result);
    m_bDisableOthers = true;
    INT_PTR result = CBaseKeyPressDlg::DoModal();
    m_bDisableOthers = false;
    return result;
}

// The modal loop disables the owner and the owners above it; the side panels, and any other
// window of the program that a profile switch or a click could reach, are disabled here.
void CMacroDialog::DisableOtherWindows()
{
    OtherWindows o = {m_hWnd, &m_disabledWindows};
    EnumThreadWindows(GetCurrentThreadId(), &CollectOtherWindow, (LPARAM)&o);
    for (HWND h : m_disabledWindows) ::EnableWindow(h, FALSE);
}

void CMacroDialog::EnableOtherWindows()
{
    for (auto it = m_disabledWindows.rbegin(); it != m_disabledWindows.rend(); ++it)
        if (::IsWindow(*it)) ::EnableWindow(*it, TRUE);
    m_disabledWindows.clear();
}

LRESULT CMacroDialog::OnCreate(WPARAM, LPARAM)
{
    if (Default() == -1) return -1;
    LoadSkin();
    g_hKeyboardHook = SetWindowsHookExW(WH_KEYBOARD_LL, &KeyboardHookProc, GetModuleHandleW(nullptr), 0);
    return 0;
}

void CMacroDialog::LoadLookPictures(bool paste)
{
    std::vector<SkinItem> pictures = ReadSkinSection(L"Skins.xml", L"MACRO");
    LoadSkinPicture(pictures, paste ? L"MACRO_PASTE_NORMAL" : L"MACRO_NORMAL", m_bmpNormal);
    LoadSkinPicture(pictures, paste ? L"MACRO_PASTE_DOWN" : L"MACRO_DOWN", m_bmpDown);
    LoadSkinPicture(pictures, paste ? L"MACRO_PASTE_OVER" : L"MACRO_OVER", m_bmpOver);
}

void CMacroDialog::LoadSkin()
{
    std::vector<SkinItem> pictures = ReadSkinSection(L"Skins.xml", L"MACRO");
    LoadLookPictures(false);
    LoadSkinPicture(pictures, L"MACRO_MASK", m_bmpMask);
    SIZE size = m_bmpNormal.GetSize();
    if (size.cx > 0 && size.cy > 0) MoveWindow(0, 0, size.cx, size.cy, TRUE);
    m_strings = ReadSkinSection(L"Strings.xml", L"MACRO");
    CreateDisplays();
    const unsigned command = SKIN_CHECK | SKIN_TOOLTIP | SKIN_CAPTION;
    const unsigned toggle = SKIN_CHECK | SKIN_TOOLTIP | SKIN_TOGGLE;
    const SkinButtonRow rows[] = {
        {L"BUTTON_EXIT", &m_btnExit, SKIN_CHECK | SKIN_TOOLTIP},
        {L"BUTTON_OK", &m_btnOK, command},
        {L"BUTTON_CLEAR", &m_btnClear, command},
        {L"BUTTON_CANCEL", &m_btnCancel, command},
        {L"BUTTON_APPLY", &m_btnApply, command},
        {L"BUTTON_AUTO_DELAY", &m_btnAutoDelay, toggle},
        {L"BUTTON_RECORD_DELAY", &m_btnRecordDelay, toggle},
        {L"BUTTON_NO_DELAY", &m_btnNoDelay, toggle},
        {L"BUTTON_PASTE", &m_btnPaste, toggle},
        {L"BUTTON_LOOP", &m_btnLoop, toggle},
    };
    CreateSkinButtons(this, m_strings, rows, sizeof(rows) / sizeof(rows[0]),
                      {m_bmpNormal, m_bmpOver, m_bmpDown, m_bmpNormal});
    CreateEdits();
    ApplyMaskRegion(m_bmpMask, m_hRgn);
}

bool CMacroDialog::EntryRect(const wchar_t* name, RECT& rect) const
{
    const CString* text = FindSkinItem(m_strings, name);
    if (!text) return false;
    SkinEntry entry;
    ParseSkinEntry(*text, entry);
    rect = entry.rect;
    return true;
}

void CMacroDialog::CreateDisplays()
{
    struct Row {
        const wchar_t* entry;
        COstrelMacroDisplay* display;
        bool paste;
    };
    const Row rows[] = {
        {L"MACRO_AREA", &m_macroArea, false},
        {L"START_AREA", &m_startArea, true},
        {L"SEND_AREA", &m_sendArea, true},
    };
    for (const Row& row : rows) {
        RECT r;
        if (!EntryRect(row.entry, r)) continue;
        if (!row.display->Create(WS_CHILD | WS_VISIBLE | WS_TABSTOP, r, this, 0)) continue;
        if (row.paste) {
            row.display->ShowWindow(SW_HIDE);
            row.display->EnableWindow(FALSE);
        }
    }
}

void CMacroDialog::CreateEdits()
{
    RECT r;
    if (EntryRect(L"EDIT_NAME", r))
        m_editName.Create(WS_CHILD | WS_VISIBLE | WS_BORDER | ES_MULTILINE | ES_AUTOHSCROLL, r, this, EDIT_NAME_ID);
    if (EntryRect(L"EDIT_LOOP", r) &&
        m_editLoop.Create(WS_CHILD | WS_VISIBLE | WS_BORDER | ES_MULTILINE | ES_NUMBER, r, this, EDIT_LOOP_ID))
        m_editLoop.LimitText(3);
    if (EntryRect(L"EDIT_PASTE", r) &&
        m_editPaste.Create(WS_CHILD | WS_BORDER | ES_MULTILINE | ES_AUTOVSCROLL | ES_WANTRETURN, r, this,
                           EDIT_PASTE_ID))
        m_editPaste.LimitText(PASTE_LIMIT);
}

BOOL CMacroDialog::OnInitDialog()
{
    CBaseKeyPressDlg::OnInitDialog();
    LOGFONTW lf = {};
    lf.lfHeight = 18;
    lf.lfWeight = FW_NORMAL;
    lstrcpynW(lf.lfFaceName, L"MS Shell Dlg", LF_FACESIZE);
    m_editFont.CreateFontIndirect(&lf);
    if (m_editName.m_hWnd) m_editName.SetFont(m_editFont);
    if (m_editPaste.m_hWnd) m_editPaste.SetFont(m_editFont);
    if (m_macroArea.m_hWnd) m_macroArea.SetFocus();
    m_bEditFocus = 0;
    m_pTarget = &m_macroArea;

    if (m_bHasMacro) {
        // A mode no editor makes is taken as recorded delays, which is how it plays.
        m_nDelayMode = m_macro.delayMode >= DELAY_AUTOMATIC && m_macro.delayMode <= DELAY_PASTE ? m_macro.delayMode
                                                                                                 : DELAY_RECORDED;
        SelectDelayMode(m_nDelayMode);
        if (m_nDelayMode == DELAY_PASTE) {
            m_bPasteLook = 1;
            LoadPasteSkin();
            Invalidate(FALSE);
            LayoutControls();
            if (m_editPaste.m_hWnd) m_editPaste.SetWindowText(CString(m_macro.pasteText, FieldLength(m_macro.pasteText)));
            memcpy(m_startStore, m_macro.startKeys, sizeof m_startStore);
            memcpy(m_sendStore, m_macro.sendKeys, sizeof m_sendStore);
            ShowStartSendKeys();
        } else {
            int n = 0;
            while (n < MACRO_EVENT_COUNT && (m_macro.events[n].vk != 0 || m_macro.events[n].up != 0)) {
                m_events[n] = m_macro.events[n];
                ++n;
            }
            m_nCount = n;
            UpdateDisplay();
            memcpy(m_mainStore, m_macro.events, sizeof m_mainStore);
        }
        if (m_editName.m_hWnd)
            m_editName.SetWindowText(CString(m_macro.MACRO_NAME, FieldLength(m_macro.MACRO_NAME)));
        CString loop;
        loop.Format(L"%d", (int)m_macro.loopCount);
        if (m_editLoop.m_hWnd) m_editLoop.SetWindowText(loop);
        CheckButton(m_btnLoop, m_macro.loopFlag ? 1 : 0);
        if (m_editLoop.m_hWnd) m_editLoop.EnableWindow(m_macro.loopFlag ? TRUE : FALSE);
    } else {
        SelectDelayMode(m_nDelayMode);
        if (m_editLoop.m_hWnd) m_editLoop.SetWindowText(L"1");
        if (m_nDelayMode == DELAY_PASTE) {
            m_bPasteLook = 1;
            LoadPasteSkin();
            LayoutControls();
            ResetStartSendKeys();
            Invalidate(FALSE);
        }
        if (m_editLoop.m_hWnd) m_editLoop.EnableWindow(FALSE);
        CheckButton(m_btnLoop, 0);
    }
    g_hMacroDialog = m_hWnd;
    if (m_bDisableOthers) DisableOtherWindows();
    return TRUE;
}

LRESULT CMacroDialog::OnDestroy(WPARAM, LPARAM)
{
    EnableOtherWindows();
    LRESULT r = Default();
    if (g_hKeyboardHook) UnhookWindowsHookEx(g_hKeyboardHook);
    g_hKeyboardHook = nullptr;
    if (g_hMacroDialog == m_hWnd) g_hMacroDialog = nullptr;
    g_bWindowsKeyLatch = 0;
    m_bmpMask.DeleteObject();
    m_bmpNormal.DeleteObject();
    m_bmpOver.DeleteObject();
    m_bmpDown.DeleteObject();
    return r;
}

LRESULT CMacroDialog::OnClose(WPARAM, LPARAM)
{
    EndDialog(m_bStored ? IDOK : IDCANCEL);
    return 0;
}

void CMacroDialog::CheckButton(CBitmapBtn& button, int check)
{
    if (button.m_hWnd)
        button.SetCheck(check);
    else
        button.m_nCheck = check;
}

void CMacroDialog::SelectDelayMode(int mode)
{
    if (mode < DELAY_AUTOMATIC || mode > DELAY_PASTE) return;
    CheckButton(m_btnAutoDelay, mode == DELAY_AUTOMATIC);
    CheckButton(m_btnRecordDelay, mode == DELAY_RECORDED);
    CheckButton(m_btnNoDelay, mode == DELAY_NONE);
    CheckButton(m_btnPaste, mode == DELAY_PASTE);
}

void CMacroDialog::LoadPasteSkin()
{
    LoadLookPictures(true);
}

void CMacroDialog::LoadNormalSkin()
{
    LoadLookPictures(false);
}

void CMacroDialog::CutModeButtons(bool paste)
{
    CBitmapBtn* const buttons[] = {&m_btnAutoDelay, &m_btnRecordDelay, &m_btnNoDelay, &m_btnPaste};
    const wchar_t* const* entries = paste ? kPasteModeEntries : kNormalModeEntries;
    for (int i = 0; i < 4; ++i) {
        RECT r;
        if (buttons[i]->m_hWnd && EntryRect(entries[i], r))
            buttons[i]->SetNormalBitmaps(m_bmpNormal, m_bmpOver, m_bmpDown, m_bmpNormal, r);
    }
}

static void ShowIfMade(CWnd& wnd, bool show)
{
    if (wnd.m_hWnd) wnd.ShowWindow(show ? SW_SHOW : SW_HIDE);
}

void CMacroDialog::LayoutControls()
{
    const bool paste = m_bPasteLook != 0;
    ShowIfMade(m_sendArea, paste);
    ShowIfMade(m_startArea, paste);
    ShowIfMade(m_editPaste, paste);
    ShowIfMade(m_editLoop, !paste);
    ShowIfMade(m_macroArea, !paste);
    ShowIfMade(m_btnLoop, !paste);
    CutModeButtons(paste);
    if (paste && !m_bStartSendMade) {
        m_bStartSendMade = true;
        const unsigned toggle = SKIN_CHECK | SKIN_TOOLTIP | SKIN_TOGGLE;
        const SkinButtonRow rows[] = {
            {L"BUTTON_START_KEY", &m_btnStartKey, toggle},
            {L"BUTTON_SEND_KEY", &m_btnSendKey, toggle},
        };
        CreateSkinButtons(this, m_strings, rows, 2, {m_bmpNormal, m_bmpOver, m_bmpDown, m_bmpNormal});
    } else {
        ShowIfMade(m_btnStartKey, paste);
        ShowIfMade(m_btnSendKey, paste);
    }
}

void CMacroDialog::OnDraw(CDC* dc)
{
    RECT client = GetClientRect();
    DrawBackdrop(dc, m_bmpNormal, client);
    CFont font;
    font.CreateFont(12, 0, 0, 0, FW_BOLD, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, FF_SWISS, L"MS Shell Dlg");
    HGDIOBJ oldFont = dc->SelectObject(font);
    dc->SetBkMode(TRANSPARENT);
    dc->SetTextColor(kLabelColour);
    auto label = [&](const wchar_t* name, bool centred) {
        const CString* text = FindSkinItem(m_strings, name);
        if (!text) return;
        TextEntry entry;
        ParseTextEntry(*text, entry);
        UINT oldAlign = dc->SetTextAlign(centred ? TA_CENTER : TA_LEFT);
        dc->TextOut(entry.x, entry.y, entry.text);
        dc->SetTextAlign(oldAlign);
    };
    label(L"CUSTOM_MACRO", true);
    label(L"MACRO_NAME", false);
    if (m_bPasteLook) {
        for (const wchar_t* name : kPasteLabels) label(name, false);
    } else {
        for (const wchar_t* name : kNormalLabels) label(name, false);
    }
    dc->SelectObject(oldFont);
}

LRESULT CMacroDialog::OnLButtonDown(WPARAM, LPARAM lParam)
{
    DragWindowByBody(m_hWnd, lParam);
    // A click on the disabled loop field reaches the dialog; it leaves the focus alone.
    POINT p = {GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
    RECT loop = {0, 0, 0, 0};
    if (m_editLoop.m_hWnd && m_editLoop.IsWindowVisible()) loop = m_editLoop.GetRectInParent();
    if (!PtInRect(&loop, p) && m_macroArea.m_hWnd) m_macroArea.SetFocus();
    return Default();
}
