// Local folder fill: one temporary folder per size with empty files, enumerated through the
// platform's FindFirstFileA, sorted folders first then by name, and the Size and Modified texts made
// for the first screen of rows only. Time per file must stay about the same for both sizes.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <fstream>
#include <map>
#include <memory>
#include <strings.h>

#include "platform/base/FileApi.h"
#include "platform/base/LocalPath.h"
#include "platform/window/AfxWinApp.h"
#include "shell/IEShellListView.h"
#include "shell/LocalListText.h"
#include "tests/support/WindowHarness.h"
#include "tests/support/TempDir.h"

namespace {

constexpr int kVisibleRows = 40;

struct Row {
    std::string name;
    bool folder;
    std::uint64_t size;
    FILETIME written;
    FILETIME created;
};

struct Folders {
    Folders() {
        for (int count : {10000, 100000}) {
            auto folder = dir.Path() / std::to_string(count);
            std::filesystem::create_directories(folder);
            for (int i = 0; i < count; ++i) std::ofstream(folder / ("file-" + std::to_string(count - i) + ".txt"));
            local[count] = ostrana::HostToLocalPath(folder.string());
        }
    }
    ostrana::test::TempDir dir;
    std::map<int, std::string> local;
};

Folders& Shared() {
    static Folders folders;
    return folders;
}

std::vector<Row> Enumerate(const std::string& folder) {
    std::vector<Row> rows;
    WIN32_FIND_DATAA data{};
    HANDLE find = FindFirstFileA((folder + "\\*").c_str(), &data);
    if (find == INVALID_HANDLE_VALUE) return rows;
    do {
        std::string name = data.cFileName;
        if (name == "." || name == "..") continue;
        rows.push_back({std::move(name), (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0,
                        (static_cast<std::uint64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow, data.ftLastWriteTime,
                        data.ftCreationTime});
    } while (FindNextFileA(find, &data));
    FindClose(find);
    return rows;
}

void ShowFolder(benchmark::State& state) {
    const std::string& folder = Shared().local[static_cast<int>(state.range(0))];
    for (auto _ : state) {
        std::vector<Row> rows = Enumerate(folder);
        std::sort(rows.begin(), rows.end(), [](const Row& a, const Row& b) {
            if (a.folder != b.folder) return a.folder;
            return ::strcasecmp(a.name.c_str(), b.name.c_str()) < 0;
        });
        size_t shown = std::min<size_t>(rows.size(), kVisibleRows);
        for (size_t i = 0; i < shown; ++i) {
            benchmark::DoNotOptimize(LocalSizeText(rows[i].size, LocalThousandsSeparator()));
            benchmark::DoNotOptimize(LocalModifiedText(rows[i].written, rows[i].created));
        }
        benchmark::DoNotOptimize(rows.data());
        state.counters["files"] = static_cast<double>(rows.size());
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}

// The same folders shown by the local list itself: the shell's enumeration, one row per item, the
// sort by the shell and the first paint, which makes the texts of the visible rows only.
struct ListFixture {
    ListFixture() {
        ui.Run([this] {
            WNDCLASSA windowClass{};
            windowClass.lpfnWndProc = ::DefWindowProcA;
            windowClass.lpszClassName = "LocalListBenchParent";
            RegisterClassA(&windowClass);
            parent = std::make_unique<CWnd>();
            parent->CreateEx(0, "LocalListBenchParent", "", WS_POPUP | WS_VISIBLE, 0, 0, 800, 600, nullptr, nullptr);
            view = std::make_unique<CIEShellListView>();
            view->SetWatchOnCreate(false);
            view->Create("ListView", "ClientListView", WS_CHILD | WS_VISIBLE, RECT{0, 0, 800, 600}, parent.get(), 212);
            view->OnInitialUpdate();
        });
    }
    ~ListFixture() {
        ui.Run([this] {
            view.reset();
            if (parent != nullptr) parent->DestroyWindow();
        });
    }
    ostrana::test::ScopedRegistryFile registry;
    CWinApp app{"Ostrana"};
    ostrana::test::UiThread ui;
    std::unique_ptr<CWnd> parent;
    std::unique_ptr<CIEShellListView> view;
};

void ShowFolderInList(benchmark::State& state) {
    const std::string& folder = Shared().local[static_cast<int>(state.range(0))];
    // Made per run, not at exit time: the platform's own objects must outlive its windows.
    ListFixture fixture;
    CIEShellListCtrl* list = fixture.view->GetShellList();
    for (auto _ : state) {
        fixture.ui.Run([&] {
            list->NavigateToPath(folder);
            list->UpdateWindow();
        });
        state.counters["rows"] = static_cast<double>(list->GetItemCount());
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}

} // namespace

BENCHMARK(ShowFolderInList)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK(ShowFolder)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK_MAIN();
