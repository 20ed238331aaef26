#include "configurator/main_window/CRenameProfileDlg.h"
#include "configurator/main_window/CAPDlg.h"
#include "configurator/GearloomRes.h"
#include "skinkit/SkinButtons.h"
#include "skinkit/SkinDialogParts.h"
#include "skinkit/SkinFiles.h"
#include "skinkit/SkinHandlers.h"
#include "core/ConfigData.h"
#include "core/SkinEntry.h"
#include "framework/CDC.h"

namespace {

constexpr COLORREF kLabelColour = 0x00CCFF;
// What the profile's name field holds, without its terminator.
constexpr int kNameChars = (int)(sizeof(ProfileData::PROFILE_NAME) / sizeof(wchar_t)) - 1;

}  // namespace

BEGIN_MESSAGE_MAP(CRenameProfileDlg, CSkinDialog)
    ON_MESSAGE(WM_CREATE, OnCreate)
    ON_MESSAGE(WM_DESTROY, OnDestroy)
    ON_MESSAGE(WM_LBUTTONDOWN, OnLButtonDown)
END_MESSAGE_MAP()

CRenameProfileDlg::CRenameProfileDlg(CAPDlg* mainDlg)
    : CSkinDialog(IDD_RENAME_PROFILE, mainDlg), m_pMainDlg(mainDlg)
{
}

LRESULT CRenameProfileDlg::OnCreate(WPARAM, LPARAM)
{
    if (Default() == -1) return -1;
    LoadSkin();
    ApplyMaskRegion(m_bmpMask, m_hRgn);
    return 0;
}

void CRenameProfileDlg::LoadSkin()
{
    SIZE size = LoadDialogPictures(L"RENAME_PROFILE", L"RENAME",
                                   {m_bmpMask, m_bmpNormal, m_bmpOver, m_bmpDisabled, m_bmpDown, m_bmpBackground});
    if (size.cx > 0 && size.cy > 0) MoveWindow(0, 0, size.cx, size.cy, TRUE);

    std::vector<SkinItem> strings = ReadSkinSection(L"Strings.xml", L"RENAME_PROFILE");
    const SkinButtonRow rows[] = {
        {L"BUTTON_OK", &m_btnOK, SKIN_CHECK | SKIN_TOOLTIP | SKIN_CAPTION},
        {L"BUTTON_CANCEL", &m_btnCancel, SKIN_CHECK | SKIN_TOOLTIP | SKIN_CAPTION},
        {L"BUTTON_EXIT", &m_btnExit, SKIN_CHECK | SKIN_TOOLTIP},
    };
    CreateSkinButtons(this, strings, rows, sizeof(rows) / sizeof(rows[0]),
                      {m_bmpNormal, m_bmpOver, m_bmpDown, m_bmpDisabled});
    if (const CString* text = FindSkinItem(strings, L"EDIT_NAME")) {
        SkinEntry entry;
        ParseSkinEntry(*text, entry);
        if (m_editName.Create(WS_CHILD | WS_VISIBLE | WS_BORDER | ES_MULTILINE, entry.rect, this, IDC_RENAME_NAME)) {
            m_editName.SetFont(GetFont());
            // No more than the profile's name field holds can be typed or pasted.
            m_editName.LimitText(kNameChars);
        }
    }
}

BOOL CRenameProfileDlg::OnInitDialog()
{
    CSkinDialog::OnInitDialog();
    if (m_editName.m_hWnd) m_editName.SetWindowText(m_strName);
    return TRUE;
}

void CRenameProfileDlg::OnDraw(CDC* dc)
{
    DrawDialogBackground(dc, GetClientRect(), m_bmpBackground);
    dc->SetTextColor(kLabelColour);
    dc->SetBkMode(TRANSPARENT);
    CFont font;
    font.CreateFont(12, 0, 0, 0, FW_BOLD, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0x20, nullptr);
    HGDIOBJ oldFont = dc->SelectObject(font);
    // Read at every paint.
    std::vector<SkinItem> strings = ReadSkinSection(L"Strings.xml", L"RENAME_PROFILE");
    DrawLabelEntry(dc, strings, L"TITLE");
    DrawLabelEntry(dc, strings, L"NAME");
    dc->SelectObject(oldFont);
}

BOOL CRenameProfileDlg::OnCommand(WPARAM wParam, LPARAM lParam)
{
    HWND from = (HWND)lParam;
    if (from && HIWORD(wParam) == BN_CLICKED) {
        if (m_btnOK.m_hWnd && from == m_btnOK.m_hWnd) {
            if (m_pMainDlg) m_pMainDlg->SetProfileName(m_editName.m_hWnd ? m_editName.GetWindowText() : m_strName);
            PostMessage(WM_CLOSE);
        } else if ((m_btnCancel.m_hWnd && from == m_btnCancel.m_hWnd) || (m_btnExit.m_hWnd && from == m_btnExit.m_hWnd)) {
            PostMessage(WM_CLOSE);
        }
    }
    return CSkinDialog::OnCommand(wParam, lParam);
}

BOOL CRenameProfileDlg::PreTranslateMessage(MSG* msg)
{
    if (msg->message == WM_KEYDOWN && msg->wParam == VK_RETURN) return TRUE;
    return CSkinDialog::PreTranslateMessage(msg);
}

LRESULT CRenameProfileDlg::OnDestroy(WPARAM, LPARAM)
{
    LRESULT r = Default();
    m_bmpMask.DeleteObject();
    m_bmpDisabled.DeleteObject();
    m_bmpBackground.DeleteObject();
    m_bmpDown.DeleteObject();
    m_bmpOver.DeleteObject();
    return r;
}

LRESULT CRenameProfileDlg::OnLButtonDown(WPARAM, LPARAM lParam)
{
    DragWindowByBody(m_hWnd, lParam);
    return Default();
}
