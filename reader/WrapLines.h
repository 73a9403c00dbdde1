#pragma once
// The line-breaking engine: lays a chunk of byte text out at a width, as a multi-line text box
// with word wrapping would, and records where each display line starts and ends.
#include "PunctuationMarks.h"
#include "TextMeasurer.h"

#include <cstdint>
#include <string_view>
#include <vector>

// The display lines of one chunk. The text itself is not copied: a line is a slice of it. A
// 22 MB document has some 700 000 lines, so each takes four bytes: where it starts, with a flag
// for a line ended by CR LF; the next line's start (or the end of the text, kept after the last
// line) tells where it ends.
class WrappedText {
public:
    static constexpr std::uint32_t EndsWithLineBreak = 0x80000000u;
    static constexpr std::uint32_t OffsetBits = ~EndsWithLineBreak;

    WrappedText() : Starts{0, 0} {}
    // `starts`: each line's start, flagged with EndsWithLineBreak where CR LF ends it, then the
    // end of the text.
    explicit WrappedText(std::vector<std::uint32_t> starts) : Starts(std::move(starts)) {}

    bool operator==(const WrappedText&) const = default;

    int LineCount() const { return static_cast<int>(Starts.size()) - 1; }
    // Display line i of `text` (the chunk this table was made from); past the end reads as empty.
    std::string_view LineText(std::string_view text, int i) const;
    std::uint32_t LineStart(int i) const;
    // The display line that holds byte offset `offset`.
    int LineOfOffset(std::uint32_t offset) const;

private:
    std::vector<std::uint32_t> Starts;
};

// Wraps `text` at `width` pixels. CR LF ends a line; a line too wide breaks after a space or
// between two characters of two or four bytes, and a word wider than the line is split between
// two characters; a break never falls inside a character. Spaces that reach past the
// width stay at the end of their line, where they draw nothing.
//
// With a punctuation rule on, no line but a paragraph's first starts with a closing mark and
// none but a paragraph's last ends with an opening mark, the marks being those of `code`. Where the
// plain break would break that, a single closing mark hangs past the edge; else the line ends
// earlier, at the last place the rules allow, and its last characters move down. A line where no
// place is allowed (a line of marks only) breaks as without the rule. The strict rule also keeps
// "——", "……" and runs of full-width digits and letters on one line.
WrappedText WrapLines(std::string_view text, CharWidthCache& widths, double width,
                      PunctuationRule rule = PunctuationRule::Off, TextCode code = TextCode::Gb);
