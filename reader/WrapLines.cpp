#include "WrapLines.h"

#include "text/GbkText.h"

#include <algorithm>
#include <optional>

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

// The rules of 标点避头尾 as the breaker applies them: the mark kinds of the text's code (null
// when the rule is off) and whether the strict rules hold too.
struct MarkRules {
    const std::uint8_t* Kinds = nullptr;
    bool Strict = false;
};

// The code of the two-byte character at `pos`, or 0 for any other character and for the end.
// Every mark is a two-byte character.
std::uint16_t TwoByteCodeAt(const unsigned char* bytes, std::size_t pos, std::size_t size) {
    if (pos >= size || gbk::CharLength(bytes, pos, size) != 2)
        return 0;
    return static_cast<std::uint16_t>(bytes[pos] << 8 | bytes[pos + 1]);
}

// The code of the character just before a soft break, which is a space or a character of two or
// four bytes. A four-byte character ends in a digit, a two-byte one never does.
std::uint16_t CodeBeforeSoftBreak(const unsigned char* bytes, std::size_t brk) {
    const unsigned char last = bytes[brk - 1];
    if (last == ' ' || gbk::IsFourByteDigit(last))
        return 0;
    return static_cast<std::uint16_t>(bytes[brk - 2] << 8 | last);
}

// Inlined: it is asked at every character of a line walked again.
__attribute__((always_inline)) inline bool
MayBreakBetween(std::uint16_t before, std::uint16_t after, const MarkRules& rules) {
    const std::uint8_t b = rules.Kinds[before];
    const std::uint8_t a = rules.Kinds[after];
    if ((a & ClosingMark) || (b & OpeningMark))
        return false;
    if (rules.Strict && (((b & a & PairedMark) && before == after) || (b & a & WideAlphanumeric)))
        return false;
    return true;
}

// A place where a line may end, and the width of the line before it.
struct Cut {
    std::size_t At;
    double WidthBefore;
};

// The last place after `lineStart` and not after `end` (a character start) where the rules let
// the line end: at a soft break only (after a space, between two wide characters) when
// `softOnly`, else between any two characters. Walks the line again, which only the few lines
// that would break against the rules pay for.
std::optional<Cut> LastCutWithinRules(std::string_view text, std::size_t lineStart, std::size_t end,
                                      bool softOnly, CharWidthCache& widths,
                                      const MarkRules& rules) {
    std::optional<Cut> cut;
    double width = 0;
    std::uint16_t before = 0;
    bool wideBefore = false;
    bool spaceBefore = false;
    for (std::size_t q = lineStart;;) {
        const gbk::Char c = gbk::CharAt(text, q);
        const bool wide = c.Length > 1;
        const std::uint16_t code = c.Length == 2 ? static_cast<std::uint16_t>(c.Code) : 0;
        if (q > lineStart && (!softOnly || spaceBefore || (wideBefore && wide)) &&
            MayBreakBetween(before, code, rules))
            cut = Cut{q, width};
        if (q >= end)
            return cut;
        width += widths.Width(c.Code);
        before = code;
        wideBefore = wide;
        spaceBefore = c.Code == ' ';
        q += c.Length;
    }
}

// Where a line that overflows at `pos` ends under the rules: the plain break (nothing set), the
// mark at `pos` hung in the margin, or an earlier cut that moves the line's last characters
// down. Called once for each line that overflows, outside the walk's inner loop.
struct RuleBreak {
    bool Hang = false;
    std::optional<Cut> Earlier;
};

__attribute__((noinline)) RuleBreak BreakWithinRules(std::string_view text, std::size_t lineStart,
                                                     std::size_t brk, std::size_t pos,
                                                     double lineWidth, double w, double maxWidth,
                                                     CharWidthCache& widths,
                                                     const MarkRules& rules) {
    const auto* bytes = reinterpret_cast<const unsigned char*>(text.data());
    const std::size_t size = text.size();
    const bool soft = brk > lineStart;
    if (soft &&
        MayBreakBetween(CodeBeforeSoftBreak(bytes, brk), TwoByteCodeAt(bytes, brk, size), rules))
        return {};
    std::optional<Cut> cut;
    if (!soft) {
        cut = LastCutWithinRules(text, lineStart, pos, false, widths, rules);
        if (cut && cut->At == pos)
            return {};
    }
    // A closing mark that would start the next line hangs past the edge, unless the line already
    // overruns or another closing mark follows it: at most one mark goes over the width.
    const std::uint16_t mark = TwoByteCodeAt(bytes, pos, size);
    if ((!soft || brk == pos) && (rules.Kinds[mark] & ClosingMark) && lineWidth <= maxWidth &&
        !(rules.Kinds[TwoByteCodeAt(bytes, pos + 2, size)] & ClosingMark))
        return {true, std::nullopt};
    if (soft)
        cut = LastCutWithinRules(text, lineStart, pos, true, widths, rules);
    // What moves down must leave room for the character that did not fit, or the plain break
    // stands: a line is never broken twice for the rules.
    if (cut && lineWidth - cut->WidthBefore + w <= maxWidth)
        return {false, cut};
    return {};
}

