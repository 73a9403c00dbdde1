#include "RtfReader.h"

#include "RtfOutput.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <initializer_list>
#include <optional>
#include <unordered_map>
#include <vector>

namespace {

// Deeper groups than this are read as skipped groups, so that a file of nothing but '{' costs
// no memory beyond this stack.
constexpr std::size_t MaxDepth = 1000;
constexpr int MaxWordLength = 32;
constexpr int MaxUnicodeSkip = 64;

enum class Destination : std::uint8_t { Body, FontTable, Skip };

struct GroupState {
    Destination Dest = Destination::Body;
    int Font = -1;                       // -1: the document's default font
    int UnicodeSkip = 1;                 // fallback characters after \uN
    std::optional<Destination> UprOuter; // inside \upr: where its \ud text goes
};

enum class Word : std::uint8_t {
    Par,
    Line,
    Tab,
    Cell,
    Row,
    Unicode,
    UnicodeSkip,
    Font,
    Plain,
    DefaultFont,
    AnsiCodePage,
    FontCharset,
    FontCodePage,
    FontTable,
    SkipGroup,
    Upr,
    Ud,
    Bin,
    Special
};

struct WordInfo {
    Word Kind;
    char32_t Char = 0; // for Special: the character it stands for
};

// The control words that matter, by first letter: a document is mostly \u, \par and
// formatting words, and a short scan of one letter's words is cheaper than hashing each.
class WordTable {
public:
    WordTable(std::initializer_list<std::pair<std::string_view, WordInfo>> words) {
        for (const auto& word : words)
            Add(word.first, word.second);
    }

    void Add(std::string_view name, WordInfo info) {
        ByLetter[static_cast<unsigned char>(name[0] - 'a') % 26].emplace_back(name, info);
    }

