// The main window; see OstranaDlg.h.
#include "mainwnd/OstranaDlg.h"

#include <cstdio>
#include <cstdlib>
#include <vector>

#include "mainwnd/AddFolderDlg.h"
#include "mainwnd/LogInDlg.h"
#include "mainwnd/MainWindowMessages.h"
#include "mainwnd/PlaceholderLocalPanes.h"
#include "mainwnd/SettingsStore.h"
#include "mainwnd/UploadFileDlg.h"
#include "misc/ReportBox.h"
#include "platform/shell/WindowProgressPresenter.h"
#include "platform/window/AfxWaitCursor.h"
#include "platform/window/MessageBox.h"
#include "platform/window/VirtualKeys.h"
#include "res/ResourceIds.h"
#include "res/Resources.h"
#include "server/ServerListView.h"
#include "server/ServerTreeView.h"
#include "session/ServerSession.h"
#include "transfer/OverwriteDlg.h"
#include "transfer/TransferList.h"
#include "transfer/TransferStarter.h"
#include "ui/UIMessages.h"

namespace {

COstranaDlg* g_mainWindow = nullptr;

constexpr UINT kLoginFailedString = 9;
constexpr UINT kQuotaTextString = 11;
constexpr UINT kNewFolderString = 8;
constexpr UINT kUploadFilterString = 18;

} // namespace

COstranaDlg* GetMainWindow() { return g_mainWindow; }
void SetMainWindow(COstranaDlg* window) { g_mainWindow = window; }

COstranaDlg::COstranaDlg(CWnd* parent, ServerSession* session)
    : CDialog(IDD_OSTRANA), m_session(session != nullptr ? *session : TheServerSession()) {
    m_pParentWnd = parent;
    m_hResource = AfxGetResourceHandle();
    m_pStarter = std::make_unique<TransferStarter>(m_session, [this] {
        if (m_hWnd != nullptr) ::PostMessageA(m_hWnd, UWM_TRANSFER_DONE, 0, 0);
    });
    // Transfers started here show the progress window and ask before overwriting in the prompt's
    // own window, both on the worker's side so that this window stays live.
    m_previousAnswerer = ostrana::CurrentOverwriteAnswerer();
    m_previousProgress = ostrana::CurrentProgressPresenter();
    ostrana::SetOverwriteAnswerer(std::make_shared<ostrana::WindowOverwriteAnswerer>());
    ostrana::SetProgressPresenter(std::make_shared<ostrana::WindowProgressPresenter>());
    SetMainWindow(this);
    SetMainWindowLink(this);
    SetSessionOwner(this);
}

COstranaDlg::~COstranaDlg() {
    if (m_hWnd != nullptr) DestroyWindow();
    if (GetMainWindow() == this) SetMainWindow(nullptr);
    if (GetMainWindowLink() == this) SetMainWindowLink(nullptr);
    if (GetSessionOwner() == this) SetSessionOwner(nullptr);
    m_pStarter.reset();
    ostrana::SetProgressPresenter(m_previousProgress);
    ostrana::SetOverwriteAnswerer(m_previousAnswerer);
}

void COstranaDlg::SetStartParams(const std::string& cookie, const std::string& host, const std::string& user) {
    m_strCookie = cookie;
    m_strHost = host;
    m_strUserId = user;
}

BOOL COstranaDlg::Create(UINT templateId, CWnd* parent) { return CDialog::Create(templateId, parent); }

std::string COstranaDlg::FormatQuotaSize(std::int64_t bytes, bool detailed) {
    char text[64];
    if (bytes < 1000) {
        std::snprintf(text, sizeof(text), "%d Byte", static_cast<int>(bytes));
        return text;
    }
    const auto kb = static_cast<std::uint32_t>((bytes + 1023) / 1024);
    if (kb < 1000) {
        std::snprintf(text, sizeof(text), "%u KB", kb);
    } else if (kb < 1000000) {
        if (detailed) std::snprintf(text, sizeof(text), "%u,%03u KB", kb / 1000, kb % 1000);
        else std::snprintf(text, sizeof(text), "%u MB", kb / 1024);
    } else if (detailed) {
        std::snprintf(text, sizeof(text), "%u,%03u,%03u KB", kb / 1000000, (kb % 1000000) / 1000, kb % 1000);
    } else {
        std::snprintf(text, sizeof(text), "%u GB", kb / 1000000);
    }
    return text;
}

