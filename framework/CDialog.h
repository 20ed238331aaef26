#pragma once
#include "framework/CWnd.h"

// A dialog made from a template in the program's resources (an .rc file). The window is
// linked to the object before its first message, so WM_CREATE reaches the map like
// WM_INITDIALOG does; unmapped messages get the dialog's own default handling.
class CDialog : public CWnd {
public:
    explicit CDialog(UINT templateId = 0, CWnd* parent = nullptr);

    // Runs the dialog modally. Its owner is the parent given, else the main window; that
    // owner and the owners above it are disabled while the dialog runs. The loop hands
    // every message to PreTranslateMessage up the parent chain first. Answers the result
    // given to EndDialog, or -1 when the dialog could not be made or the loop was ended by
    // WM_QUIT (which stays queued for the loop outside).
    virtual INT_PTR DoModal();
    // A modeless dialog; without a parent the main window owns it.
    BOOL Create(UINT templateId, CWnd* parent = nullptr);
    // Ends a modal dialog with the result (DoModal destroys it); hides a modeless one.
    void EndDialog(int result);

    virtual BOOL OnInitDialog() { return TRUE; }
    virtual void OnOK() { EndDialog(IDOK); }
    virtual void OnCancel() { EndDialog(IDCANCEL); }
    // The dialog keys (Tab, Enter, Esc, arrows) for the dialog and its controls.
    BOOL PreTranslateMessage(MSG* msg) override;

    UINT m_nIDTemplate;
    CWnd* m_pParentWnd;

protected:
    LRESULT OnInitDialogMessage(WPARAM, LPARAM);
    void OnIdOk() { OnOK(); }
    void OnIdCancel() { OnCancel(); }
    DECLARE_MESSAGE_MAP()

private:
    static INT_PTR CALLBACK DialogProc(HWND, UINT, WPARAM, LPARAM);
    BOOL CreateFromTemplate(UINT templateId, HWND owner);
    HWND OwnerFor(CWnd* parent) const;
    bool m_modal = false;
    bool m_endModal = false;
    int m_modalResult = -1;
};
