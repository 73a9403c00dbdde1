// bench-links: mojuan_text
// GB/BIG5 conversion and detection over a 22 MB novel, beside glibc iconv on the same text.
#include "BenchSupport.h"
#include "text/Gb2Big5.h"

#include <benchmark/benchmark.h>

#include <cerrno>
#include <iconv.h>
#include <stdexcept>
#include <string>

namespace {

constexpr std::size_t DocumentSize = 22000000;

const std::string& Big5Document() {
    static const std::string doc = benchsupport::BuildDocument("shuihu.big5.txt", DocumentSize);
    return doc;
}

const std::string& GbDocument() {
    static const std::string doc = benchsupport::BuildDocument("shuihu.gbk.txt", DocumentSize);
    return doc;
}

template <class Operation>
void Throughput(benchmark::State& state, const std::string& doc, Operation operation) {
    for (auto _ : state)
        benchmark::DoNotOptimize(operation(doc));
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * doc.size()));
}

void BM_Big5ToGb(benchmark::State& state) {
    Throughput(state, Big5Document(), Big5ToGb);
}
void BM_GbToBig5(benchmark::State& state) {
    Throughput(state, GbDocument(), GbToBig5);
}
void BM_IsBig5Text_Big5(benchmark::State& state) {
    Throughput(state, Big5Document(), IsBig5Text);
}
void BM_IsBig5Text_Gb(benchmark::State& state) {
    Throughput(state, GbDocument(), IsBig5Text);
}

// What a conversion costs at least: a new string of the same length.
void BM_CopyOnly(benchmark::State& state) {
    Throughput(state, Big5Document(), [](const std::string& text) { return std::string(text); });
}

// The whole text through iconv, asked to skip what the target lacks (//IGNORE), which is
// the fastest way to use it: recovering from each such character with another iconv call
// costs glibc about ten microseconds a time. Where it still stops, the character becomes two
// spaces, as in the table conversion.
std::string IconvConvert(iconv_t cd, const std::string& text) {
    std::string out(text.size() * 2 + 16, '\0');
    char* in = const_cast<char*>(text.data());
    std::size_t inLeft = text.size();
    char* outp = out.data();
    std::size_t outLeft = out.size();
    iconv(cd, nullptr, nullptr, nullptr, nullptr);
    while (inLeft > 0) {
        const char* before = in;
        if (iconv(cd, &in, &inLeft, &outp, &outLeft) != static_cast<std::size_t>(-1))
            break;
        if (errno == E2BIG || outLeft < 2)
            throw std::runtime_error("iconv output buffer too small");
        if (in != before)
            continue; // it went on past characters it skipped
        const std::size_t skip = static_cast<unsigned char>(*in) >= 0x81 && inLeft > 1 ? 2 : 1;
        in += skip;
        inLeft -= skip;
        *outp++ = ' ';
        *outp++ = ' ';
        outLeft -= 2;
    }
    out.resize(out.size() - outLeft);
    return out;
}

void IconvThroughput(benchmark::State& state, const char* from, const char* to,
                     const std::string& doc) {
    iconv_t cd = iconv_open(to, from);
    if (cd == reinterpret_cast<iconv_t>(-1)) {
        state.SkipWithError("iconv_open failed");
        return;
    }
    Throughput(state, doc, [cd](const std::string& text) { return IconvConvert(cd, text); });
    iconv_close(cd);
}

void BM_IconvGbkToBig5(benchmark::State& state) {
    IconvThroughput(state, "GBK", "BIG5//IGNORE", GbDocument());
}
void BM_IconvBig5ToGbk(benchmark::State& state) {
    IconvThroughput(state, "BIG5", "GBK//IGNORE", Big5Document());
}

BENCHMARK(BM_Big5ToGb)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_GbToBig5)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_IsBig5Text_Big5)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_IsBig5Text_Gb)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CopyOnly)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_IconvGbkToBig5)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_IconvBig5ToGbk)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
