#include "configurator/main_window/CAPDlg.h"
#include "configurator/main_window/MainLayout.h"
#include "configurator/main_window/StartupSteps.h"
#include "configurator/function_picker/CAdvanceFunctionDlg.h"
#include "configurator/GearloomRes.h"
#include "skinkit/PopupMenus.h"
#include "skinkit/SkinButtons.h"
#include "skinkit/SkinDialogParts.h"
#include "skinkit/SkinFiles.h"
#include "skinkit/SkinHandlers.h"
#include "core/AppPaths.h"
#include "core/ConfigFile.h"
#include "core/ConfigSettings.h"
#include "core/Messages.h"
#include "core/PipeLink.h"
#include "core/SkinEntry.h"
#include "core/SystemInfo.h"
#include "core/XmlDoc.h"
#include "framework/CDC.h"
#include "framework/StartupTrace.h"
#include <cstring>
#include <thread>

int g_nOSVersion = 0;

namespace {

constexpr COLORREF kLabelColour = 0x00CCFF;

// The main window's skinned buttons: entry in "Strings.xml", button, what is done to it.
// The mouse buttons get their captions from their function codes, the profile buttons
// their tooltips from the profiles' names.
std::vector<SkinButtonRow> ButtonRows(CAPDlg& d)
{
    // Tooltips are given once the window is painted (OnAfterFirstPaint).
    const unsigned plain = SKIN_CHECK;
    const unsigned captioned = plain | SKIN_CAPTION;
    std::vector<SkinButtonRow> rows = {
        {L"HELP", &d.m_btnHelp, plain},
        {L"EXIT", &d.m_btnExit, plain},
        {L"MINIMIZE", &d.m_btnMinimize, plain},
        {L"BUTTON_CANCEL", &d.m_btnCancel, captioned},
        {L"BUTTON_APPLY", &d.m_btnApply, captioned},
        {L"RESTORE", &d.m_btnRestore, captioned},
        {L"BUTTON_OK", &d.m_btnOK, captioned},
        {L"ENABLE_IN_GAME_MODE", &d.m_btnInGameMode, plain | SKIN_TOGGLE},
        {L"BUTTON_MOUSE_PROPERTIES", &d.m_btnMouseProperties, captioned},
        {L"BUTTON_ILLUMINATION", &d.m_btnIllumination, captioned},
        {L"BUTTON_ASSIGNMENTS", &d.m_btnAssignments, captioned},
        {L"BUTTON_CHRONICLE", &d.m_btnChronicle, plain},
        {L"BUTTON_FILE_MENU", &d.m_btnFileMenu, captioned},
        {L"BUTTON_TOOLS_MENU", &d.m_btnToolsMenu, captioned},
        {L"BUTTON_HELP_MENU", &d.m_btnHelpMenu, captioned},
    };
    for (int i = 0; i < BUTTON_COUNT; ++i) rows.push_back({MouseButtonEntryName(i), &d.m_mouseButtons[i], plain});
    for (int j = 0; j < PROFILE_COUNT; ++j) rows.push_back({ProfileEntryName(j), &d.m_profileButtons[j], plain});
    return rows;
}

}  // namespace

