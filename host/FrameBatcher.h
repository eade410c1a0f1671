// Collects changes for the page between frames. While the page has not acknowledged the last
// frame, newer changes to the same thing replace older ones, so a slow page gets less, not more.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

namespace ostrana::host {

class FrameBatcher {
public:
    // key names what the change is about (e.g. one window's picture); a later change with the same
    // key takes the earlier one's place in the order.
    void Add(const std::string& key, std::string message);

    // The pending messages closed by a frame mark; empty while a frame awaits its acknowledgement
    // or when nothing changed.
    std::optional<std::vector<std::string>> TakeFrame();

    // False for any frame number but the awaited one, which leaves the wait as it was.
    bool Acknowledge(std::uint64_t frame);

    // A new page starts from the whole state, so nothing it never saw may be awaited.
    void Reset();

    bool Waiting() const { return m_awaited.has_value(); }
    size_t Pending() const { return m_order.size(); }

private:
    std::vector<std::string> m_order;
    std::unordered_map<std::string, std::string> m_messages;
    std::optional<std::uint64_t> m_awaited;
    std::uint64_t m_lastFrame = 0;
};

} // namespace ostrana::host
