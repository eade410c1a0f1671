// The root of the framework's class model: run-time class information by name, dynamic creation
// and serialisation. Every class registered with IMPLEMENT_DYNAMIC/DYNCREATE/SERIAL is findable by
// its name for the life of the process; the registry is filled by static initialisation only.
#pragma once

#include "platform/base/WinTypes.h"

class CArchive;
class CObject;

struct CRuntimeClass {
    LPCSTR m_lpszClassName;
    int m_nObjectSize;
    UINT m_wSchema; // 0xFFFF for classes that are not serialisable
    CObject* (*m_pfnCreateObject)();
    const CRuntimeClass* m_pBaseClass;

    // A new object of this class, or null when the class cannot be created dynamically.
    CObject* CreateObject() const;
    BOOL IsDerivedFrom(const CRuntimeClass* baseClass) const;

    // Lookups by name among the registered classes (names compare exactly).
    static const CRuntimeClass* FromName(LPCSTR className);
    static CObject* CreateObject(LPCSTR className);
};

// Adds a class to the by-name registry; used by the IMPLEMENT_ macros at static initialisation.
struct AFX_CLASSINIT {
    explicit AFX_CLASSINIT(const CRuntimeClass* newClass);
};

class CObject {
public:
    virtual const CRuntimeClass* GetRuntimeClass() const;
    virtual ~CObject() = default;
    virtual void Serialize(CArchive& ar);

    BOOL IsKindOf(const CRuntimeClass* baseClass) const;
    BOOL IsSerializable() const;

    static const CRuntimeClass classCObject;

protected:
    CObject() = default;
    CObject(const CObject&) = default;
    CObject& operator=(const CObject&) = default;
};

#define RUNTIME_CLASS(class_name) (&class_name::class##class_name)

#define DECLARE_DYNAMIC(class_name)                                                                          \
public:                                                                                                      \
    static const CRuntimeClass class##class_name;                                                            \
    const CRuntimeClass* GetRuntimeClass() const override;

#define DECLARE_DYNCREATE(class_name)                                                                        \
    DECLARE_DYNAMIC(class_name)                                                                              \
    static CObject* CreateObject();

#define DECLARE_SERIAL(class_name) DECLARE_DYNCREATE(class_name)

#define OSTRANA_IMPLEMENT_RUNTIMECLASS(class_name, base_class_name, schema, create)                          \
    const CRuntimeClass class_name::class##class_name = {#class_name, static_cast<int>(sizeof(class_name)),  \
                                                         schema, create, RUNTIME_CLASS(base_class_name)};    \
    static const AFX_CLASSINIT _init_##class_name(RUNTIME_CLASS(class_name));                                \
    const CRuntimeClass* class_name::GetRuntimeClass() const { return RUNTIME_CLASS(class_name); }

#define IMPLEMENT_DYNAMIC(class_name, base_class_name)                                                       \
    OSTRANA_IMPLEMENT_RUNTIMECLASS(class_name, base_class_name, 0xFFFF, nullptr)

#define IMPLEMENT_DYNCREATE(class_name, base_class_name)                                                     \
    CObject* class_name::CreateObject() { return new class_name; }                                           \
    OSTRANA_IMPLEMENT_RUNTIMECLASS(class_name, base_class_name, 0xFFFF, class_name::CreateObject)

#define IMPLEMENT_SERIAL(class_name, base_class_name, schema)                                                \
    CObject* class_name::CreateObject() { return new class_name; }                                           \
    OSTRANA_IMPLEMENT_RUNTIMECLASS(class_name, base_class_name, schema, class_name::CreateObject)
