#include "ReadingPlace.h"

#include <algorithm>

double ShownShare(DocumentStore& store) {
    if (store.CharCount <= 0 || store.LinesPerPage < 1)
        return 0;
    const DocumentStore::LineRef ref =
        store.LineAt((store.CurrentPage - 1) * store.LinesPerPage + 1);
    std::int64_t before = 0;
    for (int k = 1; k < ref.Chunk; ++k)
        before += static_cast<std::int64_t>(store.ShownChunk[k - 1]->size());
    before += store.MemoChunk[ref.Chunk - 1].LineStart(ref.Index);
    return static_cast<double>(before) / static_cast<double>(store.CharCount);
}

int PageAtShare(DocumentStore& store, double share) {
    if (store.LinesPerPage < 1 || store.ChunkCount < 1)
        return 1;
    auto offset = static_cast<std::int64_t>(std::clamp(share, 0.0, 1.0) *
                                            static_cast<double>(store.CharCount));
    int lines = 0;
    int k = 1;
    for (; k < store.ChunkCount; ++k) {
        const auto size = static_cast<std::int64_t>(store.ShownChunk[k - 1]->size());
        if (offset < size)
            break;
        offset -= size;
        lines += store.MemoChunk[k - 1].LineCount();
    }
    const int line =
        lines + store.MemoChunk[k - 1].LineOfOffset(static_cast<std::uint32_t>(offset));
    return line / store.LinesPerPage + 1;
}
