#pragma once
// The chunks a reader works on from the chunks read off the disk: a document recognised as
// UTF-8 or UTF-16 (recognised or chosen) is transcoded to GB18030 and cut again, exactly where
// the GB18030 file of the same text would be cut; a document chosen as BIG5 is converted to GB
// chunk by chunk; any other document keeps the chunks as read.
#include "DocumentStore.h"
#include "text/Encoding.h"

#include <string_view>
#include <vector>

std::vector<Chunk> ToReadingChunks(std::vector<Chunk> fileChunks, bool html,
                                   EncodingChoice choice = EncodingChoice::Auto);

// Whether a file name is an HTML document's, whose charset declaration counts.
bool IsHtmlName(std::string_view name);
