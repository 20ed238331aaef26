#include "configurator/main_window/CAboutDialog.h"
#include "configurator/main_window/AboutVersions.h"
#include "configurator/GearloomRes.h"
#include "skinkit/SkinButtons.h"
#include "skinkit/SkinDialogParts.h"
#include "skinkit/SkinFiles.h"
#include "skinkit/SkinHandlers.h"
#include "core/ConfigSettings.h"
#include "core/Messages.h"
#include "core/SkinEntry.h"
#include "framework/CDC.h"

namespace {

constexpr COLORREF kTextColour = 0x12A4D2;

// A label entry "x,y,label" drawn as "label version".
TextEntry VersionLabel(const CString* entry, const CString& version)
{
    TextEntry label;
    if (entry) ParseTextEntry(*entry + L" " + version, label);
    return label;
}

}  // namespace

BEGIN_MESSAGE_MAP(CAboutDialog, CSkinDialog)
    ON_MESSAGE(WM_CREATE, OnCreate)
    ON_MESSAGE(WM_LBUTTONDOWN, OnLButtonDown)
    ON_MESSAGE(WM_VERSION_CHANGED, OnVersionChanged)
END_MESSAGE_MAP()

CAboutDialog::CAboutDialog(CWnd* parent) : CSkinDialog(IDD_ABOUT_DIALOG, parent) {}

LRESULT CAboutDialog::OnCreate(WPARAM, LPARAM)
{
    if (Default() == -1) return -1;
    LoadSkin(TRUE);
    ApplyMaskRegion(m_bmpMask, m_hRgn);
    return 0;
}

BOOL CAboutDialog::OnInitDialog()
{
    CSkinDialog::OnInitDialog();
    return TRUE;
}

void CAboutDialog::LoadSkin(BOOL bCreate)
{
    SetWindowText(GEARLOOM_ABOUT_TITLE);
    // Each load starts from the picture as shipped, so old texts never show through.
    SIZE size = LoadDialogPictures(L"ABOUT", L"ABOUT",
                                   {m_bmpMask, m_bmpNormal, m_bmpOver, m_bmpDisabled, m_bmpDown, m_bmpBackground});
    if (bCreate) {
        // Without its picture the box keeps the template's size rather than none at all.
        if (size.cx > 0 && size.cy > 0) MoveWindow(0, 0, size.cx, size.cy, TRUE);
        const SkinButtonRow rows[] = {{L"BUTTON_EXIT", &m_btnExit, SKIN_CHECK | SKIN_TOOLTIP}};
        CreateSkinButtons(this, ReadSkinSection(L"Strings.xml", L"ABOUT"), rows, 1,
                          {m_bmpNormal, m_bmpOver, m_bmpDown, m_bmpDisabled});
    }
    DrawTexts();
}

void CAboutDialog::DrawTexts()
{
    m_strFirmwareVersion = FirmwareVersionText(GetFirmwareVersion());
    m_strSoftwareVersion = SoftwareVersionText(GetSoftwareVersion());
    if (!m_bmpBackground.GetSafeHandle()) return;
    std::vector<SkinItem> strings = ReadSkinSection(L"Strings.xml", L"ABOUT");
    CClientDC window(this);
    CDC dc;
    if (!dc.CreateCompatibleDC(&window)) return;
    dc.SelectObject(m_bmpBackground);
    dc.SetBkMode(TRANSPARENT);
    dc.SetTextColor(kTextColour);
    CFont font;
    font.CreateFont(12, 0, 0, 0, FW_BOLD, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0x20, L"MS Shell Dlg");
    dc.SelectObject(font);
    DrawLabelEntry(&dc, strings, L"TITLE", true);
    const TextEntry versions[] = {
        VersionLabel(FindSkinItem(strings, L"SOFTWARE_VERSION"), m_strSoftwareVersion),
        VersionLabel(FindSkinItem(strings, L"FIRMWARE_VERSION"), m_strFirmwareVersion),
    };
    for (const TextEntry& v : versions)
        if (!v.text.IsEmpty()) dc.TextOut(v.x, v.y, v.text);
    // The DC lets go of the picture and the font before either is deleted.
    dc.DeleteDC();
}

void CAboutDialog::OnDraw(CDC* dc)
{
    DrawDialogBackground(dc, GetClientRect(), m_bmpBackground);
}

BOOL CAboutDialog::OnCommand(WPARAM wParam, LPARAM lParam)
{
    if (lParam && m_btnExit.m_hWnd == (HWND)lParam && HIWORD(wParam) == BN_CLICKED) PostMessage(WM_CLOSE);
    return CSkinDialog::OnCommand(wParam, lParam);
}

BOOL CAboutDialog::PreTranslateMessage(MSG* msg)
{
    // Enter never ends the box.
    if (msg->message == WM_KEYDOWN && msg->wParam == VK_RETURN) return TRUE;
    return CSkinDialog::PreTranslateMessage(msg);
}

LRESULT CAboutDialog::OnLButtonDown(WPARAM, LPARAM lParam)
{
    DragWindowByBody(m_hWnd, lParam);
    return Default();
}

LRESULT CAboutDialog::OnVersionChanged(WPARAM, LPARAM)
{
    LoadSkin(FALSE);
    RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    return 1;
}
