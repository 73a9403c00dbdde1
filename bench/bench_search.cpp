// bench-links: mojuan_reader
// Searching a 22 MB novel for a phrase that occurs only in its last chunk, from page 1, against
// glibc memmem over the same chunks in the same run; and every hit of a phrase that occurs
// about 1,000 times (for the list of hits), and the hit before the end, against memmem finding
// them all. The Chinese phrase is searched as the
// dialog's default (letter case ignored) does it; the Latin one has letters, so every chunk is
// also folded once.
#include "BenchSupport.h"
#include "reader/Search.h"

#include <benchmark/benchmark.h>

#include <cstring>

namespace {

constexpr std::size_t DocumentSize = 22'000'000;

struct Book {
    FixedWidthMeasurer measurer;
    CharWidthCache widths{measurer};
    NoProgress progress;
    DocumentStore store;
    std::string Phrase;

    explicit Book(const std::string& phrase) : Phrase(*SearchBytes(phrase)) {
        std::vector<std::string> chunks = benchsupport::BuildChunks(
            "hongloumeng.gbk.txt", DocumentSize, DocumentStore::ChunkSize);
        std::string& last = chunks.back();
        last.insert(last.size() / 2, "\r\n" + Phrase + "\r\n");
        std::vector<Chunk> made;
        for (std::string& bytes : chunks)
            made.push_back(MakeChunk(std::move(bytes)));
        store.SetChunks(std::move(made));
        store.Paginate({364, 330, 48, false}, widths, progress);
        store.GoToPage(1);
    }
};

void Search(benchmark::State& state, const char* phrase) {
    Book book(phrase);
    for (auto _ : state) {
        std::optional<SearchHit> hit = DoSearch(book.store, book.Phrase, false, {true, false, 1});
        if (!hit || hit->Page < book.store.PageCount - 400)
            state.SkipWithError("the phrase was not found in the last chunk");
        benchmark::DoNotOptimize(hit);
    }
    state.SetBytesProcessed(state.iterations() * book.store.CharCount);
}

void Memmem(benchmark::State& state, const char* phrase) {
    Book book(phrase);
    for (auto _ : state) {
        const void* hit = nullptr;
        for (const Chunk& chunk : book.store.ShownChunk) {
            hit = ::memmem(chunk->data(), chunk->size(), book.Phrase.data(), book.Phrase.size());
            if (hit)
                break;
        }
        benchmark::DoNotOptimize(hit);
    }
    state.SetBytesProcessed(state.iterations() * book.store.CharCount);
}

// 平儿道 occurs about 1,000 times in the 22 MB document.
constexpr char Frequent[] = "平儿道";

void FindAllHits(benchmark::State& state) {
    Book book(Frequent);
    std::size_t found = 0;
    for (auto _ : state) {
        found = FindAll(book.store.ShownChunk, book.Phrase, false).size();
        benchmark::DoNotOptimize(found);
    }
    state.counters["hits"] = static_cast<double>(found);
    state.SetBytesProcessed(state.iterations() * book.store.CharCount);
}

void FindPreviousFromTheEnd(benchmark::State& state) {
    Book book(Frequent);
    const ChunkPlace end{book.store.ChunkCount,
                         static_cast<std::uint32_t>(book.store.ShownChunk.back()->size())};
    for (auto _ : state)
        benchmark::DoNotOptimize(FindPrevious(book.store.ShownChunk, book.Phrase, false, end));
}

void MemmemAllHits(benchmark::State& state) {
    Book book(Frequent);
    std::size_t found = 0;
    for (auto _ : state) {
        found = 0;
        for (const Chunk& chunk : book.store.ShownChunk)
            for (const char *p = chunk->data(), *end = p + chunk->size();
                 (p = static_cast<const char*>(
                      ::memmem(p, end - p, book.Phrase.data(), book.Phrase.size())));
                 ++p)
                ++found;
        benchmark::DoNotOptimize(found);
    }
    state.counters["hits"] = static_cast<double>(found);
    state.SetBytesProcessed(state.iterations() * book.store.CharCount);
}

BENCHMARK(FindAllHits)->Unit(benchmark::kMillisecond);
BENCHMARK(MemmemAllHits)->Unit(benchmark::kMillisecond);
BENCHMARK(FindPreviousFromTheEnd)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Search, chinese, "墨卷检索标记")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Memmem, chinese, "墨卷检索标记")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Search, latin_folded, "Mojuan Needle")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Memmem, latin_folded, "Mojuan Needle")->Unit(benchmark::kMillisecond);

} // namespace
