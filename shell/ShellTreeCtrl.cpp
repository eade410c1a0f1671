// The local folder tree over the shell namespace; see ShellTreeCtrl.h.
#include "shell/ShellTreeCtrl.h"

#include <map>
#include <vector>

#include "platform/shell/FileInfo.h"
#include "platform/shell/ShellMalloc.h"
#include "platform/window/AfxWaitCursor.h"

IMPLEMENT_DYNAMIC(CShellTreeCtrl, CUITreeCtrl)

namespace {

constexpr UINT kSmallSystemList = SHGFI_SYSICONINDEX | SHGFI_SMALLICON;

std::vector<HTREEITEM> ChildrenOf(const CTreeCtrl& tree, HTREEITEM item) {
    std::vector<HTREEITEM> children;
    for (HTREEITEM child = tree.GetChildItem(item); child != nullptr; child = tree.GetNextSiblingItem(child)) children.push_back(child);
    return children;
}

} // namespace

CShellTreeCtrl::CShellTreeCtrl(bool oleDragDrop) : CUITreeCtrl(oleDragDrop), m_desktop(ShellNamespace::Desktop()) {
    SHGetMalloc(m_malloc.Out());
}

CShellTreeCtrl::~CShellTreeCtrl() {
    // The nodes' records go with the window, before the folders they were made from.
    if (m_hWnd != nullptr && ::IsWindow(m_hWnd)) DestroyWindow();
}

ShellItemData* CShellTreeCtrl::GetShellItem(HTREEITEM item) const { return reinterpret_cast<ShellItemData*>(GetNodeData(item)); }

LPCITEMIDLIST CShellTreeCtrl::GetItemIdList(HTREEITEM item) const {
    const ShellItemData* data = GetShellItem(item);
    return data != nullptr ? data->Absolute() : nullptr;
}

std::string CShellTreeCtrl::GetItemPath(HTREEITEM item) const { return ShellNamespace::PathOf(GetItemIdList(item)); }

DWORD CShellTreeCtrl::EnumFlags() const {
    DWORD flags = SHCONTF_FOLDERS;
    if (m_settings.ShowAllObjects() && !m_settings.ShowSystemFiles()) flags |= SHCONTF_INCLUDEHIDDEN;
    return flags;
}

void CShellTreeCtrl::FreeUserData(DWORD_PTR userData) { delete reinterpret_cast<ShellItemData*>(userData); }

int CShellTreeCtrl::CompareNodes(LPARAM first, LPARAM second, LPARAM folder) {
    // The sort hands over the nodes' own records, not the data the tree keeps for us in them.
    auto data = [](LPARAM record) {
        auto* node = reinterpret_cast<CUIListCtrlData*>(record);
        return node != nullptr ? reinterpret_cast<const ShellItemData*>(node->GetExtData()) : nullptr;
    };
    const ShellItemData* left = data(first);
    const ShellItemData* right = data(second);
    if (left == nullptr || right == nullptr) return 0;
    return ShellNamespace::Compare(reinterpret_cast<IShellFolder*>(folder), 0, left->Relative(), right->Relative());
}

void CShellTreeCtrl::SortChildNodes(HTREEITEM item) {
    ShellPtr<IShellFolder> folder = GetItemFolder(item);
    TVSORTCB sort{item, &CShellTreeCtrl::CompareNodes, reinterpret_cast<LPARAM>(folder.Get())};
    SortChildrenCB(&sort);
}

ShellPtr<IShellFolder> CShellTreeCtrl::GetItemFolder(HTREEITEM item) const {
    const ShellItemData* data = GetShellItem(item);
    if (data != nullptr && data->ParentFolder() != nullptr) {
        if (ShellPtr<IShellFolder> folder = ShellNamespace::Bind(data->ParentFolder(), data->Relative())) return folder;
    }
    if (data != nullptr && data->ParentFolder() == nullptr && !ILIsEmpty(data->Absolute())) {
        if (ShellPtr<IShellFolder> folder = ShellNamespace::Bind(m_desktop.Get(), data->Absolute())) return folder;
    }
    return m_desktop;
}

HTREEITEM CShellTreeCtrl::AddChild(HTREEITEM parent, IShellFolder* folder, ShellIdList relative) {
    const ShellItemData* parentData = GetShellItem(parent);
    if (folder == nullptr || !relative) return nullptr;
    ULONG attributes = ShellNamespace::Attributes(folder, relative.Get(), kFolderMask | kLookMask | kCompressed | SFGAO_FILESYSTEM);
    std::string name = ShellNamespace::DisplayName(folder, relative.Get(), SHGDN_INFOLDER);
    auto data = std::make_unique<ShellItemData>(folder, std::move(relative), parentData != nullptr ? parentData->Absolute() : nullptr,
                                                attributes);
    int image = ShellNamespace::SmallIcon(data->Absolute(), false);
    int open = ShellNamespace::SmallIcon(data->Absolute(), true);
    int children = (attributes & SFGAO_HASSUBFOLDER) ? 1 : 0;
    HTREEITEM item = InsertNode(name.c_str(), reinterpret_cast<DWORD_PTR>(data.get()), parent, TVI_FIRST, image, open, children);
    if (item == nullptr) return nullptr;
    data.release();
    ApplyAttributeLook(item);
    return item;
}

int CShellTreeCtrl::Populate(HTREEITEM item, IShellFolder* folder) {
    int added = 0;
    ShellNamespace::Enumerate(folder, nullptr, EnumFlags(), [&](ShellIdList id) {
        if (ShellNamespace::Attributes(folder, id.Get(), kFolderMask) == 0) return;
        if (AddChild(item, folder, std::move(id)) != nullptr) ++added;
    });
    if (added > 0) SortChildNodes(item);
    return added;
}

void CShellTreeCtrl::RemoveExpandButton(HTREEITEM item) {
    TVITEMA set{};
    set.mask = TVIF_HANDLE | TVIF_CHILDREN;
    set.hItem = item;
    set.cChildren = 0;
    SetItem(&set);
}

void CShellTreeCtrl::ApplyAttributeLook(HTREEITEM item) {
    ShellItemData* data = GetShellItem(item);
    if (data == nullptr) return;
    if (IShellFolder* parent = data->ParentFolder(); parent != nullptr) {
        ULONG fresh = ShellNamespace::Attributes(parent, data->Relative(), kLookMask | kCompressed);
        data->SetAttributes((data->Attributes() & ~(kLookMask | kCompressed)) | fresh);
    }
    if (data->Has(kCompressed) && m_settings.ShowCompressedInColour()) SetNodeTextColor(item, kCompressedColor);
    else if (CUIListCtrlData* record = GetNodeRecord(item); record != nullptr && !record->IsDefaultColors()) ResetNodeTextColor(item);
    SetItemState(item, data->Has(SFGAO_GHOSTED) ? TVIS_CUT : 0, TVIS_CUT);
    UINT overlay = data->Has(SFGAO_SHARE) ? 1 : data->Has(SFGAO_LINK) ? 2 : 0;
    SetItemState(item, INDEXTOOVERLAYMASK(overlay), TVIS_OVERLAYMASK);
}

void CShellTreeCtrl::SetUpSystemImages() {
    if (m_systemImages != nullptr) return;
    SHFILEINFOA info;
    m_systemImages = reinterpret_cast<HIMAGELIST>(SHGetFileInfoA("C:\\", 0, &info, sizeof info, kSmallSystemList));
    if (m_systemImages != nullptr) SendMessage(TVM_SETIMAGELIST, TVSIL_NORMAL, reinterpret_cast<LPARAM>(m_systemImages));
}

void CShellTreeCtrl::LoadRoot(int special, const std::string& name) {
    CWaitCursor wait;
    SetUpSystemImages();
    DeleteAllItems();
    ShellIdList root;
    if (special >= 0) {
        root = ShellNamespace::SpecialFolder(special);
    } else if (!name.empty()) {
        root = ShellNamespace::Parse(m_desktop.Get(), name);
        if (root) m_rootPath = name;
    }
    if (!root) root = ShellNamespace::SpecialFolder(0);
    if (!root) return;
    SHFILEINFOA info;
    SHGetFileInfoA(reinterpret_cast<LPCSTR>(root.Get()), 0, &info, sizeof info, SHGFI_PIDL | SHGFI_DISPLAYNAME | SHGFI_ATTRIBUTES);
    std::string text = info.szDisplayName;
    auto data = std::make_unique<ShellItemData>(std::move(root), info.dwAttributes);
    int image = ShellNamespace::SmallIcon(data->Absolute(), false);
    int open = ShellNamespace::SmallIcon(data->Absolute(), true);
    HTREEITEM item = InsertNode(text.c_str(), reinterpret_cast<DWORD_PTR>(data.get()), TVI_ROOT, TVI_LAST, image, open, 1);
    if (item == nullptr) return;
    data.release();
    ShellPtr<IShellFolder> folder = GetItemFolder(item);
    if (Populate(item, folder.Get()) == 0) RemoveExpandButton(item);
    Expand(item, TVE_EXPAND);
    PostMessage(UWM_TREE_SELECT_ROOT);
}

BOOL CShellTreeCtrl::ExpandNode(HTREEITEM item) {
    if (item == nullptr || item == GetRootItem() || (GetItemState(item, TVIS_EXPANDEDONCE) & TVIS_EXPANDEDONCE)) return FALSE;
    if (GetChildItem(item) != nullptr) return FALSE;
    const ShellItemData* data = GetShellItem(item);
    ShellPtr<IShellFolder> folder = data != nullptr ? ShellNamespace::Bind(data->ParentFolder(), data->Relative()) : ShellPtr<IShellFolder>();
    if (!folder || Populate(item, folder.Get()) == 0) RemoveExpandButton(item);
    return FALSE;
}

void CShellTreeCtrl::RefreshNode(HTREEITEM item) {
    if (item == nullptr) return;
    const ShellItemData* data = GetShellItem(item);
    bool expanded = (GetItemState(item, TVIS_EXPANDED) & TVIS_EXPANDED) != 0;
    if (!expanded) {
        // Children made before a collapse would be stale; they are made again on the next expansion.
        for (HTREEITEM child : ChildrenOf(*this, item)) DeleteItem(child);
        SetItemState(item, 0, TVIS_EXPANDEDONCE);
        bool more = data == nullptr || data->ParentFolder() == nullptr ||
                    ShellNamespace::Attributes(data->ParentFolder(), data->Relative(), SFGAO_HASSUBFOLDER) != 0;
        TVITEMA set{};
        set.mask = TVIF_HANDLE | TVIF_CHILDREN;
        set.hItem = item;
        set.cChildren = more ? 1 : 0;
        SetItem(&set);
        return;
    }
    ShellPtr<IShellFolder> folder = GetItemFolder(item);
    auto before = [&folder](LPCITEMIDLIST left, LPCITEMIDLIST right) { return ShellNamespace::Compare(folder.Get(), 0, left, right) < 0; };
    std::map<LPCITEMIDLIST, HTREEITEM, decltype(before)> existing(before);
    for (HTREEITEM child : ChildrenOf(*this, item)) {
        if (const ShellItemData* childData = GetShellItem(child); childData != nullptr) existing.emplace(childData->Relative(), child);
    }
    std::vector<ShellIdList> added;
    ShellNamespace::Enumerate(folder.Get(), nullptr, EnumFlags(), [&](ShellIdList id) {
        if (ShellNamespace::Attributes(folder.Get(), id.Get(), kFolderMask) == 0) return;
        if (auto found = existing.find(id.Get()); found != existing.end()) {
            ApplyAttributeLook(found->second);
            existing.erase(found);
            return;
        }
        added.push_back(std::move(id));
    });
    for (const auto& [id, gone] : existing) DeleteItem(gone);
    for (ShellIdList& id : added) AddChild(item, folder.Get(), std::move(id));
    if (!added.empty()) SortChildNodes(item);
    for (HTREEITEM child : ChildrenOf(*this, item)) RefreshNode(child);
}

void CShellTreeCtrl::RefreshAll() {
    HTREEITEM root = GetRootItem();
    if (root == nullptr) return;
    CWaitCursor wait;
    SetRedraw(FALSE);
    RefreshNode(root);
    SetRedraw(TRUE);
    Invalidate();
}

LRESULT CShellTreeCtrl::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_DESTROY) {
        if (m_systemImages != nullptr) SendMessage(TVM_SETIMAGELIST, TVSIL_NORMAL, 0);
        m_systemImages = nullptr;
    }
    return CUITreeCtrl::WindowProc(message, wParam, lParam);
}
