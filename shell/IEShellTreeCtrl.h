// The local folder tree of the client pane: it tells the local list (and the frame) which folder
// is selected, selects folders by path or id list, keeps itself in step with the drives through
// the drive watchers, starts downloads of server items dropped on it, and offers the shell's
// property sheet and context menu of a folder. One lives at a time; GetIEShellTreeCtrl names it.
#pragma once

#include <atomic>
#include <string>

#include "shell/DriveWatcher.h"
#include "shell/ShellMessages.h"
#include "shell/ShellTreeCtrl.h"

class CIEShellTreeCtrl : public CShellTreeCtrl {
    DECLARE_DYNAMIC(CIEShellTreeCtrl)

public:
    static constexpr UINT kFirstShellCommand = 20000;
    static constexpr UINT kLastShellCommand = 29999;
    static constexpr UINT kFirstNameSize = 2048;

    CIEShellTreeCtrl();
    ~CIEShellTreeCtrl() override;

    // The file-system path of the selected folder; empty when it has none.
    std::string GetCurrentFolderPath() const;
    // Clears the tree and loads the Desktop.
    virtual void LoadDesktopRoot();
    // Selects the child of the selected node whose text is `name`; false when there is none.
    bool SelectChildByName(const std::string& name);
    // The list control that hears of selections (null: the parent does).
    void SetListWnd(HWND list);
    HWND GetListWnd() const { return m_listWnd; }
    void SetFrameWnd(HWND frame) { m_frameWnd = frame; }
    HWND GetFrameWnd() const { return m_frameWnd; }
    void SetReportRefresh(bool on) { m_reportRefresh = on; }
    // Off while the program refreshes the tree itself.
    std::atomic<bool>& ReactToChange() { return m_reactToChange; }
    // Whether the drive watchers start with the window (on unless turned off before it is made).
    void SetWatchOnCreate(bool on) { m_watchOnCreate = on; }
    // Turns the tree into a display only: it starts no drags and accepts no drops.
    void DisableDragDrop();
    const DriveWatcher& Watchers() const { return m_watchers; }

    virtual void GoParent();
    virtual void OpenItem(HTREEITEM item, LPCSTR verb);
    virtual void SetWatching(bool on);
    virtual void SelectIdList(LPCITEMIDLIST absolute);
    // The node of an absolute list under the root, made (and its parents expanded) as needed.
    virtual HTREEITEM FindIdList(LPCITEMIDLIST absolute);
    virtual void NotifySelected(HTREEITEM item);
    virtual void StopAllWatchers();
    virtual void StartWatchersOnAllDrives();
    virtual bool StartWatcher(const std::string& root);
    virtual HTREEITEM FindChildByIdList(HTREEITEM parent, LPCITEMIDLIST relative);
    virtual HTREEITEM FindChildByText(HTREEITEM parent, const std::string& text);
    virtual int DeleteChildren(HTREEITEM parent);
    virtual void MoveFolder(HTREEITEM from, HTREEITEM to);
    // Selects the folder of a path, or says it was not found.
    void SelectPath(const std::string& path);
    // The node whose rectangle holds a client point, or null.
    HTREEITEM NodeAt(POINT client) const;
    // A refresh ordered by the program: the change it causes is not reported back to it.
    void RefreshOwnChange();

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    void SendSelectionNotify(CObject* notify) override;
    void GoUp(HTREEITEM item) override;
    void Refresh(HTREEITEM item) override;
    void ShowProperties(HTREEITEM item) override;
    void ShowContextMenu(HTREEITEM item, POINT screen) override;
    LRESULT OnDragEnter(CDD_OleDropTargetInfo* info) override;
    LRESULT OnDragOver(CDD_OleDropTargetInfo* info) override;
    LRESULT OnDrop(CDD_OleDropTargetInfo* info) override;
    DROPEFFECT OnBeginDragData(CDD_OleDropTargetInfo* info, COleDataSource* dataSource) override;
    void DropOwnDrag(DROPEFFECT effect) override;

private:
    void OnDropFiles(HDROP drop);
    void OnTreeChanged();
    void OnSettingChange(LPCSTR section);
    DriveWatchTarget WatchTarget();
    HTREEITEM NodeAt(HTREEITEM from, POINT client) const;

    HWND m_listWnd = nullptr;
    HWND m_frameWnd = nullptr;
    std::atomic<bool> m_reactToChange{true};
    bool m_reportRefresh = false;
    bool m_watchOnCreate = true;
    bool m_dragDropOn = true;
    IContextMenu2* m_contextMenu = nullptr;
    DriveWatcher m_watchers;
};

CIEShellTreeCtrl* GetIEShellTreeCtrl();
