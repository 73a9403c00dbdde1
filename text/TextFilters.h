#pragma once
// The text filters of an opened document: line ends, HTML clean-up and smart paragraphs. Texts
// are GB (or BIG5) bytes; CR, LF, '<', '>' and '&' never occur inside a double-byte character,
// so the filters work on bytes. Each one builds its result in a single pass over its input.
#include <string>
#include <string_view>
#include <vector>

namespace chapters {
class ChapterWords;
}

// Sentence-ending marks, compared as bytes: one-byte marks, or two-byte GB marks.
using MarkList = std::vector<std::string>;

// The one-byte marks: . ! ? " ; ) :
const MarkList& ListChap1();
// The two-byte GB marks: 。！？…”；）：
const MarkList& ListChap2();

// Every line end becomes CR LF: a lone LF, a lone CR and CR LF each give one CR LF, so LF CR
// gives two.
std::string NormalizeLineBreaks(std::string_view text);
// Whether NormalizeLineBreaks would change `text`: it holds a lone LF or a lone CR.
bool HasLoneLineBreak(std::string_view text);

// `text` with each occurrence of `find` replaced by `replacement`, found left to right with
// ASCII letters A to Z matching their lower case (no other byte is folded). A replacement is
// never searched again; an empty `find` matches nothing.
std::string ReplaceNoCase(std::string_view find, std::string_view replacement,
                          std::string_view text);

// "&nbsp;" becomes a space, "&quot;" a double quote, "<br>" and "<p>" a CR LF (all without
// regard to case); then every other tag, from a '<' to the next '>', is removed together with
// a CR LF right after it. A '<' with no '>' after it stops the tag removal; other entities stay.
std::string StripHtml(std::string_view text);

// Joins broken lines into paragraphs. A line end after a sentence mark (two-byte marks tested
// first, then one-byte marks) stays, and the next line gets a "　　" indent unless it already
// starts with two ideographic spaces or four ASCII spaces. Any other line end is removed, unless
// the next line starts with an ideographic space or two ASCII spaces.
// With `headings`, a line that is a chapter heading by their rules keeps its line ends on both
// sides, so the heading stays a line of its own, and the line after it starts a paragraph.
std::string SmartParagraph(std::string_view text, const MarkList& marks1, const MarkList& marks2,
                           const chapters::ChapterWords* headings = nullptr);
