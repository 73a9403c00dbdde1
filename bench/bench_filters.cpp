// bench-links: mojuan_text
// Throughput of the text filters and the RTF reader on a 22 MB novel, chunk by chunk as the
// opening passes run them, next to a plain copy of the same chunks: the floor no pass can beat.
#include "BenchSupport.h"
#include "text/ChapterWords.h"
#include "text/GbkText.h"
#include "text/RtfReader.h"
#include "text/TextFilters.h"

#include <benchmark/benchmark.h>

#include <string>
#include <vector>

namespace {

constexpr std::size_t DocumentSize = 22'000'000;
constexpr std::size_t ChunkSize = 250'000;

using Chunks = std::vector<std::string>;

Chunks Split(const std::string& text) {
    Chunks chunks;
    for (std::size_t at = 0; at < text.size(); at += ChunkSize)
        chunks.push_back(text.substr(at, ChunkSize));
    return chunks;
}

const std::string& Novel() {
    static const std::string doc = benchsupport::BuildDocument("hongloumeng.gbk.txt", DocumentSize);
    return doc;
}

// The novel as a Unix file: every CR LF a lone LF, so that every line end is rewritten.
const Chunks& UnixChunks() {
    static const Chunks chunks = [] {
        std::string lf;
        lf.reserve(Novel().size());
        for (char c : Novel())
            if (c != '\r')
                lf += c;
        return Split(lf);
    }();
    return chunks;
}

// The novel as a web page: every line a paragraph with tags, an entity in each.
const Chunks& HtmlChunks() {
    static const Chunks chunks = [] {
        std::string html;
        const std::string& text = Novel();
        for (std::size_t at = 0; at < text.size();) {
            std::size_t end = text.find("\r\n", at);
            end = end == std::string::npos ? text.size() : end + 2;
            html += "<p class=\"text\">&nbsp;&nbsp;";
            html.append(text, at, end - at);
            html += "</p><br>\r\n";
            at = end;
        }
        return Split(html);
    }();
    return chunks;
}

// The novel as a word processor writes it: each Chinese character as \uN with a '?' fallback,
// paragraphs as \par.
const std::string& NovelRtf() {
    static const std::string rtf = [] {
        std::string out = "{\\rtf1\\ansi\\deff0{\\fonttbl{\\f0\\fnil\\fcharset134 SimSun;}}\\uc1 ";
        const std::string& text = Novel();
        for (std::size_t at = 0; at < text.size();) {
            const gbk::Char c = gbk::CharAt(text, at);
            at += c.Length;
            if (c.Code == '\r')
                continue;
            if (c.Code == '\n')
                out += "\\par\n";
            else if (c.Code == '\\' || c.Code == '{' || c.Code == '}')
                out += {'\\', static_cast<char>(c.Code)};
            else if (c.Code < 0x80)
                out += static_cast<char>(c.Code);
            else
                out += "\\u" + std::to_string(static_cast<int>(gbk::ToUnicode(c.Code))) + "?";
        }
        return out + "}";
    }();
    return rtf;
}

template <typename Filter>
void RunOverChunks(benchmark::State& state, const Chunks& chunks, Filter filter) {
    std::size_t bytes = 0;
    for (const std::string& c : chunks)
        bytes += c.size();
    for (auto _ : state)
        for (const std::string& c : chunks) {
            std::string out = filter(c);
            benchmark::DoNotOptimize(out.data());
        }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * bytes));
    state.counters["MB"] = static_cast<double>(bytes) / 1e6;
}

const Chunks& NovelChunks() {
    static const Chunks chunks = Split(Novel());
    return chunks;
}

void BM_CopyChunks(benchmark::State& state) {
    RunOverChunks(state, NovelChunks(), [](const std::string& c) { return std::string(c); });
}

void BM_NormalizeLineBreaks_CrLfNovel(benchmark::State& state) {
    RunOverChunks(state, NovelChunks(),
                  [](const std::string& c) { return NormalizeLineBreaks(c); });
}

void BM_NormalizeLineBreaks_LfNovel(benchmark::State& state) {
    RunOverChunks(state, UnixChunks(), [](const std::string& c) { return NormalizeLineBreaks(c); });
}

void BM_ReplaceNoCase_Nbsp(benchmark::State& state) {
    RunOverChunks(state, HtmlChunks(),
                  [](const std::string& c) { return ReplaceNoCase("&nbsp;", " ", c); });
}

void BM_StripHtml_PlainNovel(benchmark::State& state) {
    RunOverChunks(state, NovelChunks(), [](const std::string& c) { return StripHtml(c); });
}

void BM_StripHtml_HtmlNovel(benchmark::State& state) {
    RunOverChunks(state, HtmlChunks(), [](const std::string& c) { return StripHtml(c); });
}

void BM_SmartParagraph_Novel(benchmark::State& state) {
    RunOverChunks(state, NovelChunks(),
                  [](const std::string& c) { return SmartParagraph(c, ListChap1(), ListChap2()); });
}

// As the reader runs it: heading lines kept apart.
void BM_SmartParagraph_NovelKeepingHeadings(benchmark::State& state) {
    const chapters::ChapterWords& words = chapters::ChapterWords::For(TextCode::Gb);
    RunOverChunks(state, NovelChunks(), [&words](const std::string& c) {
        return SmartParagraph(c, ListChap1(), ListChap2(), &words);
    });
}

void BM_RtfToText_Novel(benchmark::State& state) {
    const std::string& rtf = NovelRtf();
    for (auto _ : state) {
        std::string text = RtfToText(rtf);
        benchmark::DoNotOptimize(text.data());
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * rtf.size()));
    state.counters["MB"] = static_cast<double>(rtf.size()) / 1e6;
}

} // namespace

BENCHMARK(BM_CopyChunks)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_NormalizeLineBreaks_CrLfNovel)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_NormalizeLineBreaks_LfNovel)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ReplaceNoCase_Nbsp)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_StripHtml_PlainNovel)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_StripHtml_HtmlNovel)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SmartParagraph_Novel)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SmartParagraph_NovelKeepingHeadings)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RtfToText_Novel)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
