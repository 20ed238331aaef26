#include "configurator/panels/CSelColorDlg.h"
#include "configurator/GearloomRes.h"
#include "skinkit/SkinHandlers.h"
#include "skinkit/SkinPicture.h"
#include "core/AppPaths.h"
#include "core/Messages.h"
#include "framework/CDC.h"
#include <windowsx.h>

CSelColorDlg* g_pSelColorDlg = nullptr;

namespace {

// The program folder: the one set at start-up, else the folder of the program file.
CString ProgramFolderOfModule()
{
    if (g_szAppDir[0]) return CString(g_szAppDir);
    wchar_t path[MAX_PATH] = {};
    DWORD n = GetModuleFileNameW(nullptr, path, MAX_PATH);
    if (n == 0 || n >= MAX_PATH) return CString();
    CString folder(path);
    return folder.Left(folder.ReverseFind(L'\\') + 1);
}

}  // namespace

BEGIN_MESSAGE_MAP(CSelColorDlg, CSkinDialog)
    ON_MESSAGE(WM_LBUTTONDOWN, OnLButtonDown)
    ON_MESSAGE(WM_MOUSEMOVE, OnMouseMove)
    ON_MESSAGE(WM_LBUTTONUP, OnMouseMove)
    ON_MESSAGE(WM_RBUTTONDOWN, OnRButtonDown)
    ON_MESSAGE(WM_DESTROY, OnDestroy)
    ON_MESSAGE(WM_WINDOWPOSCHANGING, OnWindowPosChanging)
END_MESSAGE_MAP()

CSelColorDlg::CSelColorDlg(CWnd* panel, int* openerFlag)
    : CSkinDialog(IDD_SEL_COLOR, panel), m_pOpenerFlag(openerFlag), m_pPanel(panel)
{
}

CSelColorDlg::~CSelColorDlg()
{
    // While the object is whole, so its own WM_DESTROY runs.
    if (m_hWnd) DestroyWindow();
}

BOOL CSelColorDlg::Create()
{
    return CSkinDialog::Create(IDD_SEL_COLOR, m_pPanel);
}

BOOL CSelColorDlg::OnInitDialog()
{
    CSkinDialog::OnInitDialog();
    LoadFramedPicture();
    MoveWindow(m_nX, m_nY, m_nWidth, m_nHeight, TRUE);
    m_bPlaced = true;
    return TRUE;
}

LRESULT CSelColorDlg::OnWindowPosChanging(WPARAM, LPARAM lParam)
{
    if (m_bPlaced) KeepPopupPlace(lParam, m_nX, m_nY);
    return Default();
}

void CSelColorDlg::LoadFramedPicture()
{
    CBitmap picture;
    SIZE size = {0, 0};
    LoadPictureFile(ProgramFolderOfModule() + L"Skins\\Color.bmp", picture, size);
    m_crPicked = 0;
    // A missing picture leaves the frame alone: 4 x 4 black, with nothing to pick.
    int width = size.cx + m_nFrame;
    int height = size.cy + m_nFrame;
    CClientDC screen(this);
    m_bmpFramed.CreateCompatibleBitmap(&screen, width, height);
    {
        CDC framed;
        framed.CreateCompatibleDC(&screen);
        framed.SelectObject(m_bmpFramed);
        framed.FillSolidRect(RECT{0, 0, width, height}, RGB(0, 0, 0));
        if (picture.GetSafeHandle()) {
            CDC from;
            from.CreateCompatibleDC(&screen);
            from.SelectObject(picture);
            framed.BitBlt(m_nFrame / 2, m_nFrame / 2, size.cx, size.cy, &from, 0, 0, SRCCOPY);
        }
    }
    m_nWidth = width;
    m_nHeight = height;
    m_rcPicture = RECT{m_nFrame / 2, m_nFrame / 2, width - m_nFrame / 2, height - m_nFrame / 2};
}

void CSelColorDlg::OnDraw(CDC* dc)
{
    if (!m_bmpFramed.GetSafeHandle()) return;
    CDC picture;
    picture.CreateCompatibleDC(dc);
    picture.SelectObject(m_bmpFramed);
    dc->BitBlt(0, 0, m_nWidth, m_nHeight, &picture, 0, 0, SRCCOPY);
}

bool CSelColorDlg::InPicture(LPARAM point) const
{
    POINT p = {GET_X_LPARAM(point), GET_Y_LPARAM(point)};
    return PtInRect(&m_rcPicture, p) != FALSE;
}

void CSelColorDlg::SetCursorFor(LPARAM point) const
{
    SetCursor(LoadCursorW(nullptr, InPicture(point) ? IDC_CROSS : IDC_ARROW));
}

LRESULT CSelColorDlg::OnMouseMove(WPARAM, LPARAM lParam)
{
    SetCursorFor(lParam);
    return Default();
}

LRESULT CSelColorDlg::OnLButtonDown(WPARAM, LPARAM lParam)
{
    if (InPicture(lParam)) {
        COLORREF colour;
        {
            CClientDC dc(this);
            colour = dc.GetPixel(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
        }
        if (colour != CLR_INVALID) {
            m_crPicked = colour;
            if (m_pPanel && m_pPanel->m_hWnd) ::PostMessageW(m_pPanel->m_hWnd, WM_COLOR_SELECTED, (WPARAM)colour, 0);
        }
    }
    SetCursorFor(lParam);
    // Any click ends the picker, inside the picture or on its frame.
    DestroyWindow();
    return m_hWnd ? Default() : 0;
}

LRESULT CSelColorDlg::OnRButtonDown(WPARAM, LPARAM)
{
    DestroyWindow();
    return m_hWnd ? Default() : 0;
}

LRESULT CSelColorDlg::OnDestroy(WPARAM, LPARAM)
{
    LRESULT r = Default();
    m_bmpFramed.DeleteObject();
    if (!(m_pOpenerFlag && *m_pOpenerFlag == 1) && m_pPanel && m_pPanel->m_hWnd)
        ::PostMessageW(m_pPanel->m_hWnd, WM_POPUP_CLOSED, 1, (LPARAM)m_hWnd);
    return r;
}
