#include "configurator/panels/CChronicleDlg.h"
#include "configurator/panels/CharacterInfo.h"
#include "configurator/panels/CharacterLookup.h"
#include "configurator/main_window/CAPDlg.h"
#include "configurator/GearloomRes.h"
#include "skinkit/CWarningOneDlg.h"
#include "skinkit/PopupMenus.h"
#include "skinkit/SkinButtons.h"
#include "skinkit/SkinDialogParts.h"
#include "skinkit/SkinFiles.h"
#include "skinkit/SkinHandlers.h"
#include "core/AppPaths.h"
#include "core/ConfigData.h"
#include "core/Messages.h"
#include "core/SkinEntry.h"
#include "framework/CDC.h"

namespace {

constexpr COLORREF kLabelColour = 0x00CCFF;
// The realm and the name are kept in fields of this many characters.
constexpr int kNameChars = (int)(sizeof(ProfileData::CHARACTER_NAME) / sizeof(wchar_t)) - 1;
const wchar_t* const kRegionTexts[] = {L"USA", L"EUROPE", L"KOREA", L"TAIWAN", L"CHINA"};

// The wait cursor while the lookups block the window.
class WaitCursor {
public:
    WaitCursor() : m_old(SetCursor(LoadCursorW(nullptr, IDC_WAIT))) {}
    ~WaitCursor() { SetCursor(m_old); }
    WaitCursor(const WaitCursor&) = delete;
    WaitCursor& operator=(const WaitCursor&) = delete;

private:
    HCURSOR m_old;
};

bool Is(const CWnd& control, HWND from)
{
    return control.m_hWnd && control.m_hWnd == from;
}

}  // namespace

BEGIN_MESSAGE_MAP(CChronicleDlg, CSkinDialog)
    ON_MESSAGE(WM_CREATE, OnCreate)
    ON_MESSAGE(WM_DESTROY, OnDestroy)
    ON_MESSAGE(WM_LBUTTONDOWN, OnLButtonDown)
    ON_MESSAGE(WM_REGION_SELECT, OnRegionSelect)
    ON_MESSAGE(WM_POPUP_CLOSED, OnPopupClosed)
END_MESSAGE_MAP()

CChronicleDlg::CChronicleDlg(CAPDlg* mainDlg) : CSkinDialog(IDD_CHRONICLE_DIALOG, mainDlg), m_pMainDlg(mainDlg) {}

LRESULT CChronicleDlg::OnCreate(WPARAM, LPARAM)
{
    if (Default() == -1) return -1;
    LoadSkin();
    ApplyMaskRegion(m_bmpMask, m_hRgn);
    return 0;
}

void CChronicleDlg::LoadSkin()
{
    SIZE size = LoadDialogPictures(L"CHRONICLE", L"CHRONICLE",
                                   {m_bmpMask, m_bmpNormal, m_bmpOver, m_bmpDisabled, m_bmpDown, m_bmpBackground});
    std::vector<SkinItem> pictures = ReadSkinSection(L"Skins.xml", L"CHRONICLE");
    if (const CString* file = FindSkinItem(pictures, L"CHRONICLE_NO_PICTURE_CHARACTER"))
        m_strNoPicture = CString(g_szAppDir) + L"skins\\" + *file;
    if (size.cx > 0 && size.cy > 0) MoveWindow(0, 0, size.cx, size.cy, TRUE);

    std::vector<SkinItem> strings = ReadSkinSection(L"Strings.xml", L"CHRONICLE");
    const SkinButtonRow rows[] = {
        {L"BUTTON_EXIT", &m_btnExit, SKIN_CHECK | SKIN_TOOLTIP},
        {L"BUTTON_OK", &m_btnOK, SKIN_CHECK | SKIN_TOOLTIP | SKIN_CAPTION},
        {L"BUTTON_CANCEL", &m_btnCancel, SKIN_CHECK | SKIN_TOOLTIP | SKIN_CAPTION},
        {L"BUTTON_REGION", &m_btnRegion, SKIN_CHECK | SKIN_TOOLTIP | SKIN_CAPTION},
    };
    CreateSkinButtons(this, strings, rows, sizeof(rows) / sizeof(rows[0]),
                      {m_bmpNormal, m_bmpOver, m_bmpDown, m_bmpDisabled});
    const struct {
        const wchar_t* entry;
        CEdit& edit;
        UINT id;
    } edits[] = {{L"EDIT_SERVER_NAME", m_editRealm, IDC_REALM_EDIT}, {L"EDIT_CHARACTER_NAME", m_editName, IDC_CHARACTER_EDIT}};
    const DWORD editStyle = WS_CHILD | WS_VISIBLE | WS_BORDER | WS_TABSTOP | ES_MULTILINE | ES_AUTOHSCROLL;
    for (const auto& e : edits) {
        const CString* text = FindSkinItem(strings, e.entry);
        if (!text) continue;
        SkinEntry entry;
        ParseSkinEntry(*text, entry);
        if (e.edit.Create(editStyle, entry.rect, this, e.id)) e.edit.LimitText(kNameChars);
    }
    const struct {
        const wchar_t* entry;
        CString& text;
    } messages[] = {{L"STRING_ENTER_CHARACTER_NAME", m_strEnterCharacterName},
                    {L"STRING_ENTER_REALM_NAME", m_strEnterRealmName},
                    {L"STRING_NOT_FIND_CHARACTER", m_strNotFound}};
    for (const auto& m : messages)
        if (const CString* text = FindSkinItem(strings, m.entry)) m.text = *text;
}

