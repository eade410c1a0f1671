#include "res/Resources.h"

#include "res/StringTable.h"

namespace {
ostrana::ModuleResources& Module() {
    static ostrana::ModuleResources module(ostrana::OstranaStringTable());
    return module;
}
} // namespace

HINSTANCE AfxGetResourceHandle() { return Module().Handle(); }

HINSTANCE AfxGetInstanceHandle() { return Module().Handle(); }
