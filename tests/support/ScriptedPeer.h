// A scripted server on 127.0.0.1 for protocol tests. It accepts connections, records every byte
// each one receives, and plays a script: wait for a connection or for text, send replies whole, one
// byte per send or one byte per interval, close. A truncated reply is a partial send followed by a close; where the
// script ends the connection stays open and silent. Every wait has a time-out; none sleeps.
#pragma once

#include <chrono>
#include <condition_variable>
#include <cstddef>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace ostrana::test {

class ScriptedPeer {
public:
    static constexpr std::chrono::milliseconds kDefaultWait{20000};

    ScriptedPeer();
    ~ScriptedPeer();
    ScriptedPeer(const ScriptedPeer&) = delete;
    ScriptedPeer& operator=(const ScriptedPeer&) = delete;

    int Port() const { return m_port; }

    // Script steps, added before Start; each acts on the connection accepted last.
    ScriptedPeer& Accept();
    // Waits until the connection has received `text` after the end of the previous wait.
    ScriptedPeer& WaitFor(std::string text);
    ScriptedPeer& Send(std::string bytes);
    // One send per byte with Nagle off, so the client meets the reply in many receives.
    ScriptedPeer& SendBytewise(std::string bytes);
    // One byte every `gap`, until all are sent or the client closes the connection: a server
    // that is never silent for long but never finishes either.
    ScriptedPeer& Trickle(std::string bytes, std::chrono::milliseconds gap);
    // Ends the peer's sending side; the client then reads the end of the connection.
    ScriptedPeer& Close();

    void Start();
    // True once every step ran; false on time-out or when a wait could not be met.
    bool WaitDone(std::chrono::milliseconds timeout = kDefaultWait);
    // True once the client closed connection `index` (its bytes are then all recorded).
    bool WaitClosedByClient(std::size_t index, std::chrono::milliseconds timeout = kDefaultWait);
    bool WaitReceived(std::size_t index, const std::string& text, std::chrono::milliseconds timeout = kDefaultWait);
    std::string Received(std::size_t index) const;
    std::size_t ConnectionCount() const;
    std::string Error() const;

private:
    struct Step {
        enum Kind { AcceptKind, WaitKind, SendKind, SendBytewiseKind, TrickleKind, CloseKind } kind;
        std::string text;
        std::chrono::milliseconds gap{0};
        std::size_t trickled = 0;
    };
    struct Connection {
        int fd = -1;
        std::string received;
        std::size_t consumed = 0;
        bool closedByClient = false;
    };

    void Run();
    bool RunReadySteps();
    void PollOnce(bool wantAccept);
    void SendOn(int fd, const std::string& bytes, bool bytewise);
    // Sends the trickle's next byte when it is due; true once the step is over.
    bool TrickleStep(Step& step, Connection& connection);

    int m_listener = -1;
    int m_port = 0;
    int m_wake[2] = {-1, -1};
    std::vector<Step> m_steps;
    std::size_t m_next = 0;
    std::chrono::steady_clock::time_point m_stepStarted;
    std::vector<Connection> m_connections;
    bool m_done = false;
    bool m_stopping = false;
    std::string m_error;
    mutable std::mutex m_mutex;
    std::condition_variable m_changed;
    std::thread m_thread;
};

} // namespace ostrana::test
