#pragma once
// Letter case of ASCII bytes in byte text of any code.
#include <string>
#include <string_view>

// Every byte "A".."Z" becomes its small letter, wherever it stands (also as the second byte of
// a double-byte character); no other byte changes.
inline std::string LowerAscii(std::string_view text) {
    std::string lower(text);
    for (char& c : lower)
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    return lower;
}
