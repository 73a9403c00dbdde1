#include "DocumentStore.h"

#include <algorithm>
#include <cmath>

void DocumentStore::SetChunks(std::vector<Chunk> chunks) {
    if (chunks.empty())
        chunks.push_back(MakeChunk({}));
    RawChunk = std::move(chunks);
    ShownChunk = RawChunk;
    ShownCodeChange.assign(RawChunk.size(), CodeChange::None);
    ChunkCount = static_cast<int>(RawChunk.size());
    MemoChunk.assign(ChunkCount, WrappedText());
    CurrentChunk = 1;
    LinesThroughCurrent = 1;
}

void DocumentStore::SetHelpText(std::string_view lines) {
    DocumentName.clear();
    SetChunks({MakeChunk(std::string(lines))});
}

void DocumentStore::Paginate(const PageFormat& format, CharWidthCache& widths,
                             ProgressWindow& progress) {
    progress.InitShowMess(0, ChunkCount, CaptionInitBook);
    CharCount = 0;
    for (int k = 1; k <= ChunkCount; ++k)
        CharCount += static_cast<std::int64_t>(ShownChunk[k - 1]->size());
    MemoChunk.resize(ChunkCount);
    for (int k = 1; k <= ChunkCount; ++k) {
        progress.ShowMessPos(k);
        MemoChunk[k - 1] = WrapLines(*ShownChunk[k - 1], widths, format.WrapWidth);
    }
    TestHeight = format.TestHeight;
    CurrentChunk = std::clamp(CurrentChunk, 1, ChunkCount);
    LinesThroughCurrent = 0;
    for (int k = 1; k <= CurrentChunk; ++k)
        LinesThroughCurrent += LinesOf(k);

    LinesPerPage = TestHeight > 0
                       ? static_cast<int>(std::trunc(double(format.PageHeight) / TestHeight * 4))
                       : 1;
    if (format.DoubleSpacing)
        LinesPerPage /= 2;
    LinesPerPage = std::max(LinesPerPage, 1);

    TotalLines = 0;
    for (int k = 1; k <= ChunkCount; ++k)
        TotalLines += LinesOf(k);

    const int oldPage = CurrentPage, oldCount = PageCount;
    PreviousPage = 1;
    PageCount = std::max(1, (TotalLines + LinesPerPage - 1) / LinesPerPage);
    if (oldCount == 0) {
        CurrentPage = 1;
    } else {
        // Keep the place in proportion; the last page maps to page 1, as the book always did.
        const int page = static_cast<int>(std::trunc(double(oldPage) / oldCount * PageCount));
        CurrentPage = (page <= 0 || page >= PageCount) ? 1 : page;
    }
    progress.CloseShowMess();
}

DocumentStore::LineRef DocumentStore::LineAt(int g) {
    while (g > LinesThroughCurrent && CurrentChunk < ChunkCount) {
        ++CurrentChunk;
        LinesThroughCurrent += LinesOf(CurrentChunk);
    }
    while (LinesThroughCurrent - LinesOf(CurrentChunk) >= g && CurrentChunk > 1) {
        LinesThroughCurrent -= LinesOf(CurrentChunk);
        --CurrentChunk;
    }
    return {CurrentChunk, LinesOf(CurrentChunk) + g - LinesThroughCurrent - 1};
}

std::string_view DocumentStore::LineText(int g) {
    if (ChunkCount == 0)
        return {};
    const LineRef ref = LineAt(g);
    return MemoChunk[ref.Chunk - 1].LineText(*ShownChunk[ref.Chunk - 1], ref.Index);
}

void DocumentStore::GoToPage(int n) {
    if (n > PageCount)
        n = PageCount;
    if (n < 1)
        n = 1;
    PreviousPage = CurrentPage;
    CurrentPage = (n % 2 == 0) ? n - 1 : n;
}
