#pragma once
#include "framework/CDialog.h"
#include "framework/CGdiObject.h"
#include "skinkit/CMenuListBox.h"

// What sets one kind of popup menu apart from the others.
struct PopupMenuKind {
    const wchar_t* skinsElement;     // its picture's element in "Skins.xml"
    const wchar_t* menuElement;      // its rows' element(s) in "Menu.xml"
    const wchar_t* const* rows;      // row element names, in list order
    int rowCount;
    UINT listId;
    UINT selectMessage;              // posted to the owner on a choice: (row, SelectParam())
    bool swallowsEscEnter;           // Esc and Enter do nothing; else the dialog keys handle them
};

// A skinned popup menu: a borderless popup of the size of its one picture, holding a list
// of rows from "Menu.xml". A row chosen (by click or keys) is posted to the owner; losing
// the focus closes the popup, and then WM_POPUP_CLOSED is posted to the owner unless the
// mouse is over the button that opened it (that button's click then closes it for good),
// so the owner can delete the object and clear its pointer.
//
// The owner's protocol: construct it, keep it in the kind's global pointer, SetMenuPos,
// Create, ShowWindow(SW_SHOW). On the select message or at the next opening click: Close,
// delete, clear the pointer. On WM_POPUP_CLOSED: delete it if its window is gone.
class CSkinPopupMenu : public CDialog {
public:
    ~CSkinPopupMenu() override;

    // Screen position of the popup's top-left corner; before Create.
    void SetMenuPos(int x, int y)
    {
        m_nX = x;
        m_nY = y;
    }
    // Modeless, from the kind's template; with no parent the main window owns it.
    BOOL Create(CWnd* parent = nullptr) { return CDialog::Create(m_nTemplateId, parent); }
    // The owner's way to close it: destroys the window without a closed notice.
    void Close();
    bool IsClosing() const { return m_bClosing; }
    // Its own way to close, when the focus went elsewhere or by its Esc and Enter: the
    // window goes and the owner is told, unless the mouse is over the opening button.
    void CloseSelf();

    // Shown moments ago: a focus change that arrives now was asked for before it opened.
    bool JustShown() const { return m_dwShown && GetTickCount() - m_dwShown < 400; }
    // The owner window or one of its children.
    bool IsOpener(HWND hwnd) const
    {
        HWND owner = m_pOwner ? m_pOwner->m_hWnd : nullptr;
        return owner && (hwnd == owner || ::IsChild(owner, hwnd));
    }
    // Takes the focus back once the current message is done.
    void RetakeFocus() { PostMessage(WM_RETAKE_FOCUS); }

    BOOL OnInitDialog() override;
    BOOL PreTranslateMessage(MSG* msg) override;
    void OnOK() override { CloseSelf(); }
    void OnCancel() override { CloseSelf(); }

    int m_nSelection = -1;
    CBitmap m_bmpBackground;
    int m_nWidth = 0;
    int m_nHeight = 0;
    CMenuListBox m_list;
    int m_nX = 0;
    int m_nY = 0;
    CWnd* m_pOwner;

protected:
    // hoverFlag: the opening button's hover flag, or null when the popup has none.
    CSkinPopupMenu(UINT templateId, const PopupMenuKind& kind, CWnd* owner, int* hoverFlag);
    // lParam of the select message.
    virtual LPARAM SelectParam() const { return 0; }

    LRESULT OnCreate(WPARAM, LPARAM);
    LRESULT OnPaint(WPARAM, LPARAM);
    LRESULT OnEraseBkgnd(WPARAM, LPARAM) { return TRUE; }
    LRESULT OnWindowPosChanging(WPARAM, LPARAM);
    LRESULT OnDestroy(WPARAM, LPARAM);
    LRESULT OnRetakeFocus(WPARAM, LPARAM);
    void OnSelChange();
    DECLARE_MESSAGE_MAP()

    const PopupMenuKind& m_kind;
    UINT m_nTemplateId;
    int* m_pHoverFlag;
    bool m_bClosing = false;
    bool m_bNotifyClosed = false;
    bool m_bPlaced = false;
    DWORD m_dwShown = 0;
    static constexpr UINT WM_RETAKE_FOCUS = WM_APP + 1;

private:
    void LoadSkin();
    void FillRows();
    void OnSelChangeRow(UINT) { OnSelChange(); }
};
