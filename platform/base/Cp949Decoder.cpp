#include "platform/base/Cp949Decoder.h"

#include <vector>

#include "platform/base/CodePage.h"

namespace ostrana {
namespace {

constexpr char16_t kUnmapped = u'?';

bool IsLead(unsigned char byte) { return byte >= 0x81 && byte <= 0xFE; }
bool IsTrail(unsigned char byte) { return (byte >= 0x41 && byte <= 0x5A) || (byte >= 0x61 && byte <= 0x7A) || (byte >= 0x81 && byte <= 0xFE); }
std::size_t PairIndex(unsigned char lead, unsigned char trail) { return static_cast<std::size_t>(lead - 0x80) * 256 + trail; }

class Cp949Table {
public:
    static const Cp949Table& Get() {
        static const Cp949Table table;
        return table;
    }
    char16_t Pair(unsigned char lead, unsigned char trail) const { return m_pairs[PairIndex(lead, trail)]; }

private:
    // Every character from U+0080 up is encoded in blocks; one that the code page lacks comes back
    // as the single byte "?", one that it has as a lead and a trail byte.
    Cp949Table() : m_pairs(128 * 256, kUnmapped) {
        constexpr char32_t kBlock = 4096;
        for (char32_t first = 0x80; first < 0x10000; first += kBlock) {
            std::u16string block;
            for (char32_t c = first; c < first + kBlock && c < 0x10000; ++c) {
                if (c < 0xD800 || c > 0xDFFF) block += static_cast<char16_t>(c);
            }
            std::string encoded = FromWide(block, 949);
            std::size_t at = 0;
            for (char16_t c : block) {
                if (at >= encoded.size()) break;
                auto lead = static_cast<unsigned char>(encoded[at]);
                if (IsLead(lead) && at + 1 < encoded.size()) {
                    auto trail = static_cast<unsigned char>(encoded[at + 1]);
                    char16_t& slot = m_pairs[PairIndex(lead, trail)];
                    if (slot == kUnmapped) slot = c;
                    at += 2;
                } else {
                    at += 1;
                }
            }
        }
    }
    std::vector<char16_t> m_pairs;
};

} // namespace

std::u16string DecodeCp949(std::string_view bytes, bool& invalid) {
    const Cp949Table& table = Cp949Table::Get();
    std::u16string wide;
    wide.reserve(bytes.size());
    invalid = false;
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        auto byte = static_cast<unsigned char>(bytes[i]);
        if (byte < 0x80) {
            wide += static_cast<char16_t>(byte);
            continue;
        }
        char16_t c = kUnmapped;
        if (IsLead(byte) && i + 1 < bytes.size() && IsTrail(static_cast<unsigned char>(bytes[i + 1]))) {
            c = table.Pair(byte, static_cast<unsigned char>(bytes[i + 1]));
            ++i;
        }
        if (c == kUnmapped) invalid = true;
        wide += c;
    }
    return wide;
}

} // namespace ostrana
