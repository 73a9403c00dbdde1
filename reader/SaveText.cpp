#include "SaveText.h"

#include "base/AtomicFile.h"

std::string SaveFailedText(const std::string& path) {
    return "保存文件 " + path + " 失败！\r\n请检查磁盘是否错误。";
}

std::optional<UserMessage> SaveDocumentText(const DocumentStore& store, const std::string& path,
                                            ProgressWindow& progress) {
    std::vector<std::string_view> pieces;
    for (int k = 1; k <= store.ChunkCount; ++k) {
        const Chunk& shown = store.ShownChunk[static_cast<std::size_t>(k - 1)];
        pieces.push_back(shown ? std::string_view(*shown) : std::string_view());
    }
    progress.InitShowMess(0, store.ChunkCount, SaveProgressCaption);
    const bool saved = WriteFileAtomically(
        path, pieces, [&](std::size_t i) { progress.ShowMessPos(static_cast<int>(i) + 1); });
    progress.CloseShowMess();
    if (saved)
        return std::nullopt;
    return WarningMessage(SaveFailedText(path));
}
