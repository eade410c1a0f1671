// The list and tree views at 100 and at 100,000 rows: the cost of a scroll step with its paint,
// of selecting everything and of clicking a row out of a full selection should not grow with the
// row count; insertion and sorting grow linearly and as n log n.
#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "platform/controls/CommCtrl.h"
#include "platform/window/Controls.h"
#include "platform/window/Paint.h"

namespace {

HWND MakeParent() {
    static bool registered = false;
    if (!registered) {
        WNDCLASSA windowClass{};
        windowClass.lpfnWndProc = DefWindowProcA;
        windowClass.lpszClassName = "BenchParent";
        RegisterClassA(&windowClass);
        registered = true;
    }
    return CreateWindowExA(0, "BenchParent", "", WS_POPUP | WS_VISIBLE, 0, 0, 640, 480, nullptr, nullptr, nullptr, nullptr);
}

std::vector<std::string>& Names(int count) {
    static std::vector<std::string> names;
    while (static_cast<int>(names.size()) < count) names.push_back("file" + std::to_string((names.size() * 7919) % 1000003) + ".txt");
    return names;
}

struct List {
    HWND parent = MakeParent();
    HWND list = nullptr;

    explicit List(int rows) {
        InitCommonControls();
        list = CreateWindowExA(0, WC_LISTVIEWA, "", WS_CHILD | WS_VISIBLE | LVS_REPORT | LVS_SHOWSELALWAYS, 0, 0, 600, 440, parent,
                               nullptr, nullptr, nullptr);
        const char* titles[] = {"Name", "Size", "Type"};
        for (int column = 0; column < 3; ++column) {
            LVCOLUMNA info{};
            info.mask = LVCF_TEXT | LVCF_WIDTH;
            info.pszText = const_cast<LPSTR>(titles[column]);
            info.cx = 150;
            SendMessageA(list, LVM_INSERTCOLUMNA, static_cast<WPARAM>(column), reinterpret_cast<LPARAM>(&info));
        }
        Fill(rows);
    }
    ~List() { DestroyWindow(parent); }

    void Fill(int rows) {
        std::vector<std::string>& names = Names(rows);
        for (int i = 0; i < rows; ++i) {
            LVITEMA item{};
            item.mask = LVIF_TEXT | LVIF_PARAM;
            item.iItem = i;
            item.pszText = names[static_cast<std::size_t>(i)].data();
            item.lParam = i;
            SendMessageA(list, LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item));
            std::string size = std::to_string(i % 5000) + "KB";
            item.mask = LVIF_TEXT;
            item.iSubItem = 1;
            item.pszText = size.data();
            SendMessageA(list, LVM_SETITEMA, 0, reinterpret_cast<LPARAM>(&item));
        }
    }
};

void BM_ListInsert(benchmark::State& state) {
    int rows = static_cast<int>(state.range(0));
    for (auto _ : state) {
        List list(rows);
        benchmark::DoNotOptimize(list.list);
    }
    state.SetItemsProcessed(state.iterations() * rows);
}
BENCHMARK(BM_ListInsert)->Arg(100)->Arg(100000)->Unit(benchmark::kMillisecond);

// One page down (wrapping to the top at the end) and the paint that follows.
void BM_ListScrollPage(benchmark::State& state) {
    List list(static_cast<int>(state.range(0)));
    UpdateWindow(list.list);
    for (auto _ : state) {
        int before = static_cast<int>(SendMessageA(list.list, LVM_GETTOPINDEX, 0, 0));
        SendMessageA(list.list, WM_VSCROLL, SB_PAGEDOWN, 0);
        if (SendMessageA(list.list, LVM_GETTOPINDEX, 0, 0) == before) SendMessageA(list.list, WM_VSCROLL, SB_TOP, 0);
        UpdateWindow(list.list);
    }
}
BENCHMARK(BM_ListScrollPage)->Arg(100)->Arg(100000)->Unit(benchmark::kMicrosecond);

// Every row selected, then a click that keeps one of them.
void BM_ListSelectAllThenClick(benchmark::State& state) {
    List list(static_cast<int>(state.range(0)));
    LVITEMA all{};
    all.stateMask = LVIS_SELECTED;
    for (auto _ : state) {
        all.state = LVIS_SELECTED;
        SendMessageA(list.list, LVM_SETITEMSTATE, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&all));
        benchmark::DoNotOptimize(SendMessageA(list.list, LVM_GETSELECTEDCOUNT, 0, 0));
        SendMessageA(list.list, WM_LBUTTONDOWN, 0, MAKELPARAM(40, 30));
        SendMessageA(list.list, WM_LBUTTONUP, 0, MAKELPARAM(40, 30));
        UpdateWindow(list.list);
    }
}
BENCHMARK(BM_ListSelectAllThenClick)->Arg(100)->Arg(100000)->Unit(benchmark::kMicrosecond);

