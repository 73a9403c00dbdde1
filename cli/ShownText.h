#pragma once
// The text the reader shows for a file's bytes, made by the reader's own steps: UTF text
// transcoded to GB, the bytes cut into chunks as an open cuts them, then the text passes.
#include "reader/DocumentStore.h"
#include "reader/TextOptions.h"

#include <string>
#include <string_view>
#include <vector>

// Sets the conversion switches for one of the modes of convert (--big5-to-gb, --gb-to-big5,
// --auto-gb, --auto-big5, --to-gb); false for any other option.
bool ApplyMode(std::string_view option, TextOptions& passes);

// The shown chunks of `bytes` (already the reading bytes): line ends made CR LF first when
// `normalize`, as every open does, then the passes `passes` asks for. Past the reader's size
// limit the text simply gets more chunks; the reader would refuse such a file.
std::vector<Chunk> ShownChunks(std::string bytes, const TextOptions& passes, bool normalize);
