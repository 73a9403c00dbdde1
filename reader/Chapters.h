#pragma once
// The chapters of the open document, found in its shown chunks as they are (so a BIG5 document
// shown unconverted is read in BIG5), and the places of the shown text they point at.
#include "DocumentStore.h"
#include "HitScan.h"
#include "text/ChapterFinder.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// BIG5 when the first shown chunk is judged BIG5, else GB.
TextCode ShownTextCode(const std::vector<Chunk>& shown);

struct ChapterList {
    std::vector<Chapter> Chapters;
    bool PatternValid = true; // false: the user's pattern is no regular expression
    bool Headings = false;    // the chapters are headings, not sections of a fixed size
};

// The headings of the shown chunks by the built-in rules, or the lines `userPattern` (UTF-8)
// finds when it is not empty.
ChapterList FindDocumentChapters(const std::vector<Chunk>& shown, TextCode code,
                                 std::string_view userPattern = {});

// The chapter's title bytes, which may lie on both sides of a chunk border.
std::string ChapterTitle(const std::vector<Chunk>& shown, const Chapter& chapter);

// An offset of the shown text, the chunks counted as one text, as a chunk and a byte in it.
ChunkPlace PlaceOfOffset(const std::vector<Chunk>& shown, std::uint64_t offset);
std::uint64_t OffsetOfPlace(const std::vector<Chunk>& shown, ChunkPlace place);

// The chapter that holds an offset (the last one that begins at or before it), or -1.
int ChapterAt(const std::vector<Chapter>& chapters, std::uint64_t offset);
