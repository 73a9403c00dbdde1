#pragma once
// The text of an editing box and the byte text it came from. The boxes hold Unicode text; the
// document holds GB18030 bytes. Decoding records where each character's bytes begin, so that an
// edit can be put back by byte range and the bytes around it stay exactly as they were, also
// bytes that do not decode.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

struct EditText {
    std::u16string Text;
    // Offsets[j] is the byte offset of the character shown as Text[j] (both halves of a
    // surrogate pair have the offset of their character); one more entry holds
    // the length of the bytes, so a range of characters [p, q) is the bytes [Offsets[p],
    // Offsets[q]).
    std::vector<std::uint32_t> Offsets;
};

// CR LF (and a lone CR or LF) becomes '\n', as a text box keeps line ends; a tab and other
// control bytes stay as they are; bytes that are no character become U+FFFD.
EditText DecodeForEdit(std::string_view bytes);

struct EncodedEdit {
    std::string Bytes;      // '\n' written as CR LF
    bool Ok = true;         // false when a character has no code
    char32_t Unencodable{}; // the first such character
};

// Encodes typed text as GB18030 bytes, where every character has a code; an unpaired surrogate
// or U+FFFD (which stands for bytes that are no character) makes the result not Ok.
EncodedEdit EncodeForEdit(std::u16string_view text);

// A character as UTF-8, for naming it in a message.
std::string Utf8Of(char32_t c);

inline bool IsHighSurrogate(char32_t c) {
    return c >= 0xD800 && c <= 0xDBFF;
}
inline bool IsLowSurrogate(char32_t c) {
    return c >= 0xDC00 && c <= 0xDFFF;
}
