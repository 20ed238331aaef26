#pragma once
#include <windows.h>
#include <unknwn.h>

// The reference counting of a COM object of one interface I (with identifier *iid). It
// starts with one reference, its maker's; the last Release deletes it.
template <class I, const IID* iid>
class ComObject : public I {
public:
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID wanted, void** out) override
    {
        if (wanted == IID_IUnknown || wanted == *iid) {
            *out = static_cast<I*>(this);
            AddRef();
            return S_OK;
        }
        *out = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++m_refs; }
    ULONG STDMETHODCALLTYPE Release() override
    {
        ULONG n = --m_refs;
        if (!n) delete this;
        return n;
    }

protected:
    virtual ~ComObject() = default;

private:
    ULONG m_refs = 1;
};
