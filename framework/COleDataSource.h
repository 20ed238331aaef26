#pragma once
#include <windows.h>
#include <ole2.h>
#include "framework/AfxOle.h"
#include "framework/CObject.h"

// Data this program offers to a drag: blocks of global memory, one per format.
class COleDataSource : public CObject {
public:
    COleDataSource();
    ~COleDataSource() override;
    COleDataSource(const COleDataSource&) = delete;
    COleDataSource& operator=(const COleDataSource&) = delete;

    // Offers the block in the format; the source owns it from now on and frees it.
    void CacheGlobalData(CLIPFORMAT format, HGLOBAL block, const FORMATETC* formatEtc = nullptr);
    // Frees every block.
    void Empty();

    // Runs a drag from the cursor's place. It starts only once the mouse leaves the
    // system's drag rectangle around that place (startRect in screen coordinates when
    // given) with the left button held; a release or Esc before that ends it at once,
    // leaving the release to the window under the mouse. Answers the effect the target
    // took, DROPEFFECT_NONE when nothing was dropped.
    DROPEFFECT DoDragDrop(DWORD effects = DROPEFFECT_COPY | DROPEFFECT_MOVE | DROPEFFECT_LINK,
                          const RECT* startRect = nullptr);

    // The source as OLE sees it (no reference added).
    IDataObject* GetDataObject();

private:
    class DataObject;
    DataObject* m_data;
};
