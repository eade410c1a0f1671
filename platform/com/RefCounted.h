// The reference count of a COM object implementing one interface: created with one reference,
// deleted when the last is released. Counting is atomic, so references may travel between threads.
#pragma once

#include <atomic>

#include "platform/com/Unknown.h"

namespace ostrana {

template <typename Interface> class RefCounted : public Interface {
public:
    virtual ~RefCounted() = default;

    ULONG AddRef() override { return ++m_references; }
    ULONG Release() override {
        ULONG left = --m_references;
        if (left == 0) {
            delete this;
        }
        return left;
    }

protected:
    // Answers for IUnknown and the one interface; the caller gets a reference.
    HRESULT QueryOwnInterface(REFIID riid, REFIID own, void** object) {
        if (object == nullptr) {
            return E_POINTER;
        }
        if (riid == IID_IUnknown || riid == own) {
            *object = static_cast<Interface*>(this);
            AddRef();
            return S_OK;
        }
        *object = nullptr;
        return E_NOINTERFACE;
    }

private:
    std::atomic<ULONG> m_references{1};
};

} // namespace ostrana
