#pragma once
// The text of an editing box and the byte text it came from. The boxes hold Unicode text; the
// document holds GBK bytes. Decoding records where each character's bytes begin, so that an
// edit can be put back by byte range and the bytes around it stay exactly as they were, also
// bytes that do not decode as GBK.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

struct EditText {
    std::u16string Text;
    // Offsets[j] is the byte offset of the character shown as Text[j]; one more entry holds
    // the length of the bytes, so a range of characters [p, q) is the bytes [Offsets[p],
    // Offsets[q]).
    std::vector<std::uint32_t> Offsets;
};

// CR LF (and a lone CR or LF) becomes '\n', as a text box keeps line ends; a tab and other
// control bytes stay as they are; a pair or byte that is no GBK character becomes U+FFFD.
EditText DecodeForEdit(std::string_view bytes);

struct EncodedEdit {
    std::string Bytes;      // '\n' written as CR LF
    bool Ok = true;         // false when a character has no GBK code
    char32_t Unencodable{}; // the first such character
};

// Encodes typed text as GBK bytes; a character GBK cannot hold (also U+FFFD and any
// character outside the basic plane) makes the result not Ok.
EncodedEdit EncodeForEdit(std::u16string_view text);

// A character as UTF-8, for naming it in a message.
std::string Utf8Of(char32_t c);
