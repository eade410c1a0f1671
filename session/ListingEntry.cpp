// The size must be a decimal figure; the date and time digits are read like atoi (leading digits
// only, 0 when there are none).
#include "session/ListingEntry.h"

#include <cstdlib>

#include "session/DecimalText.h"
#include "session/SplitFields.h"

std::optional<ListingEntry> ListingEntry::Parse(const std::string& line) {
    std::vector<std::string> elements;
    SplitFields(line, elements, 6, false, ' ');
    if (elements.size() != 6 || !ReadDecimal(elements[1])) {
        return std::nullopt;
    }
    return ListingEntry(std::move(elements));
}

std::int32_t ListingEntry::Size() const {
    return ReadDecimal32(m_elements[1]).value_or(0);
}

int ListingEntry::Number(const std::string& text, std::size_t from, std::size_t count) {
    if (from >= text.size()) {
        return 0;
    }
    return std::atoi(text.substr(from, count).c_str());
}
