#include "framework/AfxOle.h"
#include <ole2.h>

// OLE stays initialised for the rest of the thread's life, as for the programs' UI threads.
BOOL AfxOleInit()
{
    static thread_local bool ready = false;
    if (ready) return TRUE;
    HRESULT hr = OleInitialize(nullptr);
    ready = SUCCEEDED(hr);
    return ready;
}