int COstranaDlg::GaugeWidth(std::int64_t total, std::int64_t used) {
    if (total == 0 || used == 0) return 1;
    if (used > total) return 200;
    const float ratio = (static_cast<float>(used) / 1048576.0f) / (static_cast<float>(total) / 1048576.0f);
    const int width = static_cast<int>(ratio * 200.0f);
    return width == 0 ? 1 : width;
}

std::string COstranaDlg::NextNewFolderName(int matchingFolders) {
    std::string base = LoadResourceString(kNewFolderString);
    if (matchingFolders == 0) return base;
    return base + std::to_string(matchingFolders);
}

bool COstranaDlg::HasTransferJob() const { return m_pStarter->HasJob(); }

bool COstranaDlg::StartTransfer(int direction, const std::string& target, std::unique_ptr<TransferList> list,
                                int noWait) {
    return m_pStarter->StartTransfer(direction, target, std::move(list), noWait);
}

void COstranaDlg::StopTransfer() {
    m_pStarter->StopTransfer();
    RefreshQuota();
    if (m_pServerTree && m_pServerTree->m_hWnd != nullptr && ::IsWindowVisible(m_pServerTree->m_hWnd))
        m_pServerTree->GetServerTree()->RefreshFolder();
}

void COstranaDlg::SetCurrentPath(const std::string& path) {
    m_pathLabel.m_text = path;
    if (m_pathLabel.m_hWnd != nullptr) m_pathLabel.Invalidate();
    const auto slash = path.rfind('/');
    if (slash == std::string::npos) return;
    std::string folder = path.substr(0, slash);
    if (folder == m_strQuotaFolder) return;
    m_strQuotaFolder = folder;
    RefreshQuota();
}

void COstranaDlg::RefreshQuota() {
    m_session.QueryQuota(m_strQuotaFolder);
    QuotaInfo quota = m_session.Quota();
    if (quota.total > 0 && quota.used > quota.total) quota.remaining = 0;
    m_quotaLabel.m_text = LoadAndFormat(kQuotaTextString, FormatQuotaSize(quota.total, false).c_str(),
                                        FormatQuotaSize(quota.used, false).c_str(),
                                        FormatQuotaSize(quota.remaining, true).c_str());
    if (m_quotaLabel.m_hWnd != nullptr) m_quotaLabel.Invalidate();
    if (m_hWnd == nullptr) return;
    const RECT gauge = ChildRect(IDC_MAIN_GAUGE);
    if (CWnd* fill = GetDlgItem(IDC_MAIN_GAUGE_FILL))
        fill->MoveWindow(gauge.left + 1, gauge.top + 1, GaugeWidth(quota.total, quota.used), 9);
}

void COstranaDlg::UploadCommand() {
    if (!m_pServerTree || !m_pLocalPanes) return;
    // Without a server folder to receive them there is nothing to choose files for.
    if (m_pServerTree->GetServerTree()->GetCurrentFolderPath().empty()) return;
    std::vector<std::string> paths = m_pLocalPanes->SelectedPaths();
    if (paths.empty()) paths = ChooseUploadFiles();
    TransferList chosen(0);
    for (const std::string& path : paths) chosen.AddLocalPath(path);
    m_pServerTree->GetServerTree()->UploadItemsHere(chosen);
}

std::vector<std::string> COstranaDlg::ChooseUploadFiles() {
    CUploadFileDlg dialog(this, m_pLocalPanes->CurrentFolderPath(), LoadResourceString(kUploadFilterString));
    if (dialog.DoModal() != IDOK) return {};
    return dialog.GetPaths();
}

void COstranaDlg::DownloadCommand() {
    if (!m_pServerList || !m_pServerTree || !m_pLocalPanes) return;
    std::vector<std::string> paths;
    m_pServerList->GetServerList()->GetSelectedServerPaths(paths);
    if (paths.empty()) return;
    const std::string target = m_pLocalPanes->CurrentFolderPath();
    if (target.empty()) return;
    // The list would refill for every file written; it refills once when the job has ended.
    m_pLocalPanes->SetAutoRefresh(false);
    m_pServerTree->GetServerTree()->DownloadServerPaths(target, &paths, 1);
}

