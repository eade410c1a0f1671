// Self-registration of the control module; see OstranaRegistration.h.
#include "control/OstranaRegistration.h"

#include <cstring>

#include "control/OstranaIds.h"
#include "platform/com/ClassFactory.h"
#include "platform/com/Guid.h"
#include "platform/registry/RegistryText.h"
#include "misc/ReportBox.h"

namespace {

constexpr UINT kControlTypeNameString = 1;
constexpr UINT kPageTypeNameString = 2;
constexpr int kToolboxBitmap = 1;

bool SetValue(const std::string& path, const char* name, const std::string& value) {
    return ostrana::WriteRegistryText(HKEY_CLASSES_ROOT, path, name, value);
}

bool SetDefault(const std::string& path, const std::string& value) { return SetValue(path, "", value); }

// A key that is already gone counts as removed.
bool RemoveKey(const std::string& path) {
    DWORD status = SHDeleteKeyA(HKEY_CLASSES_ROOT, path.c_str());
    return status == ERROR_SUCCESS || status == ERROR_FILE_NOT_FOUND;
}

bool WriteServer(const std::string& classKey, const std::string& modulePath) {
    return SetDefault(classKey + "\\InprocServer32", modulePath) &&
           SetValue(classKey + "\\InprocServer32", "ThreadingModel", "Apartment");
}

} // namespace

TypeLibDescription OstranaTypeLibrary() {
    return TypeLibDescription{LIBID_OstranaLib, "OstranaLib", kOstranaLibMajor, kOstranaLibMinor, LoadResourceString(kControlTypeNameString),
                              {{DIID__DOstrana, "_DOstrana"}, {DIID__DOstranaEvents, "_DOstranaEvents"}}};
}

BOOL UpdateControlRegistry(BOOL registering, const std::string& modulePath) {
    std::string classKey = "CLSID\\" + ostrana::GuidText(CLSID_Ostrana);
    if (!registering) return RemoveKey(classKey) && RemoveKey(kOstranaProgId) ? TRUE : FALSE;
    std::string typeName = LoadResourceString(kControlTypeNameString);
    bool written = SetDefault(classKey, typeName) && SetDefault(classKey + "\\ProgID", kOstranaProgId) &&
                   WriteServer(classKey, modulePath) &&
                   SetDefault(classKey + "\\ToolboxBitmap32", modulePath + ", " + std::to_string(kToolboxBitmap)) &&
                   SetDefault(classKey + "\\MiscStatus", "0") &&
                   SetDefault(classKey + "\\MiscStatus\\1", std::to_string(kOstranaMiscStatus)) &&
                   SetDefault(classKey + "\\TypeLib", ostrana::GuidText(LIBID_OstranaLib)) &&
                   SetDefault(classKey + "\\Version", std::to_string(kOstranaLibMajor) + "." + std::to_string(kOstranaLibMinor)) &&
                   SetDefault(classKey + "\\Control", "") && SetDefault(kOstranaProgId, typeName) &&
                   SetDefault(std::string(kOstranaProgId) + "\\CLSID", ostrana::GuidText(CLSID_Ostrana));
    return written ? TRUE : FALSE;
}

BOOL UpdatePropPageRegistry(BOOL registering, const std::string& modulePath) {
    std::string classKey = "CLSID\\" + ostrana::GuidText(CLSID_OstranaPropPage);
    if (!registering) return RemoveKey(classKey) ? TRUE : FALSE;
    return SetDefault(classKey, LoadResourceString(kPageTypeNameString)) && WriteServer(classKey, modulePath) ? TRUE : FALSE;
}

HRESULT RegisterOstranaModule(const std::string& modulePath) {
    if (FAILED(RegisterTypeLib(OstranaTypeLibrary(), modulePath))) return SELFREG_E_TYPELIB;
    if (!UpdateControlRegistry(TRUE, modulePath) || !UpdatePropPageRegistry(TRUE, modulePath)) return SELFREG_E_CLASS;
    return S_OK;
}

HRESULT UnregisterOstranaModule() {
    if (FAILED(UnRegisterTypeLib(LIBID_OstranaLib, kOstranaLibMajor, kOstranaLibMinor, 0, SYS_WIN32))) return SELFREG_E_TYPELIB;
    if (!UpdateControlRegistry(FALSE, {}) || !UpdatePropPageRegistry(FALSE, {})) return SELFREG_E_CLASS;
    return S_OK;
}
