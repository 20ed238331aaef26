#include "skinkit/CSkinDialog.h"
#include "skinkit/SkinRegion.h"
#include "framework/CDC.h"
#include "framework/StartupTrace.h"

BEGIN_MESSAGE_MAP(CSkinDialog, CDialog)
    ON_MESSAGE(WM_ERASEBKGND, OnEraseBkgnd)
    ON_MESSAGE(WM_PAINT, OnPaint)
    ON_MESSAGE(WM_PRINTCLIENT, OnPrintClient)
END_MESSAGE_MAP()

void CSkinDialog::ApplyMaskRegion(CBitmap& mask, HRGN& region)
{
    StartupTraceScope trace("regions");
    region = BitmapToRegion((HBITMAP)mask.GetSafeHandle());
    if (region) SetWindowRgn(region, TRUE);
}

LRESULT CSkinDialog::OnPaint(WPARAM, LPARAM)
{
    CPaintDC dc(this);
    CMemoryDC buffer(dc, GetClientRect());
    OnDraw(&buffer);
    return 0;
}

LRESULT CSkinDialog::OnPrintClient(WPARAM wParam, LPARAM)
{
    CDC dc;
    if (!dc.Attach((HDC)wParam)) return 0;
    {
        CMemoryDC buffer(dc, GetClientRect());
        OnDraw(&buffer);
    }
    dc.Detach();
    return 0;
}
