#pragma once
// Edit mode's side of the document: the exact source bytes of the lines of the shown page pair,
// and the splice that puts edited text back in their place.
//
// The byte ranges of the shown lines are taken once, when editing starts, and every change is
// made against them: a box whose text did not change is not touched, an unchanged save leaves
// the document byte for byte as it was, and nothing outside the shown lines is ever removed.
// Only the characters that differ are re-encoded, run by run, so bytes around and between them
// that do not decode as GBK survive.
#include "DocumentStore.h"
#include "EditText.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// Bytes [Begin, End) of shown chunk Chunk (1-based).
struct ChunkRange {
    int Chunk;
    std::uint32_t Begin;
    std::uint32_t End;
};

// What one editing box was filled from.
struct EditBoxSource {
    std::vector<ChunkRange> Ranges; // in document order; consecutive lines of a chunk merged
    std::string Bytes;              // the bytes of the ranges, one after the other
    EditText Decoded;               // what the box shows
};

class PageEdit {
public:
    // The edit variant of the page-pair cut: for each shown line, the bytes of its chunk from
    // the start of that display line to the start of the next (to the chunk's end for its last
    // line), so a wrapped line brings no line break and a paragraph's last line its CR LF.
    // Sets FirstLine. A right page past the end of the document holds no line; text typed into
    // it goes after the left page's last line.
    static PageEdit Begin(DocumentStore& store);

    const EditBoxSource& Left() const { return Boxes[0]; }
    const EditBoxSource& Right() const { return Boxes[1]; }

    // Puts the boxes' texts back. The shown chunks receive what was typed; the raw chunks
    // receive it too, in the raw chunk's code as the conversion passes that made the shown
    // chunk found it (store.ShownCodeChange), so the edit survives a re-run of the processing
    // passes. Nothing in the store changes when the save is refused; the result is then the
    // warning to show.
    std::optional<std::string> Save(DocumentStore& store, std::u16string_view left,
                                    std::u16string_view right) const;

private:
    struct Splice {
        int Chunk;
        std::uint32_t Begin;
        std::uint32_t End;
        std::string Text; // GBK bytes as typed
    };
    using SpliceIt = std::vector<Splice>::const_iterator;
    static void ApplySplices(DocumentStore& store, int k, SpliceIt first, SpliceIt last);
    static void AddLine(DocumentStore& store, int g, EditBoxSource& box);
    std::optional<std::string> SplicesFor(int box, std::u16string_view text,
                                          std::vector<Splice>& out) const;
    std::optional<std::string> SpliceRun(const EditBoxSource& source, std::size_t oldBegin,
                                         std::size_t oldEnd, std::u16string_view typed,
                                         std::vector<Splice>& out) const;
    bool StillShown(const DocumentStore& store) const;

    EditBoxSource Boxes[2];
    std::vector<Chunk> ShownAtBegin; // the shown chunks the ranges refer to
};
