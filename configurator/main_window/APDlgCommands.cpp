// The main window's commands: its skinned buttons, the FILE, TOOLS and HELP menus, Apply,
// and the questions that guard unsaved changes.
#include "configurator/main_window/CAPDlg.h"
#include "configurator/main_window/MainLayout.h"
#include "configurator/main_window/StartupSteps.h"
#include "configurator/function_picker/CAdvanceFunctionDlg.h"
#include "configurator/GearloomRes.h"
#include "skinkit/CWarningOneDlg.h"
#include "skinkit/CWarningTwoDlg.h"
#include "skinkit/ReaderNotice.h"
#include "core/AppPaths.h"
#include "core/ConfigFile.h"
#include "core/ConfigSettings.h"
#include "core/Messages.h"
#include "core/PipeLink.h"
#include "framework/CMenu.h"
#include <shellapi.h>
#include <cstring>

namespace {

bool Is(const CBitmapBtn& button, HWND from)
{
    // A button that was never made has no handle: it matches nothing.
    return button.m_hWnd && button.m_hWnd == from;
}

}  // namespace

BOOL CAPDlg::OnCommand(WPARAM wParam, LPARAM lParam)
{
    HWND from = (HWND)lParam;
    // Menu items and the dialog keys come without a control window. Owner-drawn buttons
    // also report double clicks; a click is acted on once.
    if (from && HIWORD(wParam) == BN_CLICKED) {
        bool right = LOWORD(wParam) == ID_BUTTON_RCLICK;
        ClickedCommandButton(from, right);
        ClickedMouseOrProfileButton(from, right);
    }
    return CSkinDialog::OnCommand(wParam, lParam);
}

void CAPDlg::ClickedCommandButton(HWND from, bool right)
{
    if (Is(m_btnExit, from)) {
        // Closing this way drops the unsaved changes, once the person agreed.
        if (!HasUnsavedChanges() || Ask(m_strWarningRestoreProfile)) PostMessage(WM_CLOSE);
    } else if (Is(m_btnMinimize, from)) {
        ShowWindow(SW_MINIMIZE);
    } else if (Is(m_btnHelp, from)) {
        OnUserGuide();
    } else if (Is(m_btnOK, from)) {
        if (right) return;
        if (g_pAdvanceFunctionDlg) g_pAdvanceFunctionDlg->PostClosePanel();
        // Settings that could not be saved are not dropped by closing.
        if (ApplySettings()) PostMessage(WM_CLOSE);
    } else if (Is(m_btnApply, from)) {
        if (!right) ApplySettings();
    } else if (Is(m_btnCancel, from)) {
        if (!right) PostMessage(WM_CLOSE);
    } else if (Is(m_btnRestore, from)) {
        OnResetProfile();
    } else if (Is(m_btnInGameMode, from)) {
        // The toggle has flipped itself already.
        m_config.GAME_MODE = m_btnInGameMode.GetCheck() ? 1 : 0;
        EnableMouseButtons(m_config.GAME_MODE != 1);
        if (g_pAdvanceFunctionDlg) g_pAdvanceFunctionDlg->SelectCurrentFunction(-1);
        HighlightMouseButton(-1);
    } else if (Is(m_btnFileMenu, from)) {
        ShowFileMenu();
    } else if (Is(m_btnToolsMenu, from)) {
        ShowToolsMenu();
    } else if (Is(m_btnHelpMenu, from)) {
        ShowHelpMenu();
    } else if (Is(m_btnChronicle, from)) {
        OnChronicle();
    } else if (Is(m_btnMouseProperties, from)) {
        // A shown panel is closed with its own close button.
        if (!m_bPropertiesShown) ShowPropertiesPanel();
    } else if (Is(m_btnIllumination, from)) {
        if (!m_bIlluminationShown) ShowIlluminationPanel();
    } else if (Is(m_btnAssignments, from)) {
        MakeFunctionPicker();
        if (m_bPickerShown) {
            g_pAdvanceFunctionDlg->SelectCurrentFunction(-1);
            g_pAdvanceFunctionDlg->m_pMainDlg = nullptr;
        } else {
            HighlightMouseButton(-1);
            ShowAssignmentsPanel(-1);
            g_pAdvanceFunctionDlg->m_pMainDlg = this;
        }
    }
}

