// The by-name class registry lives behind a function so that registration during static
// initialisation of any translation unit finds it constructed.
#include "platform/base/Object.h"

#include <cstring>
#include <mutex>
#include <string>
#include <unordered_map>

namespace {

struct ClassRegistry {
    std::mutex lock;
    std::unordered_map<std::string, const CRuntimeClass*> byName;
};

ClassRegistry& Registry() {
    static ClassRegistry registry;
    return registry;
}

} // namespace

const CRuntimeClass CObject::classCObject = {"CObject", static_cast<int>(sizeof(CObject)), 0xFFFF, nullptr,
                                             nullptr};
static const AFX_CLASSINIT _init_CObject(&CObject::classCObject);

AFX_CLASSINIT::AFX_CLASSINIT(const CRuntimeClass* newClass) {
    ClassRegistry& registry = Registry();
    std::lock_guard guard(registry.lock);
    registry.byName.emplace(newClass->m_lpszClassName, newClass);
}

CObject* CRuntimeClass::CreateObject() const {
    return m_pfnCreateObject != nullptr ? m_pfnCreateObject() : nullptr;
}

BOOL CRuntimeClass::IsDerivedFrom(const CRuntimeClass* baseClass) const {
    for (const CRuntimeClass* current = this; current != nullptr; current = current->m_pBaseClass) {
        if (current == baseClass) {
            return TRUE;
        }
    }
    return FALSE;
}

const CRuntimeClass* CRuntimeClass::FromName(LPCSTR className) {
    if (className == nullptr) {
        return nullptr;
    }
    ClassRegistry& registry = Registry();
    std::lock_guard guard(registry.lock);
    auto found = registry.byName.find(className);
    return found != registry.byName.end() ? found->second : nullptr;
}

CObject* CRuntimeClass::CreateObject(LPCSTR className) {
    const CRuntimeClass* runtimeClass = FromName(className);
    return runtimeClass != nullptr ? runtimeClass->CreateObject() : nullptr;
}

const CRuntimeClass* CObject::GetRuntimeClass() const { return &classCObject; }

void CObject::Serialize(CArchive& /*ar*/) {}

BOOL CObject::IsKindOf(const CRuntimeClass* baseClass) const {
    return GetRuntimeClass()->IsDerivedFrom(baseClass);
}

BOOL CObject::IsSerializable() const { return GetRuntimeClass()->m_wSchema != 0xFFFF; }
