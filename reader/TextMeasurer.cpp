#include "TextMeasurer.h"

#include "text/GbkText.h"

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
    Measurer.CharWidths(codes, widths);
    for (std::size_t i = 0; i < codes.size(); ++i)
        Widths[codes[i]] = widths[i];
}

float CharWidthCache::FourByteWidth(std::uint32_t code) {
    const auto [it, added] = FourByteWidths.try_emplace(code, 0.0f);
    if (added)
        it->second = static_cast<float>(Measurer.CharWidth(code));
    return it->second;
}
