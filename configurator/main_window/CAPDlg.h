#pragma once
#include "skinkit/CBitmapBtn.h"
#include "skinkit/CSkinDialog.h"
#include "configurator/panels/CIllumination.h"
#include "configurator/panels/CPropertiesDlg.h"
#include "configurator/panels/CharacterInfo.h"
#include "core/ConfigData.h"
#include "framework/CString.h"

struct PipeLink;

// The main window's own message, posted at its first paint: tooltips and drop targets.
constexpr UINT WM_AFTER_FIRST_PAINT = WM_APP + 1;

// The main window of Gearloom: the mouse with its eleven button images, the ten profiles
// and the command buttons, on a skinned borderless dialog. It owns the working copy of
// the configuration that every view edits and the saved copy as in "Config.xml"; there are
// unsaved changes exactly when the two differ. Apply saves the working copy and tells the
// service to reload.
class CAPDlg : public CSkinDialog {
public:
    explicit CAPDlg(bool usePipe);
    ~CAPDlg() override;

    // The saved copy from "Config.xml", validated, copied to the working copy.
    void LoadSettings();
    // Every view brought in line with the working copy.
    void RefreshFromProfile();
    void UpdateButtons();
    // Mouse button n (0..10) checked and all others not; -1 clears all.
    void HighlightMouseButton(int n);
    void SetInGameModeButton(int value);
    void EnableMouseButtons(BOOL enable);
    // Around every modal dialog the main window opens: the picker and the shown panels are
    // disabled, and exactly those are enabled again, also when a panel has hidden
    // meanwhile. Nested pairs leave it to the outermost.
    void DisableSidePanels();
    void EnableSidePanels();
    bool HasUnsavedChanges() const;

    // Apply: when the copies differ, saves the working copy and tells the service. False
    // when the save failed: the person is told, the copies stay different and the service
    // hears nothing.
    bool ApplySettings();
    void OnResetProfile();
    void ShowFileMenu();
    void ShowToolsMenu();
    void ShowHelpMenu();
    void OnUserGuide();
    void OnToggleWarningOption();
    void OnPollingRate250();
    void OnPollingRate500();
    void OnPollingRate1000();
    void OnEditGames();
    void OnAbout();
    void OnExportProfile();
    void OnImportProfile();
    void OnPrintProfile();
    void OnRenameProfile();
    void OnSkinChoice() {}
    // The character dialog (the card button) and the small About box (system menu).
    void OnChronicle();
    void OnSystemAbout();

    // The caption and tooltip of mouse button index for a function code, from the button
    // popup's or the scroll-button popup's point of view.
    void ShowButtonAssignment(int code, int index);
    void ShowScrollButtonAssignment(int code, int index);

    // The button popup under mouse button n.
    void ShowButtonMenu(CBitmapBtn& button, int n, CWnd* owner);
    // A profile made current in both copies, so the switch is no unsaved change.
    void SelectProfile(unsigned index);
    // The function picker for mouse button n (-1: none).
    void ShowAssignmentsPanel(int n);
    void ShowPropertiesPanel();
    void ShowIlluminationPanel();
    void HidePropertiesPanel();
    void HideAssignmentsPanel();
    void HideIlluminationPanel();
    void DockSidePanels();
    // The character card of the current profile.
    void UpdateCharacterPanel();
    // A character found by the character dialog, taken into the current profile and shown.
    void SetCharacter(const CharacterInfo& info);
    // The rename dialog's name for the current profile (cut to what the profile holds).
    void SetProfileName(const CString& name);
    // The profile popup at the cursor.
    void ShowProfileMenu();
    // The single-profile file at path in place of the current profile; a refused file
    // leaves it as it was and the person is told why.
    void ImportProfile(const wchar_t* path);
    // The picker, made once on first use.
    void MakeFunctionPicker();

    BOOL OnInitDialog() override;
    BOOL PreTranslateMessage(MSG* msg) override;

