// bench-links: mojuan_text
// Finding every chapter of a 22 MB novel, chunk by chunk as the reader holds it: GB and BIG5
// text by the built-in rules, a text whose headings are hidden so that it falls back to
// sections, and a user's regular expression; beside a plain scan that only finds the line ends
// of the same chunks with memchr.
#include "BenchSupport.h"
#include "text/ChapterFinder.h"
#include "text/Chunking.h"

#include <benchmark/benchmark.h>

#include <cstring>
#include <string>
#include <vector>

namespace {

constexpr std::size_t DocumentSize = 22'000'000;

struct Book {
    std::string Text;
    std::vector<std::string_view> Chunks;

    explicit Book(const std::string& corpusName, bool hideHeadings = false)
        : Text(benchsupport::BuildDocument(corpusName, DocumentSize)) {
        if (hideHeadings) // 第 becomes 弟, so no line starts like a heading
            for (std::size_t at = 0; (at = Text.find("\xB5\xDA", at)) != std::string::npos;)
                Text[at + 1] = '\xDC';
        Chunks = CutChunks(Text, NoChunkLimit);
    }
};

void Report(benchmark::State& state, const Book& book, std::size_t found) {
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * book.Text.size()));
    state.counters["chapters"] = static_cast<double>(found);
}

void Chapters(benchmark::State& state, const char* corpusName, TextCode code, bool hide) {
    const Book book(corpusName, hide);
    std::size_t found = 0;
    for (auto _ : state) {
        std::vector<Chapter> chapters = FindChapters(book.Chunks, code);
        found = chapters.size();
        benchmark::DoNotOptimize(chapters);
    }
    Report(state, book, found);
}

void ChaptersByPattern(benchmark::State& state) {
    const Book book("hongloumeng.gbk.txt");
    std::size_t found = 0;
    for (auto _ : state) {
        std::optional<ChapterFinder> finder = ChapterFinder::ForPattern(TextCode::Gb, "^第.+回");
        for (std::string_view chunk : book.Chunks)
            finder->Feed(chunk);
        found = finder->Finish().size();
    }
    Report(state, book, found);
}

void LineEndsOnly(benchmark::State& state) {
    const Book book("hongloumeng.gbk.txt");
    std::size_t lines = 0;
    for (auto _ : state) {
        lines = 0;
        for (std::string_view chunk : book.Chunks)
            for (const char *p = chunk.data(), *end = p + chunk.size();
                 (p = static_cast<const char*>(std::memchr(p, '\n', end - p))); ++p)
                ++lines;
        benchmark::DoNotOptimize(lines);
    }
    Report(state, book, 0);
}

BENCHMARK_CAPTURE(Chapters, hongloumeng_gb, "hongloumeng.gbk.txt", TextCode::Gb, false)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Chapters, shuihu_big5, "shuihu.big5.txt", TextCode::Big5, false)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Chapters, sections_without_headings, "hongloumeng.gbk.txt", TextCode::Gb, true)
    ->Unit(benchmark::kMillisecond);
BENCHMARK(ChaptersByPattern)->Unit(benchmark::kMillisecond);
BENCHMARK(LineEndsOnly)->Unit(benchmark::kMillisecond);

} // namespace
