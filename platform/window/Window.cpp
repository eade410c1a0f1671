#include "platform/window/Window.h"

#include <algorithm>
#include <cstring>
#include <strings.h>

#include "platform/base/LastError.h"
#include "platform/base/Thread.h"
#include "platform/gdi/ScreenOverlay.h"
#include "platform/window/Controls.h"
#include "platform/window/Focus.h"
#include "platform/window/WindowGeometry.h"
#include "platform/window/WindowSystem.h"

namespace ostrana::detail {
namespace {

std::string Lower(std::string_view text) {
    std::string out(text);
    for (char& c : out) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return out;
}

constexpr std::size_t kDialogSlots = 3;
thread_local ostrana::WindowCreationHook t_creationHook = nullptr;

// A change of the styles that shape the frame takes effect at once, without waiting for
// SWP_FRAMECHANGED; other style changes leave what WM_NCCALCSIZE answered alone.
void FollowFrameStyles(WindowObject& window, DWORD oldStyle, DWORD oldExStyle) {
    RECT before = NonClientInsets(oldStyle, oldExStyle);
    RECT after = NonClientInsets(window.style, window.exStyle);
    if (EqualRect(&before, &after)) return;
    window.nonClient.insets = after;
    window.nonClient.dirty = true;
}

LONG_PTR* ExtraSlot(WindowObject& window, int index) {
    if (index < 0 || index % 8 != 0) return nullptr;
    std::size_t slot = static_cast<std::size_t>(index) / 8;
    if (slot >= window.extra.size()) return nullptr;
    return &window.extra[slot];
}

void Unlink(WindowObject& window) {
    std::vector<HWND>* siblings = &Sys().topLevel;
    if (window.parent != nullptr) {
        auto parent = Find(window.parent);
        if (!parent) return;
        siblings = &parent->children;
    }
    siblings->erase(std::remove(siblings->begin(), siblings->end(), window.handle), siblings->end());
}

void DestroyOwned(HWND owner) {
    std::vector<HWND> owned;
    {
        Lock lock = LockSystem();
        for (HWND top : Sys().topLevel) {
            auto window = Find(top);
            if (window && window->owner == owner) owned.push_back(top);
        }
    }
    for (HWND window : owned) DestroyWindow(window);
}

void ForgetWindow(HWND handle) {
    Lock lock = LockSystem();
    auto window = Find(handle);
    if (!window) return;
    System& sys = Sys();
    if (sys.capture == handle) sys.capture = nullptr;
    auto queue = QueueOf(window->thread);
    if (queue) {
        std::erase_if(queue->timers, [&](const Timer& timer) { return timer.window == handle; });
        if (queue->focus == handle) queue->focus = nullptr;
        if (queue->active == handle) {
            auto owner = Find(window->owner);
            queue->active = owner ? window->owner : nullptr;
            if (!owner && sys.foreground == window->thread && sys.previousForeground != window->thread &&
                QueueOf(sys.previousForeground)) {
                std::swap(sys.foreground, sys.previousForeground);
            }
        }
    }
    Unlink(*window);
    sys.windows.Remove(handle);
}

} // namespace

void ForgetThreadWindows(DWORD thread) {
    std::vector<HWND> gone;
    {
        Lock lock = LockSystem();
        std::vector<HWND> pending = Sys().topLevel;
        while (!pending.empty()) {
            HWND handle = pending.back();
            pending.pop_back();
            auto window = Find(handle);
            if (!window) continue;
            pending.insert(pending.end(), window->children.begin(), window->children.end());
            if (window->thread == thread) gone.push_back(handle);
        }
    }
    for (HWND handle : gone) {
        ForgetWindow(handle);
        ClearWindowOverlay(handle);
        NotifyChange(handle, WindowChange::Destroyed);
    }
}

std::shared_ptr<WindowObject> Find(HWND window) { return window != nullptr ? Sys().windows.Lookup(window) : nullptr; }

void RegisterSystemClass(const char* name, WNDPROC proc, UINT style, HCURSOR cursor, HBRUSH background) {
    Lock lock = LockSystem();
    auto windowClass = std::make_shared<WindowClass>();
    windowClass->name = name;
    windowClass->proc = proc;
    windowClass->style = style;
    windowClass->cursor = cursor;
    windowClass->background = background;
    Sys().classes[Lower(name)] = windowClass;
}

} // namespace ostrana::detail

