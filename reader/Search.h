#pragma once
// Searching the open document: forward from the shown page pair to the end, never wrapping.
// The text is GB bytes, so a match must begin where a character begins (a trail byte can be an
// ASCII letter or any other single-byte code, and a four-byte character holds two digits), and
// letter case is folded only for single-byte letters, never for trail bytes.
#include "DocumentStore.h"
#include "UserMessage.h"

#include <optional>
#include <string>
#include <string_view>

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

// "A" to "Z" as "a" to "z", only where a character of one byte stands; the bytes of longer
// characters are kept as they are.
std::string FoldLetters(std::string_view text);

// The first new hit of `pattern` (GB bytes, not empty) at or after the first line of the shown
// pair, or nothing. Hits that cross a chunk border count; each chunk is folded at most once.
std::optional<SearchHit> DoSearch(DocumentStore& store, std::string_view pattern, bool matchCase,
                                  const SearchStart& start);

// What the reader is told when nothing new was found; `utf8` is the text as typed, shown with
// its letters folded when case does not matter, as it was searched.
UserMessage NotFoundMessage(std::string_view utf8, bool matchCase);
