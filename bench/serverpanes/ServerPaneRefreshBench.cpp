// Refreshing a server folder into the panes: the listing, parsing each line into a row with its
// record, icon and type name, a child node per subfolder, and the sort by name. One folder in ten
// entries is a subfolder. Time per entry must stay about the same for both sizes.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <fstream>
#include <memory>

#include "platform/window/AfxWinApp.h"
#include "server/ServerListView.h"
#include "server/ServerTreeView.h"
#include "session/ServerSession.h"
#include "session/SessionOwner.h"
#include "tests/support/ServiceProcess.h"
#include "tests/support/TempDir.h"
#include "tests/support/WindowHarness.h"

namespace {

constexpr const char* kParentClass = "ServerPaneBenchParent";

struct PaneFixture {
    PaneFixture() {
        setenv("OSTRANA_TEST_BINARY_DIR", OSTRANA_BINARY_DIR, 0);
        app.SetRegistryKey("Zelkor");
        service = std::make_unique<ostrana::test::ServiceProcess>();
        for (int count : {10000, 100000}) {
            std::filesystem::path folder = service->Root() / "users" / "demo" / "myfolder" / FolderName(count);
            std::filesystem::create_directories(folder);
            for (int i = 0; i < count; ++i) {
                std::string name = "entry-" + std::to_string(i);
                if (i % 10 == 0) {
                    std::filesystem::create_directory(folder / name);
                } else {
                    std::ofstream(folder / (name + (i % 3 == 0 ? ".txt" : i % 3 == 1 ? ".jpg" : ".hwp")));
                }
            }
        }
        session.SetLoginData("demo", "demo1234", service->Host(), service->Port());
        int status = 0;
        ready = session.Login(status) == 1 && session.OpenCommandSession() == 1;
        ui.Run([this] { CreatePanes(); });
    }

    ~PaneFixture() {
        ui.Run([this] {
            listView.reset();
            treeView.reset();
            if (parent != nullptr) parent->DestroyWindow();
        });
    }

    void CreatePanes() {
        WNDCLASSA windowClass{};
        windowClass.lpfnWndProc = ::DefWindowProcA;
        windowClass.lpszClassName = kParentClass;
        RegisterClassA(&windowClass);
        parent = std::make_unique<CWnd>();
        parent->CreateEx(0, kParentClass, "", WS_POPUP | WS_VISIBLE, 0, 0, 800, 600, nullptr, nullptr);
        treeView = std::make_unique<CServerTreeView>(&session);
        treeView->Create("TreeView", "ServerTreeView", WS_CHILD | WS_VISIBLE, RECT{0, 0, 300, 600}, parent.get(), 1);
        treeView->OnInitialUpdate();
        listView = std::make_unique<CServerListView>(&session);
        listView->Create("ListView", "ServerListView", WS_CHILD | WS_VISIBLE, RECT{300, 0, 800, 600}, parent.get(), 2);
        listView->OnInitialUpdate();
        listView->SetServerTree(treeView->GetServerTree());
        treeView->InitRoots(listView->GetServerList(), false, false, 1);
        listView->GetServerList()->SortColumn(0);
    }

    static std::string FolderName(int count) { return "bench" + std::to_string(count); }

    ostrana::test::ScopedRegistryFile registry;
    CWinApp app{"Ostrana"};
    std::unique_ptr<ostrana::test::ServiceProcess> service;
    SimpleSessionOwner owner;
    ServerSession session{&owner};
    bool ready = false;
    ostrana::test::UiThread ui;
    std::unique_ptr<CWnd> parent;
    std::unique_ptr<CServerTreeView> treeView;
    std::unique_ptr<CServerListView> listView;
};

PaneFixture& Fixture() {
    static PaneFixture fixture;
    return fixture;
}

void BM_RefreshFolder(benchmark::State& state) {
    PaneFixture& fixture = Fixture();
    if (!fixture.ready) {
        state.SkipWithError("the service did not accept the demo login");
        return;
    }
    int count = static_cast<int>(state.range(0));
    HTREEITEM node = nullptr;
    fixture.ui.Run([&] { node = fixture.treeView->AddRootFolder("myfolder/" + PaneFixture::FolderName(count) + "/"); });
    for (auto _ : state) {
        int rows = 0;
        fixture.ui.Run([&] {
            fixture.treeView->GetServerTree()->RefreshFolder(node);
            rows = fixture.listView->GetServerList()->GetItemCount();
        });
        if (rows != count) {
            state.SkipWithError("the folder did not list completely");
            return;
        }
    }
    state.SetItemsProcessed(state.iterations() * count);
    state.counters["us/entry"] = benchmark::Counter(static_cast<double>(state.iterations()) * count,
                                                    benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}

BENCHMARK(BM_RefreshFolder)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);

} // namespace

BENCHMARK_MAIN();
