#include "skinkit/SkinListRow.h"
#include "framework/CDC.h"
#include "framework/CString.h"

namespace {

void FillRow(CDC& dc, const RECT& r, COLORREF color)
{
    CBrush brush(color);
    dc.FillRect(r, brush);
}

}  // namespace

void DrawSkinListRow(const DRAWITEMSTRUCT& dis, const SkinListColors& colors, HFONT font)
{
    int count = (int)SendMessageW(dis.hwndItem, LB_GETCOUNT, 0, 0);
    if ((int)dis.itemID < 0 || (int)dis.itemID >= count) return;
    CDC dc;
    if (!dc.Attach(dis.hDC)) return;
    const RECT& r = dis.rcItem;
    bool selected = (dis.itemState & ODS_SELECTED) != 0;
    // A row looks the same whatever the draw is for (a repaint, a selection, a focus change):
    // the text is drawn transparent, so every draw lays the row's ground first, or a repaint
    // without erasing and the focus draws of the caret row would draw it over itself.
    COLORREF text = colors.text;
    if (selected) {
        FillRow(dc, r, colors.highlight);
        text = colors.highlightText;
    } else if (colors.background) {
        dc.FillRect(r, colors.background);
    }
    if (dis.itemState & ODS_DISABLED) text = GetSysColor(COLOR_BTNSHADOW);

    int n = (int)SendMessageW(dis.hwndItem, LB_GETTEXTLEN, dis.itemID, 0);
    CString caption;
    if (n > 0) {
        SendMessageW(dis.hwndItem, LB_GETTEXT, dis.itemID, (LPARAM)caption.GetBuffer(n + 1));
        caption.ReleaseBuffer();
    }
    dc.SetTextColor(text);
    dc.SetBkMode(TRANSPARENT);
    if (font) dc.SelectObject(font);
    if (dis.itemData == 0) {
        RECT box = r;
        dc.DrawText(caption, &box, DT_SINGLELINE | DT_VCENTER | DT_CENTER | DT_NOCLIP | DT_END_ELLIPSIS);
    } else {
        HBITMAP marker = (HBITMAP)LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW((UINT)dis.itemData),
                                             IMAGE_BITMAP, 0, 0, 0);
        if (marker) {
            CDC picture;
            picture.CreateCompatibleDC(&dc);
            HGDIOBJ old = picture.SelectObject(marker);
            dc.BitBlt(r.left + 12, r.top + 4, 16, 16, &picture, 0, 0, SRCCOPY);
            picture.SelectObject(old);
            picture.DeleteDC();
            DeleteObject(marker);
        }
        dc.TextOut(r.left + 16 + 5, r.top, caption);
    }
    // Gives the DC back as it came: the font and colours are restored with it.
    dc.Detach();
}
