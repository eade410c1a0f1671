// The few namespace questions the local panes ask again and again, each in one place: display
// names, attributes, paths, binding, comparison and enumeration, and an owning interface pointer.
#pragma once

#include <functional>
#include <string>
#include <utility>

#include "platform/shell/ItemIdList.h"
#include "platform/shell/ShellFolder.h"

// Holds one reference of a COM interface and releases it when it goes.
template <typename T> class ShellPtr {
public:
    ShellPtr() = default;
    // Takes over a reference the caller already holds.
    explicit ShellPtr(T* owned) : m_p(owned) {}
    ShellPtr(const ShellPtr& other) : m_p(other.m_p) {
        if (m_p != nullptr) m_p->AddRef();
    }
    ShellPtr(ShellPtr&& other) noexcept : m_p(std::exchange(other.m_p, nullptr)) {}
    ShellPtr& operator=(ShellPtr other) noexcept {
        std::swap(m_p, other.m_p);
        return *this;
    }
    ~ShellPtr() { Reset(); }

    static ShellPtr Share(T* borrowed) {
        if (borrowed != nullptr) borrowed->AddRef();
        return ShellPtr(borrowed);
    }
    void Reset() {
        if (m_p != nullptr) std::exchange(m_p, nullptr)->Release();
    }
    T* Get() const { return m_p; }
    T* operator->() const { return m_p; }
    explicit operator bool() const { return m_p != nullptr; }
    // For out-parameters; releases what was held.
    T** Out() {
        Reset();
        return &m_p;
    }
    void** OutVoid() { return reinterpret_cast<void**>(Out()); }

private:
    T* m_p = nullptr;
};

// An item id list freed with the shell allocator when it goes.
class ShellIdList {
public:
    ShellIdList() = default;
    explicit ShellIdList(LPITEMIDLIST owned) : m_list(owned) {}
    ShellIdList(const ShellIdList&) = delete;
    ShellIdList& operator=(const ShellIdList&) = delete;
    ShellIdList(ShellIdList&& other) noexcept : m_list(std::exchange(other.m_list, nullptr)) {}
    ShellIdList& operator=(ShellIdList&& other) noexcept {
        if (this != &other) Reset(std::exchange(other.m_list, nullptr));
        return *this;
    }
    ~ShellIdList() { Reset(); }

    void Reset(LPITEMIDLIST owned = nullptr) {
        if (m_list != nullptr) ILFree(m_list);
        m_list = owned;
    }
    LPITEMIDLIST Release() { return std::exchange(m_list, nullptr); }
    LPITEMIDLIST Get() const { return m_list; }
    LPITEMIDLIST* Out() {
        Reset();
        return &m_list;
    }
    explicit operator bool() const { return m_list != nullptr; }

private:
    LPITEMIDLIST m_list = nullptr;
};

namespace ShellNamespace {

// The text of a returned string record; frees what the record owns.
std::string StrRetText(STRRET& record, LPCITEMIDLIST item);
std::string DisplayName(IShellFolder* folder, LPCITEMIDLIST item, DWORD flags);
// The asked attribute bits that the item has; 0 when the folder does not answer.
ULONG Attributes(IShellFolder* folder, LPCITEMIDLIST item, ULONG mask);
// The file-system path of an absolute list; empty when it has none.
std::string PathOf(LPCITEMIDLIST absolute);
// The folder of `relative` under `parent`; null when it cannot be bound.
ShellPtr<IShellFolder> Bind(IShellFolder* parent, LPCITEMIDLIST relative);
ShellPtr<IShellFolder> Desktop();
// The absolute list of a path parsed by the desktop folder; null when it names nothing.
ShellIdList Parse(IShellFolder* desktop, const std::string& path);
ShellIdList SpecialFolder(int number);
// The folder's order of two of its items by `column`: a failed comparison counts as equal,
// otherwise the low 16 bits of the answer, as a signed number.
int Compare(IShellFolder* folder, LPARAM column, LPCITEMIDLIST first, LPCITEMIDLIST second);
// Each id of the enumeration in turn; the callback takes ownership. False when it did not start.
bool Enumerate(IShellFolder* folder, HWND owner, DWORD flags, const std::function<void(ShellIdList)>& each);
// The system small-icon index of an absolute list (the open icon when `open`); negatives become 0.
int SmallIcon(LPCITEMIDLIST absolute, bool open);
// ShellExecuteExA with the id-list mask on an absolute list, or on a path; a null verb is the
// default one.
bool Execute(HWND owner, LPCITEMIDLIST absolute, LPCSTR verb);
bool ExecutePath(HWND owner, const std::string& path, LPCSTR verb);
// SHFileOperationA; `from` and `to` are buffers of names each ended by a NUL, with a closing NUL.
// True when the shell reports success.
bool FileOperation(HWND owner, UINT function, const std::string& from, const std::string& to, UINT flags);
// A name as a buffer of one name: the name, its NUL and the closing NUL.
std::string SingleNameBuffer(const std::string& name);

} // namespace ShellNamespace
