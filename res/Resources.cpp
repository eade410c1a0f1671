#include "res/Resources.h"

#include "res/Dialogs.h"
#include "res/FileTypeIcons.h"
#include "res/Images.h"
#include "res/Menus.h"
#include "res/StringTable.h"

namespace {
ostrana::ModuleResources& Module() {
    static ostrana::ModuleResources module(
        ostrana::ResourceTables{ostrana::OstranaStringTable(), ostrana::OstranaDialogs(), ostrana::OstranaMenus(),
                                ostrana::OstranaImages()});
    static const bool registered = [] {
        if (ostrana::DefaultResourceModule() == nullptr) ostrana::SetDefaultResourceModule(module.Handle());
        return true;
    }();
    (void)registered;
    return module;
}

// The shell may be asked for type icons before any resource is loaded, so the table goes to the
// platform when the module is loaded, as a module's start-up code would hand it over.
const bool g_fileTypeIconsRegistered = [] {
    ostrana::RegisterFileTypeIcons(ostrana::OstranaFileTypeIcons());
    return true;
}();
} // namespace

HINSTANCE AfxGetResourceHandle() { return Module().Handle(); }

HINSTANCE AfxGetInstanceHandle() { return Module().Handle(); }
