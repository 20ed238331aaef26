#include "skinkit/SkinButtons.h"
#include "core/SkinEntry.h"
#include "framework/StartupTrace.h"

void CreateSkinButtons(CWnd* parent, const std::vector<SkinItem>& strings, const SkinButtonRow* rows, size_t count,
                       const SkinStatePictures& pictures)
{
    StartupTraceScope trace("controls");
    // The windows and the cutting of their images, each added up over the buttons and
    // written once: a line per button would itself cost time.
    int64_t windows = 0, images = 0;
    for (size_t i = 0; i < count; ++i) {
        const SkinButtonRow& row = rows[i];
        const CString* text = FindSkinItem(strings, row.entry);
        if (!text) continue;
        SkinEntry entry;
        ParseSkinEntry(*text, entry);
        CBitmapBtn& button = *row.button;
        int64_t since = StartupTraceNow();
        if (!button.Create(L"", WS_CHILD | WS_VISIBLE, entry.rect, parent, 0)) continue;
        int64_t made = StartupTraceNow();
        button.SetBitmaps(pictures.normal, pictures.over, pictures.down, pictures.disabled, entry.rect);
        windows += made - since;
        images += StartupTraceNow() - made;
        CString caption(entry.text);
        if (row.steps & SKIN_CHECK) button.SetCheck(entry.flag ? 1 : 0);
        if (row.steps & SKIN_TOOLTIP) button.SetToolTipText(&caption);
        if (row.steps & SKIN_TOOLTIP_LATER) button.m_strToolTip = caption;
        if (row.steps & SKIN_CAPTION) button.SetCaption(caption);
        if (row.steps & SKIN_TOGGLE) button.SetToggle();
    }
    if (windows) StartupTraceSpan("button-windows", StartupTraceNow() - windows);
    if (images) StartupTraceSpan("button-images", StartupTraceNow() - images);
}

void MakeButtonTips(CBitmapBtn* const* buttons, size_t count)
{
    for (size_t i = 0; i < count; ++i) {
        CBitmapBtn& b = *buttons[i];
        if (!b.m_hWnd || (b.m_toolTip.m_hWnd && b.m_toolTip.GetToolCount() > 0)) continue;
        CString text = b.m_strToolTip;
        b.SetToolTipText(&text);
    }
}
