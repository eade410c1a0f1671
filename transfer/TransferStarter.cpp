// One job at a time: a request while a job exists is dropped; an upload over the remaining quota
// is refused with the quota message.
#include "transfer/TransferStarter.h"

#include <algorithm>

#include "misc/ReportBox.h"
#include "platform/base/Event.h"
#include "session/ServerSession.h"

TransferStarter::TransferStarter(ServerSession& session, std::function<void()> notifyDone)
    : m_session(session), m_notifyDone(std::move(notifyDone)), m_hDone(CreateEvent(nullptr, FALSE, FALSE, nullptr)) {}

TransferStarter::~TransferStarter() {
    StopTransfer();
    CloseHandle(m_hDone);
}

bool TransferStarter::StartTransfer(int direction, const std::string& destination, std::unique_ptr<TransferList> list,
                                    int noWait) {
    if (m_pJob != nullptr || list == nullptr) {
        return false;
    }
    ULONGLONG total = list->TotalSize();
    if (direction != 0) {
        // Whole 64-bit counts: a total over 4 GiB must not slip past on its low bits.
        auto remaining = static_cast<ULONGLONG>(std::max<std::int64_t>(m_session.Quota().remaining, 0));
        if (remaining < total) {
            WarnById(10, static_cast<int>(remaining >> 10), static_cast<int>(total >> 10));
            return false;
        }
    }
    m_pJob = std::make_unique<TransferJob>(m_session);
    m_pJob->SetUp(direction, destination, std::move(list), m_hDone);
    ResetEvent(m_hDone);
    try {
        m_pJob->Start(m_notifyDone);
    } catch (...) {
        m_pJob.reset();
        throw;
    }
    if (noWait == 0) {
        WaitForSingleObject(m_hDone, INFINITE);
        SetEvent(m_hDone); // the wait consumed the signal; the later clean-up waits for it again
    }
    return true;
}

void TransferStarter::RequestStop() {
    if (m_pJob != nullptr) {
        m_pJob->RequestStop();
    }
}

std::optional<TransferTally> TransferStarter::StopTransfer() {
    if (m_pJob == nullptr) {
        return std::nullopt;
    }
    RequestStop();
    WaitForSingleObject(m_hDone, 5000);
    // The worker still touches the job until its done event; never delete it under the thread.
    m_pJob->WaitForThread(INFINITE);
    TransferTally tally = m_pJob->m_tally;
    m_pJob.reset();
    return tally;
}
