// The desktop's changes on their way to the page.
#include "host/DisplayStream.h"

#include <algorithm>
#include <utility>

#include "platform/window/Clipboard.h"
#include "platform/window/WindowSnapshot.h"

namespace ostrana::host {

DisplayStream::DisplayStream(SnapshotWriter writer, Send send, Wake wake)
    : m_writer(std::move(writer)), m_send(std::move(send)), m_wake(std::move(wake))
{
    AddDisplayChangeListener(this);
}

DisplayStream::~DisplayStream()
{
    RemoveDisplayChangeListener(this);
}

void DisplayStream::WakeOnce()
{
    bool post = false;
    {
        std::lock_guard guard(m_lock);
        post = !std::exchange(m_wakePosted, true);
    }
    if (post)
        m_wake();
}

void DisplayStream::OnDisplayChanges(const DisplayChangeBatch& batch)
{
    {
        std::lock_guard guard(m_lock);
        if (!m_hasPage)
            return; // the first page gets the whole state anyway
        for (const DisplayChange& change : batch.changes) {
            if (change.event == DisplayEvent::Clipboard)
                m_clipboardChanged = true;
            else if (std::find(m_changes.begin(), m_changes.end(), change) == m_changes.end())
                m_changes.push_back(change);
        }
    }
    WakeOnce();
}

void DisplayStream::PageConnected(int page)
{
    {
        std::lock_guard guard(m_lock);
        m_hasPage = true;
        m_page = page;
        m_newPage = true;
        ++m_generation;
        m_changes.clear();
        m_clipboardChanged = false;
        m_batcher.Reset();
    }
    WakeOnce();
}

void DisplayStream::PageGone()
{
    std::lock_guard guard(m_lock);
    m_hasPage = false;
    m_page = 0;
    m_newPage = false;
    ++m_generation;
    m_changes.clear();
    m_clipboardChanged = false;
    m_batcher.Reset();
}

void DisplayStream::Acknowledge(std::uint64_t frame)
{
    std::lock_guard guard(m_lock);
    if (m_batcher.Acknowledge(frame))
        SendFrameLocked();
}

void DisplayStream::PageClipboard(const std::string& utf8)
{
    std::lock_guard guard(m_lock);
    m_pageClipboard = utf8;
}

void DisplayStream::Pump()
{
    std::vector<DisplayChange> changes;
    bool newPage = false;
    bool clipboard = false;
    std::uint64_t generation = 0;
    {
        std::lock_guard guard(m_lock);
        m_wakePosted = false;
        if (!m_hasPage)
            return;
        changes.swap(m_changes);
        newPage = std::exchange(m_newPage, false);
        clipboard = std::exchange(m_clipboardChanged, false);
        generation = m_generation;
    }
    if (!newPage && changes.empty() && !clipboard)
        return;
    DesktopSnapshot snapshot = TakeDesktopSnapshot();
    std::vector<PageMessage> messages = newPage ? m_writer.WholeState(snapshot) : m_writer.Changes(snapshot, changes);
    std::string clipboardText = clipboard ? ClipboardText() : std::string();

    std::lock_guard guard(m_lock);
    // A page that connected meanwhile gets the whole state from the next turn instead.
    if (generation != m_generation)
        return;
    for (PageMessage& message : messages)
        m_batcher.Add(message.key, std::move(message.json));
    if (clipboard) {
        if (clipboardText != m_pageClipboard) {
            PageMessage message = SnapshotWriter::Clipboard(clipboardText);
            m_batcher.Add(message.key, std::move(message.json));
        }
        m_pageClipboard.clear();
    }
    SendFrameLocked();
}

void DisplayStream::SendFrameLocked()
{
    auto frame = m_batcher.TakeFrame();
    if (!frame)
        return;
    for (const std::string& message : *frame)
        m_send(m_page, message);
}

} // namespace ostrana::host
