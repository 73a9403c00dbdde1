// bench-links: mojuan_app
// Whole runs of the program (start-up to the first painted pair, with an existing store, and
// opening a 22 MB or a 100 KB novel named on the command line), and the open of that novel
// inside a running book with the text passes off and on. These run on the offscreen platform;
// scripts/first-text measures the same on a real X display, up to the text on the screen.
#include "BenchSupport.h"
#include "app/Main.h"
#include "records/SettingsStore.h"

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace {

// A folder for the novel and the program's store, removed when the benchmarks end.
struct ScratchFolder {
    std::string Path;
    ScratchFolder() {
        std::string pattern = "/tmp/mojuan-bench.XXXXXX";
        Path = mkdtemp(pattern.data());
    }
    ~ScratchFolder() { std::filesystem::remove_all(Path); }
};

std::string Scratch() {
    static const ScratchFolder folder;
    return folder.Path;
}

const std::string& NovelPath() {
    static const std::string path = [] {
        const std::string p = Scratch() + "/novel.txt";
        std::ofstream(p, std::ios::binary)
            << benchsupport::BuildDocument("hongloumeng.gbk.txt", 22'000'000);
        return p;
    }();
    return path;
}

const std::string& SmallNovelPath() {
    static const std::string path = [] {
        const std::string p = Scratch() + "/small.txt";
        std::ofstream(p, std::ios::binary)
            << benchsupport::BuildDocument("hongloumeng.gbk.txt", 100'000);
        return p;
    }();
    return path;
}

// Runs the program once and returns its peak resident size in bytes.
std::size_t RunProgram(const std::vector<std::string>& args) {
    std::vector<char*> argv;
    std::string program = MOJUAN_PROGRAM;
    argv.push_back(program.data());
    std::vector<std::string> copies = args;
    for (std::string& a : copies)
        argv.push_back(a.data());
    argv.push_back(nullptr);
    pid_t pid = 0;
    if (posix_spawn(&pid, program.c_str(), nullptr, nullptr, argv.data(), environ) != 0)
        return 0;
    int status = 0;
    rusage usage{};
    wait4(pid, &status, 0, &usage);
    return static_cast<std::size_t>(usage.ru_maxrss) * 1024;
}

void UseScratchHome() {
    setenv("XDG_CONFIG_HOME", (Scratch() + "/config").c_str(), 1);
    setenv("XDG_DATA_HOME", (Scratch() + "/data").c_str(), 1);
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
}

void BM_StartupToFirstPaint(benchmark::State& state) {
    UseScratchHome();
    RunProgram({"--quit-after-first-paint"}); // the store exists from now on
    std::size_t peak = 0;
    for (auto _ : state)
        peak = RunProgram({"--quit-after-first-paint"});
    state.counters["peak_rss_MB"] = peak / 1e6;
}
BENCHMARK(BM_StartupToFirstPaint)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(10);

void BM_ProgramOpens22MB(benchmark::State& state) {
    UseScratchHome();
    const std::string novel = NovelPath();
    std::size_t peak = 0;
    for (auto _ : state)
        peak = RunProgram({"--quit-after-first-paint", novel});
    state.counters["peak_rss_MB"] = peak / 1e6;
}
BENCHMARK(BM_ProgramOpens22MB)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(5);

void BM_ProgramOpens100KB(benchmark::State& state) {
    UseScratchHome();
    const std::string novel = SmallNovelPath();
    std::size_t peak = 0;
    for (auto _ : state)
        peak = RunProgram({"--quit-after-first-paint", novel});
    state.counters["peak_rss_MB"] = peak / 1e6;
}
BENCHMARK(BM_ProgramOpens100KB)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(10);

// The same with BIG5 conversion, HTML clean-up and smart paragraphs switched on in the store.
void BM_ProgramOpens22MBPassesOn(benchmark::State& state) {
    UseScratchHome();
    const std::string novel = NovelPath();
    {
        Registry reg(Registry::DefaultPath());
        Settings settings;
        LoadSettings(reg, settings);
        for (const char* name : {"处理BIG5码文件标志", "处理HTML文件标志", "智能分段标志"})
            reg.WriteRegBool(SettingsRoot, name, true);
    }
    std::size_t peak = 0;
    for (auto _ : state)
        peak = RunProgram({"--quit-after-first-paint", novel});
    state.counters["peak_rss_MB"] = peak / 1e6;
}
BENCHMARK(BM_ProgramOpens22MBPassesOn)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(5);

// The open inside a running book: read, line ends, passes, pagination, first pair.
void OpenInBook(benchmark::State& state, bool passesOn) {
    const std::string novel = NovelPath();
    Registry reg("");
    NoProgress progress;
    TFormMain book(reg, progress);
    book.Setting.ConvertBig5 = passesOn;
    book.Setting.SmartParagraphs = passesOn;
    for (auto _ : state) {
        book.Setting.ProcessHtml = passesOn;
        book.OpenDocument(novel);
        benchmark::DoNotOptimize(book.ShownPages().Left);
    }
    state.SetBytesProcessed(state.iterations() * 22'000'000);
    state.counters["pages"] = book.Book.PageCount();
}

void BM_OpenPassesOff(benchmark::State& state) {
    OpenInBook(state, false);
}
BENCHMARK(BM_OpenPassesOff)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_OpenBig5HtmlParagraphsOn(benchmark::State& state) {
    OpenInBook(state, true);
}
BENCHMARK(BM_OpenBig5HtmlParagraphsOn)->Unit(benchmark::kMillisecond)->UseRealTime();

// Opening the next document of the recent list, a 22 MB novel, and going back to the first.
void BM_ItemFileNextClick(benchmark::State& state) {
    UseScratchHome();
    const std::string novel = NovelPath();
    const std::string second = Scratch() + "/second.txt";
    std::filesystem::copy_file(novel, second, std::filesystem::copy_options::overwrite_existing);
    Registry reg("");
    NoProgress progress;
    TFormMain book(reg, progress, std::vector<std::string>{novel, second});
    for (auto _ : state) {
        book.ItemFileNextClick();
        benchmark::DoNotOptimize(book.ShownPages().Left);
        state.PauseTiming();
        book.ItemFilePrevClick();
        state.ResumeTiming();
    }
    state.counters["pages"] = book.Book.PageCount();
}
BENCHMARK(BM_ItemFileNextClick)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace
