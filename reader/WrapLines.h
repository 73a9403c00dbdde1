#pragma once
// The line-breaking engine: lays a chunk of byte text out at a width, as a multi-line text box
// with word wrapping would, and records where each display line starts and ends.
#include "TextMeasurer.h"

#include <cstdint>
#include <string_view>
#include <vector>

// The display lines of one chunk. The text itself is not copied: a line is a slice of it.
class WrappedText {
public:
    struct Line {
        std::uint32_t Start;  // byte offset of the line in the chunk
        std::uint32_t Length; // bytes of the line, without its line-break bytes
    };

    WrappedText() : Lines{{0, 0}} {}
    explicit WrappedText(std::vector<Line> lines) : Lines(std::move(lines)) {}

    int LineCount() const { return static_cast<int>(Lines.size()); }
    // Display line i of `text` (the chunk this table was made from); past the end reads as empty.
    std::string_view LineText(std::string_view text, int i) const;
    std::uint32_t LineStart(int i) const;
    // The display line that holds byte offset `offset`.
    int LineOfOffset(std::uint32_t offset) const;

private:
    std::vector<Line> Lines;
};

// Wraps `text` at `width` pixels. CR LF ends a line; a line too wide breaks after a space or
// between two double-byte characters, and a word wider than the line is split between two
// characters; a break never falls inside a double-byte character. Spaces that reach past the
// width stay at the end of their line, where they draw nothing.
WrappedText WrapLines(std::string_view text, CharWidthCache& widths, double width);
