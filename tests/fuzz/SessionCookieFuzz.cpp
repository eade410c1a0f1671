// The session cookie taken from the cookie string a page hands the control: whatever the page
// sends, the value is one item's text, never running past its ";".
#include <cstddef>
#include <cstdint>
#include <string>

#include "control/SessionCookie.h"
#include "tests/fuzz/FuzzCheck.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::string text(reinterpret_cast<const char*>(data), size);
    std::string cookie = "unchanged";
    if (!ExtractSessionCookie(text, cookie)) {
        FUZZ_CHECK(cookie == "unchanged");
        return 0;
    }
    FUZZ_CHECK(cookie.find(';') == std::string::npos);
    std::size_t item = text.rfind("WAXLO_AUTH=");
    FUZZ_CHECK(item != std::string::npos && text.compare(item + 11, cookie.size(), cookie) == 0);
    return 0;
}
