#pragma once
// Conversion between the two Chinese double-byte codes, GB2312 ("GB") and BIG5, by table lookup
// one character at a time, and the byte count that tells which of the two a text uses.
// Conversion never fails and never changes a length: a double-byte character becomes exactly
// two bytes (two ASCII spaces when the other code has no counterpart), every other byte is
// copied, so the result is always as long as the text. A four-byte GB18030 character is taken
// whole: BIG5 to GB and the detection pass it through, GB to BIG5 turns it into four spaces.
#include <cstdint>
#include <string>
#include <string_view>

// A GB character: first byte A1-F7, second byte A1-FE.
constexpr bool IsGbChar(unsigned char b1, unsigned char b2) {
    return b1 >= 0xA1 && b1 <= 0xF7 && b2 >= 0xA1 && b2 <= 0xFE;
}

// A BIG5 character: first byte 81-FE, second byte 40-7E or A1-FE.
constexpr bool IsBig5Char(unsigned char b1, unsigned char b2) {
    return b1 >= 0x81 && b1 <= 0xFE && ((b2 >= 0x40 && b2 <= 0x7E) || (b2 >= 0xA1 && b2 <= 0xFE));
}

// Position of a GB character in GbBig5Table, 0 to 8177.
constexpr int GbCharIndex(unsigned char b1, unsigned char b2) {
    return (b1 - 0xA1) * 94 + (b2 - 0xA1);
}

// Position of a BIG5 character in Big5GbTable; usable only from 0 to 14757 (first bytes A1-FE).
// A first byte 81-A0 gives a negative index: such a character has no entry.
constexpr int Big5CharIndex(unsigned char b1, unsigned char b2) {
    const int column = b2 <= 0x7E ? b2 - 0x40 : b2 - 0xA1 + 63;
    return (b1 - 0xA1) * 157 + column;
}

// A table code as the two bytes it stands for, high byte first.
inline std::string CodeToChars(std::uint16_t code) {
    return {static_cast<char>(code >> 8), static_cast<char>(code & 0xFF)};
}

// Every BIG5 character with a table index replaced by its GB counterpart. A pair that passes
// the BIG5 test without an index (first byte 81-A0) is no character: its first byte is copied
// and the scan goes on at its second byte.
std::string Big5ToGb(std::string_view text);
// Every GB character replaced by its BIG5 counterpart.
std::string GbToBig5(std::string_view text);

// True when the text is judged BIG5: when the bytes outside single ASCII characters are more
// than 1.4 times the bytes of GB characters. An empty or pure-ASCII text is judged GB.
bool IsBig5Text(std::string_view text);

// The text in GB: converted if it is judged BIG5, else unchanged.
std::string ToGb(std::string_view text);
// The text in BIG5: unchanged if it is judged BIG5, else converted.
std::string ToBig5(std::string_view text);
