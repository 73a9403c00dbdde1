#include "SaveText.h"

#include "AtomicFile.h"
#include "ReadFailure.h"

std::string SaveFailedText(const std::string& path, int error) {
    return WriteFailedText(SaveProgressCaption, path, error);
}

std::optional<UserMessage> SaveDocumentText(const DocumentStore& store, const std::string& path,
                                            ProgressWindow& progress) {
    std::vector<std::string_view> pieces;
    for (int k = 1; k <= store.ChunkCount; ++k) {
        const Chunk& shown = store.ShownChunk[static_cast<std::size_t>(k - 1)];
        pieces.push_back(shown ? std::string_view(*shown) : std::string_view());
    }
    progress.InitShowMess(0, store.ChunkCount, SaveProgressCaption);
    const int error = WriteWholeFile(
        path, pieces, [&](std::size_t i) { progress.ShowMessPos(static_cast<int>(i) + 1); });
    progress.CloseShowMess();
    if (error == 0)
        return std::nullopt;
    return WarningMessage(SaveFailedText(path, error));
}
