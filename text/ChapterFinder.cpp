#include "ChapterFinder.h"

#include "ByteScan.h"
#include "ChapterChoice.h"
#include "ChapterHeading.h"

#include <algorithm>

using namespace chapters;

namespace {

// A line longer than this is no heading, so no more of it is kept across a chunk border.
constexpr std::size_t MaxCarry = 1024;
// A line at least this long that does not end a sentence is a paragraph's line broken short.
constexpr std::size_t LongLineBytes = 32;
// Lines the user's pattern is tried on, at most, in characters.
constexpr std::size_t MaxPatternLineChars = 100;
constexpr std::size_t MaxTitleBytes = 255;

// The user's pattern is matched in time polynomial in the line, never by the backtracking that
// a pattern such as (a*)*b makes take forever; patterns with back-references are refused.
#if defined(__GLIBCXX__)
constexpr auto PatternSyntax =
    std::regex_constants::ECMAScript | std::regex_constants::__polynomial;
#else
constexpr auto PatternSyntax = std::regex_constants::ECMAScript;
#endif

std::uint16_t LastCode(std::string_view text) {
    const auto last = static_cast<unsigned char>(text.back());
    if (text.size() >= 2 && gbk::IsLeadByte(static_cast<unsigned char>(text[text.size() - 2])) &&
        gbk::IsTrailByte(last))
        return static_cast<std::uint16_t>((static_cast<unsigned char>(text[text.size() - 2]) << 8) |
                                          last);
    return last;
}

std::wstring Widen(const std::string& utf8) {
    std::wstring wide;
    for (std::size_t i = 0; i < utf8.size();) {
        const auto b = static_cast<unsigned char>(utf8[i]);
        const int extra = b >= 0xF0 ? 3 : b >= 0xE0 ? 2 : b >= 0xC0 ? 1 : 0;
        char32_t c = extra == 0 ? b : b & (0x3F >> extra);
        for (int k = 1; k <= extra && i + k < utf8.size(); ++k)
            c = (c << 6) | (static_cast<unsigned char>(utf8[i + k]) & 0x3F);
        wide.push_back(static_cast<wchar_t>(c));
        i += 1 + extra;
    }
    return wide;
}

Chapter TitleAt(std::string_view trimmed, std::uint64_t offset, std::size_t maxChars) {
    const std::string_view title = FirstChars(trimmed, maxChars);
    return {static_cast<std::uint32_t>(offset),
            static_cast<std::uint8_t>(std::min(title.size(), MaxTitleBytes)), ChapterLevel};
}

} // namespace

ChapterFinder::ChapterFinder(TextCode code)
    : Code(code), Words(&ChapterWords::For(code)),
      FullWidthSpace(Utf8ToText("　", code).value_or("")) {}

std::optional<ChapterFinder> ChapterFinder::ForPattern(TextCode code,
                                                       std::string_view utf8Pattern) {
    if (!gbk::IsValidUtf8(utf8Pattern))
        return std::nullopt;
    ChapterFinder finder(code);
    try {
        finder.Pattern =
            std::make_shared<const std::wregex>(Widen(std::string(utf8Pattern)), PatternSyntax);
    } catch (const std::regex_error&) {
        return std::nullopt;
    }
    return finder;
}

void ChapterFinder::Feed(std::string_view chunk) {
    const char* const end = chunk.data() + chunk.size();
    const char* p = chunk.data();
    if (HasCarry) {
        const char* lf = bytescan::Find(p, end, '\n');
        AppendCarry({p, static_cast<std::size_t>(lf - p)});
        if (lf == end) {
            Base += chunk.size();
            return;
        }
        Line(Carry, CarryStart, CarryCut);
        HasCarry = CarryCut = false;
        Carry.clear();
        p = lf + 1;
    }
    while (p < end) {
        const char* lf = bytescan::Find(p, end, '\n');
        const std::uint64_t offset = Base + static_cast<std::uint64_t>(p - chunk.data());
        if (lf == end) {
            HasCarry = true;
            CarryStart = offset;
            AppendCarry({p, static_cast<std::size_t>(end - p)});
            break;
        }
        Line({p, static_cast<std::size_t>(lf - p)}, offset, false);
        p = lf + 1;
    }
    Base += chunk.size();
}

