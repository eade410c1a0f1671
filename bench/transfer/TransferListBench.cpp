// Building transfer lists and asking the overwrite question for every file of a large job: both
// must stay linear in the number of files (10,000 files against 10,000 existing entries).
#include <benchmark/benchmark.h>
#include <filesystem>
#include <fstream>
#include <unistd.h>

#include "platform/base/LocalPath.h"
#include "session/ServerSession.h"
#include "session/SessionOwner.h"
#include "transfer/CheckOverwrite.h"

namespace fs = std::filesystem;

namespace {

// A folder of `folders` subfolders with `files` files each, under /tmp, removed at the end.
class ScratchTree {
public:
    ScratchTree(int folders, int files) {
        std::string pattern = (fs::temp_directory_path() / "ostrana-bench-XXXXXX").string();
        m_root = mkdtemp(pattern.data());
        for (int folder = 0; folder < folders; ++folder) {
            fs::path dir = m_root / "tree" / ("f" + std::to_string(folder));
            fs::create_directories(dir);
            for (int file = 0; file < files; ++file) {
                std::ofstream(dir / ("file" + std::to_string(file) + ".bin")) << "x";
            }
        }
    }
    ~ScratchTree() { fs::remove_all(m_root); }
    std::string Local() const { return ostrana::HostToLocalPath(m_root.string()) + "\\"; }

private:
    fs::path m_root;
};

void BM_EnumerateLocalFolder(benchmark::State& state) {
    ScratchTree tree(100, static_cast<int>(state.range(0)) / 100);
    for (auto _ : state) {
        TransferList list;
        list.SetBaseFolder(tree.Local());
        list.AddLocalFolder(tree.Local() + "tree\\");
        benchmark::DoNotOptimize(list.Count());
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_EnumerateLocalFolder)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond);

void BM_CheckEveryFileAgainstTheDestination(benchmark::State& state) {
    const int count = static_cast<int>(state.range(0));
    TransferList items;
    items.SetBaseFolder("C:\\up\\");
    TransferList destination(1);
    destination.SetBaseFolder("myfolder/");
    for (int i = 0; i < count; ++i) {
        std::string folder = "f" + std::to_string(i % 100);
        TransferItem item;
        item.m_strPath = "C:\\up\\" + folder + "\\new" + std::to_string(i) + ".bin";
        item.m_dwAttributes = FILE_ATTRIBUTE_ARCHIVE;
        items.Add(item);
        destination.AddServerEntry(false, "myfolder/" + folder + "/", "old" + std::to_string(i) + ".bin", "1",
                                   "20240101", "000000");
    }
    SimpleSessionOwner owner;
    ServerSession session(&owner);
    for (auto _ : state) {
        TransferJob job(session);
        int skipped = 0;
        for (std::size_t i = 0; i < items.Count(); ++i) {
            skipped += CheckOverwrite(job, destination, "myfolder/", items.ItemAt(i)) ? 1 : 0;
        }
        benchmark::DoNotOptimize(skipped);
        destination.AddServerEntry(false, "myfolder/", "changed.bin", "1", "20240101", "000000"); // a new index each round
    }
    state.SetItemsProcessed(state.iterations() * count);
}
BENCHMARK(BM_CheckEveryFileAgainstTheDestination)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