using namespace ostrana;
using namespace ostrana::detail;

ATOM RegisterClassA(const WNDCLASSA* info) {
    if (info == nullptr || info->lpszClassName == nullptr || info->lpfnWndProc == nullptr) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    Lock lock = LockSystem();
    std::string key = Lower(info->lpszClassName);
    if (Sys().classes.count(key) != 0) {
        SetLastError(1410); // ERROR_CLASS_ALREADY_EXISTS
        return 0;
    }
    auto windowClass = std::make_shared<WindowClass>();
    windowClass->name = info->lpszClassName;
    windowClass->style = info->style;
    windowClass->proc = info->lpfnWndProc;
    windowClass->cbWndExtra = info->cbWndExtra;
    windowClass->instance = info->hInstance;
    windowClass->icon = info->hIcon;
    windowClass->cursor = info->hCursor;
    windowClass->background = info->hbrBackground;
    Sys().classes[key] = windowClass;
    return static_cast<ATOM>(Sys().classes.size() + 0xC000);
}

BOOL UnregisterClassA(LPCSTR className, HINSTANCE) {
    if (className == nullptr) return FALSE;
    Lock lock = LockSystem();
    return Sys().classes.erase(Lower(className)) != 0;
}

BOOL GetClassInfoA(HINSTANCE, LPCSTR className, WNDCLASSA* info) {
    EnsureSystemClasses();
    if (className == nullptr || info == nullptr) return FALSE;
    Lock lock = LockSystem();
    auto it = Sys().classes.find(Lower(className));
    if (it == Sys().classes.end()) return FALSE;
    const WindowClass& found = *it->second;
    *info = WNDCLASSA{found.style, found.proc, 0, found.cbWndExtra, found.instance, found.icon, found.cursor,
                      found.background, nullptr, className};
    return TRUE;
}

int GetClassNameA(HWND window, LPSTR buffer, int bufferMax) {
    std::string name = WindowClassName(window);
    if (buffer == nullptr || bufferMax <= 0 || name.empty()) return 0;
    std::size_t length = std::min(name.size(), static_cast<std::size_t>(bufferMax - 1));
    std::memcpy(buffer, name.data(), length);
    buffer[length] = '\0';
    return static_cast<int>(length);
}

ULONG_PTR GetClassLongPtrA(HWND handle, int index) {
    Lock lock = LockSystem();
    auto window = Find(handle);
    if (!window) return 0;
    const WindowClass& found = *window->windowClass;
    switch (index) {
    case GCLP_HCURSOR: return reinterpret_cast<ULONG_PTR>(found.cursor);
    case GCLP_HBRBACKGROUND: return reinterpret_cast<ULONG_PTR>(found.background);
    case GCLP_HICON: return reinterpret_cast<ULONG_PTR>(found.icon);
    case GCL_STYLE: return found.style;
    default: return 0;
    }
}

ULONG_PTR SetClassLongPtrA(HWND handle, int index, LONG_PTR value) {
    Lock lock = LockSystem();
    auto window = Find(handle);
    if (!window) return 0;
    WindowClass& found = *window->windowClass;
    ULONG_PTR previous = 0;
    switch (index) {
    case GCLP_HCURSOR:
        previous = reinterpret_cast<ULONG_PTR>(found.cursor);
        found.cursor = reinterpret_cast<HCURSOR>(value);
        break;
    case GCLP_HBRBACKGROUND:
        previous = reinterpret_cast<ULONG_PTR>(found.background);
        found.background = reinterpret_cast<HBRUSH>(value);
        break;
    case GCLP_HICON:
        previous = reinterpret_cast<ULONG_PTR>(found.icon);
        found.icon = reinterpret_cast<HICON>(value);
        break;
    case GCL_STYLE:
        previous = found.style;
        found.style = static_cast<UINT>(value);
        break;
    default: break;
    }
    return previous;
}

