// Pop-up menu tracking: a modal loop on the calling thread that opens one window per menu level,
// takes the mouse (capture) and the keys of its thread, sends WM_INITMENUPOPUP, WM_MENUSELECT,
// WM_MENUCHAR, WM_MEASUREITEM and WM_DRAWITEM to the owner, and ends with a command or nothing.
#include <algorithm>
#include <atomic>
#include <cctype>
#include <vector>

#include "platform/window/Focus.h"
#include "platform/window/Messages.h"
#include "platform/window/MenuWindow.h"
#include "platform/window/VirtualKeys.h"
#include "platform/window/WindowGeometry.h"

namespace ostrana::detail {
namespace {

std::atomic<HMENU> g_trackedMenu{nullptr};
std::atomic<HWND> g_trackedWindow{nullptr};
thread_local bool t_endMenu = false;

class Tracker {
public:
    Tracker(HWND owner, UINT flags) : m_owner(owner), m_flags(flags) {}

    UINT Run(HMENU menu, POINT at) {
        SendMessageA(m_owner, WM_ENTERMENULOOP, TRUE, 0);
        Open(menu, at, 0);
        if (m_levels.empty()) return 0;
        SetCapture(m_levels.front().window);
        MSG msg;
        while (!m_done && !t_endMenu) {
            if (!GetMessageA(&msg, nullptr, 0, 0)) {
                PostQuitMessage(static_cast<int>(msg.wParam));
                break;
            }
            if (msg.message >= WM_KEYFIRST && msg.message <= WM_KEYLAST) {
                Key(msg);
            } else if (msg.message >= WM_MOUSEFIRST && msg.message <= WM_MOUSELAST) {
                Mouse(msg);
            } else if (msg.message == WM_CAPTURECHANGED && !m_levels.empty() && msg.hwnd == m_levels.front().window) {
                m_done = true;
            } else {
                DispatchMessageA(&msg);
            }
            if (GetCapture() != (m_levels.empty() ? nullptr : m_levels.front().window)) m_done = true;
        }
        t_endMenu = false;
        CloseFrom(0);
        SendMessageA(m_owner, WM_MENUSELECT, MAKEWPARAM(0, 0xFFFF), 0);
        SendMessageA(m_owner, WM_EXITMENULOOP, TRUE, 0);
        return m_command;
    }

private:
    struct Level {
        HMENU menu;
        HWND window;
    };

    void Open(HMENU menu, POINT at, UINT position) {
        SendMessageA(m_owner, WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(menu), MAKELPARAM(position, FALSE));
        HWND window = CreateMenuWindow(menu, m_owner, at, m_levels.empty() ? m_flags : 0);
        if (window == nullptr) return;
        m_levels.push_back(Level{menu, window});
        g_trackedMenu = menu;
        g_trackedWindow = window;
        ShowWindow(window, SW_SHOWNA);
    }

    void CloseFrom(std::size_t level) {
        while (m_levels.size() > level) {
            Level last = m_levels.back();
            m_levels.pop_back();
            if (m_levels.empty() && GetCapture() == last.window) {
                ReleaseCapture();
            }
            SendMessageA(m_owner, WM_UNINITMENUPOPUP, reinterpret_cast<WPARAM>(last.menu), 0);
            DestroyWindow(last.window);
        }
        g_trackedMenu = m_levels.empty() ? nullptr : m_levels.back().menu;
        g_trackedWindow = m_levels.empty() ? nullptr : m_levels.back().window;
        if (!m_levels.empty() && GetCapture() != m_levels.front().window) SetCapture(m_levels.front().window);
    }

    std::shared_ptr<MenuObject> Items(std::size_t level) const { return MenuOf(m_levels[level].menu); }
    int Hot(std::size_t level) const {
        auto data = MenuWindowDataOf(m_levels[level].window);
        return data ? data->hot : -1;
    }

