// The namespace questions of the local panes; see ShellNamespace.h.
#include "shell/ShellNamespace.h"

#include "platform/base/CodePage.h"
#include "platform/shell/FileInfo.h"
#include "platform/shell/FileOperation.h"
#include "platform/shell/ShellExecute.h"
#include "platform/shell/ShellMalloc.h"
#include "platform/window/WindowGeometry.h"

namespace ShellNamespace {

std::string StrRetText(STRRET& record, LPCITEMIDLIST item) {
    char text[1024] = {};
    if (FAILED(StrRetToBufA(&record, item, text, sizeof text))) return {};
    return text;
}

std::string DisplayName(IShellFolder* folder, LPCITEMIDLIST item, DWORD flags) {
    if (folder == nullptr || item == nullptr) return {};
    STRRET name{};
    if (FAILED(folder->GetDisplayNameOf(item, flags, &name))) return {};
    return StrRetText(name, item);
}

ULONG Attributes(IShellFolder* folder, LPCITEMIDLIST item, ULONG mask) {
    if (folder == nullptr || item == nullptr) return 0;
    ULONG attributes = mask;
    if (FAILED(folder->GetAttributesOf(1, &item, &attributes))) return 0;
    return attributes & mask;
}

std::string PathOf(LPCITEMIDLIST absolute) {
    if (absolute == nullptr) return {};
    char path[MAX_PATH] = {};
    if (!SHGetPathFromIDListA(absolute, path)) return {};
    return path;
}

ShellPtr<IShellFolder> Bind(IShellFolder* parent, LPCITEMIDLIST relative) {
    ShellPtr<IShellFolder> folder;
    if (parent == nullptr || relative == nullptr) return folder;
    if (FAILED(parent->BindToObject(relative, nullptr, IID_IShellFolder, folder.OutVoid()))) folder.Reset();
    return folder;
}

ShellPtr<IShellFolder> Desktop() {
    ShellPtr<IShellFolder> desktop;
    if (FAILED(SHGetDesktopFolder(desktop.Out()))) desktop.Reset();
    return desktop;
}

ShellIdList Parse(IShellFolder* desktop, const std::string& path) {
    ShellIdList list;
    if (desktop == nullptr || path.empty()) return list;
    std::u16string wide = ostrana::ToWide(path, CP_ACP);
    ULONG eaten = 0;
    if (FAILED(desktop->ParseDisplayName(nullptr, nullptr, wide.data(), &eaten, list.Out(), nullptr))) list.Reset();
    return list;
}

ShellIdList SpecialFolder(int number) {
    ShellIdList list;
    if (FAILED(SHGetSpecialFolderLocation(nullptr, number, list.Out()))) list.Reset();
    return list;
}

int Compare(IShellFolder* folder, LPARAM column, LPCITEMIDLIST first, LPCITEMIDLIST second) {
    if (folder == nullptr) return 0;
    HRESULT result = folder->CompareIDs(column, first, second);
    if (FAILED(result)) return 0;
    return static_cast<short>(static_cast<unsigned>(result) & 0xFFFFu);
}

bool Enumerate(IShellFolder* folder, HWND owner, DWORD flags, const std::function<void(ShellIdList)>& each) {
    if (folder == nullptr) return false;
    ShellPtr<IEnumIDList> items;
    if (folder->EnumObjects(owner, flags, items.Out()) != S_OK || !items) return false;
    for (;;) {
        LPITEMIDLIST item = nullptr;
        ULONG fetched = 0;
        if (items->Next(1, &item, &fetched) != S_OK || fetched == 0) break;
        each(ShellIdList(item));
    }
    return true;
}

int SmallIcon(LPCITEMIDLIST absolute, bool open) {
    SHFILEINFOA info;
    UINT flags = SHGFI_PIDL | SHGFI_SYSICONINDEX | SHGFI_SMALLICON | (open ? SHGFI_OPENICON : 0);
    if (SHGetFileInfoA(reinterpret_cast<LPCSTR>(absolute), 0, &info, sizeof info, flags) == 0) return 0;
    return info.iIcon < 0 ? 0 : info.iIcon;
}

bool Execute(HWND owner, LPCITEMIDLIST absolute, LPCSTR verb) {
    if (absolute == nullptr) return false;
    SHELLEXECUTEINFOA info{};
    info.cbSize = sizeof info;
    info.fMask = SEE_MASK_INVOKEIDLIST;
    info.hwnd = owner;
    info.lpVerb = verb;
    info.lpIDList = const_cast<LPITEMIDLIST>(absolute);
    info.nShow = SW_SHOW;
    return ShellExecuteExA(&info) != FALSE;
}

bool ExecutePath(HWND owner, const std::string& path, LPCSTR verb) {
    if (path.empty()) return false;
    SHELLEXECUTEINFOA info{};
    info.cbSize = sizeof info;
    info.fMask = SEE_MASK_INVOKEIDLIST;
    info.hwnd = owner;
    info.lpVerb = verb;
    info.lpFile = path.c_str();
    info.nShow = SW_SHOW;
    return ShellExecuteExA(&info) != FALSE;
}

bool FileOperation(HWND owner, UINT function, const std::string& from, const std::string& to, UINT flags) {
    SHFILEOPSTRUCTA operation{};
    operation.hwnd = owner;
    operation.wFunc = function;
    operation.pFrom = from.c_str();
    operation.pTo = to.empty() ? nullptr : to.c_str();
    operation.fFlags = static_cast<FILEOP_FLAGS>(flags);
    return SHFileOperationA(&operation) == 0 && !operation.fAnyOperationsAborted;
}

std::string SingleNameBuffer(const std::string& name) {
    std::string buffer = name;
    buffer.push_back('\0');
    buffer.push_back('\0');
    return buffer;
}

} // namespace ShellNamespace