int CompareNames(LPARAM left, LPARAM right, LPARAM descending) {
    const std::vector<std::string>& names = Names(0);
    int order = names[static_cast<std::size_t>(left)].compare(names[static_cast<std::size_t>(right)]);
    return descending != 0 ? -order : order;
}

void BM_ListSortByColumn(benchmark::State& state) {
    List list(static_cast<int>(state.range(0)));
    LPARAM descending = 0;
    for (auto _ : state) {
        SendMessageA(list.list, LVM_SORTITEMS, static_cast<WPARAM>(descending), reinterpret_cast<LPARAM>(&CompareNames));
        descending = !descending;
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_ListSortByColumn)->Arg(100)->Arg(100000)->Unit(benchmark::kMillisecond);

struct Tree {
    HWND parent = MakeParent();
    HWND tree = nullptr;

    // `nodes` expanded nodes: folders of 99 children each.
    explicit Tree(int nodes) {
        InitCommonControls();
        tree = CreateWindowExA(0, WC_TREEVIEWA, "", WS_CHILD | WS_VISIBLE | TVS_HASBUTTONS | TVS_HASLINES | TVS_LINESATROOT, 0, 0,
                               300, 440, parent, nullptr, nullptr, nullptr);
        std::vector<std::string>& names = Names(100);
        for (int folder = 0; folder < nodes / 100; ++folder) {
            std::string title = "folder" + std::to_string(folder);
            HTREEITEM item = Insert(TVI_ROOT, title.data());
            for (int child = 0; child < 99; ++child) Insert(item, names[static_cast<std::size_t>(child)].data());
            SendMessageA(tree, TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(item));
        }
    }
    ~Tree() { DestroyWindow(parent); }

    HTREEITEM Insert(HTREEITEM under, LPSTR text) {
        TVINSERTSTRUCTA insert{};
        insert.hParent = under;
        insert.hInsertAfter = TVI_LAST;
        insert.item.mask = TVIF_TEXT;
        insert.item.pszText = text;
        return TreeView_InsertItem(tree, &insert);
    }
};

void BM_TreeInsert(benchmark::State& state) {
    for (auto _ : state) {
        Tree tree(static_cast<int>(state.range(0)));
        UpdateWindow(tree.tree);
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_TreeInsert)->Arg(100)->Arg(100000)->Unit(benchmark::kMillisecond);

void BM_TreeScrollLine(benchmark::State& state) {
    Tree tree(static_cast<int>(state.range(0)));
    UpdateWindow(tree.tree);
    for (auto _ : state) {
        HTREEITEM before = TreeView_GetNextItem(tree.tree, nullptr, TVGN_FIRSTVISIBLE);
        SendMessageA(tree.tree, WM_VSCROLL, SB_LINEDOWN, 0);
        if (TreeView_GetNextItem(tree.tree, nullptr, TVGN_FIRSTVISIBLE) == before) SendMessageA(tree.tree, WM_VSCROLL, SB_TOP, 0);
        UpdateWindow(tree.tree);
    }
}
BENCHMARK(BM_TreeScrollLine)->Arg(100)->Arg(100000)->Unit(benchmark::kMicrosecond);

void BM_TreeScrollPage(benchmark::State& state) {
    Tree tree(static_cast<int>(state.range(0)));
    UpdateWindow(tree.tree);
    for (auto _ : state) {
        HTREEITEM before = TreeView_GetNextItem(tree.tree, nullptr, TVGN_FIRSTVISIBLE);
        SendMessageA(tree.tree, WM_VSCROLL, SB_PAGEDOWN, 0);
        if (TreeView_GetNextItem(tree.tree, nullptr, TVGN_FIRSTVISIBLE) == before) SendMessageA(tree.tree, WM_VSCROLL, SB_TOP, 0);
        UpdateWindow(tree.tree);
    }
}
BENCHMARK(BM_TreeScrollPage)->Arg(100)->Arg(100000)->Unit(benchmark::kMicrosecond);

} // namespace

BENCHMARK_MAIN();
