#include "skinkit/CTaskBar.h"
#include "skinkit/SkinFiles.h"
#include "skinkit/SkinPicture.h"
#include "skinkit/TaskBarLayout.h"
#include "core/AppPaths.h"
#include "core/Messages.h"
#include "framework/CDC.h"
#include <windowsx.h>

CTaskBar* g_pTaskBar = nullptr;

namespace {

void LoadSkinFile(const wchar_t* name, CBitmap& picture)
{
    SIZE size;
    LoadPictureFile(CString(g_szAppDir) + L"skins\\" + name, picture, size);
}

// The text of the last child of that name, or empty.
CString LastItem(const std::vector<SkinItem>& items, const wchar_t* name)
{
    CString text;
    for (const SkinItem& item : items)
        if (item.name == name) text = item.text;
    return text;
}

}  // namespace

BEGIN_MESSAGE_MAP(CTaskBar, CWnd)
    ON_MESSAGE(WM_PAINT, OnPaint)
    ON_MESSAGE(WM_ERASEBKGND, OnEraseBkgnd)
    ON_MESSAGE(WM_LBUTTONDOWN, OnLButtonDown)
    ON_CONTROL(LBN_DBLCLK, CTaskBar::kMacroListId, OnMacroListDblClk)
    ON_CONTROL(LBN_SETFOCUS, CTaskBar::kMacroListId, OnMacroListSetFocus)
    ON_CONTROL(LBN_SELCHANGE, CTaskBar::kMacroListId, OnMacroListSelChange)
END_MESSAGE_MAP()

CTaskBar::CTaskBar() = default;

CTaskBar::~CTaskBar()
{
    // The buttons are children: they go with the bar's window, before the pictures.
    DestroyWindow();
}

BOOL CTaskBar::CreateBar(const RECT& rect, CWnd* parent)
{
    BOOL created = CreateEx(0, RegisterWndClass(CS_DBLCLKS, LoadCursorW(nullptr, IDC_ARROW)), L"",
                            WS_CHILD | WS_VISIBLE, rect.left, rect.top, rect.right - rect.left,
                            rect.bottom - rect.top, parent ? parent->m_hWnd : nullptr, (HMENU)(UINT_PTR)kBarId);
    LoadSkinFile(L"button-p.bmp", m_bmpClosedHeader);
    LoadSkinFile(L"button-m.bmp", m_bmpOpenHeader);
    if (!created) return FALSE;

    CBitmap small;
    LoadSkinFile(L"button-b.bmp", small);
    std::vector<SkinItem> captions = ReadSkinSection(L"Functions.xml", L"CUSTOM_MACROS");
    struct {
        CBitmapBtn& button;
        const wchar_t* caption;
    } buttons[] = {{m_newMacroButton, L"NEW_MACRO"}, {m_deleteButton, L"DELETE"}};
    for (auto& b : buttons) {
        if (!b.button.Create(L"", WS_CHILD | WS_VISIBLE, RECT{0, 0, 0, 0}, this, 0)) continue;
        b.button.SetBitmaps(small, small, small, small, RECT{0, 0, 75, 22});
        b.button.SetCaption(LastItem(captions, b.caption));
        b.button.ShowWindow(SW_HIDE);
    }
    return TRUE;
}

int CTaskBar::AddFolder(const wchar_t* name, CWnd* window, int height)
{
    int i = GetFolderCount();
    if (i >= kMaxFolders) return -1;
    m_folders.push_back(std::make_unique<CBarFolder>(name, window));
    m_heights.push_back(height);
    CBitmapBtn& header = m_headerButtons[i];
    if (m_hWnd && header.Create(L"", WS_CHILD | WS_VISIBLE, RECT{0, 0, 0, 0}, this, 0)) {
        header.SetBitmaps(m_bmpClosedHeader, m_bmpClosedHeader, m_bmpClosedHeader, m_bmpClosedHeader,
                          RECT{0, 0, 170, 19});
        header.ShowWindow(SW_HIDE);
    }
    return i;
}

CWnd* CTaskBar::GetFolderWindow(int n) const
{
    return n >= 0 && n < GetFolderCount() ? m_folders[n]->m_pWnd : nullptr;
}

namespace {

std::vector<FolderPlace> Places(const CTaskBar& bar)
{
    std::vector<bool> open;
    for (const auto& f : bar.m_folders) open.push_back(f->m_bOpen != 0);
    return LayoutFolders(bar.m_heights, open, bar.GetClientRect().right);
}

}  // namespace

RECT CTaskBar::GetHeaderRect(int i) const
{
    std::vector<FolderPlace> places = Places(*this);
    return i >= 0 && i < (int)places.size() ? places[i].header : RECT{0, 0, 0, 0};
}

RECT CTaskBar::GetContentRect(int i) const
{
    std::vector<FolderPlace> places = Places(*this);
    return i >= 0 && i < (int)places.size() ? places[i].content : RECT{0, 0, 0, 0};
}

