#include "WrapLines.h"

#include "text/GbkText.h"

#include <algorithm>

std::string_view WrappedText::LineText(std::string_view text, int i) const {
    if (i < 0 || i >= LineCount())
        return {};
    const std::uint32_t start = Starts[i] & OffsetBits;
    std::uint32_t end = Starts[i + 1] & OffsetBits;
    if (Starts[i] & EndsWithLineBreak)
        end -= 2;
    return text.substr(start, end - start);
}

std::uint32_t WrappedText::LineStart(int i) const {
    if (i < 0)
        return 0;
    return Starts[std::min(i, LineCount())] & OffsetBits;
}

int WrappedText::LineOfOffset(std::uint32_t offset) const {
    const auto lines = Starts.begin() + LineCount();
    auto it = std::upper_bound(Starts.begin(), lines, offset, [](std::uint32_t o, std::uint32_t s) {
        return o < (s & OffsetBits);
    });
    return it == Starts.begin() ? 0 : static_cast<int>(it - Starts.begin()) - 1;
}

namespace {

// Walks one chunk and cuts it into lines. `brk` is the last place in the current line where a
// soft break may fall, and `widthAtBreak` the width of the line up to it. The walk runs over
// every byte of the document at each pagination, so its state lives in locals that stay in
// registers, and the width table is read directly.
std::vector<std::uint32_t> BreakLines(std::string_view text, CharWidthCache& widths,
                                      const double maxWidth) {
    std::vector<std::uint32_t> starts;
    starts.reserve(text.size() / 32 + 2);
    const auto* bytes = reinterpret_cast<const unsigned char*>(text.data());
    const std::size_t size = text.size();
    const float* table = widths.Table();
    std::size_t lineStart = 0;
    std::size_t brk = 0;
    double widthAtBreak = 0;
    double lineWidth = 0;
    // Inlined, so that the locals they change are not forced out of registers.
    // `next` is `end` after a soft break and two bytes on after CR LF.
    const auto endLine = [&](std::size_t end, std::size_t next) __attribute__((always_inline)) {
        starts.push_back(static_cast<std::uint32_t>(lineStart) |
                         (next != end ? WrappedText::EndsWithLineBreak : 0));
        lineStart = brk = next;
        widthAtBreak = lineWidth = 0;
    };
    // The character at `pos`, `w` wide, does not fit on the line. (A space never gets here: it
    // may hang past the edge, where it draws nothing, and the line breaks after it.)
    const auto overflow = [&](std::size_t pos, double w) __attribute__((always_inline)) {
        if (brk > lineStart) {
            const double carried = lineWidth - widthAtBreak;
            endLine(brk, brk);
            lineWidth = carried;
        } else {
            endLine(pos, pos);
        }
        // What was carried over fitted on the old line, but with the character it may still
        // overflow.
        if (pos > lineStart && lineWidth + w > maxWidth)
            endLine(pos, pos);
    };

    std::size_t pos = 0;
    bool prevWide = false;
    while (pos < size) {
        // The bulk of a Chinese text: a run of measured two-byte characters that fit on the
        // line. Each may start a line (a break between two of them), and none is a space or a
        // line break. Anything else goes on to the general steps below.
        while (pos + 1 < size) {
            if (gbk::CharLength(bytes, pos, size) != 2)
                break;
            const float w = table[bytes[pos] << 8 | bytes[pos + 1]];
            if (lineWidth + w > maxWidth) // also when `w` is not measured yet
                break;
            if (prevWide) {
                brk = pos;
                widthAtBreak = lineWidth;
            }
            lineWidth += w;
            pos += 2;
            prevWide = true;
        }
        if (pos >= size)
            break;
        const std::size_t length = gbk::CharLength(bytes, pos, size);
        const bool wide = length > 1;
        std::uint32_t code = bytes[pos];
        if (wide) {
            code = gbk::CharAt(text, pos).Code;
            if (prevWide) {
                brk = pos;
                widthAtBreak = lineWidth;
            }
        } else if (code == '\r' && pos + 1 < size && bytes[pos + 1] == '\n') {
            endLine(pos, pos + 2);
            pos += 2;
            prevWide = false;
            continue;
        }
        // Four-byte characters are rare: they take the cache's slower path.
        float w = length < 4 ? table[code] : widths.Width(code);
        if (!CharWidthCache::IsMeasured(w))
            w = widths.Width(code, text.substr(pos));
        if (lineWidth + w > maxWidth && code != ' ' && pos > lineStart)
            overflow(pos, w);
        lineWidth += w;
        pos += length;
        if (code == ' ') {
            brk = pos;
            widthAtBreak = lineWidth;
        }
        prevWide = wide;
    }
    endLine(size, size);
    starts.push_back(static_cast<std::uint32_t>(size));
    return starts;
}

} // namespace

WrappedText WrapLines(std::string_view text, CharWidthCache& widths, double width) {
    return WrappedText(BreakLines(text, widths, width));
}
