// The open-file page's listing of a crowded folder: 50,000 files of other types and one map,
// as a downloads or photos folder may hold, and the same folder with its files in subfolders.

#include <benchmark/benchmark.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "model/map_title.h"
#include "platform/pocket/file_catalogue.h"

namespace {

namespace fs = std::filesystem;
using namespace qv;

constexpr int kOtherFiles = 50000;

// A scratch folder that lives as long as the benchmark program.
class CrowdedFolder {
  public:
    explicit CrowdedFolder(int subfolders) {
        char pattern[] = "/tmp/qv-catalogue-XXXXXX";
        root_ = ::mkdtemp(pattern);
        for (int i = 0; i < subfolders; ++i) {
            fs::create_directories(root_ / ("folder" + std::to_string(i)));
        }
        for (int i = 0; i < kOtherFiles; ++i) {
            const fs::path folder =
                subfolders == 0 ? root_ : root_ / ("folder" + std::to_string(i % subfolders));
            std::ofstream(folder / ("photo" + std::to_string(i) + ".jpg"));
        }
        std::ofstream(root_ / "metro.qvn") << "[NAME]\r\n";
    }
    ~CrowdedFolder() { fs::remove_all(root_); }
    const fs::path& Root() const { return root_; }

  private:
    fs::path root_;
};

void ListCrowdedFolder(benchmark::State& state) {
    static const CrowdedFolder flat(0);
    static const CrowdedFolder nested(100);
    const CrowdedFolder& folder = state.range(0) == 0 ? flat : nested;
    const FilePatterns maps({u"*.qvn"});
    std::size_t rows = 0;
    for (auto _ : state) {
        const CatalogueListing listing = ListFolder(folder.Root(), maps, {}, ReadMapTitle);
        rows = listing.entries.size();
        benchmark::DoNotOptimize(rows);
    }
    state.counters["rows"] = static_cast<double>(rows);
}

}  // namespace

BENCHMARK(ListCrowdedFolder)
    ->ArgName("subfolders100")
    ->Arg(0)
    ->Arg(1)
    ->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
