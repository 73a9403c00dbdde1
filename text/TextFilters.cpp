#include "TextFilters.h"

#include "ByteScan.h"
#include "ChapterHeading.h"

#include <algorithm>
#include <array>
#include <cstdint>

namespace {

constexpr std::string_view CrLf = "\r\n";
constexpr std::string_view IdeographicSpace = "\xA1\xA1";
constexpr std::string_view Indent = "\xA1\xA1\xA1\xA1";
constexpr std::string_view TwoSpaces = "  ";
constexpr std::string_view FourSpaces = "    ";

unsigned char Fold(char c) {
    const auto b = static_cast<unsigned char>(c);
    return b >= 'A' && b <= 'Z' ? static_cast<unsigned char>(b + ('a' - 'A')) : b;
}

bool StartsWith(const char* p, const char* end, std::string_view prefix) {
    return static_cast<std::size_t>(end - p) >= prefix.size() &&
           std::equal(prefix.begin(), prefix.end(), p);
}

// `lowerPattern` is lower-case ASCII; letters of the text match it in either case.
bool StartsWithNoCase(const char* p, const char* end, std::string_view lowerPattern) {
    if (static_cast<std::size_t>(end - p) < lowerPattern.size())
        return false;
    for (std::size_t i = 0; i < lowerPattern.size(); ++i)
        if (Fold(p[i]) != static_cast<unsigned char>(lowerPattern[i]))
            return false;
    return true;
}

// For each prefix length k of the folded pattern, the length of its longest proper border.
std::vector<std::size_t> Borders(std::string_view pattern) {
    std::vector<std::size_t> border(pattern.size(), 0);
    for (std::size_t i = 1, k = 0; i < pattern.size(); ++i) {
        while (k > 0 && pattern[i] != pattern[k])
            k = border[k - 1];
        if (pattern[i] == pattern[k])
            ++k;
        border[i] = k;
    }
    return border;
}

} // namespace

const MarkList& ListChap1() {
    static const MarkList marks{".", "!", "?", "\"", ";", ")", ":"};
    return marks;
}

const MarkList& ListChap2() {
    static const MarkList marks{"\xA1\xA3", "\xA3\xA1", "\xA3\xBF", "\xA1\xAD",
                                "\xA1\xB1", "\xA3\xBB", "\xA3\xA9", "\xA3\xBA"};
    return marks;
}

std::string NormalizeLineBreaks(std::string_view text) {
    std::string out;
    out.reserve(text.size() + text.size() / 64 + 16);
    const char* end = text.data() + text.size();
    const char* run = text.data(); // start of the bytes not yet copied
    for (const char* p = run;;) {
        const char* hit = bytescan::FindEither(p, end, '\r', '\n');
        if (hit == end)
            break;
        if (*hit == '\r' && hit + 1 < end && hit[1] == '\n') {
            p = hit + 2; // already CR LF: stays in the run
            continue;
        }
        out.append(run, hit);
        out += CrLf;
        run = p = hit + 1;
    }
    out.append(run, end);
    return out;
}

bool HasLoneLineBreak(std::string_view text) {
    const char* end = text.data() + text.size();
    for (const char* p = text.data();;) {
        const char* hit = bytescan::FindEither(p, end, '\r', '\n');
        if (hit == end)
            return false;
        if (*hit == '\n' || hit + 1 == end || hit[1] != '\n')
            return true;
        p = hit + 2;
    }
}

// Knuth-Morris-Pratt over folded bytes, so that a pattern such as "aab" in "aaab" costs no
// rescanning; between candidates the scan jumps to the next byte that can start a match.
std::string ReplaceNoCase(std::string_view find, std::string_view replacement,
                          std::string_view text) {
    if (find.empty() || find.size() > text.size())
        return std::string(text);
    std::string pattern(find.size(), '\0');
    std::transform(find.begin(), find.end(), pattern.begin(),
                   [](char c) { return static_cast<char>(Fold(c)); });
    const std::vector<std::size_t> border = Borders(pattern);
    const char first = pattern[0];
    const char firstUpper =
        first >= 'a' && first <= 'z' ? static_cast<char>(first - ('a' - 'A')) : first;

    std::string out;
    out.reserve(text.size());
    const char* end = text.data() + text.size();
    const char* run = text.data();
    std::size_t matched = 0;
    for (const char* p = run; p < end; ++p) {
        if (matched == 0) {
            p = bytescan::FindEither(p, end, first, firstUpper);
            if (p == end)
                break;
        }
        const auto c = static_cast<char>(Fold(*p));
        while (matched > 0 && c != pattern[matched])
            matched = border[matched - 1];
        if (c == pattern[matched])
            ++matched;
        if (matched == pattern.size()) {
            out.append(run, p + 1 - pattern.size());
            out += replacement;
            run = p + 1;
            matched = 0;
        }
    }
    out.append(run, end);
    return out;
}

