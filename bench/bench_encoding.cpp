// bench-links: mojuan_text
// Recognising and transcoding a 22 MB UTF-8 novel to the GB18030 the reader works on, beside
// glibc iconv converting the same bytes; the same with a character past GBK (extension B, an
// emoji) every few hundred; and what recognition costs a GBK novel, which it leaves as it is.
#include "BenchSupport.h"
#include "text/Encoding.h"

#include <benchmark/benchmark.h>

#include <iconv.h>
#include <stdexcept>
#include <string>

namespace {

constexpr std::size_t DocumentSize = 22000000;

std::string Iconv(iconv_t cd, const std::string& text) {
    std::string out(text.size() * 2 + 16, '\0');
    char* in = const_cast<char*>(text.data());
    char* w = out.data();
    std::size_t inLeft = text.size(), outLeft = out.size();
    iconv(cd, nullptr, nullptr, nullptr, nullptr);
    if (iconv(cd, &in, &inLeft, &w, &outLeft) == static_cast<std::size_t>(-1))
        throw std::runtime_error("iconv stopped");
    out.resize(out.size() - outLeft);
    return out;
}

std::string Convert(const char* to, const char* from, const std::string& text) {
    iconv_t cd = iconv_open(to, from);
    std::string out = Iconv(cd, text);
    iconv_close(cd);
    return out;
}

// The GBK novel converted to UTF-8 and cut at DocumentSize bytes on a character boundary.
const std::string& Utf8Document() {
    static const std::string doc = [] {
        std::string utf8 = Convert(
            "UTF-8", "GBK", benchsupport::BuildDocument("hongloumeng.gbk.txt", DocumentSize));
        while (utf8.size() < DocumentSize)
            utf8 += utf8;
        std::size_t cut = DocumentSize;
        while ((static_cast<unsigned char>(utf8[cut]) & 0xC0) == 0x80)
            --cut;
        utf8.resize(cut);
        return utf8;
    }();
    return doc;
}

// The UTF-8 novel with 𠮷 or 😀 after every 500th byte (on a character boundary).
const std::string& Utf8RareDocument() {
    static const std::string doc = [] {
        const std::string& plain = Utf8Document();
        std::string out;
        out.reserve(plain.size() + plain.size() / 100);
        std::size_t from = 0;
        for (std::size_t at = 500, k = 0; at < plain.size(); at += 500, ++k) {
            while ((static_cast<unsigned char>(plain[at]) & 0xC0) == 0x80)
                ++at;
            out.append(plain, from, at - from);
            out += k % 2 ? "\xF0\x9F\x98\x80" : "\xF0\xA0\xAE\xB7";
            from = at;
        }
        out.append(plain, from);
        return out;
    }();
    return doc;
}

const std::string& Utf16Document() {
    static const std::string doc = "\xFF\xFE" + Convert("UTF-16LE", "UTF-8", Utf8Document());
    return doc;
}

const std::string& GbkDocument() {
    static const std::string doc = benchsupport::BuildDocument("hongloumeng.gbk.txt", DocumentSize);
    return doc;
}

template <class Operation>
void Run(benchmark::State& state, const std::string& doc, Operation operation) {
    ToReadingBytes("\xE4\xB8\xAD", false); // the table is built once per run, not per novel
    for (auto _ : state)
        benchmark::DoNotOptimize(operation(doc));
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * doc.size()));
}

void BM_ToReadingBytes_Utf8(benchmark::State& state) {
    Run(state, Utf8Document(), [](const std::string& t) { return ToReadingBytes(t, false); });
}

void BM_ToReadingBytes_Utf8Rare(benchmark::State& state) {
    Run(state, Utf8RareDocument(), [](const std::string& t) { return ToReadingBytes(t, false); });
}

// As the reader opens a file: the chunks read off the disk fed one by one.
void BM_ReadingBytesBuilder_Utf8Chunks(benchmark::State& state) {
    Run(state, Utf8Document(), [](const std::string& t) {
        ReadingBytesBuilder builder(false);
        for (std::size_t at = 0; at < t.size(); at += 250000)
            builder.Feed(std::string_view(t).substr(at, 250000));
        builder.Finish();
        return builder.TakeText();
    });
}

void BM_RecognizeEncoding_Utf8(benchmark::State& state) {
    Run(state, Utf8Document(), [](const std::string& t) { return RecognizeEncoding(t, false); });
}

void BM_ToReadingBytes_Utf16(benchmark::State& state) {
    Run(state, Utf16Document(), [](const std::string& t) { return ToReadingBytes(t, false); });
}

// A GBK novel fails the UTF-8 test within its first characters; what remains is the copy.
void BM_ToReadingBytes_Gbk(benchmark::State& state) {
    Run(state, GbkDocument(), [](const std::string& t) { return ToReadingBytes(t, false); });
}

void BM_IconvUtf8ToGb18030(benchmark::State& state) {
    iconv_t cd = iconv_open("GB18030", "UTF-8");
    Run(state, Utf8Document(), [cd](const std::string& t) { return Iconv(cd, t); });
    iconv_close(cd);
}

void BM_IconvUtf8RareToGb18030(benchmark::State& state) {
    iconv_t cd = iconv_open("GB18030", "UTF-8");
    Run(state, Utf8RareDocument(), [cd](const std::string& t) { return Iconv(cd, t); });
    iconv_close(cd);
}

void BM_IconvUtf16ToGb18030(benchmark::State& state) {
    iconv_t cd = iconv_open("GB18030", "UTF-16");
    Run(state, Utf16Document(), [cd](const std::string& t) { return Iconv(cd, t); });
    iconv_close(cd);
}

BENCHMARK(BM_ToReadingBytes_Utf8)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ReadingBytesBuilder_Utf8Chunks)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RecognizeEncoding_Utf8)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_IconvUtf8ToGb18030)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ToReadingBytes_Utf8Rare)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_IconvUtf8RareToGb18030)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ToReadingBytes_Utf16)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_IconvUtf16ToGb18030)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ToReadingBytes_Gbk)->Unit(benchmark::kMillisecond);

} // namespace
