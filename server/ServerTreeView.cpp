// The server tree pane; see ServerTreeView.h.
#include "server/ServerTreeView.h"

#include <algorithm>
#include <cstdio>

#include "mainwnd/SettingsStore.h"
#include "misc/ReportBox.h"
#include "platform/shell/FileInfo.h"
#include "res/Resources.h"
#include "server/ServerListCtrl.h"
#include "session/ServerSession.h"

IMPLEMENT_DYNCREATE(CServerTreeView, CUITreeView)

namespace {

constexpr UINT kServerHomeString = 21;
constexpr UINT kHtmlString = 22;
constexpr UINT kFilterString = 23;
constexpr UINT kMyHtmlString = 24;
constexpr UINT kMyFolderString = 25;
constexpr UINT kTreeIcons[] = {223, 232, 235};
constexpr int kNodeHeight = 18;

} // namespace

CServerTreeView::CServerTreeView(ServerSession* session) : m_pSession(session) {}

CServerTreeView::~CServerTreeView() {
    if (m_hWnd != nullptr && ::IsWindow(m_hWnd)) DestroyWindow();
}

CServerTreeCtrl* CServerTreeView::GetServerTree() const { return static_cast<CServerTreeCtrl*>(GetTreeCtrl()); }

std::unique_ptr<CUITreeCtrl> CServerTreeView::MakeTreeCtrl() {
    auto tree = std::make_unique<CServerTreeCtrl>(m_pSession);
    tree->SetOwnerView(this);
    return tree;
}

DWORD CServerTreeView::GetTreeStyle() const { return CUITreeView::GetTreeStyle() | TVS_EDITLABELS; }

void CServerTreeView::OnInitialUpdate() {
    CUITreeView::OnInitialUpdate();
    CServerTreeCtrl* tree = GetServerTree();
    if (tree == nullptr) return;
    tree->ModifyStyle(0, TVS_EDITLABELS);
    SHFILEINFOA info;
    auto images = reinterpret_cast<HIMAGELIST>(SHGetFileInfoA("C:\\", 0, &info, sizeof info, SHGFI_SYSICONINDEX | SHGFI_SMALLICON));
    if (images != nullptr) {
        tree->SetImageBase(ImageList_GetImageCount(images));
        for (UINT id : kTreeIcons) ImageList_AddIcon(images, LoadIconA(AfxGetResourceHandle(), MAKEINTRESOURCEA(id)));
        tree->SendMessage(TVM_SETIMAGELIST, TVSIL_NORMAL, reinterpret_cast<LPARAM>(images));
    }
    tree->SendMessage(TVM_SETITEMHEIGHT, kNodeHeight);
    tree->DragAcceptFiles(TRUE);
}

void CServerTreeView::InitRoots(CServerListCtrl* list, bool myFolderListed, bool myHtmlListed, int accountKind) {
    CServerTreeCtrl* tree = GetServerTree();
    if (tree == nullptr) return;
    tree->SetServerList(list);
    // Built once per login; a second call starts from an empty tree.
    tree->DeleteAllItems();
    m_registered.clear();
    ServerSession& session = m_pSession != nullptr ? *m_pSession : TheServerSession();
    int base = tree->GetImageBase();
    m_hServerHome = tree->InsertNode(LoadAndFormat(kServerHomeString, session.Host().c_str()).c_str(), 0, TVI_ROOT, TVI_LAST, base, base);
    m_hHtml = m_hFilter = m_hMyHtml = m_hMyFolder = nullptr;
    auto root = [&](UINT label, const char* path) {
        return tree->AppendFolderNode(m_hServerHome, LoadResourceString(label), path, base + 1);
    };
    if (accountKind == kFullAccountKind) {
        m_hHtml = root(kHtmlString, "html/");
        m_hFilter = root(kFilterString, "filter/");
    }
    if (myHtmlListed) m_hMyHtml = root(kMyHtmlString, "myhtml/");
    if (myFolderListed) m_hMyFolder = root(kMyFolderString, "myfolder/");
    LoadRegisteredFolders(tree);
    tree->Expand(m_hServerHome, TVE_EXPAND);
    for (HTREEITEM first : {m_hMyFolder, m_hHtml, m_hMyHtml}) {
        if (first != nullptr) {
            tree->SelectItem(first);
            break;
        }
    }
}

bool CServerTreeView::IsRegisteredFolder(HTREEITEM item) const {
    return item != nullptr && std::find(m_registered.begin(), m_registered.end(), item) != m_registered.end();
}

bool CServerTreeView::IsRootNode(HTREEITEM item, bool fixedOnly) const {
    if (item == nullptr) return false;
    for (HTREEITEM fixed : {m_hServerHome, m_hHtml, m_hFilter, m_hMyHtml, m_hMyFolder}) {
        if (item == fixed) return true;
    }
    return !fixedOnly && IsRegisteredFolder(item);
}

void CServerTreeView::RemoveRegisteredFolder(HTREEITEM item) {
    if (auto at = std::find(m_registered.begin(), m_registered.end(), item); at != m_registered.end()) m_registered.erase(at);
}

std::string CServerTreeView::RegisteredKeyPath() const {
    ServerSession& session = m_pSession != nullptr ? *m_pSession : TheServerSession();
    return session.Host() + "\\PrivateFolder";
}

std::string CServerTreeView::RegisteredValuePath(int number) const {
    char name[32];
    std::snprintf(name, sizeof name, "\\RootFolders%02d", number);
    return RegisteredKeyPath() + name;
}

void CServerTreeView::LoadRegisteredFolders(CServerTreeCtrl* tree) {
    if (tree == nullptr) return;
    for (int number = 1; number <= kMaxRegisteredFolders; ++number) {
        std::string path;
        if (!GetSettingText(RegisteredValuePath(number).c_str(), path)) break;
        if (HTREEITEM item = tree->AppendFolderNode(m_hServerHome, path, path, tree->GetImageBase() + 1); item != nullptr) {
            m_registered.push_back(item);
        }
    }
}

void CServerTreeView::SaveRegisteredFolders() {
    CServerTreeCtrl* tree = GetServerTree();
    if (tree == nullptr || tree->GetSafeHwnd() == nullptr) return;
    DeleteSetting(RegisteredKeyPath().c_str());
    int number = 0;
    for (HTREEITEM item : m_registered) {
        if (item == nullptr) continue;
        SetSettingText(RegisteredValuePath(++number).c_str(), tree->GetItemText(item));
    }
}

HTREEITEM CServerTreeView::AddRootFolder(const std::string& path) {
    CServerTreeCtrl* tree = GetServerTree();
    if (tree == nullptr || m_hServerHome == nullptr) return nullptr;
    HTREEITEM item = tree->AppendFolderNode(m_hServerHome, path, path, tree->GetImageBase() + 1);
    if (item != nullptr) m_registered.push_back(item);
    return item;
}

LRESULT CServerTreeView::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_DESTROY) {
        SaveRegisteredFolders();
        if (CServerTreeCtrl* tree = GetServerTree(); tree != nullptr && tree->GetSafeHwnd() != nullptr) {
            tree->SendMessage(TVM_SETIMAGELIST, TVSIL_NORMAL, 0);
        }
    }
    return CUITreeView::WindowProc(message, wParam, lParam);
}
