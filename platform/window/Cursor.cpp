#include "platform/window/Cursor.h"

#include <atomic>
#include <map>
#include <mutex>

#include "platform/base/ModuleResources.h"
#include "platform/window/WindowSystem.h"

namespace {

std::string SystemCursorName(ULONG_PTR id) {
    switch (id) {
    case 32513: return "ibeam";
    case 32514: return "wait";
    case 32515: return "cross";
    case 32642: return "sizenwse";
    case 32643: return "sizenesw";
    case 32644: return "sizewe";
    case 32645: return "sizens";
    case 32646: return "sizeall";
    case 32648: return "no";
    case 32649: return "hand";
    default: return "arrow";
    }
}

std::mutex& CacheLock() {
    static std::mutex lock;
    return lock;
}

std::map<std::string, HCURSOR>& Cache() {
    static std::map<std::string, HCURSOR> cache;
    return cache;
}

HCURSOR Cached(const std::string& name) {
    std::lock_guard guard(CacheLock());
    HCURSOR& cursor = Cache()[name];
    if (!ostrana::IconOf(cursor)) cursor = reinterpret_cast<HCURSOR>(ostrana::CreateNamedIcon(name, 32, 32));
    return cursor;
}

std::atomic<int> g_showCount{0}; // the display count, one for the desktop as on Windows

} // namespace

HCURSOR LoadCursorA(HINSTANCE instance, LPCSTR name) {
    if (instance == nullptr) {
        if (!IS_INTRESOURCE(name)) return nullptr;
        return Cached(SystemCursorName(reinterpret_cast<ULONG_PTR>(name)));
    }
    auto* module = ostrana::ModuleResources::FromHandle(instance);
    const ostrana::ImageResource* image = module != nullptr ? module->Image(ostrana::ImageKind::Cursor, name) : nullptr;
    if (image == nullptr) return nullptr;
    return Cached("cursor " + (image->name != nullptr ? std::string(image->name) : std::to_string(image->id)));
}

HCURSOR SetCursor(HCURSOR cursor) {
    HCURSOR previous = nullptr;
    {
        ostrana::detail::Lock lock = ostrana::detail::LockSystem();
        previous = ostrana::detail::Sys().cursor;
        ostrana::detail::Sys().cursor = cursor;
    }
    if (previous != cursor) ostrana::detail::NotifyChange(nullptr, ostrana::WindowChange::Cursor);
    return previous;
}

HCURSOR GetCursor() {
    ostrana::detail::Lock lock = ostrana::detail::LockSystem();
    return ostrana::detail::Sys().cursor;
}

BOOL DestroyCursor(HCURSOR) { return TRUE; } // cursors here are shared and live for the process

int ShowCursor(BOOL show) { return show ? ++g_showCount : --g_showCount; }

namespace ostrana {
std::string CursorName(HCURSOR cursor) {
    auto icon = IconOf(cursor);
    return icon ? icon->name : std::string();
}
} // namespace ostrana
