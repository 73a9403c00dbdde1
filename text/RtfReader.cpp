#include "RtfReader.h"

#include "RtfOutput.h"
#include "RtfWords.h"

#include <algorithm>
#include <cstdint>
#include <optional>
#include <unordered_map>
#include <vector>

namespace {

// Deeper groups than this keep no state of their own: their text is read as text of the deepest
// group kept, so that a file of nothing but '{' costs no memory beyond this stack.
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
    Destination Dest() const {
        return Overflow > 0 && SkipFrom > 0 ? Destination::Skip : Stack.back().Dest;
    }

    void OpenGroup();
    void CloseGroup();
    void ReadControl();
    void ReadControlWord();
    void ReadControlSymbol(char symbol);
    void ReadText();
    void HandleWord(std::string_view name, std::optional<int> param);
    void HandleBodyWord(const RtfWordInfo& info, int param, bool hasParam);
    void HandleFontTableWord(RtfWord kind, int param);
    void HandleOverflowWord(const RtfWordInfo& info, int param, bool hasParam);
    void AppendText(std::string_view bytes);
    void AppendUnicode(int param);
    void FlushHighSurrogate();
    int CodePage() const;
    // Whether the item just read is part of a \uN fallback, and so dropped.
    bool InFallback();

    const char* Pos;
    const char* End;
    RtfOutput Out;
    std::vector<GroupState> Stack;
    std::size_t Overflow = 0; // groups opened beyond MaxDepth
    std::size_t SkipFrom = 0; // the overflow group holding no body text, counted as Overflow
    int FallbackLeft = 0;
    char32_t HighSurrogate = 0; // a \uN high surrogate waiting for its low one
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
    FlushHighSurrogate();
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
    if (Overflow > 0) {
        if (Overflow == SkipFrom)
            SkipFrom = 0;
        --Overflow;
    } else if (Stack.size() > 1)
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
        else if (SkipFrom == 0)
            SkipFrom = Overflow;
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
    const RtfWordInfo* found = FindRtfWord(name);
    if (!found)
        return; // unknown words are formatting, or ignorable
    const RtfWordInfo& info = *found;
    const int value = param.value_or(0);
    if (info.Kind == RtfWord::Bin) { // binary data is skipped wherever it stands
        const auto length = static_cast<std::size_t>(std::max(value, 0));
        Pos += std::min(length, static_cast<std::size_t>(End - Pos));
        InFallback();
        return;
    }
    if (Overflow > 0) {
        HandleOverflowWord(info, value, param.has_value());
        return;
    }
    if (info.Kind == RtfWord::Ud && State().UprOuter) {
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

void RtfParser::HandleBodyWord(const RtfWordInfo& info, int param, bool hasParam) {
    switch (info.Kind) {
    case RtfWord::Par:
    case RtfWord::Line:
        Out.AppendAscii("\r\n");
        break;
    case RtfWord::Row: // the tab of the row's last cell becomes its line end
        Out.DropTrailingTab();
        Out.AppendAscii("\r\n");
        break;
    case RtfWord::Tab:
    case RtfWord::Cell:
        Out.AppendAscii("\t");
        break;
    case RtfWord::Unicode:
        if (hasParam)
            AppendUnicode(param);
        break;
    case RtfWord::UnicodeSkip:
        State().UnicodeSkip = std::clamp(param, 0, MaxUnicodeSkip);
        break;
    case RtfWord::Font:
        State().Font = param;
        break;
    case RtfWord::Plain:
        State().Font = -1;
        break;
    case RtfWord::DefaultFont:
        DefaultFont = param;
        break;
    case RtfWord::AnsiCodePage:
        AnsiCodePage = param;
        break;
    case RtfWord::Special:
        FlushHighSurrogate();
        Out.AppendCodePoint(info.Char);
        break;
    case RtfWord::FontTable:
        State().Dest = Destination::FontTable;
        break;
    case RtfWord::SkipGroup:
        State().Dest = Destination::Skip;
        break;
    case RtfWord::Upr: // {\upr{ANSI text}{\*\ud{Unicode text}}}: only the Unicode part is read
        State().UprOuter = State().Dest;
        State().Dest = Destination::Skip;
        break;
    default:
        break;
    }
}

// Past the nesting limit a group has no state of its own to change: its words may give text
// of the deepest group kept, or make the whole group one that holds no body text.
void RtfParser::HandleOverflowWord(const RtfWordInfo& info, int param, bool hasParam) {
    if (Dest() != Destination::Body || InFallback())
        return;
    switch (info.Kind) {
    case RtfWord::FontTable:
    case RtfWord::SkipGroup:
    case RtfWord::Upr:
        SkipFrom = Overflow;
        break;
    case RtfWord::Par:
    case RtfWord::Line:
    case RtfWord::Row:
    case RtfWord::Tab:
    case RtfWord::Cell:
    case RtfWord::Unicode:
    case RtfWord::Special:
        HandleBodyWord(info, param, hasParam);
        break;
    default:
        break;
    }
}

void RtfParser::HandleFontTableWord(RtfWord kind, int param) {
    if (kind == RtfWord::Font)
        DefiningFont = param;
    else if (kind == RtfWord::FontCharset && CharsetCodePage(param) != 0)
        FontCodePages.try_emplace(DefiningFont, CharsetCodePage(param));
    else if (kind == RtfWord::FontCodePage)
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
    FlushHighSurrogate();
    Out.SetCodePage(CodePage());
    Out.AppendBytes(bytes);
}

// A high surrogate that no low one followed is no character: it gives one '?'.
void RtfParser::FlushHighSurrogate() {
    if (HighSurrogate != 0)
        Out.AppendCodePoint(U'?');
    HighSurrogate = 0;
}

// \uN takes a signed 16-bit N. A character beyond the BMP comes as two surrogates, which give
// the one character; a surrogate without its other half gives '?'.
void RtfParser::AppendUnicode(int param) {
    const auto unit = static_cast<char32_t>(static_cast<std::uint16_t>(param));
    FallbackLeft = State().UnicodeSkip;
    const bool high = unit >= 0xD800 && unit < 0xDC00;
    const bool low = unit >= 0xDC00 && unit < 0xE000;
    if (low && HighSurrogate != 0) {
        Out.AppendCodePoint(0x10000 + ((HighSurrogate - 0xD800) << 10) + (unit - 0xDC00));
        HighSurrogate = 0;
        return;
    }
    FlushHighSurrogate();
    if (high)
        HighSurrogate = unit;
    else
        Out.AppendCodePoint(low ? U'?' : unit);
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
