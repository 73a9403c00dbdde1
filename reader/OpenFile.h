#pragma once
// Reading a document file into chunks. Nothing here touches the open document: the chunks are
// handed back only when the whole file was read, so a failed open leaves the shown book as it
// was.
#include "DocumentStore.h"
#include "ProgressWindow.h"
#include "UserMessage.h"
#include "text/Encoding.h"

#include <optional>
#include <string>
#include <vector>

// What reading a file gave: its chunks, or the message that tells the user why it was refused.
struct OpenedFile {
    std::optional<std::vector<Chunk>> Chunks;
    std::optional<UserMessage> Message;
};

// The file's chunks: RTF files as their plain text, UTF-8 and UTF-16 documents transcoded to
// GB18030, every other file byte for byte; `choice` names the encoding in place of recognition
// (RTF names its own). The size limit holds for the file's bytes. Refuses
// missing files and files over MaxDocumentBytes, and read errors, each with its message.
OpenedFile OpenFile(const std::string& path, ProgressWindow& progress,
                    EncodingChoice choice = EncodingChoice::Auto);