int CTaskBar::HitTestHeader(POINT client) const
{
    return HeaderAt(Places(*this), client);
}

void CTaskBar::ShowFolderContent(int i)
{
    CWnd* window = GetFolderWindow(i);
    if (!window || !window->m_hWnd) return;
    if (m_folders[i]->m_bOpen) {
        window->MoveWindow(GetContentRect(i));
        window->ShowWindow(SW_SHOW);
        window->Invalidate();
    } else {
        window->ShowWindow(SW_HIDE);
    }
    int show = m_folders[i]->m_bOpen && i == TASKBAR_MACRO_FOLDER ? SW_SHOW : SW_HIDE;
    if (m_newMacroButton.m_hWnd) m_newMacroButton.ShowWindow(show);
    if (m_deleteButton.m_hWnd) m_deleteButton.ShowWindow(show);
}

void CTaskBar::ShowAll()
{
    for (int i = 0; i < GetFolderCount(); ++i) ShowFolderContent(i);
    Invalidate();
}

void CTaskBar::CloseAll()
{
    for (auto& f : m_folders) f->m_bOpen = 0;
}

void CTaskBar::OpenFolder(int n)
{
    if (n == -1) {
        for (int i = 0; i < GetFolderCount(); ++i) {
            m_folders[i]->m_bOpen = 0;
            ShowFolderContent(i);
            Invalidate();
        }
        return;
    }
    for (int i = 0; i <= TASKBAR_MACRO_FOLDER && i < GetFolderCount(); ++i) {
        m_folders[i]->m_bOpen = i == n;
        if (i == n) m_nCurrentFolder = n;
        ShowFolderContent(i);
        Invalidate();
    }
}

void CTaskBar::DisableMacroFolder(int value)
{
    if (TASKBAR_MACRO_FOLDER < GetFolderCount()) m_folders[TASKBAR_MACRO_FOLDER]->m_bDisabled = value;
    Invalidate();
}

void CTaskBar::PostToParent(UINT message)
{
    ::PostMessageW(::GetParent(m_hWnd), message, 0, 0);
}

void CTaskBar::PressHeader(int i)
{
    PostToParent(WM_CLEAR_SELECTION);
    int open = !m_folders[i]->m_bOpen;
    CloseAll();
    m_folders[i]->m_bOpen = open;
    ShowAll();
}

void CTaskBar::LayoutHeader(int i)
{
    CBitmapBtn& header = m_headerButtons[i];
    if (!header.m_hWnd) return;
    const CBarFolder& folder = *m_folders[i];
    CBitmap& picture = folder.m_bOpen ? m_bmpOpenHeader : m_bmpClosedHeader;
    header.SetBitmaps(picture, picture, picture, picture, RECT{1, 1, 171, 20});
    RECT r = GetHeaderRect(i);
    header.MoveWindow(r.left - 20, r.top + 5, 170, 19);
    header.ShowWindow(SW_SHOW);
    header.EnableWindow(!folder.m_bDisabled);
    header.SetCaption(folder.m_strName);
    if (i == TASKBAR_MACRO_FOLDER) {
        if (m_newMacroButton.m_hWnd) m_newMacroButton.MoveWindow(r.left, r.top + 30, 75, 22);
        if (m_deleteButton.m_hWnd) m_deleteButton.MoveWindow(r.left + 80, r.top + 30, 75, 22);
    }
}

LRESULT CTaskBar::OnPaint(WPARAM, LPARAM)
{
    for (int i = 0; i < GetFolderCount(); ++i) LayoutHeader(i);
    CPaintDC dc(this);
    dc.FillSolidRect(GetClientRect(), RGB(0, 0, 0));
    return 0;
}

LRESULT CTaskBar::OnLButtonDown(WPARAM, LPARAM lParam)
{
    POINT p = {GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
    int i = HitTestHeader(p);
    m_nCurrentFolder = i;
    if (i >= 0 && m_folders[i]->m_bDisabled) return 0;
    if (i >= 0) {
        PressHeader(i);
    } else {
        CloseAll();
        ShowAll();
    }
    return Default();
}

BOOL CTaskBar::OnCommand(WPARAM wParam, LPARAM lParam)
{
    HWND from = (HWND)lParam;
    if (from) {
        for (int i = 0; i < GetFolderCount(); ++i)
            if (m_headerButtons[i].m_hWnd == from) PressHeader(i);
        if (from == m_newMacroButton.m_hWnd) PostToParent(WM_NEW_MACRO);
        if (from == m_deleteButton.m_hWnd) PostToParent(WM_DELETE_MACRO);
    }
    return CWnd::OnCommand(wParam, lParam);
}

void CTaskBar::OnMacroListDblClk()
{
    PostToParent(WM_EDIT_MACRO);
}

void CTaskBar::OnMacroListSetFocus()
{
    PostToParent(WM_MACRO_FOLDER);
}

void CTaskBar::OnMacroListSelChange()
{
    PostToParent(WM_ENABLE_MACRO_EDIT);
}
