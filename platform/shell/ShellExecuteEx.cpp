// ShellExecuteExA: "open" goes to the opener as ShellExecuteA does, "properties" to the property
// sheet window. An item given by id list is opened by its file-system path.
#include <cctype>
#include <string>

#include "platform/base/CodePage.h"

#include "platform/base/LastError.h"
#include "platform/shell/PropertySheet.h"
#include "platform/shell/ShellExecute.h"
#include "platform/shell/ShellFolder.h"

namespace {

bool SameVerb(const std::string& verb, const char* known) {
    if (verb.size() != std::char_traits<char>::length(known)) {
        return false;
    }
    for (std::size_t i = 0; i < verb.size(); ++i) {
        if (std::tolower(static_cast<unsigned char>(verb[i])) != known[i]) {
            return false;
        }
    }
    return true;
}

// The item's absolute list: the one given, or the parsed path; the caller frees a parsed one.
PCIDLIST_ABSOLUTE ItemList(const SHELLEXECUTEINFOA& info, LPITEMIDLIST& parsed) {
    parsed = nullptr;
    if ((info.fMask & SEE_MASK_IDLIST) == SEE_MASK_IDLIST && info.lpIDList != nullptr) {
        return static_cast<PCIDLIST_ABSOLUTE>(info.lpIDList);
    }
    if (info.lpFile == nullptr || *info.lpFile == '\0') {
        return nullptr;
    }
    IShellFolder* desktop = nullptr;
    if (FAILED(SHGetDesktopFolder(&desktop))) {
        return nullptr;
    }
    std::u16string wide = ostrana::ToWide(info.lpFile);
    desktop->ParseDisplayName(info.hwnd, nullptr, wide.data(), nullptr, &parsed, nullptr);
    desktop->Release();
    return parsed;
}

BOOL ShowProperties(LPSHELLEXECUTEINFOA info) {
    LPITEMIDLIST parsed = nullptr;
    PCIDLIST_ABSOLUTE list = ItemList(*info, parsed);
    HWND sheet = list != nullptr ? ostrana::ShowPropertySheet(info->hwnd, list) : nullptr;
    ILFree(parsed);
    info->hInstApp = reinterpret_cast<HINSTANCE>(static_cast<INT_PTR>(sheet != nullptr ? 42 : SE_ERR_FNF));
    if (sheet == nullptr) {
        SetLastError(ERROR_FILE_NOT_FOUND);
        return FALSE;
    }
    return TRUE;
}

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
    if (SameVerb(verb, "properties")) {
        return ShowProperties(info);
    }
    std::string path;
    if (!ItemPath(*info, path)) {
        info->hInstApp = reinterpret_cast<HINSTANCE>(static_cast<INT_PTR>(SE_ERR_FNF));
        SetLastError(ERROR_FILE_NOT_FOUND);
        return FALSE;
    }
    if (!verb.empty() && !SameVerb(verb, "open")) {
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