BEGIN_MESSAGE_MAP(CAPDlg, CSkinDialog)
    ON_MESSAGE(WM_SYSCOMMAND, OnSysCommand)
    ON_MESSAGE(WM_QUERYDRAGICON, OnQueryDragIcon)
    ON_MESSAGE(WM_CREATE, OnCreate)
    ON_MESSAGE(WM_LBUTTONDOWN, OnLButtonDown)
    ON_MESSAGE(WM_TIMER, OnTimer)
    ON_MESSAGE(WM_MOVE, OnMove)
    ON_MESSAGE(WM_DESTROY, OnDestroy)
    ON_MESSAGE(WM_PANEL_STATE, OnPanelState)
    ON_MESSAGE(WM_PANEL_ESCAPE, OnPanelEscape)
    ON_MESSAGE(WM_CLOSE_PANEL, OnClosePanel)
    ON_MESSAGE(WM_BUTTONMENU_SELECT, OnButtonMenuSelect)
    ON_MESSAGE(WM_SCROLLMENU_SELECT, OnScrollMenuSelect)
    ON_MESSAGE(WM_POPUP_CLOSED, OnPopupClosed)
    ON_MESSAGE(WM_DROP_PROFILE, OnProfileDropped)
    ON_MESSAGE(WM_DROP_FUNCTION, OnAssignmentDropped)
    ON_MESSAGE(WM_SERVICE_PROFILE_CHANGED, OnProfileSwitched)
    ON_MESSAGE(WM_PROFILE_CHANGE, OnProfileSwitched)
    ON_MESSAGE(WM_SERVICE_DPI_CHANGED, OnDpiChanged)
    ON_MESSAGE(WM_SERVICE_BUTTON_STATE, OnMouseButtonPressed)
    ON_MESSAGE(WM_PROFILE_MENU, OnProfileMenu)
    ON_MESSAGE(WM_AFTER_FIRST_PAINT, OnAfterFirstPaint)
    ON_COMMAND(ID_RESET_PROFILE, OnResetProfile)
    ON_COMMAND(ID_EDIT_GAMES, OnEditGames)
    ON_COMMAND(ID_EXPORT_PROFILE, OnExportProfile)
    ON_COMMAND(ID_SKIN_ULK, OnSkinChoice)
    ON_COMMAND(ID_SKIN_GENERIC, OnSkinChoice)
    ON_COMMAND(ID_SKIN_NONE, OnSkinChoice)
    ON_COMMAND(ID_RENAME_PROFILE, OnRenameProfile)
    ON_COMMAND(ID_IMPORT_PROFILE, OnImportProfile)
    ON_COMMAND(ID_PRINT_PROFILE, OnPrintProfile)
    ON_COMMAND(ID_ABOUT, OnAbout)
    ON_COMMAND(ID_USER_GUIDE, OnUserGuide)
    ON_COMMAND(ID_RATE_250, OnPollingRate250)
    ON_COMMAND(ID_RATE_500, OnPollingRate500)
    ON_COMMAND(ID_RATE_1000, OnPollingRate1000)
    ON_COMMAND(ID_SHOW_MACRO, OnToggleWarningOption)
END_MESSAGE_MAP()

CAPDlg::CAPDlg(bool usePipe) : CSkinDialog(IDD_AP_DIALOG), m_bUsePipe(usePipe)
{
    m_hIcon = (HICON)LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDR_MAINFRAME), IMAGE_ICON, 0, 0,
                                LR_DEFAULTSIZE | LR_SHARED);
    memset(&m_config, 0, sizeof m_config);
    memset(&m_savedConfig, 0, sizeof m_savedConfig);
}

CAPDlg::~CAPDlg()
{
    // A window that never got its WM_DESTROY still leaves nothing behind.
    if (m_pPipe) {
        ClosePipeLink(*m_pPipe);
        delete m_pPipe;
        m_pPipe = nullptr;
    }
}

LRESULT CAPDlg::OnCreate(WPARAM, LPARAM)
{
    StartupTraceScope trace("create");
    if (Default() == -1) return -1;
    // A program folder set before the window is made (by a test) is kept.
    if (!g_szAppDir[0]) {
        CString folder = ProgramFolder();
        if (folder.GetLength() < MAX_PATH) wcscpy(g_szAppDir, folder);
    }
    LoadSkin();
    ApplyMaskRegion(m_bmpMask, m_hRgn);
    int64_t since = StartupTraceNow();
    m_propertiesDlg.Create(this);
    m_illuminationDlg.Create(this);
    StartupTraceSpan("panels", since);
    SetTimer(1, 1);
    return 0;
}

void CAPDlg::LoadSkin()
{
    std::vector<SkinItem> pictures = ReadSkinSection(L"Skins.xml", L"MAIN");
    // Five window-sized pictures: decoded side by side, the start waits for the slowest.
    const struct {
        const wchar_t* name;
        CBitmap& picture;
    } others[] = {{L"MAIN_DISABLE", m_bmpDisabled}, {L"MAIN_DOWN", m_bmpDown}, {L"MAIN_OVER", m_bmpOver},
                  {L"MAIN_MASK", m_bmpMask}};
    int64_t since = StartupTraceNow();
    std::vector<std::thread> loaders;
    for (const auto& o : others) loaders.emplace_back([&pictures, &o] { LoadSkinPicture(pictures, o.name, o.picture); });
    m_sizeNormal = LoadSkinPicture(pictures, L"MAIN_NORMAL", m_bmpNormal);
    for (std::thread& t : loaders) t.join();
    StartupTraceSpan("main-pictures", since);
    // Without its picture the window keeps the template's size rather than none at all.
    if (m_sizeNormal.cx > 0 && m_sizeNormal.cy > 0) MoveWindow(0, 0, m_sizeNormal.cx, m_sizeNormal.cy, TRUE);
    DrawLabels();
    CreateButtons();
}

