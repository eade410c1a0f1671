// The class table behind CoCreateInstance and the per-thread initialisation count.
#include "platform/com/Com.h"

#include <mutex>
#include <vector>

namespace {

struct ClassEntry {
    CLSID clsid;
    ostrana::ClassCreator creator;
};

std::mutex& ClassLock() {
    static std::mutex lock;
    return lock;
}

std::vector<ClassEntry>& Classes() {
    static std::vector<ClassEntry> classes;
    return classes;
}

thread_local int t_comInitCount = 0;

} // namespace

HRESULT CoInitializeEx(void* /*reserved*/, DWORD /*coInit*/) {
    return t_comInitCount++ == 0 ? S_OK : S_FALSE;
}

void CoUninitialize() {
    if (t_comInitCount > 0) {
        --t_comInitCount;
    }
}

HRESULT CoCreateInstance(REFCLSID clsid, LPUNKNOWN outer, DWORD /*classContext*/, REFIID iid, void** object) {
    if (object == nullptr) {
        return E_POINTER;
    }
    *object = nullptr;
    if (outer != nullptr) {
        return CLASS_E_NOAGGREGATION;
    }
    ostrana::ClassCreator creator;
    {
        std::lock_guard guard(ClassLock());
        for (const ClassEntry& entry : Classes()) {
            if (entry.clsid == clsid) {
                creator = entry.creator;
            }
        }
    }
    return creator ? creator(iid, object) : REGDB_E_CLASSNOTREG;
}

namespace ostrana {

void RegisterInProcessClass(REFCLSID clsid, ClassCreator creator) {
    std::lock_guard guard(ClassLock());
    auto& classes = Classes();
    std::erase_if(classes, [&](const ClassEntry& entry) { return entry.clsid == clsid; });
    classes.push_back({clsid, std::move(creator)});
}

void RevokeInProcessClass(REFCLSID clsid) {
    std::lock_guard guard(ClassLock());
    std::erase_if(Classes(), [&](const ClassEntry& entry) { return entry.clsid == clsid; });
}

int ComInitCountOfThread() { return t_comInitCount; }

} // namespace ostrana
