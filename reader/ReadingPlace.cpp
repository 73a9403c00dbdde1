#include "ReadingPlace.h"

#include <algorithm>
#include <cmath>

double ShareBefore(const DocumentStore& store, const TextPosition& place) {
    if (store.CharCount <= 0)
        return 0;
    std::int64_t before = place.Offset;
    for (int k = 1; k < place.Chunk && k <= store.ChunkCount; ++k)
        before += static_cast<std::int64_t>(store.ShownChunk[k - 1]->size());
    return std::clamp(static_cast<double>(before) / static_cast<double>(store.CharCount), 0.0,
                      1.0);
}

TextPosition PositionAtShare(const DocumentStore& store, double share) {
    if (store.ChunkCount < 1)
        return {};
    auto offset = static_cast<std::int64_t>(
        std::llround(std::clamp(share, 0.0, 1.0) * static_cast<double>(store.CharCount)));
    int k = 1;
    for (; k < store.ChunkCount; ++k) {
        const auto size = static_cast<std::int64_t>(store.ShownChunk[k - 1]->size());
        if (offset < size)
            break;
        offset -= size;
    }
    const auto last = static_cast<std::int64_t>(store.ShownChunk[k - 1]->size());
    return {k, static_cast<std::uint32_t>(std::min(offset, last))};
}
