#include "DocumentStore.h"

#include "text/Gb2Big5.h"

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
    JudgedCodes.clear(); // so the last document's chunks are not held
    WrappedChunks = 0;
    CurrentChunk = 1;
    LinesThroughCurrent = 1;
}

void DocumentStore::SetHelpText(std::string_view lines) {
    DocumentName.clear();
    SetChunks({MakeChunk(std::string(lines))});
}

TextCode DocumentStore::CodeOf(int k) {
    JudgedCodes.resize(ChunkCount);
    auto& [chunk, code] = JudgedCodes[k - 1];
    if (chunk != ShownChunk[k - 1]) {
        chunk = ShownChunk[k - 1];
        code = IsBig5Text(*chunk) ? TextCode::Big5 : TextCode::Gb;
    }
    return code;
}

void DocumentStore::Paginate(const PageFormat& format, CharWidthCache& widths,
                             ProgressWindow& progress, int throughChunk) {
    CharCount = 0;
    for (int k = 1; k <= ChunkCount; ++k)
        CharCount += static_cast<std::int64_t>(ShownChunk[k - 1]->size());
    TestHeight = format.TestHeight;
    LinesPerPage = TestHeight > 0
                       ? static_cast<int>(std::trunc(double(format.PageHeight) / TestHeight * 4))
                       : 1;
    if (format.DoubleSpacing)
        LinesPerPage /= 2;
    LinesPerPage = std::max(LinesPerPage, 1);

    MemoChunk.assign(ChunkCount, WrappedText());
    WrappedChunks = 0;
    TotalLines = 0;
    WrapChunks(format, widths, progress, std::max(throughChunk, 1), 0);
    CurrentChunk = 1;
    LinesThroughCurrent = LinesOf(1);
    // The pages start again at 1; the reading pipeline then shows the pair of its place.
    PreviousPage = 1;
    CurrentPage = 1;
}

void DocumentStore::WrapMore(const PageFormat& format, CharWidthCache& widths,
                             ProgressWindow& progress, int throughLine) {
    WrapChunks(format, widths, progress, 0, throughLine);
}

void DocumentStore::WrapChunks(const PageFormat& format, CharWidthCache& widths,
                               ProgressWindow& progress, int throughChunk, int throughLine) {
    auto wanted = [&] {
        return !AllWrapped() && (WrappedChunks < throughChunk || TotalLines < throughLine);
    };
    if (!wanted())
        return;
    progress.InitShowMess(WrappedChunks, ChunkCount, CaptionInitBook);
    while (wanted()) {
        const int k = WrappedChunks + 1;
        progress.ShowMessPos(k);
        // The box may have let a resize in, which paginated again: go on from where that left.
        if (k != WrappedChunks + 1)
            continue;
        const TextCode code = format.Punctuation == PunctuationRule::Off ? TextCode::Gb : CodeOf(k);
        MemoChunk[k - 1] =
            WrapLines(*ShownChunk[k - 1], widths, format.WrapWidth, format.Punctuation, code);
        ShownChunk[k - 1]->LetGo();
        WrappedChunks = k;
        TotalLines += LinesOf(k);
    }
    PageCount = std::max(1, (TotalLines + LinesPerPage - 1) / LinesPerPage);
    progress.CloseShowMess();
}

void DocumentStore::OwnChunksOfFile(const std::string& path) {
    for (std::size_t i = 0; i < RawChunk.size(); ++i) {
        if (!RawChunk[i]->ViewsFileAt(path))
            continue;
        const Chunk owned = MakeChunk(RawChunk[i]->String());
        if (i < ShownChunk.size() && ShownChunk[i] == RawChunk[i])
            ShownChunk[i] = owned;
        RawChunk[i] = owned;
    }
}

DocumentStore::LineRef DocumentStore::LineAt(int g) {
    while (g > LinesThroughCurrent && CurrentChunk < WrappedChunks) {
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
