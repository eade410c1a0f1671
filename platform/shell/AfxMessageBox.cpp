#include "platform/shell/AfxMessageBox.h"

#include <string>

#include "platform/base/ModuleResources.h"
#include "platform/window/AfxWinApp.h"
#include "platform/window/Focus.h"
#include "platform/window/MessageBox.h"

namespace {

std::string AppCaption() {
    CWinApp* app = AfxGetApp();
    if (app != nullptr && !app->m_pszAppName.empty()) {
        return app->m_pszAppName;
    }
    return "Ostrana";
}

} // namespace

int AfxMessageBox(LPCSTR text, UINT type, UINT) {
    std::string caption = AppCaption();
    return MessageBoxA(GetActiveWindow(), text == nullptr ? "" : text, caption.c_str(), type);
}

int AfxMessageBox(UINT promptId, UINT type, UINT helpId) {
    char text[1024] = {};
    LoadStringA(ostrana::DefaultResourceModule(), promptId, text, sizeof text);
    return AfxMessageBox(text, type, helpId);
}
