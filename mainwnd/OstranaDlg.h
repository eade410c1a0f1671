// The main window (template 203): the four panes with their splitters, the quota text and gauge,
// the path, user and level labels, the five bitmap buttons and the login panel while the user
// logs in. It owns the running transfer job and is the session's owner of the cookie.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "mainwnd/LocalPaneLink.h"
#include "mainwnd/PaneSplitter.h"
#include "mainwnd/TextLabel.h"
#include "platform/window/AfxBitmapButton.h"
#include "platform/window/AfxDialog.h"
#include "session/SessionOwner.h"
#include "transfer/MainWindowLink.h"

class CLogInDlg;
class CServerTreeView;
class CServerListView;
class ServerSession;
class TransferStarter;

namespace ostrana {
class OverwriteAnswerer;
class ProgressPresenter;
} // namespace ostrana

#define IDC_MAIN_QUOTA_TEXT 219
#define IDC_MAIN_GAUGE_FILL 221
#define IDC_MAIN_PATH_TEXT 222
#define IDC_MAIN_USER_TEXT 223
#define IDC_MAIN_GAUGE 224
#define IDC_MAIN_LEVEL_TEXT 225
#define IDC_MAIN_UPLOAD 245
#define IDC_MAIN_DOWNLOAD 246
#define IDC_MAIN_PARENT_FOLDER 247
#define IDC_MAIN_NEW_FOLDER 248
#define IDC_MAIN_ADD_FOLDER 249
#define IDC_MAIN_SERVER_TREE 214
#define IDC_MAIN_SERVER_LIST 216
#define IDC_MAIN_LOCAL_TREE 207
#define IDC_MAIN_LOCAL_LIST 212
#define IDC_MAIN_HSPLITTER 6024
#define IDC_MAIN_VSPLITTER1 6025
#define IDC_MAIN_VSPLITTER2 6026

class COstranaDlg : public CDialog, public MainWindowLink, public SessionOwner {
public:
    explicit COstranaDlg(CWnd* parent, ServerSession* session = nullptr);
    ~COstranaDlg() override;
    COstranaDlg(const COstranaDlg&) = delete;
    COstranaDlg& operator=(const COstranaDlg&) = delete;

    void SetStartParams(const std::string& cookie, const std::string& host, const std::string& user);
    // The local panes to create in the placeholders' places; the shell browser's unless given
    // before Create.
    void SetLocalPanes(std::unique_ptr<LocalPaneLink> panes) { m_pLocalPanes = std::move(panes); }
    // Modeless, as a child of `parent`.
    BOOL Create(UINT templateId, CWnd* parent);

    static std::string FormatQuotaSize(std::int64_t bytes, bool detailed);
    // The gauge fill's width in pixels for the quota figures (1 to 200).
    static int GaugeWidth(std::int64_t total, std::int64_t used);
    // The first free "새폴더" name among `names` of folders: the base name, or the base and a count.
    static std::string NextNewFolderName(int matchingFolders);

    // MainWindowLink
    bool StartTransfer(int direction, const std::string& target, std::unique_ptr<TransferList> list,
                       int noWait) override;
    void SetCurrentPath(const std::string& path) override;
    void RefreshQuota() override;
    void UploadCommand() override;
    void DownloadCommand() override;
    void AddFolderCommand() override;
    void AddRootFolder(const std::string& path);
    void StopTransfer();

    // SessionOwner
    std::string GetSessionCookie() const override { return m_strCookie; }
    void SetSessionCookie(const std::string& cookie) override { m_strCookie = cookie; }
    void SetGreetingNumber(int number) override { m_nAccountKind = number; }
    void SetHomeLabel(const std::string& label) override { m_strDisplayName = label; }

