// The local file list of the client pane: the files and folders of the folder selected in the
// local tree, one ShellItemData per row, with the shell's icons, column texts made only for the
// rows that are shown, and the shell's own order. It is the local end of every transfer (server
// items dropped on it download into the tree's folder, its selection is what gets uploaded) and
// creates, renames, deletes, opens and shows the property sheets of local files. One lives at a
// time; GetIEShellListCtrl names it.
#pragma once

#include <atomic>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "platform/shell/ShellMalloc.h"
#include "shell/FolderWatcher.h"
#include "shell/ShellItemData.h"
#include "shell/ShellMessages.h"
#include "shell/ShellSettings.h"
#include "ui/UIODListCtrl.h"

class CIEShellListCtrl : public CUIODListCtrl {
    DECLARE_DYNAMIC(CIEShellListCtrl)

public:
    static constexpr UINT kCmdNewFolder = 32800;
    static constexpr UINT kCmdParent = 32801;
    static constexpr UINT kCmdRefresh = 32802;
    static constexpr ULONG kRowMask = 0xA20FC000;
    static constexpr COLORREF kCompressedColor = RGB(0, 0, 255);
    static constexpr DWORD kOneClickStyles = 0x848;
    static constexpr const char* kDefaultHeadings = "Name|Size|Type|Modified";
    static constexpr const char* kSectionName = "OstranaList";
    static constexpr int kColumnName = 0;
    static constexpr int kColumnSize = 1;
    static constexpr int kColumnType = 2;
    static constexpr int kColumnModified = 3;

    CIEShellListCtrl();
    ~CIEShellListCtrl() override;

    // The file-system paths of the selected rows in list order, appended; their count.
    int GetSelectedPaths(std::vector<std::string>& paths) const;
    // The path of a row (the first selected one for -1); empty when there is none.
    std::string GetRowPath(int row = -1) const;
    std::atomic<bool>& AutoRefresh() { return m_autoRefresh; }
    const std::string& GetShownPath() const { return m_path; }
    ShellItemData* GetShellItem(int row) const;
    IShellFolder* GetShownFolder() const { return m_folder.Get(); }
    bool IsSortByShell() const { return m_sortByShell; }
    void SetReportRefresh(bool on) { m_reportRefresh = on; }
    // Before the window is made: whether the folder watcher starts with it.
    void SetWatchOnCreate(bool on) { m_watchOnCreate = on; }
    const FolderWatcher& Watcher() const { return m_watcher; }
    // File patterns separated by ";" or ","; empty, "*.*" or "*" show everything.
    void SetIncludePattern(std::string pattern) { m_include = std::move(pattern); }
    // Type names ("텍스트 문서", ...) not to show while the exclude list is on.
    void SetExcludeTypes(std::vector<std::string> types, bool on);

    virtual void ShowShellContextMenu(POINT screen);
    virtual void OpenRow(int row, LPCSTR verb);
    virtual void SetWatching(bool on);
    virtual void NavigateTo(const ShellItemData& folder);
    virtual bool NavigateToPath(const std::string& path);
    virtual void SetFolderAndFill(ShellPtr<IShellFolder> parent, ShellPtr<IShellFolder> folder, LPCITEMIDLIST absolute);
    virtual void BeginFill();
    virtual void EndFill();
    virtual void StopWatcher();
    virtual void FillWithWaitCursor();
    virtual void SizeColumns();
    virtual std::string StripExtension(const std::string& text) const;
    virtual void CreateColumns();
    virtual std::string BuildHeadings();
    virtual void SetUpImageLists();
    virtual void FillFromFolder();
    virtual void ReloadSettings();
    virtual bool PassesFilters(IShellFolder* folder, LPCITEMIDLIST relative, LPCITEMIDLIST absolute) const;
    // A derived list's own text for a column; false leaves it to the list.
    virtual bool GetOwnColumnText(const ShellItemData& row, int column, std::string& text);
    virtual void MakeRowTexts(ShellItemData& row, int column);
    virtual void MakeSizeAndDateTexts(ShellItemData& row);
    virtual void StartWatcher();
    virtual void ReleaseFolder();
    virtual bool HasColumnDetails() const;
    // The next pattern of `patterns` from `at` (moved past it); false when none is left.
    virtual bool NextPattern(const std::string& patterns, std::size_t& at, std::string& pattern) const;

    // The program's own actions.
    void NewFolder();
    void RenameRow(int row, const std::string& typed);
    void DeleteSelected(bool removeForGood);
    void ShowSelectedProperties();
    void RefreshList();
    // Server items dropped on the list download into the tree's folder.
    void DownloadServerItems(HDROP drop);

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    BOOL OnCmdMsg(UINT id, int code) override;
    BOOL GetDispInfo(LVITEMA* item) override;
    BOOL ColumnClick(int column) override;
    BOOL EndLabelEdit(int row, int column, LPCSTR text) override;
    BOOL EnterPressed(int row) override;
    BOOL DoubleClick(int row, int column) override;
    int CompareItems(const CUIListCtrlData* first, const CUIListCtrlData* second, const SortRecord& sort) override;
    void ShowContextMenu(int row, int column, POINT screen) override;
    void Refresh() override;
    void ShowProperties(int row) override;
    LRESULT DragEnter(CDD_OleDropTargetInfo* info) override;
    LRESULT DragOver(CDD_OleDropTargetInfo* info) override;
    LRESULT DragLeave(CDD_OleDropTargetInfo* info) override;
    LRESULT Drop(CDD_OleDropTargetInfo* info) override;
    DROPEFFECT FillDataSource(COleDataSource* dataSource) override;

private:
    void SetUp();
    void OnTreeSelection(LPARAM notify);
    void OnListRefresh(WPARAM wParam);
    void OnDropFiles(HDROP drop);
    void AddRow(ShellIdList relative, ULONG attributes);
    void RebuildIncludeList();
    bool DetailsText(LPCITEMIDLIST relative, int column, std::string& text) const;
    std::string TypeNameOf(LPCITEMIDLIST absolute) const;
    int FindRowByName(const std::string& name) const;
    ShellPtr<IDropTarget> DropTargetAt(int row);
    static bool HasServerItems(COleDataObject* data);

    ShellPtr<IMalloc> m_malloc;
    ShellPtr<IShellFolder> m_desktop;
    ShellPtr<IShellFolder> m_parentFolder;
    ShellPtr<IShellFolder> m_folder;
    ShellIdList m_folderAbsolute;
    ShellPtr<IShellFolder2> m_details2;
    ShellPtr<IShellDetails> m_details;
    ShellIdList m_internet;
    ShellSettings m_settings;
    std::string m_headings = kDefaultHeadings;
    std::string m_path;
    std::string m_include;
    std::set<std::string> m_includeFiles;
    std::vector<std::string> m_exclude;
    bool m_excludeOn = false;
    bool m_sortByShell = false;
    std::atomic<bool> m_autoRefresh{true};
    bool m_filling = false;
    bool m_reportRefresh = false;
    bool m_setUp = false;
    bool m_watchOnCreate = true;
    IContextMenu2* m_contextMenu = nullptr;
    ShellPtr<IDropTarget> m_dropTarget;
    std::vector<std::unique_ptr<ShellItemData>> m_rows;
    FolderWatcher m_watcher;
};

CIEShellListCtrl* GetIEShellListCtrl();
