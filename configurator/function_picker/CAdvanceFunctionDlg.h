#pragma once
#include "skinkit/CBitmapBtn.h"
#include "skinkit/CListBoxEx.h"
#include "skinkit/CSkinDialog.h"
#include "skinkit/CTreeCtrlEx.h"
#include "framework/CGdiObject.h"
#include "framework/CString.h"

struct ConfigData;
struct MacroData;
class CAPDlg;

// The function picker: the panel that slides out at the main window's right edge and
// gives a mouse button any function. A folder side bar holds the game-command tree, the
// DPI list, the profile list and the current profile's macros (with New and Delete). A
// click on an item stores its code into the button being edited in the working copy; a
// drag of an item onto a mouse-button image of the main window gives it to that button.
// Made once (hidden) and kept until the main window is destroyed; shown, hidden and
// docked only by the main window.
//
// It posts to the main window (its owner): WM_PANEL_STATE (0, 50 shown / 54 hidden) when a
// slide ends, WM_CLOSE_PANEL (0, 54) for its close button, WM_PANEL_ESCAPE for Esc and
// Alt+F4.
class CAdvanceFunctionDlg : public CSkinDialog {
public:
    static constexpr UINT DPI_LIST_ID = 114;
    static constexpr UINT PROFILE_LIST_ID = 4369;
    static constexpr UINT MACRO_LIST_ID = 115;
    static constexpr UINT COMMAND_TREE_ID = 117;
    static constexpr UINT_PTR SLIDE_IN_TIMER = 101;
    static constexpr UINT_PTR SLIDE_OUT_TIMER = 102;
    static constexpr UINT SLIDE_TICK_MS = 20;
    static constexpr int SLIDE_STEP = 15;

    CAdvanceFunctionDlg();
    ~CAdvanceFunctionDlg() override;
    // Modeless and hidden; with no parent the main window owns it.
    BOOL Create(CWnd* parent = nullptr);

    // The record edited (the main window's working copy); the macro list and the profile
    // list are filled again from it.
    void SetConfig(ConfigData* config);
    // Shows the function of mouse button n (0..10): its folder opened, its row or command
    // selected. -1 (or an index with no slot) edits no button and changes no folder.
    void SelectCurrentFunction(int n);
    // Has the main window hide the panel (WM_CLOSE_PANEL 54, posted to the owner).
    void PostClosePanel();
    // The screen position of the panel's left edge and top when fully shown.
    void SetTargetPos(int x, int y)
    {
        m_nTargetX = x;
        m_nTargetY = y;
    }
    // Slides cut columns off the panel's left from now on.
    void SetSlideClip() { m_nClipMode = 1; }
    // The panel emerges from its target's left edge, or retracts into it; one slide runs at
    // a time: a slide started while the other runs turns it round from where it is.
    void SlideIn();
    void SlideOut();
    // Moves the panel there at once; during a slide only the target moves, and the slide
    // keeps the panel's own size.
    void MoveTo(int x, int y, int width, int height);

    // Stores a macro the editor made: a new one into its slot (the macro list gains its row,
    // and the button being edited gets its code), an edited one over its slot. The profile
    // is the one the editor was opened for.
    void StoreMacro(int profile, int slot, const MacroData& macro);

    BOOL PreTranslateMessage(MSG* msg) override;
    BOOL OnInitDialog() override;

    int m_nPanelWidth = 0;
    int m_nPanelHeight = 0;
    CListBoxEx m_dpiList;
    CListBoxEx m_profileList;
    CListBoxEx m_macroList;
    CTreeCtrlEx m_commandTree;
    int m_nSlideOffset = 0;
    int m_nTargetX = 0;
    int m_nTargetY = 0;
    int m_nClipMode = 0;
    int m_nButton = -1;
    CAPDlg* m_pMainDlg = nullptr;
    BYTE m_bSliding = 0;
    CBitmap m_bmpMask;
    HRGN m_hRgn = nullptr;
    CBitmap m_bmpNormal, m_bmpDown, m_bmpOver;
    ConfigData* m_pConfig = nullptr;
    CBitmapBtn m_closeButton;
    CString m_strFolderCaption[4];
    // The notice shown when a new macro finds every slot of the profile in use.
    CString m_strMacrosFull;

protected:
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;
    void OnDraw(CDC* dc) override;

    LRESULT OnCreate(WPARAM, LPARAM);
    LRESULT OnDestroy(WPARAM, LPARAM);
    LRESULT OnTimer(WPARAM, LPARAM);
    LRESULT OnSelectCode(WPARAM, LPARAM);
    LRESULT OnClearSelection(WPARAM, LPARAM);
    LRESULT OnNewMacro(WPARAM, LPARAM);
    LRESULT OnEditMacro(WPARAM, LPARAM);
    LRESULT DeleteMacro(WPARAM, LPARAM);
    LRESULT OnMacroFolderFocus(WPARAM, LPARAM);
    LRESULT OnMacroSelChange(WPARAM, LPARAM);
    DECLARE_MESSAGE_MAP()

private:
    void LoadSkin();
    void DrawTitles();
    void CreateControls();
    void FillFromCatalogue();
    void FillMacroList();
    void FillProfileList();
    // The profile the main window shows, or -1.
    int CurrentProfile() const;
    // The main window: the one it named, else the panel's owner.
    CAPDlg* MainWindow() const;
    void SetRegion(HRGN region);
    void SlideInTick();
    void SlideOutTick();
    void PostToMainWindow(UINT message, LPARAM lParam);
    // Around the modal boxes and the editor opened from the panel.
    void DisableMainWindow();
    void EnableMainWindow();
    // The macro editor for a new macro (edit false) or for slot of the current profile.
    void RunMacroEditor(bool edit, int slot);
    void TellMacrosFull();

    HBITMAP m_hScrollSkin = nullptr;
    // The windows DisableMainWindow turned off, turned on again by EnableMainWindow.
    HWND m_disabled[4] = {};
};

// The one picker, made by the main window on first use.
extern CAdvanceFunctionDlg* g_pAdvanceFunctionDlg;
// What the macro editor is doing: 0 making a new macro, 1 editing row g_nEditMacro.
extern int g_bEditMacro;
extern int g_nEditMacro;
