// The service's reading of a storage path from the network: a path that passes is made only of
// names that pass on their own, joined as sent, and holds nothing that could leave its area.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "service/ProtocolPath.h"
#include "tests/fuzz/FuzzCheck.h"

using namespace ostrana::service;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::string_view text(reinterpret_cast<const char*>(data), size);
    ProtocolPath path;
    PathError error = ParseProtocolPath(text, path);
    FUZZ_CHECK(DescribePathError(error) != nullptr);
    (void)CheckName(text);
    if (error != PathError::None) {
        return 0;
    }
    FUZZ_CHECK(CheckName(path.area) == PathError::None);
    std::string joined = path.area;
    for (const std::string& name : path.names) {
        FUZZ_CHECK(CheckName(name) == PathError::None);
        joined += "/" + name;
    }
    FUZZ_CHECK(joined == text || joined + "/" == text);
    FUZZ_CHECK(IsValidUtf8(text));
    FUZZ_CHECK(text.find('\\') == std::string_view::npos && text.find('\0') == std::string_view::npos);
    return 0;
}
