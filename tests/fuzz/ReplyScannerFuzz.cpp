// The reply scanner over a reply cut into pieces: after every piece its answer must be the one a
// plain scan of everything received gives, whatever the cuts (a marker may be split anywhere).
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "session/ReplyScanner.h"
#include "tests/fuzz/FuzzCheck.h"

namespace {

struct Verdict {
    ReplyScanner::Result result = ReplyScanner::Result::NeedMore;
    std::size_t position = 0;
};

// Every line start of `bytes`, in order: the first ".OK" line wins, else the first ".ERR" line.
Verdict PlainScan(std::string_view bytes) {
    Verdict err;
    for (std::size_t start = 0; start <= bytes.size();) {
        std::string_view rest = bytes.substr(start);
        if (rest.starts_with(".OK")) {
            return {ReplyScanner::Result::Ok, start};
        }
        if (rest.starts_with(".ERR") && err.result == ReplyScanner::Result::NeedMore) {
            err = {ReplyScanner::Result::Err, start};
        }
        std::size_t lineFeed = bytes.find('\n', start);
        if (lineFeed == std::string_view::npos) {
            break;
        }
        start = lineFeed + 1;
    }
    return err;
}

} // namespace

// The first byte seeds the piece sizes (1 to 16 bytes, or larger runs), the rest is the reply.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) {
        return 0;
    }
    std::uint32_t cuts = data[0] * 2654435761u + 1;
    std::string_view input(reinterpret_cast<const char*>(data + 1), size - 1);
    ReplyScanner scanner;
    std::size_t received = 0;
    while (received < input.size()) {
        cuts = cuts * 1103515245u + 12345u;
        std::size_t piece = (cuts >> 16) % 8 == 0 ? 4095 : 1 + (cuts >> 20) % 16;
        received = std::min(input.size(), received + piece);
        std::string_view bytes = input.substr(0, received);
        ReplyScanner::Result result = scanner.Scan(bytes);
        Verdict expected = PlainScan(bytes);
        FUZZ_CHECK(result == expected.result);
        if (result != ReplyScanner::Result::NeedMore) {
            FUZZ_CHECK(scanner.MarkerPos() == expected.position);
        }
        if (result == ReplyScanner::Result::Ok) {
            break;
        }
    }
    FUZZ_CHECK(HoldsLineFeed(input) == (input.find('\n') != std::string_view::npos));
    return 0;
}
