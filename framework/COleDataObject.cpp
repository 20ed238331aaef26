#include "framework/COleDataObject.h"
#include <cstring>

namespace {

FORMATETC GlobalFormat(CLIPFORMAT format, const FORMATETC* given)
{
    if (given) return *given;
    FORMATETC f = {format, nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL};
    return f;
}

}  // namespace

void COleDataObject::Attach(IDataObject* data, BOOL autoRelease)
{
    Release();
    m_lpDataObject = data;
    m_bAutoRelease = autoRelease;
}

IDataObject* COleDataObject::Detach()
{
    IDataObject* d = m_lpDataObject;
    m_lpDataObject = nullptr;
    return d;
}

void COleDataObject::Release()
{
    if (m_lpDataObject && m_bAutoRelease) m_lpDataObject->Release();
    m_lpDataObject = nullptr;
}

BOOL COleDataObject::IsDataAvailable(CLIPFORMAT format, const FORMATETC* formatEtc) const
{
    if (!m_lpDataObject) return FALSE;
    FORMATETC f = GlobalFormat(format, formatEtc);
    return m_lpDataObject->QueryGetData(&f) == S_OK;
}

HGLOBAL COleDataObject::GetGlobalData(CLIPFORMAT format, const FORMATETC* formatEtc) const
{
    if (!m_lpDataObject) return nullptr;
    FORMATETC f = GlobalFormat(format, formatEtc);
    STGMEDIUM medium = {};
    if (FAILED(m_lpDataObject->GetData(&f, &medium))) return nullptr;
    if (medium.tymed != TYMED_HGLOBAL) {
        ReleaseStgMedium(&medium);
        return nullptr;
    }
    if (!medium.pUnkForRelease) return medium.hGlobal;
    // The source keeps that block: hand out a copy.
    SIZE_T size = GlobalSize(medium.hGlobal);
    HGLOBAL copy = GlobalAlloc(GMEM_MOVEABLE, size);
    void* to = copy ? GlobalLock(copy) : nullptr;
    void* from = GlobalLock(medium.hGlobal);
    if (to && from) memcpy(to, from, size);
    if (from) GlobalUnlock(medium.hGlobal);
    if (to) GlobalUnlock(copy);
    ReleaseStgMedium(&medium);
    if (!to && copy) {
        GlobalFree(copy);
        copy = nullptr;
    }
    return copy;
}