void CAPDlg::DrawLabels()
{
    if (!m_bmpNormal.GetSafeHandle()) return;
    StartupTraceScope trace("labels");
    std::vector<SkinItem> strings = ReadSkinSection(L"Strings.xml", L"MAIN");
    CDC dc;
    if (!dc.CreateCompatibleDC(nullptr)) return;
    dc.SelectObject(m_bmpNormal);
    dc.SetBkMode(TRANSPARENT);
    dc.SetTextColor(kLabelColour);
    CFont bold, thin;
    bold.CreateFont(12, 0, 0, 0, 700, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0x20, L"MS Shell Dlg");
    thin.CreateFont(12, 0, 0, 0, 100, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0x20, L"MS Shell Dlg");
    const struct {
        const wchar_t* entry;
        CFont& font;
    } labels[] = {{L"PROFILE", bold}, {L"IN_GAME_MODE_TEXT", thin}};
    for (const auto& label : labels) {
        dc.SelectObject(label.font);
        DrawLabelEntry(&dc, strings, label.entry);
    }
    // The DC gives back the picture and the fonts before they are deleted.
    dc.DeleteDC();
}

void CAPDlg::CreateButtons()
{
    std::vector<SkinItem> strings = ReadSkinSection(L"Strings.xml", L"MAIN");
    // Without a picture of its own the disabled look is the one at rest.
    CBitmap& disabled = m_bmpDisabled.GetSafeHandle() ? m_bmpDisabled : m_bmpNormal;
    SkinStatePictures pictures = {m_bmpNormal, m_bmpOver, m_bmpDown, disabled};
    std::vector<SkinButtonRow> rows = ButtonRows(*this);
    CreateSkinButtons(this, strings, rows.data(), rows.size(), pictures);
    for (const SkinButtonRow& row : rows) {
        const CString* text = FindSkinItem(strings, row.entry);
        SkinEntry entry;
        if (text && ParseSkinEntry(*text, entry)) row.button->m_strToolTip = entry.text;
    }

    m_btnMouseProperties.m_bUpwardCaption[0] = 1;
    m_btnIllumination.m_bBoldCaption[0] = 1;
    m_btnAssignments.m_bDownwardCaption[0] = 1;
    m_btnChronicle.m_bLightCaption = 1;
    for (CBitmapBtn& b : m_mouseButtons) b.m_nCaptionLeft = 26;
    for (int j = 0; j < PROFILE_COUNT; ++j) {
        const CString* text = FindSkinItem(strings, ProfileEntryName(j));
        SkinEntry entry;
        if (text && ParseSkinEntry(*text, entry)) m_defaultProfileNames[j] = entry.text;
    }
    const CString* change = FindSkinItem(strings, L"STRING_WARNING_CHANGE_PROFILE");
    const CString* restore = FindSkinItem(strings, L"STRING_WARNING_RESTORE_PROFILE");
    if (change) m_strWarningChangeProfile = *change;
    if (restore) m_strWarningRestoreProfile = *restore;
    const struct {
        const wchar_t* entry;
        const wchar_t* fallback;
        CString* text;
    } notices[] = {
        {L"STRING_WARNING_NOT_SAVED", DEFAULT_NOT_SAVED_TEXT, &m_strWarningNotSaved},
        {L"STRING_WARNING_REGISTRY_NOT_SAVED", DEFAULT_REGISTRY_NOT_SAVED_TEXT, &m_strWarningRegistryNotSaved},
        {L"STRING_WARNING_TRAY_NOT_SAVED", DEFAULT_TRAY_NOT_SAVED_TEXT, &m_strWarningTrayNotSaved},
        {L"STRING_WARNING_REGISTRY_TRAY_NOT_SAVED", DEFAULT_REGISTRY_TRAY_NOT_SAVED_TEXT,
         &m_strWarningRegistryTrayNotSaved},
    };
    for (const auto& n : notices) {
        const CString* text = FindSkinItem(strings, n.entry);
        *n.text = text ? *text : CString(n.fallback);
    }
}

