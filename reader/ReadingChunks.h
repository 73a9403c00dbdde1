#pragma once
// The chunks a reader works on from the chunks read off the disk: a document recognised as
// UTF-8 or UTF-16 is transcoded to GBK and cut again, exactly where the GBK file of the same
// text would be cut; any other document keeps the chunks as read.
#include "DocumentStore.h"

#include <string_view>
#include <vector>

std::vector<Chunk> ToReadingChunks(std::vector<Chunk> fileChunks, bool html);

// Whether a file name is an HTML document's, whose charset declaration counts.
bool IsHtmlName(std::string_view name);