HWND CreateWindowExA(DWORD exStyle, LPCSTR className, LPCSTR windowName, DWORD style, int x, int y, int width,
                     int height, HWND parent, HMENU menu, HINSTANCE instance, LPVOID param) {
    EnsureSystemClasses();
    auto object = std::make_shared<WindowObject>();
    {
        Lock lock = LockSystem();
        auto it = className != nullptr ? Sys().classes.find(Lower(className)) : Sys().classes.end();
        if (it == Sys().classes.end()) {
            SetLastError(1407); // ERROR_CANNOT_FIND_WND_CLASS
            return nullptr;
        }
        auto parentObject = Find(parent);
        if ((style & WS_CHILD) && !parentObject) {
            SetLastError(1406); // ERROR_TLW_WITH_WSCHILD
            return nullptr;
        }
        if (x == CW_USEDEFAULT) x = y = 100;
        if (width == CW_USEDEFAULT) {
            width = 400;
            height = 300;
        }
        object->windowClass = it->second;
        object->style = style;
        object->exStyle = exStyle;
        object->nonClient.insets = NonClientInsets(style, exStyle);
        // A window made without a bar has nothing to scroll until it is given a range.
        if (!(style & WS_HSCROLL)) object->nonClient.bars[SB_HORZ].maximum = 0;
        if (!(style & WS_VSCROLL)) object->nonClient.bars[SB_VERT].maximum = 0;
        object->rect = RECT{x, y, x + width, y + height};
        object->text = windowName != nullptr ? windowName : "";
        object->proc = it->second->proc;
        object->thread = GetCurrentThreadId();
        object->instance = instance;
        object->extra.assign(kDialogSlots + static_cast<std::size_t>(it->second->cbWndExtra + 7) / 8, 0);
        if (style & WS_CHILD) {
            object->parent = parent;
            object->id = static_cast<LONG_PTR>(reinterpret_cast<ULONG_PTR>(menu));
        } else if (parentObject) {
            HWND root = parent;
            for (auto up = parentObject; up && up->parent != nullptr; up = Find(up->parent)) root = up->parent;
            object->owner = root;
        }
        object->handle = static_cast<HWND>(Sys().windows.Insert(object));
        if (style & WS_CHILD) {
            parentObject->children.push_back(object->handle);
        } else {
            Sys().topLevel.insert(Sys().topLevel.begin(), object->handle);
        }
    }
    CurrentQueue();
    HWND handle = object->handle;
    if (t_creationHook != nullptr) t_creationHook(handle);
    CREATESTRUCTA create{param, instance, menu, parent, height, width, y, x, static_cast<LONG>(style), windowName,
                         className, exStyle};
    NotifyChange(handle, WindowChange::Created);
    if (!SendMessageA(handle, WM_NCCREATE, 0, reinterpret_cast<LPARAM>(&create))) {
        DestroyWindow(handle);
        return nullptr;
    }
    RecalcFrame(handle);
    if (SendMessageA(handle, WM_CREATE, 0, reinterpret_cast<LPARAM>(&create)) == -1) {
        DestroyWindow(handle);
        return nullptr;
    }
    if (!IsWindow(handle)) return nullptr;
    RECT client{};
    GetClientRect(handle, &client);
    SendMessageA(handle, WM_SIZE, SIZE_RESTORED, MAKELPARAM(client.right, client.bottom));
    SendMessageA(handle, WM_MOVE, 0, MAKELPARAM(x, y));
    {
        Lock lock = LockSystem();
        if (auto window = Find(handle)) InvalidateLocked(*window, nullptr, true);
    }
    if (style & WS_VISIBLE) NotifyChange(handle, WindowChange::Shown);
    return handle;
}