void COstranaDlg::AddFolderCommand() {
    CAddFolderDlg dialog(m_session);
    if (dialog.DoModal() == IDOK) AddRootFolder(dialog.m_strPath);
}

void COstranaDlg::AddRootFolder(const std::string& path) {
    if (m_pServerTree) m_pServerTree->AddRootFolder(path);
}

RECT COstranaDlg::ChildRect(const CWnd& child) const {
    RECT rect{};
    ::GetWindowRect(child.m_hWnd, &rect);
    ScreenToClient(&rect);
    return rect;
}

RECT COstranaDlg::ChildRect(int id) const {
    RECT rect{};
    if (CWnd* item = GetDlgItem(id)) rect = ChildRect(*item);
    return rect;
}

void COstranaDlg::MakeButtons() {
    m_addFolderButton.AutoLoad(IDC_MAIN_ADD_FOLDER, this);
    m_parentButton.AutoLoad(IDC_MAIN_PARENT_FOLDER, this);
    m_newFolderButton.AutoLoad(IDC_MAIN_NEW_FOLDER, this);
    m_uploadButton.AutoLoad(IDC_MAIN_UPLOAD, this);
    m_downloadButton.AutoLoad(IDC_MAIN_DOWNLOAD, this);
}

void COstranaDlg::MakeLabels() {
    for (auto [label, id] : {std::pair{&m_quotaLabel, IDC_MAIN_QUOTA_TEXT}, std::pair{&m_pathLabel, IDC_MAIN_PATH_TEXT},
                             std::pair{&m_userLabel, IDC_MAIN_USER_TEXT}, std::pair{&m_levelLabel, IDC_MAIN_LEVEL_TEXT}}) {
        CWnd* item = GetDlgItem(id);
        if (item == nullptr) continue;
        label->Attach(item->m_hWnd, 0, 0);
        label->m_textColor = 0;
        label->m_fillColor = 0xFFFFFF;
        label->m_backColor = 0xFFFFFF;
        label->SetFont(LoadResourceString(1023).c_str(), 9, FALSE, FALSE, FALSE);
    }
}

namespace {

bool ReadSplitter(const char* name, RECT& rect) {
    const std::string base = std::string("MainWindow\\") + name + "\\";
    int value = 0;
    bool any = false;
    for (auto [field, target] : {std::pair{"left", &rect.left}, std::pair{"top", &rect.top},
                                 std::pair{"right", &rect.right}, std::pair{"bottom", &rect.bottom}}) {
        if (GetSettingNumber((base + field).c_str(), value)) {
            *target = value;
            any = true;
        }
    }
    return any;
}

void WriteSplitter(const char* name, const RECT& rect) {
    const std::string base = std::string("MainWindow\\") + name + "\\";
    SetSettingNumber((base + "left").c_str(), rect.left);
    SetSettingNumber((base + "top").c_str(), rect.top);
    SetSettingNumber((base + "right").c_str(), rect.right);
    SetSettingNumber((base + "bottom").c_str(), rect.bottom);
}

} // namespace

void COstranaDlg::CreateSplitters() {
    const RECT tree = ChildRect(IDC_MAIN_SERVER_TREE);
    const RECT list = ChildRect(IDC_MAIN_SERVER_LIST);
    const RECT local = ChildRect(IDC_MAIN_LOCAL_TREE);
    RECT h{tree.left, tree.bottom + 2, list.right, tree.bottom + 5};
    RECT v1{tree.right + 2, tree.top, tree.right + 5, tree.bottom};
    RECT v2{local.right + 2, local.top, local.right + 5, local.bottom};
    int probe = 0;
    // A missing single value keeps its default coordinate.
    if (GetSettingNumber("MainWindow\\rcHSplitter\\left", probe)) {
        ReadSplitter("rcHSplitter", h);
        ReadSplitter("rcVSplitter1", v1);
        ReadSplitter("rcVSplitter2", v2);
    }
    m_vSplitter1.Create(WS_CHILD, v1, this, IDC_MAIN_VSPLITTER1);
    m_vSplitter1.SetRange(50, 500);
    m_hSplitter.Create(WS_CHILD, h, this, IDC_MAIN_HSPLITTER);
    m_hSplitter.SetRange(200, 500);
    m_hSplitter.SetOrientation(CPaneSplitter::kHorizontal);
    m_vSplitter2.Create(WS_CHILD, v2, this, IDC_MAIN_VSPLITTER2);
    m_vSplitter2.SetRange(50, 500);
}

