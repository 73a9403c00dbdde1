// bench-links: mojuan_window
// Pagination of a 22 MB novel with the page font's real widths at the default book size, with
// punctuation kept in place by each rule, a page turn, and, for comparison, Qt's own text layout
// wrapping the same text at the same width; and measuring every distinct character of a novel in a
// fresh font, in one batch of glyph advances against one QFontMetricsF call per character.
#include "BenchSupport.h"
#include "reader/DocumentStore.h"
#include "reader/PagePair.h"
#include "text/GbkText.h"
#include "window/BookGeometry.h"
#include "window/PageFont.h"

#include <QTextLayout>
#include <benchmark/benchmark.h>

#include <random>

namespace {

constexpr std::size_t DocumentSize = 22'000'000;

// The document exists only as the store's chunks, as after opening a file.
std::vector<Chunk> Chunks() {
    std::vector<Chunk> chunks;
    for (std::string& bytes :
         benchsupport::BuildChunks("hongloumeng.gbk.txt", DocumentSize, DocumentStore::ChunkSize))
        chunks.push_back(MakeChunk(std::move(bytes)));
    return chunks;
}

struct Book {
    FontSpec spec;
    QFont font = ToQFont(spec);
    QtTextMeasurer measurer{font};
    CharWidthCache widths{measurer};
    BookGeometry geometry = BookGeometry::For(596, 380);
    PageFormat format{geometry.WrapWidth(), geometry.PageHeight,
                      4 * LinePitch(spec, ScreenDotsPerInch()), false};
    NoProgress progress;
    DocumentStore store;

    Book() { store.SetChunks(Chunks()); }
    void Paginate() { store.Paginate(format, widths, progress); }
};

// The argument is the punctuation rule: 0 off, 1 basic, 2 strict.
void BM_Init_Page(benchmark::State& state) {
    Book book;
    book.format.Punctuation = static_cast<PunctuationRule>(state.range(0));
    book.Paginate(); // the first run also fills the width cache
    for (auto _ : state) {
        book.Paginate();
        benchmark::DoNotOptimize(book.store.TotalLines);
    }
    state.SetBytesProcessed(state.iterations() * DocumentSize);
    state.counters["pages"] = book.store.PageCount;
    state.counters["peak_rss_MB"] = benchsupport::PeakResidentBytes() / 1e6;
}
BENCHMARK(BM_Init_Page)->Unit(benchmark::kMillisecond)->DenseRange(0, 2);

// What the book pays before its first pair shows, at the default punctuation rule: the first
// chunk wrapped, its code judged as for a document just opened, and the lines of pages 1-2.
void BM_FirstPair(benchmark::State& state) {
    Book book;
    book.format.Punctuation = PunctuationRule::Basic;
    book.Paginate();
    for (auto _ : state) {
        book.store.SetChunks(book.store.ShownChunk);
        book.store.Paginate(book.format, book.widths, book.progress, 1);
        book.store.WrapMore(book.format, book.widths, book.progress, 2 * book.store.LinesPerPage);
        benchmark::DoNotOptimize(book.store.TotalLines);
    }
}
BENCHMARK(BM_FirstPair)->Unit(benchmark::kMillisecond);

void BM_PageTurn(benchmark::State& state) {
    Book book;
    book.Paginate();
    std::mt19937 random(7);
    std::uniform_int_distribution<int> page(1, book.store.PageCount);
    for (auto _ : state) {
        book.store.GoToPage(page(random));
        PagePairText pair = CutPagePair(book.store, false);
        benchmark::DoNotOptimize(pair);
    }
}
BENCHMARK(BM_PageTurn)->Unit(benchmark::kMicrosecond);

// Qt's text layout over the same chunks, decoded to Unicode, at the same width.
void BM_QTextLayoutSameText(benchmark::State& state) {
    Book book;
    std::vector<QString> texts;
    for (const Chunk& chunk : book.store.ShownChunk) {
        const std::u16string u = gbk::Decode(*chunk);
        texts.push_back(QString::fromUtf16(u.data(), u.size()));
    }
    for (auto _ : state) {
        long lines = 0;
        for (const QString& text : texts)
            for (const QString& paragraph : text.split(QStringLiteral("\r\n"))) {
                QTextLayout layout(paragraph, book.font);
                layout.beginLayout();
                while (true) {
                    QTextLine line = layout.createLine();
                    if (!line.isValid())
                        break;
                    line.setLineWidth(book.format.WrapWidth);
                    ++lines;
                }
                layout.endLayout();
            }
        benchmark::DoNotOptimize(lines);
    }
    state.SetBytesProcessed(state.iterations() * DocumentSize);
}
BENCHMARK(BM_QTextLayoutSameText)->Unit(benchmark::kMillisecond)->Iterations(1);

// The distinct character codes of the novel, as the line breaker meets them.
const std::vector<std::uint16_t>& NovelCodes() {
    static const std::vector<std::uint16_t> codes = [] {
        const std::string text = benchsupport::ReadCorpus("hongloumeng.gbk.txt");
        std::vector<bool> seen(65536);
        std::vector<std::uint16_t> out;
        for (std::size_t pos = 0; pos < text.size();) {
            const gbk::Char c = gbk::CharAt(text, pos);
            pos += c.Length;
            if (!seen[c.Code] && c.Code != '\r' && c.Code != '\n') {
                seen[c.Code] = true;
                out.push_back(c.Code);
            }
        }
        return out;
    }();
    return codes;
}

// Each iteration measures in a font engine of its own, since an engine keeps what it has
// measured: the pixel size 12 + `iteration`, the even ones for one way and the odd ones for the
// other, so that both ways measure at much the same sizes.
QFont FreshFont(int iteration) {
    QFont font = ToQFont(FontSpec{});
    font.setPixelSize(12 + iteration);
    return font;
}

constexpr int MeasureIterations = 6;

void BM_MeasureNovelOneByOne(benchmark::State& state) {
    const std::vector<std::uint16_t>& codes = NovelCodes();
    int iteration = 0;
    for (auto _ : state) {
        QtTextMeasurer measurer(FreshFont(2 * iteration++));
        double sum = 0;
        for (std::uint16_t code : codes)
            sum += measurer.CharWidth(code);
        benchmark::DoNotOptimize(sum);
    }
    state.counters["chars"] = static_cast<double>(codes.size());
}
BENCHMARK(BM_MeasureNovelOneByOne)->Unit(benchmark::kMillisecond)->Iterations(MeasureIterations);

void BM_MeasureNovelInOneBatch(benchmark::State& state) {
    const std::vector<std::uint16_t>& codes = NovelCodes();
    int iteration = 0;
    std::vector<float> widths;
    for (auto _ : state) {
        QtTextMeasurer measurer(FreshFont(2 * iteration++ + 1));
        measurer.CharWidths(codes, widths);
        benchmark::DoNotOptimize(widths.data());
    }
    state.counters["chars"] = static_cast<double>(codes.size());
}
BENCHMARK(BM_MeasureNovelInOneBatch)->Unit(benchmark::kMillisecond)->Iterations(MeasureIterations);

} // namespace
