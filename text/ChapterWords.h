#pragma once
// The words chapter headings are made of (第, the numerals, the units 章 回 节 卷..., the
// special headings 楔子 尾声...) and the punctuation around them, as character codes of the
// document's own code. A BIG5 document that was not converted holds BIG5 bytes, so each word is
// looked up in the table of the code the caller names.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "GbkText.h"
#include "TextCode.h"
#include "ZeroedTable.h"

namespace chapters {

// A character of the text: one byte, or a lead byte and its trail byte.
struct TextChar {
    std::uint16_t Code;
    std::uint8_t Length;
};

// The one place the chapter code steps through text by character.
inline TextChar CharAt(std::string_view text, std::size_t pos) {
    const gbk::Char c = gbk::CharAt(text, pos);
    // Every heading word fits two bytes, so a four-byte character is none of them: it reads as
    // code 0, which the word table leaves empty (and which keeps table lookups in bounds).
    return {c.Length == 4 ? std::uint16_t{0} : static_cast<std::uint16_t>(c.Code), c.Length};
}

// The rules a heading can match; the units' rules first, in the order of Units.
enum Rule : std::uint8_t {
    RuleZhang,
    RuleHui,
    RuleJie,
    RuleJi,
    RuleBu,
    RulePian,
    RuleHua,
    RuleJuan,
    RuleSpecial,
    RuleCount
};

inline bool IsVolumeRule(int rule) {
    return rule == RuleBu || rule == RuleJuan;
}

enum WordFlag : std::uint16_t {
    Space = 1 << 0,   // ASCII or full-width space, tab
    Di = 1 << 1,      // 第
    Numeral = 1 << 2, // Value: a digit, or 10, 100, 1000, 10000 for the multipliers
    Unit = 1 << 3,    // Value: its rule
    SpecialStart = 1 << 4,
    Separator = 1 << 5,   // what may stand between a heading's number and its title
    SentenceEnd = 1 << 6, // what ends a sentence rather than a title
    Closing = 1 << 7,     // what a paragraph's last line ends with
};

struct Word {
    std::uint16_t Flags = 0;
    std::uint16_t Value = 0;
    std::uint8_t ExcludedAfter = 0; // the rules (bit per rule) this character may not follow
};

class ChapterWords {
public:
    // The words of one code, made once and shared.
    static const ChapterWords& For(TextCode code);

    const Word& Of(std::uint16_t code) const { return Table[code]; }
    const Word& Of(TextChar c) const { return Table[c.Code]; }
    // The special headings (楔子, 尾声, ...) as bytes, and whether each may run into its title.
    struct Special {
        std::string Bytes;
        bool TitleFollows;
    };
    const std::vector<Special>& Specials() const { return SpecialWords; }

private:
    explicit ChapterWords(TextCode code);
    ZeroedTable<Word> Table; // by code; few characters are words, so most entries stay zero
    std::vector<Special> SpecialWords;
};

// The characters of `text`, counted up to `limit` + 1 at most.
std::size_t CountChars(std::string_view text, std::size_t limit);

// The longest start of `text` that holds at most `limit` characters and ends on a character.
std::string_view FirstChars(std::string_view text, std::size_t limit);

// Text of the given code as UTF-8 (traditional characters kept for BIG5), bytes that are no
// character of the code as U+FFFD.
std::string TextToUtf8(std::string_view text, TextCode code);

// UTF-8 text in the given code, or nothing when the code lacks one of its characters.
std::optional<std::string> Utf8ToText(std::string_view utf8, TextCode code);

} // namespace chapters
