// The server file list: one row per entry of the folder shown in the server tree, with its
// CServerFileList record; sorting, new folder, rename, delete, the drag of server entries out
// and the drop of local files in.
#pragma once

#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "platform/ole/DropFiles.h"
#include "transfer/ServerCollection.h"
#include "ui/UIODListCtrl.h"

class CServerFileList;
class CServerTreeCtrl;
class ServerSession;

class CServerListCtrl : public CUIODListCtrl {
    DECLARE_DYNCREATE(CServerListCtrl)

public:
    static constexpr UINT kMenuId = 110;
    static constexpr UINT kCmdParent = 32785;
    static constexpr UINT kCmdUpload = 32774;
    static constexpr UINT kCmdDownload = 32773;
    static constexpr UINT kCmdNewFolder = 32778;
    static constexpr UINT kCmdRename = 32777;
    static constexpr UINT kCmdDelete = 32781;
    static constexpr UINT kCmdRefresh = 32784;
    static constexpr int kColumnName = 0;
    static constexpr int kColumnSize = 1;
    static constexpr int kColumnType = 2;
    static constexpr int kColumnDate = 3;

    // Without a session the process-wide one is used.
    explicit CServerListCtrl(ServerSession* session = nullptr);
    ~CServerListCtrl() override;

    ServerSession& Session() const;
    void SetServerTree(CServerTreeCtrl* tree) { m_pServerTree = tree; }
    CServerTreeCtrl* GetServerTree() const { return m_pServerTree; }
    int GetFolderIconIndex() const { return m_nFolderIcon; }
    void SetFolderIconIndex(int index) { m_nFolderIcon = index; }

    // Columns and image lists of a new list.
    void SetUpColumns();
    void SetUpImageLists();
    void ReleaseImageLists();

    // The model.
    int AddServerEntry(const std::string& line, std::string* folderName = nullptr);
    bool GetServerEntryInfo(const std::string& name, int& folder, std::string& size, std::string& date,
                            std::string& time) const;
    // The same answers for every row at once, for a transfer list of many chosen rows: one pass
    // over the rows instead of a search per row. The first row of a name answers for it.
    ServerEntryLookup EntryLookup() const;
    void GetSelectedServerPaths(std::vector<std::string>& paths) const;
    int FindRowByText(const std::string& text, int column) const;
    static std::string FormatSizeKB(const std::string& sizeText);
    // The record of a row, or null.
    const CServerFileList* GetRecord(int row) const;

    // User actions.
    void Resort();
    void SortColumn(int column);
    void NewFolder();
    void DeleteSelected();
    void StartRename();
    // Every row selected, each scrolled into view (the select-all key).
    void SelectAllRows();
    void OnDropFiles(HDROP drop);

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    BOOL PreTranslateMessage(MSG* msg) override;
    BOOL OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) override;
    BOOL ColumnClick(int column) override;
    BOOL EndLabelEdit(int row, int column, LPCSTR text) override;
    BOOL DoubleClick(int row, int column) override;
    BOOL BeginDrag(const NMLISTVIEW& info, bool rightButton) override;
    void ShowContextMenu(int row, int column, POINT screen) override;
    int CompareItems(const CUIListCtrlData* first, const CUIListCtrlData* second, const SortRecord& sort) override;

private:
    bool OnCommand(UINT id);
    std::string CurrentFolderPath() const;
    void RefreshTree();
    void AttachRecord(CUIListCtrlData* row, CServerFileList* record);
    void FreeRecord(DWORD_PTR record);
    void FreeAllRecords();

    ServerSession* m_pSession = nullptr;
    CServerTreeCtrl* m_pServerTree = nullptr;
    int m_nFolderIcon = -1;
    std::string m_folderTypeName;
    // The rows' records; the base list releases its own row data, not what it points to.
    std::unordered_map<const CServerFileList*, std::unique_ptr<CServerFileList>> m_records;
};
