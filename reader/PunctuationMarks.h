#pragma once
// The punctuation marks that line breaking keeps off the start and the end of a line (标点避头尾),
// in both double-byte codes a document may be held in.
#include "text/PunctuationRule.h"
#include "text/TextCode.h"

#include <cstdint>
#include <span>

// What a character is to line breaking; a character may be more than one of these.
enum MarkKind : std::uint8_t {
    NoMark = 0,
    ClosingMark = 1,      // never starts a line
    OpeningMark = 2,      // never ends a line
    PairedMark = 4,       // strict: two alike ("——", "……") stay on one line
    WideAlphanumeric = 8, // strict: full-width digits and letters in a row stay on one line
};

// `Count` characters from `First`, at consecutive codes from `Gb` and from `Big5` (high byte
// first; 0 where BIG5 has no such characters).
struct MarkRange {
    char32_t First;
    std::uint8_t Count;
    std::uint16_t Gb;
    std::uint16_t Big5;
    std::uint8_t Kinds;
};

// Every mark line breaking knows, with its bytes in each code.
std::span<const MarkRange> PunctuationMarks();

// The kinds of every two-byte code (lead << 8 | trail) of a text in `code`, filled once from
// the table: 65536 entries.
const std::uint8_t* MarkKinds(TextCode code);
