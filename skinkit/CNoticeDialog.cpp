#include "skinkit/CNoticeDialog.h"
#include "skinkit/SkinPicture.h"
#include "core/AppPaths.h"
#include "framework/CDC.h"

namespace {

constexpr COLORREF kTextColour = 0x12A4D2;

}  // namespace

BEGIN_MESSAGE_MAP(CNoticeDialog, CSkinDialog)
    ON_MESSAGE(WM_CREATE, OnCreate)
    ON_MESSAGE(WM_DESTROY, OnDestroy)
END_MESSAGE_MAP()

CNoticeDialog::CNoticeDialog(UINT templateId, const wchar_t* section, int fontHeight)
    : CSkinDialog(templateId), m_section(section), m_fontHeight(fontHeight)
{
}

LRESULT CNoticeDialog::OnCreate(WPARAM, LPARAM)
{
    if (Default() == -1) return -1;
    LoadSkin();
    return 0;
}

void CNoticeDialog::LoadSkin()
{
    std::vector<SkinItem> pictures = ReadSkinSection(L"Skins.xml", m_section);
    m_sizeNormal = LoadSkinPicture(pictures, Child(L"_NORMAL"), m_bmpNormal);
    LoadSkinPicture(pictures, Child(L"_DOWN"), m_bmpDown);
    LoadSkinPicture(pictures, Child(L"_OVER"), m_bmpOver);
    LoadSkinPicture(pictures, Child(L"_MASK"), m_bmpMask);
    // Without its picture the box keeps the template's size rather than none at all.
    if (m_sizeNormal.cx > 0 && m_sizeNormal.cy > 0) MoveWindow(0, 0, m_sizeNormal.cx, m_sizeNormal.cy, TRUE);
    CreateControls(ReadSkinSection(L"Strings.xml", m_section));
    ApplyMaskRegion(m_bmpMask, m_hRgn);
    AfterSkin();
}

LRESULT CNoticeDialog::OnDestroy(WPARAM, LPARAM)
{
    LRESULT r = Default();
    m_bmpMask.DeleteObject();
    m_bmpNormal.DeleteObject();
    m_bmpOver.DeleteObject();
    m_bmpDown.DeleteObject();
    return r;
}

void CNoticeDialog::OnDraw(CDC* dc)
{
    RECT client = GetClientRect();
    DrawBackdrop(dc, m_bmpNormal, client);
    dc->SetBkMode(TRANSPARENT);
    dc->SetTextColor(kTextColour);
    CFont font;
    font.CreateFont(m_fontHeight, 0, 0, 0, FW_BOLD, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, FF_SWISS, L"MS Shell Dlg");
    HGDIOBJ oldFont = dc->SelectObject(font);

    // Read at every paint: a changed file shows at the next repaint.
    std::vector<SkinItem> strings = ReadSkinSection(L"Strings.xml", m_section);
    const UINT format = DT_WORDBREAK | DT_VCENTER;
    for (const SkinItem& item : strings) {
        if (item.name != Child(L"_TITLE")) continue;
        TextEntry title;
        ParseTextEntry(item.text, title);
        UINT oldAlign = dc->SetTextAlign(TA_CENTER);
        dc->TextOut(title.x, title.y, title.text);
        dc->SetTextAlign(oldAlign);
    }
    if (DrawsOptionLabel()) {
        for (const SkinItem& item : strings) {
            if (item.name != Child(L"_OPTION")) continue;
            SkinEntry label;
            ParseSkinEntry(item.text, label);
            dc->DrawText(label.text, -1, &label.rect, format);
        }
    }
    for (const SkinItem& item : strings) {
        if (item.name != Child(L"_STRING")) continue;
        SkinEntry entry;
        ParseSkinEntry(item.text, entry);
        CString text;
        if (MessageText(entry, text)) dc->DrawText(text, &entry.rect, format);
    }
    // The font goes before the buffer: it must not stay selected there.
    dc->SelectObject(oldFont);
}

void CNoticeDialog::CreateOptionButtons(const std::vector<SkinItem>& strings, CBitmapBtn& exit, CBitmapBtn& yes,
                                        CBitmapBtn& no, CBitmapBtn& option)
{
    const SkinButtonRow rows[] = {
        {L"BUTTON_EXIT", &exit, SKIN_CHECK | SKIN_TOOLTIP},
        {L"BUTTON_YES", &yes, SKIN_CHECK | SKIN_TOOLTIP | SKIN_CAPTION},
        {L"BUTTON_NO", &no, SKIN_CHECK | SKIN_TOOLTIP | SKIN_CAPTION},
        {L"BUTTON_OPTION", &option, SKIN_TOOLTIP | SKIN_TOGGLE},
    };
    CreateSkinButtons(this, strings, rows, sizeof(rows) / sizeof(rows[0]), StatePictures());
}

void CNoticeDialog::AnswerWithOption(HWND from, CBitmapBtn& exit, CBitmapBtn& yes, CBitmapBtn& no, CBitmapBtn& option,
                                     bool (*store)(const wchar_t* folder, int32_t value))
{
    if (!from) return;
    if (from == yes.m_hWnd) {
        store(g_szConfDir, option.GetCheck() ? 1 : 0);
        OnOK();
    } else if (from == no.m_hWnd) {
        OnCancel();
    } else if (from == exit.m_hWnd) {
        CloseAsCancel();
    }
}
