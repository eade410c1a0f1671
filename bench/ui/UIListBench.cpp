// The toolkit list at 100 and 100,000 rows: filling through its row records, sorting by a text,
// a number and a date column, a page scroll with its paint and selecting every row. Compare the
// scroll and the selection with the platform list's own figures (bench_controls): the toolkit
// must add nothing per row that is not shown.
#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "platform/base/CodePage.h"
#include "platform/window/Controls.h"
#include "platform/window/Paint.h"
#include "ui/UIODListCtrl.h"

namespace {

class Parent : public CWnd {
public:
    Parent() {
        static const bool registered = [] {
            WNDCLASSA windowClass{};
            windowClass.lpfnWndProc = ::DefWindowProcA;
            windowClass.lpszClassName = "UIBenchParent";
            return RegisterClassA(&windowClass) != 0;
        }();
        (void)registered;
        CreateEx(0, "UIBenchParent", "", WS_POPUP | WS_VISIBLE, 0, 0, 640, 480, nullptr, nullptr);
    }
};

struct Row {
    std::string name, size, date;
};

const std::vector<Row>& Rows(int count) {
    static std::vector<Row> rows;
    static const std::string korean = ostrana::Utf8ToAnsi("사진");
    while (static_cast<int>(rows.size()) < count) {
        std::size_t i = rows.size();
        std::size_t key = (i * 7919) % 1000003;
        char date[32];
        std::snprintf(date, sizeof date, "20%02zu-%02zu-%02zu %02zu:%02zu:%02zu", 10 + key % 16, 1 + key % 12, 1 + key % 28, key % 24,
                      key % 60, (key / 60) % 60);
        std::string size = std::to_string(key % 900 + 1) + "," + std::to_string(100 + key % 900) + " KB";
        rows.push_back(Row{(key % 2 ? korean : std::string("file")) + std::to_string(key) + ".txt", size, date});
    }
    return rows;
}

struct List {
    Parent parent;
    CUIODListCtrl list;

    explicit List(int count) {
        list.Create(WS_CHILD | WS_VISIBLE | LVS_REPORT | LVS_SHOWSELALWAYS, RECT{0, 0, 600, 440}, &parent, 1);
        list.InitListCtrl("Name|Size|Modified");
        list.SetColumnType(1, UI_COLUMN_DIGITS);
        list.SetColumnType(2, UI_COLUMN_DATETIME);
        const std::vector<Row>& rows = Rows(count);
        for (int i = 0; i < count; ++i) {
            const Row& row = rows[static_cast<std::size_t>(i)];
            int at = list.AddTextItem(static_cast<DWORD_PTR>(i), row.name.c_str());
            list.SetCellText(at, 1, row.size.c_str());
            list.SetCellText(at, 2, row.date.c_str());
        }
    }
    ~List() { parent.DestroyWindow(); }
};

void BM_UIListFill(benchmark::State& state) {
    int rows = static_cast<int>(state.range(0));
    for (auto _ : state) {
        List list(rows);
        benchmark::DoNotOptimize(list.list.m_hWnd);
    }
    state.SetItemsProcessed(state.iterations() * rows);
}
BENCHMARK(BM_UIListFill)->Arg(100)->Arg(100000)->Unit(benchmark::kMillisecond);

void BM_UIListSort(benchmark::State& state) {
    List list(static_cast<int>(state.range(0)));
    int column = static_cast<int>(state.range(1));
    bool ascending = true;
    for (auto _ : state) {
        list.list.SortByColumn(column, ascending);
        ascending = !ascending;
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
    state.SetLabel(column == 0 ? "text" : column == 1 ? "number" : "date");
}
BENCHMARK(BM_UIListSort)->ArgsProduct({{100, 100000}, {0, 1, 2}})->Unit(benchmark::kMillisecond);

void BM_UIListScrollPage(benchmark::State& state) {
    List list(static_cast<int>(state.range(0)));
    UpdateWindow(list.list.m_hWnd);
    for (auto _ : state) {
        int before = list.list.GetTopIndex();
        list.list.SendMessage(WM_VSCROLL, SB_PAGEDOWN);
        if (list.list.GetTopIndex() == before) list.list.SendMessage(WM_VSCROLL, SB_TOP);
        UpdateWindow(list.list.m_hWnd);
    }
}
BENCHMARK(BM_UIListScrollPage)->Arg(100)->Arg(100000)->Unit(benchmark::kMicrosecond);

void BM_UIListSelectAll(benchmark::State& state) {
    List list(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        list.list.SetItemState(-1, LVIS_SELECTED, LVIS_SELECTED);
        benchmark::DoNotOptimize(list.list.GetSelectedCount());
        list.list.SetItemState(-1, 0, LVIS_SELECTED);
        UpdateWindow(list.list.m_hWnd);
    }
}
BENCHMARK(BM_UIListSelectAll)->Arg(100)->Arg(100000)->Unit(benchmark::kMicrosecond);

} // namespace

BENCHMARK_MAIN();
