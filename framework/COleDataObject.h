#pragma once
#include <windows.h>
#include <ole2.h>
#include "framework/CObject.h"

// The data of a drag as a drop target sees it.
class COleDataObject : public CObject {
public:
    COleDataObject() = default;
    ~COleDataObject() override { Release(); }
    COleDataObject(const COleDataObject&) = delete;
    COleDataObject& operator=(const COleDataObject&) = delete;

    // With autoRelease the object's reference is released with this wrapper.
    void Attach(IDataObject* data, BOOL autoRelease = TRUE);
    IDataObject* Detach();
    void Release();

    BOOL IsDataAvailable(CLIPFORMAT format, const FORMATETC* formatEtc = nullptr) const;
    // A block of the data in that format, the caller's own: it frees it with GlobalFree.
    // Null when the format is not offered.
    HGLOBAL GetGlobalData(CLIPFORMAT format, const FORMATETC* formatEtc = nullptr) const;

private:
    IDataObject* m_lpDataObject = nullptr;
    BOOL m_bAutoRelease = TRUE;
};