BOOL CAPDlg::OnInitDialog()
{
    StartupTraceScope trace("init-dialog");
    CSkinDialog::OnInitDialog();
    if (m_bUsePipe) {
        // A client that does not connect leaves Apply without a listener.
        m_pPipe = new PipeLink;
        InitPipeLink(m_hWnd, *m_pPipe);
        StartPipeClient(*m_pPipe);
    }
    RECT work = {};
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    RECT me = GetWindowRect();
    SIZE size = {me.right - me.left, me.bottom - me.top};
    if (m_sizeNormal.cx > 0 && m_sizeNormal.cy > 0) size = m_sizeNormal;
    POINT at = MainWindowPlace(work, size);
    MoveWindow(at.x, at.y, size.cx, size.cy, TRUE);

    // The system menu belongs to the taskbar button, which the frame styles bring.
    ModifyStyle(0, WS_SYSMENU | WS_MINIMIZEBOX);
    wchar_t about[64] = {};
    if (LoadStringW(GetModuleHandleW(nullptr), IDS_ABOUTBOX, about, 64) > 0) {
        if (HMENU system = GetSystemMenu(m_hWnd, FALSE)) {
            AppendMenuW(system, MF_SEPARATOR, 0, nullptr);
            AppendMenuW(system, MF_STRING, IDM_ABOUTBOX, about);
        }
    }
    SendMessage(WM_SETICON, ICON_BIG, (LPARAM)m_hIcon);
    SendMessage(WM_SETICON, ICON_SMALL, (LPARAM)m_hIcon);

    ShowTrayIcon();
    g_nOSVersion = GetWindowsVersion();
    SetWindowText(GEARLOOM_MAIN_TITLE);
    m_bPickerShown = m_bPropertiesShown = m_bIlluminationShown = 0;
    int64_t since = StartupTraceNow();
    LoadSettings();
    RefreshFromProfile();
    StartupTraceSpan("settings", since);
    LoadMenuTexts();
    return TRUE;
}

void CAPDlg::ShowTrayIcon()
{
    // A tray icon the person hid comes back at this program's next start.
    if (GetTrayIconFlag(g_szConfDir) == 1) return;
    SetTrayIconFlag(g_szConfDir, 1);
    if (HWND tray = FindWindowW(nullptr, BELLWICK_WINDOW_TITLE)) ::PostMessageW(tray, WM_SHOW_TRAY_ICON, 0, 0);
}

void CAPDlg::RegisterDropTargets()
{
    for (int j = 0; j < PROFILE_COUNT; ++j) {
        if (!m_profileButtons[j].m_hWnd) continue;
        m_profileButtons[j].RegisterDropTarget(this);
        m_profileButtons[j].m_nItemValue = j;
        m_profileButtons[j].m_nDropKind = 1;
    }
    for (int i = 0; i < BUTTON_COUNT; ++i) {
        if (!m_mouseButtons[i].m_hWnd) continue;
        m_mouseButtons[i].RegisterDropTarget(this);
        m_mouseButtons[i].m_nItemValue = 16 + i;
        // The left and right buttons keep their clicks: a drag over them shows no drop.
        m_mouseButtons[i].m_nDropKind = AcceptsDroppedFunction(i, 16) ? 2 : -1;
    }
}

