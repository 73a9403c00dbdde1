// bench-links: mojuan_records
// The settings store's share of start-up and close: opening an existing store and reading every
// setting, the close's one transaction, and a single durable write (what each change of the
// recent list or the bookmarks costs). Compared with reading the same values from a plain
// SQLite table without the access layer, so the figure means something on a noisy machine.
#include "records/SettingsStore.h"

#include <benchmark/benchmark.h>
#include <sqlite3.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <unistd.h>

namespace {

std::string StorePath() {
    const char* tmp = std::getenv("TMPDIR");
    return std::string(tmp && *tmp ? tmp : "/tmp") + "/mojuan-bench-" + std::to_string(getpid()) +
           "/registry.sqlite3";
}

// A store as a run leaves it: defaults written, settings and fifty recent entries saved.
std::string PreparedStore() {
    static const std::string path = [] {
        std::string p = StorePath();
        Registry reg(p);
        Settings s;
        LoadSettings(reg, s);
        RegBatch batch(reg);
        for (int i = 0; i < OrderSlotCount; ++i)
            reg.WriteRegStr(FileKey, "最新文件" + std::to_string(i),
                            "/书/第" + std::to_string(i) + "卷.txt");
        return p;
    }();
    return path;
}

void BM_OpenAndLoadExistingStore(benchmark::State& state) {
    std::string path = PreparedStore();
    for (auto _ : state) {
        Registry reg(path);
        Settings s;
        LoadSettings(reg, s);
        benchmark::DoNotOptimize(s.BookWidth);
    }
}
BENCHMARK(BM_OpenAndLoadExistingStore)->Unit(benchmark::kMillisecond);

// The obvious alternative: one SELECT of every row of the same file, no per-value lookups.
void BM_PlainSqliteReadOfAllRows(benchmark::State& state) {
    std::string path = PreparedStore();
    for (auto _ : state) {
        sqlite3* db = nullptr;
        sqlite3_open_v2(path.c_str(), &db, SQLITE_OPEN_READONLY, nullptr);
        sqlite3_stmt* st = nullptr;
        sqlite3_prepare_v2(db, "SELECT data FROM reg_values", -1, &st, nullptr);
        std::size_t bytes = 0;
        while (sqlite3_step(st) == SQLITE_ROW)
            bytes += static_cast<std::size_t>(sqlite3_column_bytes(st, 0));
        sqlite3_finalize(st);
        sqlite3_close(db);
        benchmark::DoNotOptimize(bytes);
    }
}
BENCHMARK(BM_PlainSqliteReadOfAllRows)->Unit(benchmark::kMillisecond);

void BM_SaveSettingsAtClose(benchmark::State& state) {
    Registry reg(PreparedStore());
    Settings s;
    LoadSettings(reg, s);
    int page = 0;
    for (auto _ : state) {
        // A changed page, so the transaction really writes.
        SaveSettings(reg, s, {100, 50, 596, 380}, false, {}, {"/书/第1卷.txt", 0, ++page});
    }
}
BENCHMARK(BM_SaveSettingsAtClose)->Unit(benchmark::kMillisecond);

void BM_SingleDurableWrite(benchmark::State& state) {
    Registry reg(PreparedStore());
    int value = 0;
    for (auto _ : state)
        reg.WriteRegInt(FileKey, "最新文件顺序0", ++value);
}
BENCHMARK(BM_SingleDurableWrite)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    std::error_code ignored;
    std::filesystem::remove_all(std::filesystem::path(StorePath()).parent_path(), ignored);
    return 0;
}
