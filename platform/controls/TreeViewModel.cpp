// The tree view's nodes: insertion (first, last, sorted or after a sibling), deletion with
// TVN_DELETEITEM for every node, expansion with its notifications, selection with its cause,
// sorting, and the row bookkeeping that lets rows and nodes convert without a full walk.
#include <algorithm>
#include <strings.h>

#include "platform/controls/TreeViewData.h"

namespace ostrana::detail {

TreeViewData::TreeViewData() {
    TreeNode root;
    root.used = true;
    root.state = TVIS_EXPANDED;
    root.rows = 0; // the root is no row; its count is the rows of all top-level items
    nodes.push_back(root);
}

std::shared_ptr<TreeViewData> TreeDataOf(HWND tree) {
    return WindowClassName(tree) == WC_TREEVIEWA ? ControlDataAs<TreeViewData>(tree) : nullptr;
}

HTREEITEM TreeHandle(const TreeViewData& data, int node) {
    if (node <= kRootNode || node >= static_cast<int>(data.nodes.size())) return nullptr;
    auto value = (static_cast<std::uint64_t>(data.nodes[static_cast<std::size_t>(node)].generation) << 32) |
                 static_cast<std::uint32_t>(node);
    return reinterpret_cast<HTREEITEM>(static_cast<std::uintptr_t>(value));
}

int TreeSlot(const TreeViewData& data, HTREEITEM item) {
    if (item == TVI_ROOT) return kRootNode;
    auto value = static_cast<std::uint64_t>(reinterpret_cast<std::uintptr_t>(item));
    auto slot = static_cast<std::uint32_t>(value & 0xFFFFFFFFu);
    auto generation = static_cast<std::uint32_t>(value >> 32);
    if (slot == 0 || slot >= data.nodes.size()) return kNoNode;
    const TreeNode& node = data.nodes[slot];
    return node.used && node.generation == generation ? static_cast<int>(slot) : kNoNode;
}

bool TreeExpanded(const TreeViewData& data, int node) {
    return node == kRootNode || (data.nodes[static_cast<std::size_t>(node)].state & TVIS_EXPANDED) != 0;
}

namespace {

TreeNode& At(TreeViewData& data, int node) { return data.nodes[static_cast<std::size_t>(node)]; }
const TreeNode& At(const TreeViewData& data, int node) { return data.nodes[static_cast<std::size_t>(node)]; }

// A node's row count changed by `delta`: the ancestors that show it change with it.
void Propagate(TreeViewData& data, int node, int delta) {
    if (delta == 0) return;
    for (int parent = At(data, node).parent; parent != kNoNode; parent = At(data, parent).parent) {
        if (!TreeExpanded(data, parent)) return;
        At(data, parent).rows += delta;
        if (parent == kRootNode) return;
    }
}

int ChildRows(const TreeViewData& data, int node) {
    int rows = 0;
    for (int child = At(data, node).first; child != kNoNode; child = At(data, child).next) rows += At(data, child).rows;
    return rows;
}

void SetRows(TreeViewData& data, int node, int rows) {
    int delta = rows - At(data, node).rows;
    At(data, node).rows = rows;
    Propagate(data, node, delta);
}

int Allocate(TreeViewData& data) {
    int slot;
    if (!data.freeSlots.empty()) {
        slot = data.freeSlots.back();
        data.freeSlots.pop_back();
    } else {
        slot = static_cast<int>(data.nodes.size());
        data.nodes.emplace_back();
    }
    TreeNode& node = At(data, slot);
    node = TreeNode{};
    node.used = true;
    node.generation = data.nextGeneration++;
    if (data.nextGeneration >= 0x7FFFFFFFu) data.nextGeneration = 1;
    return slot;
}

void Link(TreeViewData& data, int node, int parent, int after) {
    TreeNode& entry = At(data, node);
    TreeNode& owner = At(data, parent);
    entry.parent = parent;
    entry.previous = after;
    entry.next = after == kNoNode ? owner.first : At(data, after).next;
    if (entry.previous != kNoNode) At(data, entry.previous).next = node;
    else owner.first = node;
    if (entry.next != kNoNode) At(data, entry.next).previous = node;
    else owner.last = node;
}

void Unlink(TreeViewData& data, int node) {
    TreeNode& entry = At(data, node);
    TreeNode& owner = At(data, entry.parent);
    if (entry.previous != kNoNode) At(data, entry.previous).next = entry.next;
    else owner.first = entry.next;
    if (entry.next != kNoNode) At(data, entry.next).previous = entry.previous;
    else owner.last = entry.previous;
    entry.next = entry.previous = kNoNode;
}

std::string SortKey(HWND tree, const TreeViewData& data, int node) { return TreeText(tree, data, node); }

LRESULT NotifyTree(HWND tree, UINT code, UINT action, const TreeViewData& data, int oldNode, int newNode, POINT point = {}) {
    NMTREEVIEWA record{};
    record.action = action;
    if (oldNode > kRootNode) TreeFillItem(data, oldNode, record.itemOld);
    if (newNode > kRootNode) TreeFillItem(data, newNode, record.itemNew);
    record.ptDrag = point;
    return SendNotify(tree, code, &record.hdr);
}

bool InSubtree(const TreeViewData& data, int node, int root) {
    for (int at = node; at != kNoNode; at = At(data, at).parent) {
        if (at == root) return true;
    }
    return false;
}

} // namespace

void TreeFillItem(const TreeViewData& data, int node, TVITEMA& item) {
    const TreeNode& entry = At(data, node);
    item.mask = TVIF_HANDLE | TVIF_STATE | TVIF_PARAM | TVIF_IMAGE | TVIF_SELECTEDIMAGE;
    item.hItem = TreeHandle(data, node);
    item.state = TreeState(data, node, ~0u);
    item.stateMask = ~0u;
    item.lParam = entry.param;
    item.iImage = entry.image;
    item.iSelectedImage = entry.selectedImage;
}

bool TreeHasChildren(HWND tree, const TreeViewData& data, int node) {
    const TreeNode& entry = At(data, node);
    if (entry.first != kNoNode) return true;
    if (!entry.childrenSet) return false;
    if (entry.children != I_CHILDRENCALLBACK) return entry.children != 0;
    NMTVDISPINFOA record{};
    record.item.mask = TVIF_CHILDREN;
    record.item.hItem = TreeHandle(data, node);
    record.item.lParam = entry.param;
    SendNotify(tree, TVN_GETDISPINFOA, &record.hdr);
    return record.item.cChildren != 0;
}

bool TreeShown(const TreeViewData& data, int node) {
    if (node <= kRootNode) return false;
    for (int parent = At(data, node).parent; parent != kRootNode; parent = At(data, parent).parent) {
        if (parent == kNoNode || !TreeExpanded(data, parent)) return false;
    }
    return true;
}

int TreeLevel(const TreeViewData& data, int node) {
    int level = 0;
    for (int parent = At(data, node).parent; parent != kRootNode && parent != kNoNode; parent = At(data, parent).parent) ++level;
    return level;
}

int TreeNextVisible(const TreeViewData& data, int node) {
    if (node <= kRootNode) return kNoNode;
    if (TreeExpanded(data, node) && At(data, node).first != kNoNode) return At(data, node).first;
    for (int at = node; at != kRootNode && at != kNoNode; at = At(data, at).parent) {
        if (At(data, at).next != kNoNode) return At(data, at).next;
    }
    return kNoNode;
}

int TreePreviousVisible(const TreeViewData& data, int node) {
    if (node <= kRootNode) return kNoNode;
    int previous = At(data, node).previous;
    if (previous == kNoNode) {
        int parent = At(data, node).parent;
        return parent == kRootNode ? kNoNode : parent;
    }
    while (TreeExpanded(data, previous) && At(data, previous).last != kNoNode) previous = At(data, previous).last;
    return previous;
}

int TreeLastVisible(const TreeViewData& data) {
    int node = At(data, kRootNode).last;
    if (node == kNoNode) return kNoNode;
    while (TreeExpanded(data, node) && At(data, node).last != kNoNode) node = At(data, node).last;
    return node;
}

int TreeTotalRows(const TreeViewData& data) { return At(data, kRootNode).rows; }

int TreeRowOf(const TreeViewData& data, int node) {
    int row = 0;
    for (int at = node; at != kRootNode; at = At(data, at).parent) {
        for (int sibling = At(data, at).previous; sibling != kNoNode; sibling = At(data, sibling).previous) row += At(data, sibling).rows;
        if (At(data, at).parent != kRootNode) row += 1;
    }
    return row;
}

int TreeNodeAtRow(const TreeViewData& data, int row) {
    if (row < 0) return kNoNode;
    int node = At(data, kRootNode).first;
    while (node != kNoNode) {
        const TreeNode& entry = At(data, node);
        if (row < entry.rows) {
            if (row == 0) return node;
            row -= 1;
            node = entry.first;
        } else {
            row -= entry.rows;
            node = entry.next;
        }
    }
    return kNoNode;
}

std::string TreeText(HWND tree, const TreeViewData& data, int node) {
    if (node <= kRootNode) return {};
    const TreeNode& entry = At(data, node);
    if (!entry.callbackText) return entry.text;
    char buffer[MAX_PATH + 1] = {};
    NMTVDISPINFOA record{};
    record.item.mask = TVIF_TEXT;
    record.item.hItem = TreeHandle(data, node);
    record.item.pszText = buffer;
    record.item.cchTextMax = static_cast<int>(sizeof buffer);
    record.item.lParam = entry.param;
    SendNotify(tree, TVN_GETDISPINFOA, &record.hdr);
    return record.item.pszText != nullptr && record.item.pszText != LPSTR_TEXTCALLBACKA ? record.item.pszText : "";
}

int TreeImage(HWND tree, const TreeViewData& data, int node, bool selected) {
    const TreeNode& entry = At(data, node);
    int image = selected ? entry.selectedImage : entry.image;
    if (image != I_IMAGECALLBACK) return image;
    NMTVDISPINFOA record{};
    record.item.mask = selected ? TVIF_SELECTEDIMAGE : TVIF_IMAGE;
    record.item.hItem = TreeHandle(data, node);
    record.item.lParam = entry.param;
    SendNotify(tree, TVN_GETDISPINFOA, &record.hdr);
    return selected ? record.item.iSelectedImage : record.item.iImage;
}

UINT TreeState(const TreeViewData& data, int node, UINT mask) {
    if (node <= kRootNode) return 0;
    UINT state = At(data, node).state;
    if (node == data.selected) state |= TVIS_SELECTED;
    if (node == data.dropHighlight) state |= TVIS_DROPHILITED;
    return state & mask;
}

void TreeStructureChanged(HWND tree, TreeViewData& data) {
    data.topStale = true;
    Repaint(tree);
}

int TreeInsert(HWND tree, TreeViewData& data, const TVINSERTSTRUCTA& insert) {
    int parent = insert.hParent == nullptr ? kRootNode : TreeSlot(data, insert.hParent);
    if (parent == kNoNode) return kNoNode;
    int after = At(data, parent).last;
    if (insert.hInsertAfter == TVI_FIRST) {
        after = kNoNode;
    } else if (insert.hInsertAfter == TVI_SORT) {
        std::string key = insert.item.mask & TVIF_TEXT && insert.item.pszText != nullptr && insert.item.pszText != LPSTR_TEXTCALLBACKA
                              ? insert.item.pszText
                              : "";
        after = kNoNode;
        for (int child = At(data, parent).first; child != kNoNode; child = At(data, child).next) {
            if (::strcasecmp(SortKey(tree, data, child).c_str(), key.c_str()) > 0) break;
            after = child;
        }
    } else if (insert.hInsertAfter != TVI_LAST && insert.hInsertAfter != nullptr) {
        int sibling = TreeSlot(data, insert.hInsertAfter);
        if (sibling > kRootNode && At(data, sibling).parent == parent) after = sibling;
    }
    int node = Allocate(data);
    TreeNode& entry = At(data, node);
    const TVITEMA& item = insert.item;
    if (item.mask & TVIF_TEXT) {
        entry.callbackText = item.pszText == LPSTR_TEXTCALLBACKA;
        if (!entry.callbackText && item.pszText != nullptr) entry.text = item.pszText;
    }
    if (item.mask & TVIF_IMAGE) entry.image = item.iImage;
    if (item.mask & TVIF_SELECTEDIMAGE) entry.selectedImage = item.iSelectedImage;
    if (item.mask & TVIF_PARAM) entry.param = item.lParam;
    if (item.mask & TVIF_CHILDREN) {
        entry.children = item.cChildren;
        entry.childrenSet = true;
    }
    if (item.mask & TVIF_STATE) entry.state = item.state & item.stateMask & ~static_cast<UINT>(TVIS_SELECTED | TVIS_DROPHILITED | TVIS_EXPANDED);
    Link(data, node, parent, after);
    ++data.count;
    Propagate(data, node, 1);
    TreeStructureChanged(tree, data);
    return node;
}

namespace {

void Release(TreeViewData& data, int node) {
    TreeNode& entry = At(data, node);
    entry.used = false;
    entry.text.clear();
    entry.text.shrink_to_fit();
    data.freeSlots.push_back(node);
    --data.count;
}

// Children first, then the node itself, each announced before it goes.
void DeleteSubtree(HWND tree, TreeViewData& data, int node) {
    while (At(data, node).first != kNoNode) {
        int child = At(data, node).first;
        DeleteSubtree(tree, data, child);
    }
    NotifyTree(tree, TVN_DELETEITEMA, 0, data, node, kNoNode);
    if (data.dropHighlight == node) data.dropHighlight = kNoNode;
    if (data.top == node) data.top = kNoNode;
    if (data.mouseNode == node) data.mouseNode = kNoNode;
    int parent = At(data, node).parent;
    if (TreeExpanded(data, parent)) Propagate(data, node, -At(data, node).rows);
    Unlink(data, node);
    Release(data, node);
}

} // namespace

bool TreeDelete(HWND tree, TreeViewData& data, int node) {
    if (node == kNoNode) return false;
    if (data.edit != nullptr && InSubtree(data, data.editNode, node)) TreeEndEdit(tree, data, false);
    if (node == kRootNode) {
        data.selected = kNoNode;
        while (At(data, kRootNode).first != kNoNode) DeleteSubtree(tree, data, At(data, kRootNode).first);
        data.top = kNoNode;
        data.topRow = 0;
        TreeStructureChanged(tree, data);
        return true;
    }
    int replacement = kNoNode;
    bool selectionGoes = data.selected != kNoNode && InSubtree(data, data.selected, node);
    if (selectionGoes) {
        const TreeNode& entry = At(data, node);
        replacement = entry.next != kNoNode ? entry.next : entry.previous != kNoNode ? entry.previous
                                                         : (entry.parent != kRootNode ? entry.parent : kNoNode);
        data.selected = kNoNode;
    }
    DeleteSubtree(tree, data, node);
    TreeStructureChanged(tree, data);
    if (selectionGoes && replacement != kNoNode) TreeSelect(tree, data, replacement, TVC_UNKNOWN);
    return true;
}

void TreeSetExpandedState(TreeViewData& data, int node, bool expanded) {
    if (expanded == TreeExpanded(data, node)) return;
    if (expanded) {
        At(data, node).state |= TVIS_EXPANDED;
        SetRows(data, node, 1 + ChildRows(data, node));
    } else {
        At(data, node).state &= ~static_cast<UINT>(TVIS_EXPANDED);
        SetRows(data, node, 1);
    }
}

bool TreeExpand(HWND tree, TreeViewData& data, int node, UINT code, bool byUser) {
    if (node <= kRootNode) return false;
    UINT action = code & TVE_ACTIONMASK;
    bool expanded = TreeExpanded(data, node);
    if (action == TVE_TOGGLE) action = expanded ? TVE_COLLAPSE : TVE_EXPAND;
    if (action == TVE_EXPAND && expanded) return true;
    if (action == TVE_COLLAPSE && !expanded && !(code & TVE_COLLAPSERESET)) return true;
    if (action == TVE_EXPAND && !TreeHasChildren(tree, data, node)) return false;
    bool announce = byUser || !(At(data, node).state & TVIS_EXPANDEDONCE);
    if (announce && NotifyTree(tree, TVN_ITEMEXPANDINGA, action, data, kNoNode, node) != 0) return false;
    if (TreeSlot(data, TreeHandle(data, node)) == kNoNode) return false; // deleted by the handler
    if (action == TVE_EXPAND) {
        At(data, node).state |= TVIS_EXPANDEDONCE;
        TreeSetExpandedState(data, node, true);
    } else {
        if (data.selected != kNoNode && data.selected != node && InSubtree(data, data.selected, node)) {
            TreeSelect(tree, data, node, TVC_UNKNOWN);
        }
        TreeSetExpandedState(data, node, false);
        if (code & TVE_COLLAPSERESET) {
            while (At(data, node).first != kNoNode) DeleteSubtree(tree, data, At(data, node).first);
            At(data, node).state &= ~static_cast<UINT>(TVIS_EXPANDEDONCE);
        }
    }
    TreeStructureChanged(tree, data);
    if (announce) NotifyTree(tree, TVN_ITEMEXPANDEDA, action, data, kNoNode, node);
    return true;
}

bool TreeSelect(HWND tree, TreeViewData& data, int node, UINT cause) {
    if (node == data.selected) return true;
    int old = data.selected;
    if (NotifyTree(tree, TVN_SELCHANGINGA, cause, data, old, node) != 0) return false;
    if (node != kNoNode && TreeSlot(data, TreeHandle(data, node)) == kNoNode) return false;
    // The new selection is shown: its ancestors open, as the user would have had to.
    if (node > kRootNode) {
        std::vector<int> ancestors;
        for (int parent = At(data, node).parent; parent > kRootNode; parent = At(data, parent).parent) ancestors.push_back(parent);
        for (auto it = ancestors.rbegin(); it != ancestors.rend(); ++it) TreeExpand(tree, data, *it, TVE_EXPAND, false);
    }
    data.selected = node;
    Repaint(tree);
    if (node > kRootNode) TreeEnsureVisible(tree, data, node);
    NotifyTree(tree, TVN_SELCHANGEDA, cause, data, old, node);
    DWORD style = static_cast<DWORD>(GetWindowLongPtrA(tree, GWL_STYLE));
    if ((style & TVS_SINGLEEXPAND) && cause == TVC_BYMOUSE && node > kRootNode && data.selected == node) {
        if (old > kRootNode && TreeSlot(data, TreeHandle(data, old)) != kNoNode && !InSubtree(data, node, old)) {
            TreeExpand(tree, data, old, TVE_COLLAPSE, true);
        }
        TreeExpand(tree, data, node, TVE_EXPAND, true);
    }
    return true;
}

bool TreeSortChildren(HWND tree, TreeViewData& data, int parent, bool recurse, PFNTVCOMPARE compare, LPARAM parameter) {
    if (parent == kNoNode) return false;
    std::vector<int> children;
    for (int child = At(data, parent).first; child != kNoNode; child = At(data, child).next) children.push_back(child);
    if (compare != nullptr) {
        std::stable_sort(children.begin(), children.end(), [&](int left, int right) {
            return compare(At(data, left).param, At(data, right).param, parameter) < 0;
        });
    } else {
        std::stable_sort(children.begin(), children.end(), [&](int left, int right) {
            return ::strcasecmp(SortKey(tree, data, left).c_str(), SortKey(tree, data, right).c_str()) < 0;
        });
    }
    At(data, parent).first = At(data, parent).last = kNoNode;
    int after = kNoNode;
    for (int child : children) {
        Link(data, child, parent, after);
        after = child;
    }
    if (recurse) {
        for (int child : children) TreeSortChildren(tree, data, child, true, compare, parameter);
    }
    TreeStructureChanged(tree, data);
    return true;
}

} // namespace ostrana::detail
