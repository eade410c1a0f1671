#include "dragdrop/ServerDragBlock.h"

#include <cstring>

#include "platform/ole/DropFiles.h"
#include "platform/ole/GlobalMemory.h"

std::vector<BYTE> BuildServerDragBlock(const std::vector<std::string>& serverPaths) {
    std::size_t total = 0;
    for (const std::string& path : serverPaths) {
        total += path.size() + 1;
    }
    std::vector<BYTE> block(32 * ((total + 22) / 32 + 1), 0);
    DROPFILES header{sizeof(DROPFILES), POINT{0, 0}, FALSE, FALSE};
    std::memcpy(block.data(), &header, sizeof header);
    std::size_t at = sizeof(DROPFILES);
    for (const std::string& path : serverPaths) {
        std::memcpy(block.data() + at, path.data(), path.size());
        at += path.size() + 1;
    }
    return block;
}

HGLOBAL CreateServerDragBlock(const std::vector<std::string>& serverPaths) {
    std::vector<BYTE> block = BuildServerDragBlock(serverPaths);
    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE | GMEM_SHARE | GMEM_ZEROINIT, block.size());
    ostrana::GlobalLockGuard data(memory);
    if (!data) {
        GlobalFree(memory);
        return nullptr;
    }
    std::memcpy(data.Data(), block.data(), block.size());
    return memory;
}
