// The module's application object; see OstranaApp.h.
#include "control/OstranaApp.h"

#include "res/Resources.h"

IMPLEMENT_DYNAMIC(COstranaApp, CWinApp)

COstranaApp::COstranaApp() : CWinApp("Ostrana") {
    SetRegistryKey("Zelkor");
    // Dialogs, menus and bitmaps without a module of their own come from ours.
    AfxGetResourceHandle();
}
