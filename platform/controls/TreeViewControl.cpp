// The tree view's window procedure: the TVM_ messages over the node model, its layout and
// label editing.
#include <algorithm>
#include <cstring>

#include "platform/controls/TreeViewData.h"
#include "platform/window/Cursor.h"

namespace ostrana::detail {
namespace {

LRESULT ToHandle(const TreeViewData& data, int node) { return reinterpret_cast<LRESULT>(TreeHandle(data, node)); }

LRESULT GetItem(HWND tree, TreeViewData& data, TVITEMA* item) {
    if (item == nullptr) return FALSE;
    int node = TreeSlot(data, item->hItem);
    if (node <= kRootNode) return FALSE;
    const TreeNode& entry = data.nodes[static_cast<std::size_t>(node)];
    if (item->mask & TVIF_TEXT) CopyToBuffer(TreeText(tree, data, node), item->pszText, item->cchTextMax);
    if (item->mask & TVIF_IMAGE) item->iImage = entry.image;
    if (item->mask & TVIF_SELECTEDIMAGE) item->iSelectedImage = entry.selectedImage;
    if (item->mask & TVIF_STATE) item->state = TreeState(data, node, item->stateMask);
    if (item->mask & TVIF_PARAM) item->lParam = entry.param;
    if (item->mask & TVIF_CHILDREN) item->cChildren = entry.childrenSet ? entry.children : (entry.first != kNoNode ? 1 : 0);
    return TRUE;
}

LRESULT SetItem(HWND tree, TreeViewData& data, const TVITEMA* item) {
    if (item == nullptr) return FALSE;
    int node = TreeSlot(data, item->hItem);
    if (node <= kRootNode) return FALSE;
    TreeNode& entry = data.nodes[static_cast<std::size_t>(node)];
    if (item->mask & TVIF_TEXT) {
        entry.callbackText = item->pszText == LPSTR_TEXTCALLBACKA;
        entry.text = !entry.callbackText && item->pszText != nullptr ? item->pszText : "";
    }
    if (item->mask & TVIF_IMAGE) entry.image = item->iImage;
    if (item->mask & TVIF_SELECTEDIMAGE) entry.selectedImage = item->iSelectedImage;
    if (item->mask & TVIF_PARAM) entry.param = item->lParam;
    if (item->mask & TVIF_CHILDREN) {
        entry.children = item->cChildren;
        entry.childrenSet = true;
    }
    if (item->mask & TVIF_STATE) {
        UINT mask = item->stateMask;
        // Set directly, without notifications, as the message does.
        if (mask & TVIS_EXPANDED) TreeSetExpandedState(data, node, (item->state & TVIS_EXPANDED) != 0);
        if (mask & TVIS_DROPHILITED) {
            if (item->state & TVIS_DROPHILITED) data.dropHighlight = node;
            else if (data.dropHighlight == node) data.dropHighlight = kNoNode;
        }
        UINT stored = mask & ~static_cast<UINT>(TVIS_SELECTED | TVIS_DROPHILITED | TVIS_EXPANDED);
        entry.state = (entry.state & ~stored) | (item->state & stored);
    }
    TreeStructureChanged(tree, data);
    return TRUE;
}

LRESULT NextItem(HWND tree, TreeViewData& data, WPARAM code, HTREEITEM item) {
    int node = item == nullptr ? kNoNode : TreeSlot(data, item);
    auto entry = [&](int at) -> const TreeNode& { return data.nodes[static_cast<std::size_t>(at)]; };
    switch (code) {
    case TVGN_ROOT: return ToHandle(data, entry(kRootNode).first);
    case TVGN_CARET: return ToHandle(data, data.selected);
    case TVGN_DROPHILITE: return ToHandle(data, data.dropHighlight);
    case TVGN_FIRSTVISIBLE: TreeSettleTop(tree, data); return ToHandle(data, data.top);
    case TVGN_LASTVISIBLE: return ToHandle(data, TreeLastVisible(data));
    default: break;
    }
    if (code == TVGN_CHILD && (item == nullptr || item == TVI_ROOT)) return ToHandle(data, entry(kRootNode).first);
    if (node <= kRootNode) return 0;
    switch (code) {
    case TVGN_NEXT: return ToHandle(data, entry(node).next);
    case TVGN_PREVIOUS: return ToHandle(data, entry(node).previous);
    case TVGN_PARENT: return ToHandle(data, entry(node).parent);
    case TVGN_CHILD: return ToHandle(data, entry(node).first);
    case TVGN_NEXTVISIBLE: return TreeShown(data, node) ? ToHandle(data, TreeNextVisible(data, node)) : 0;
    case TVGN_PREVIOUSVISIBLE: return TreeShown(data, node) ? ToHandle(data, TreePreviousVisible(data, node)) : 0;
    default: return 0;
    }
}

LRESULT SelectItem(HWND tree, TreeViewData& data, WPARAM code, HTREEITEM item) {
    int node = item == nullptr ? kNoNode : TreeSlot(data, item);
    if (item != nullptr && node <= kRootNode) return FALSE;
    switch (code) {
    case TVGN_CARET: return TreeSelect(tree, data, node, TVC_UNKNOWN);
    case TVGN_DROPHILITE:
        if (data.dropHighlight != node) {
            data.dropHighlight = node;
            Repaint(tree);
        }
        return TRUE;
    case TVGN_FIRSTVISIBLE:
        if (node == kNoNode || !TreeShown(data, node)) return FALSE;
        TreeSettleTop(tree, data);
        TreeScrollToRow(tree, data, TreeRowOf(data, node));
        return TRUE;
    default: return FALSE;
    }
}

LRESULT ItemRect(HWND tree, TreeViewData& data, BOOL textOnly, RECT* rect) {
    if (rect == nullptr) return FALSE;
    HTREEITEM item = nullptr;
    std::memcpy(&item, rect, sizeof item); // the caller passes the item in the rectangle
    int node = TreeSlot(data, item);
    if (node <= kRootNode || !TreeShown(data, node)) return FALSE;
    TreeSettleTop(tree, data);
    int row = TreeRowOf(data, node);
    RECT label = TreeLabelRect(tree, data, node, row);
    if (textOnly) {
        *rect = label;
    } else {
        RECT client;
        GetClientRect(tree, &client);
        *rect = RECT{0, label.top, client.right, label.bottom};
    }
    return TRUE;
}

LRESULT CreateDragImage(HWND tree, TreeViewData& data, HTREEITEM item) {
    int node = TreeSlot(data, item);
    if (node <= kRootNode) return 0;
    std::string text = TreeText(tree, data, node);
    int imageWidth = 0, imageHeight = 0;
    std::string image;
    if (data.normalImages != nullptr) {
        ImageList_GetIconSize(data.normalImages, &imageWidth, &imageHeight);
        image = ImageListEntry(data.normalImages, TreeImage(tree, data, node, false));
    }
    int width = imageWidth + 3 + TextWidth(MetricOf(ControlFont(data.font)), text) + 4;
    HIMAGELIST list = ImageList_Create(width, TreeItemHeight(data), ILC_MASK, 1, 0);
    ImageListAddEntry(list, "drag " + (image.empty() ? std::string() : "[" + image + "] ") + text);
    return reinterpret_cast<LRESULT>(list);
}

LRESULT TreeMessage(HWND tree, TreeViewData& data, UINT message, WPARAM wParam, LPARAM lParam) {
    auto item = reinterpret_cast<HTREEITEM>(lParam);
    switch (message) {
    case TVM_INSERTITEMA: {
        auto* insert = reinterpret_cast<const TVINSERTSTRUCTA*>(lParam);
        return insert != nullptr ? ToHandle(data, TreeInsert(tree, data, *insert)) : 0;
    }
    case TVM_DELETEITEM: return TreeDelete(tree, data, item == nullptr ? kRootNode : TreeSlot(data, item));
    case TVM_EXPAND: return TreeExpand(tree, data, TreeSlot(data, item), static_cast<UINT>(wParam), false);
    case TVM_GETITEMA: return GetItem(tree, data, reinterpret_cast<TVITEMA*>(lParam));
    case TVM_SETITEMA: return SetItem(tree, data, reinterpret_cast<const TVITEMA*>(lParam));
    case TVM_GETITEMSTATE: return TreeState(data, TreeSlot(data, reinterpret_cast<HTREEITEM>(wParam)), static_cast<UINT>(lParam));
    case TVM_GETNEXTITEM: return NextItem(tree, data, wParam, item);
    case TVM_SELECTITEM: return SelectItem(tree, data, wParam, item);
    case TVM_GETCOUNT: return data.count;
    case TVM_GETVISIBLECOUNT: return TreeVisibleRows(tree, data);
    case TVM_GETITEMRECT: return ItemRect(tree, data, static_cast<BOOL>(wParam), reinterpret_cast<RECT*>(lParam));
    case TVM_HITTEST: {
        auto* info = reinterpret_cast<TVHITTESTINFO*>(lParam);
        if (info == nullptr) return 0;
        info->hItem = TreeHandle(data, TreeHitTest(tree, data, info->pt, info->flags));
        return reinterpret_cast<LRESULT>(info->hItem);
    }
    case TVM_ENSUREVISIBLE: {
        int node = TreeSlot(data, item);
        if (node <= kRootNode) return FALSE;
        std::vector<int> ancestors;
        for (int parent = data.nodes[static_cast<std::size_t>(node)].parent; parent > kRootNode;
             parent = data.nodes[static_cast<std::size_t>(parent)].parent) {
            ancestors.push_back(parent);
        }
        for (auto it = ancestors.rbegin(); it != ancestors.rend(); ++it) TreeExpand(tree, data, *it, TVE_EXPAND, false);
        TreeEnsureVisible(tree, data, node);
        return TRUE;
    }
    case TVM_EDITLABELA: return reinterpret_cast<LRESULT>(TreeEditLabel(tree, data, TreeSlot(data, item)));
    case TVM_GETEDITCONTROL: return reinterpret_cast<LRESULT>(data.edit);
    case TVM_ENDEDITLABELNOW: TreeEndEdit(tree, data, wParam == 0); return TRUE;
    case TVM_SORTCHILDREN: return TreeSortChildren(tree, data, item == nullptr ? kRootNode : TreeSlot(data, item), wParam != 0, nullptr, 0);
    case TVM_SORTCHILDRENCB: {
        auto* sort = reinterpret_cast<const TVSORTCB*>(lParam);
        if (sort == nullptr) return FALSE;
        int parent = sort->hParent == nullptr ? kRootNode : TreeSlot(data, sort->hParent);
        return TreeSortChildren(tree, data, parent, wParam != 0, sort->lpfnCompare, sort->lParam);
    }
    case TVM_CREATEDRAGIMAGE: return CreateDragImage(tree, data, item);
    case TVM_SETIMAGELIST: {
        HIMAGELIST* slot = wParam == TVSIL_STATE ? &data.stateImages : &data.normalImages;
        HIMAGELIST previous = *slot;
        *slot = reinterpret_cast<HIMAGELIST>(lParam);
        TreeStructureChanged(tree, data);
        return reinterpret_cast<LRESULT>(previous);
    }
    case TVM_GETIMAGELIST: return reinterpret_cast<LRESULT>(wParam == TVSIL_STATE ? data.stateImages : data.normalImages);
    case TVM_GETINDENT: return data.indent;
    case TVM_SETINDENT: data.indent = std::max(static_cast<int>(wParam), 8); Repaint(tree); return 0;
    case TVM_GETITEMHEIGHT: return TreeItemHeight(data);
    case TVM_SETITEMHEIGHT: {
        int previous = TreeItemHeight(data);
        data.itemHeight = static_cast<int>(static_cast<short>(LOWORD(wParam))) == -1 ? 0 : static_cast<int>(wParam);
        TreeStructureChanged(tree, data);
        return previous;
    }
    case TVM_SETBKCOLOR: {
        COLORREF previous = data.background;
        data.background = static_cast<COLORREF>(lParam);
        Repaint(tree);
        return static_cast<LRESULT>(previous == CLR_NONE ? static_cast<COLORREF>(-1) : previous);
    }
    case TVM_GETBKCOLOR: return static_cast<LRESULT>(data.background == CLR_NONE ? static_cast<COLORREF>(-1) : data.background);
    case TVM_SETTEXTCOLOR: {
        COLORREF previous = data.text;
        data.text = static_cast<COLORREF>(lParam);
        Repaint(tree);
        return static_cast<LRESULT>(previous == CLR_NONE ? static_cast<COLORREF>(-1) : previous);
    }
    case TVM_GETTEXTCOLOR: return static_cast<LRESULT>(data.text == CLR_NONE ? static_cast<COLORREF>(-1) : data.text);
    default: return DefWindowProcA(tree, message, wParam, lParam);
    }
}

LRESULT TreeProcedure(HWND tree, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        SetControlData(tree, std::make_shared<TreeViewData>());
        return DefWindowProcA(tree, message, wParam, lParam);
    }
    auto data = TreeDataOf(tree);
    if (!data) return DefWindowProcA(tree, message, wParam, lParam);
    LRESULT result = 0;
    if (TreeInputMessage(tree, *data, message, wParam, lParam, result)) return result;
    switch (message) {
    case WM_DESTROY:
        if (data->edit != nullptr) TreeEndEdit(tree, *data, false);
        TreeDelete(tree, *data, kRootNode);
        return 0;
    case WM_PAINT: PaintTree(tree, *data); return 0;
    case WM_ERASEBKGND: return 1;
    case WM_SIZE:
    case WM_WINDOWPOSCHANGED:
        data->topStale = true;
        Repaint(tree);
        return DefWindowProcA(tree, message, wParam, lParam);
    case WM_SETFONT:
        data->font = reinterpret_cast<HFONT>(wParam);
        if (LOWORD(lParam)) TreeStructureChanged(tree, *data);
        return 0;
    case WM_GETFONT: return reinterpret_cast<LRESULT>(data->font);
    default: return TreeMessage(tree, *data, message, wParam, lParam);
    }
}

} // namespace

void RegisterTreeViewClass() {
    WNDCLASSA windowClass{};
    windowClass.style = CS_DBLCLKS | CS_GLOBALCLASS;
    windowClass.lpfnWndProc = TreeProcedure;
    windowClass.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    windowClass.lpszClassName = WC_TREEVIEWA;
    RegisterClassA(&windowClass);
}

} // namespace ostrana::detail
