// The job and its worker thread. The thread ends every job in the same order: list deleted, done
// event set, transfer connection closed, completion posted; after the done event it no longer
// touches the job.
#include "transfer/TransferJob.h"

#include "misc/ReportBox.h"
#include "platform/base/Event.h"
#include "platform/base/Thread.h"
#include "platform/com/Com.h"
#include "session/ServerSession.h"
#include "transfer/RunDownload.h"
#include "transfer/RunUpload.h"
#include "transfer/ShellProgressDialog.h"

TransferJob::~TransferJob() {
    if (m_hThread != nullptr) {
        CloseHandle(m_hThread);
    }
}

void TransferJob::SetUp(int direction, const std::string& destination, std::unique_ptr<TransferList> items, HANDLE doneEvent) {
    m_nDirection = direction;
    m_strDestination = destination;
    m_pItems = std::move(items);
    m_hDone = doneEvent;
}

void TransferJob::Start(std::function<void()> onEnded) {
    m_onEnded = std::move(onEnded);
    m_nRunning = 1;
    m_hThread = CreateThread(nullptr, 0, TransferThreadProc, this, 0, nullptr);
    if (m_hThread == nullptr) {
        m_nRunning = 0;
        throw CExceptionEx("CreateThread failed");
    }
}

bool TransferJob::WaitForThread(DWORD milliseconds) {
    return m_hThread == nullptr || WaitForSingleObject(m_hThread, milliseconds) == WAIT_OBJECT_0;
}

namespace {

void ConfigureDialog(ShellProgressDialog& dialog, bool upload) {
    dialog.SetTitle(LoadAndFormat(upload ? 13 : 14));
    dialog.SetAnimation(upload ? 102 : 101);
    dialog.SetCancelMessage(LoadAndFormat(15));
    dialog.AllowMinimize(true);
    dialog.ShowTime(true);
    dialog.ShowBar(true);
    dialog.Start();
    dialog.SetLine(1, LoadAndFormat(111));
}

void RunJobBody(TransferJob& job) {
    ShellProgressDialog dialog;
    if (!dialog.IsCreated()) {
        ThrowExceptionEx(12);
    }
    ConfigureDialog(dialog, job.m_nDirection != 0);
    if (job.m_nDirection != 0) {
        RunUpload(job, dialog);
    } else {
        RunDownload(job, dialog);
    }
    dialog.Release();
}

} // namespace

DWORD TransferThreadProc(LPVOID parameter) {
    auto& job = *static_cast<TransferJob*>(parameter);
    job.m_nOverwriteMode = TransferJob::AlwaysAsk;
    CoInitializeEx(nullptr, COINIT_MULTITHREADED);
    try {
        RunJobBody(job);
    } catch (CExceptionEx& error) {
        error.ReportError();
    } catch (CException& error) {
        char message[512];
        if (error.GetErrorMessage(message, sizeof message)) {
            ReportBox(message, REPORT_BOX_TYPE);
        }
    } catch (const std::exception& error) {
        ReportBox(error.what(), REPORT_BOX_TYPE);
    }
    // After the done event the job may be deleted at any moment: keep what is still needed.
    job.m_pItems.reset();
    ServerSession& session = job.Session();
    std::function<void()> onEnded = job.m_onEnded;
    SetEvent(job.m_hDone);
    session.CloseTransfer();
    if (onEnded) {
        onEnded();
    }
    CoUninitialize();
    return 0;
}
