#pragma once
// The measuring side of line breaking: advance widths of single characters of byte text.
#include <algorithm>
#include <cstdint>
#include <limits>
#include <memory>
#include <string_view>
#include <unordered_map>
#include <utility>
#include <vector>

class TextMeasurer {
public:
    virtual ~TextMeasurer() = default;
    // Advance width in pixels of the character with this code (gbk::Char::Code: a byte,
    // lead << 8 | trail, or the four bytes of a four-byte character).
    virtual double CharWidth(std::uint32_t code) = 0;
    // The widths of many characters at once; a measurer that can fetch them in one batch
    // overrides this.
    virtual void CharWidths(const std::vector<std::uint16_t>& codes, std::vector<float>& widths) {
        widths.resize(codes.size());
        for (std::size_t i = 0; i < codes.size(); ++i)
            widths[i] = static_cast<float>(CharWidth(codes[i]));
    }
};

// Every single-byte character is `narrow` wide and every longer character `wide`: exact,
// font-independent line counts for tests.
class FixedWidthMeasurer : public TextMeasurer {
public:
    explicit FixedWidthMeasurer(double narrow = 6, double wide = 12) : Narrow(narrow), Wide(wide) {}
    double CharWidth(std::uint32_t code) override { return code > 0xFF ? Wide : Narrow; }

private:
    double Narrow;
    double Wide;
};

// Widths looked up per character code and measured once: a novel has a few thousand distinct
// characters, so the measurer is asked a few thousand times per font. A character not measured
// yet is measured together with every other new character of the text that follows it, in one
// batch, since a measurer pays per call far more than per character. Characters of one and two
// bytes have a table; the rare four-byte characters are looked up in a map and measured one by
// one.
class CharWidthCache {
public:
    static bool IsMeasured(float w) { return w != Unmeasured; }
    explicit CharWidthCache(TextMeasurer& measurer)
        : Measurer(measurer), Widths(std::make_unique<float[]>(CodeCount)) {
        Clear();
    }
    // The width of the character `code` found at the start of `rest`.
    float Width(std::uint32_t code, std::string_view rest) {
        if (code >= static_cast<std::uint32_t>(CodeCount))
            return FourByteWidth(code);
        float w = Widths[code];
        if (w == Unmeasured) {
            MeasureNew(code, rest);
            w = Widths[code];
        }
        return w;
    }
    float Width(std::uint32_t code) { return Width(code, {}); }
    // The table itself, for the line breaker's inner loop. A character not measured yet reads
    // as infinitely wide, so the one test "does it still fit" also sends it to be measured. The
    // table stays at the same address for the life of the cache.
    const float* Table() const { return Widths.get(); }
    // Forget every width, for a change of font.
    void Clear() {
        std::fill_n(Widths.get(), CodeCount, Unmeasured);
        FourByteWidths.clear();
        ++Measurements;
    }

    // Every width known so far, by code, for keeping them between runs of the program.
    std::vector<std::pair<std::uint32_t, float>> Known() const;
    // Widths kept by an earlier run of the same font, taken as if measured; a code already
    // measured keeps its width, and a width that is not a finite number is skipped.
    void Preload(const std::vector<std::pair<std::uint32_t, float>>& widths);
    // Goes up with every batch the measurer is asked for: what was known before is stale.
    std::uint64_t Generation() const { return Measurements; }

private:
    static constexpr int CodeCount = 65536;
    static constexpr float Unmeasured = std::numeric_limits<float>::infinity();
    static constexpr float Collected = -1.0f; // only while a batch is being gathered

    // Measures `first` and every character of `text` not measured yet, in one batch.
    void MeasureNew(std::uint16_t first, std::string_view text);
    float FourByteWidth(std::uint32_t code);

    TextMeasurer& Measurer;
    std::uint64_t Measurements = 0;
    std::unique_ptr<float[]> Widths;
    std::unordered_map<std::uint32_t, float> FourByteWidths;
};
