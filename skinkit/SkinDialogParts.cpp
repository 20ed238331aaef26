#include "skinkit/SkinDialogParts.h"
#include "core/SkinEntry.h"
#include "framework/CDC.h"

namespace {

SIZE LoadStates(const std::vector<SkinItem>& items, const CString& name, CBitmap& normal, CBitmap& down,
                CBitmap& over, CBitmap& mask)
{
    SIZE size = LoadSkinPicture(items, name + L"_NORMAL", normal);
    LoadSkinPicture(items, name + L"_OVER", over);
    LoadSkinPicture(items, name + L"_DOWN", down);
    LoadSkinPicture(items, name + L"_MASK", mask);
    return size;
}

}  // namespace

SIZE LoadDialogPictures(const wchar_t* section, const wchar_t* prefix, const DialogPictures& p)
{
    std::vector<SkinItem> items = ReadSkinSection(L"Skins.xml", section);
    CString name(prefix);
    LoadSkinPicture(items, name + L"_NORMAL", p.disabled);
    LoadSkinPicture(items, name + L"_NORMAL", p.background);
    return LoadStates(items, name, p.normal, p.down, p.over, p.mask);
}

SIZE LoadWindowPictures(const wchar_t* section, CBitmap& normal, CBitmap& down, CBitmap& over, CBitmap& mask)
{
    return LoadStates(ReadSkinSection(L"Skins.xml", section), section, normal, down, over, mask);
}

void DrawDialogBackground(CDC* dc, const RECT& client, CBitmap& picture)
{
    if (!picture.GetSafeHandle()) {
        dc->FillSolidRect(client, RGB(0, 0, 0));
        return;
    }
    CDC source;
    source.CreateCompatibleDC(dc);
    source.SelectObject(picture);
    dc->BitBlt(0, 0, client.right, client.bottom, &source, 0, 0, SRCCOPY);
}

void DrawLabelEntry(CDC* dc, const std::vector<SkinItem>& strings, const wchar_t* name, bool centred)
{
    const CString* text = FindSkinItem(strings, name);
    if (!text) return;
    TextEntry label;
    ParseTextEntry(*text, label);
    UINT oldAlign = centred ? dc->SetTextAlign(TA_CENTER) : 0;
    dc->TextOut(label.x, label.y, label.text);
    if (centred) dc->SetTextAlign(oldAlign);
}
