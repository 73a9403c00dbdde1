#include "ChapterWords.h"

#include <cerrno>
#include <iconv.h>
#include <limits>

namespace chapters {
namespace {

const char* IconvName(TextCode code) {
    return code == TextCode::Big5 ? "BIG5" : "GBK";
}

// `text` converted by iconv; each input byte iconv refuses becomes `bad` when given, else the
// whole conversion fails.
std::optional<std::string> Convert(std::string_view text, const char* to, const char* from,
                                   std::optional<std::string_view> bad) {
    iconv_t cd = iconv_open(to, from);
    if (cd == reinterpret_cast<iconv_t>(-1))
        return std::nullopt;
    std::string out;
    char buffer[256];
    char* in = const_cast<char*>(text.data());
    std::size_t inLeft = text.size();
    while (inLeft > 0) {
        char* outp = buffer;
        std::size_t outLeft = sizeof buffer;
        const std::size_t r = iconv(cd, &in, &inLeft, &outp, &outLeft);
        out.append(buffer, outp);
        if (r != static_cast<std::size_t>(-1) || errno == E2BIG)
            continue;
        if (!bad) {
            iconv_close(cd);
            return std::nullopt;
        }
        out += *bad;
        ++in;
        --inLeft;
    }
    iconv_close(cd);
    return out;
}

// Characters that play one part, simplified and traditional forms side by side: GBK holds
// both, BIG5 the traditional ones.
struct Group {
    const char* Utf8;
    std::uint16_t Flags;
    std::uint16_t Value;
};
constexpr Group Groups[] = {
    {"　", Space, 0},
    {"第", Di, 0},
    {"十拾", Numeral, 10},
    {"百佰", Numeral, 100},
    {"千仟", Numeral, 1000},
    {"万萬", Numeral, 10000},
    {"章", Unit, RuleZhang},
    {"回", Unit, RuleHui},
    {"节節", Unit, RuleJie},
    {"集", Unit, RuleJi},
    {"部", Unit, RuleBu},
    {"篇", Unit, RulePian},
    {"话話", Unit, RuleHua},
    {"卷", Unit, RuleJuan},
    {"、·", Separator, 0},
    {"：", Separator | Closing, 0},
    {"．", Separator | SentenceEnd | Closing, 0},
    {"。！？；", SentenceEnd | Closing, 0},
    {"，", SentenceEnd, 0},
    {"…—”’」』）》", Closing, 0},
};
// The forms of each digit, by its value.
constexpr const char* DigitForms[] = {"〇零０", "一壹１",   "二两兩贰貳２", "三叁參叄３", "四肆４",
                                      "五伍５", "六陆陸６", "七柒７",       "八捌８",     "九玖９"};

// Words that only start like a heading: 第六回合, 第三节课, 第一部分, 第二集合...
struct Exclusion {
    Rule After;
    const char* Utf8;
};
constexpr Exclusion Exclusions[] = {
    {RuleHui, "合来來去到家头頭事复復答应應归歸报報忆憶想过過味首转轉击擊敬避收见見"},
    {RuleJi, "合团團中体體市结結会會资資训訓"},
    {RuleBu, "分门門队隊长長署位件落下属屬"},
    {RuleJie, "课課目日点點约約省奏拍"},
    {RuleZhang, "程法"},
    {RulePian, "幅"},
    {RuleHua, "题題语語说說费費筒剧劇音"},
    {RuleJuan, "入起走烟菸发髮轴軸尺帘簾曲"},
};

struct SpecialEntry {
    const char* Utf8;
    bool TitleFollows;
};
constexpr SpecialEntry SpecialEntries[] = {
    {"序章", true},  {"楔子", false}, {"引子", false}, {"序言", false},
    {"前言", false}, {"尾声", false}, {"尾聲", false}, {"后记", false},
    {"後記", false}, {"番外", true},  {"终章", true},  {"終章", true},
};

std::optional<std::uint16_t> CodeOf(const char* utf8, TextCode code) {
    const std::optional<std::string> bytes = Utf8ToText(utf8, code);
    if (!bytes || bytes->size() != 2)
        return std::nullopt;
    return static_cast<std::uint16_t>((static_cast<unsigned char>((*bytes)[0]) << 8) |
                                      static_cast<unsigned char>((*bytes)[1]));
}

// The UTF-8 characters of a string, one at a time.
std::vector<std::string> Utf8Chars(std::string_view text) {
    std::vector<std::string> chars;
    for (std::size_t i = 0; i < text.size();) {
        std::size_t n = 1;
        while (i + n < text.size() && (static_cast<unsigned char>(text[i + n]) & 0xC0) == 0x80)
            ++n;
        chars.emplace_back(text.substr(i, n));
        i += n;
    }
    return chars;
}

void AddAscii(ZeroedTable<Word>& table) {
    table[' '].Flags = table['\t'].Flags = Space;
    for (int d = 0; d <= 9; ++d)
        table['0' + d] = {Numeral, static_cast<std::uint16_t>(d), 0};
    table[':'].Flags = Separator | Closing;
    table['.'].Flags = Separator | SentenceEnd | Closing;
    for (const char c : {',', ';'})
        table[static_cast<unsigned char>(c)].Flags = SentenceEnd;
    for (const char c : {'!', '?'})
        table[static_cast<unsigned char>(c)].Flags = SentenceEnd | Closing;
    for (const char c : {')', '"', '\''})
        table[static_cast<unsigned char>(c)].Flags = Closing;
}

} // namespace

ChapterWords::ChapterWords(TextCode code) : Table(65536) {
    AddAscii(Table);
    const auto add = [&](const char* utf8, std::uint16_t flags, std::uint16_t value) {
        for (const std::string& ch : Utf8Chars(utf8))
            if (const auto c = CodeOf(ch.c_str(), code)) {
                Table[*c].Flags |= flags;
                Table[*c].Value = value;
            }
    };
    for (const Group& g : Groups)
        add(g.Utf8, g.Flags, g.Value);
    for (std::uint16_t digit = 0; digit < 10; ++digit)
        add(DigitForms[digit], Numeral, digit);
    for (const Exclusion& e : Exclusions)
        for (const std::string& ch : Utf8Chars(e.Utf8))
            if (const auto c = CodeOf(ch.c_str(), code))
                Table[*c].ExcludedAfter |= static_cast<std::uint8_t>(1u << e.After);
    for (const SpecialEntry& e : SpecialEntries)
        if (const std::optional<std::string> bytes = Utf8ToText(e.Utf8, code)) {
            SpecialWords.push_back({*bytes, e.TitleFollows});
            Table[CharAt(*bytes, 0).Code].Flags |= SpecialStart;
        }
}

// Each code's table is made on its first use only: a GB novel never needs BIG5's.
const ChapterWords& ChapterWords::For(TextCode code) {
    if (code == TextCode::Big5) {
        static const ChapterWords big5(TextCode::Big5);
        return big5;
    }
    static const ChapterWords gb(TextCode::Gb);
    return gb;
}

std::size_t CountChars(std::string_view text, std::size_t limit) {
    std::size_t n = 0;
    for (std::size_t pos = 0; pos < text.size() && n <= limit; ++n)
        pos += CharAt(text, pos).Length;
    return n;
}

std::string_view FirstChars(std::string_view text, std::size_t limit) {
    std::size_t pos = 0;
    for (std::size_t n = 0; pos < text.size() && n < limit; ++n)
        pos += CharAt(text, pos).Length;
    return text.substr(0, pos);
}

std::string TextToUtf8(std::string_view text, TextCode code) {
    if (code == TextCode::Gb)
        return gbk::ToUtf8(text);
    return Convert(text, "UTF-8", IconvName(code), "\xEF\xBF\xBD").value_or(std::string());
}

std::optional<std::string> Utf8ToText(std::string_view utf8, TextCode code) {
    return Convert(utf8, IconvName(code), "UTF-8", std::nullopt);
}

} // namespace chapters
