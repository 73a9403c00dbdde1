#include "TextMeasurer.h"

#include "text/GbkText.h"

#include <cmath>

void CharWidthCache::MeasureNew(std::uint16_t first, std::string_view text) {
    std::vector<std::uint16_t> codes{first};
    Widths[first] = Collected;
    for (std::size_t pos = 0; pos < text.size();) {
        const gbk::Char c = gbk::CharAt(text, pos);
        pos += c.Length;
        // Line ends are never measured: CR LF ends a line, and a lone one is measured when met.
        // (Gathering them would load a fallback font just for them.)
        if (c.Length < 4 && Widths[c.Code] == Unmeasured && c.Code != '\r' && c.Code != '\n') {
            Widths[c.Code] = Collected;
            codes.push_back(static_cast<std::uint16_t>(c.Code));
        }
    }
    std::vector<float> widths;
    ++Measurements;
    Measurer.CharWidths(codes, widths);
    for (std::size_t i = 0; i < codes.size(); ++i)
        Widths[codes[i]] = widths[i];
}

float CharWidthCache::FourByteWidth(std::uint32_t code) {
    const auto [it, added] = FourByteWidths.try_emplace(code, 0.0f);
    if (added) {
        ++Measurements;
        it->second = static_cast<float>(Measurer.CharWidth(code));
    }
    return it->second;
}

std::vector<std::pair<std::uint32_t, float>> CharWidthCache::Known() const {
    std::vector<std::pair<std::uint32_t, float>> known;
    for (std::uint32_t code = 0; code < CodeCount; ++code)
        if (IsMeasured(Widths[code]))
            known.emplace_back(code, Widths[code]);
    for (const auto& [code, width] : FourByteWidths)
        known.emplace_back(code, width);
    return known;
}

void CharWidthCache::Preload(const std::vector<std::pair<std::uint32_t, float>>& widths) {
    for (const auto& [code, width] : widths) {
        if (!std::isfinite(width))
            continue;
        if (code < static_cast<std::uint32_t>(CodeCount)) {
            if (!IsMeasured(Widths[code]))
                Widths[code] = width;
        } else {
            FourByteWidths.try_emplace(code, width);
        }
    }
}