    const WordInfo* Find(std::string_view name) const {
        if (name.empty() || name[0] < 'a' || name[0] > 'z')
            return nullptr;
        for (const auto& [word, info] : ByLetter[static_cast<unsigned char>(name[0] - 'a')])
            if (word.size() == name.size() && std::equal(word.begin(), word.end(), name.begin()))
                return &info;
        return nullptr;
    }

private:
    std::array<std::vector<std::pair<std::string_view, WordInfo>>, 26> ByLetter;
};

const WordTable& Words() {
    static const WordTable words = [] {
        WordTable w{
            {"par", {Word::Par}},
            {"line", {Word::Line}},
            {"tab", {Word::Tab}},
            {"cell", {Word::Cell}},
            {"nestcell", {Word::Cell}},
            {"row", {Word::Row}},
            {"u", {Word::Unicode}},
            {"uc", {Word::UnicodeSkip}},
            {"f", {Word::Font}},
            {"plain", {Word::Plain}},
            {"deff", {Word::DefaultFont}},
            {"ansicpg", {Word::AnsiCodePage}},
            {"fcharset", {Word::FontCharset}},
            {"cpg", {Word::FontCodePage}},
            {"fonttbl", {Word::FontTable}},
            {"upr", {Word::Upr}},
            {"ud", {Word::Ud}},
            {"bin", {Word::Bin}},
            {"emdash", {Word::Special, 0x2014}},
            {"endash", {Word::Special, 0x2013}},
            {"bullet", {Word::Special, 0x2022}},
            {"lquote", {Word::Special, 0x2018}},
            {"rquote", {Word::Special, 0x2019}},
            {"ldblquote", {Word::Special, 0x201C}},
            {"rdblquote", {Word::Special, 0x201D}},
            {"emspace", {Word::Special, ' '}},
            {"enspace", {Word::Special, ' '}},
            {"qmspace", {Word::Special, ' '}},
        };
        // Destinations that hold no body text, written with or without \*.
        for (std::string_view name : {"colortbl",
                                      "stylesheet",
                                      "info",
                                      "pict",
                                      "object",
                                      "objdata",
                                      "header",
                                      "headerl",
                                      "headerr",
                                      "headerf",
                                      "footer",
                                      "footerl",
                                      "footerr",
                                      "footerf",
                                      "footnote",
                                      "annotation",
                                      "atnid",
                                      "atnauthor",
                                      "xe",
                                      "tc",
                                      "txe",
                                      "rxe",
                                      "listtable",
                                      "listoverridetable",
                                      "revtbl",
                                      "rsidtbl",
                                      "filetbl",
                                      "generator",
                                      "pntext",
                                      "pntxta",
                                      "pntxtb",
                                      "listtext",
                                      "fldinst",
                                      "themedata",
                                      "colorschememapping",
                                      "datastore",
                                      "latentstyles",
                                      "xmlnstbl",
                                      "bkmkstart",
                                      "bkmkend",
                                      "shp",
                                      "nonshppict",
                                      "template",
                                      "userprops",
                                      "docvar",
                                      "pgdsctbl",
                                      "ftnsep",
                                      "ftnsepc",
                                      "aftnsep",
                                      "aftnsepc",
                                      "ftncn",
                                      "aftncn",
                                      "do",
                                      "background",
                                      "private"})
            w.Add(name, WordInfo{Word::SkipGroup});
        return w;
    }();
    return words;
}

// RTF font character sets that name a code page.
int CharsetCodePage(int charset) {
    static constexpr std::array<std::pair<int, int>, 14> map{{{2, 1252},
                                                              {128, 932},
                                                              {129, 949},
                                                              {134, 936},
                                                              {136, 950},
                                                              {161, 1253},
                                                              {162, 1254},
                                                              {163, 1258},
                                                              {177, 1255},
                                                              {178, 1256},
                                                              {186, 1257},
                                                              {204, 1251},
                                                              {222, 874},
                                                              {238, 1250}}};
    for (const auto& [set, codePage] : map)
        if (set == charset)
            return codePage;
    return 0;
}

bool IsLetter(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}
bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

int HexValue(char c) {
    if (IsDigit(c))
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

class RtfParser {
public:
    RtfParser(std::string_view rtf, const Big5Converter& big5ToGb)
        : Pos(rtf.data()), End(rtf.data() + rtf.size()), Out(big5ToGb) {
        Stack.emplace_back();
    }

    std::string Read();

private:
    GroupState& State() { return Stack.back(); }
    Destination Dest() const { return Overflow > 0 ? Destination::Skip : Stack.back().Dest; }

    void OpenGroup();
    void CloseGroup();
    void ReadControl();
    void ReadControlWord();
    void ReadControlSymbol(char symbol);
    void ReadText();
    void HandleWord(std::string_view name, std::optional<int> param);
    void HandleBodyWord(const WordInfo& info, int param, bool hasParam);
    void HandleFontTableWord(Word kind, int param);
    void AppendText(std::string_view bytes);
    void AppendUnicode(int param);
    int CodePage() const;
    // Whether the item just read is part of a \uN fallback, and so dropped.
    bool InFallback();

    const char* Pos;
    const char* End;
    RtfOutput Out;
    std::vector<GroupState> Stack;
    std::size_t Overflow = 0; // groups opened beyond MaxDepth
    int FallbackLeft = 0;
    bool AfterHighSurrogate = false;
    int DefaultFont = -1;
    int AnsiCodePage = 0;
    int DefiningFont = -1; // the font table entry being read
    std::unordered_map<int, int> FontCodePages;
};

std::string RtfParser::Read() {
    while (Pos < End) {
        switch (*Pos) {
        case '{':
            ++Pos;
            OpenGroup();
            break;
        case '}':
            ++Pos;
            CloseGroup();
            break;
        case '\\':
            ReadControl();
            break;
        case '\r':
        case '\n':
            ++Pos;
            break;
        default:
            ReadText();
        }
    }
    return Out.Finish();
}

void RtfParser::OpenGroup() {
    FallbackLeft = 0;
    if (Overflow > 0 || Stack.size() >= MaxDepth)
        ++Overflow;
    else
        Stack.push_back(Stack.back());
}

// A '}' with no group open is ignored: the text after it is still read.
void RtfParser::CloseGroup() {
    FallbackLeft = 0;
    if (Overflow > 0)
        --Overflow;
    else if (Stack.size() > 1)
        Stack.pop_back();
}

void RtfParser::ReadControl() {
    if (End - Pos < 2) {
        Pos = End;
        return;
    }
    if (IsLetter(Pos[1])) {
        ++Pos;
        ReadControlWord();
        return;
    }
    const char symbol = Pos[1];
    Pos += 2;
    ReadControlSymbol(symbol);
}

void RtfParser::ReadControlWord() {
    const char* start = Pos;
    while (Pos < End && IsLetter(*Pos))
        ++Pos;
    const std::string_view name(start, static_cast<std::size_t>(Pos - start));
    std::optional<int> param;
    if (Pos < End && (IsDigit(*Pos) || (*Pos == '-' && Pos + 1 < End && IsDigit(Pos[1])))) {
        const bool negative = *Pos == '-';
        if (negative)
            ++Pos;
        long long value = 0; // saturates: \binN takes no more than the file has anyway
        for (; Pos < End && IsDigit(*Pos); ++Pos)
            if (value <= 0x7FFFFFFF)
                value = value * 10 + (*Pos - '0');
        value = std::min(value, 0x7FFFFFFFLL);
        param = static_cast<int>(negative ? -value : value);
    }
    if (Pos < End && *Pos == ' ')
        ++Pos;
    HandleWord(name.size() <= MaxWordLength ? name : std::string_view(), param);
}

void RtfParser::ReadControlSymbol(char symbol) {
    if (symbol == '\'') {
        const int hi = Pos < End ? HexValue(Pos[0]) : -1;
        const int lo = Pos + 1 < End ? HexValue(Pos[1]) : -1;
        if (hi < 0 || lo < 0)
            return; // not a hex byte: what follows is read as text
        Pos += 2;
        const char byte = static_cast<char>(hi * 16 + lo);
        if (Dest() == Destination::Body && !InFallback() && byte != '\0')
            AppendText(std::string_view(&byte, 1));
        return;
    }
    if (symbol == '*') {
        if (Overflow == 0)
            State().Dest = Destination::Skip;
        return;
    }
    if (Dest() != Destination::Body || InFallback())
        return;
    switch (symbol) {
    case '\\':
    case '{':
    case '}':
        AppendText(std::string_view(&symbol, 1));
        break;
    case '~':
        AppendText(" ");
        break;
    case '_':
        AppendText("-");
        break;
    case '\r':
    case '\n':
        Out.AppendAscii("\r\n");
        break;
    case '\t':
        Out.AppendAscii("\t");
        break;
    default: // \- optional hyphen, \| \: and unknown symbols show nothing
        break;
    }
}

// A run of plain text up to the next brace, control or line-end byte.
void RtfParser::ReadText() {
    const char* start = Pos;
    while (Pos < End && *Pos != '{' && *Pos != '}' && *Pos != '\\' && *Pos != '\r' && *Pos != '\n')
        ++Pos;
    if (Dest() != Destination::Body)
        return;
    std::string_view run(start, static_cast<std::size_t>(Pos - start));
    const std::size_t skip = std::min(static_cast<std::size_t>(FallbackLeft), run.size());
    FallbackLeft -= static_cast<int>(skip);
    run.remove_prefix(skip);
    // Zero bytes are no text; the rest is taken as it stands.
    for (std::size_t nul; (nul = run.find('\0')) != std::string_view::npos;) {
        AppendText(run.substr(0, nul));
        run.remove_prefix(nul + 1);
    }
    AppendText(run);
}

bool RtfParser::InFallback() {
    if (FallbackLeft == 0)
        return false;
    --FallbackLeft;
    return true;
}

void RtfParser::HandleWord(std::string_view name, std::optional<int> param) {
    const WordInfo* found = Words().Find(name);
    if (!found)
        return; // unknown words are formatting, or ignorable
    const WordInfo& info = *found;
    const int value = param.value_or(0);
    if (info.Kind == Word::Bin) { // binary data is skipped wherever it stands
        const auto length = static_cast<std::size_t>(std::max(value, 0));
        Pos += std::min(length, static_cast<std::size_t>(End - Pos));
        InFallback();
        return;
    }
    if (Overflow > 0)
        return;
    if (info.Kind == Word::Ud && State().UprOuter) {
        State().Dest = *State().UprOuter;
        State().UprOuter.reset();
        return;
    }
    switch (Dest()) {
    case Destination::Body:
        if (!InFallback())
            HandleBodyWord(info, value, param.has_value());
        break;
    case Destination::FontTable:
        HandleFontTableWord(info.Kind, value);
        break;
    case Destination::Skip:
        break;
    }
}

void RtfParser::HandleBodyWord(const WordInfo& info, int param, bool hasParam) {
    switch (info.Kind) {
    case Word::Par:
    case Word::Line:
        Out.AppendAscii("\r\n");
        break;
    case Word::Row: // the tab of the row's last cell becomes its line end
        Out.DropTrailingTab();
        Out.AppendAscii("\r\n");
        break;
    case Word::Tab:
    case Word::Cell:
        Out.AppendAscii("\t");
        break;
    case Word::Unicode:
        if (hasParam)
            AppendUnicode(param);
        break;
    case Word::UnicodeSkip:
        State().UnicodeSkip = std::clamp(param, 0, MaxUnicodeSkip);
        break;
    case Word::Font:
        State().Font = param;
        break;
    case Word::Plain:
        State().Font = -1;
        break;
    case Word::DefaultFont:
        DefaultFont = param;
        break;
    case Word::AnsiCodePage:
        AnsiCodePage = param;
        break;
    case Word::Special:
        AfterHighSurrogate = false;
        Out.AppendCodePoint(info.Char);
        break;
    case Word::FontTable:
        State().Dest = Destination::FontTable;
        break;
    case Word::SkipGroup:
        State().Dest = Destination::Skip;
        break;
    case Word::Upr: // {\upr{ANSI text}{\*\ud{Unicode text}}}: only the Unicode part is read
        State().UprOuter = State().Dest;
        State().Dest = Destination::Skip;
        break;
    default:
        break;
    }
}

void RtfParser::HandleFontTableWord(Word kind, int param) {
    if (kind == Word::Font)
        DefiningFont = param;
    else if (kind == Word::FontCharset && CharsetCodePage(param) != 0)
        FontCodePages.try_emplace(DefiningFont, CharsetCodePage(param));
    else if (kind == Word::FontCodePage)
        FontCodePages[DefiningFont] = param;
}

int RtfParser::CodePage() const {
    const int font = Stack.back().Font >= 0 ? Stack.back().Font : DefaultFont;
    const auto it = FontCodePages.find(font);
    return it != FontCodePages.end() ? it->second : AnsiCodePage;
}

void RtfParser::AppendText(std::string_view bytes) {
    if (bytes.empty())
        return;
    AfterHighSurrogate = false;
    Out.SetCodePage(CodePage());
    Out.AppendBytes(bytes);
}

// \uN takes a signed 16-bit N. A character beyond the BMP comes as two surrogates; GBK has
// none of them, so the pair gives one '?'.
void RtfParser::AppendUnicode(int param) {
    const auto unit = static_cast<char32_t>(static_cast<std::uint16_t>(param));
    FallbackLeft = State().UnicodeSkip;
    const bool high = unit >= 0xD800 && unit < 0xDC00;
    const bool low = unit >= 0xDC00 && unit < 0xE000;
    if (low && AfterHighSurrogate) {
        AfterHighSurrogate = false;
        return;
    }
    AfterHighSurrogate = high;
    Out.AppendCodePoint(high || low ? U'?' : unit);
}

} // namespace

bool LooksLikeRtf(std::string_view bytes) {
    if (bytes.substr(0, 3) == "\xEF\xBB\xBF")
        bytes.remove_prefix(3);
    const std::size_t start = bytes.find_first_not_of(" \t\r\n");
    return start != std::string_view::npos && bytes.substr(start, 5) == "{\\rtf";
}

std::string RtfToText(std::string_view rtf, const Big5Converter& big5ToGb) {
    if (!LooksLikeRtf(rtf))
        return std::string(rtf);
    return RtfParser(rtf, big5ToGb).Read();
}
