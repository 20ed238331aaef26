#pragma once
#include "skinkit/CBitmapBtn.h"
#include "skinkit/CSkinDialog.h"
#include "core/ConfigData.h"
#include "framework/CEdit.h"
#include "framework/CListBox.h"

// Control ids of the game-list editor.
const UINT GAME_PATH_ID = 0x1100;
const UINT GAME_LIST_ID = 0x70;

// The game-list editor: a modal skinned dialog in which the person edits the names of the
// game programs that select the current profile. The list is a working list of its own;
// OK writes it into GAME_NAME_1..10 of profile PROFILE_ID of the bound record (the main
// window's working copy, so the change waits for Apply); Cancel, the exit button and Esc
// keep the record as it was. A name is added from the path field (typed, or the file name
// of a program chosen with Browse); an eleventh name, or one longer than a slot holds, is
// refused with a notice and stays in the field.
class CEditGameDlg : public CSkinDialog {
public:
    explicit CEditGameDlg(CWnd* parent = nullptr);

    // Before DoModal.
    void SetConfig(ConfigData* config) { m_pConfig = config; }
    // The path field's text, redrawn at once.
    void SetPathText(const CString& text);

    BOOL OnInitDialog() override;
    BOOL PreTranslateMessage(MSG* msg) override;

    CBitmap m_bmpMask, m_bmpNormal, m_bmpOver, m_bmpDisabled, m_bmpDown;
    HRGN m_hRgn = nullptr;
    CBitmap m_bmpBackground;
    CBitmapBtn m_btnExit, m_btnBrowse, m_btnAdd, m_btnRemove;
    CEdit m_editPath;
    CBitmapBtn m_btnOK, m_btnCancel;
    CListBox m_listGames;
    ConfigData* m_pConfig = nullptr;
    CString m_strTooMany;
    CString m_strTooLong;

protected:
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;
    void OnDraw(CDC* dc) override;

    LRESULT OnCreate(WPARAM, LPARAM);
    LRESULT OnLButtonDown(WPARAM, LPARAM);
    LRESULT OnDestroy(WPARAM, LPARAM);
    DECLARE_MESSAGE_MAP()

private:
    void LoadSkin();
    void Browse();
    // A refusal, told in the message box over the editor.
    void Tell(const CString& message);
    // The field's name appended to the list and the field emptied; false when the name was
    // refused (the field keeps it). An empty field adds nothing and answers true.
    bool AddFromField();
    void RemoveSelected();
    void StoreList();
};

// The notices' texts when "Strings.xml" has none.
extern const wchar_t* const DEFAULT_TOO_MANY_GAMES_TEXT;
extern const wchar_t* const DEFAULT_GAME_NAME_TOO_LONG_TEXT;