// The bulk of a Chinese text: a run of measured two-byte characters from `pos` that fit on the
// line. Each may start a line (a break between two of them), and none is a space or a line
// break. Returns where the run stops; anything there goes on to the walk's general steps.
//
// Nearly every byte of a novel passes through here. It is a function of its own, never inlined,
// so that its state stays in registers: inlined, the compiler kept the line's width in memory
// (the walk's lambdas take it by reference), adding a store and a load to every addition, which
// made the whole walk twice as slow. The break before the run's last character is set once at
// its end rather than at every character.
__attribute__((noinline)) std::size_t WalkWideRun(const unsigned char* bytes, std::size_t pos,
                                                  const std::size_t size, const float* table,
                                                  const double maxWidth, bool& prevWide,
                                                  std::size_t& brk, double& lineWidthOut,
                                                  double& widthAtBreak) {
    const std::size_t start = pos;
    double lineWidth = lineWidthOut;
    double widthBeforeLast = 0;
    while (pos + 1 < size) {
        if (gbk::CharLength(bytes, pos, size) != 2)
            break;
        const float w = table[bytes[pos] << 8 | bytes[pos + 1]];
        const double next = lineWidth + w;
        if (next > maxWidth) // also when `w` is not measured yet
            break;
        widthBeforeLast = lineWidth;
        lineWidth = next;
        pos += 2;
    }
    if (pos == start)
        return pos;
    // A break falls before each character of the run that follows a wide one: the last such
    // place is before the run's last character, unless the run is that one character alone
    // after a narrow one.
    if (prevWide || pos - start > 2) {
        brk = pos - 2;
        widthAtBreak = widthBeforeLast;
    }
    prevWide = true;
    lineWidthOut = lineWidth;
    return pos;
}

// Walks one chunk and cuts it into lines. `brk` is the last place in the current line where a
// soft break may fall, and `widthAtBreak` the width of the line up to it. The walk runs over
// every byte of the document at each pagination, so the width table is read directly.
std::vector<std::uint32_t> BreakLines(std::string_view text, CharWidthCache& widths,
                                      const double maxWidth, const MarkRules rules) {
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
    // may hang past the edge, where it draws nothing, and the line breaks after it.) True when
    // the character, a closing mark, stays on the line past its edge.
    const auto overflow = [&](std::size_t pos, double w) __attribute__((always_inline)) {
        if (rules.Kinds) {
            const RuleBreak ruled =
                BreakWithinRules(text, lineStart, brk, pos, lineWidth, w, maxWidth, widths, rules);
            if (ruled.Hang)
                return true;
            if (ruled.Earlier) {
                const double carried = lineWidth - ruled.Earlier->WidthBefore;
                endLine(ruled.Earlier->At, ruled.Earlier->At);
                lineWidth = carried;
                return false;
            }
        }
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
        return false;
    };

    std::size_t pos = 0;
    bool prevWide = false;
    while (pos < size) {
        pos =
            WalkWideRun(bytes, pos, size, table, maxWidth, prevWide, brk, lineWidth, widthAtBreak);
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
        bool hangs = false;
        if (lineWidth + w > maxWidth && code != ' ' && pos > lineStart)
            hangs = overflow(pos, w);
        lineWidth += w;
        pos += length;
        // The line may end after a space, and must end after a mark hung past its edge.
        if (code == ' ' || hangs) {
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

WrappedText WrapLines(std::string_view text, CharWidthCache& widths, double width,
                      PunctuationRule rule, TextCode code) {
    MarkRules rules;
    if (rule != PunctuationRule::Off) {
        rules.Kinds = MarkKinds(code);
        rules.Strict = rule == PunctuationRule::Strict;
    }
    return WrappedText(BreakLines(text, widths, width, rules));
}