void CAPDlg::ClickedMouseOrProfileButton(HWND from, bool right)
{
    // The left and right buttons keep their clicks: their images do nothing.
    for (int i = 2; i < BUTTON_COUNT; ++i) {
        if (!Is(m_mouseButtons[i], from)) continue;
        HighlightMouseButton(i);
        if (!right) {
            MakeFunctionPicker();
            if (m_bPickerShown)
                g_pAdvanceFunctionDlg->SelectCurrentFunction(i);
            else
                ShowAssignmentsPanel(i);
        } else {
            if (g_pAdvanceFunctionDlg && m_bPickerShown) g_pAdvanceFunctionDlg->SelectCurrentFunction(i);
            ShowButtonMenu(m_mouseButtons[i], i, this);
        }
    }
    // A profile chosen here is an unsaved change until Apply.
    for (int j = 0; j < PROFILE_COUNT; ++j) {
        if (!Is(m_profileButtons[j], from)) continue;
        m_config.PROFILE_ID = j;
        RefreshFromProfile();
    }
}

void CAPDlg::MakeFunctionPicker()
{
    if (g_pAdvanceFunctionDlg) return;
    g_pAdvanceFunctionDlg = new CAdvanceFunctionDlg;
    g_pAdvanceFunctionDlg->Create();
    g_pAdvanceFunctionDlg->SetConfig(&m_config);
}

bool CAPDlg::ApplySettings()
{
    if (!HasUnsavedChanges()) return true;
    unsigned failed = 0;
    if (SaveConfig(m_config, &failed) != 0 && (failed & CONFIG_SAVE_FILE)) {
        // Nothing counts as saved: the changes stay unsaved and the service keeps what it had.
        Tell(m_strWarningNotSaved);
        return false;
    }
    // "Config.xml" holds the record: it is what the service reads and what a discard keeps.
    m_savedConfig = m_config;
    NotifyService();
    const bool registry = (failed & CONFIG_SAVE_REGISTRY) != 0, tray = (failed & CONFIG_SAVE_TRAY) != 0;
    if (registry || tray)
        Tell(registry && tray ? m_strWarningRegistryTrayNotSaved
                              : registry ? m_strWarningRegistryNotSaved : m_strWarningTrayNotSaved);
    return true;
}

void CAPDlg::NotifyService()
{
    if (m_pPipe) {
        SendReloadNoticeToAll(*m_pPipe);
        return;
    }
    if (HWND service = FindWindowW(nullptr, PORTWARDEN_WINDOW_TITLE)) ::PostMessageW(service, WM_RELOAD_CONFIG, 0, 0);
}

bool CAPDlg::Ask(const CString& question)
{
    DisableSidePanels();
    CWarningTwoDlg box(question);
    INT_PTR answer = box.DoModal();
    EnableSidePanels();
    return answer == IDOK;
}

void CAPDlg::Tell(const CString& message)
{
    DisableSidePanels();
    CWarningOneDlg box(message);
    box.DoModal();
    EnableSidePanels();
}

void CAPDlg::OnResetProfile()
{
    if (!Ask(m_strWarningRestoreProfile)) return;
    int id = m_config.PROFILE_ID;
    if (id < 0 || id >= PROFILE_COUNT) return;
    // Every field of the profile, character, games and macros included, goes back to what a
    // new configuration holds; the other profiles stay as they are.
    ResetProfile(m_config.profiles[id]);
    ValidateConfig(m_config);
    CopyField(m_config.profiles[id].PROFILE_NAME, m_defaultProfileNames[id]);
    RefreshFromProfile();
    HighlightMouseButton(-1);
}

void CAPDlg::ShowMenuAtCursor(HMENU menu)
{
    POINT at = {};
    GetCursorPos(&at);
    TrackPopupMenu(menu, 0, at.x, at.y, 0, m_hWnd, nullptr);
    // The menu's loop ends properly only once the window has seen a message after it.
    PostMessage(WM_NULL);
}

void CAPDlg::ShowFileMenu()
{
    CMenu menu;
    menu.CreatePopupMenu();
    SetForegroundWindow();
    menu.AppendMenu(MF_STRING, ID_EDIT_GAMES, m_strEdit);
    menu.AppendMenu(MF_SEPARATOR);
    menu.AppendMenu(MF_STRING, ID_EXPORT_PROFILE, m_strExport);
    menu.AppendMenu(MF_SEPARATOR);
    menu.AppendMenu(MF_STRING, ID_IMPORT_PROFILE, m_strImport);
    menu.AppendMenu(MF_SEPARATOR);
    menu.AppendMenu(MF_STRING, ID_PRINT_PROFILE, m_strPrint);
    ShowMenuAtCursor(menu);
}

void CAPDlg::ShowToolsMenu()
{
    CMenu menu, rates;
    menu.CreatePopupMenu();
    rates.CreatePopupMenu();
    SetForegroundWindow();
    rates.AppendMenu(MF_STRING, ID_RATE_250, m_strRate250);
    rates.AppendMenu(MF_SEPARATOR);
    rates.AppendMenu(MF_STRING, ID_RATE_500, m_strRate500);
    rates.AppendMenu(MF_SEPARATOR);
    rates.AppendMenu(MF_STRING, ID_RATE_1000, m_strRate1000);
    rates.CheckMenuItem(CheckedRateCommand(m_config.POLLING_RATE), MF_BYCOMMAND | MF_CHECKED);
    // The submenu goes with the menu that holds it.
    menu.AppendMenu(MF_POPUP, (UINT_PTR)rates.Detach(), m_strChangePollingRate);
    menu.AppendMenu(MF_SEPARATOR);
    bool ask = GetWarningOptionFlag(g_szConfDir) != 1;
    menu.AppendMenu(MF_STRING | (ask ? MF_CHECKED : MF_UNCHECKED), ID_SHOW_MACRO, m_strShowMacro);
    ShowMenuAtCursor(menu);
}

void CAPDlg::ShowHelpMenu()
{
    CMenu menu;
    menu.CreatePopupMenu();
    SetForegroundWindow();
    menu.AppendMenu(MF_STRING, ID_USER_GUIDE, m_strUserGuide);
    menu.AppendMenu(MF_SEPARATOR);
    menu.AppendMenu(MF_STRING, ID_ABOUT, m_strAbout);
    ShowMenuAtCursor(menu);
}

void CAPDlg::OnToggleWarningOption()
{
    // Written at once, without Apply.
    SetWarningOptionFlag(g_szConfDir, GetWarningOptionFlag(g_szConfDir) == 1 ? 0 : 1);
}

void CAPDlg::SetPollingRate(int rate)
{
    m_config.POLLING_RATE = rate;
}

void CAPDlg::OnPollingRate250()
{
    SetPollingRate(RateOfCommand(ID_RATE_250));
}

void CAPDlg::OnPollingRate500()
{
    SetPollingRate(RateOfCommand(ID_RATE_500));
}

void CAPDlg::OnPollingRate1000()
{
    SetPollingRate(RateOfCommand(ID_RATE_1000));
}

void CAPDlg::OnUserGuide()
{
    CString guide = ProgramFolder() + L"User_Guide.pdf";
    HINSTANCE result = ShellExecuteW(nullptr, L"open", guide, nullptr, nullptr, SW_SHOW);
    if ((INT_PTR)result > 32) return;
    DisableSidePanels();
    CWarningOneDlg box(USER_GUIDE_MISSING_TEXT);
    box.ShowReaderLink(true);
    box.DoModal();
    EnableSidePanels();
}