std::vector<Chapter> ChapterFinder::Finish() {
    if (HasCarry)
        Line(Carry, CarryStart, CarryCut);
    HasCarry = false;
    if (Pattern) {
        Headings = true;
        return std::move(Found);
    }
    std::vector<Chapter> chosen = ChooseChapters(Candidates, Sections);
    Headings = chosen != Sections;
    return chosen;
}

void ChapterFinder::AppendCarry(std::string_view bytes) {
    const std::size_t room = MaxCarry - Carry.size();
    CarryCut = CarryCut || bytes.size() > room;
    Carry.append(bytes.substr(0, std::min(room, bytes.size())));
}

std::string_view ChapterFinder::Trim(std::string_view line) const {
    std::size_t start = 0;
    while (start < line.size()) {
        const TextChar c = CharAt(line, start);
        if (!(Words->Of(c).Flags & Space))
            break;
        start += c.Length;
    }
    line.remove_prefix(start);
    for (;;) {
        if (!line.empty() && (line.back() == '\r' || line.back() == ' ' || line.back() == '\t'))
            line.remove_suffix(1);
        else if (!FullWidthSpace.empty() && line.ends_with(FullWidthSpace))
            line.remove_suffix(FullWidthSpace.size());
        else
            return line;
    }
}

void ChapterFinder::Line(std::string_view line, std::uint64_t offset, bool cut) {
    // Of a long line only its start is judged, whether or not a chunk border cut it.
    if (line.size() > MaxCarry) {
        line = line.substr(0, MaxCarry);
        cut = true;
    }
    const std::string_view trimmed = Trim(line);
    if (trimmed.empty()) {
        PreviousOpen = false;
        return;
    }
    offset += static_cast<std::uint64_t>(trimmed.data() - line.data());
    if (offset >= NextSectionAt) {
        Sections.push_back(TitleAt(trimmed, offset, MaxHeadingChars));
        NextSectionAt = offset + SectionBytes;
    }
    if (cut) {
        PreviousOpen = PreviousCandidate = false;
        return;
    }
    const bool heading = IsHeading(trimmed, offset);
    // Headings in a row, with nothing but blank lines between, are a table of contents.
    const std::size_t n = Candidates.size();
    if (heading && PreviousCandidate && n >= 2 && Candidates[n - 2].Rule == Candidates[n - 1].Rule)
        Candidates[n - 2].Listed = true;
    PreviousCandidate = heading;
    PreviousOpen = !heading && trimmed.size() >= LongLineBytes &&
                   !(Words->Of(LastCode(trimmed)).Flags & Closing);
}

bool ChapterFinder::IsHeading(std::string_view trimmed, std::uint64_t offset) {
    if (Pattern) {
        if (!MatchesPattern(trimmed))
            return false;
        Found.push_back(TitleAt(trimmed, offset, MaxPatternLineChars));
        return true;
    }
    if (!(Words->Of(CharAt(trimmed, 0)).Flags & (Di | Unit | SpecialStart)) || PreviousOpen)
        return false;
    const std::optional<HeadingMatch> match = MatchHeading(trimmed, *Words);
    if (!match)
        return false;
    Candidates.push_back({static_cast<std::uint32_t>(offset),
                          static_cast<std::uint8_t>(std::min(trimmed.size(), MaxTitleBytes)),
                          match->Rule, false, match->Number});
    return true;
}

bool ChapterFinder::MatchesPattern(std::string_view trimmed) const {
    if (CountChars(trimmed, MaxPatternLineChars) > MaxPatternLineChars)
        return false;
    try {
        return std::regex_search(Widen(TextToUtf8(trimmed, Code)), *Pattern);
    } catch (const std::regex_error&) {
        return false; // too complex for this line
    }
}

std::vector<Chapter> FindChapters(const std::vector<std::string_view>& chunks, TextCode code) {
    ChapterFinder finder(code);
    for (std::string_view chunk : chunks)
        finder.Feed(chunk);
    return finder.Finish();
}
