#pragma once
// One pass over a document's chunks: every chunk processed by itself, one progress step per
// chunk. A chunk the operation leaves as it was keeps sharing its bytes.
#include "DocumentStore.h"
#include "ProgressWindow.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

// A chunk's new text, or nothing when the pass leaves the chunk as it was.
using PassOutcome = std::optional<std::string>;

inline PassOutcome IfChanged(std::string processed, std::string_view text) {
    if (processed == text)
        return std::nullopt;
    return processed;
}

template <class Operation>
void RunChunkPass(std::vector<Chunk>& chunks, ProgressWindow& progress, const char* caption,
                  Operation operation) {
    const int count = static_cast<int>(chunks.size());
    progress.InitShowMess(0, count, caption);
    for (int k = 1; k <= count; ++k) {
        progress.ShowMessPos(k);
        const Chunk chunk = chunks[k - 1];
        PassOutcome processed = operation(std::string_view(*chunk));
        chunk->LetGo();
        if (processed)
            chunks[k - 1] = MakeChunk(std::move(*processed));
    }
    progress.CloseShowMess();
}