void COstranaDlg::SaveLayout() {
    WriteSplitter("rcHSplitter", ChildRect(m_hSplitter));
    WriteSplitter("rcVSplitter1", ChildRect(m_vSplitter1));
    WriteSplitter("rcVSplitter2", ChildRect(m_vSplitter2));
}

void COstranaDlg::CreatePanes() {
    constexpr DWORD style = WS_CHILD | WS_BORDER;
    m_pServerTree = std::make_unique<CServerTreeView>(&m_session);
    m_pServerTree->Create("TreeView", "ServerTreeView", style, ChildRect(IDC_MAIN_SERVER_TREE), this,
                          IDC_MAIN_SERVER_TREE);
    m_pServerTree->OnInitialUpdate();
    m_pServerList = std::make_unique<CServerListView>(&m_session);
    m_pServerList->Create("ListView", "ServerListView", style, ChildRect(IDC_MAIN_SERVER_LIST), this,
                          IDC_MAIN_SERVER_LIST);
    m_pServerList->OnInitialUpdate();
    // The local panes stand in as bordered frames until the shell browser joins.
    if (!m_pLocalPanes) m_pLocalPanes = std::make_unique<PlaceholderLocalPanes>();
    m_pLocalPanes->Create(this, ChildRect(IDC_MAIN_LOCAL_TREE), ChildRect(IDC_MAIN_LOCAL_LIST), style);
}

void COstranaDlg::CentreLoginDialog() {
    if (!m_pLoginDlg || m_pLoginDlg->m_hWnd == nullptr) return;
    RECT client{};
    GetClientRect(&client);
    RECT own{};
    m_pLoginDlg->GetWindowRect(&own);
    const int width = own.right - own.left;
    const int height = own.bottom - own.top;
    m_pLoginDlg->MoveWindow((client.left + client.right) / 2 - width / 2,
                            (client.top + client.bottom) / 2 - height / 2 + 50, width, height);
}

void COstranaDlg::CreateLoginDialog() {
    m_pLoginDlg = std::make_unique<CLogInDlg>(this);
    m_pLoginDlg->SetFocus();
    m_pLoginDlg->m_passwordEdit.SetFocus();
    CentreLoginDialog();
}

void COstranaDlg::SplitHostAndPort() {
    const auto colon = m_strHost.find(':');
    if (colon != std::string::npos && colon > 0) {
        m_nPort = std::atoi(m_strHost.c_str() + colon + 1);
        m_strHost.resize(colon);
    } else {
        m_nPort = 80;
    }
}

BOOL COstranaDlg::OnInitDialog() {
    CDialog::OnInitDialog();
    m_session.Reset();
    MakeButtons();
    MakeLabels();
    CreateSplitters();
    CreatePanes();
    if (m_strUserId.empty()) {
        CreateLoginDialog();
        return FALSE;
    }
    SplitHostAndPort();
    ::PostMessageA(m_hWnd, UWM_LOGIN_READY, 1, 0);
    return TRUE;
}

bool COstranaDlg::LogInWithDialog() {
    CLogInDlg& login = *m_pLoginDlg;
    m_session.SetLoginData(login.m_userId, login.m_password, login.m_serverAddress, login.m_port);
    int status = 3000;
    m_session.Login(status);
    if (status == 3001) {
        WarnById(kLoginFailedString);
        return false;
    }
    m_strHost = login.m_serverAddress;
    m_nPort = login.m_port;
    m_strUserId = login.m_userId;
    login.SaveLoginSettings();
    m_pLoginDlg->DestroyWindow();
    m_pLoginDlg.reset();
    return true;
}

