#include "RtfWords.h"

#include <algorithm>
#include <array>
#include <utility>
#include <vector>

namespace {

// Words by first letter: a document is mostly \u, \par and formatting words, and a short scan
// of one letter's words costs less than hashing each word.
class WordTable {
public:
    void Add(std::string_view name, RtfWordInfo info) {
        ByLetter[static_cast<unsigned char>(name[0] - 'a') % 26].emplace_back(name, info);
    }

    const RtfWordInfo* Find(std::string_view name) const {
        if (name.empty() || name[0] < 'a' || name[0] > 'z')
            return nullptr;
        for (const auto& [word, info] : ByLetter[static_cast<unsigned char>(name[0] - 'a')])
            if (word.size() == name.size() && std::equal(word.begin(), word.end(), name.begin()))
                return &info;
        return nullptr;
    }

private:
    std::array<std::vector<std::pair<std::string_view, RtfWordInfo>>, 26> ByLetter;
};

// clang-format off
constexpr std::pair<std::string_view, RtfWordInfo> ActionWords[] = {
    {"par", {RtfWord::Par}}, {"line", {RtfWord::Line}}, {"tab", {RtfWord::Tab}},
    {"cell", {RtfWord::Cell}}, {"nestcell", {RtfWord::Cell}}, {"row", {RtfWord::Row}},
    {"u", {RtfWord::Unicode}}, {"uc", {RtfWord::UnicodeSkip}}, {"f", {RtfWord::Font}},
    {"plain", {RtfWord::Plain}}, {"deff", {RtfWord::DefaultFont}},
    {"ansicpg", {RtfWord::AnsiCodePage}}, {"fcharset", {RtfWord::FontCharset}},
    {"cpg", {RtfWord::FontCodePage}}, {"fonttbl", {RtfWord::FontTable}},
    {"upr", {RtfWord::Upr}}, {"ud", {RtfWord::Ud}}, {"bin", {RtfWord::Bin}},
    {"emdash", {RtfWord::Special, 0x2014}}, {"endash", {RtfWord::Special, 0x2013}},
    {"bullet", {RtfWord::Special, 0x2022}}, {"lquote", {RtfWord::Special, 0x2018}},
    {"rquote", {RtfWord::Special, 0x2019}}, {"ldblquote", {RtfWord::Special, 0x201C}},
    {"rdblquote", {RtfWord::Special, 0x201D}}, {"emspace", {RtfWord::Special, ' '}},
    {"enspace", {RtfWord::Special, ' '}}, {"qmspace", {RtfWord::Special, ' '}},
};

// Destinations that hold no body text, written with or without \*.
constexpr std::string_view SkippedDestinations[] = {
    "colortbl", "stylesheet", "info", "pict", "object", "objdata", "header", "headerl",
    "headerr", "headerf", "footer", "footerl", "footerr", "footerf", "footnote", "annotation",
    "atnid", "atnauthor", "xe", "tc", "txe", "rxe", "listtable", "listoverridetable", "revtbl",
    "rsidtbl", "filetbl", "generator", "pntext", "pntxta", "pntxtb", "listtext", "fldinst",
    "themedata", "colorschememapping", "datastore", "latentstyles", "xmlnstbl", "bkmkstart",
    "bkmkend", "shp", "nonshppict", "template", "userprops", "docvar", "pgdsctbl", "ftnsep",
    "ftnsepc", "aftnsep", "aftnsepc", "ftncn", "aftncn", "do", "background", "private",
};

constexpr std::pair<int, int> CharsetCodePages[] = {
    {2, 1252}, {128, 932}, {129, 949}, {134, 936}, {136, 950}, {161, 1253}, {162, 1254},
    {163, 1258}, {177, 1255}, {178, 1256}, {186, 1257}, {204, 1251}, {222, 874}, {238, 1250},
};
// clang-format on

const WordTable& Words() {
    static const WordTable table = [] {
        WordTable t;
        for (const auto& [name, info] : ActionWords)
            t.Add(name, info);
        for (std::string_view name : SkippedDestinations)
            t.Add(name, {RtfWord::SkipGroup});
        return t;
    }();
    return table;
}

} // namespace

const RtfWordInfo* FindRtfWord(std::string_view name) {
    return Words().Find(name);
}

int CharsetCodePage(int charset) {
    for (const auto& [set, codePage] : CharsetCodePages)
        if (set == charset)
            return codePage;
    return 0;
}
