// The tree view's state and the functions its model, layout, paint and input parts share.
// Nodes live in a slot pool linked as parent, first/last child and siblings; a handle carries
// its slot and a generation, so a deleted node's handle is refused. Each node knows how many
// rows it and its expanded descendants take, so rows and nodes convert without walking the
// whole tree, and painting walks from the first visible node for one page only.
// Internal to platform/controls.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/controls/ControlSupport.h"
#include "platform/controls/TypeAhead.h"

namespace ostrana::detail {

constexpr int kNoNode = -1;
constexpr int kRootNode = 0; // the invisible parent of the top-level items

struct TreeNode {
    int parent = kNoNode;
    int first = kNoNode;
    int last = kNoNode;
    int next = kNoNode;
    int previous = kNoNode;
    std::string text;
    bool callbackText = false;
    int image = 0;
    int selectedImage = 0;
    int children = 0;      // TVIF_CHILDREN as given: 0, 1 or I_CHILDRENCALLBACK
    bool childrenSet = false;
    UINT state = 0;        // TVIS_ bits but selected and drop-highlighted, which live in the view
    LPARAM param = 0;
    int rows = 1;          // rows taken by the node and, when expanded, its descendants
    std::uint32_t generation = 0;
    bool used = false;
};

enum class TreeMouse { None, Left, Right };

struct TreeViewData {
    HFONT font = nullptr;
    std::vector<TreeNode> nodes;
    std::vector<int> freeSlots;
    std::uint32_t nextGeneration = 1;
    int count = 0;

    int selected = kNoNode;
    int dropHighlight = kNoNode;
    int top = kNoNode;    // first visible node
    int topRow = 0;       // its row
    bool topStale = true; // the structure changed since top and topRow agreed
    int scrollX = 0;
    int contentWidth = 0; // widest row painted so far, scrolled or not

    HIMAGELIST normalImages = nullptr;
    HIMAGELIST stateImages = nullptr;
    int indent = 19;
    int itemHeight = 0; // 0: from the font and the images
    COLORREF background = CLR_NONE;
    COLORREF text = CLR_NONE;
    bool focused = false;

    HWND edit = nullptr;
    int editNode = kNoNode;

    TreeMouse mouse = TreeMouse::None;
    POINT mouseDown{};
    int mouseNode = kNoNode;
    UINT mouseHit = 0;
    bool editOnRelease = false;
    TypeAhead typeAhead;

    TreeViewData();
};

std::shared_ptr<TreeViewData> TreeDataOf(HWND tree);

// ---- model ----
HTREEITEM TreeHandle(const TreeViewData& data, int node);
// The slot of a handle; kRootNode for TVI_ROOT, kNoNode for a stale or foreign handle.
int TreeSlot(const TreeViewData& data, HTREEITEM item);
bool TreeExpanded(const TreeViewData& data, int node);
bool TreeHasChildren(HWND tree, const TreeViewData& data, int node);
// Every ancestor expanded.
bool TreeShown(const TreeViewData& data, int node);
int TreeLevel(const TreeViewData& data, int node);
int TreeNextVisible(const TreeViewData& data, int node);
int TreePreviousVisible(const TreeViewData& data, int node);
int TreeLastVisible(const TreeViewData& data);
int TreeTotalRows(const TreeViewData& data);
int TreeRowOf(const TreeViewData& data, int node);
int TreeNodeAtRow(const TreeViewData& data, int row);
std::string TreeText(HWND tree, const TreeViewData& data, int node);
int TreeImage(HWND tree, const TreeViewData& data, int node, bool selected);
UINT TreeState(const TreeViewData& data, int node, UINT mask);
int TreeInsert(HWND tree, TreeViewData& data, const TVINSERTSTRUCTA& insert);
bool TreeDelete(HWND tree, TreeViewData& data, int node);
// Expands or collapses; `byUser` always announces, a message only before the first expansion.
bool TreeExpand(HWND tree, TreeViewData& data, int node, UINT code, bool byUser);
bool TreeSelect(HWND tree, TreeViewData& data, int node, UINT cause);
// Sets or clears TVIS_EXPANDED without notifications, keeping the row counts in step.
void TreeSetExpandedState(TreeViewData& data, int node, bool expanded);
bool TreeSortChildren(HWND tree, TreeViewData& data, int parent, bool recurse, PFNTVCOMPARE compare, LPARAM parameter);
void TreeFillItem(const TreeViewData& data, int node, TVITEMA& item);

// ---- layout ----
int TreeItemHeight(const TreeViewData& data);
int TreeVisibleRows(HWND tree, const TreeViewData& data);
// Brings top and topRow up to date with the structure.
void TreeSettleTop(HWND tree, TreeViewData& data);
void TreeScrollToRow(HWND tree, TreeViewData& data, int row);
void TreeEnsureVisible(HWND tree, TreeViewData& data, int node);
void TreeUpdateScrollBars(HWND tree, TreeViewData& data);
void TreeScrollToX(HWND tree, TreeViewData& data, int x);
// Left edge of the node's image (or label when there is no image list).
int TreeContentLeft(HWND tree, const TreeViewData& data, int node);
RECT TreeLabelRect(HWND tree, const TreeViewData& data, int node, int row);
RECT TreeButtonRect(HWND tree, const TreeViewData& data, int node, int row);
int TreeHitTest(HWND tree, TreeViewData& data, POINT point, UINT& flags);
void TreeStructureChanged(HWND tree, TreeViewData& data);

// ---- paint and input ----
void PaintTree(HWND tree, TreeViewData& data);
bool TreeInputMessage(HWND tree, TreeViewData& data, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);
HWND TreeEditLabel(HWND tree, TreeViewData& data, int node);
void TreeEndEdit(HWND tree, TreeViewData& data, bool accept);
constexpr UINT_PTR kTreeEditTimer = 0x7102;

} // namespace ostrana::detail
