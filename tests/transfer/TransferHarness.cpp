// Installs the recording presenters for the test's lifetime and puts headless ones back after it.
#include "tests/transfer/TransferHarness.h"

#include <filesystem>

#include "platform/base/CodePage.h"
#include "platform/base/LocalPath.h"

namespace ostrana::test {

TransferHarness::TransferHarness(int port, const std::string& cookie) {
    owner.SetSessionCookie(cookie);
    session.SetLoginData("demo", "", "127.0.0.1", port);
    session.SetTimeouts(5000, 20000);
    SetProgressPresenter(progress);
    SetMessageBoxPresenter(boxes);
    SetOverwriteAnswerer(answerer);
}

TransferHarness::~TransferHarness() {
    starter.StopTransfer();
    SetProgressPresenter(nullptr);
    SetMessageBoxPresenter(std::make_shared<HeadlessMessageBoxPresenter>());
    SetOverwriteAnswerer(nullptr);
}

bool TransferHarness::LogIn(const std::string& userId, const std::string& password) {
    session.SetLoginData(userId, password, "127.0.0.1", session.Port());
    int status = LOGIN_STATUS_STARTED;
    return session.Login(status) == 1 && session.OpenCommandSession() == 1;
}

TransferTally TransferHarness::Run(int direction, const std::string& destination, std::unique_ptr<TransferList> list) {
    if (direction != 0) {
        session.QueryQuota("myfolder/"); // as the main window keeps it current
    }
    if (!starter.StartTransfer(direction, destination, std::move(list), 0)) {
        return {};
    }
    return starter.StopTransfer().value_or(TransferTally{});
}

std::string TransferHarness::Local(const std::string& hostPath) { return HostToLocalPath(hostPath); }

std::vector<std::string> TransferHarness::BoxTexts() const {
    std::vector<std::string> texts;
    for (const MessageBoxRequest& box : boxes->Boxes()) {
        texts.push_back(AnsiToUtf8(box.text));
    }
    return texts;
}

std::unique_ptr<TransferList> UploadListOf(const std::vector<std::string>& hostPaths) {
    auto list = std::make_unique<TransferList>(0);
    std::string first = HostToLocalPath(hostPaths.front());
    list->SetBaseFolder(first.substr(0, first.find_last_of('\\') + 1));
    for (const std::string& host : hostPaths) {
        std::string local = HostToLocalPath(host);
        if (std::filesystem::is_directory(host)) {
            list->AddLocalFolder(local + "\\");
        } else {
            list->AddLocalPath(local);
        }
    }
    return list;
}

} // namespace ostrana::test
