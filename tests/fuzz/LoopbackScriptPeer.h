// A loopback server for fuzz targets that drive the real session code: every connection made
// while a script is set gets the script's bytes (the first connection) or nothing (later ones),
// then the end of the stream; what the client sends is read and dropped. One connection at a time.
#pragma once

#include <condition_variable>
#include <mutex>
#include <string>
#include <thread>

class LoopbackScriptPeer {
public:
    LoopbackScriptPeer();
    ~LoopbackScriptPeer();
    LoopbackScriptPeer(const LoopbackScriptPeer&) = delete;
    LoopbackScriptPeer& operator=(const LoopbackScriptPeer&) = delete;

    int Port() const { return m_port; }
    // Sets what the next connection receives.
    void Begin(std::string script);
    // Called once the client has closed every connection it made: returns when the peer has
    // served all of them, so the next script cannot reach a connection of this round.
    void End();

private:
    void Run();
    void Serve(int fd);

    int m_listen = -1;
    int m_wake[2] = {-1, -1};
    int m_port = 0;
    std::mutex m_lock;
    std::condition_variable m_idle;
    std::string m_script;
    bool m_ending = false;
    bool m_stopping = false;
    std::thread m_thread;
};
