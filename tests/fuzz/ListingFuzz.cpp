// The field splitter and the listing line reader over arbitrary lines: fields never invent bytes,
// and every accessor of a parsed entry is safe whatever its elements hold.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "session/ListingEntry.h"
#include "session/SplitFields.h"
#include "tests/fuzz/FuzzCheck.h"

namespace {

void CheckSplit(const std::string& text, int limit, char separator) {
    std::vector<std::string> fields;
    SplitFields(text, fields, limit, false, separator);
    FUZZ_CHECK(!fields.empty());
    FUZZ_CHECK(fields.size() <= static_cast<std::size_t>(std::max(limit, 1)));
    FUZZ_CHECK(limit < 2 || fields.size() >= 2);
    for (const std::string& field : fields) {
        FUZZ_CHECK(field.size() <= text.size());
    }
}

} // namespace

// The first byte chooses the limit and the separator; the rest is the line.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) {
        return 0;
    }
    std::string line(reinterpret_cast<const char*>(data + 1), size - 1);
    int limit = data[0] % 8;
    char separator = (data[0] & 0x40) != 0 ? ':' : ' ';
    // The conversion of fields is the code page's business (fuzzed with the session's replies);
    // here only the splitting counts, and without it the target runs several times faster.
    CheckSplit(line, limit, separator);

    std::optional<ListingEntry> entry = ListingEntry::Parse(line);
    if (entry) {
        FUZZ_CHECK(entry->Elements().size() == 6);
        volatile std::int64_t sum = entry->Size();
        sum = sum + entry->Year() + entry->Month() + entry->Day() + entry->Hour() + entry->Minute() +
              entry->Second() + (entry->IsFolder() ? 1 : 0);
        FUZZ_CHECK(entry->Name().size() <= line.size());
        (void)sum;
    }
    return 0;
}
