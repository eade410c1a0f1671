// The dropped-files queries over a block of arbitrary bytes, as another program may put one in a
// data object: every query stays inside the block, and the single-name queries agree with the
// one-pass reading of all names.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "platform/ole/DropFiles.h"
#include "platform/ole/GlobalMemory.h"
#include "tests/fuzz/FuzzCheck.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE | GMEM_SHARE, size);
    if (memory == nullptr) {
        return 0;
    }
    if (size > 0) {
        ostrana::GlobalLockGuard lock(memory);
        std::memcpy(lock.Data(), data, size);
    }
    auto drop = reinterpret_cast<HDROP>(memory);
    UINT count = DragQueryFileA(drop, 0xFFFFFFFF, nullptr, 0);
    std::vector<std::string> names = ostrana::DragQueryFiles(drop);
    FUZZ_CHECK(names.size() == count);
    for (UINT i = 0; i < count; ++i) {
        UINT length = DragQueryFileA(drop, i, nullptr, 0);
        FUZZ_CHECK(length == names[i].size());
        std::vector<char> whole(length + 1, '\x7f');
        FUZZ_CHECK(DragQueryFileA(drop, i, whole.data(), length + 1) == length);
        FUZZ_CHECK(std::string(whole.data()) == names[i]);
        char cut[4];
        UINT copied = DragQueryFileA(drop, i, cut, sizeof cut);
        FUZZ_CHECK(copied < sizeof cut && cut[copied] == '\0');
    }
    FUZZ_CHECK(DragQueryFileA(drop, count, nullptr, 0) == 0);
    POINT point{};
    (void)DragQueryPoint(drop, &point);
    GlobalFree(memory);
    return 0;
}