namespace {

// The replacements made before tags are removed. None of these patterns can overlap another
// or itself, and no replacement holds a byte of a later pattern, so replacing all of them in
// one scan gives what replacing them one after another gives.
struct HtmlReplacement {
    std::string_view Pattern; // lower case
    std::string_view Replacement;
};
constexpr std::array<HtmlReplacement, 2> Entities{{{"&nbsp;", " "}, {"&quot;", "\""}}};
constexpr std::array<HtmlReplacement, 2> LineBreakTags{{{"<br>", CrLf}, {"<p>", CrLf}}};

// The replacement starting at p, if any.
template <std::size_t N>
const HtmlReplacement* ReplacementAt(const std::array<HtmlReplacement, N>& list, const char* p,
                                     const char* end) {
    for (const HtmlReplacement& r : list)
        if (StartsWithNoCase(p, end, r.Pattern))
            return &r;
    return nullptr;
}

// Appends the byte at p ('&' or '<') or the replacement starting there; returns where the
// text goes on.
const char* AppendMarkup(std::string& out, const char* p, const char* end) {
    const HtmlReplacement* r =
        *p == '&' ? ReplacementAt(Entities, p, end) : ReplacementAt(LineBreakTags, p, end);
    if (!r) {
        out += *p;
        return p + 1;
    }
    out += r->Replacement;
    return p + r->Pattern.size();
}

// [p, end) with the replacements made and the tags left in.
void AppendReplaced(std::string& out, const char* p, const char* end) {
    for (;;) {
        const char* hit = bytescan::FindEither(p, end, '&', '<');
        out.append(p, hit);
        if (hit == end)
            return;
        p = AppendMarkup(out, hit, end);
    }
}

// The '>' that closes a tag whose text starts at p, or end. A "<br>" or "<p>" inside the tag
// has become a line break by then, so its '>' closes nothing.
const char* FindTagEnd(const char* p, const char* end) {
    for (;;) {
        const char* hit = bytescan::FindEither(p, end, '<', '>');
        if (hit == end || *hit == '>')
            return hit;
        const HtmlReplacement* r = ReplacementAt(LineBreakTags, hit, end);
        p = hit + (r ? r->Pattern.size() : 1);
    }
}

// Comments and the style and script elements hold no text a reader should see: each goes
// whole, from its "<" through the end of its closing tag, or to the end of the text when it is
// never closed (as a browser reads it).
struct HiddenElement {
    std::string_view Name;    // after "<", lower case
    std::string_view Closing; // lower case
};
constexpr std::array<HiddenElement, 2> HiddenElements{
    {{"style", "</style"}, {"script", "</script"}}};
constexpr std::string_view CommentStart = "<!--";
constexpr std::string_view CommentEnd = "-->";

// Whether the byte at p ends a tag name. "<br>", "<p>" and "&nbsp;" count as the line break or
// space they have become by the time tags are removed.
bool EndsTagName(const char* p, const char* end) {
    if (p == end)
        return false;
    switch (*p) {
    case '>':
    case '/':
    case ' ':
    case '\t':
    case '\r':
    case '\n':
    case '\f':
        return true;
    default:
        return ReplacementAt(LineBreakTags, p, end) ||
               StartsWithNoCase(p, end, Entities[0].Pattern);
    }
}

// The first place in [p, end) where `lowerPattern` starts (letters in either case), or end.
const char* SearchNoCase(const char* p, const char* end, std::string_view lowerPattern) {
    for (;; ++p) {
        p = bytescan::Find(p, end, lowerPattern[0]);
        if (p == end || StartsWithNoCase(p, end, lowerPattern))
            return p;
    }
}

// Just past the comment or hidden element that starts at the "<" at p; nullptr when none does.
const char* HiddenElementEnd(const char* p, const char* end) {
    if (StartsWith(p, end, CommentStart)) {
        const char* close = SearchNoCase(p + CommentStart.size(), end, CommentEnd);
        return close == end ? end : close + CommentEnd.size();
    }
    for (const HiddenElement& e : HiddenElements) {
        const char* nameEnd = p + 1 + e.Name.size();
        if (!StartsWithNoCase(p + 1, end, e.Name) || !EndsTagName(nameEnd, end))
            continue;
        const char* closing = SearchNoCase(nameEnd, end, e.Closing);
        const char* close = closing == end ? end : FindTagEnd(closing + 1, end);
        return close == end ? end : close + 1;
    }
    return nullptr;
}

// A removed tag takes the line break after it: a CR LF, or a "<br>" or "<p>" that became one.
const char* SkipLineBreakAfterTag(const char* p, const char* end) {
    if (StartsWith(p, end, CrLf))
        return p + CrLf.size();
    const HtmlReplacement* r = ReplacementAt(LineBreakTags, p, end);
    return r ? p + r->Pattern.size() : p;
}

} // namespace

