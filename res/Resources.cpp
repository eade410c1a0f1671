#include "res/Resources.h"

#include "res/Dialogs.h"
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
} // namespace

HINSTANCE AfxGetResourceHandle() { return Module().Handle(); }

HINSTANCE AfxGetInstanceHandle() { return Module().Handle(); }
