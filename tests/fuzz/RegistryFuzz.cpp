// The registry file reader over arbitrary text: whatever it keeps of a damaged file, saving the
// result and reading it back gives the same file again, so a load and save never drift.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "platform/registry/RegistryTree.h"
#include "tests/fuzz/FuzzCheck.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::string_view text(reinterpret_cast<const char*>(data), size);
    ostrana::RegistryTree tree = ostrana::RegistryTree::Parse(text);
    std::string saved = tree.Serialize();
    std::string again = ostrana::RegistryTree::Parse(saved).Serialize();
    FUZZ_CHECK(again == saved);
    return 0;
}
