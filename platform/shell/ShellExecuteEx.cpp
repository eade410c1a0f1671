// ShellExecuteExA: "open" goes to the opener as ShellExecuteA does, "properties" to the property
// sheet window. An item given by id list is opened by its file-system path.
#include <string>

#include "platform/base/LastError.h"
#include "platform/shell/ShellExecute.h"
#include "platform/shell/ShellFolder.h"

namespace {

bool ItemPath(const SHELLEXECUTEINFOA& info, std::string& path) {
    if ((info.fMask & SEE_MASK_IDLIST) == SEE_MASK_IDLIST && info.lpIDList != nullptr) {
        char buffer[MAX_PATH] = {};
        if (!SHGetPathFromIDListA(static_cast<PCIDLIST_ABSOLUTE>(info.lpIDList), buffer)) {
            return false;
        }
        path = buffer;
        return true;
    }
    if (info.lpFile == nullptr || *info.lpFile == '\0') {
        return false;
    }
    path = info.lpFile;
    return true;
}

} // namespace

BOOL ShellExecuteExA(LPSHELLEXECUTEINFOA info) {
    if (info == nullptr) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    std::string verb = info->lpVerb == nullptr ? "" : info->lpVerb;
    std::string path;
    if (!ItemPath(*info, path)) {
        info->hInstApp = reinterpret_cast<HINSTANCE>(static_cast<INT_PTR>(SE_ERR_FNF));
        SetLastError(ERROR_FILE_NOT_FOUND);
        return FALSE;
    }
    if (!verb.empty() && verb != "open") {
        info->hInstApp = reinterpret_cast<HINSTANCE>(static_cast<INT_PTR>(SE_ERR_NOASSOC));
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    info->hInstApp = ShellExecuteA(info->hwnd, "open", path.c_str(), info->lpParameters, info->lpDirectory, info->nShow);
    if (reinterpret_cast<INT_PTR>(info->hInstApp) <= 32) {
        SetLastError(ERROR_FILE_NOT_FOUND);
        return FALSE;
    }
    return TRUE;
}
