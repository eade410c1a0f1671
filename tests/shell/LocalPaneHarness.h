// Both local panes on a test window over a home folder of their own: HOME and the trash point
// into a temporary folder, the registry is a file of the test's own, message boxes are recorded,
// transfers started by drops are recorded instead of run, and a server tree stands by to receive
// dropped server items. The watchers stay off unless a test starts them.
#pragma once

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "platform/window/AfxWinApp.h"
#include "platform/window/MessageBox.h"
#include "server/ServerTreeCtrl.h"
#include "session/ServerSession.h"
#include "session/SessionOwner.h"
#include "shell/ShellLocalPanes.h"
#include "tests/support/AnsiText.h"
#include "tests/support/TempDir.h"
#include "tests/support/WindowHarness.h"
#include "transfer/MainWindowLink.h"
#include "transfer/TransferList.h"

namespace ostrana::test {

class TransferRecorder : public MainWindowLink {
public:
    struct Transfer {
        int direction;
        std::string target;
        std::unique_ptr<TransferList> list;
    };
    bool StartTransfer(int direction, const std::string& target, std::unique_ptr<TransferList> list, int) override {
        transfers.push_back({direction, target, std::move(list)});
        return true;
    }
    void SetCurrentPath(const std::string&) override {}
    void RefreshQuota() override {}
    void UploadCommand() override {}
    void AddFolderCommand() override {}

    std::vector<Transfer> transfers;
};

// Sets an environment variable for the object's lifetime.
class ScopedEnv {
public:
    ScopedEnv(const char* name, const std::string& value);
    ~ScopedEnv();
    ScopedEnv(const ScopedEnv&) = delete;
    ScopedEnv& operator=(const ScopedEnv&) = delete;

private:
    std::string m_name;
    std::string m_previous;
    bool m_had = false;
};

class LocalPaneHarness {
public:
    LocalPaneHarness();
    ~LocalPaneHarness();
    LocalPaneHarness(const LocalPaneHarness&) = delete;
    LocalPaneHarness& operator=(const LocalPaneHarness&) = delete;

    // The work folder inside the home folder, and a host path inside it.
    std::filesystem::path Work(const std::string& utf8Relative = {}) const;
    // A host path as the panes name it ("C:\tmp\...", ANSI).
    static std::string Local(const std::filesystem::path& path);
    // Selects the folder in the tree (which fills the list) and serves what that queued.
    void Show(const std::filesystem::path& folder);
    // The list's texts of a column in row order, UTF-8.
    std::vector<std::string> Rows(int column = 0);
    // The labels of a node's children, UTF-8.
    std::vector<std::string> Children(HTREEITEM parent);
    HTREEITEM Child(HTREEITEM parent, const std::string& utf8Label);
    std::string SelectedFolder();
    void SelectRows(const std::vector<std::string>& utf8Names);
    // Sends a dropped-files message with these names to a window, as the platform does.
    void DropFiles(HWND window, const std::vector<std::string>& names, POINT point);
    std::vector<MessageBoxRequest> Boxes() const { return boxes->Boxes(); }
    // How many folder selections the tree has told its frame (the test window) of, and a wait
    // for the next one.
    int FolderSelections() const;
    bool WaitForFolderSelection(DWORD timeoutMs = 5000) const;

    TempDir home;
    ScopedEnv homeEnv{"HOME", home.Str()};
    ScopedEnv dataEnv{"XDG_DATA_HOME", (home.Path() / ".local" / "share").string()};
    ScopedRegistryFile registry;
    CWinApp app{"Ostrana"};
    std::shared_ptr<HeadlessMessageBoxPresenter> boxes = std::make_shared<HeadlessMessageBoxPresenter>();
    TransferRecorder recorder;
    SimpleSessionOwner owner;
    ServerSession session{&owner};
    UiThread ui;
    std::unique_ptr<CWnd> parent;
    std::unique_ptr<CServerTreeCtrl> serverTree;
    std::unique_ptr<ShellLocalPanes> panes;
    CIEShellTreeCtrl* tree = nullptr;
    CIEShellListCtrl* list = nullptr;
};

} // namespace ostrana::test
