#include "framework/COleDropTarget.h"
#include "framework/COleDataObject.h"
#include "framework/ComObject.h"
#include "framework/CWnd.h"

namespace {

// The effect a target answered, limited to what the source allows; of several, copy is
// kept before move and move before link.
DROPEFFECT FilterEffect(DROPEFFECT effect, DWORD allowed)
{
    DROPEFFECT scroll = effect & DROPEFFECT_SCROLL;
    effect &= allowed & (DROPEFFECT_COPY | DROPEFFECT_MOVE | DROPEFFECT_LINK);
    if (effect & DROPEFFECT_COPY) effect = DROPEFFECT_COPY;
    else if (effect & DROPEFFECT_MOVE) effect = DROPEFFECT_MOVE;
    return effect | scroll;
}

}  // namespace

class COleDropTarget::Target final : public ComObject<IDropTarget, &IID_IDropTarget> {
public:
    explicit Target(COleDropTarget* owner) : m_owner(owner) {}

    HRESULT STDMETHODCALLTYPE DragEnter(IDataObject* data, DWORD keyState, POINTL pt, DWORD* effect) override
    {
        KeepData(data);
        *effect = Ask(&COleDropTarget::OnDragEnter, keyState, pt, *effect);
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE DragOver(DWORD keyState, POINTL pt, DWORD* effect) override
    {
        *effect = Ask(&COleDropTarget::OnDragOver, keyState, pt, *effect);
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE DragLeave() override
    {
        if (m_owner && m_owner->m_pWnd) m_owner->OnDragLeave(m_owner->m_pWnd);
        KeepData(nullptr);
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE Drop(IDataObject* data, DWORD keyState, POINTL pt, DWORD* effect) override
    {
        KeepData(data);
        COleDropTarget* owner = m_owner;
        CWnd* wnd = owner ? owner->m_pWnd : nullptr;
        DWORD allowed = *effect;
        *effect = DROPEFFECT_NONE;
        if (wnd && m_data) {
            COleDataObject object;
            object.Attach(m_data, FALSE);
            POINT point = ClientPoint(wnd, pt);
            DROPEFFECT chosen = FilterEffect(owner->OnDragOver(wnd, &object, keyState, point), allowed);
            DROPEFFECT result = owner->OnDropEx(wnd, &object, chosen, allowed, point);
            if (result == (DROPEFFECT)-1) {
                result = DROPEFFECT_NONE;
                if (chosen != DROPEFFECT_NONE) {
                    if (owner->OnDrop(wnd, &object, chosen, point)) result = chosen;
                } else {
                    owner->OnDragLeave(wnd);
                }
            }
            *effect = FilterEffect(result, allowed);
        }
        KeepData(nullptr);
        return S_OK;
    }

    void Orphan() { m_owner = nullptr; }

private:
    typedef DROPEFFECT (COleDropTarget::*Question)(CWnd*, COleDataObject*, DWORD, POINT);
    // The owner's answer to an enter or a move, limited to what the source allows.
    DROPEFFECT Ask(Question question, DWORD keyState, POINTL pt, DWORD allowed)
    {
        COleDropTarget* owner = m_owner;
        CWnd* wnd = owner ? owner->m_pWnd : nullptr;
        if (!wnd || !m_data) return DROPEFFECT_NONE;
        COleDataObject object;
        object.Attach(m_data, FALSE);
        return FilterEffect((owner->*question)(wnd, &object, keyState, ClientPoint(wnd, pt)), allowed);
    }
    ~Target() override { KeepData(nullptr); }
    void KeepData(IDataObject* data)
    {
        if (data) data->AddRef();
        if (m_data) m_data->Release();
        m_data = data;
    }
    static POINT ClientPoint(CWnd* wnd, POINTL pt)
    {
        POINT p = {pt.x, pt.y};
        ScreenToClient(wnd->m_hWnd, &p);
        return p;
    }
    COleDropTarget* m_owner;
    IDataObject* m_data = nullptr;
};

COleDropTarget::COleDropTarget() : m_target(new Target(this))
{
}

COleDropTarget::~COleDropTarget()
{
    Revoke();
    m_target->Orphan();
    m_target->Release();
}

BOOL COleDropTarget::Register(CWnd* wnd)
{
    if (!wnd || !wnd->m_hWnd || m_hWndRegistered) return FALSE;
    if (FAILED(RegisterDragDrop(wnd->m_hWnd, m_target))) return FALSE;
    m_pWnd = wnd;
    m_hWndRegistered = wnd->m_hWnd;
    return TRUE;
}

void COleDropTarget::Revoke()
{
    if (m_hWndRegistered) {
        if (IsWindow(m_hWndRegistered)) RevokeDragDrop(m_hWndRegistered);
        m_hWndRegistered = nullptr;
    }
    m_pWnd = nullptr;
}

DROPEFFECT COleDropTarget::OnDragEnter(CWnd*, COleDataObject*, DWORD, POINT)
{
    return DROPEFFECT_NONE;
}

DROPEFFECT COleDropTarget::OnDragOver(CWnd*, COleDataObject*, DWORD, POINT)
{
    return DROPEFFECT_NONE;
}

BOOL COleDropTarget::OnDrop(CWnd*, COleDataObject*, DROPEFFECT, POINT)
{
    return FALSE;
}

DROPEFFECT COleDropTarget::OnDropEx(CWnd*, COleDataObject*, DROPEFFECT, DROPEFFECT, POINT)
{
    return (DROPEFFECT)-1;
}

void COleDropTarget::OnDragLeave(CWnd*)
{
}
