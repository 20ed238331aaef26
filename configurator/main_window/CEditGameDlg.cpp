#include "configurator/main_window/CEditGameDlg.h"
#include "configurator/main_window/GameList.h"
#include "configurator/GearloomRes.h"
#include "skinkit/CWarningOneDlg.h"
#include "skinkit/SkinButtons.h"
#include "skinkit/SkinDialogParts.h"
#include "skinkit/SkinFiles.h"
#include "skinkit/SkinHandlers.h"
#include "skinkit/SkinRegion.h"
#include "core/SkinEntry.h"
#include "framework/CDC.h"
#include "framework/CFileDialog.h"

const wchar_t* const DEFAULT_TOO_MANY_GAMES_TEXT =
    L"A profile holds at most ten games. Remove one before you add another.";
const wchar_t* const DEFAULT_GAME_NAME_TOO_LONG_TEXT =
    L"This name is too long: a game's program name can have at most 254 characters.";

namespace {

constexpr COLORREF kTitleColour = 0x00CCFF;

}  // namespace

BEGIN_MESSAGE_MAP(CEditGameDlg, CSkinDialog)
    ON_MESSAGE(WM_CREATE, OnCreate)
    ON_MESSAGE(WM_LBUTTONDOWN, OnLButtonDown)
    ON_MESSAGE(WM_DESTROY, OnDestroy)
END_MESSAGE_MAP()

CEditGameDlg::CEditGameDlg(CWnd* parent)
    : CSkinDialog(IDD_EDIT_GAME, parent), m_strTooMany(DEFAULT_TOO_MANY_GAMES_TEXT),
      m_strTooLong(DEFAULT_GAME_NAME_TOO_LONG_TEXT)
{
}

LRESULT CEditGameDlg::OnCreate(WPARAM, LPARAM)
{
    if (Default() == -1) return -1;
    LoadSkin();
    ApplyMaskRegion(m_bmpMask, m_hRgn);
    return 0;
}

void CEditGameDlg::LoadSkin()
{
    SIZE size = LoadDialogPictures(L"EDIT_GAME", L"EDIT_GAME",
                                   {m_bmpMask, m_bmpNormal, m_bmpOver, m_bmpDisabled, m_bmpDown, m_bmpBackground});
    // Without its picture the dialog keeps its template's size rather than none at all.
    if (size.cx > 0 && size.cy > 0) MoveWindow(0, 0, size.cx, size.cy, TRUE);

    std::vector<SkinItem> strings = ReadSkinSection(L"Strings.xml", L"EDIT_GAME");
    const unsigned captioned = SKIN_CHECK | SKIN_TOOLTIP | SKIN_CAPTION;
    const SkinButtonRow rows[] = {
        {L"BUTTON_EXIT", &m_btnExit, SKIN_CHECK | SKIN_TOOLTIP},
        {L"BUTTON_BROWSE", &m_btnBrowse, captioned},
        {L"BUTTON_ADD", &m_btnAdd, captioned},
        {L"BUTTON_REMOVE", &m_btnRemove, captioned},
        {L"BUTTON_OK", &m_btnOK, captioned},
        {L"BUTTON_CANCEL", &m_btnCancel, captioned},
    };
    CreateSkinButtons(this, strings, rows, sizeof(rows) / sizeof(rows[0]),
                      {m_bmpNormal, m_bmpOver, m_bmpDown, m_bmpDisabled});

    SkinEntry entry;
    if (const CString* path = FindSkinItem(strings, L"BUTTON_PATH")) {
        ParseSkinEntry(*path, entry);
        // Typing and pasting stop where a slot ends.
        if (m_editPath.Create(WS_CHILD | WS_VISIBLE | WS_BORDER | ES_MULTILINE, entry.rect, this, GAME_PATH_ID))
            m_editPath.LimitText(GAME_NAME_MAX);
    }
    if (const CString* list = FindSkinItem(strings, L"LIST_BOX")) {
        ParseSkinEntry(*list, entry);
        m_listGames.Create(WS_CHILD | WS_VISIBLE | WS_VSCROLL, entry.rect, this, GAME_LIST_ID);
    }
    if (const CString* text = FindSkinItem(strings, L"STRING_WARNING_TOO_MANY_GAMES")) m_strTooMany = *text;
    if (const CString* text = FindSkinItem(strings, L"STRING_WARNING_GAME_NAME_TOO_LONG")) m_strTooLong = *text;
}

BOOL CEditGameDlg::OnInitDialog()
{
    CSkinDialog::OnInitDialog();
    // The dialog's font arrives after WM_CREATE, where the field and the list were made.
    if (m_editPath.m_hWnd) m_editPath.SetFont(GetFont(), FALSE);
    if (m_listGames.m_hWnd) m_listGames.SetFont(GetFont(), FALSE);
    if (m_pConfig && m_pConfig->PROFILE_ID >= 0 && m_pConfig->PROFILE_ID < PROFILE_COUNT) {
        for (const CString& name : ReadGameList(m_pConfig->profiles[m_pConfig->PROFILE_ID]))
            m_listGames.AddString(name);
    }
    return TRUE;
}

