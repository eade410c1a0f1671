#include "platform/window/KeyState.h"

#include "platform/window/VirtualKeys.h"

namespace ostrana::detail {

namespace {

constexpr UINT kRightShiftScan = 0x36;

struct ModifierPair {
    UINT generic;
    UINT left;
    UINT right;
};

constexpr ModifierPair kPairs[] = {
    {VK_SHIFT, VK_LSHIFT, VK_RSHIFT},
    {VK_CONTROL, VK_LCONTROL, VK_RCONTROL},
    {VK_MENU, VK_LMENU, VK_RMENU},
};

const ModifierPair* PairOf(UINT vk) {
    for (const ModifierPair& pair : kPairs) {
        if (vk == pair.generic || vk == pair.left || vk == pair.right) return &pair;
    }
    return nullptr;
}

} // namespace

UINT GenericKeyOf(UINT vk) {
    const ModifierPair* pair = PairOf(vk);
    return pair != nullptr ? pair->generic : vk;
}

UINT SideKeyOf(UINT vk, LPARAM keyData) {
    const ModifierPair* pair = PairOf(vk);
    if (pair == nullptr) return vk;
    if (vk != pair->generic) return vk;
    auto data = static_cast<DWORD>(keyData);
    bool right = pair->generic == VK_SHIFT ? ((data >> 16) & 0xFF) == kRightShiftScan : (data & (1u << 24)) != 0;
    return right ? pair->right : pair->left;
}

void SetKeyDown(bool* keys, UINT sideKey, bool down) {
    keys[sideKey & 0xFF] = down;
    const ModifierPair* pair = PairOf(sideKey);
    if (pair == nullptr) return;
    if (sideKey == pair->generic) {
        // Only the generic key was named: it stands for the left one.
        keys[pair->left] = down;
    }
    keys[pair->generic] = keys[pair->left] || keys[pair->right];
}

} // namespace ostrana::detail
