#include "PickerTestSupport.h"
#include "SkinTestSupport.h"
#include "GuiTestSupport.h"
#include "skinkit/DropText.h"
#include "framework/COleDataSource.h"
#include "framework/ComObject.h"
#include "core/Messages.h"
#include <climits>
#include <cstring>

bool PickerHost::Open(int x, int y, int width, int height)
{
    if (!CreateEx(0, RegisterWndClass(0, LoadCursorW(nullptr, IDC_ARROW), (HBRUSH)GetStockObject(GRAY_BRUSH)),
                  L"picker host", WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN, x, y, width, height, nullptr, nullptr))
        return false;
    return ShowAt(m_hWnd, RECT{x, y, x + width, y + height});
}

bool PickerHost::AddTargets(const RECT& functionRect, const RECT& profileRect)
{
    RECT client = GetClientRect();
    normal.Attach(SolidDib(client.right, client.bottom, RGB(40, 60, 120)));
    over.Attach(SolidDib(client.right, client.bottom, RGB(60, 90, 170)));
    down.Attach(SolidDib(client.right, client.bottom, RGB(120, 40, 40)));
    struct {
        CBitmapBtn& button;
        const RECT& rect;
        int kind;
        const wchar_t* caption;
    } targets[] = {{functionButton, functionRect, 2, L"Button 4"}, {profileButton, profileRect, 1, L"Profile 2"}};
    for (auto& t : targets) {
        if (!t.button.Create(L"", WS_CHILD | WS_VISIBLE, t.rect, this, 0)) return false;
        t.button.SetBitmaps(normal, over, down, normal, t.rect);
        t.button.SetCaption(t.caption);
        t.button.m_nDropKind = t.kind;
        t.button.m_nItemValue = t.kind == 2 ? 3 : 1;
        t.button.RegisterDropTarget(nullptr);
    }
    return true;
}

std::vector<int> PickerHost::Codes(UINT message) const
{
    std::vector<int> codes;
    for (const Notice& n : notices)
        if (n.message == message) codes.push_back((int)n.w);
    return codes;
}

LRESULT PickerHost::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message >= WM_USER && message < WM_REFLECT_BASE) notices.push_back({message, wParam, lParam});
    return CWnd::WindowProc(message, wParam, lParam);
}

BEGIN_MESSAGE_MAP(CodeTarget, CWnd)
    ON_MESSAGE(WM_DROPTARGET_ENTER, OnOver)
    ON_MESSAGE(WM_DROPTARGET_OVER, OnOver)
    ON_MESSAGE(WM_DROPTARGET_DROPEX, OnDropEx)
    ON_MESSAGE(WM_DROPTARGET_DROP, OnDrop)
END_MESSAGE_MAP()

bool CodeTarget::Open(int x, int y)
{
    if (!CreateEx(WS_EX_TOPMOST, RegisterWndClass(0, nullptr, (HBRUSH)GetStockObject(WHITE_BRUSH)), L"code target",
                  WS_POPUP | WS_VISIBLE, x, y, 120, 80, nullptr, nullptr))
        return false;
    return ShowAt(m_hWnd, RECT{x, y, x + 120, y + 80}, false) && target.Register(this) != FALSE;
}

bool CodeTarget::Read(WPARAM w, int& n)
{
    CString text;
    COleDropInfo* info = (COleDropInfo*)w;
    return info && TakeDroppedText(info->m_pDataObject, text) && ParseDroppedNumber(text, m_low, m_high, n);
}

LRESULT CodeTarget::OnOver(WPARAM w, LPARAM)
{
    int n = 0;
    return Read(w, n) ? DROPEFFECT_COPY : DROPEFFECT_NONE;
}

LRESULT CodeTarget::OnDrop(WPARAM w, LPARAM)
{
    int n = 0;
    if (!Read(w, n)) return FALSE;
    dropped.push_back(n);
    return TRUE;
}

IDropTarget* DropTargetOf(HWND hwnd)
{
    return (IDropTarget*)GetPropW(hwnd, L"OleDropTargetInterface");
}

namespace {

DropAnswer DropThrough(HWND hwnd, POINT client, IDataObject* data)
{
    DropAnswer a = {99, 99};
    IDropTarget* t = DropTargetOf(hwnd);
    if (!t) return a;
    ClientToScreen(hwnd, &client);
    POINTL at = {client.x, client.y};
    DWORD effect = DROPEFFECT_COPY;
    t->DragEnter(data, MK_LBUTTON, at, &effect);
    a.over = DROPEFFECT_COPY;
    t->DragOver(MK_LBUTTON, at, &a.over);
    a.drop = DROPEFFECT_COPY;
    t->Drop(data, 0, at, &a.drop);
    return a;
}

// Text that hands every reader a block of its own and remembers them.
class CountingText : public ComObject<IDataObject, &IID_IDataObject> {
public:
    explicit CountingText(const wchar_t* text) : m_text(text) {}
    std::vector<HGLOBAL> handedOut;

    HRESULT STDMETHODCALLTYPE GetData(FORMATETC* f, STGMEDIUM* m) override
    {
        if (QueryGetData(f) != S_OK) return DV_E_FORMATETC;
        HGLOBAL block = TextBlock(m_text);
        handedOut.push_back(block);
        m->tymed = TYMED_HGLOBAL;
        m->hGlobal = block;
        m->pUnkForRelease = nullptr;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetDataHere(FORMATETC*, STGMEDIUM*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE QueryGetData(FORMATETC* f) override
    {
        return f && f->cfFormat == CF_UNICODETEXT && (f->tymed & TYMED_HGLOBAL) ? S_OK : DV_E_FORMATETC;
    }
    HRESULT STDMETHODCALLTYPE GetCanonicalFormatEtc(FORMATETC*, FORMATETC* out) override
    {
        if (out) out->ptd = nullptr;
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE SetData(FORMATETC*, STGMEDIUM*, BOOL) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE EnumFormatEtc(DWORD, IEnumFORMATETC**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE DAdvise(FORMATETC*, DWORD, IAdviseSink*, DWORD*) override
    {
        return OLE_E_ADVISENOTSUPPORTED;
    }
    HRESULT STDMETHODCALLTYPE DUnadvise(DWORD) override { return OLE_E_ADVISENOTSUPPORTED; }
    HRESULT STDMETHODCALLTYPE EnumDAdvise(IEnumSTATDATA**) override { return OLE_E_ADVISENOTSUPPORTED; }

private:
    const wchar_t* m_text;
};

}  // namespace

DropAnswer DropText(HWND hwnd, POINT client, const wchar_t* text)
{
    COleDataSource data;
    data.CacheGlobalData(CF_UNICODETEXT, TextBlock(text));
    return DropThrough(hwnd, client, data.GetDataObject());
}

int BlocksLeftAfterDrop(HWND hwnd, POINT client, const wchar_t* text)
{
    CountingText* data = new CountingText(text);
    DropThrough(hwnd, client, data);
    int left = 0;
    for (HGLOBAL h : data->handedOut)
        if (GlobalSize(h) != 0) ++left;
    data->Release();
    return left;
}