void COstranaDlg::OnLoginReady(WPARAM fromPage) {
    CWaitCursor wait;
    if (fromPage != 0) {
        m_session.SetLoginData(m_strUserId, "", m_strHost, m_nPort);
    } else if (!m_pLoginDlg || !LogInWithDialog()) {
        return;
    }
    if (m_session.OpenCommandSession() != 1) {
        return;
    }
    char text[64];
    m_userLabel.m_text = m_strDisplayName + " (" + m_strUserId + ")";
    std::snprintf(text, sizeof(text), "%d", m_nAccountKind);
    m_levelLabel.m_text = text;
    m_userLabel.Invalidate();
    m_levelLabel.Invalidate();
    std::vector<std::string> lines;
    int status = 3000;
    const bool myFolder = m_session.ListFolder("myfolder/", lines, status) == 1;
    status = 3000;
    lines.clear();
    const bool myHtml = m_session.ListFolder("myhtml/", lines, status) == 1;
    m_pServerList->SetServerTree(m_pServerTree->GetServerTree());
    m_pServerTree->InitRoots(m_pServerList->GetServerList(), myFolder, myHtml, m_nAccountKind);
    ShowWorkspace();
    LayoutControls();
}

void COstranaDlg::ShowWorkspace() {
    for (CWnd* pane : {static_cast<CWnd*>(m_pServerTree.get()), static_cast<CWnd*>(m_pServerList.get()),
                       LocalTreePane(), LocalListPane()})
        if (pane != nullptr && pane->m_hWnd != nullptr) pane->ShowWindow(SW_SHOW);
    m_hSplitter.ShowWindow(SW_SHOW);
    m_vSplitter1.ShowWindow(SW_SHOW);
    m_vSplitter2.ShowWindow(SW_SHOW);
    for (int id : {227, 226, 230, 219, 222, 233, 234, 247, 248, 249, 245, 246, 223, 225, 224, 221})
        if (CWnd* item = GetDlgItem(id)) item->ShowWindow(SW_SHOW);
}

void COstranaDlg::LayoutControls() {
    CentreLoginDialog();
    CWnd* localTree = LocalTreePane();
    CWnd* localList = LocalListPane();
    if (localTree == nullptr || localList == nullptr || localList->m_hWnd == nullptr) return;
    RECT client{};
    GetClientRect(&client);
    const int W = client.right;
    const int H = client.bottom;
    RECT h = ChildRect(m_hSplitter);
    h.right = h.left + W - 10;
    m_hSplitter.MoveWindow(h);
    RECT v2 = ChildRect(m_vSplitter2);
    v2.bottom = v2.top + (H - h.bottom - 10);
    m_vSplitter2.MoveWindow(v2);
    const RECT v1 = ChildRect(m_vSplitter1);
    auto placePair = [&](CWnd* tree, CWnd* list, const RECT& bar) {
        const int height = bar.bottom - bar.top;
        tree->MoveWindow(4, bar.top, bar.left - 6, height);
        list->MoveWindow(bar.right + 2, bar.top, h.right - bar.right - h.left + 4, height);
    };
    placePair(m_pServerTree.get(), m_pServerList.get(), v1);
    placePair(localTree, localList, v2);
    auto place = [&](int id, int x, int y, int width = -1, int height = -1) {
        CWnd* item = GetDlgItem(id);
        if (item == nullptr) return;
        const RECT rect = ChildRect(*item);
        item->MoveWindow(x, y < 0 ? rect.top : y, width < 0 ? rect.right - rect.left : width,
                         height < 0 ? rect.bottom - rect.top : height);
    };
    auto width = [&](int id) { const RECT r = ChildRect(id); return r.right - r.left; };
    auto own = [&](int id) { return ChildRect(id); };
    const int B = width(234);
    const int gaugeWidth = width(224);
    place(224, W - gaugeWidth - 20, 15);
    place(221, W - gaugeWidth - 20, 16);
    place(219, W - width(219) - 15, 45);
    place(234, W - B - 10, -1);
    place(249, W - B, -1, 17, 17);
    place(247, W - B + 30, -1, 17, 17);
    place(248, W - B + 58, -1, 17, 17);
    place(245, W - B + 90, -1);
    place(246, W - B + 155, -1);
    place(233, own(233).left, -1, W - 255);
    place(222, own(222).left, -1, W - 315);
    Invalidate(FALSE);
}