BOOL DestroyWindow(HWND handle) {
    {
        Lock lock = LockSystem();
        auto window = Find(handle);
        if (!window || window->destroying) return FALSE;
        if (window->thread != GetCurrentThreadId()) {
            SetLastError(5);
            return FALSE;
        }
        window->destroying = true;
    }
    DestroyOwned(handle);
    if (GetCapture() == handle) ReleaseCapture();
    SendMessageA(handle, WM_DESTROY, 0, 0);
    std::vector<HWND> children;
    {
        Lock lock = LockSystem();
        if (auto window = Find(handle)) children = window->children;
    }
    for (HWND child : children) DestroyWindow(child);
    SendMessageA(handle, WM_NCDESTROY, 0, 0);
    ForgetWindow(handle);
    ClearWindowOverlay(handle);
    NotifyChange(handle, WindowChange::Destroyed);
    return TRUE;
}

BOOL IsWindow(HWND window) { return Find(window) != nullptr; }

BOOL IsChild(HWND parent, HWND handle) {
    Lock lock = LockSystem();
    auto window = Find(handle);
    while (window && window->parent != nullptr) {
        if (window->parent == parent) return TRUE;
        window = Find(window->parent);
    }
    return FALSE;
}

HWND GetParent(HWND handle) {
    Lock lock = LockSystem();
    auto window = Find(handle);
    if (!window) return nullptr;
    return (window->style & WS_CHILD) ? window->parent : window->owner;
}

HWND SetParent(HWND handle, HWND parent) {
    HWND previous = nullptr;
    {
        Lock lock = LockSystem();
        auto window = Find(handle);
        auto parentObject = Find(parent);
        if (!window || (parent != nullptr && !parentObject)) return nullptr;
        // A window cannot hang below itself: the tree would lose the whole branch.
        for (auto up = parentObject; up; up = Find(up->parent)) {
            if (up->handle == handle) {
                SetLastError(ERROR_INVALID_PARAMETER);
                return nullptr;
            }
        }
        previous = window->parent;
        Unlink(*window);
        window->parent = parent;
        if (parentObject) parentObject->children.insert(parentObject->children.begin(), handle);
        else Sys().topLevel.insert(Sys().topLevel.begin(), handle);
    }
    NotifyChange(handle, WindowChange::ZOrder);
    NotifyChange(handle, WindowChange::Moved);
    return previous;
}

HWND GetAncestor(HWND handle, UINT flags) {
    Lock lock = LockSystem();
    auto window = Find(handle);
    if (!window) return nullptr;
    if (flags == GA_PARENT) return window->parent;
    while (window->parent != nullptr) {
        auto up = Find(window->parent);
        if (!up) break;
        window = up;
    }
    if (flags == GA_ROOTOWNER) {
        while (auto owner = Find(window->owner)) window = owner;
    }
    return window->handle;
}

HWND GetWindow(HWND handle, UINT command) {
    Lock lock = LockSystem();
    auto window = Find(handle);
    if (!window) return nullptr;
    if (command == GW_CHILD) return window->children.empty() ? nullptr : window->children.front();
    if (command == GW_OWNER) return window->owner;
    const std::vector<HWND>* siblings = &Sys().topLevel;
    if (window->parent != nullptr) {
        auto parent = Find(window->parent);
        if (!parent) return nullptr;
        siblings = &parent->children;
    }
    auto it = std::find(siblings->begin(), siblings->end(), handle);
    if (it == siblings->end()) return nullptr;
    switch (command) {
    case GW_HWNDFIRST: return siblings->front();
    case GW_HWNDLAST: return siblings->back();
    case GW_HWNDNEXT: return it + 1 != siblings->end() ? *(it + 1) : nullptr;
    case GW_HWNDPREV: return it != siblings->begin() ? *(it - 1) : nullptr;
    default: return nullptr;
    }
}

HWND GetTopWindow(HWND handle) {
    if (handle == nullptr) {
        Lock lock = LockSystem();
        return Sys().topLevel.empty() ? nullptr : Sys().topLevel.front();
    }
    return GetWindow(handle, GW_CHILD);
}

HWND GetDesktopWindow() { return nullptr; }

DWORD GetWindowThreadProcessId(HWND handle, LPDWORD processId) {
    Lock lock = LockSystem();
    auto window = Find(handle);
    if (processId != nullptr) *processId = window ? 1 : 0;
    return window ? window->thread : 0;
}

