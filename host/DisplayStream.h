// Streams the desktop to the page: hears the window system's change batches on whatever thread
// flushes them, wakes the user-interface thread, which reads a snapshot and turns the changes into
// messages, and sends them in frames the page acknowledges. A page that connects gets the whole
// state; while a frame is unacknowledged, later changes wait and merge.
#pragma once

#include <cstdint>
#include <functional>
#include <mutex>
#include <string>
#include <vector>

#include "host/FrameBatcher.h"
#include "host/SnapshotWriter.h"
#include "platform/window/DisplayChanges.h"

namespace ostrana::host {

class DisplayStream : public DisplayChangeListener {
public:
    // Given the page the message was made for, as PageConnected named it.
    using Send = std::function<bool(int page, const std::string& json)>;
    // Must make the user-interface thread call Pump soon; called from any thread.
    using Wake = std::function<void()>;

    DisplayStream(SnapshotWriter writer, Send send, Wake wake);
    ~DisplayStream() override;
    DisplayStream(const DisplayStream&) = delete;
    DisplayStream& operator=(const DisplayStream&) = delete;

    // Any thread: a page took the session over (its hello is out); it gets the whole state next.
    void PageConnected(int page);
    // Any thread: no page is there any more; changes are dropped until the next one comes.
    void PageGone();
    // Any thread: the page applied a frame; the next one goes out if anything is waiting.
    void Acknowledge(std::uint64_t frame);
    // Any thread: the page put this text on the clipboard, so the clipboard's news of it is no news.
    void PageClipboard(const std::string& utf8);

    // User-interface thread: turns what happened since the last call into messages.
    void Pump();

    void OnDisplayChanges(const DisplayChangeBatch& batch) override;

private:
    void WakeOnce();
    void SendFrameLocked();

    SnapshotWriter m_writer; // user-interface thread only
    Send m_send;
    Wake m_wake;

    std::mutex m_lock;
    std::vector<DisplayChange> m_changes; // guarded by m_lock, and all below
    bool m_clipboardChanged = false;
    std::string m_pageClipboard;
    bool m_wakePosted = false;
    bool m_hasPage = false;
    int m_page = 0;
    bool m_newPage = false;
    std::uint64_t m_generation = 0;
    FrameBatcher m_batcher;
};

} // namespace ostrana::host