void CAPDlg::LoadMenuTexts()
{
    CXmlDoc doc;
    if (!doc.LoadFile(CString(g_szAppDir) + L"Menu.xml")) return;
    // Each menu's element is searched forward from the last one, its items among all its
    // children.
    const struct {
        const wchar_t* menu;
        std::initializer_list<std::pair<const wchar_t*, CString*>> items;
    } menus[] = {
        {L"FILE_MENU", {{L"EDIT", &m_strEdit}, {L"EXPORT", &m_strExport}, {L"IMPORT", &m_strImport}, {L"PRINT", &m_strPrint}}},
        {L"TOOLS_MENU",
         {{L"CHANGE_POLLING_RATE", &m_strChangePollingRate}, {L"RATE_250", &m_strRate250}, {L"RATE_500", &m_strRate500},
          {L"RATE_1000", &m_strRate1000}, {L"SHOW_MACRO", &m_strShowMacro}}},
        {L"HELP_MENU", {{L"USER_GUIDE", &m_strUserGuide}, {L"ABOUT", &m_strAbout}}},
    };
    for (const auto& menu : menus) {
        if (!doc.FindChildNode(menu.menu)) continue;
        doc.EnterNode();
        for (const auto& item : menu.items) {
            doc.RewindChildren();
            if (doc.FindChildNode(item.first)) *item.second = doc.GetChildText();
        }
        doc.LeaveNode();
    }
}

void CAPDlg::LoadSettings()
{
    ResetConfig(m_savedConfig);
    LoadConfig(m_savedConfig, CString(g_szConfDir) + L"Config.xml");
    ValidateConfig(m_savedConfig);
    m_config = m_savedConfig;
}

bool CAPDlg::HasUnsavedChanges() const
{
    return CompareConfig(m_savedConfig, m_config) != 0;
}

void CAPDlg::RefreshFromProfile()
{
    UpdateButtons();
    UpdateCharacterPanel();
    SetInGameModeButton(m_config.GAME_MODE);
    EnableMouseButtons(m_config.GAME_MODE != 1);
    m_propertiesDlg.SetConfig(&m_config);
    m_illuminationDlg.SetConfig(&m_config);
    if (g_pAdvanceFunctionDlg) g_pAdvanceFunctionDlg->SetConfig(&m_config);
}

void CAPDlg::UpdateButtons()
{
    const int current = m_config.PROFILE_ID;
    for (int j = 0; j < PROFILE_COUNT; ++j) {
        CBitmapBtn& b = m_profileButtons[j];
        if (!b.m_hWnd) continue;
        const ProfileData& p = m_config.profiles[j];
        b.SetFillColor(p.LED_COLOR);
        // Only the current profile can be dragged onto another.
        b.SetCheck(j == current ? 1 : 0);
        b.m_bDragSource = j == current ? 1 : 0;
        b.m_nItemValue = j;
        CString name(p.PROFILE_NAME, FieldLength(p.PROFILE_NAME));
        SetButtonTip(b, name);
        b.RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
    }
    if (current < 0 || current >= PROFILE_COUNT) return;
    for (int i = 0; i < BUTTON_COUNT; ++i) ShowButtonAssignment(m_config.profiles[current].buttons[i].code, i);
}

void CAPDlg::HighlightMouseButton(int n)
{
    for (int i = 0; i < BUTTON_COUNT; ++i)
        if (m_mouseButtons[i].m_hWnd) m_mouseButtons[i].SetCheck(i == n ? 1 : 0);
}

void CAPDlg::SetInGameModeButton(int value)
{
    if (m_btnInGameMode.m_hWnd) m_btnInGameMode.SetCheck(value != 0 ? 1 : 0);
}

void CAPDlg::EnableMouseButtons(BOOL enable)
{
    for (CBitmapBtn& b : m_mouseButtons)
        if (b.m_hWnd) b.EnableWindow(enable);
}

void CAPDlg::DisableSidePanels()
{
    if (m_nPanelsDisabled++ > 0) return;
    HWND panels[3] = {g_pAdvanceFunctionDlg ? g_pAdvanceFunctionDlg->m_hWnd : nullptr,
                      m_propertiesDlg.IsWindowVisible() ? m_propertiesDlg.m_hWnd : nullptr,
                      m_illuminationDlg.IsWindowVisible() ? m_illuminationDlg.m_hWnd : nullptr};
    for (int i = 0; i < 3; ++i) {
        m_disabledPanels[i] = panels[i] && ::IsWindowEnabled(panels[i]) ? panels[i] : nullptr;
        if (m_disabledPanels[i]) ::EnableWindow(m_disabledPanels[i], FALSE);
    }
}

