#include "framework/CDialog.h"
#include "framework/CWinApp.h"
#include <vector>

CDialog::CDialog(UINT templateId, CWnd* parent) : m_nIDTemplate(templateId), m_pParentWnd(parent)
{
}

BEGIN_MESSAGE_MAP(CDialog, CWnd)
    ON_MESSAGE(WM_INITDIALOG, OnInitDialogMessage)
    ON_COMMAND(IDOK, OnIdOk)
    ON_COMMAND(IDCANCEL, OnIdCancel)
END_MESSAGE_MAP()

// The maps run in the subclass in front of the dialog's own procedure; what reaches this
// procedure is unhandled, and the dialog manager's default follows.
INT_PTR CALLBACK CDialog::DialogProc(HWND, UINT, WPARAM, LPARAM)
{
    return FALSE;
}

HWND CDialog::OwnerFor(CWnd* parent) const
{
    HWND owner = parent ? parent->m_hWnd : nullptr;
    if (!owner) {
        CWnd* main = AfxGetMainWnd();
        if (main && main != this) owner = main->m_hWnd;
    }
    if (owner && !IsWindow(owner)) owner = nullptr;
    // Only top-level windows own others.
    if (owner) owner = GetAncestor(owner, GA_ROOT);
    return owner == m_hWnd ? nullptr : owner;
}

BOOL CDialog::CreateFromTemplate(UINT templateId, HWND owner)
{
    if (m_hWnd) return FALSE;
    HINSTANCE module = AfxGetResourceHandle();
    HRSRC res = FindResourceW(module, MAKEINTRESOURCEW(templateId), MAKEINTRESOURCEW(5));  // RT_DIALOG
    HGLOBAL block = res ? LoadResource(module, res) : nullptr;
    const DLGTEMPLATE* tpl = block ? (const DLGTEMPLATE*)LockResource(block) : nullptr;
    if (!tpl) return FALSE;
    HWND h;
    {
        CreationLink link(this, L"#32770");
        h = CreateDialogIndirectParamW(module, tpl, owner, &CDialog::DialogProc, (LPARAM)this);
    }
    return h != nullptr && m_hWnd == h;
}

BOOL CDialog::Create(UINT templateId, CWnd* parent)
{
    m_nIDTemplate = templateId;
    m_pParentWnd = parent;
    m_modal = false;
    return CreateFromTemplate(templateId, OwnerFor(parent));
}

INT_PTR CDialog::DoModal()
{
    if (m_hWnd) return -1;
    HWND owner = OwnerFor(m_pParentWnd);
    std::vector<HWND> disabled;
    for (HWND h = owner; h; h = ::GetWindow(h, GW_OWNER)) {
        if (::IsWindowEnabled(h)) {
            ::EnableWindow(h, FALSE);
            disabled.push_back(h);
        }
    }
    m_modal = true;
    m_endModal = false;
    m_modalResult = -1;
    if (CreateFromTemplate(m_nIDTemplate, owner) && !m_endModal) {
        if (!IsWindowVisible()) ShowWindow(SW_SHOWNORMAL);
        MSG msg;
        while (!m_endModal && m_hWnd) {
            BOOL got = GetMessageW(&msg, nullptr, 0, 0);
            if (got == 0) {
                PostQuitMessage((int)msg.wParam);
                break;
            }
            if (got == -1) break;
            if (WalkPreTranslateTree(m_hWnd, &msg)) continue;
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
    }
    for (auto it = disabled.rbegin(); it != disabled.rend(); ++it) ::EnableWindow(*it, TRUE);
    if (m_hWnd) {
        // The owner becomes active before the dialog goes, so activation stays in the program.
        if (owner && ::GetActiveWindow() == m_hWnd) ::SetActiveWindow(owner);
        DestroyWindow();
    }
    m_modal = false;
    return m_modalResult;
}

void CDialog::EndDialog(int result)
{
    m_modalResult = result;
    if (m_modal) {
        m_endModal = true;
        // Wakes the loop, which may be waiting for a message.
        if (m_hWnd) PostMessage(WM_NULL);
    } else if (m_hWnd) {
        ShowWindow(SW_HIDE);
    }
}

LRESULT CDialog::OnInitDialogMessage(WPARAM, LPARAM)
{
    // The standard place of a modal dialog is over its owner; OnInitDialog may move it.
    if (m_modal) CenterWindow(::GetWindow(m_hWnd, GW_OWNER));
    return OnInitDialog();
}

BOOL CDialog::PreTranslateMessage(MSG* msg)
{
    bool input = (msg->message >= WM_KEYFIRST && msg->message <= WM_KEYLAST) ||
                 (msg->message >= WM_MOUSEFIRST && msg->message <= WM_MOUSELAST);
    return input && m_hWnd && ::IsDialogMessageW(m_hWnd, msg);
}
