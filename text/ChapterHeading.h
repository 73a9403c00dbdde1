#pragma once
// Whether one line is a chapter heading by the built-in rules: 第 + a number + a unit (第十二回,
// 第3章, 第一百零八卷), 卷 + a number (卷二), or a special heading (楔子, 尾声 ...).
#include "ChapterWords.h"

#include <cstdint>
#include <optional>
#include <string_view>

namespace chapters {

// The longest heading, in characters once the spaces around it are trimmed.
inline constexpr std::size_t MaxHeadingChars = 40;

struct HeadingMatch {
    std::uint8_t Rule;
    std::uint32_t Number; // 0 for the special headings
};

// `line` has its spaces trimmed at both ends.
std::optional<HeadingMatch> MatchHeading(std::string_view line, const ChapterWords& words);

// Whether a whole line, spaces around it allowed, is a heading by the built-in rules.
bool IsHeadingLine(std::string_view line, const ChapterWords& words);

// The value of a numeral written out (一百零八, 两千, 十五) or digit by digit (一零八, 108,
// １０８).
class NumberReader {
public:
    void Add(std::uint16_t value); // a digit 0-9 or a multiplier 10, 100, 1000, 10000
    std::uint32_t Value() const;

private:
    static constexpr std::uint64_t Cap = 1'000'000'000;
    std::uint64_t Total = 0, Section = 0, Digit = 0, Positional = 0;
    bool Multiplied = false;
};

} // namespace chapters