std::string StripHtml(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    const char* end = text.data() + text.size();
    for (const char* p = text.data();;) {
        const char* hit = bytescan::FindEither(p, end, '&', '<');
        out.append(p, hit);
        if (hit == end)
            break;
        if (*hit == '&' || ReplacementAt(LineBreakTags, hit, end)) {
            p = AppendMarkup(out, hit, end);
            continue;
        }
        const char* close = FindTagEnd(hit + 1, end);
        if (close == end) { // no '>' follows: nothing more is a tag
            AppendReplaced(out, hit, end);
            break;
        }
        const char* hidden = HiddenElementEnd(hit, end);
        p = SkipLineBreakAfterTag(hidden ? hidden : close + 1, end);
    }
    return out;
}

namespace {

class SentenceMarks {
public:
    SentenceMarks(const MarkList& marks1, const MarkList& marks2) {
        for (const std::string& m : marks1)
            if (m.size() == 1)
                OneByte[static_cast<unsigned char>(m[0])] = true;
        for (const std::string& m : marks2)
            if (m.size() == 2)
                TwoByte.push_back(Pair(m.data()));
    }

    // Whether `line`, the text before a line end, ends in a mark.
    bool EndsSentence(std::string_view line) const {
        const std::size_t n = line.size();
        if (n >= 2 &&
            std::find(TwoByte.begin(), TwoByte.end(), Pair(line.data() + n - 2)) != TwoByte.end())
            return true;
        return n >= 1 && OneByte[static_cast<unsigned char>(line[n - 1])];
    }

private:
    static std::uint16_t Pair(const char* p) {
        return static_cast<std::uint16_t>(static_cast<unsigned char>(p[0]) << 8 |
                                          static_cast<unsigned char>(p[1]));
    }

    std::array<bool, 256> OneByte{};
    std::vector<std::uint16_t> TwoByte;
};

// The CR of the first CR LF in [p, end), or end.
const char* FindLineEnd(const char* p, const char* end) {
    for (;;) {
        const char* cr = bytescan::Find(p, end, '\r');
        if (cr == end || (cr + 1 < end && cr[1] == '\n'))
            return cr;
        p = cr + 1;
    }
}

} // namespace

// The result so far is exactly the working text before the line end being judged (a joined
// line included), so the marks are looked for at the end of `out`.
std::string SmartParagraph(std::string_view text, const MarkList& marks1, const MarkList& marks2,
                           const chapters::ChapterWords* headings) {
    const SentenceMarks marks(marks1, marks2);
    const char* end = text.data() + text.size();
    auto isHeading = [headings, end](const char* from) {
        if (!headings)
            return false;
        const char* to = FindLineEnd(from, end);
        return chapters::IsHeadingLine({from, static_cast<std::size_t>(to - from)}, *headings);
    };
    std::string out;
    out.reserve(text.size() + text.size() / 16 + 16);
    bool lineIsHeading = isHeading(text.data());
    for (const char* p = text.data();;) {
        const char* cr = FindLineEnd(p, end);
        out.append(p, cr);
        if (cr == end)
            break;
        const char* next = cr + CrLf.size();
        const bool nextIsHeading = isHeading(next);
        if (lineIsHeading || marks.EndsSentence(out)) {
            out += CrLf;
            if (!nextIsHeading && !StartsWith(next, end, Indent) &&
                !StartsWith(next, end, FourSpaces))
                out += Indent;
            p = next;
        } else if (nextIsHeading) {
            out += CrLf;
            p = next;
        } else if (StartsWith(next, end, IdeographicSpace) || StartsWith(next, end, TwoSpaces)) {
            out += CrLf;
            out.append(next, 2);
            p = next + 2;
        } else {
            p = next; // the two lines are joined
        }
        lineIsHeading = nextIsHeading;
    }
    return out;
}
