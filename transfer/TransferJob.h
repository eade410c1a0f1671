// One upload or download: the items, where they go, the overwrite mode the prompt may change, and
// the done event the worker thread sets when the job has ended. The job owns its list until the
// thread deletes it at the end. Only the owner deletes the job, and only after the thread ended.
#pragma once

#include <atomic>
#include <functional>
#include <memory>
#include <string>

#include "transfer/TransferList.h"

class ServerSession;

// What became of the job's files, for callers that summarise (the command-line client).
struct TransferTally {
    int sent = 0;
    int skipped = 0;
    int failed = 0;
    bool cancelled = false;
};

class TransferJob {
public:
    enum OverwriteMode { AlwaysAsk = 0, AlwaysOverwrite = 1, AlwaysSkip = 2 };

    explicit TransferJob(ServerSession& session) : m_session(session) {}
    ~TransferJob();
    TransferJob(const TransferJob&) = delete;
    TransferJob& operator=(const TransferJob&) = delete;

    // direction: nonzero upload, 0 download. doneEvent stays owned by the caller.
    void SetUp(int direction, const std::string& destination, std::unique_ptr<TransferList> items, HANDLE doneEvent);
    // Sets the running flag and begins the worker thread; raises the program's error when the
    // thread cannot be created. onEnded runs on the worker thread after the done event was set.
    void Start(std::function<void()> onEnded);
    // Clears the running flag; the worker treats it like the user's Cancel.
    void RequestStop() { m_nRunning = 0; }
    // Waits until the worker thread has returned (after the done event it still closes the
    // transfer connection and posts its message).
    bool WaitForThread(DWORD milliseconds);

    ServerSession& Session() { return m_session; }

    std::atomic<int> m_nRunning{0};
    HANDLE m_hDone = nullptr;
    std::string m_strDestination;
    std::unique_ptr<TransferList> m_pItems;
    int m_nOverwriteMode = AlwaysAsk;
    int m_nDirection = 0;
    TransferTally m_tally;
    std::function<void()> m_onEnded;

private:
    ServerSession& m_session;
    HANDLE m_hThread = nullptr;
};

DWORD TransferThreadProc(LPVOID job);
