#include "skinkit/CSkinPopupMenu.h"
#include "skinkit/SkinFiles.h"
#include "skinkit/SkinHandlers.h"
#include "skinkit/SkinPicture.h"
#include "core/AppPaths.h"
#include "core/Messages.h"
#include "core/XmlDoc.h"
#include "framework/CDC.h"

BEGIN_MESSAGE_MAP(CSkinPopupMenu, CDialog)
    ON_MESSAGE(WM_CREATE, OnCreate)
    ON_MESSAGE(WM_PAINT, OnPaint)
    ON_MESSAGE(WM_ERASEBKGND, OnEraseBkgnd)
    ON_MESSAGE(WM_WINDOWPOSCHANGING, OnWindowPosChanging)
    ON_MESSAGE(WM_DESTROY, OnDestroy)
    ON_MESSAGE(WM_RETAKE_FOCUS, OnRetakeFocus)
    ON_CONTROL_RANGE(LBN_SELCHANGE, 0, 0xFFFF, OnSelChangeRow)
END_MESSAGE_MAP()

CSkinPopupMenu::CSkinPopupMenu(UINT templateId, const PopupMenuKind& kind, CWnd* owner, int* hoverFlag)
    : CDialog(templateId), m_pOwner(owner), m_kind(kind), m_nTemplateId(templateId), m_pHoverFlag(hoverFlag)
{
}

CSkinPopupMenu::~CSkinPopupMenu()
{
    Close();
}

void CSkinPopupMenu::Close()
{
    m_bClosing = true;
    if (m_hWnd) DestroyWindow();
}

void CSkinPopupMenu::CloseSelf()
{
    if (m_bClosing || !m_hWnd) return;
    m_bClosing = true;
    // Over its opening button, the button's own click ends the popup: no notice then.
    m_bNotifyClosed = !(m_pHoverFlag && *m_pHoverFlag == 1);
    ShowWindow(SW_HIDE);
    DestroyWindow();
}

LRESULT CSkinPopupMenu::OnCreate(WPARAM, LPARAM)
{
    if (Default() == -1) return -1;
    LoadSkin();
    return 0;
}

void CSkinPopupMenu::LoadSkin()
{
    // The popup's element lies directly under the root and names its one picture.
    CXmlDoc doc;
    SIZE size = {0, 0};
    if (doc.LoadFile(CString(g_szAppDir) + L"Skins.xml") && doc.FindChildNode(m_kind.skinsElement)) {
        CString file = doc.GetChildText();
        LoadPictureFile(CString(g_szAppDir) + L"skins\\" + file, m_bmpBackground, size);
    }
    // Without its picture the popup has no size and stays out of sight.
    m_nWidth = size.cx;
    m_nHeight = size.cy;
    MoveWindow(0, 0, m_nWidth, m_nHeight, TRUE);
    RECT listRect = {0, 0, m_nWidth, m_nHeight + 5};
    m_list.Create(0x50200061, listRect, this, m_kind.listId);
}

BOOL CSkinPopupMenu::OnInitDialog()
{
    CDialog::OnInitDialog();
    m_list.SetDarkColors();
    m_list.SetWhiteText();
    FillRows();
    int rowHeight = m_list.GetCount() > 0 ? m_list.GetItemHeight(0) : 0;
    HWND after = m_pOwner ? m_pOwner->m_hWnd : nullptr;
    SetWindowPos(after, m_nX, m_nY, m_nWidth, rowHeight * m_list.GetCount(), SWP_SHOWWINDOW);
    m_bPlaced = true;
    m_list.SetFocus();
    m_dwShown = GetTickCount();
    if (!m_dwShown) m_dwShown = 1;
    return TRUE;
}

LRESULT CSkinPopupMenu::OnWindowPosChanging(WPARAM, LPARAM lParam)
{
    if (m_bPlaced) KeepPopupPlace(lParam, m_nX, m_nY);
    return Default();
}

LRESULT CSkinPopupMenu::OnRetakeFocus(WPARAM, LPARAM)
{
    if (!m_bClosing && IsWindowVisible()) {
        SetForegroundWindow();
        m_list.SetFocus();
    }
    return 0;
}

void CSkinPopupMenu::FillRows()
{
    CXmlDoc doc;
    if (!doc.LoadFile(CString(g_szAppDir) + L"Menu.xml")) return;
    // Every element of the menu's name adds its rows, each in the kind's order.
    while (doc.FindChildNode(m_kind.menuElement)) {
        doc.EnterNode();
        for (int i = 0; i < m_kind.rowCount; ++i) {
            doc.RewindChildren();
            if (doc.FindChildNode(m_kind.rows[i])) m_list.AddItem(doc.GetChildText());
        }
        m_list.SetCurSel(m_nSelection);
        doc.LeaveNode();
    }
}

LRESULT CSkinPopupMenu::OnPaint(WPARAM, LPARAM)
{
    CPaintDC dc(this);
    if (m_bmpBackground.GetSafeHandle()) {
        CDC picture;
        picture.CreateCompatibleDC(&dc);
        picture.SelectObject(m_bmpBackground);
        dc.BitBlt(0, 0, m_nWidth, m_nHeight, &picture, 0, 0, SRCCOPY);
    }
    return 0;
}

void CSkinPopupMenu::OnSelChange()
{
    int row = m_list.GetCurSel();
    if (m_pOwner && m_pOwner->m_hWnd) ::PostMessageW(m_pOwner->m_hWnd, m_kind.selectMessage, (WPARAM)row, SelectParam());
}

LRESULT CSkinPopupMenu::OnDestroy(WPARAM, LPARAM)
{
    m_bClosing = true;
    LRESULT r = Default();
    m_bmpBackground.DeleteObject();
    if (m_bNotifyClosed && m_pOwner && m_pOwner->m_hWnd) ::PostMessageW(m_pOwner->m_hWnd, WM_POPUP_CLOSED, 0, 0);
    return r;
}

BOOL CSkinPopupMenu::PreTranslateMessage(MSG* msg)
{
    if (m_kind.swallowsEscEnter && msg->message == WM_KEYDOWN && (msg->wParam == VK_ESCAPE || msg->wParam == VK_RETURN))
        return TRUE;
    return CDialog::PreTranslateMessage(msg);
}
