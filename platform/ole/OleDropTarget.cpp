#include "platform/ole/OleDropTarget.h"

#include "platform/com/RefCounted.h"
#include "platform/ole/OleDataSource.h"
#include "platform/window/WindowGeometry.h"

namespace ostrana {

// The reference-counted interface a COleDropTarget registers. It outlives the framework object
// when the system still holds a reference; the object clears its pointer when it goes.
class DropTargetBridge final : public RefCounted<IDropTarget> {
public:
    explicit DropTargetBridge(COleDropTarget* owner) : m_owner(owner) {}
    void Forget() { m_owner = nullptr; }

    HRESULT QueryInterface(REFIID riid, void** object) override { return QueryOwnInterface(riid, IID_IDropTarget, object); }

    HRESULT DragEnter(IDataObject* data, DWORD keyState, POINTL point, DWORD* effect) override {
        if (effect == nullptr) return E_INVALIDARG;
        m_data.Release();
        if (m_owner == nullptr) {
            *effect = DROPEFFECT_NONE;
            return S_OK;
        }
        data->AddRef();
        m_data.Attach(data, TRUE);
        POINT client = Client(point);
        CWnd* window = CWnd::FromHandle(m_owner->m_hWnd);
        DWORD allowed = *effect;
        DROPEFFECT scroll = m_owner->OnDragScroll(window, keyState, client);
        m_last = (scroll & DROPEFFECT_SCROLL) ? scroll : m_owner->OnDragEnter(window, &m_data, keyState, client);
        m_last &= allowed | DROPEFFECT_SCROLL;
        *effect = m_last;
        return S_OK;
    }

    HRESULT DragOver(DWORD keyState, POINTL point, DWORD* effect) override {
        if (effect == nullptr) return E_INVALIDARG;
        if (m_owner == nullptr) {
            *effect = DROPEFFECT_NONE;
            return S_OK;
        }
        POINT client = Client(point);
        CWnd* window = CWnd::FromHandle(m_owner->m_hWnd);
        DWORD allowed = *effect;
        DROPEFFECT scroll = m_owner->OnDragScroll(window, keyState, client);
        m_last = (scroll & DROPEFFECT_SCROLL) ? scroll : m_owner->OnDragOver(window, &m_data, keyState, client);
        m_last &= allowed | DROPEFFECT_SCROLL;
        *effect = m_last;
        return S_OK;
    }

    HRESULT DragLeave() override {
        if (m_owner != nullptr) m_owner->OnDragLeave(CWnd::FromHandle(m_owner->m_hWnd));
        m_data.Release();
        return S_OK;
    }

    HRESULT Drop(IDataObject* data, DWORD keyState, POINTL point, DWORD* effect) override {
        if (effect == nullptr) return E_INVALIDARG;
        DWORD allowed = *effect;
        *effect = DROPEFFECT_NONE;
        if (m_owner == nullptr) return S_OK;
        m_data.Release();
        data->AddRef();
        m_data.Attach(data, TRUE);
        POINT client = Client(point);
        CWnd* window = CWnd::FromHandle(m_owner->m_hWnd);
        DROPEFFECT chosen = m_last & ~static_cast<DWORD>(DROPEFFECT_SCROLL);
        (void)keyState;
        DROPEFFECT result = m_owner->OnDropEx(window, &m_data, chosen, allowed, client);
        if (result == static_cast<DROPEFFECT>(-1)) result = m_owner->OnDrop(window, &m_data, chosen, client) ? chosen : DROPEFFECT_NONE;
        *effect = result & allowed;
        m_data.Release();
        return S_OK;
    }

private:
    POINT Client(POINTL point) const {
        POINT client{point.x, point.y};
        if (m_owner != nullptr) ScreenToClient(m_owner->m_hWnd, &client);
        return client;
    }

    COleDropTarget* m_owner;
    COleDataObject m_data;
    DROPEFFECT m_last = DROPEFFECT_NONE;
};

class DropSourceBridge final : public RefCounted<IDropSource> {
public:
    explicit DropSourceBridge(COleDropSource* owner) : m_owner(owner) {}
    void Forget() { m_owner = nullptr; }

