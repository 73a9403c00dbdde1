#pragma once
// The open document: up to 89 chunks of at most 250000 bytes, each kept as loaded (raw), as
// processed (shown) and as display lines, plus the pagination over all chunks together. A
// pagination may stop after the first chunks and wrap the rest later: the lines and pages it
// counts are then those of the chunks wrapped so far.
#include "ChunkBytes.h"
#include "ProgressWindow.h"
#include "WrapLines.h"
#include "text/Chunking.h"

#include <climits>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

// What the conversion passes did to a chunk's code on its way from raw to shown: nothing, or
// read it as one code and wrote it in the other.
enum class CodeChange : unsigned char { None, Big5ToGb, GbToBig5 };

// The progress caption of pagination.
inline constexpr char CaptionInitBook[] = "初始化书本";

// What pagination needs from the book's layout and the page font.
struct PageFormat {
    double WrapWidth = 0; // the page width less the text box's borders and margins
    int PageHeight = 0;
    int TestHeight = 0; // height of four page lines as a page label draws them
    bool DoubleSpacing = false;
    PunctuationRule Punctuation = PunctuationRule::Off;

    bool operator==(const PageFormat&) const = default;
};

class DocumentStore {
public:
    // The chunks the file opening cuts (text/Chunking.h holds the values).
    static constexpr int ChunkSize = static_cast<int>(::ChunkSize);
    static constexpr int MaxChunks = static_cast<int>(::MaxChunks);

    // Chunk k (1-based, as everywhere in the store) is element k - 1. A shown chunk that no
    // pass changed shares its raw chunk's bytes.
    std::vector<Chunk> RawChunk;
    std::vector<Chunk> ShownChunk;
    std::vector<WrappedText> MemoChunk;
    // For each chunk, what the conversion passes did when the shown chunks were last made; an
    // edit goes back into the raw chunk in the raw chunk's own code. Missing entries are None.
    std::vector<CodeChange> ShownCodeChange;

    std::string DocumentName; // the recent-list text of the document; empty for the help text
    int ChunkCount = 0;
    int CurrentChunk = 1;
    int LinesThroughCurrent = 0;
    int TotalLines = 0;
    int FirstLine = 0;
    int LinesPerPage = 0;
    int PageCount = 0;
    int CurrentPage = 0;
    int PreviousPage = 0;
    std::int64_t CharCount = 0;
    int TestHeight = 0;
    // Chunks 1 to WrappedChunks have display lines at the format of the last pagination.
    int WrappedChunks = 0;

    // Makes `chunks` the raw and shown text (an empty list gives one empty chunk); the line
    // cursor goes back to chunk 1.
    void SetChunks(std::vector<Chunk> chunks);
    // Gives every chunk that views the file at `path` bytes of its own, so that writing over that
    // file leaves the text as it is.
    void OwnChunksOfFile(const std::string& path);
    // The built-in help text as the only chunk, for when no document is open.
    void SetHelpText(std::string_view lines);

    // Wraps the shown chunks and counts lines and pages; the shown pair goes back to page 1. Only
    // the chunks up to `throughChunk` are wrapped now: WrapMore wraps the others.
    void Paginate(const PageFormat& format, CharWidthCache& widths, ProgressWindow& progress,
                  int throughChunk = MaxChunks);
    // Wraps the chunks after the wrapped ones until `throughLine` lines are wrapped or every
    // chunk is, at the format and widths the last Paginate was given; the counts grow with them.
    void WrapMore(const PageFormat& format, CharWidthCache& widths, ProgressWindow& progress,
                  int throughLine = INT_MAX);
    bool AllWrapped() const { return WrappedChunks >= ChunkCount; }

    struct LineRef {
        int Chunk; // 1-based
        int Index; // 0-based line inside the chunk
    };
    // Document line g (1-based); moves the lookup cursor from where it was.
    LineRef LineAt(int g);
    std::string_view LineText(int g);

    // Clamps n to the pages, remembers the page shown before and makes the left page odd.
    void GoToPage(int n);

private:
    int LinesOf(int k) const { return MemoChunk[k - 1].LineCount(); }
    void WrapChunks(const PageFormat& format, CharWidthCache& widths, ProgressWindow& progress,
                    int throughChunk, int throughLine);
    // The code of shown chunk k as line breaking takes its marks from.
    TextCode CodeOf(int k);

    // Each shown chunk last judged for its code, and the result: judging reads the whole chunk,
    // so it is done again only for a chunk whose bytes changed since.
    std::vector<std::pair<Chunk, TextCode>> JudgedCodes;
};
