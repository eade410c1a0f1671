// Frame batching of the page's changes.
#include "host/FrameBatcher.h"

#include "host/MessageWriter.h"

namespace ostrana::host {

void FrameBatcher::Add(const std::string& key, std::string message)
{
    auto [entry, inserted] = m_messages.try_emplace(key, std::move(message));
    if (inserted)
        m_order.push_back(key);
    else
        entry->second = std::move(message);
}

std::optional<std::vector<std::string>> FrameBatcher::TakeFrame()
{
    if (m_awaited || m_order.empty())
        return std::nullopt;
    std::vector<std::string> frame;
    frame.reserve(m_order.size() + 1);
    for (const std::string& key : m_order)
        frame.push_back(std::move(m_messages[key]));
    m_order.clear();
    m_messages.clear();
    m_awaited = ++m_lastFrame;
    frame.push_back(MessageWriter(ToPage::FrameEnd).Number("frame", static_cast<long long>(*m_awaited)).Finish());
    return frame;
}

bool FrameBatcher::Acknowledge(std::uint64_t frame)
{
    if (!m_awaited || *m_awaited != frame)
        return false;
    m_awaited.reset();
    return true;
}

void FrameBatcher::Reset()
{
    m_awaited.reset();
    m_order.clear();
    m_messages.clear();
}

} // namespace ostrana::host
