// bench-links: mojuan_archive mojuan_reader
// Opening a 20 MB GBK novel stored deflated in an archive: extracting the entry into the
// temporary folder and reading it into chunks, as opening an archive entry does, against
// Info-ZIP's `unzip -p` of the same entry to /dev/null in the same run.
#include "BenchSupport.h"
#include "archive/ZipPass.h"
#include "reader/OpenFile.h"

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <unistd.h>

namespace {

constexpr std::size_t NovelBytes = 20 * 1000 * 1000;
constexpr char Entry[] = "卷一/红楼梦.txt";

std::string WorkDir() {
    static const std::string dir = [] {
        const char* tmp = std::getenv("TMPDIR");
        std::string d = std::string(tmp && *tmp ? tmp : "/tmp") + "/mojuan-bench-zip-" +
                        std::to_string(getpid());
        std::filesystem::create_directories(d + "/src/卷一");
        std::atexit([] { std::filesystem::remove_all(WorkDir()); });
        return d;
    }();
    return dir;
}

const std::string& Archive() {
    static const std::string archive = [] {
        const std::string novel = benchsupport::BuildDocument("hongloumeng.gbk.txt", NovelBytes);
        std::ofstream(WorkDir() + "/src/" + Entry, std::ios::binary) << novel;
        const std::string zip = WorkDir() + "/novel.zip";
        const std::string command =
            "cd '" + WorkDir() + "/src' && zip -q -X -6 '" + zip + "' '" + Entry + "'";
        if (std::system(command.c_str()) != 0)
            std::abort();
        std::filesystem::remove_all(WorkDir() + "/src");
        return zip;
    }();
    return archive;
}

void BM_OpenArchiveEntry(benchmark::State& state) {
    const std::string& zip = Archive();
    NoProgress progress;
    for (auto _ : state) {
        const ExtractResult r = ExtractZipEntry(zip, Entry, WorkDir() + "/temp");
        OpenedFile chunks = OpenFile(r.Path, progress);
        if (!chunks.Chunks)
            state.SkipWithError("entry not opened");
        benchmark::DoNotOptimize(chunks);
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * NovelBytes));
}
BENCHMARK(BM_OpenArchiveEntry)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_ExtractEntryOnly(benchmark::State& state) {
    const std::string& zip = Archive();
    for (auto _ : state)
        benchmark::DoNotOptimize(ExtractZipEntry(zip, Entry, WorkDir() + "/temp"));
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * NovelBytes));
}
BENCHMARK(BM_ExtractEntryOnly)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_UnzipPipeToDevNull(benchmark::State& state) {
    const std::string command = "unzip -p '" + Archive() + "' '" + Entry + "' >/dev/null";
    for (auto _ : state)
        if (std::system(command.c_str()) != 0)
            state.SkipWithError("unzip failed");
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * NovelBytes));
}
BENCHMARK(BM_UnzipPipeToDevNull)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace
