#pragma once
// Walking and decoding GB18030 byte text, the code every document is held in from reading to
// drawing. GB18030 is GBK for every GBK character (one byte, or a lead byte and a trail byte)
// and holds the rest of Unicode in four-byte characters, so a GBK text walks and decodes as it
// always did. Document text stays in bytes everywhere; it is decoded to Unicode only to be
// measured and drawn.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace gbk {

// A character of byte text: one byte, a lead byte and its trail byte, or four bytes.
struct Char {
    // The byte itself, (lead << 8) | trail, or the four bytes high byte first.
    std::uint32_t Code;
    std::uint8_t Length; // 1, 2 or 4
};

inline bool IsLeadByte(unsigned char b) {
    return b >= 0x81 && b <= 0xFE;
}
inline bool IsTrailByte(unsigned char b) {
    return b >= 0x40 && b <= 0xFE && b != 0x7F;
}
// The second and the fourth byte of a four-byte character.
inline bool IsFourByteDigit(unsigned char b) {
    return b >= 0x30 && b <= 0x39;
}
// Whether a byte may stand anywhere but first in a character. A byte that may not always starts
// one, which lets a scan find a character start by looking back only a little.
inline bool MayFollowLead(unsigned char b) {
    return IsTrailByte(b) || IsFourByteDigit(b);
}

// How long the character at `pos` is (pos < size): 4 for a lead byte, a digit, a lead byte and a
// digit; 2 for a lead byte and a trail byte; else 1. A lead byte that starts neither stands
// alone, so a damaged character never swallows a line break. Every scan of byte text steps by
// this.
inline std::size_t CharLength(const unsigned char* bytes, std::size_t pos, std::size_t size) {
    if (!IsLeadByte(bytes[pos]) || pos + 1 >= size)
        return 1;
    const unsigned char second = bytes[pos + 1];
    if (IsTrailByte(second))
        return 2;
    if (IsFourByteDigit(second) && pos + 3 < size && IsLeadByte(bytes[pos + 2]) &&
        IsFourByteDigit(bytes[pos + 3]))
        return 4;
    return 1;
}
inline std::size_t CharLength(std::string_view text, std::size_t pos) {
    return CharLength(reinterpret_cast<const unsigned char*>(text.data()), pos, text.size());
}

// The character at `pos` (pos < text.size()).
inline Char CharAt(std::string_view text, std::size_t pos) {
    const auto* p = reinterpret_cast<const unsigned char*>(text.data()) + pos;
    switch (CharLength(text, pos)) {
    case 2:
        return {static_cast<std::uint32_t>(p[0] << 8 | p[1]), 2};
    case 4:
        return {static_cast<std::uint32_t>(p[0]) << 24 | p[1] << 16 | p[2] << 8 | p[3], 4};
    default:
        return {p[0], 1};
    }
}

// The character a code is drawn as. Codes that are no GB18030 character (a lone lead byte,
// 0x80, 0xFF, a four-byte code past U+10FFFF) and control bytes give U+FFFD, the replacement
// mark; a tab gives a space.
char32_t ToUnicode(std::uint32_t code);

// The GB18030 code of a character (as Char::Code has it); 0 for a surrogate or a value past
// U+10FFFF, which no code holds.
std::uint32_t CodeOf(char32_t c);

// Appends the bytes of a code: 1, 2 or 4 of them.
void AppendCode(std::string& out, std::uint32_t code);

// Decodes a whole slice of byte text, character by character as CharAt walks it; characters
// past the basic plane become surrogate pairs.
std::u16string Decode(std::string_view text);

// Encodes UTF-8 text as GB18030 bytes, exactly; a malformed sequence becomes "□".
std::string FromUtf8(std::string_view utf8);

// Decodes GB18030 bytes to UTF-8 as Decode does, bytes that are no character becoming U+FFFD.
std::string ToUtf8(std::string_view text);

// Appends a character as UTF-8.
void AppendUtf8(std::string& out, char32_t c);

// Whether `text` is well-formed UTF-8 (no overlong forms, surrogates or values past U+10FFFF).
bool IsValidUtf8(std::string_view text);

} // namespace gbk
