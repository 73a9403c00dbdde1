#pragma once
// Reading a document file into chunks. Nothing here touches the open document: the chunks are
// handed back only when the whole file was read, so a failed open leaves the shown book as it
// was.
#include "DocumentStore.h"
#include "ProgressWindow.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

inline constexpr std::int64_t MaxDocumentBytes =
    std::int64_t{DocumentStore::MaxChunks} * DocumentStore::ChunkSize;

// True when a file named `path` exists; otherwise warns (naming `archive` instead of the
// path when the file was to be extracted from that archive) and gives false.
bool isFileExist(const std::string& path, const std::string& archive = {});

// The file's chunks: RTF files as their plain text, UTF-8 and UTF-16 documents transcoded to
// GBK, every other file byte for byte. The size limit holds for the file's bytes. Refuses
// missing files and files over MaxDocumentBytes, and reports read errors, with their messages.
std::optional<std::vector<Chunk>> OpenFile(const std::string& path, ProgressWindow& progress);
