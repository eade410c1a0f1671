// A small in-memory storage server that speaks the file-action protocol on 127.0.0.1, for the
// transfer tests: folders and files in memory, every command line recorded, and faults on demand
// (".GETFILE" replies cut at a chosen byte, a connection closed or a reply held in the middle of
// a body, listing lines and file headers of a lying server).
#pragma once

#include <atomic>
#include <condition_variable>
#include <functional>
#include <map>
#include <mutex>
#include <set>
#include <string>
#include <thread>
#include <vector>

namespace ostrana::test {

class FakeStorageServer {
public:
    FakeStorageServer();
    ~FakeStorageServer();
    FakeStorageServer(const FakeStorageServer&) = delete;
    FakeStorageServer& operator=(const FakeStorageServer&) = delete;

    int Port() const { return m_port; }

    // Paths are server paths in UTF-8: folders end in "/", files do not.
    void AddFolder(const std::string& folder);
    void AddFile(const std::string& path, const std::string& bytes);
    // A file that is only listed, with a size given as text (for sizes no test can hold).
    void AddListedFile(const std::string& path, const std::string& sizeText);
    bool HasFolder(const std::string& folder) const;
    bool HasFile(const std::string& path) const;
    std::string File(const std::string& path) const;
    std::size_t FileCount() const;
    void SetQuota(long long totalKb, long long usedKb, long long remainingKb);

    // The next ".GETFILE" reply is sent in two writes, the second starting at byte `cut`.
    void CutNextGetFileAt(std::size_t cut);
    // The next ".GETFILE" of `path` sends its header and `bytes` body bytes, then closes.
    void CloseGetFileAfter(const std::string& path, std::size_t bytes);
    // The next ".GETFILE" of `path` sends its header and `bytes` body bytes, then holds the rest
    // until ReleaseHeldGetFile (or the server's end).
    void HoldGetFileAfter(const std::string& path, std::size_t bytes);
    // Waits up to 20 s until a held reply has sent its first part.
    bool WaitGetFileHeld() const;
    void ReleaseHeldGetFile();
    // A line the listing of `folder` carries as it stands (a lying server's names and sizes).
    void AddListingLine(const std::string& folder, const std::string& line);
    // ".GETFILE" of `path` is answered with this header line (line feed included) before the bytes.
    void SetGetFileHeader(const std::string& path, const std::string& header);
    // ".SAVETO" of this path is refused.
    void RefuseSaveTo(const std::string& path);

    // Every command line received, in order ("#<connection> <line>").
    std::vector<std::string> Commands() const;
    // Command lines that start with `prefix`.
    std::vector<std::string> CommandsStartingWith(const std::string& prefix) const;
    int Connections() const { return m_connections; }
    // Uploads whose announced size did not match the bytes that arrived before the connection ended.
    int BrokenUploads() const { return m_brokenUploads; }
    // The server notices a cut upload on its own thread, after the client has moved on: waits up
    // to 10 s for `count` of them.
    bool WaitForBrokenUploads(int count) const;

private:
    void AcceptLoop();
    void Serve(int socket, int connection);
    bool HandleCommand(int socket, int connection, const std::string& line, std::string& pending);
    std::string Listing(const std::string& folder) const;

    int m_listener = -1;
    int m_port = 0;
    std::thread m_acceptor;
    std::atomic<bool> m_stopping{false};
    std::atomic<int> m_connections{0};
    std::atomic<int> m_brokenUploads{0};
    mutable std::condition_variable m_uploadBroken;
    mutable std::condition_variable m_holdChanged;

    mutable std::mutex m_lock;
    std::vector<std::thread> m_workers;
    std::vector<int> m_sockets;
    std::set<std::string> m_folders;
    std::map<std::string, std::string> m_files;
    std::map<std::string, std::string> m_listedSizes;
    std::multimap<std::string, std::string> m_listingLines;
    std::map<std::string, std::string> m_headers;
    std::vector<std::string> m_commands;
    long long m_quota[3] = {102400, 0, 102400};
    std::size_t m_cut = 0;
    std::string m_closePath;
    std::size_t m_closeAfter = 0;
    std::string m_holdPath;
    std::size_t m_holdAfter = 0;
    bool m_held = false;
    bool m_released = false;
    std::set<std::string> m_refused;
};

} // namespace ostrana::test
