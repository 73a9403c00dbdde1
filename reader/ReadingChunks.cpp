#include "ReadingChunks.h"

#include "base/FileTest.h"
#include "text/Chunking.h"
#include "text/Encoding.h"
#include "text/Gb2Big5.h"

std::vector<Chunk> ToReadingChunks(std::vector<Chunk> fileChunks, bool html,
                                   EncodingChoice choice) {
    if (choice == EncodingChoice::Big5) {
        // The conversion keeps every length, so the chunks stay cut where they were.
        for (Chunk& chunk : fileChunks)
            chunk = MakeChunk(Big5ToGb(*chunk));
        return fileChunks;
    }
    ReadingBytesBuilder builder(html, choice);
    for (const Chunk& chunk : fileChunks) {
        builder.Feed(*chunk);
        chunk->LetGo();
    }
    if (IsReadAsIs(builder.Finish()))
        return fileChunks;
    fileChunks.clear();
    const std::string text = builder.TakeText();
    std::vector<std::string_view> parts = CutChunks(text, NoChunkLimit);
    // The text is never longer than the file, whose size is within the limit, except where
    // malformed bytes of a declared UTF document each became "□"; what then exceeds the store
    // is dropped, as for RTF.
    if (parts.size() > MaxChunks)
        parts.resize(MaxChunks);
    std::vector<Chunk> chunks;
    chunks.reserve(parts.size());
    for (std::string_view part : parts)
        chunks.push_back(MakeChunk(std::string(part)));
    return chunks;
}

bool IsHtmlName(std::string_view name) {
    return ExtensionIs(name, ".htm") || ExtensionIs(name, ".html");
}