BOOL EnumChildWindows(HWND parent, WNDENUMPROC callback, LPARAM parameter) {
    std::vector<HWND> children;
    {
        Lock lock = LockSystem();
        auto window = Find(parent);
        if (!window || callback == nullptr) return FALSE;
        children = window->children;
    }
    for (HWND child : children) {
        if (!IsWindow(child)) continue;
        if (!callback(child, parameter)) return FALSE;
        if (!EnumChildWindows(child, callback, parameter) && GetWindow(child, GW_CHILD) != nullptr) return FALSE;
    }
    return TRUE;
}

BOOL EnumThreadWindows(DWORD threadId, WNDENUMPROC callback, LPARAM parameter) {
    std::vector<HWND> windows;
    {
        Lock lock = LockSystem();
        for (HWND top : Sys().topLevel) {
            auto window = Find(top);
            if (window && window->thread == threadId) windows.push_back(top);
        }
    }
    for (HWND window : windows) {
        if (IsWindow(window) && !callback(window, parameter)) return FALSE;
    }
    return TRUE;
}

BOOL EnumWindows(WNDENUMPROC callback, LPARAM parameter) {
    if (callback == nullptr) return FALSE;
    std::vector<HWND> windows;
    {
        Lock lock = LockSystem();
        windows = Sys().topLevel;
    }
    for (HWND window : windows) {
        if (IsWindow(window) && !callback(window, parameter)) return FALSE;
    }
    return TRUE;
}

HWND FindWindowA(LPCSTR className, LPCSTR windowName) {
    Lock lock = LockSystem();
    for (HWND top : Sys().topLevel) {
        auto window = Find(top);
        if (!window) continue;
        if (className != nullptr && ::strcasecmp(window->windowClass->name.c_str(), className) != 0) continue;
        if (windowName != nullptr && window->text != windowName) continue;
        return top;
    }
    return nullptr;
}

HWND GetDlgItem(HWND dialog, int id) {
    Lock lock = LockSystem();
    auto window = Find(dialog);
    if (!window) return nullptr;
    for (HWND child : window->children) {
        auto item = Find(child);
        if (item && item->id == id) return child;
    }
    return nullptr;
}

int GetDlgCtrlID(HWND handle) {
    Lock lock = LockSystem();
    auto window = Find(handle);
    return window && (window->style & WS_CHILD) ? static_cast<int>(window->id) : 0;
}

LONG_PTR GetWindowLongPtrA(HWND handle, int index) {
    Lock lock = LockSystem();
    auto window = Find(handle);
    if (!window) {
        SetLastError(ERROR_INVALID_HANDLE);
        return 0;
    }
    switch (index) {
    case GWLP_WNDPROC: return reinterpret_cast<LONG_PTR>(window->proc);
    case GWLP_HINSTANCE: return reinterpret_cast<LONG_PTR>(window->instance);
    case GWLP_HWNDPARENT: return reinterpret_cast<LONG_PTR>(window->parent != nullptr ? window->parent : window->owner);
    case GWLP_ID: return window->id;
    case GWL_STYLE: return static_cast<LONG_PTR>(window->style);
    case GWL_EXSTYLE: return static_cast<LONG_PTR>(window->exStyle);
    case GWLP_USERDATA: return window->userData;
    default: {
        LONG_PTR* slot = ExtraSlot(*window, index);
        return slot != nullptr ? *slot : 0;
    }
    }
}

