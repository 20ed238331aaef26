#pragma once
#include <vector>
#include "configurator/function_picker/CBaseKeyPressDlg.h"
#include "configurator/function_picker/COstrelMacroDisplay.h"
#include "skinkit/CBitmapBtn.h"
#include "skinkit/SkinFiles.h"
#include "core/ConfigData.h"
#include "framework/CEdit.h"

// The macro editor: a modal skinned dialog (skin section MACRO) that records a key
// sequence with automatic, recorded or no delays, optionally repeated, or makes a paste
// macro: a text typed through the clipboard between up to two start keys and two send
// keys. Its three key sequences are shown in three event displays; the one last clicked
// receives the keys. Only OK makes a record; every other way out leaves nothing.
//
// The caller names the macro's place when it opens the editor and stores the finished
// record there itself:
//
//     CMacroDialog dlg(picker);
//     dlg.SetSlot(profile, slot);              // taken now, handed back unchanged
//     dlg.SetMacro(edit ? &current : nullptr); // copied now; null: a new macro
//     if (dlg.DoModal() == IDOK)
//         config.profiles[dlg.GetProfile()].macros[dlg.GetSlot()] = dlg.GetMacro();
//
// So a profile switch while the editor is open cannot move the macro to another profile.
// While it runs modally every other window of the thread is disabled (the main window and
// its side panels included), whoever opened it.
class CMacroDialog : public CBaseKeyPressDlg {
public:
    explicit CMacroDialog(CWnd* parent = nullptr);
    ~CMacroDialog() override;

    // The record to edit, copied; null (or never called) makes a new macro.
    void SetMacro(const MacroData* macro);
    // The profile index and macro slot the caller will store the result in.
    void SetSlot(int profile, int slot)
    {
        m_nProfile = profile;
        m_nSlot = slot;
    }
    int GetProfile() const { return m_nProfile; }
    int GetSlot() const { return m_nSlot; }
    // IDOK when OK made a record (GetMacro), IDCANCEL for every other way out.
    INT_PTR DoModal() override;
    // The record OK made; zero-filled before that.
    const MacroData& GetMacro() const { return m_result; }
    bool HasResult() const { return m_bStored != 0; }

    int PushKeyEvent(int up, int vk, UINT keyFlags) override;
    void UpdateDisplay() override;
    BOOL PreTranslateMessage(MSG* msg) override;
    BOOL OnInitDialog() override;

    void SelectDelayMode(int mode);
    void LoadPasteSkin();
    void LoadNormalSkin();
    void LayoutControls();
    void ResetStartSendKeys();
    void ShowStartSendKeys();

    static constexpr UINT EDIT_NAME_ID = 4352;
    static constexpr UINT EDIT_LOOP_ID = 4353;
    // The paste text shares the name's id; the two are told apart by their handles.
    static constexpr UINT EDIT_PASTE_ID = 4352;
    // Characters the paste text takes: the record's field less its terminator.
    static constexpr int PASTE_LIMIT = 259;

    COstrelMacroDisplay* m_pTarget = nullptr;
    CFont m_editFont;
    int m_bPasteLook = 0;
    CBitmap m_bmpMask, m_bmpNormal, m_bmpOver, m_bmpDown;
    HRGN m_hRgn = nullptr;
    CBitmapBtn m_btnExit, m_btnOK, m_btnCancel, m_btnClear, m_btnApply, m_btnAutoDelay, m_btnRecordDelay,
        m_btnNoDelay, m_btnPaste, m_btnLoop, m_btnStartKey, m_btnSendKey;
    CEdit m_editName, m_editLoop, m_editPaste;
    int m_bEditFocus = 0;
    bool m_bHasMacro = false;
    MacroData m_macro;
    int m_nDelayMode = 4;
    int m_bRecordDelay = 0;
    MacroEvent m_mainStore[MACRO_EVENT_COUNT];
    MacroEvent m_startStore[MACRO_KEY_COUNT];
    MacroEvent m_sendStore[MACRO_KEY_COUNT];
    COstrelMacroDisplay m_macroArea, m_sendArea, m_startArea;

protected:
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;
    void OnDraw(CDC* dc) override;
    // Enter and Esc never end the editor: it ends by WM_CLOSE.
    void OnOK() override {}
    void OnCancel() override {}

    LRESULT OnCreate(WPARAM, LPARAM);
    LRESULT OnDestroy(WPARAM, LPARAM);
    LRESULT OnClose(WPARAM, LPARAM);
    LRESULT OnLButtonDown(WPARAM, LPARAM);
    LRESULT OnWindowsKey(WPARAM, LPARAM);
    LRESULT OnDisplayFocus(WPARAM, LPARAM);
    void OnEditSetFocus() { m_bEditFocus = 1; }
    void OnEditKillFocus() { m_bEditFocus = 0; }
    DECLARE_MESSAGE_MAP()

private:
    // SetCheck repaints; a button its skin entry did not make only keeps the state.
    static void CheckButton(CBitmapBtn& button, int check);
    void LoadSkin();
    void LoadLookPictures(bool paste);
    void CreateDisplays();
    void CreateEdits();
    bool EntryRect(const wchar_t* name, RECT& rect) const;
    void CutModeButtons(bool paste);
    // The limit of the recording target: events are taken while fewer than it are held.
    int TargetCapacity() const;
    // Mode 2: the pause since the last recorded key, given to the newest event.
    void RecordPause();
    // The working events into the store of the current target.
    void SaveTargetEvents();
    // The store's events become the working events of the display, now the target.
    void ShowStore(COstrelMacroDisplay& display, const MacroEvent* store, int count);
    void ClearCommand();
    void DelayModeCommand(int mode);
    void PasteCommand();
    void OkCommand();
    void DisableOtherWindows();
    void EnableOtherWindows();

    int m_nProfile = -1;
    int m_nSlot = -1;
    MacroData m_result;
    int m_bStored = 0;
    bool m_bDisableOthers = false;
    std::vector<HWND> m_disabledWindows;
    std::vector<SkinItem> m_strings;
    bool m_bStartSendMade = false;
};
