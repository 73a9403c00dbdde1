#pragma once
// The measuring side of line breaking: advance widths of single characters of byte text.
#include <algorithm>
#include <cstdint>
#include <memory>

class TextMeasurer {
public:
    virtual ~TextMeasurer() = default;
    // Advance width in pixels of the character with this code (a byte, or lead << 8 | trail).
    virtual double CharWidth(std::uint16_t code) = 0;
};

// Every single-byte character is `narrow` wide and every double-byte character `wide`: exact,
// font-independent line counts for tests.
class FixedWidthMeasurer : public TextMeasurer {
public:
    explicit FixedWidthMeasurer(double narrow = 6, double wide = 12) : Narrow(narrow), Wide(wide) {}
    double CharWidth(std::uint16_t code) override { return code > 0xFF ? Wide : Narrow; }

private:
    double Narrow;
    double Wide;
};

// Widths looked up per character code and measured once, on first use: a novel has a few
// thousand distinct characters, so the measurer is asked a few thousand times per font.
class CharWidthCache {
public:
    explicit CharWidthCache(TextMeasurer& measurer)
        : Measurer(measurer), Widths(std::make_unique<float[]>(65536)) {
        Clear();
    }
    float Width(std::uint16_t code) {
        float w = Widths[code];
        if (w < 0)
            w = Widths[code] = static_cast<float>(Measurer.CharWidth(code));
        return w;
    }
    // Forget every width, for a change of font.
    void Clear() { std::fill_n(Widths.get(), 65536, -1.0f); }

private:
    TextMeasurer& Measurer;
    std::unique_ptr<float[]> Widths;
};
