#pragma once
// Walking and decoding GBK byte text. Document text stays in bytes everywhere; it is decoded to
// Unicode only to be measured and drawn, one character code at a time through a table.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace gbk {

// A character of byte text: one byte, or a lead byte and its trail byte.
struct Char {
    std::uint16_t Code;  // the byte itself, or (lead << 8) | trail
    std::uint8_t Length; // 1 or 2
};

inline bool IsLeadByte(unsigned char b) {
    return b >= 0x81 && b <= 0xFE;
}
inline bool IsTrailByte(unsigned char b) {
    return b >= 0x40 && b <= 0xFE && b != 0x7F;
}

// The character at `pos` (pos < text.size()). A lead byte that is not followed by a trail byte
// stands alone as a one-byte character, so a damaged pair never swallows a line break.
inline Char CharAt(std::string_view text, std::size_t pos) {
    const auto b = static_cast<unsigned char>(text[pos]);
    if (IsLeadByte(b) && pos + 1 < text.size()) {
        const auto t = static_cast<unsigned char>(text[pos + 1]);
        if (IsTrailByte(t))
            return {static_cast<std::uint16_t>((b << 8) | t), 2};
    }
    return {b, 1};
}

// The character a code is drawn as. Codes that are not valid GBK (a lone lead byte, 0x80, 0xFF,
// an unassigned pair) and control bytes give U+FFFD, the replacement mark; a tab gives a space.
char16_t ToUnicode(std::uint16_t code);

// Decodes a whole slice of byte text, character by character as CharAt walks it.
std::u16string Decode(std::string_view text);

// Encodes UTF-8 text as GBK bytes; characters GBK lacks become '?'.
std::string FromUtf8(std::string_view utf8);

// Decodes GBK bytes to UTF-8 as Decode does, bytes that are not GBK becoming U+FFFD.
std::string ToUtf8(std::string_view text);

// Whether `text` is well-formed UTF-8 (no overlong forms, surrogates or values past U+10FFFF).
bool IsValidUtf8(std::string_view text);

} // namespace gbk
