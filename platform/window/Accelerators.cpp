// Accelerator tables: made from entries, copied back out as 6-byte entries, and applied to key
// messages (a match sends WM_COMMAND with 1 in the high word).
#include <vector>

#include "platform/base/HandleTable.h"
#include "platform/window/Input.h"
#include "platform/window/Menu.h"
#include "platform/window/Messages.h"
#include "platform/window/VirtualKeys.h"

namespace {

ostrana::HandleTable<std::vector<ACCEL>>& Table() {
    static ostrana::HandleTable<std::vector<ACCEL>> table(7);
    return table;
}

bool Down(int key) { return (GetKeyState(key) & 0x8000) != 0; }

} // namespace

HACCEL CreateAcceleratorTableA(LPACCEL entries, int count) {
    if (entries == nullptr || count <= 0) return nullptr;
    return static_cast<HACCEL>(Table().Insert(std::make_shared<std::vector<ACCEL>>(entries, entries + count)));
}

BOOL DestroyAcceleratorTable(HACCEL table) { return Table().Remove(table) != nullptr; }

int CopyAcceleratorTableA(HACCEL handle, LPACCEL entries, int count) {
    auto table = Table().Lookup(handle);
    if (!table) return 0;
    if (entries == nullptr) return static_cast<int>(table->size());
    int copied = std::min(count, static_cast<int>(table->size()));
    for (int i = 0; i < copied; ++i) entries[i] = (*table)[static_cast<std::size_t>(i)];
    return copied;
}

int TranslateAcceleratorA(HWND window, HACCEL handle, LPMSG message) {
    auto table = Table().Lookup(handle);
    if (!table || message == nullptr) return 0;
    bool keyDown = message->message == WM_KEYDOWN || message->message == WM_SYSKEYDOWN;
    bool character = message->message == WM_CHAR || message->message == WM_SYSCHAR;
    if (!keyDown && !character) return 0;
    for (const ACCEL& entry : *table) {
        bool virtualKey = (entry.fVirt & FVIRTKEY) != 0;
        if (virtualKey != keyDown || entry.key != message->wParam) continue;
        if (virtualKey && (((entry.fVirt & FSHIFT) != 0) != Down(VK_SHIFT) || ((entry.fVirt & FCONTROL) != 0) != Down(VK_CONTROL) ||
                           ((entry.fVirt & FALT) != 0) != Down(VK_MENU))) {
            continue;
        }
        SendMessageA(window, WM_COMMAND, MAKEWPARAM(entry.cmd, 1), 0);
        return 1;
    }
    return 0;
}