void COstranaDlg::OnSplitterMoved(UINT id, int delta) {
    if (id == IDC_MAIN_VSPLITTER1) {
        ChangeWidth(m_pServerTree.get(), delta, 1);
        ChangeWidth(m_pServerList.get(), delta, 2);
    } else if (id == IDC_MAIN_VSPLITTER2) {
        ChangeWidth(LocalTreePane(), delta, 1);
        ChangeWidth(LocalListPane(), delta, 2);
    } else if (id == IDC_MAIN_HSPLITTER) {
        ChangeHeight(m_pServerTree.get(), delta, 3);
        ChangeHeight(m_pServerList.get(), delta, 3);
        ChangeHeight(&m_vSplitter1, delta, 3);
        ChangeHeight(LocalTreePane(), delta, 4);
        ChangeHeight(LocalListPane(), delta, 4);
        ChangeHeight(&m_vSplitter2, delta, 4);
    } else {
        return;
    }
    Invalidate(FALSE);
}

HWND COstranaDlg::ServerListControl() const {
    return m_pServerList ? m_pServerList->GetServerList()->m_hWnd : nullptr;
}

HWND COstranaDlg::ServerTreeControl() const {
    return m_pServerTree ? m_pServerTree->GetServerTree()->m_hWnd : nullptr;
}

HWND COstranaDlg::LocalListControl() const { return m_pLocalPanes ? m_pLocalPanes->ListControl() : nullptr; }

void COstranaDlg::RefreshPanesAfterChange() {
    if (m_pServerTree && m_pServerTree->m_hWnd != nullptr) m_pServerTree->GetServerTree()->RefreshFolder();
    if (m_pLocalPanes) m_pLocalPanes->RefreshList();
}

void COstranaDlg::OnTransferDone() {
    // StopTransfer has listed the server folder again already.
    StopTransfer();
    if (m_pLocalPanes) m_pLocalPanes->RefreshList();
}

void COstranaDlg::OnKeyDelete() {
    const HWND focus = ::GetFocus();
    if (focus == nullptr) return;
    if (focus == ServerListControl()) m_pServerList->GetServerList()->DeleteSelected();
    else if (focus == LocalListControl()) ::PostMessageA(focus, UWM_LIST_DELETE, 0, 0);
    else if (focus == ServerTreeControl()) m_pServerTree->GetServerTree()->DeleteSelected();
}

void COstranaDlg::OnKeyRefresh() { RefreshPanesAfterChange(); }

void COstranaDlg::OnKeyRename() {
    const HWND focus = ::GetFocus();
    if (focus == nullptr) return;
    if (focus == ServerListControl() || focus == LocalListControl()) {
        const auto row = static_cast<int>(::SendMessageA(focus, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED));
        if (row >= 0) ::SendMessageA(focus, LVM_EDITLABELA, row, 0);
    } else if (focus == ServerTreeControl()) {
        m_pServerTree->GetServerTree()->StartRename();
    }
}

void COstranaDlg::OnKeySelectAll() {
    const HWND focus = ::GetFocus();
    if (focus == nullptr || (focus != ServerListControl() && focus != LocalListControl())) return;
    const auto count = static_cast<int>(::SendMessageA(focus, LVM_GETITEMCOUNT, 0, 0));
    LVITEMA item{};
    item.stateMask = LVIS_SELECTED;
    item.state = LVIS_SELECTED;
    for (int row = 0; row < count; ++row) {
        ::SendMessageA(focus, LVM_SETITEMSTATE, row, reinterpret_cast<LPARAM>(&item));
        ::SendMessageA(focus, LVM_ENSUREVISIBLE, row, FALSE);
    }
}

void COstranaDlg::ParentFolder() {
    if (m_pServerTree) m_pServerTree->GetServerTree()->SelectParentFolder();
}

void COstranaDlg::NewServerFolder() {
    if (!m_pServerList) return;
    CServerListCtrl* list = m_pServerList->GetServerList();
    list->SetFocus();
    const std::string base = LoadResourceString(kNewFolderString);
    const std::string folderType = LoadResourceString(3);
    const auto count = static_cast<int>(::SendMessageA(list->m_hWnd, LVM_GETITEMCOUNT, 0, 0));
    int matching = 0;
    char buffer[1024];
    for (int row = 0; row < count; ++row) {
        LVITEMA item{};
        item.iSubItem = 2;
        item.pszText = buffer;
        item.cchTextMax = sizeof(buffer);
        ::SendMessageA(list->m_hWnd, LVM_GETITEMTEXTA, row, reinterpret_cast<LPARAM>(&item));
        if (folderType != buffer) continue;
        item.iSubItem = 0;
        ::SendMessageA(list->m_hWnd, LVM_GETITEMTEXTA, row, reinterpret_cast<LPARAM>(&item));
        if (std::string(buffer).rfind(base, 0) == 0) ++matching;
    }
    const std::string name = NextNewFolderName(matching);
    CServerTreeCtrl* tree = m_pServerTree->GetServerTree();
    m_session.MakeFolder(tree->GetCurrentFolderPath(), name);
    tree->RefreshFolder();
    const int row = list->FindRowByText(name, 0);
    if (row >= 0) ::SendMessageA(list->m_hWnd, LVM_EDITLABELA, row, 0);
}

