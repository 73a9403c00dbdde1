#pragma once
// The RTF control words the reader acts on; every other word only formats text.
#include <cstdint>
#include <string_view>

// clang-format off
enum class RtfWord : std::uint8_t {
    Par, Line, Tab, Cell, Row, Unicode, UnicodeSkip, Font, Plain, DefaultFont, AnsiCodePage,
    FontCharset, FontCodePage, FontTable, SkipGroup, Upr, Ud, Bin, Special
};
// clang-format on

struct RtfWordInfo {
    RtfWord Kind;
    char32_t Char = 0; // for Special: the character the word stands for
};

// The word named `name` (without its backslash), or null.
const RtfWordInfo* FindRtfWord(std::string_view name);

// The code page that an RTF font character set (\fcharsetN) names, or 0 for none.
int CharsetCodePage(int charset);
