// The class table behind CoCreateInstance, the in-process servers it loads through the registry,
// and the per-thread initialisation count.
#include "platform/com/Com.h"

#include <dlfcn.h>

#include <cstring>
#include <filesystem>
#include <map>
#include <mutex>
#include <vector>

#include "platform/base/LocalPath.h"
#include "platform/com/ClassFactory.h"
#include "platform/com/Guid.h"
#include "platform/registry/RegistryText.h"

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

// Loaded servers by host path; a server stays loaded until it agrees to unload.
std::mutex& ModuleLock() {
    static std::mutex lock;
    return lock;
}

std::map<std::string, void*>& Modules() {
    static std::map<std::string, void*> modules;
    return modules;
}

bool RegisteredServerPath(REFCLSID clsid, std::string& localPath) {
    auto path = ostrana::ReadRegistryText(HKEY_CLASSES_ROOT, "CLSID\\" + ostrana::GuidText(clsid) + "\\InprocServer32");
    if (!path || path->empty()) return false;
    localPath = *path;
    return true;
}

void* LoadServer(const std::string& hostPath) {
    std::lock_guard guard(ModuleLock());
    auto found = Modules().find(hostPath);
    if (found != Modules().end()) return found->second;
    void* module = dlopen(hostPath.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (module != nullptr) Modules()[hostPath] = module;
    return module;
}

HRESULT CreateFromRegisteredServer(REFCLSID clsid, REFIID iid, void** object) {
    std::string localPath;
    if (!RegisteredServerPath(clsid, localPath)) return REGDB_E_CLASSNOTREG;
    auto hostPath = ostrana::LocalToHostPath(localPath);
    if (!hostPath) return CO_E_DLLNOTFOUND;
    void* module = LoadServer(*hostPath);
    if (module == nullptr) return CO_E_DLLNOTFOUND;
    auto getClassObject = reinterpret_cast<DllGetClassObjectFunction>(dlsym(module, "DllGetClassObject"));
    if (getClassObject == nullptr) return CO_E_ERRORINDLL;
    IClassFactory* factory = nullptr;
    HRESULT status = getClassObject(clsid, IID_IClassFactory, reinterpret_cast<void**>(&factory));
    if (FAILED(status) || factory == nullptr) return FAILED(status) ? status : CLASS_E_CLASSNOTAVAILABLE;
    status = factory->CreateInstance(nullptr, iid, object);
    factory->Release();
    return status;
}

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
    return creator ? creator(iid, object) : CreateFromRegisteredServer(clsid, iid, object);
}

void CoFreeUnusedLibraries() {
    std::lock_guard guard(ModuleLock());
    for (auto it = Modules().begin(); it != Modules().end();) {
        auto canUnload = reinterpret_cast<DllCanUnloadNowFunction>(dlsym(it->second, "DllCanUnloadNow"));
        if (canUnload != nullptr && canUnload() == S_OK) {
            dlclose(it->second);
            it = Modules().erase(it);
        } else {
            ++it;
        }
    }
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

std::string ProgramFolder() {
    std::error_code error;
    std::filesystem::path program = std::filesystem::read_symlink("/proc/self/exe", error);
    return error ? std::string() : program.parent_path().string();
}

bool IsServerRegistered(const std::string& progId) {
    auto clsid = ReadRegistryText(HKEY_CLASSES_ROOT, progId + "\\CLSID");
    if (!clsid) return false;
    auto parsed = ParseGuid(*clsid);
    std::string localPath;
    if (!parsed || !RegisteredServerPath(*parsed, localPath)) return false;
    auto hostPath = LocalToHostPath(localPath);
    std::error_code error;
    return hostPath && std::filesystem::is_regular_file(*hostPath, error);
}

HRESULT RegisterServerIfMissing(const std::string& progId, const std::string& moduleHostPath) {
    if (IsServerRegistered(progId)) return S_OK;
    void* module = dlopen(moduleHostPath.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (module == nullptr) return CO_E_DLLNOTFOUND;
    auto registerServer = reinterpret_cast<DllRegisterServerFunction>(dlsym(module, "DllRegisterServer"));
    HRESULT status = registerServer != nullptr ? registerServer() : CO_E_ERRORINDLL;
    dlclose(module);
    return status;
}

std::string ModuleLocalPath(const void* address) {
    Dl_info info{};
    if (dladdr(address, &info) == 0 || info.dli_fname == nullptr) return {};
    return HostToLocalPath(info.dli_fname);
}

} // namespace ostrana
