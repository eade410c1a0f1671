// What the main window needs of the two local panes (the folder tree and the file list): it
// creates them in the placeholders' places, lays them out, uploads the list's selection,
// downloads into the tree's folder and tells the list when to refill.
#pragma once

#include <string>
#include <vector>

#include "platform/window/AfxWnd.h"

class LocalPaneLink {
public:
    virtual ~LocalPaneLink() = default;

    // Creates both panes hidden as children of `parent` (`style` is WS_CHILD | WS_BORDER) with the
    // control ids 207 (tree) and 212 (list), runs their initial updates, gives the tree the list
    // and loads the tree's root once.
    virtual void Create(CWnd* parent, const RECT& treeRect, const RECT& listRect, DWORD style) = 0;

    // The pane windows, for layout and for showing the workspace; null before Create.
    virtual CWnd* TreePane() = 0;
    virtual CWnd* ListPane() = 0;
    // The list control inside the list pane (the window that takes the keyboard focus), or null.
    virtual HWND ListControl() const = 0;

    // The file-system path of the tree's selected folder; empty when it has none.
    virtual std::string CurrentFolderPath() const = 0;
    // The file-system paths of the list's selected rows, in list order.
    virtual std::vector<std::string> SelectedPaths() const = 0;
    // Whether change notifications from the folder watcher refill the list.
    virtual void SetAutoRefresh(bool allowed) = 0;
    // Auto-refresh on, then the list refills itself (a posted UWM_LIST_REFRESH).
    virtual void RefreshList() = 0;

protected:
    LocalPaneLink() = default;
    LocalPaneLink(const LocalPaneLink&) = default;
    LocalPaneLink& operator=(const LocalPaneLink&) = default;
};