BOOL CChronicleDlg::OnInitDialog()
{
    CSkinDialog::OnInitDialog();
    SetRegionText(m_nRegion);
    m_font.CreateFont(18, 0, 0, 0, FW_NORMAL, 0, 0, 0, 0, 0, 0, 0, 0, L"MS Shell Dlg");
    if (m_editRealm.m_hWnd) m_editRealm.SetFont(m_font, TRUE);
    if (m_editName.m_hWnd) m_editName.SetFont(m_font, TRUE);
    return TRUE;
}

void CChronicleDlg::SetRegionText(int index)
{
    if (index < 0 || index >= (int)(sizeof(kRegionTexts) / sizeof(kRegionTexts[0]))) index = 0;
    std::vector<SkinItem> texts = ReadSkinSection(L"Menu.xml", L"CHRONICLE");
    const CString* text = FindSkinItem(texts, kRegionTexts[index]);
    if (!m_btnRegion.m_hWnd) return;
    m_btnRegion.SetCaption(text ? *text : CString());
    m_btnRegion.RedrawWindow();
}

void CChronicleDlg::OnDraw(CDC* dc)
{
    DrawDialogBackground(dc, GetClientRect(), m_bmpBackground);
    CFont font;
    font.CreateFont(12, 0, 0, 0, FW_BOLD, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, FF_SWISS, L"MS Shell Dlg");
    HGDIOBJ oldFont = dc->SelectObject(font);
    dc->SetTextColor(kLabelColour);
    dc->SetBkMode(TRANSPARENT);
    // Read at every paint.
    std::vector<SkinItem> strings = ReadSkinSection(L"Strings.xml", L"CHRONICLE");
    DrawLabelEntry(dc, strings, L"CHRONICLE_TITLE", true);
    for (const wchar_t* name : {L"SERVER_NAME", L"CHARACTER_NAME", L"REGION"}) DrawLabelEntry(dc, strings, name);
    dc->SelectObject(oldFont);
}

BOOL CChronicleDlg::OnCommand(WPARAM wParam, LPARAM lParam)
{
    HWND from = (HWND)lParam;
    if (from && HIWORD(wParam) == BN_CLICKED) {
        if (Is(m_btnExit, from))
            PostMessage(WM_CLOSE);
        else if (Is(m_btnCancel, from))
            OnCancel();
        else if (Is(m_btnRegion, from))
            ToggleRegionMenu();
        else if (Is(m_btnOK, from))
            Find(true);
    }
    return CSkinDialog::OnCommand(wParam, lParam);
}

BOOL CChronicleDlg::PreTranslateMessage(MSG* msg)
{
    if (msg->message == WM_KEYDOWN && msg->wParam == VK_RETURN &&
        (msg->hwnd == m_hWnd || ::IsChild(m_hWnd, msg->hwnd))) {
        Find(false);
        return TRUE;
    }
    return CSkinDialog::PreTranslateMessage(msg);
}

