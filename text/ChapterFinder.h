#pragma once
// Finding the chapters of a document in its shown text, fed chunk by chunk in order; a line cut
// by a chunk border is joined before it is judged. Each line that can be a heading is kept as
// a candidate of its rule; at the end the rules are weighed by their evidence (see
// ChapterChoice.h). A finder built with the user's own regular expression takes the lines it
// finds instead.
#include "ChapterWords.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <regex>
#include <string>
#include <string_view>
#include <vector>

inline constexpr std::uint8_t VolumeLevel = 1;
inline constexpr std::uint8_t ChapterLevel = 2;

// A heading: its title is the `Length` bytes at `Offset` of the shown text, the chunks counted
// as one text; the title is its line with the spaces around it trimmed.
struct Chapter {
    std::uint32_t Offset = 0;
    std::uint8_t Length = 0;
    std::uint8_t Level = ChapterLevel;

    bool operator==(const Chapter&) const = default;
};

namespace chapters {

// A line that can be a heading by a built-in rule.
struct Candidate {
    std::uint32_t Offset;
    std::uint8_t Length;
    std::uint8_t Rule;
    bool Listed; // the next line that is not blank is a candidate of the same rule
    std::uint32_t Number;
};

// Where the sections of a document without headings begin: about every 20,000 characters, at
// the start of a line.
inline constexpr std::uint32_t SectionBytes = 40000;

} // namespace chapters

class ChapterFinder {
public:
    explicit ChapterFinder(TextCode code);
    // A finder for the lines the user's regular expression (UTF-8, ECMAScript syntax) finds a
    // match in; nothing when it is not a valid expression.
    static std::optional<ChapterFinder> ForPattern(TextCode code, std::string_view utf8Pattern);

    void Feed(std::string_view chunk);
    // The headings in text order, or the sections when no rule fits.
    std::vector<Chapter> Finish();
    // After Finish: whether it gave headings (or the lines of the user's pattern), not sections.
    bool FoundHeadings() const { return Headings; }

private:
    void Line(std::string_view line, std::uint64_t offset, bool cut);
    bool IsHeading(std::string_view trimmed, std::uint64_t offset);
    bool MatchesPattern(std::string_view trimmed) const;
    std::string_view Trim(std::string_view line) const;
    void AppendCarry(std::string_view bytes);

    TextCode Code;
    const chapters::ChapterWords* Words;
    std::string FullWidthSpace;
    std::shared_ptr<const std::wregex> Pattern;

    std::uint64_t Base = 0; // where the next chunk starts in the shown text
    bool HasCarry = false;  // a line began in an earlier chunk
    std::string Carry;      // its first bytes
    std::uint64_t CarryStart = 0;
    bool CarryCut = false; // it is longer than what was kept

    bool PreviousOpen = false; // the line before goes on in this one, as lines of a paragraph do
    bool PreviousCandidate = false; // the last line that is not blank is a candidate
    std::uint64_t NextSectionAt = 0;
    std::vector<chapters::Candidate> Candidates;
    std::vector<Chapter> Sections;
    std::vector<Chapter> Found; // with a pattern
    bool Headings = false;
};

// All headings of a document's chunks.
std::vector<Chapter> FindChapters(const std::vector<std::string_view>& chunks, TextCode code);
