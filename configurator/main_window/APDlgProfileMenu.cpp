// The main window's profile popup and what only it opens: rename, and the two About boxes.
#include "configurator/main_window/CAPDlg.h"
#include "configurator/main_window/CAboutDialog.h"
#include "configurator/main_window/CAboutDlg.h"
#include "configurator/main_window/CRenameProfileDlg.h"
#include "configurator/GearloomRes.h"
#include "skinkit/SkinFiles.h"
#include "framework/CMenu.h"

LRESULT CAPDlg::OnProfileMenu(WPARAM, LPARAM)
{
    ShowProfileMenu();
    return 1;
}

void CAPDlg::ShowProfileMenu()
{
    std::vector<SkinItem> texts = ReadSkinSection(L"Menu.xml", L"PROFILE_MENU");
    auto text = [&texts](const wchar_t* name) {
        const CString* t = FindSkinItem(texts, name);
        return t ? *t : CString();
    };
    CMenu menu, skins;
    menu.CreatePopupMenu();
    skins.CreatePopupMenu();
    SetForegroundWindow();
    skins.AppendMenu(MF_STRING, ID_SKIN_ULK, text(L"ULK"));
    skins.AppendMenu(MF_SEPARATOR);
    skins.AppendMenu(MF_STRING, ID_SKIN_GENERIC, text(L"GENERIC"));
    menu.AppendMenu(MF_STRING, ID_RESET_PROFILE, text(L"RESET"));
    menu.AppendMenu(MF_SEPARATOR);
    menu.AppendMenu(MF_STRING, ID_EDIT_GAMES, text(L"EDIT"));
    menu.AppendMenu(MF_SEPARATOR);
    menu.AppendMenu(MF_STRING, ID_RENAME_PROFILE, text(L"RENAME"));
    menu.AppendMenu(MF_SEPARATOR);
    menu.AppendMenu(MF_STRING, ID_EXPORT_PROFILE, text(L"EXPORT"));
    menu.AppendMenu(MF_SEPARATOR);
    menu.AppendMenu(MF_STRING, ID_IMPORT_PROFILE, text(L"IMPORT"));
    menu.AppendMenu(MF_SEPARATOR);
    // The submenu goes with the menu that holds it.
    menu.AppendMenu(MF_POPUP, (UINT_PTR)skins.Detach(), text(L"CHANGE_SKIN"));
    menu.AppendMenu(MF_SEPARATOR);
    menu.AppendMenu(MF_STRING, ID_PRINT_PROFILE, text(L"PRINT"));
    menu.AppendMenu(MF_SEPARATOR);
    menu.AppendMenu(MF_STRING, ID_ABOUT, text(L"ABOUT"));
    ShowMenuAtCursor(menu);
}

void CAPDlg::OnRenameProfile()
{
    int id = m_config.PROFILE_ID;
    if (id < 0 || id >= PROFILE_COUNT) return;
    CRenameProfileDlg dlg(this);
    const ProfileData& p = m_config.profiles[id];
    dlg.SetName(CString(p.PROFILE_NAME, FieldLength(p.PROFILE_NAME)));
    RunModal(dlg);
}

void CAPDlg::SetProfileName(const CString& name)
{
    int id = m_config.PROFILE_ID;
    if (id < 0 || id >= PROFILE_COUNT) return;
    // A longer name is cut to what the field holds.
    CopyField(m_config.profiles[id].PROFILE_NAME, name);
    CString stored(m_config.profiles[id].PROFILE_NAME);
    if (m_profileButtons[id].m_hWnd) m_profileButtons[id].SetToolTipText(&stored);
    RefreshFromProfile();
}

void CAPDlg::OnAbout()
{
    CAboutDialog dlg(this);
    RunModal(dlg);
}

void CAPDlg::OnSystemAbout()
{
    CAboutDlg dlg(this);
    RunModal(dlg);
}

INT_PTR CAPDlg::RunModal(CDialog& dlg)
{
    DisableSidePanels();
    INT_PTR result = dlg.DoModal();
    EnableSidePanels();
    return result;
}
