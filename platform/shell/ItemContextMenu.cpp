#include "platform/shell/ItemContextMenu.h"

#include <cstring>

#include "platform/base/CodePage.h"
#include "platform/base/ResourceTypes.h"
#include "platform/shell/FileOperation.h"
#include "platform/shell/PropertySheet.h"
#include "platform/shell/RenamePrompt.h"
#include "platform/shell/ShellExecute.h"
#include "platform/shell/ShellItemInfo.h"
#include "platform/window/Input.h"
#include "platform/window/MessageBox.h"
#include "platform/window/VirtualKeys.h"

namespace ostrana::shellns {
namespace {

struct CommandText {
    const char* verb;
    const char* label; // UTF-8
    const char* help;  // UTF-8
};

constexpr CommandText kCommands[kCommandCount] = {
    {"open", "열기(&O)", "선택한 항목을 엽니다."},
    {"delete", "삭제(&D)", "선택한 항목을 삭제합니다."},
    {"rename", "이름 바꾸기(&M)", "선택한 항목의 이름을 바꿉니다."},
    {"properties", "속성(&R)", "선택한 항목의 속성을 표시합니다."},
};

std::optional<UINT> CommandOf(LPCSTR verb) {
    if (IS_INTRESOURCE(verb)) {
        auto offset = static_cast<UINT>(reinterpret_cast<ULONG_PTR>(verb));
        return offset < kCommandCount ? std::optional<UINT>(offset) : std::nullopt;
    }
    for (UINT command = 0; command < kCommandCount; ++command) {
        if (std::strcmp(verb, kCommands[command].verb) == 0) {
            return command;
        }
    }
    return std::nullopt;
}

std::string DoubleNulList(const std::vector<std::string>& paths) {
    std::string list;
    for (const std::string& path : paths) {
        list += path;
        list += '\0';
    }
    list += '\0';
    return list;
}

} // namespace

ItemContextMenu::ItemContextMenu(const Place& folder, LPCITEMIDLIST folderAbsolute, std::vector<ItemRef> items)
    : m_folder(folder), m_folderAbsolute(ILClone(folderAbsolute)), m_items(std::move(items)) {}

ItemContextMenu::~ItemContextMenu() { ILFree(m_folderAbsolute); }

HRESULT ItemContextMenu::QueryInterface(REFIID riid, void** object) {
    return QueryOwnInterface(riid, IID_IContextMenu, object);
}

bool ItemContextMenu::CanDelete() const {
    for (const ItemRef& item : m_items) {
        std::optional<Place> place = ChildPlace(m_folder, item);
        if (!place || (PlaceAttributes(*place, SFGAO_CANDELETE).value_or(0) & SFGAO_CANDELETE) == 0) {
            return false;
        }
    }
    return true;
}

HRESULT ItemContextMenu::QueryContextMenu(HMENU menu, UINT index, UINT firstCommand, UINT lastCommand, UINT flags) {
    if (menu == nullptr || lastCommand < firstCommand) {
        return E_INVALIDARG;
    }
    UINT available = lastCommand - firstCommand + 1;
    UINT wanted = (flags & CMF_DEFAULTONLY) != 0 ? 1u : static_cast<UINT>(kCommandCount);
    UINT count = std::min(available, wanted);
    bool deletable = CanDelete();
    bool renamable = m_items.size() == 1 && deletable;
    UINT position = index;
    for (UINT command = 0; command < count; ++command) {
        if (command == kCommandDelete || command == kCommandProperties) {
            InsertMenuA(menu, position++, MF_BYPOSITION | MF_SEPARATOR, 0, nullptr);
        }
        UINT state = MF_BYPOSITION | MF_STRING;
        if ((command == kCommandDelete && !deletable) || (command == kCommandRename && !renamable)) {
            state |= MF_GRAYED;
        }
        InsertMenuA(menu, position++, state, firstCommand + command, Utf8ToAnsi(kCommands[command].label).c_str());
    }
    SetMenuDefaultItem(menu, firstCommand + kCommandOpen, FALSE);
    return static_cast<HRESULT>(count);
}

HRESULT ItemContextMenu::InvokeCommand(LPCMINVOKECOMMANDINFO info) {
    if (info == nullptr) {
        return E_INVALIDARG;
    }
    // A null verb is command offset 0, as MAKEINTRESOURCE(0) makes it.
    std::optional<UINT> command = CommandOf(info->lpVerb);
    if (!command || m_items.empty()) {
        return E_INVALIDARG;
    }
    switch (*command) {
    case kCommandOpen:
        return Open(info->hwnd);
    case kCommandDelete:
        // Shift with the choice removes for good, whether or not the caller says so in the mask.
        return Delete(info->hwnd, (info->fMask & CMIC_MASK_SHIFT_DOWN) != 0 || GetKeyState(VK_SHIFT) < 0);
    case kCommandRename:
        return Rename(info->hwnd);
    default:
        return Properties(info->hwnd);
    }
}

HRESULT ItemContextMenu::GetCommandString(UINT_PTR command, UINT type, UINT*, LPSTR name, UINT size) {
    if (command >= kCommandCount) {
        return E_INVALIDARG;
    }
    if (type == GCS_VALIDATEA) {
        return S_OK;
    }
    if (name == nullptr || size == 0) {
        return E_INVALIDARG;
    }
    std::string text = type == GCS_VERBA ? kCommands[command].verb : Utf8ToAnsi(kCommands[command].help);
    std::size_t length = std::min<std::size_t>(text.size(), size - 1);
    std::memcpy(name, text.data(), length);
    name[length] = '\0';
    return S_OK;
}

std::vector<std::string> ItemContextMenu::LocalPaths() const {
    std::vector<std::string> paths;
    for (const ItemRef& item : m_items) {
        std::optional<Place> place = ChildPlace(m_folder, item);
        if (place && place->HasExactPath()) {
            paths.push_back(place->localPath);
        }
    }
    return paths;
}

HRESULT ItemContextMenu::Open(HWND owner) const {
    bool all = true;
    for (const ItemRef& item : m_items) {
        LPITEMIDLIST child = MakeItemId(item);
        LPITEMIDLIST absolute = ILCombine(m_folderAbsolute, child);
        SHELLEXECUTEINFOA execute{};
        execute.cbSize = sizeof execute;
        execute.fMask = SEE_MASK_INVOKEIDLIST;
        execute.hwnd = owner;
        execute.lpIDList = absolute;
        execute.nShow = 5;
        all = ShellExecuteExA(&execute) != FALSE && all;
        ILFree(absolute);
        ILFree(child);
    }
    return all ? S_OK : E_FAIL;
}

HRESULT ItemContextMenu::Delete(HWND owner, bool shiftDown) const {
    std::vector<std::string> paths = LocalPaths();
    if (paths.size() != m_items.size()) {
        return E_FAIL;
    }
    std::string from = DoubleNulList(paths);
    SHFILEOPSTRUCTA operation{};
    operation.hwnd = owner;
    operation.wFunc = FO_DELETE;
    operation.pFrom = from.c_str();
    operation.fFlags = shiftDown ? 0 : FOF_ALLOWUNDO;
    return SHFileOperationA(&operation) == 0 ? S_OK : E_FAIL;
}

HRESULT ItemContextMenu::Rename(HWND owner) const {
    std::vector<std::string> paths = LocalPaths();
    if (m_items.size() != 1 || paths.size() != 1) {
        return E_FAIL;
    }
    std::optional<std::string> typed = AskNewName(owner, Utf8ToAnsi(m_items[0].name));
    if (!typed) {
        return S_FALSE;
    }
    // The typed text is a name in the same folder, never a path.
    ItemRef renamed{m_items[0].kind, AnsiToUtf8(*typed)};
    std::optional<Place> target = ChildPlace(m_folder, renamed);
    if (!target) {
        const char* reason = typed->empty() ? "파일 이름을 입력해야 합니다." : "파일 이름에는 \\ / 문자나 . 또는 .. 만으로 된 이름을 사용할 수 없습니다.";
        MessageBoxA(owner, Utf8ToAnsi(reason).c_str(), Utf8ToAnsi("이름 바꾸기").c_str(), MB_OK | MB_ICONHAND);
        return E_FAIL;
    }
    std::string from = DoubleNulList(paths);
    std::string to = DoubleNulList({target->localPath});
    SHFILEOPSTRUCTA operation{};
    operation.hwnd = owner;
    operation.wFunc = FO_RENAME;
    operation.pFrom = from.c_str();
    operation.pTo = to.c_str();
    return SHFileOperationA(&operation) == 0 ? S_OK : E_FAIL;
}

HRESULT ItemContextMenu::Properties(HWND owner) const {
    bool all = true;
    for (const ItemRef& item : m_items) {
        LPITEMIDLIST child = MakeItemId(item);
        LPITEMIDLIST absolute = ILCombine(m_folderAbsolute, child);
        all = ShowPropertySheet(owner, absolute) != nullptr && all;
        ILFree(absolute);
        ILFree(child);
    }
    return all ? S_OK : E_FAIL;
}

} // namespace ostrana::shellns
