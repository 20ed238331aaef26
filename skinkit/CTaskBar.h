#pragma once
#include "framework/CGdiObject.h"
#include "framework/CString.h"
#include "framework/CWnd.h"
#include "skinkit/CBitmapBtn.h"
#include <memory>
#include <vector>

// One folder of the side bar: its header's caption, whether it is open, the window it
// shows while open (not owned) and whether its header takes presses.
class CBarFolder {
public:
    CBarFolder(const wchar_t* name, CWnd* window) : m_strName(name), m_pWnd(window) {}
    virtual ~CBarFolder() = default;
    CString m_strName;
    int m_bOpen = 0;
    CWnd* m_pWnd;
    int m_bDisabled = 0;
};

// The folder side bar of the function picker: a column of folders, each a header button
// over one hosted window (the command tree or a code list) shown while the folder is open.
// At most one folder is open. The macro folder (index 3) has a taller header with the
// NEW_MACRO and DELETE buttons, shown while it is open.
//
// It posts to its parent (found at each post), wParam 0, lParam 0:
//   WM_CLEAR_SELECTION   a folder opened or closed by a press on its header
//   WM_NEW_MACRO         NEW_MACRO clicked
//   WM_DELETE_MACRO      DELETE clicked
//   WM_EDIT_MACRO        the macro list (control id 115) reports LBN_DBLCLK
//   WM_MACRO_FOLDER      ... LBN_SETFOCUS
//   WM_ENABLE_MACRO_EDIT ... LBN_SELCHANGE
// Notifications of the hosted windows are reflected to their objects as for any parent.
class CTaskBar : public CWnd {
public:
    static constexpr int kMaxFolders = 5;
    static constexpr UINT kBarId = 111;
    static constexpr UINT kMacroListId = 115;

    CTaskBar();
    ~CTaskBar() override;

    // A visible child of parent at rect (control id 111), with the header pictures
    // "skins\button-p.bmp" (closed) and "skins\button-m.bmp" (open) and the two macro
    // buttons ("skins\button-b.bmp", captions NEW_MACRO and DELETE of CUSTOM_MACROS in
    // "Functions.xml") from the program folder.
    BOOL CreateBar(const RECT& rect, CWnd* parent);
    // A closed folder with that header caption, hosted window and content height; its
    // index, or -1 when the bar has its five folders already.
    int AddFolder(const wchar_t* name, CWnd* window, int height);
    // Opens folder n (0..3) and makes it the current folder, closing the others; -1 closes
    // every folder. Posts nothing.
    void OpenFolder(int n);
    // A disabled macro folder ignores presses on its header; its header button is disabled
    // from the next paint.
    void DisableMacroFolder(int value);
    int GetFolderCount() const { return (int)m_folders.size(); }
    // Null for a folder that does not exist.
    CWnd* GetFolderWindow(int n) const;

    RECT GetHeaderRect(int i) const;
    // Empty while the folder is closed.
    RECT GetContentRect(int i) const;
    int HitTestHeader(POINT client) const;
    // Places and shows an open folder's window or hides a closed one's; the macro buttons
    // show exactly while the macro folder is open.
    void ShowFolderContent(int i);

    // The folder the picker counts as current: set by presses on the bar and by OpenFolder
    // and by the picker itself; a click on a header button leaves it.
    int m_nCurrentFolder = -1;

    std::vector<std::unique_ptr<CBarFolder>> m_folders;
    std::vector<int> m_heights;
    int m_nHeaderHeight = 20;
    CBitmapBtn m_headerButtons[kMaxFolders];
    CBitmapBtn m_newMacroButton;
    CBitmapBtn m_deleteButton;
    CBitmap m_bmpOpenHeader;
    CBitmap m_bmpClosedHeader;

protected:
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;
    // Header button i: its picture for the folder's state, its place (20 pixels of it left
    // of the bar), caption and enabled state; the macro buttons under the macro header.
    void LayoutHeader(int i);
    // A press on folder i's header: the selection cleared, the folder flipped, the others
    // closed.
    void PressHeader(int i);
    void CloseAll();
    void ShowAll();
    void PostToParent(UINT message);

    LRESULT OnPaint(WPARAM, LPARAM);
    LRESULT OnEraseBkgnd(WPARAM, LPARAM) { return TRUE; }
    LRESULT OnLButtonDown(WPARAM, LPARAM);
    void OnMacroListDblClk();
    void OnMacroListSetFocus();
    void OnMacroListSelChange();
    DECLARE_MESSAGE_MAP()
};

// The picker's one side bar; the picker sets it when it makes the bar and clears it when
// its window is destroyed.
extern CTaskBar* g_pTaskBar;