void CChronicleDlg::Find(bool everyRoad)
{
    CString realm = m_editRealm.m_hWnd ? m_editRealm.GetWindowText() : CString();
    CString name = m_editName.m_hWnd ? m_editName.GetWindowText() : CString();
    if (realm.IsEmpty()) {
        Notice(m_strEnterRealmName);
        return;
    }
    if (name.IsEmpty()) {
        Notice(m_strEnterCharacterName);
        return;
    }
    BOOL found = FALSE;
    {
        WaitCursor wait;
        if (everyRoad)
            found = LookupCharacterApi(realm, name) || LookupCharacterSheet(realm, name) ||
                    LookupCharacterPage(realm, name);
        else
            found = LookupCharacterPage(realm, name);
        if (!found && everyRoad) Notice(m_strNotFound);
    }
    if (!found) return;
    CharacterInfo info;
    info.region = m_nRegion;
    info.server = realm;
    info.name = name;
    info.level = m_strLevel;
    info.className = m_strClass;
    info.race = m_strRace;
    if (m_pMainDlg) m_pMainDlg->SetCharacter(info);
    OnOK();
}

void CChronicleDlg::Notice(const CString& message)
{
    CWarningOneDlg box(message);
    // Over this dialog, which waits for it.
    box.m_pParentWnd = this;
    box.DoModal();
}

BOOL CChronicleDlg::LookupCharacterApi(const CString& realm, const CString& name)
{
    CharacterFound found;
    return TakeFound(::LookupCharacterApi(m_nRegion, realm, name, found), found);
}

BOOL CChronicleDlg::LookupCharacterSheet(const CString& realm, const CString& name)
{
    CharacterFound found;
    return TakeFound(::LookupCharacterSheet(m_nRegion, realm, name, m_strNoPicture, found), found);
}

BOOL CChronicleDlg::LookupCharacterPage(const CString& realm, const CString& name)
{
    CharacterFound found;
    return TakeFound(::LookupCharacterPage(m_nRegion, realm, name, m_strNoPicture, found), found);
}

BOOL CChronicleDlg::TakeFound(BOOL ok, const CharacterFound& found)
{
    if (!ok) return FALSE;
    m_strLevel = found.level;
    m_strClass = found.className;
    m_strRace = found.race;
    m_strPortraitUrl = found.portraitUrl;
    return TRUE;
}

void CChronicleDlg::ToggleRegionMenu()
{
    if (g_pRegionMenu) {
        CloseRegionMenu();
        return;
    }
    RECT r = m_btnRegion.GetClientRect();
    m_btnRegion.ClientToScreen(&r);
    g_pRegionMenu = new CRegionMenu(this, m_btnRegion.GetHoverFlagPtr());
    g_pRegionMenu->SetMenuPos(r.left + 6, r.bottom);
    // Owned by this dialog, so it stays above it.
    g_pRegionMenu->Create(this);
    g_pRegionMenu->ShowWindow(SW_SHOW);
}

void CChronicleDlg::CloseRegionMenu()
{
    if (!g_pRegionMenu) return;
    g_pRegionMenu->Close();
    delete g_pRegionMenu;
    g_pRegionMenu = nullptr;
}

LRESULT CChronicleDlg::OnRegionSelect(WPARAM wParam, LPARAM)
{
    CloseRegionMenu();
    m_nRegion = (int)wParam;
    SetRegionText(m_nRegion);
    return 1;
}

LRESULT CChronicleDlg::OnPopupClosed(WPARAM, LPARAM)
{
    // The popup closed itself (the focus went elsewhere): the next click opens a new one.
    if (g_pRegionMenu && !g_pRegionMenu->m_hWnd) {
        delete g_pRegionMenu;
        g_pRegionMenu = nullptr;
    }
    return 0;
}

LRESULT CChronicleDlg::OnDestroy(WPARAM, LPARAM)
{
    LRESULT r = Default();
    CloseRegionMenu();
    return r;
}

LRESULT CChronicleDlg::OnLButtonDown(WPARAM, LPARAM lParam)
{
    DragWindowByBody(m_hWnd, lParam);
    return Default();
}
