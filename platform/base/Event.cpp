#include "platform/base/Event.h"

#include "platform/base/LastError.h"

namespace {

class EventObject : public ostrana::WaitableObject {
public:
    EventObject(bool manualReset, bool signaled) : m_manualReset(manualReset), m_signaled(signaled) {}
    bool IsSignaled() const override { return m_signaled; }
    void Consume() override {
        if (!m_manualReset) {
            m_signaled = false;
        }
    }
    void Set(bool signaled) {
        {
            std::lock_guard guard(WaitLock());
            m_signaled = signaled;
        }
        if (signaled) {
            NotifyWaiters();
        }
    }

private:
    bool m_manualReset;
    bool m_signaled; // guarded by WaitLock()
};

bool SetState(HANDLE event, bool signaled) {
    auto object = ostrana::LookupKernelObjectAs<EventObject>(event);
    if (!object) {
        SetLastError(ERROR_INVALID_HANDLE);
        return false;
    }
    object->Set(signaled);
    return true;
}

} // namespace

HANDLE CreateEventA(void* /*securityAttributes*/, BOOL manualReset, BOOL initialState, LPCSTR /*name*/) {
    return ostrana::InsertKernelObject(std::make_shared<EventObject>(manualReset != FALSE, initialState != FALSE));
}

BOOL SetEvent(HANDLE event) { return SetState(event, true) ? TRUE : FALSE; }

BOOL ResetEvent(HANDLE event) { return SetState(event, false) ? TRUE : FALSE; }
