// Listing throughput: one service with folders of 10,000 and 100,000 empty files made directly in
// its data folder, one logged-in session, ListFolder timed per folder. Entries per second must
// stay about the same for both sizes: reading and splitting a listing is linear.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <fstream>
#include <map>
#include <memory>

#include "session/ServerSession.h"
#include "session/SessionOwner.h"
#include "tests/support/ServiceProcess.h"

namespace {

struct ListingFixture {
    ListingFixture() {
        setenv("OSTRANA_TEST_BINARY_DIR", OSTRANA_BINARY_DIR, 0);
        service = std::make_unique<ostrana::test::ServiceProcess>();
        for (int count : {10000, 100000}) {
            std::filesystem::path folder = service->Root() / "users" / "demo" / "myfolder" / FolderName(count);
            std::filesystem::create_directories(folder);
            for (int i = 0; i < count; ++i) {
                std::ofstream(folder / ("entry-" + std::to_string(i) + ".txt"));
            }
        }
        session = std::make_unique<ServerSession>(&owner);
        session->SetLoginData("demo", "demo1234", service->Host(), service->Port());
        int status = 0;
        ready = session->Login(status) == 1 && session->OpenCommandSession() == 1;
    }

    static std::string FolderName(int count) { return "bench" + std::to_string(count); }

    std::unique_ptr<ostrana::test::ServiceProcess> service;
    SimpleSessionOwner owner;
    std::unique_ptr<ServerSession> session;
    bool ready = false;
};

ListingFixture& Fixture() {
    static ListingFixture fixture;
    return fixture;
}

void BM_ListFolder(benchmark::State& state) {
    ListingFixture& fixture = Fixture();
    if (!fixture.ready) {
        state.SkipWithError("the service did not accept the demo login");
        return;
    }
    int count = static_cast<int>(state.range(0));
    std::string folder = "myfolder/" + ListingFixture::FolderName(count) + "/";
    for (auto _ : state) {
        std::vector<std::string> lines;
        int status = 0;
        if (fixture.session->ListFolder(folder, lines, status) != 1 || static_cast<int>(lines.size()) != count) {
            state.SkipWithError("listing failed or incomplete");
            return;
        }
        benchmark::DoNotOptimize(lines.data());
    }
    state.SetItemsProcessed(state.iterations() * count);
    state.counters["entries/s"] = benchmark::Counter(static_cast<double>(state.iterations()) * count,
                                                     benchmark::Counter::kIsRate);
}

BENCHMARK(BM_ListFolder)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace

BENCHMARK_MAIN();
