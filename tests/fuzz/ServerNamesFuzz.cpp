// The client's rules for what the server names and counts: a figure reads as the number its
// digits spell (saturated, never wrapped), and a path that passes the folder check really lies
// under the folder once the file system has resolved it.
#include <charconv>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <limits>
#include <optional>
#include <string>
#include <string_view>

#include "platform/base/LocalPath.h"
#include "session/DecimalText.h"
#include "session/PlainName.h"
#include "tests/fuzz/FuzzCheck.h"

namespace {

void CheckFigure(std::string_view text) {
    std::optional<std::uint64_t> value = ReadDecimal(text);
    bool digits = !text.empty() && text.find_first_not_of("0123456789") == std::string_view::npos;
    FUZZ_CHECK(value.has_value() == digits);
    if (!value) {
        FUZZ_CHECK(!ReadDecimal32(text).has_value());
        return;
    }
    std::uint64_t expected = 0;
    auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), expected);
    if (error == std::errc::result_out_of_range) {
        expected = std::numeric_limits<std::uint64_t>::max();
    }
    FUZZ_CHECK(*value == expected);
}

std::string HostForm(const std::string& local) {
    std::optional<std::string> host = ostrana::LocalToHostPath(local);
    FUZZ_CHECK(host.has_value());
    std::string normal = std::filesystem::path(*host).lexically_normal().string();
    while (normal.size() > 1 && normal.back() == '/') {
        normal.pop_back();
    }
    return normal;
}

void CheckContainment(const std::string& folder, std::string_view rest) {
    std::string path = folder + std::string(rest);
    if (LiesUnderFolder(path, folder)) {
        std::string under = HostForm(path);
        std::string top = HostForm(folder);
        FUZZ_CHECK(under == top || under.starts_with(top == "/" ? top : top + "/"));
    }
    if (IsPlainName(rest)) {
        FUZZ_CHECK(rest.find_first_of("/\\") == std::string_view::npos && rest != "." && rest != "..");
        std::string joined = folder.back() == '\\' ? folder + std::string(rest) : folder + "\\" + std::string(rest);
        FUZZ_CHECK(LiesUnderFolder(joined, folder));
    }
}

} // namespace

// The first byte picks the destination folder, the rest is what the server named.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) {
        return 0;
    }
    static const char* const kFolders[] = {"C:\\dest", "C:\\dest\\", "C:\\tmp\\a b\\down", "C:\\"};
    std::string_view rest(reinterpret_cast<const char*>(data + 1), size - 1);
    CheckFigure(rest);
    CheckContainment(kFolders[data[0] % 4], rest);
    return 0;
}
