#include "ChapterHeading.h"

#include <algorithm>

namespace chapters {
namespace {

// A title this long that ends like a sentence is a sentence that starts like a heading.
constexpr std::size_t LongBodyChars = 12;

std::size_t SkipSpaces(std::string_view line, std::size_t pos, const ChapterWords& words) {
    while (pos < line.size()) {
        const TextChar c = CharAt(line, pos);
        if (!(words.Of(c).Flags & Space))
            break;
        pos += c.Length;
    }
    return pos;
}

// Reads the numeral at `pos`, moving past it; nothing when there is none.
std::optional<std::uint32_t> ReadNumber(std::string_view line, std::size_t& pos,
                                        const ChapterWords& words) {
    NumberReader number;
    const std::size_t start = pos;
    while (pos < line.size()) {
        const TextChar c = CharAt(line, pos);
        const Word& w = words.Of(c);
        if (!(w.Flags & Numeral))
            break;
        number.Add(w.Value);
        pos += c.Length;
    }
    if (pos == start)
        return std::nullopt;
    return number.Value();
}

std::optional<HeadingMatch> MatchNumbered(std::string_view line, std::size_t& pos,
                                          const ChapterWords& words) {
    const TextChar first = CharAt(line, 0);
    const Word& w = words.Of(first);
    const bool di = w.Flags & Di;
    if (!di && !((w.Flags & Unit) && w.Value == RuleJuan))
        return std::nullopt;
    pos = SkipSpaces(line, first.Length, words);
    const std::optional<std::uint32_t> number = ReadNumber(line, pos, words);
    if (!number)
        return std::nullopt;
    if (!di)
        return HeadingMatch{RuleJuan, *number};
    pos = SkipSpaces(line, pos, words);
    if (pos >= line.size())
        return std::nullopt;
    const TextChar unit = CharAt(line, pos);
    if (!(words.Of(unit).Flags & Unit))
        return std::nullopt;
    pos += unit.Length;
    return HeadingMatch{static_cast<std::uint8_t>(words.Of(unit).Value), *number};
}

// What follows the number may end the line, separate a title or start one, but not carry on a
// word (第六回合) or a sentence (第三章，).
bool TitleMayFollow(std::string_view line, std::size_t pos, int rule, const ChapterWords& words) {
    if (pos >= line.size())
        return true;
    const Word& next = words.Of(CharAt(line, pos));
    if (next.ExcludedAfter & (1u << rule))
        return false;
    return !(next.Flags & SentenceEnd) || (next.Flags & Separator);
}

std::optional<HeadingMatch> MatchSpecial(std::string_view line, std::size_t& pos,
                                         const ChapterWords& words) {
    for (const ChapterWords::Special& special : words.Specials()) {
        if (!line.starts_with(special.Bytes))
            continue;
        pos = special.Bytes.size();
        if (pos == line.size() || special.TitleFollows ||
            (words.Of(CharAt(line, pos)).Flags & (Space | Separator)))
            return HeadingMatch{RuleSpecial, 0};
    }
    return std::nullopt;
}

// A line too long for a heading, or a long body that ends like a sentence.
bool ReadsAsText(std::string_view line, std::size_t bodyStart, const ChapterWords& words) {
    std::size_t chars = 0, bodyChars = 0;
    std::uint16_t last = 0;
    for (std::size_t pos = 0; pos < line.size(); ++chars) {
        if (chars >= MaxHeadingChars)
            return true;
        const TextChar c = CharAt(line, pos);
        bodyChars += pos >= bodyStart;
        last = c.Code;
        pos += c.Length;
    }
    return bodyChars > LongBodyChars && (words.Of(last).Flags & SentenceEnd);
}

} // namespace

void NumberReader::Add(std::uint16_t value) {
    if (value < 10) {
        Digit = value;
        Positional = std::min(Positional * 10 + value, Cap);
    } else if (value == 10000) {
        Total = std::min((Total + Section + Digit) * 10000, Cap);
        Section = Digit = 0;
        Multiplied = true;
    } else {
        // 十五 is 15: a multiplier without a digit before it counts once.
        Section = std::min(Section + (Digit == 0 ? 1 : Digit) * value, Cap);
        Digit = 0;
        Multiplied = true;
    }
}

std::uint32_t NumberReader::Value() const {
    return static_cast<std::uint32_t>(Multiplied ? std::min(Total + Section + Digit, Cap)
                                                 : Positional);
}

std::optional<HeadingMatch> MatchHeading(std::string_view line, const ChapterWords& words) {
    if (line.empty())
        return std::nullopt;
    std::size_t pos = 0;
    std::optional<HeadingMatch> match = MatchNumbered(line, pos, words);
    if (match && !TitleMayFollow(line, pos, match->Rule, words))
        return std::nullopt;
    if (!match && (words.Of(CharAt(line, 0)).Flags & SpecialStart))
        match = MatchSpecial(line, pos, words);
    if (!match || ReadsAsText(line, pos, words))
        return std::nullopt;
    return match;
}

bool IsHeadingLine(std::string_view line, const ChapterWords& words) {
    line.remove_prefix(SkipSpaces(line, 0, words));
    while (!line.empty() && (line.back() == ' ' || line.back() == '\t' || line.back() == '\r'))
        line.remove_suffix(1);
    if (line.empty() || !(words.Of(CharAt(line, 0)).Flags & (Di | Unit | SpecialStart)))
        return false;
    return MatchHeading(line, words).has_value();
}

} // namespace chapters
