#include "framework/AfxGlobalData.h"

AfxGlobalData* GetGlobalData()
{
    static AfxGlobalData* data = [] {
        AfxGlobalData* d = new AfxGlobalData;
        // Fixed colours: some themes make the system's hot-track colour a pale grey.
        d->clrHotLinkNormalText = RGB(0, 0, 255);
        d->clrHotLinkHoveredText = RGB(0, 0, 255);
        d->clrHotLinkVisitedText = RGB(128, 0, 128);
        NONCLIENTMETRICSW ncm = {};
        ncm.cbSize = sizeof(ncm);
        LOGFONTW lf = {};
        if (SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof(ncm), &ncm, 0))
            lf = ncm.lfMessageFont;
        else
            GetObjectW(GetStockObject(DEFAULT_GUI_FONT), sizeof(lf), &lf);
        d->fontRegular.CreateFontIndirect(&lf);
        lf.lfUnderline = TRUE;
        d->fontUnderline.CreateFontIndirect(&lf);
        return d;
    }();
    return data;
}
