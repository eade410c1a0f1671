// The framework's archive strings and counts read from arbitrary bytes: a damaged length ends in
// the archive's exception, never in a read past the data or a huge allocation, and every string
// read (narrow or wide) is written and read back unchanged.
#include <cstddef>
#include <cstdint>
#include <string>

#include "platform/base/Archive.h"
#include "platform/base/MemFile.h"
#include "tests/fuzz/FuzzCheck.h"

namespace {

std::string RoundTrip(const std::string& text) {
    CMemFile stored;
    {
        CArchive ar(&stored, CArchive::store);
        ar.WriteString(text);
        ar.Close();
    }
    std::vector<BYTE> bytes = stored.Bytes();
    CMemFile loaded(bytes.data(), static_cast<UINT>(bytes.size()));
    CArchive ar(&loaded, CArchive::load);
    return ar.ReadString();
}

} // namespace

// The first byte picks the buffer size and the read sequence; the rest is the archive's data.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) {
        return 0;
    }
    CMemFile file(data + 1, static_cast<UINT>(size - 1));
    CArchive ar(&file, CArchive::load, 16 + data[0]);
    try {
        for (int step = 0;; ++step) {
            if ((data[0] >> (step % 8) & 1) != 0) {
                (void)ar.ReadCount();
                continue;
            }
            std::string text = ar.ReadString();
            FUZZ_CHECK(RoundTrip(text) == text);
        }
    } catch (const CArchiveException&) {
    }
    return 0;
}
