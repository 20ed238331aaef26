#include "framework/COleDataSource.h"
#include "framework/ComObject.h"
#include <shlobj.h>
#include <cstring>
#include <vector>

namespace {

struct Entry {
    FORMATETC format;
    HGLOBAL block;
};

HGLOBAL CopyBlock(HGLOBAL block)
{
    SIZE_T size = GlobalSize(block);
    HGLOBAL copy = GlobalAlloc(GMEM_MOVEABLE, size ? size : 1);
    if (!copy) return nullptr;
    void* to = GlobalLock(copy);
    void* from = GlobalLock(block);
    if (to && from) memcpy(to, from, size);
    if (from) GlobalUnlock(block);
    if (to) GlobalUnlock(copy);
    return copy;
}

// Ends the drag on Esc or when the left button comes up.
class DropSource final : public ComObject<IDropSource, &IID_IDropSource> {
public:
    HRESULT STDMETHODCALLTYPE QueryContinueDrag(BOOL escape, DWORD keyState) override
    {
        if (escape) return DRAGDROP_S_CANCEL;
        if (!(keyState & MK_LBUTTON)) return DRAGDROP_S_DROP;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GiveFeedback(DWORD) override { return DRAGDROP_S_USEDEFAULTCURSORS; }
};

}  // namespace

class COleDataSource::DataObject final : public ComObject<IDataObject, &IID_IDataObject> {
public:
    HRESULT STDMETHODCALLTYPE GetData(FORMATETC* format, STGMEDIUM* medium) override
    {
        const Entry* e = Find(format);
        if (!e) return DV_E_FORMATETC;
        // The receiver owns what it gets.
        HGLOBAL copy = CopyBlock(e->block);
        if (!copy) return E_OUTOFMEMORY;
        medium->tymed = TYMED_HGLOBAL;
        medium->hGlobal = copy;
        medium->pUnkForRelease = nullptr;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetDataHere(FORMATETC*, STGMEDIUM*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE QueryGetData(FORMATETC* format) override { return Find(format) ? S_OK : DV_E_FORMATETC; }
    HRESULT STDMETHODCALLTYPE GetCanonicalFormatEtc(FORMATETC*, FORMATETC* out) override
    {
        if (out) out->ptd = nullptr;
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE SetData(FORMATETC*, STGMEDIUM*, BOOL) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE EnumFormatEtc(DWORD direction, IEnumFORMATETC** out) override
    {
        if (direction != DATADIR_GET) return E_NOTIMPL;
        std::vector<FORMATETC> formats;
        for (const Entry& e : m_entries) formats.push_back(e.format);
        return SHCreateStdEnumFmtEtc((UINT)formats.size(), formats.data(), out);
    }
    HRESULT STDMETHODCALLTYPE DAdvise(FORMATETC*, DWORD, IAdviseSink*, DWORD*) override
    {
        return OLE_E_ADVISENOTSUPPORTED;
    }
    HRESULT STDMETHODCALLTYPE DUnadvise(DWORD) override { return OLE_E_ADVISENOTSUPPORTED; }
    HRESULT STDMETHODCALLTYPE EnumDAdvise(IEnumSTATDATA**) override { return OLE_E_ADVISENOTSUPPORTED; }

    void Add(const FORMATETC& format, HGLOBAL block)
    {
        for (Entry& e : m_entries) {
            if (e.format.cfFormat == format.cfFormat) {
                GlobalFree(e.block);
                e = {format, block};
                return;
            }
        }
        m_entries.push_back({format, block});
    }
    void Clear()
    {
        for (Entry& e : m_entries) GlobalFree(e.block);
        m_entries.clear();
    }

private:
    ~DataObject() override { Clear(); }
    const Entry* Find(const FORMATETC* format) const
    {
        if (!format) return nullptr;
        for (const Entry& e : m_entries) {
            if (e.format.cfFormat == format->cfFormat && (format->tymed & TYMED_HGLOBAL) &&
                format->dwAspect == DVASPECT_CONTENT)
                return &e;
        }
        return nullptr;
    }
    std::vector<Entry> m_entries;
};

COleDataSource::COleDataSource() : m_data(new DataObject)
{
}

COleDataSource::~COleDataSource()
{
    // A target may still hold the object; the blocks go with this source.
    m_data->Clear();
    m_data->Release();
}

void COleDataSource::CacheGlobalData(CLIPFORMAT format, HGLOBAL block, const FORMATETC* formatEtc)
{
    if (!block) return;
    FORMATETC f = {format, nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL};
    if (formatEtc) f = *formatEtc;
    m_data->Add(f, block);
}

void COleDataSource::Empty()
{
    m_data->Clear();
}

IDataObject* COleDataSource::GetDataObject()
{
    return m_data;
}

DROPEFFECT COleDataSource::DoDragDrop(DWORD effects, const RECT* startRect)
{
    RECT start;
    if (startRect) {
        start = *startRect;
    } else {
        POINT p;
        GetCursorPos(&p);
        int cx = GetSystemMetrics(SM_CXDRAG);
        int cy = GetSystemMetrics(SM_CYDRAG);
        start = {p.x - cx, p.y - cy, p.x + cx + 1, p.y + cy + 1};
    }
    for (;;) {
        MSG msg;
        // A release is left in the queue for the window that saw the press.
        if (PeekMessageW(&msg, nullptr, WM_LBUTTONUP, WM_LBUTTONUP, PM_NOREMOVE)) return DROPEFFECT_NONE;
        if (PeekMessageW(&msg, nullptr, WM_KEYDOWN, WM_KEYDOWN, PM_NOREMOVE) && msg.wParam == VK_ESCAPE) {
            PeekMessageW(&msg, nullptr, WM_KEYDOWN, WM_KEYDOWN, PM_REMOVE);
            return DROPEFFECT_NONE;
        }
        if (!(GetAsyncKeyState(VK_LBUTTON) & 0x8000)) return DROPEFFECT_NONE;
        POINT p;
        GetCursorPos(&p);
        if (!PtInRect(&start, p)) break;
        while (PeekMessageW(&msg, nullptr, WM_MOUSEMOVE, WM_MOUSEMOVE, PM_REMOVE)) {
        }
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_INPUT);
    }
    DropSource* source = new DropSource;
    DWORD effect = DROPEFFECT_NONE;
    HRESULT hr = ::DoDragDrop(m_data, source, effects, &effect);
    source->Release();
    return hr == DRAGDROP_S_DROP ? effect : DROPEFFECT_NONE;
}