void CAPDlg::EnableSidePanels()
{
    if (m_nPanelsDisabled == 0 || --m_nPanelsDisabled > 0) return;
    // A panel that slid shut under the box is enabled all the same: it would be skipped as
    // hidden and stay disabled the next time it shows.
    for (HWND& panel : m_disabledPanels) {
        if (panel && ::IsWindow(panel)) ::EnableWindow(panel, TRUE);
        panel = nullptr;
    }
}

void CAPDlg::OnDraw(CDC* dc)
{
    int64_t since = m_bShownAsked ? 0 : StartupTraceNow();
    if (!m_bShownAsked) {
        m_bShownAsked = true;
        PostMessage(WM_AFTER_FIRST_PAINT);
    }
    RECT client = GetClientRect();
    if (::IsIconic(m_hWnd)) {
        SendMessage(WM_ICONERASEBKGND, (WPARAM)dc->m_hDC);
        int x = (client.right - GetSystemMetrics(SM_CXICON) + 1) / 2;
        int y = (client.bottom - GetSystemMetrics(SM_CYICON) + 1) / 2;
        DrawIcon(dc->m_hDC, x, y, m_hIcon);
        return;
    }
    DrawDialogBackground(dc, client, m_bmpNormal);
    StartupTraceSpan("first-paint", since);
}

BOOL CAPDlg::PreTranslateMessage(MSG* msg)
{
    // Enter never ends the main window.
    if (msg->message == WM_KEYDOWN && msg->wParam == VK_RETURN) return TRUE;
    return CSkinDialog::PreTranslateMessage(msg);
}

LRESULT CAPDlg::OnLButtonDown(WPARAM, LPARAM lParam)
{
    DragWindowByBody(m_hWnd, lParam);
    return Default();
}

LRESULT CAPDlg::OnTimer(WPARAM wParam, LPARAM)
{
    // The panels are docked once the window exists; WM_MOVE keeps them there.
    if (wParam == 1) {
        KillTimer(1);
        DockSidePanels();
    }
    return Default();
}

LRESULT CAPDlg::OnMove(WPARAM, LPARAM)
{
    LRESULT r = Default();
    DockSidePanels();
    return r;
}

LRESULT CAPDlg::OnDestroy(WPARAM, LPARAM)
{
    LRESULT r = Default();
    if (m_pPipe) ClosePipeLink(*m_pPipe);
    if (g_pAdvanceFunctionDlg) {
        g_pAdvanceFunctionDlg->DestroyWindow();
        delete g_pAdvanceFunctionDlg;
        g_pAdvanceFunctionDlg = nullptr;
    }
    if (g_pButtonMenu) {
        g_pButtonMenu->Close();
        delete g_pButtonMenu;
        g_pButtonMenu = nullptr;
    }
    m_bmpMask.DeleteObject();
    m_bmpDisabled.DeleteObject();
    m_bmpDown.DeleteObject();
    m_bmpOver.DeleteObject();
    m_bmpPortrait.DeleteObject();
    // ClosePipeLink returned only after the pipe's thread ended.
    delete m_pPipe;
    m_pPipe = nullptr;
    return r;
}

LRESULT CAPDlg::OnSysCommand(WPARAM wParam, LPARAM)
{
    if ((wParam & 0xFFF0) == IDM_ABOUTBOX) {
        OnSystemAbout();
        return 0;
    }
    return Default();
}

void CAPDlg::SetButtonTip(CBitmapBtn& button, const CString& text)
{
    if (m_bToolTips)
        button.SetToolTipText(&text);
    else
        button.m_strToolTip = text;
}

LRESULT CAPDlg::OnAfterFirstPaint(WPARAM, LPARAM)
{
    // What is needed only once the person sees the window comes after the first paint: a
    // tooltip window per button costs more than the rest of the start together. The
    // tooltips take the texts the buttons have by then.
    StartupTraceScope trace("tooltips");
    RegisterDropTargets();
    m_bToolTips = true;
    std::vector<SkinButtonRow> rows = ButtonRows(*this);
    for (const SkinButtonRow& row : rows) {
        if (!row.button->m_hWnd) continue;
        CString text = row.button->m_strToolTip;
        row.button->SetToolTipText(&text);
    }
    return 0;
}
