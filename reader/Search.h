#pragma once
// Searching the open document: forward from the shown page pair to the end, never wrapping;
// back from a place; or every hit at once, for the list of hits. Hits are found as HitScan.h
// finds them.
#include "DocumentStore.h"
#include "HitScan.h"
#include "UserMessage.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

// Where the reading underline is when the search starts. A hit counts as new when it lies below
// the underline on the shown pair, or on a later pair.
struct SearchStart {
    bool UnderlineShown = false;
    bool UnderlineOnRightPage = false;
    int UnderlineLine = 1;
};

// The page that holds a hit and the 1-based line on that page that holds its first byte.
struct SearchHit {
    int Page = 0;
    int LineInPage = 0;
};

// The search text as the document's bytes: the GB18030 encoding of `utf8`, every character kept;
// nothing when `utf8` is malformed.
std::optional<std::string> SearchBytes(std::string_view utf8);

// The first new hit of `pattern` (GB bytes, not empty) at or after the first line of the shown
// pair, or nothing. Hits that cross a chunk border count; each chunk is folded at most once.
std::optional<SearchHit> DoSearch(DocumentStore& store, std::string_view pattern, bool matchCase,
                                  const SearchStart& start);

// Every hit of `pattern` in the chunks, in text order.
std::vector<ChunkPlace> FindAll(const std::vector<Chunk>& chunks, std::string_view pattern,
                                bool matchCase);

// The last hit that begins before `before`, or nothing. Chunks are searched back from the one
// that holds `before`, so a hit near it costs about one chunk.
std::optional<ChunkPlace> FindPrevious(const std::vector<Chunk>& chunks, std::string_view pattern,
                                       bool matchCase, ChunkPlace before);

// The page of a paginated document that holds a hit, and the line on it of the hit's first byte.
SearchHit PlaceOfHit(const DocumentStore& store, ChunkPlace hit);

// What the reader is told when nothing new was found; `utf8` is the text as typed, shown with
// its letters folded when case does not matter, as it was searched.
UserMessage NotFoundMessage(std::string_view utf8, bool matchCase);
