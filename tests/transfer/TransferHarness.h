// What every job test needs: recorded progress, message boxes and overwrite questions, a session
// logged in to a server on 127.0.0.1, and a starter that runs one job to its end.
#pragma once

#include <atomic>
#include <memory>
#include <string>

#include "platform/shell/HeadlessProgressPresenter.h"
#include "platform/window/MessageBox.h"
#include "session/ServerSession.h"
#include "session/SessionOwner.h"
#include "transfer/OverwriteDlg.h"
#include "transfer/TransferStarter.h"

namespace ostrana::test {

class TransferHarness {
public:
    explicit TransferHarness(int port, const std::string& cookie = "test-cookie");
    // Logs in with the user id and password and opens the command session; false when refused.
    bool LogIn(const std::string& userId, const std::string& password);
    ~TransferHarness();

    // Runs a job and waits for its end; the tally of the ended job.
    TransferTally Run(int direction, const std::string& destination, std::unique_ptr<TransferList> list);
    // Local paths of this machine's host paths.
    static std::string Local(const std::string& hostPath);
    // Texts of the message boxes shown so far, converted to UTF-8.
    std::vector<std::string> BoxTexts() const;

    SimpleSessionOwner owner;
    ServerSession session{&owner};
    std::shared_ptr<HeadlessProgressPresenter> progress = std::make_shared<HeadlessProgressPresenter>();
    std::shared_ptr<HeadlessMessageBoxPresenter> boxes = std::make_shared<HeadlessMessageBoxPresenter>();
    std::shared_ptr<ScriptedOverwriteAnswerer> answerer = std::make_shared<ScriptedOverwriteAnswerer>();
    std::atomic<int> doneMessages{0};
    // Whether the transfer connection was still open when the job's end was posted.
    std::atomic<bool> transferOpenWhenPosted{false};
    TransferStarter starter{session, [this] {
                                transferOpenWhenPosted = session.IsTransferOpen();
                                ++doneMessages;
                            }};
};

// An upload list of local host paths (files or folders) with the first one's folder as base.
std::unique_ptr<TransferList> UploadListOf(const std::vector<std::string>& hostPaths);

} // namespace ostrana::test