    const std::string& Host() const { return m_strHost; }
    int Port() const { return m_nPort; }
    const std::string& UserId() const { return m_strUserId; }
    const std::string& DisplayName() const { return m_strDisplayName; }
    const std::string& QuotaFolder() const { return m_strQuotaFolder; }
    CLogInDlg* LoginDialog() const { return m_pLoginDlg.get(); }
    CServerTreeView* ServerTreePane() const { return m_pServerTree.get(); }
    CServerListView* ServerListPane() const { return m_pServerList.get(); }
    LocalPaneLink* LocalPanes() const { return m_pLocalPanes.get(); }
    CWnd* LocalTreePane() const { return m_pLocalPanes ? m_pLocalPanes->TreePane() : nullptr; }
    CWnd* LocalListPane() const { return m_pLocalPanes ? m_pLocalPanes->ListPane() : nullptr; }
    CPaneSplitter& HorizontalSplitter() { return m_hSplitter; }
    CPaneSplitter& VerticalSplitter1() { return m_vSplitter1; }
    CPaneSplitter& VerticalSplitter2() { return m_vSplitter2; }
    CTextLabel& QuotaLabel() { return m_quotaLabel; }
    CTextLabel& PathLabel() { return m_pathLabel; }
    CTextLabel& UserLabel() { return m_userLabel; }
    CTextLabel& LevelLabel() { return m_levelLabel; }
    bool HasTransferJob() const;

    BOOL OnInitDialog() override;
    BOOL PreTranslateMessage(MSG* msg) override;
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;
    void OnOK() override {}
    void OnCancel() override {}
    void LayoutControls();

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    void MakeButtons();
    void MakeLabels();
    void CreateSplitters();
    void CreatePanes();
    void CreateLoginDialog();
    void CentreLoginDialog();
    void SplitHostAndPort();
    void OnLoginReady(WPARAM fromPage);
    bool LogInWithDialog();
    void ShowWorkspace();
    void OnSplitterMoved(UINT id, int delta);
    void OnTransferDone();
    void RefreshPanesAfterChange();
    std::vector<std::string> ChooseUploadFiles();
    void OnKeyDelete();
    void OnKeyRefresh();
    void OnKeyRename();
    void OnKeySelectAll();
    void NewServerFolder();
    void ParentFolder();
    void OnPaint();
    void OnDestroy();
    void SaveLayout();
    HWND ServerListControl() const;
    HWND ServerTreeControl() const;
    HWND LocalListControl() const;
    RECT ChildRect(int id) const;
    RECT ChildRect(const CWnd& child) const;

    ServerSession& m_session;
    std::unique_ptr<CServerTreeView> m_pServerTree;
    std::unique_ptr<CServerListView> m_pServerList;
    std::unique_ptr<LocalPaneLink> m_pLocalPanes;
    std::unique_ptr<TransferStarter> m_pStarter;
    // The presenters that were installed before this window put up its own, back when it goes.
    std::shared_ptr<ostrana::OverwriteAnswerer> m_previousAnswerer;
    std::shared_ptr<ostrana::ProgressPresenter> m_previousProgress;
    std::unique_ptr<CLogInDlg> m_pLoginDlg;
    CPaneSplitter m_hSplitter;
    CPaneSplitter m_vSplitter1;
    CPaneSplitter m_vSplitter2;
    CTextLabel m_quotaLabel;
    CTextLabel m_pathLabel;
    CTextLabel m_userLabel;
    CTextLabel m_levelLabel;
    CBitmapButton m_uploadButton;
    CBitmapButton m_downloadButton;
    CBitmapButton m_parentButton;
    CBitmapButton m_newFolderButton;
    CBitmapButton m_addFolderButton;
    std::string m_strQuotaFolder;
    std::string m_strCookie;
    std::string m_strHost;
    int m_nPort = 80;
    std::string m_strUserId;
    std::string m_strDisplayName;
    int m_nAccountKind = 0;
};

// The process-wide main window, or null.
COstranaDlg* GetMainWindow();
void SetMainWindow(COstranaDlg* window);
