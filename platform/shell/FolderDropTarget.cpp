#include "platform/shell/FolderDropTarget.h"

#include <cctype>
#include <filesystem>

#include "platform/base/LocalPath.h"
#include "platform/ole/DataObject.h"
#include "platform/ole/DropFiles.h"
#include "platform/shell/FileOperation.h"
#include "platform/window/ClipboardFormat.h"
#include "platform/window/WindowMessages.h"

namespace ostrana::shellns {
namespace {

namespace fs = std::filesystem;

bool IsLocalPath(const std::string& path) {
    return path.size() >= 3 && std::isalpha(static_cast<unsigned char>(path[0])) && path[1] == ':' && path[2] == '\\' &&
           path.find('/') == std::string::npos;
}

char DriveOf(const std::string& path) { return static_cast<char>(std::toupper(static_cast<unsigned char>(path[0]))); }

// A folder dropped onto itself, its own parent (nothing would change) or a folder below it.
bool IsPointless(const std::string& source, const fs::path& folderHost) {
    std::optional<std::string> host = LocalToHostPath(source);
    if (!host) {
        return true;
    }
    fs::path path = fs::path(*host).lexically_normal();
    if (path.parent_path() == folderHost) {
        return true;
    }
    auto [end, at] = std::mismatch(path.begin(), path.end(), folderHost.begin(), folderHost.end());
    return end == path.end();
}

DWORD Pick(DWORD preferred, DWORD allowed) {
    if ((allowed & preferred) != 0) {
        return preferred;
    }
    if ((allowed & DROPEFFECT_COPY) != 0) {
        return DROPEFFECT_COPY;
    }
    return (allowed & DROPEFFECT_MOVE) != 0 ? DROPEFFECT_MOVE : DROPEFFECT_NONE;
}

} // namespace

FolderDropTarget::FolderDropTarget(HWND owner, Place folder) : m_owner(owner), m_folder(std::move(folder)) {}

HRESULT FolderDropTarget::QueryInterface(REFIID riid, void** object) {
    return QueryOwnInterface(riid, IID_IDropTarget, object);
}

std::vector<std::string> FolderDropTarget::DroppedPaths(IDataObject* data) {
    if (data == nullptr) {
        return {};
    }
    FORMATETC format = ostrana::DefaultFormatEtc(CF_HDROP);
    STGMEDIUM medium{};
    if (FAILED(data->GetData(&format, &medium))) {
        return {};
    }
    std::vector<std::string> paths;
    if (medium.tymed == TYMED_HGLOBAL) {
        paths = ostrana::DragQueryFiles(reinterpret_cast<HDROP>(medium.hGlobal));
    }
    ReleaseStgMedium(&medium);
    return paths;
}

DWORD FolderDropTarget::EffectFor(const std::vector<std::string>& paths, DWORD keyState, DWORD allowed) const {
    if (paths.empty() || !m_folder.HasExactPath() || m_folder.kind != PlaceKind::Directory) {
        return DROPEFFECT_NONE;
    }
    fs::path folderHost = fs::path(m_folder.hostPath).lexically_normal();
    bool sameDrive = true;
    for (const std::string& path : paths) {
        if (!IsLocalPath(path) || IsPointless(path, folderHost)) {
            return DROPEFFECT_NONE;
        }
        sameDrive = sameDrive && m_folder.localPath.size() >= 1 && DriveOf(path) == DriveOf(m_folder.localPath);
    }
    if ((keyState & MK_CONTROL) != 0) {
        return Pick(DROPEFFECT_COPY, allowed & DROPEFFECT_COPY);
    }
    if ((keyState & MK_SHIFT) != 0) {
        return Pick(DROPEFFECT_MOVE, allowed & DROPEFFECT_MOVE);
    }
    return Pick(sameDrive ? DROPEFFECT_MOVE : DROPEFFECT_COPY, allowed);
}

HRESULT FolderDropTarget::DragEnter(IDataObject* data, DWORD keyState, POINTL, DWORD* effect) {
    if (effect == nullptr) {
        return E_INVALIDARG;
    }
    m_dragged = DroppedPaths(data);
    *effect = EffectFor(m_dragged, keyState, *effect);
    return S_OK;
}

HRESULT FolderDropTarget::DragOver(DWORD keyState, POINTL, DWORD* effect) {
    if (effect == nullptr) {
        return E_INVALIDARG;
    }
    *effect = EffectFor(m_dragged, keyState, *effect);
    return S_OK;
}

HRESULT FolderDropTarget::DragLeave() {
    m_dragged.clear();
    return S_OK;
}

HRESULT FolderDropTarget::Drop(IDataObject* data, DWORD keyState, POINTL, DWORD* effect) {
    if (effect == nullptr) {
        return E_INVALIDARG;
    }
    std::vector<std::string> paths = DroppedPaths(data);
    m_dragged.clear();
    DWORD chosen = EffectFor(paths, keyState, *effect);
    *effect = DROPEFFECT_NONE;
    if (chosen == DROPEFFECT_NONE) {
        return S_OK;
    }
    std::string from;
    for (const std::string& path : paths) {
        from += path;
        from += '\0';
    }
    from += '\0';
    std::string to = m_folder.localPath + '\0' + '\0';
    SHFILEOPSTRUCTA operation{};
    operation.hwnd = m_owner;
    operation.wFunc = chosen == DROPEFFECT_MOVE ? FO_MOVE : FO_COPY;
    operation.pFrom = from.c_str();
    operation.pTo = to.c_str();
    operation.fFlags = FOF_ALLOWUNDO;
    if (SHFileOperationA(&operation) == 0 && !operation.fAnyOperationsAborted) {
        *effect = chosen;
    }
    return S_OK;
}

} // namespace ostrana::shellns
