#include "configurator/main_window/ProfileSheet.h"
#include "configurator/main_window/PrintBitmap.h"
#include "configurator/panels/CharacterServices.h"
#include "skinkit/SkinFiles.h"
#include "skinkit/SkinPicture.h"
#include "core/AppPaths.h"
#include "framework/CDC.h"

namespace {

constexpr COLORREF kTextColour = 0x00CCFF;
constexpr COLORREF kFieldColour = 0x191919;
const UINT kCaptionFormat = DT_CENTER | DT_RIGHT | DT_VCENTER | DT_SINGLELINE | DT_NOCLIP | DT_END_ELLIPSIS;

// The captions' slots in the sheet, by mouse-button index.
const RECT kCaptionSlots[BUTTON_COUNT] = {
    {199, 35, 299, 53},   {316, 35, 416, 53},   {434, 35, 534, 53},   {199, 68, 299, 86},
    {316, 68, 416, 86},   {434, 68, 534, 86},   {199, 131, 299, 149}, {316, 131, 416, 149},
    {434, 131, 534, 149}, {199, 162, 299, 180}, {199, 225, 299, 243},
};
const POINT kPortraitAt = {13, 16};
const RECT kCharacterField = {78, 16, 156, 80};
const int kCharacterTextX = 80;

void MakeFont(CFont& font, int height, int weight)
{
    font.CreateFont(height, 0, 0, 0, weight, 0, 0, 0, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                    DEFAULT_QUALITY, FF_SWISS | DEFAULT_PITCH, L"MS Shell Dlg");
}

template <int N> CString FieldText(const wchar_t (&field)[N])
{
    return CString(field, FieldLength(field));
}

void DrawCharacter(CDC& dc, CFont& captionFont, const ProfileData& p)
{
    CString server = FieldText(p.SERVER_NAME);
    CString name = FieldText(p.CHARACTER_NAME);
    CBitmap portrait;
    SIZE size;
    // A missing portrait leaves the sheet's own picture at its place.
    if (LoadPictureFile(CharacterPicturePath(server, name, L".jpg"), portrait, size))
        DrawStateW(dc, nullptr, nullptr, (LPARAM)(HBITMAP)portrait, 0, kPortraitAt.x, kPortraitAt.y, size.cx,
                   size.cy, DST_BITMAP);
    CBrush field(kFieldColour);
    dc.FillRect(kCharacterField, field);

    CFont nameFont;
    MakeFont(nameFont, 14, FW_NORMAL);
    dc.SelectObject(nameFont);
    dc.TextOut(kCharacterTextX, 16, name);
    dc.SelectObject(captionFont);
    dc.TextOut(kCharacterTextX, 28, L"Level " + FieldText(p.CHARACTER_LEVEL));
    dc.TextOut(kCharacterTextX, 40, FieldText(p.CHARACTER_CLASS));
    dc.TextOut(kCharacterTextX, 64, server);
}

}  // namespace

bool DrawProfileSheet(CBitmap& sheet, CDC* reference, const CString (&captions)[BUTTON_COUNT],
                      const ProfileData& profile)
{
    sheet.DeleteObject();
    // Loaded afresh each time, so one print's texts never show on the next.
    std::vector<SkinItem> pictures = ReadSkinSection(L"Skins.xml", L"MAIN");
    for (const SkinItem& item : pictures) {
        if (item.name != L"MAIN_PRINT") continue;
        SIZE size;
        LoadPictureFile(CString(g_szAppDir) + L"skins\\" + item.text, sheet, size);
    }
    if (!sheet.GetSafeHandle()) return false;

    CDC dc;
    if (!dc.CreateCompatibleDC(reference)) return false;
    dc.SelectObject(sheet);
    CFont captionFont;
    MakeFont(captionFont, 12, FW_BOLD);
    dc.SelectObject(captionFont);
    dc.SetBkMode(TRANSPARENT);
    dc.SetTextColor(kTextColour);
    for (int i = 0; i < BUTTON_COUNT; ++i) {
        RECT slot = kCaptionSlots[i];
        dc.DrawText(captions[i], &slot, kCaptionFormat);
    }
    if (profile.CHARACTER_NAME[0]) DrawCharacter(dc, captionFont, profile);
    // The DC lets go of the sheet and the fonts before they are used or deleted.
    dc.DeleteDC();
    return true;
}

const PrintJobCalls SYSTEM_PRINT_JOB = {&StartDocW, &StartPage, &EndPage, &EndDoc};

bool PrintProfileSheet(HDC printer, const CBitmap& sheet, const PrintJobCalls& calls)
{
    DOCINFOW doc = {};
    doc.cbSize = sizeof(doc);
    doc.lpszDocName = L"Print Window";
    if (calls.startDoc(printer, &doc) <= 0) return false;
    // Only a page that began is ended: StartPage answers 0 or less when none did.
    const bool page = calls.startPage(printer) > 0;
    PrintBitmap(printer, sheet, PROFILE_SHEET_SCALE, PROFILE_SHEET_SCALE);
    const bool ok = page && calls.endPage(printer) > 0;
    return calls.endDoc(printer) > 0 && ok;
}