LONG_PTR SetWindowLongPtrA(HWND handle, int index, LONG_PTR value) {
    LONG_PTR previous = 0;
    DWORD styleChanges = 0;
    DWORD newStyle = 0;
    {
        Lock lock = LockSystem();
        auto window = Find(handle);
        if (!window) {
            SetLastError(ERROR_INVALID_HANDLE);
            return 0;
        }
        switch (index) {
        case GWLP_WNDPROC:
            previous = reinterpret_cast<LONG_PTR>(window->proc);
            window->proc = reinterpret_cast<WNDPROC>(value);
            break;
        case GWLP_ID:
            previous = window->id;
            window->id = value;
            break;
        case GWL_STYLE:
            previous = static_cast<LONG_PTR>(window->style);
            newStyle = static_cast<DWORD>(value);
            styleChanges = window->style ^ newStyle;
            window->style = newStyle;
            FollowFrameStyles(*window, static_cast<DWORD>(previous), window->exStyle);
            break;
        case GWL_EXSTYLE:
            previous = static_cast<LONG_PTR>(window->exStyle);
            window->exStyle = static_cast<DWORD>(value);
            FollowFrameStyles(*window, window->style, static_cast<DWORD>(previous));
            break;
        case GWLP_USERDATA:
            previous = window->userData;
            window->userData = value;
            break;
        case GWLP_HWNDPARENT:
            previous = reinterpret_cast<LONG_PTR>(window->owner);
            window->owner = reinterpret_cast<HWND>(value);
            break;
        default: {
            LONG_PTR* slot = ExtraSlot(*window, index);
            if (slot == nullptr) return 0;
            previous = *slot;
            *slot = value;
        }
        }
    }
    if (styleChanges & WS_VISIBLE) NotifyChange(handle, (newStyle & WS_VISIBLE) ? WindowChange::Shown : WindowChange::Hidden);
    if (styleChanges & WS_DISABLED) NotifyChange(handle, WindowChange::Enabled);
    return previous;
}

BOOL SetWindowTextA(HWND window, LPCSTR text) {
    if (!IsWindow(window)) return FALSE;
    return static_cast<BOOL>(SendMessageA(window, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text != nullptr ? text : "")));
}

int GetWindowTextA(HWND window, LPSTR buffer, int bufferMax) {
    if (buffer == nullptr || bufferMax <= 0) return 0;
    buffer[0] = '\0';
    return static_cast<int>(SendMessageA(window, WM_GETTEXT, static_cast<WPARAM>(bufferMax), reinterpret_cast<LPARAM>(buffer)));
}

int GetWindowTextLengthA(HWND window) { return static_cast<int>(SendMessageA(window, WM_GETTEXTLENGTH, 0, 0)); }

BOOL SetPropA(HWND handle, LPCSTR name, HANDLE data) {
    Lock lock = LockSystem();
    auto window = Find(handle);
    if (!window || name == nullptr) return FALSE;
    window->props[name] = data;
    return TRUE;
}

HANDLE GetPropA(HWND handle, LPCSTR name) {
    Lock lock = LockSystem();
    auto window = Find(handle);
    if (!window || name == nullptr) return nullptr;
    auto it = window->props.find(name);
    return it != window->props.end() ? it->second : nullptr;
}

HANDLE RemovePropA(HWND handle, LPCSTR name) {
    Lock lock = LockSystem();
    auto window = Find(handle);
    if (!window || name == nullptr) return nullptr;
    auto it = window->props.find(name);
    if (it == window->props.end()) return nullptr;
    HANDLE data = it->second;
    window->props.erase(it);
    return data;
}

LRESULT CallWindowProcA(WNDPROC procedure, HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (procedure == nullptr || !IsWindow(window)) return 0;
    return procedure(window, message, wParam, lParam);
}

namespace ostrana {

void SetWindowCreationHook(WindowCreationHook hook) { t_creationHook = hook; }

std::string WindowText(HWND handle) {
    Lock lock = LockSystem();
    auto window = Find(handle);
    return window ? window->text : std::string();
}

std::string WindowClassName(HWND handle) {
    Lock lock = LockSystem();
    auto window = Find(handle);
    return window ? window->windowClass->name : std::string();
}

void SetControlData(HWND handle, std::shared_ptr<void> data) {
    Lock lock = LockSystem();
    if (auto window = Find(handle)) window->controlData = std::move(data);
}

std::shared_ptr<void> ControlData(HWND handle) {
    Lock lock = LockSystem();
    auto window = Find(handle);
    return window ? window->controlData : nullptr;
}

} // namespace ostrana
