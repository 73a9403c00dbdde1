#include "WrapLines.h"

#include "text/GbkText.h"

#include <algorithm>

std::string_view WrappedText::LineText(std::string_view text, int i) const {
    if (i < 0 || i >= LineCount())
        return {};
    return text.substr(Lines[i].Start, Lines[i].Length);
}

std::uint32_t WrappedText::LineStart(int i) const {
    if (i < 0)
        return 0;
    if (i >= LineCount())
        return Lines.back().Start + Lines.back().Length;
    return Lines[i].Start;
}

int WrappedText::LineOfOffset(std::uint32_t offset) const {
    auto it = std::upper_bound(Lines.begin(), Lines.end(), offset,
                               [](std::uint32_t o, const Line& l) { return o < l.Start; });
    return it == Lines.begin() ? 0 : static_cast<int>(it - Lines.begin()) - 1;
}

namespace {

// Walks one chunk and cuts it into lines. `Break` is the last place in the current line where a
// soft break may fall, and `WidthAtBreak` the width of the line up to it.
class LineBreaker {
public:
    LineBreaker(std::string_view text, CharWidthCache& widths, double width)
        : Text(text), Widths(widths), MaxWidth(width) {
        Lines.reserve(text.size() / 40 + 1);
    }

    std::vector<WrappedText::Line> Run() {
        std::size_t pos = 0;
        bool prevWide = false;
        while (pos < Text.size()) {
            if (Text[pos] == '\r' && pos + 1 < Text.size() && Text[pos + 1] == '\n') {
                EndLine(pos, pos + 2);
                pos += 2;
                prevWide = false;
                continue;
            }
            const gbk::Char c = gbk::CharAt(Text, pos);
            const bool wide = c.Length == 2;
            if (wide && prevWide)
                MarkBreak(pos);
            Add(pos, c);
            pos += c.Length;
            if (c.Code == ' ')
                MarkBreak(pos);
            prevWide = wide;
        }
        EndLine(Text.size(), Text.size());
        return std::move(Lines);
    }

private:
    void Add(std::size_t pos, gbk::Char c) {
        const double w = Widths.Width(c.Code, Text.substr(pos));
        // A space may hang past the edge: it draws nothing, and the line breaks after it.
        if (c.Code != ' ' && pos > LineStart && LineWidth + w > MaxWidth) {
            if (Break > LineStart) {
                const double carried = LineWidth - WidthAtBreak;
                SoftBreak(Break);
                LineWidth = carried;
            } else {
                SoftBreak(pos);
                LineWidth = 0;
            }
            // What was carried over fitted on the old line, but with c it may still overflow.
            if (pos > LineStart && LineWidth + w > MaxWidth) {
                SoftBreak(pos);
                LineWidth = 0;
            }
        }
        LineWidth += w;
    }

    void MarkBreak(std::size_t pos) {
        Break = pos;
        WidthAtBreak = LineWidth;
    }

    void SoftBreak(std::size_t at) { EndLine(at, at); }

    void EndLine(std::size_t end, std::size_t next) {
        Lines.push_back(
            {static_cast<std::uint32_t>(LineStart), static_cast<std::uint32_t>(end - LineStart)});
        LineStart = next;
        Break = next;
        WidthAtBreak = 0;
        LineWidth = 0;
    }

    std::string_view Text;
    CharWidthCache& Widths;
    double MaxWidth;
    std::vector<WrappedText::Line> Lines;
    std::size_t LineStart = 0;
    std::size_t Break = 0;
    double WidthAtBreak = 0;
    double LineWidth = 0;
};

} // namespace

WrappedText WrapLines(std::string_view text, CharWidthCache& widths, double width) {
    return WrappedText(LineBreaker(text, widths, width).Run());
}