BOOL COstranaDlg::OnCommand(WPARAM wParam, LPARAM lParam) {
    switch (LOWORD(wParam)) {
    case IDC_MAIN_UPLOAD: UploadCommand(); return TRUE;
    case IDC_MAIN_DOWNLOAD: DownloadCommand(); return TRUE;
    case IDC_MAIN_PARENT_FOLDER: ParentFolder(); return TRUE;
    case IDC_MAIN_NEW_FOLDER: NewServerFolder(); return TRUE;
    case IDC_MAIN_ADD_FOLDER: AddFolderCommand(); return TRUE;
    default: return CDialog::OnCommand(wParam, lParam);
    }
}

BOOL COstranaDlg::PreTranslateMessage(MSG* msg) {
    // Enter never presses a button of the window.
    if (msg->message == WM_KEYDOWN && msg->wParam == VK_RETURN) return FALSE;
    return ::IsDialogMessageA(m_hWnd, msg);
}

void COstranaDlg::OnPaint() {
    CPaintDC paint(this);
    RECT client{};
    GetClientRect(&client);
    CDC memory;
    memory.CreateCompatibleDC(&paint);
    CBitmap bitmap;
    bitmap.CreateCompatibleBitmap(&paint, client.right, client.bottom);
    const HGDIOBJ oldBitmap = memory.SelectObject(&bitmap);
    memory.FillSolidRect(&client, 0xFFFFFF);
    CPen pen(PS_SOLID, 1, 0xB1B1B1);
    CBrush brush(0xFFFFFF);
    const HGDIOBJ oldPen = memory.SelectObject(&pen);
    const HGDIOBJ oldBrush = memory.SelectObject(&brush);
    memory.RoundRect(&client, POINT{10, 10});
    paint.BitBlt(0, 0, client.right, client.bottom, &memory, 0, 0, SRCCOPY);
    memory.SelectObject(oldBrush);
    memory.SelectObject(oldPen);
    memory.SelectObject(oldBitmap);
}

void COstranaDlg::OnDestroy() {
    StopTransfer();
    SaveLayout();
    if (m_pLoginDlg) {
        if (m_pLoginDlg->m_hWnd != nullptr) m_pLoginDlg->DestroyWindow();
        m_pLoginDlg.reset();
    }
    SetMainWindow(nullptr);
    m_session.Reset();
}

LRESULT COstranaDlg::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case UWM_LOGIN_READY: OnLoginReady(wParam); return 0;
    case UWM_TRANSFER_DONE: OnTransferDone(); return 0;
    case UWM_KEY_DELETE: OnKeyDelete(); return 0;
    case UWM_KEY_REFRESH: OnKeyRefresh(); return 0;
    case UWM_KEY_RENAME: OnKeyRename(); return 0;
    case UWM_KEY_SELECT_ALL: OnKeySelectAll(); return 0;
    case WM_PAINT: OnPaint(); return 0;
    case WM_ERASEBKGND: return TRUE;
    case WM_SIZE: {
        const LRESULT result = CDialog::WindowProc(message, wParam, lParam);
        LayoutControls();
        return result;
    }
    case WM_NOTIFY: {
        const auto* header = reinterpret_cast<const NMHDR*>(lParam);
        if (header != nullptr && header->code == SPN_MOVED)
            OnSplitterMoved(static_cast<UINT>(header->idFrom), reinterpret_cast<const NMSPLITTER*>(lParam)->delta);
        break;
    }
    case WM_DESTROY: OnDestroy(); break;
    default: break;
    }
    return CDialog::WindowProc(message, wParam, lParam);
}