    CPropertiesDlg m_propertiesDlg;
    CIllumination m_illuminationDlg;
    int m_bPickerShown = 0;
    int m_bPropertiesShown = 0;
    int m_bIlluminationShown = 0;
    ConfigData m_config;
    ConfigData m_savedConfig;
    CBitmapBtn m_mouseButtons[BUTTON_COUNT];
    CString m_defaultProfileNames[PROFILE_COUNT];
    PipeLink* m_pPipe = nullptr;
    bool m_bUsePipe;
    CBitmap m_bmpMask, m_bmpNormal, m_bmpOver, m_bmpDisabled, m_bmpDown;
    SIZE m_sizeNormal = {0, 0};
    HRGN m_hRgn = nullptr;
    CBitmap m_bmpPortrait;
    CBitmapBtn m_btnFileMenu, m_btnToolsMenu, m_btnHelpMenu, m_btnExit, m_btnMinimize, m_btnHelp, m_btnOK,
        m_btnCancel, m_btnApply, m_btnRestore, m_btnMouseProperties, m_btnIllumination, m_btnAssignments,
        m_btnChronicle, m_btnInGameMode;
    CBitmapBtn m_profileButtons[PROFILE_COUNT];
    CString m_strEdit, m_strExport, m_strImport, m_strPrint, m_strChangePollingRate, m_strRate250, m_strRate500,
        m_strRate1000, m_strShowMacro, m_strUserGuide, m_strAbout;
    CString m_strWarningChangeProfile;
    CString m_strWarningRestoreProfile;
    CString m_strWarningNotSaved;
    CString m_strWarningRegistryNotSaved, m_strWarningTrayNotSaved, m_strWarningRegistryTrayNotSaved;
    HICON m_hIcon = nullptr;
    bool m_bShownAsked = false;
    bool m_bToolTips = false;
    // The panels DisableSidePanels turned off, and how deep its pairs are nested.
    HWND m_disabledPanels[3] = {};
    int m_nPanelsDisabled = 0;

protected:
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;
    void OnDraw(CDC* dc) override;

    LRESULT OnCreate(WPARAM, LPARAM);
    LRESULT OnSysCommand(WPARAM, LPARAM);
    LRESULT OnQueryDragIcon(WPARAM, LPARAM) { return (LRESULT)m_hIcon; }
    LRESULT OnLButtonDown(WPARAM, LPARAM);
    LRESULT OnTimer(WPARAM, LPARAM);
    LRESULT OnMove(WPARAM, LPARAM);
    LRESULT OnDestroy(WPARAM, LPARAM);
    LRESULT OnPanelState(WPARAM, LPARAM);
    LRESULT OnPanelEscape(WPARAM, LPARAM);
    LRESULT OnClosePanel(WPARAM, LPARAM);
    LRESULT OnButtonMenuSelect(WPARAM, LPARAM);
    LRESULT OnScrollMenuSelect(WPARAM, LPARAM);
    LRESULT OnPopupClosed(WPARAM, LPARAM);
    LRESULT OnProfileDropped(WPARAM, LPARAM);
    LRESULT OnAssignmentDropped(WPARAM, LPARAM);
    LRESULT OnProfileSwitched(WPARAM, LPARAM);
    LRESULT OnDpiChanged(WPARAM, LPARAM);
    LRESULT OnMouseButtonPressed(WPARAM, LPARAM);
    LRESULT OnProfileMenu(WPARAM, LPARAM);
    LRESULT OnAfterFirstPaint(WPARAM, LPARAM);
    DECLARE_MESSAGE_MAP()

private:
    void LoadSkin();
    void DrawLabels();
    void CreateButtons();
    void LoadMenuTexts();
    void RegisterDropTargets();
    void ShowTrayIcon();
    void CaptionFromCode(int code, int index, bool scrollVariant);
    void SetButtonText(CBitmapBtn& button, const CString& text);
    // The button's tooltip text; the tooltip itself once the window has been painted.
    void SetButtonTip(CBitmapBtn& button, const CString& text);
    // Asks the question box between the side panels' disabling and enabling; true for Yes.
    bool Ask(const CString& question);
    void Tell(const CString& message);
    void NotifyService();
    void ClickedCommandButton(HWND from, bool right);
    void ClickedMouseOrProfileButton(HWND from, bool right);
    void ShowMenuAtCursor(HMENU menu);
    void SetPollingRate(int rate);
    // The file dialog of import (open) or export; empty when the person cancelled.
    CString AskProfilePath(BOOL open);
    // Runs a dialog modally with the side panels disabled meanwhile.
    INT_PTR RunModal(CDialog& dlg);
    void ShowCharacterCard(const ProfileData& p, bool withPortrait);
    void ShowPlainCharacterButton();
};