    HRESULT QueryInterface(REFIID riid, void** object) override { return QueryOwnInterface(riid, IID_IDropSource, object); }
    HRESULT QueryContinueDrag(BOOL escapePressed, DWORD keyState) override {
        return m_owner != nullptr ? m_owner->QueryContinueDrag(escapePressed, keyState) : DRAGDROP_S_CANCEL;
    }
    HRESULT GiveFeedback(DWORD effect) override {
        return m_owner != nullptr ? m_owner->GiveFeedback(effect) : DRAGDROP_S_USEDEFAULTCURSORS;
    }

private:
    COleDropSource* m_owner;
};

} // namespace ostrana

using namespace ostrana;

IMPLEMENT_DYNAMIC(COleDropTarget, CObject)
IMPLEMENT_DYNAMIC(COleDropSource, CObject)

COleDropTarget::COleDropTarget() = default;

COleDropTarget::~COleDropTarget() { Revoke(); }

BOOL COleDropTarget::Register(CWnd* window) {
    if (window == nullptr || m_hWnd != nullptr) return FALSE;
    auto* bridge = new DropTargetBridge(this);
    if (RegisterDragDrop(window->GetSafeHwnd(), bridge) != S_OK) {
        bridge->Release();
        return FALSE;
    }
    m_bridge = bridge;
    m_hWnd = window->GetSafeHwnd();
    return TRUE;
}

void COleDropTarget::Revoke() {
    if (m_bridge == nullptr) return;
    RevokeDragDrop(m_hWnd);
    m_bridge->Forget();
    m_bridge->Release();
    m_bridge = nullptr;
    m_hWnd = nullptr;
}

DROPEFFECT COleDropTarget::OnDragEnter(CWnd*, COleDataObject*, DWORD, POINT) { return DROPEFFECT_NONE; }
DROPEFFECT COleDropTarget::OnDragOver(CWnd*, COleDataObject*, DWORD, POINT) { return DROPEFFECT_NONE; }
BOOL COleDropTarget::OnDrop(CWnd*, COleDataObject*, DROPEFFECT, POINT) { return FALSE; }
DROPEFFECT COleDropTarget::OnDropEx(CWnd*, COleDataObject*, DROPEFFECT, DROPEFFECT, POINT) { return static_cast<DROPEFFECT>(-1); }
void COleDropTarget::OnDragLeave(CWnd*) {}
DROPEFFECT COleDropTarget::OnDragScroll(CWnd*, DWORD, POINT) { return DROPEFFECT_NONE; }

COleDropSource::COleDropSource() {
    // The button down when the drag begins is the one whose release drops.
    if (CurrentKeyState() & MK_RBUTTON && !(CurrentKeyState() & MK_LBUTTON)) {
        m_dropButton = MK_RBUTTON;
        m_cancelButton = MK_LBUTTON;
    }
}

COleDropSource::~COleDropSource() {
    if (m_bridge != nullptr) {
        m_bridge->Forget();
        m_bridge->Release();
    }
}

HRESULT COleDropSource::QueryContinueDrag(BOOL escapePressed, DWORD keyState) {
    if (escapePressed || (keyState & m_cancelButton)) return DRAGDROP_S_CANCEL;
    if (!(keyState & m_dropButton)) return DRAGDROP_S_DROP;
    return S_OK;
}

HRESULT COleDropSource::GiveFeedback(DROPEFFECT) { return DRAGDROP_S_USEDEFAULTCURSORS; }

IDropSource* COleDropSource::GetInterface() {
    if (m_bridge == nullptr) m_bridge = new DropSourceBridge(this);
    return m_bridge;
}

DROPEFFECT COleDataSource::DoDragDrop(DWORD effects, LPCRECT startRect, COleDropSource* dropSource) {
    // With a start rectangle the drag begins only once the cursor leaves it.
    if (startRect != nullptr && !WaitForDragStart(*startRect)) return DROPEFFECT_NONE;
    COleDropSource fallback;
    COleDropSource* source = dropSource != nullptr ? dropSource : &fallback;
    DWORD effect = DROPEFFECT_NONE;
    HRESULT result = ::DoDragDrop(GetDataObject(), source->GetInterface(), effects, &effect);
    return result == DRAGDROP_S_DROP ? effect : DROPEFFECT_NONE;
}