BOOL CEditGameDlg::PreTranslateMessage(MSG* msg)
{
    if (msg->message == WM_KEYDOWN) {
        // Enter does nothing here; Esc ends the editor as Cancel does, wherever the focus is.
        if (msg->wParam == VK_RETURN) return TRUE;
        if (msg->wParam == VK_ESCAPE) {
            PostMessage(WM_CLOSE);
            return TRUE;
        }
    }
    return CSkinDialog::PreTranslateMessage(msg);
}

void CEditGameDlg::SetPathText(const CString& text)
{
    m_editPath.SetWindowText(text);
    m_editPath.RedrawWindow();
}

BOOL CEditGameDlg::OnCommand(WPARAM wParam, LPARAM lParam)
{
    HWND from = (HWND)lParam;
    if (from) {
        if (from == m_btnExit.m_hWnd || from == m_btnCancel.m_hWnd) {
            PostMessage(WM_CLOSE);
        } else if (from == m_btnBrowse.m_hWnd) {
            Browse();
        } else if (from == m_btnAdd.m_hWnd) {
            AddFromField();
        } else if (from == m_btnRemove.m_hWnd) {
            RemoveSelected();
        } else if (from == m_btnOK.m_hWnd) {
            // A name left in the field joins the list first; a refused one keeps the editor open.
            if (AddFromField()) {
                StoreList();
                PostMessage(WM_CLOSE);
            }
        }
    }
    return CSkinDialog::OnCommand(wParam, lParam);
}

void CEditGameDlg::Browse()
{
    CFileDialog dialog(TRUE, nullptr, nullptr, OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT, L"*.exe|*.exe||", this);
    if (dialog.DoModal() == IDOK) SetPathText(GameFileName(dialog.GetPathName()));
}

bool CEditGameDlg::AddFromField()
{
    if (!m_editPath.m_hWnd || !m_listGames.m_hWnd) return true;
    CString name = m_editPath.GetWindowText();
    if (name.IsEmpty()) return true;
    switch (CheckGameName(m_listGames.GetCount(), name)) {
    case GameNameCheck::TooMany:
        Tell(m_strTooMany);
        return false;
    case GameNameCheck::TooLong:
        Tell(m_strTooLong);
        return false;
    case GameNameCheck::Fits:
        break;
    }
    m_listGames.AddString(name);
    SetPathText(L"");
    return true;
}

void CEditGameDlg::RemoveSelected()
{
    int row = m_listGames.GetCurSel();
    if (row != LB_ERR) m_listGames.SendMessage(LB_DELETESTRING, (WPARAM)row);
}

void CEditGameDlg::StoreList()
{
    if (!m_pConfig || m_pConfig->PROFILE_ID < 0 || m_pConfig->PROFILE_ID >= PROFILE_COUNT) return;
    std::vector<CString> rows;
    for (int i = 0; i < m_listGames.GetCount(); ++i) rows.push_back(m_listGames.GetText(i));
    StoreGameList(m_pConfig->profiles[m_pConfig->PROFILE_ID], rows);
}

void CEditGameDlg::Tell(const CString& message)
{
    CWarningOneDlg box(message);
    box.m_pParentWnd = this;
    box.DoModal();
}

void CEditGameDlg::OnDraw(CDC* dc)
{
    DrawDialogBackground(dc, GetClientRect(), m_bmpBackground);
    // Read at every paint, so a changed title shows at the next one.
    std::vector<SkinItem> strings = ReadSkinSection(L"Strings.xml", L"EDIT_GAME");
    const CString* title = FindSkinItem(strings, L"EDIT_GAME");
    if (!title) return;
    TextEntry entry;
    ParseTextEntry(*title, entry);
    CFont font;
    font.CreateFont(12, 0, 0, 0, FW_BOLD, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, FF_SWISS, L"MS Shell Dlg");
    HGDIOBJ oldFont = dc->SelectObject(font);
    dc->SetBkMode(TRANSPARENT);
    dc->SetTextColor(kTitleColour);
    UINT oldAlign = dc->SetTextAlign(TA_CENTER);
    dc->TextOut(entry.x, entry.y, entry.text);
    dc->SetTextAlign(oldAlign);
    dc->SelectObject(oldFont);
}

LRESULT CEditGameDlg::OnLButtonDown(WPARAM, LPARAM lParam)
{
    DragWindowByBody(m_hWnd, lParam);
    return Default();
}

LRESULT CEditGameDlg::OnDestroy(WPARAM, LPARAM)
{
    LRESULT r = Default();
    m_bmpMask.DeleteObject();
    m_bmpDisabled.DeleteObject();
    m_bmpBackground.DeleteObject();
    m_bmpDown.DeleteObject();
    m_bmpOver.DeleteObject();
    return r;
}
