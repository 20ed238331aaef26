// The character card of the main window (its BUTTON_CHRONICLE button) and the character
// dialog it opens.
#include "configurator/main_window/CAPDlg.h"
#include "configurator/main_window/PrintBitmap.h"
#include "configurator/panels/CChronicleDlg.h"
#include "configurator/panels/CharacterInfo.h"
#include "configurator/panels/CharacterLookup.h"
#include "configurator/panels/CharacterServices.h"
#include "skinkit/SkinFiles.h"
#include "skinkit/SkinPicture.h"
#include "core/SkinEntry.h"

namespace {

template <int N> CString FieldText(const wchar_t (&field)[N])
{
    return CString(field, FieldLength(field));
}

}  // namespace

void CAPDlg::OnChronicle()
{
    CChronicleDlg dlg(this);
    RunModal(dlg);
}

void CAPDlg::SetCharacter(const CharacterInfo& info)
{
    int id = m_config.PROFILE_ID;
    if (id < 0 || id >= PROFILE_COUNT) return;
    ProfileData& p = m_config.profiles[id];
    CString server = info.server;
    CString name = info.name;
    CapitalizeFirst(server);
    CapitalizeFirst(name);

    // The profile is named after the character.
    CopyField(p.PROFILE_NAME, name);
    if (m_profileButtons[id].m_hWnd) {
        CString stored = FieldText(p.PROFILE_NAME);
        m_profileButtons[id].SetToolTipText(&stored);
        m_profileButtons[id].RedrawWindow();
    }
    p.REGION = RegionIndex(info.region);
    CopyField(p.SERVER_NAME, server);
    CopyField(p.CHARACTER_NAME, name);
    CopyField(p.CHARACTER_LEVEL, info.level);
    CopyField(p.CHARACTER_CLASS, info.className);
    CopyField(p.CHARACTER_RACE, info.race);
    if (!m_btnChronicle.m_hWnd) return;
    ShowCharacterCard(p, true);
}

void CAPDlg::UpdateCharacterPanel()
{
    int id = m_config.PROFILE_ID;
    if (!m_btnChronicle.m_hWnd || id < 0 || id >= PROFILE_COUNT) return;
    const ProfileData& p = m_config.profiles[id];
    ShowPlainCharacterButton();
    if (!p.CHARACTER_NAME[0]) return;
    CString path = CharacterPicturePath(FieldText(p.SERVER_NAME), FieldText(p.CHARACTER_NAME), L".jpg");
    if (!path.IsEmpty() && GetFileAttributesW(path) != INVALID_FILE_ATTRIBUTES) {
        ShowCharacterCard(p, true);
        return;
    }
    // The portrait shows from the next refresh on, once it is here.
    if (DownloadPortrait(p.REGION, FieldText(p.CHARACTER_NAME), FieldText(p.SERVER_NAME)))
        ShowCharacterCard(p, false);
    else
        ShowPlainCharacterButton();
}

void CAPDlg::ShowCharacterCard(const ProfileData& p, bool withPortrait)
{
    CString server = FieldText(p.SERVER_NAME);
    CString name = FieldText(p.CHARACTER_NAME);
    if (withPortrait) {
        SIZE size = {0, 0};
        LoadPictureFile(CharacterPicturePath(server, name, L".jpg"), m_bmpPortrait, size);
        // Without a picture of its own the card shows none, not the one shown before.
        if (!m_bmpPortrait.GetSafeHandle()) m_btnChronicle.m_bmpCard.DeleteObject();
        m_btnChronicle.SetPortraitBitmaps(m_bmpPortrait, size.cx);
    }
    m_btnChronicle.SetPortraitTexts(server, name, FieldText(p.CHARACTER_LEVEL), FieldText(p.CHARACTER_CLASS),
                                    FieldText(p.CHARACTER_RACE));
    m_btnChronicle.Invalidate();
}

void CAPDlg::ShowPlainCharacterButton()
{
    SkinEntry entry = {};
    std::vector<SkinItem> strings = ReadSkinSection(L"Strings.xml", L"MAIN");
    if (const CString* text = FindSkinItem(strings, L"BUTTON_CHRONICLE"))
        ParseSkinEntry(*text, entry);
    CBitmap& disabled = m_bmpDisabled.GetSafeHandle() ? m_bmpDisabled : m_bmpNormal;
    m_btnChronicle.SetNormalBitmaps(m_bmpNormal, m_bmpOver, m_bmpDown, disabled, entry.rect);
}
