// What the panes ask of the main window. The main window implements it and sets the one
// process-wide pointer while it exists; the panes reach it only through that pointer, so they
// build and test without the main window (tests supply their own).
#pragma once

#include <memory>
#include <string>

class TransferList;

class MainWindowLink {
public:
    virtual ~MainWindowLink() = default;

    // direction: 1 upload, 0 download. The list belongs to the transfer from here on (it is
    // dropped when refused). true when a job started.
    virtual bool StartTransfer(int direction, const std::string& target, std::unique_ptr<TransferList> list,
                               int noWait) = 0;
    // The server folder now shown in the server list (ANSI code page).
    virtual void SetCurrentPath(const std::string& path) = 0;
    // Queries the quota again and shows it.
    virtual void RefreshQuota() = 0;
    // The upload command (button, "파일 올리기", "여기로 파일 올리기"): the local list's selection,
    // or the file dialog, into the server tree's current folder.
    virtual void UploadCommand() = 0;
    // The download command (button, "파일 내려받기"): the server list's selection into the local
    // pane's current folder.
    virtual void DownloadCommand() {}
    // The add-folder dialog, opened from the server-home node's "새 폴더".
    virtual void AddFolderCommand() = 0;
};

// The process-wide pointer, or null when no main window exists.
MainWindowLink* GetMainWindowLink();
void SetMainWindowLink(MainWindowLink* link);