    void Select(std::size_t level, int index) {
        if (Hot(level) == index) return;
        CloseFrom(level + 1);
        SetMenuHot(m_levels[level].window, index);
        auto items = Items(level);
        if (!items || index < 0 || static_cast<std::size_t>(index) >= items->items.size()) return;
        const MenuItem& item = items->items[static_cast<std::size_t>(index)];
        UINT flags = item.state | item.type | (item.submenu != nullptr ? MF_POPUP : 0) | MF_HILITE;
        WPARAM id = item.submenu != nullptr ? static_cast<WPARAM>(index) : item.id;
        SendMessageA(m_owner, WM_MENUSELECT, MAKEWPARAM(id, flags), reinterpret_cast<LPARAM>(m_levels[level].menu));
    }

    void OpenSubmenu(std::size_t level, int index, bool selectFirst) {
        auto items = Items(level);
        const MenuItem& item = items->items[static_cast<std::size_t>(index)];
        if (item.submenu == nullptr || !IsEnabled(item) || m_levels.size() > level + 1) return;
        RECT rect = MenuWindowDataOf(m_levels[level].window)->items[static_cast<std::size_t>(index)];
        POINT at{rect.right, rect.top};
        ClientToScreen(m_levels[level].window, &at);
        Open(item.submenu, at, static_cast<UINT>(index));
        if (selectFirst) Move(m_levels.size() - 1, 1);
    }

    void Execute(std::size_t level, int index) {
        auto items = Items(level);
        if (!items || index < 0 || static_cast<std::size_t>(index) >= items->items.size()) return;
        const MenuItem& item = items->items[static_cast<std::size_t>(index)];
        if (!IsSelectable(item) || !IsEnabled(item)) return;
        if (item.submenu != nullptr) {
            Select(level, index);
            OpenSubmenu(level, index, true);
            return;
        }
        m_command = item.id;
        m_done = true;
    }

    // Moves the highlight of a level by one selectable item (wrapping).
    void Move(std::size_t level, int step) {
        auto items = Items(level);
        int count = static_cast<int>(items->items.size());
        if (count == 0) return;
        int index = Hot(level);
        for (int tries = 0; tries < count; ++tries) {
            index = index < 0 ? (step > 0 ? 0 : count - 1) : (index + step + count) % count;
            if (IsSelectable(items->items[static_cast<std::size_t>(index)])) {
                Select(level, index);
                return;
            }
        }
    }

    static bool HasMnemonic(const MenuItem& item, char c) {
        if (item.type & (MF_OWNERDRAW | MF_SEPARATOR)) return false;
        for (std::size_t i = 0; i + 1 < item.text.size(); ++i) {
            if (item.text[i] != '&') continue;
            if (item.text[i + 1] == '&') {
                ++i;
                continue;
            }
            return std::toupper(static_cast<unsigned char>(item.text[i + 1])) == std::toupper(static_cast<unsigned char>(c));
        }
        return false;
    }

    void Character(char c) {
        std::size_t level = m_levels.size() - 1;
        auto items = Items(level);
        std::vector<int> matches;
        for (std::size_t i = 0; i < items->items.size(); ++i) {
            if (HasMnemonic(items->items[i], c)) matches.push_back(static_cast<int>(i));
        }
        if (matches.size() == 1) {
            Execute(level, matches.front());
            return;
        }
        if (matches.size() > 1) {
            int hot = Hot(level);
            auto next = std::find_if(matches.begin(), matches.end(), [&](int index) { return index > hot; });
            Select(level, next != matches.end() ? *next : matches.front());
            return;
        }
        LRESULT answer = SendMessageA(m_owner, WM_MENUCHAR, MAKEWPARAM(static_cast<unsigned char>(c), MF_POPUP),
                                      reinterpret_cast<LPARAM>(m_levels[level].menu));
        switch (HIWORD(answer)) {
        case MNC_EXECUTE: Execute(level, LOWORD(answer)); break;
        case MNC_SELECT: Select(level, LOWORD(answer)); break;
        case MNC_CLOSE: m_done = true; break;
        default: break;
        }
    }

