// Both server panes on a test window, logged in to a real ostrana-service as the demo user, with a
// recording main-window link, scripted message-box answers and a registry file of their own.
#pragma once

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "platform/window/AfxWinApp.h"
#include "platform/window/MessageBox.h"
#include "server/ServerListView.h"
#include "server/ServerTreeView.h"
#include "session/ServerSession.h"
#include "session/SessionOwner.h"
#include "tests/support/AnsiText.h"
#include "tests/support/ServiceProcess.h"
#include "tests/support/TempDir.h"
#include "tests/support/WindowHarness.h"
#include "transfer/MainWindowLink.h"
#include "transfer/TransferList.h"

namespace ostrana::test {

class RecordingLink : public MainWindowLink {
public:
    struct Transfer {
        int direction;
        std::string target;
        std::unique_ptr<TransferList> list;
        int noWait;
    };
    bool StartTransfer(int direction, const std::string& target, std::unique_ptr<TransferList> list, int noWait) override {
        transfers.push_back({direction, target, std::move(list), noWait});
        return true;
    }
    void SetCurrentPath(const std::string& path) override { paths.push_back(path); }
    void RefreshQuota() override { ++quotaRefreshes; }
    void UploadCommand() override { ++uploadCommands; }
    void DownloadCommand() override { ++downloadCommands; }
    void AddFolderCommand() override { ++addFolderCommands; }

    std::vector<Transfer> transfers;
    std::vector<std::string> paths;
    int quotaRefreshes = 0, uploadCommands = 0, downloadCommands = 0, addFolderCommands = 0;
};

class ServerPaneHarness {
public:
    // Logs in and creates both panes; InitRoots is left to the test.
    ServerPaneHarness();
    ~ServerPaneHarness();
    ServerPaneHarness(const ServerPaneHarness&) = delete;
    ServerPaneHarness& operator=(const ServerPaneHarness&) = delete;

    void InitRoots(bool myFolder, bool myHtml, int accountKind = 1);
    // Destroys both panes (the tree view saves its registered folders).
    void DestroyPanes();

    std::filesystem::path Stored(const std::string& utf8Relative) const;
    // Texts of the list's column in row order, and labels of a node's children, in UTF-8.
    std::vector<std::string> Rows(int column = 0);
    std::vector<std::string> Children(HTREEITEM parent);
    HTREEITEM Child(HTREEITEM parent, const std::string& utf8Label);
    std::string Selected();
    // Selects `utf8Folder` under myfolder/ step by step, each step listing its folder.
    void Open(const std::vector<std::string>& utf8Folders);
    void SelectRows(const std::vector<std::string>& utf8Names);
    // How many times the service logged `command` (".RENAME", ".REMOVE", ...), waiting for at
    // least `atLeast` of them.
    int Logged(const std::string& command, int atLeast = 0) const;
    // The view's notification reflected to the control, as the control would send it.
    LRESULT NotifyList(NMHDR& header);
    LRESULT NotifyTree(NMHDR& header);

    ServiceProcess service;
    ScopedRegistryFile registry;
    CWinApp app{"Ostrana"};
    SimpleSessionOwner owner;
    ServerSession session{&owner};
    RecordingLink link;
    std::shared_ptr<HeadlessMessageBoxPresenter> boxes = std::make_shared<HeadlessMessageBoxPresenter>();
    TempDir local;
    UiThread ui;
    std::unique_ptr<CWnd> parent;
    std::unique_ptr<CServerTreeView> treeView;
    std::unique_ptr<CServerListView> listView;
    CServerTreeCtrl* tree = nullptr;
    CServerListCtrl* list = nullptr;
};

} // namespace ostrana::test
