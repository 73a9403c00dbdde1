// bench-links: mojuan_reader mojuan_records
// The recent list's share of opening the next document: ItemFileNextClick on a full list whose
// documents are 22 MB novels, read into chunks, with and without moving the entry to the top
// (one transaction), against reading the same file alone. Also the list's own changes: one move
// to the top, and a library of fifty lines read into a full list.
#include "BenchSupport.h"
#include "reader/OpenFile.h"
#include "records/LibraryFile.h"
#include "records/RecentList.h"

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <unistd.h>

namespace {

std::string WorkDir() {
    static const std::string dir = [] {
        const char* tmp = std::getenv("TMPDIR");
        std::string d = std::string(tmp && *tmp ? tmp : "/tmp") + "/mojuan-bench-recent-" +
                        std::to_string(getpid());
        std::filesystem::create_directories(d);
        return d;
    }();
    return dir;
}

void Write(const std::string& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}

// Fifty listed files; the first two are 22250000-byte novels, the largest a document may be.
std::vector<std::string> ListedFiles() {
    static const std::vector<std::string> files = [] {
        const std::string novel =
            benchsupport::BuildDocument("hongloumeng.gbk.txt", MaxDocumentBytes);
        std::vector<std::string> paths;
        for (int i = 0; i < MaxRecentFiles; ++i) {
            paths.push_back(WorkDir() + "/第" + std::to_string(i) + "卷.txt");
            Write(paths.back(), i < 2 ? novel : "短\r\n");
        }
        return paths;
    }();
    return files;
}

struct ListOnStore {
    Registry Reg{WorkDir() + "/registry-" + std::to_string(getpid()) + ".sqlite3"};
    Settings Setting;
    RecentList List{Reg, Setting};
    NoProgress Progress;
    std::size_t Bytes = 0;

    ListOnStore() {
        Reg.EraseRegKey("Software");
        List.Load();
        const std::vector<std::string> files = ListedFiles();
        for (auto it = files.rbegin(); it != files.rend(); ++it)
            List.OpenItemFile(*it);
    }
    // The list's steps of opening entry p around the read, as the window takes them.
    bool Open(int p) {
        const std::optional<RecentReference> ref = List.Reference(p);
        const int index = ref ? List.TakeForOpening(p, ref->Text, "") : -1;
        if (index < 0)
            return false;
        OpenedFile file = OpenFile(ref->Text, Progress);
        if (!file.Chunks)
            return false;
        Bytes += file.Chunks->size();
        List.RecordOpened(index);
        return true;
    }
};

void NextBetweenTheTwoNovels(benchmark::State& state, bool reorder) {
    ListOnStore s;
    s.Setting.ReorderRecent = reorder;
    for (auto _ : state) {
        // Either way the open document is one of the two novels at the top, and the next entry
        // is the other one.
        s.List.CurrentIndex = 0;
        if (!s.Open(s.List.ItemFileNextIndex()))
            state.SkipWithError("the next document did not open");
    }
    state.SetBytesProcessed(state.iterations() * MaxDocumentBytes);
    benchmark::DoNotOptimize(s.Bytes);
}

void BM_ItemFileNextClick22MB(benchmark::State& state) {
    NextBetweenTheTwoNovels(state, false);
}
BENCHMARK(BM_ItemFileNextClick22MB)->Unit(benchmark::kMillisecond);

void BM_ItemFileNextClick22MBReorderRecent(benchmark::State& state) {
    NextBetweenTheTwoNovels(state, true);
}
BENCHMARK(BM_ItemFileNextClick22MBReorderRecent)->Unit(benchmark::kMillisecond);

// The same reads without the list, alternating between the two novels as the list does: what
// the list adds is the difference.
void BM_OpenFileAlone22MB(benchmark::State& state) {
    const std::vector<std::string> files = ListedFiles();
    NoProgress progress;
    std::size_t next = 0;
    for (auto _ : state) {
        auto chunks = OpenFile(files[next], progress);
        next = 1 - next;
        benchmark::DoNotOptimize(chunks);
    }
    state.SetBytesProcessed(state.iterations() * MaxDocumentBytes);
}
BENCHMARK(BM_OpenFileAlone22MB)->Unit(benchmark::kMillisecond);

// One durable change: entry 25 of a full list moves to the top.
void BM_OpenItemFileMoveToTop(benchmark::State& state) {
    ListOnStore s;
    for (auto _ : state)
        s.List.OpenItemFile(s.List.GetIndexFilename(25));
}
BENCHMARK(BM_OpenItemFileMoveToTop)->Unit(benchmark::kMillisecond);

// A generated library of the full list read back into it: fifty moves, fifty transactions.
void BM_ReadLibraryOfFifty(benchmark::State& state) {
    ListOnStore s;
    const std::string lib = WorkDir() + "/saved.blf";
    Write(lib, LibraryText(s.List.Items()));
    for (auto _ : state)
        s.List.OpenItemFile(lib);
}
BENCHMARK(BM_ReadLibraryOfFifty)->Unit(benchmark::kMillisecond);

long ResidentKb() {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line))
        if (line.rfind("VmRSS:", 0) == 0)
            return std::stol(line.substr(6));
    return 0;
}

// 100,000 small files that exist, and the library naming them all.
std::string HundredThousandLibrary() {
    static const std::string lib = [] {
        const std::string dir = WorkDir() + "/many";
        std::filesystem::create_directories(dir);
        std::vector<std::string> names;
        for (int i = 0; i < 100000; ++i) {
            names.push_back(dir + "/第" + std::to_string(i) + "章.txt");
            Write(names.back(), "短\r\n");
        }
        const std::string path = WorkDir() + "/many.blf";
        Write(path, LibraryText(names));
        return path;
    }();
    return lib;
}

// The library opened as the open dialog opens it: its lines put on top one after another, the
// list cut to what the batch added, the top entry opened.
void BM_OpenLibraryOf100000Lines(benchmark::State& state) {
    const std::string lib = HundredThousandLibrary();
    ListOnStore s;
    int rebuilds = 0;
    s.List.Changed = [&rebuilds] { ++rebuilds; };
    const long before = ResidentKb();
    for (auto _ : state)
        if (!s.List.PutBatchOnTop({lib}) || !s.Open(0))
            state.SkipWithError("the library's top entry did not open");
    state.counters["menu_rebuilds_per_batch"] =
        static_cast<double>(rebuilds) / static_cast<double>(state.iterations());
    state.counters["resident_growth_MB"] = static_cast<double>(ResidentKb() - before) / 1024.0;
    state.SetItemsProcessed(state.iterations() * 100000);
}
BENCHMARK(BM_OpenLibraryOf100000Lines)->Unit(benchmark::kMillisecond)->Iterations(3);

} // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    std::error_code ignored;
    std::filesystem::remove_all(WorkDir(), ignored);
    return 0;
}
