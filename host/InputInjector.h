// The page's messages to the container: input goes into the platform's injection interface at once
// (it is thread-safe and queues on the target's thread); the control area's size, property puts,
// method calls and pasted text run as tasks on the user-interface thread. Messages that are not
// well formed are dropped.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "platform/gdi/GdiTypes.h"

namespace ostrana::host {

struct PageActions {
    std::function<void(std::uint64_t frame)> ack;               // any thread
    std::function<void(SIZE area, double pixelRatio)> resize;  // user-interface thread
    std::function<void(const std::string& name, long dispid, const std::string& value)> property;
    std::function<void(const std::string& name)> method;
    std::function<void(const std::string& utf8)> pasted;        // before it is put on the clipboard
};

class InputInjector {
public:
    // Runs a task on the user-interface thread, in order, before input injected after it.
    using Post = std::function<void(std::function<void()>)>;

    InputInjector(PageActions actions, Post post);

    // False when the message was dropped.
    bool Handle(const std::string& json);

    // Any thread: lets go of the mouse buttons and modifier keys the platform holds, at the cursor,
    // the way the page would have. A page that went away with a button down would otherwise leave
    // the capture, and any drag it runs, with nobody to end them.
    static void ReleaseHeld();

    // The largest area the page may ask for; beyond it a resize is clamped.
    static constexpr LONG kMaxArea = 16384;

private:
    PageActions m_actions;
    Post m_post;
};

} // namespace ostrana::host
