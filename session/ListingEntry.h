// One line of a folder listing: "<kind> <size> <owner> <YYYYMMDD> <HHMMSS> <name>", split into
// six elements; the name is the rest of the line, spaces included.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

class ListingEntry {
public:
    // The six elements of a line, or nothing when the line does not split into exactly six or its
    // size is not a decimal figure.
    static std::optional<ListingEntry> Parse(const std::string& line);

    bool IsFolder() const { return m_elements[0] == "D"; }
    // The size element read as a signed 32-bit number.
    std::int32_t Size() const;
    int Year() const { return Number(m_elements[3], 0, 4); }
    int Month() const { return Number(m_elements[3], 4, 2); }
    int Day() const { return Number(m_elements[3], 6, 2); }
    int Hour() const { return Number(m_elements[4], 0, 2); }
    int Minute() const { return Number(m_elements[4], 2, 2); }
    int Second() const { return Number(m_elements[4], 4, 2); }
    const std::string& Kind() const { return m_elements[0]; }
    const std::string& SizeText() const { return m_elements[1]; }
    const std::string& DateText() const { return m_elements[3]; }
    const std::string& TimeText() const { return m_elements[4]; }
    const std::string& Name() const { return m_elements[5]; }
    const std::vector<std::string>& Elements() const { return m_elements; }

private:
    explicit ListingEntry(std::vector<std::string> elements) : m_elements(std::move(elements)) {}
    static int Number(const std::string& text, std::size_t from, std::size_t count);

    std::vector<std::string> m_elements;
};