    void Key(const MSG& msg) {
        if (msg.message == WM_CHAR || msg.message == WM_SYSCHAR) {
            Character(static_cast<char>(msg.wParam));
            return;
        }
        if (msg.message != WM_KEYDOWN && msg.message != WM_SYSKEYDOWN) return;
        std::size_t level = m_levels.size() - 1;
        switch (msg.wParam) {
        case VK_DOWN: Move(level, 1); break;
        case VK_UP: Move(level, -1); break;
        case VK_RIGHT:
            if (Hot(level) >= 0) OpenSubmenu(level, Hot(level), true);
            break;
        case VK_LEFT:
            if (level > 0) CloseFrom(level);
            break;
        case VK_RETURN: Execute(level, Hot(level)); break;
        case VK_ESCAPE:
            if (level > 0) CloseFrom(level);
            else m_done = true;
            break;
        case VK_MENU:
        case VK_F10: m_done = true; break;
        default: TranslateMessage(&msg); break;
        }
    }

    // The level and item under a screen point; level == size() when outside every menu.
    std::pair<std::size_t, int> HitTest(POINT screen) const {
        for (std::size_t level = m_levels.size(); level-- > 0;) {
            RECT rect;
            GetWindowRect(m_levels[level].window, &rect);
            if (!PtInRect(&rect, screen)) continue;
            POINT client = screen;
            ScreenToClient(m_levels[level].window, &client);
            auto data = MenuWindowDataOf(m_levels[level].window);
            return {level, data ? MenuItemAt(*data, client) : -1};
        }
        return {m_levels.size(), -1};
    }

    void Mouse(const MSG& msg) {
        POINT screen{GET_X_LPARAM(msg.lParam), GET_Y_LPARAM(msg.lParam)};
        ClientToScreen(msg.hwnd, &screen);
        auto [level, index] = HitTest(screen);
        bool inside = level < m_levels.size();
        bool rightButton = (m_flags & TPM_RIGHTBUTTON) != 0;
        switch (msg.message) {
        case WM_MOUSEMOVE:
            if (inside && index >= 0 && IsSelectable(Items(level)->items[static_cast<std::size_t>(index)])) {
                Select(level, index);
                OpenSubmenu(level, index, false);
            }
            break;
        case WM_LBUTTONDOWN:
        case WM_RBUTTONDOWN:
        case WM_MBUTTONDOWN:
            if (!inside) m_done = true;
            break;
        case WM_LBUTTONUP:
        case WM_RBUTTONUP:
            if (msg.message == WM_RBUTTONUP && !rightButton) break;
            if (inside && index >= 0) Execute(level, index);
            break;
        default: break;
        }
    }

    HWND m_owner;
    UINT m_flags;
    std::vector<Level> m_levels;
    bool m_done = false;
    UINT m_command = 0;
};

} // namespace
} // namespace ostrana::detail

using namespace ostrana::detail;

BOOL TrackPopupMenuEx(HMENU menu, UINT flags, int x, int y, HWND owner, const TPMPARAMS*) {
    if (!MenuOf(menu) || !IsWindow(owner)) return FALSE;
    Tracker tracker(owner, flags);
    UINT command = tracker.Run(menu, POINT{x, y});
    if (flags & TPM_RETURNCMD) return static_cast<BOOL>(command);
    if (command != 0 && !(flags & TPM_NONOTIFY)) PostMessageA(owner, WM_COMMAND, MAKEWPARAM(command, 0), 0);
    return command != 0;
}

BOOL TrackPopupMenu(HMENU menu, UINT flags, int x, int y, int, HWND owner, const RECT*) {
    return TrackPopupMenuEx(menu, flags, x, y, owner, nullptr);
}

BOOL EndMenu() {
    t_endMenu = true;
    PostMessageA(nullptr, WM_NULL, 0, 0);
    return TRUE;
}

namespace ostrana {
HMENU TrackedMenu() { return g_trackedMenu; }
HWND TrackedMenuWindow() { return g_trackedWindow; }
} // namespace ostrana
