// Starts and ends transfer jobs, one at a time: the quota check before an upload, the done
// event, the blocking and the no-wait start. The main window owns one; a program without a
// window (the command-line client) owns its own.
#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "transfer/TransferJob.h"

// Posted to the main window, both parameters 0, when a transfer job has ended (WM_APP + 7300).
#ifndef UWM_TRANSFER_DONE
#define UWM_TRANSFER_DONE 40068
#endif

class TransferStarter {
public:
    // notifyDone runs on the worker thread when a job has ended (the main window posts
    // UWM_TRANSFER_DONE to itself there).
    TransferStarter(ServerSession& session, std::function<void()> notifyDone = {});
    ~TransferStarter();
    TransferStarter(const TransferStarter&) = delete;
    TransferStarter& operator=(const TransferStarter&) = delete;

    // direction: 1 upload, 0 download. The list belongs to the transfer from here on; it is
    // dropped when a job already runs or the quota refuses the upload. true when a job started.
    bool StartTransfer(int direction, const std::string& destination, std::unique_ptr<TransferList> list, int noWait);
    // Asks the running job to stop at its next check, as the user's Cancel would.
    void RequestStop();
    // Asks the job to stop, waits up to 5000 ms for its done event and for its thread, deletes it.
    // Like the blocking start, the waits answer messages sent to this thread meanwhile (a worker's
    // prompt disabling the main window), so the worker is never stuck on the waiting thread.
    // Returns the ended job's tally, nothing when no job existed.
    std::optional<TransferTally> StopTransfer();

    bool HasJob() const { return m_pJob != nullptr; }
    HANDLE DoneEvent() const { return m_hDone; }

private:
    ServerSession& m_session;
    std::function<void()> m_notifyDone;
    HANDLE m_hDone;
    std::unique_ptr<TransferJob> m_pJob;
};
