// test-links: mojuan_text
#include "text/Gb2Big5.h"
#include "TestSupport.h"
#include "text/Gb2Big5Tables.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <iconv.h>
#include <random>
#include <set>
#include <string>
#include <string_view>
#include <vector>

namespace {

std::string Bytes(std::initializer_list<int> values) {
    std::string s;
    for (int v : values)
        s.push_back(static_cast<char>(v));
    return s;
}

std::uint16_t Big5ToGbCode(std::uint16_t big5) {
    return Big5GbTable[Big5CharIndex(big5 >> 8, big5 & 0xFF)];
}

std::uint16_t GbToBig5Code(std::uint16_t gb) {
    return GbBig5Table[GbCharIndex(gb >> 8, gb & 0xFF)];
}

int Mapped(const auto& table) {
    int n = 0;
    for (std::uint16_t v : table)
        n += v != NoCounterpart;
    return n;
}

bool IsBig5Extension(std::uint16_t code) {
    return (code >= 0xC6A1 && code <= 0xC8FE) || (code >= 0xF9D6 && code <= 0xF9FE);
}

// Whether the code set assigns a character to the two-byte code, by glibc's iconv.
bool IsAssigned(iconv_t cd, std::uint16_t code) {
    char in[2] = {static_cast<char>(code >> 8), static_cast<char>(code & 0xFF)};
    char out[8];
    char* inp = in;
    char* outp = out;
    std::size_t inLeft = 2, outLeft = sizeof out;
    iconv(cd, nullptr, nullptr, nullptr, nullptr);
    return iconv(cd, &inp, &inLeft, &outp, &outLeft) != static_cast<std::size_t>(-1);
}

// A four-byte GB18030 character: 81-FE, 30-39, 81-FE, 30-39.
bool IsFourByte(const std::string& t, std::size_t i) {
    const auto at = [&t](std::size_t k) { return static_cast<unsigned char>(t[k]); };
    return i + 3 < t.size() && at(i) >= 0x81 && at(i) <= 0xFE && at(i + 1) >= 0x30 &&
           at(i + 1) <= 0x39 && at(i + 2) >= 0x81 && at(i + 2) <= 0xFE && at(i + 3) >= 0x30 &&
           at(i + 3) <= 0x39;
}

// The scans exactly as the algorithm states them, one position at a time, to hold the fast
// block-wise scans against. A four-byte character is taken whole.
std::string PlainBig5ToGb(const std::string& t) {
    std::string r;
    for (std::size_t i = 0; i < t.size();) {
        const unsigned char b1 = t[i], b2 = i + 1 < t.size() ? t[i + 1] : 0;
        const int index = Big5CharIndex(b1, b2);
        if (IsFourByte(t, i)) {
            r += t.substr(i, 4);
            i += 4;
        } else if (IsBig5Char(b1, b2) && index >= 0 && index <= 14757) {
            r += CodeToChars(Big5GbTable[index]);
            i += 2;
        } else {
            r += t[i++];
        }
    }
    return r;
}

// GB text is GBK text: a GBK character outside GB2312 is copied whole.
std::string PlainGbToBig5(const std::string& t) {
    std::string r;
    for (std::size_t i = 0; i < t.size();) {
        const unsigned char b1 = t[i], b2 = i + 1 < t.size() ? t[i + 1] : 0;
        if (IsFourByte(t, i)) {
            r += "    ";
            i += 4;
        } else if (IsGbChar(b1, b2)) {
            r += CodeToChars(GbBig5Table[GbCharIndex(b1, b2)]);
            i += 2;
        } else if (b1 >= 0x81 && b1 <= 0xFE && b2 >= 0x40 && b2 <= 0xFE && b2 != 0x7F) {
            r += t.substr(i, 2);
            i += 2;
        } else {
            r += t[i++];
        }
    }
    return r;
}

bool PlainIsBig5Text(const std::string& t) {
    long long ascii = 0, gb = 0;
    for (std::size_t i = 0; i < t.size();) {
        const unsigned char b1 = t[i], b2 = i + 1 < t.size() ? t[i + 1] : 0;
        if (IsFourByte(t, i)) {
            ascii += 4; // weighs for neither code
            i += 4;
        } else if (IsGbChar(b1, b2)) {
            gb += 2;
            i += 2;
        } else if (b1 >= 0x80) {
            i += 2;
        } else {
            ++ascii;
            ++i;
        }
    }
    return 5 * (static_cast<long long>(t.size()) - ascii) > 7 * gb;
}

// Random text drawn mostly from the bytes that matter to the scans: line breaks, ASCII, the
// edges of the GB and BIG5 byte ranges and anything at all.
std::string MixedBytes(std::mt19937& rng, std::size_t size) {
    static const int edges[] = {0x00, 0x0D, 0x0A, 0x20, 0x30, 0x39, 0x3F, 0x40, 0x7E, 0x7F, 0x80,
                                0x81, 0xA0, 0xA1, 0xA4, 0xB0, 0xC9, 0xF7, 0xF8, 0xFE, 0xFF};
    std::uniform_int_distribution<int> pick(0, 99), edge(0, std::size(edges) - 1), high(0xA1, 0xFE),
        any(0, 255);
    std::string s;
    while (s.size() < size) {
        const int p = pick(rng);
        if (p < 55) { // a run of double-byte text, as most of a novel is
            for (int k = 0, n = pick(rng) % 20; k < n; ++k)
                s += Bytes({high(rng), pick(rng) < 30 ? 0x40 + pick(rng) % 63 : high(rng)});
        } else if (p < 60) { // a four-byte character
            s += Bytes({high(rng), 0x30 + pick(rng) % 10, high(rng), 0x30 + pick(rng) % 10});
        } else if (p < 80) {
            s.push_back(static_cast<char>(edges[edge(rng)]));
        } else {
            s.push_back(static_cast<char>(any(rng)));
        }
    }
    s.resize(size);
    return s;
}

// Calls f(position) at the start of every double-byte character of a GBK or BIG5 text: a byte
// 81-FE starts one, whatever follows, as both codes are written.
template <class F> void ForEachDoubleByte(const std::string& text, F f) {
    for (std::size_t i = 0; i + 1 < text.size();) {
        if (static_cast<unsigned char>(text[i]) >= 0x81) {
            f(i);
            i += 2;
        } else {
            ++i;
        }
    }
}

// The GB code of one character written in UTF-8, by iconv; 0 when it has none.
std::uint16_t GbCodeOf(iconv_t utf8ToGbk, const std::string& character) {
    char out[8];
    char* in = const_cast<char*>(character.data());
    char* outp = out;
    std::size_t inLeft = character.size(), outLeft = sizeof out;
    iconv(utf8ToGbk, nullptr, nullptr, nullptr, nullptr);
    if (iconv(utf8ToGbk, &in, &inLeft, &outp, &outLeft) == static_cast<std::size_t>(-1) ||
        outp - out != 2)
        return 0;
    return static_cast<std::uint16_t>(static_cast<unsigned char>(out[0]) << 8 |
                                      static_cast<unsigned char>(out[1]));
}

// The characters of a UTF-8 string, one string each.
std::vector<std::string> Utf8Characters(std::string_view text) {
    std::vector<std::string> characters;
    for (std::size_t i = 0; i < text.size();) {
        std::size_t n = 1;
        while (i + n < text.size() && (static_cast<unsigned char>(text[i + n]) & 0xC0) == 0x80)
            ++n;
        characters.emplace_back(text.substr(i, n));
        i += n;
    }
    return characters;
}

// ---- The tables

// The published tables hold 7111 GB codes (BIG5 to GB) and 6930 BIG5 codes (GB to BIG5); only
// their counts are known, not their contents. GB to BIG5 maps 14 fewer: every GB character
// that has a form in standard BIG5 is mapped (GbCharactersWithoutBig5Form lists the rest and
// why), so the published table must have filled some of those by likeness or from BIG5's
// extension rows. BIG5 to GB maps 7 more: BIG5's rounded corners and double lines fold to GB's
// light line-drawing pieces (8) and the two-dot colon ︰ to ∶ (1), which the published table
// seems to leave empty; the other two of the difference have no known cause.
TEST(Gb2Big5TablesTest, CountsOfMappedCodes) {
    const int big5Mapped = Mapped(Big5GbTable), gbMapped = Mapped(GbBig5Table);
    std::printf("Big5GbTable: %d GB codes, %d empty; GbBig5Table: %d BIG5 codes, %d empty\n",
                big5Mapped, Big5TableSize - big5Mapped, gbMapped, GbTableSize - gbMapped);
    EXPECT_EQ(Big5TableSize, 14758);
    EXPECT_EQ(GbTableSize, 8178);
    EXPECT_EQ(big5Mapped, 7111 + 9 - 2);
    EXPECT_EQ(gbMapped, 6930 - 14);
}

TEST(Gb2Big5TablesTest, TellingRowsBig5ToGb) {
    EXPECT_EQ(Big5ToGbCode(0xA140), 0x2020); // ideographic space
    EXPECT_EQ(Big5ToGbCode(0xA141), 0xA3AC); // ，
    EXPECT_EQ(Big5ToGbCode(0xA440), 0xD2BB); // 一
    EXPECT_EQ(Big5ToGbCode(0xABE1), 0xE1E1); // 後 stays 後, which GB2312 also holds
    EXPECT_EQ(Big5ToGbCode(0xADCC), 0xC3C7); // 們 → 们
    EXPECT_EQ(Big5ToGbCode(0xC940), 0x2020); // 乂, which GB2312 lacks
}

TEST(Gb2Big5TablesTest, TellingRowsGbToBig5) {
    EXPECT_EQ(GbToBig5Code(0xA1A1), 0x2020); // ideographic space
    EXPECT_EQ(GbToBig5Code(0xA1A3), 0xA143); // 。
    EXPECT_EQ(GbToBig5Code(0xBAF3), 0xABE1); // 后 → 後
    EXPECT_EQ(GbToBig5Code(0xC3C7), 0xADCC); // 们 → 們
    EXPECT_EQ(GbToBig5Code(0xA2D9), 0x2020); // ①
}

TEST(Gb2Big5TablesTest, SimplifiedFormsAndTaiwanForms) {
    EXPECT_EQ(Big5ToGbCode(0xB8CC), 0xC0EF); // 裡 → 里
    EXPECT_EQ(Big5ToGbCode(0xC5E9), 0xCCE5); // 體 → 体
    EXPECT_EQ(Big5ToGbCode(0xA14D), 0xA3AC); // small comma ﹐ → ，
    EXPECT_EQ(GbToBig5Code(0xC0EF), 0xB8CC); // 里 → 裡
    EXPECT_EQ(GbToBig5Code(0xC3B4), 0xBBF2); // 么 → 麼
    EXPECT_EQ(GbToBig5Code(0xD2BB), 0xA440); // 一
    EXPECT_EQ(GbToBig5Code(0xB0A1), 0xB0DA); // 啊
    EXPECT_EQ(GbToBig5Code(0xA3AC), 0xA141); // ，
}

TEST(Gb2Big5TablesTest, CharactersTheStandardListLacksTakeTheirTaiwanForm) {
    EXPECT_EQ(GbToBig5Code(0xD7C5), 0xB5DB); // 着 → 著
    EXPECT_EQ(GbToBig5Code(0xC8FE), 0xB0D1); // 叁 → 參, Taiwan's financial numeral three
    EXPECT_EQ(GbToBig5Code(0xBCEF), 0xC650); // 硷 → 鹼
    EXPECT_EQ(GbToBig5Code(0xCEDB), 0xA6BE); // 污 → 汙, Taiwan's form, though BIG5 holds 污
    EXPECT_EQ(GbToBig5Code(0xE7DB), 0xA45C); // 幺 → 么
    EXPECT_EQ(GbToBig5Code(0xE3DF), 0xA4F4); // 氵 → 水
    EXPECT_EQ(GbToBig5Code(0xDAA5), 0xA8A5); // 讠 → 言
    EXPECT_EQ(GbToBig5Code(0xCAAE), 0xA451); // 十 among the characters, not the copy at A2CC
    EXPECT_EQ(GbToBig5Code(0xA6E0), 0xA15F); // GBK's vertical ︵ → ︵
}

TEST(Gb2Big5TablesTest, EveryEntryIsACharacterOfTheOtherSet) {
    iconv_t gb = iconv_open("UTF-8", "GB2312"), big5 = iconv_open("UTF-8", "BIG5");
    ASSERT_NE(gb, reinterpret_cast<iconv_t>(-1));
    ASSERT_NE(big5, reinterpret_cast<iconv_t>(-1));
    for (std::uint16_t v : Big5GbTable) {
        if (v == NoCounterpart)
            continue;
        ASSERT_TRUE(IsGbChar(v >> 8, v & 0xFF) && IsAssigned(gb, v)) << std::hex << v;
    }
    for (std::uint16_t v : GbBig5Table) {
        if (v == NoCounterpart)
            continue;
        ASSERT_TRUE(IsBig5Char(v >> 8, v & 0xFF) && (v >> 8) >= 0xA1) << std::hex << v;
        ASSERT_TRUE(IsAssigned(big5, v) && !IsBig5Extension(v)) << std::hex << v;
    }
    iconv_close(gb);
    iconv_close(big5);
}

TEST(Gb2Big5TablesTest, NonStandardPositionsHaveNoEntry) {
    for (int b1 = 0xA1; b1 <= 0xFE; ++b1) {
        for (int b2 = 0x40; b2 <= 0xFE; ++b2) {
            if (IsBig5Char(b1, b2) && IsBig5Extension((b1 << 8) | b2)) {
                ASSERT_EQ(Big5ToGbCode((b1 << 8) | b2), 0x2020) << std::hex << b1 << b2;
            }
        }
    }
    for (int b1 = 0xAA; b1 <= 0xAF; ++b1)
        for (int b2 = 0xA1; b2 <= 0xFE; ++b2)
            ASSERT_EQ(GbToBig5Code((b1 << 8) | b2), 0x2020) << std::hex << b1 << b2;
}

// Every GB character (as Chinese Windows writes the GB byte range, GBK) that still has no
// counterpart, grouped by why BIG5 has no form for it. A character that gains or loses a
// counterpart shows up here.
struct WithoutBig5Form {
    const char* reason;
    const char* characters;
    bool withForms = false; // each character followed by its form that BIG5 lacks
};
const WithoutBig5Form GbWithoutBig5Form[] = {
    {"the ideographic space, written as two ASCII spaces", "\u3000"},
    {"marks and mathematical signs BIG5 lacks", "¨々∧∨∑∏∈∷⌒≌∽∝≮≯″¤‰№〓＂＇＾｀"},
    {"numbers with a stop, in parentheses or circled, Roman numerals above ten",
     "⒈⒉⒊⒋⒌⒍⒎⒏⒐⒑⒒⒓⒔⒕⒖⒗⒘⒙⒚⒛⑴⑵⑶⑷⑸⑹⑺⑻⑼⑽⑾⑿⒀⒁⒂⒃⒄⒅⒆⒇①②③④⑤⑥⑦⑧⑨⑩"
     "㈠㈡㈢㈣㈤㈥㈦㈧㈨㈩ⅪⅫ"},
    {"kana",
     "ぁあぃいぅうぇえぉおかがきぎくぐけげこごさざしじすずせぜそぞただちぢっつづてでとどなにぬね"
     "のはばぱひびぴふぶぷへべぺほぼぽまみむめもゃやゅゆょよらりるれろゎわゐゑをんァアィイゥウェ"
     "エォオカガキギクグケゲコゴサザシジスズセゼソゾタダチヂッツヅテデトドナニヌネノハバパヒビピ"
     "フブプヘベペホボポマミムメモャヤュユョヨラリルレロヮワヰヱヲンヴヵヶ"},
    {"Cyrillic letters", "АБВГДЕЁЖЗИЙКЛМНОПРСТУФХЦЧШЩЪЫЬЭЮЯабвгдеёжзийклмнопрстуфхцчшщъыьэюя"},
    {"pinyin letters with tone marks, and GBK's ɑ ń ň ɡ", "āáǎàēéěèīíǐìōóǒòūúǔùǖǘǚǜüêɑńňɡ"},
    {"radicals and component forms", "丨丿丶亠冖卩廴厶彡夂宀辶彐攴攵肀疒"},
    {"traditional form not in BIG5",
     "钎釺锨鍁垅壠垴堖荬蕒荮葤咝噝岽崬犸獁馇餷馓饊馕饢枧梘轱軲轷軤胨腖砜碸眍瞘钚鈈钷鉕铘鋣铞銱"
     "锃鋥锍鋶锎鐦锏鐧锘鍩锝鍀锪鍃锫錇锿鎄镅鎇镥鑥镩鑹镲鑔鹋鶓鹛鶥鹱鸌疬癧耢耮颥顬螨蟎鲅鮁鲆鮃"
     "鲴鯝鲺鯴鲼鱝鳊鯿鳋鰠鳘鰵鳙鱅鞒鞽",
     true},
    {"the only variant BIG5 holds names another word today (吲 is no 哂, 揸 no 楂)", "吲揸幞溻"},
    {"neither the character nor a variant of it is in BIG5 (chemistry, dialect, names)",
     "傈酶墒酞劐仫伲倮氽凇勐凼垡垧埝塄塬墚苊芪苄苷苘茚萘萜葜蒈蒽蔸藁揞擀甙卟吖呋吡咔哐咴咣哌哚唣"
     "啉唿喹嗪嗬嗵嘞嘣嘭噍噔噻噼嚯岜峁崾嵛嵴狍猹猸憷浜胬尜珏珉桕桊榀榘檫軎晗犟犏毪敫肟肼肽肷胩脎"
     "脒脲腈腙腚膪臁炻烀煳煊煺熘砘砹砼硇碹磙礴睃畲罱痃癀癍癔耠耥耱蝽蝰螋筻筢箢篼舭舾醌踺鐾鞴骶骺"
     "鬏黢齄"},
};

TEST(Gb2Big5TablesTest, GbCharactersWithoutBig5Form) {
    iconv_t toGbk = iconv_open("GBK", "UTF-8"), gbk = iconv_open("UTF-8", "GBK");
    ASSERT_NE(toGbk, reinterpret_cast<iconv_t>(-1));
    ASSERT_NE(gbk, reinterpret_cast<iconv_t>(-1));
    std::set<std::uint16_t> expected;
    for (const WithoutBig5Form& group : GbWithoutBig5Form) {
        const std::vector<std::string> characters = Utf8Characters(group.characters);
        for (std::size_t i = 0; i < characters.size(); i += group.withForms ? 2 : 1) {
            const std::uint16_t code = GbCodeOf(toGbk, characters[i]);
            ASSERT_TRUE(IsGbChar(code >> 8, code & 0xFF)) << characters[i];
            EXPECT_EQ(GbToBig5Code(code), NoCounterpart) << characters[i] << ": " << group.reason;
            expected.insert(code);
        }
    }
    int unmapped = 0;
    for (int b1 = 0xA1; b1 <= 0xF7; ++b1) {
        for (int b2 = 0xA1; b2 <= 0xFE; ++b2) {
            const std::uint16_t code = static_cast<std::uint16_t>(b1 << 8 | b2);
            if (GbToBig5Code(code) != NoCounterpart || !IsAssigned(gbk, code))
                continue;
            ++unmapped;
            EXPECT_TRUE(expected.count(code))
                << "unlisted GB character without counterpart " << std::hex << code;
        }
    }
    EXPECT_EQ(unmapped, static_cast<int>(expected.size()));
    iconv_close(toGbk);
    iconv_close(gbk);
}

// ---- Characters and indexes

TEST(Gb2Big5CharTest, ByteRangesOfTheTests) {
    EXPECT_TRUE(IsGbChar(0xA1, 0xA1));
    EXPECT_TRUE(IsGbChar(0xF7, 0xFE));
    EXPECT_FALSE(IsGbChar(0xF8, 0xA1));
    EXPECT_FALSE(IsGbChar(0xB0, 0xA0));
    EXPECT_FALSE(IsGbChar(0xB0, 0xFF));
    EXPECT_TRUE(IsBig5Char(0x81, 0x40));
    EXPECT_TRUE(IsBig5Char(0xFE, 0x7E));
    EXPECT_TRUE(IsBig5Char(0xA4, 0xA1));
    EXPECT_FALSE(IsBig5Char(0x80, 0x40));
    EXPECT_FALSE(IsBig5Char(0xA4, 0x7F));
    EXPECT_FALSE(IsBig5Char(0xA4, 0xA0));
    EXPECT_FALSE(IsBig5Char(0xA4, 0x00)); // what a test sees past the end of the text
}

TEST(Gb2Big5CharTest, IndexesCoverTheTables) {
    EXPECT_EQ(GbCharIndex(0xA1, 0xA1), 0);
    EXPECT_EQ(GbCharIndex(0xF7, 0xFE), 8177);
    EXPECT_EQ(Big5CharIndex(0xA1, 0x40), 0);
    EXPECT_EQ(Big5CharIndex(0xA1, 0x7E), 62);
    EXPECT_EQ(Big5CharIndex(0xA1, 0xA1), 63);
    EXPECT_EQ(Big5CharIndex(0xA2, 0x40), 157);
    EXPECT_EQ(Big5CharIndex(0xFE, 0xFE), 14757);
    EXPECT_LT(Big5CharIndex(0xA0, 0xFE), 0);
    EXPECT_EQ(CodeToChars(0xA3AC), Bytes({0xA3, 0xAC}));
    EXPECT_EQ(CodeToChars(0x2020), "  ");
}

// ---- Conversion

TEST(Gb2Big5ConvertTest, CharactersOfTheEdgeCases) {
    EXPECT_EQ(Big5ToGb(Bytes({0xA4, 0x40})), Bytes({0xD2, 0xBB}));
    EXPECT_EQ(Big5ToGb(Bytes({0xA1, 0x40})), "  ");
    EXPECT_EQ(GbToBig5(Bytes({0xBA, 0xF3})), Bytes({0xAB, 0xE1}));
    EXPECT_EQ(GbToBig5(Bytes({0xA1, 0xA1, 0xA1, 0xA1})), "    ");
}

TEST(Gb2Big5ConvertTest, PairWithoutIndexGivesUpOnlyItsFirstByte) {
    EXPECT_EQ(Big5ToGb(Bytes({0x85, 0xA4, 0x40})), Bytes({0x85, 0xD2, 0xBB}));
}

TEST(Gb2Big5ConvertTest, GbkCharacterOutsideGbIsCopiedWhole) {
    // 屄着着: the scan must not pair C2 with D7 and lose its step for the rest of the line.
    EXPECT_EQ(GbToBig5(Bytes({0x8C, 0xC2, 0xD7, 0xC5, 0xD7, 0xC5})),
              Bytes({0x8C, 0xC2, 0xB5, 0xDB, 0xB5, 0xDB}));
    // A lead byte without a second byte after it stays a single byte.
    EXPECT_EQ(GbToBig5(Bytes({0xBA, 0xF3, 0x8C})), Bytes({0xAB, 0xE1, 0x8C}));
}

TEST(Gb2Big5ConvertTest, FourByteCharactersPassToGbAndBecomeSpacesInBig5) {
    const std::string emoji = Bytes({0x94, 0x39, 0xDA, 0x33}); // U+1F600
    const std::string gb = Bytes({0xBA, 0xF3}) + emoji + Bytes({0xBA, 0xF3});
    EXPECT_EQ(GbToBig5(gb), Bytes({0xAB, 0xE1, ' ', ' ', ' ', ' ', 0xAB, 0xE1}));
    const std::string big5 = Bytes({0xA4, 0x40}) + emoji + Bytes({0xA4, 0x40});
    EXPECT_EQ(Big5ToGb(big5), Bytes({0xD2, 0xBB}) + emoji + Bytes({0xD2, 0xBB}));
    // A lead byte and a digit that start no four-byte character stay bytes of their own.
    EXPECT_EQ(GbToBig5(Bytes({0x94, 0x39, 0xBA, 0xF3})), Bytes({0x94, 0x39, 0xAB, 0xE1}));
}

TEST(Gb2Big5ConvertTest, LoneLastByteIsKept) {
    EXPECT_EQ(Big5ToGb(Bytes({0xA4, 0x40, 0xB0})), Bytes({0xD2, 0xBB, 0xB0}));
    EXPECT_EQ(GbToBig5(Bytes({0xBA, 0xF3, 0xB0})), Bytes({0xAB, 0xE1, 0xB0}));
    EXPECT_EQ(Big5ToGb(Bytes({0xB0})), Bytes({0xB0}));
    EXPECT_EQ(GbToBig5(Bytes({0xB0})), Bytes({0xB0}));
}

TEST(Gb2Big5ConvertTest, AsciiLineBreaksAndZeroBytesAreCopied) {
    const std::string text("ab\r\n\0x\t", 7);
    EXPECT_EQ(Big5ToGb(text), text);
    EXPECT_EQ(GbToBig5(text), text);
    EXPECT_EQ(Big5ToGb(""), "");
    EXPECT_EQ(GbToBig5(""), "");
}

TEST(Gb2Big5ConvertTest, Big5ConversionAlsoRewritesGbText) {
    const std::string gb = Bytes({0xC3, 0xC7, 0xB0, 0xA1}); // 们啊: GB pairs are BIG5 pairs too
    EXPECT_EQ(Big5ToGb(gb), CodeToChars(Big5ToGbCode(0xC3C7)) + CodeToChars(Big5ToGbCode(0xB0A1)));
    EXPECT_NE(Big5ToGb(gb), gb);
}

TEST(Gb2Big5ConvertTest, BlockScanAgreesWithThePlainScan) {
    std::mt19937 rng(20240611);
    for (int round = 0; round < 300; ++round) {
        const std::string text = MixedBytes(rng, rng() % 300);
        ASSERT_EQ(Big5ToGb(text), PlainBig5ToGb(text)) << "round " << round;
        ASSERT_EQ(GbToBig5(text), PlainGbToBig5(text)) << "round " << round;
    }
}

TEST(Gb2Big5ConvertTest, NovelsConvertAsThePlainScanDoes) {
    MOJUAN_REQUIRE_CORPUS("shuihu.gbk.txt");
    MOJUAN_REQUIRE_CORPUS("hongloumeng.gbk.txt");
    MOJUAN_REQUIRE_CORPUS("shuihu.big5.txt");
    for (const char* name : {"shuihu.big5.txt", "shuihu.gbk.txt", "hongloumeng.gbk.txt"}) {
        const std::string novel = testsupport::ReadFileBytes(testsupport::CorpusPath(name));
        // Starting one byte in puts every pair off by one: the worst text for a block scan.
        for (std::size_t skip : {0, 1}) {
            const std::string text = novel.substr(skip, 400000);
            EXPECT_EQ(Big5ToGb(text), PlainBig5ToGb(text)) << name;
            EXPECT_EQ(GbToBig5(text), PlainGbToBig5(text)) << name;
            EXPECT_EQ(IsBig5Text(text), PlainIsBig5Text(text)) << name;
        }
    }
}

// Character n of the BIG5 novel corresponds to character n of its simplified original.
TEST(Gb2Big5ConvertTest, Big5NovelComesBackToItsSimplifiedOriginal) {
    MOJUAN_REQUIRE_CORPUS("shuihu.big5.txt");
    MOJUAN_REQUIRE_CORPUS("shuihu.gbk.txt");
    const std::string big5 = testsupport::ReadFileBytes(testsupport::CorpusPath("shuihu.big5.txt"));
    const std::string gbk = testsupport::ReadFileBytes(testsupport::CorpusPath("shuihu.gbk.txt"));
    const std::string converted = Big5ToGb(big5);
    ASSERT_EQ(converted.size(), gbk.size());
    std::size_t chars = 0, same = 0;
    for (std::size_t i = 0; i < gbk.size();) {
        if (static_cast<unsigned char>(gbk[i]) < 0x80) {
            ++i;
            continue;
        }
        ++chars;
        same += converted.compare(i, 2, gbk, i, 2) == 0;
        i += 2;
    }
    const double rate = double(same) / double(chars);
    std::printf("round trip: %zu of %zu non-ASCII characters agree (%.2f%%)\n", same, chars,
                100 * rate);
    EXPECT_GE(rate, 0.994);
}

// The BIG5 novel is the GB one written in Taiwan's traditional forms, character for character.
TEST(Gb2Big5ConvertTest, GbNovelAgreesWithItsTaiwanEdition) {
    MOJUAN_REQUIRE_CORPUS("shuihu.big5.txt");
    MOJUAN_REQUIRE_CORPUS("shuihu.gbk.txt");
    const std::string big5 = testsupport::ReadFileBytes(testsupport::CorpusPath("shuihu.big5.txt"));
    const std::string gbk = testsupport::ReadFileBytes(testsupport::CorpusPath("shuihu.gbk.txt"));
    const std::string converted = GbToBig5(gbk);
    ASSERT_EQ(converted.size(), big5.size());
    std::size_t chars = 0, same = 0;
    ForEachDoubleByte(gbk, [&](std::size_t i) {
        ++chars;
        same += converted.compare(i, 2, big5, i, 2) == 0;
    });
    const double rate = double(same) / double(chars);
    std::printf("GB to BIG5: %zu of %zu double-byte characters agree (%.2f%%)\n", same, chars,
                100 * rate);
    EXPECT_GE(rate, 0.99);
}

// 着 is 6022 of the novel's characters; BIG5 writes it 著. Two of them follow 屄 (GBK 8C C2),
// whose bytes lie outside the GB ranges: they are met only when the scan steps over 屄 whole.
TEST(Gb2Big5ConvertTest, EveryZheOfANovelBecomesZhu) {
    MOJUAN_REQUIRE_CORPUS("hongloumeng.gbk.txt");
    const std::string gbk =
        testsupport::ReadFileBytes(testsupport::CorpusPath("hongloumeng.gbk.txt"));
    const std::string converted = GbToBig5(gbk);
    const std::string zhe = Bytes({0xD7, 0xC5}), zhu = Bytes({0xB5, 0xDB});
    std::size_t inNovel = 0, written = 0;
    ForEachDoubleByte(gbk, [&](std::size_t i) {
        if (gbk.compare(i, 2, zhe) == 0) {
            ++inNovel;
            written += converted.compare(i, 2, zhu) == 0;
        }
    });
    EXPECT_EQ(inNovel, 6022u);
    EXPECT_EQ(written, inNovel);
}

// ---- Detection

TEST(Gb2Big5DetectTest, EmptyAndAsciiTextsAreGb) {
    EXPECT_FALSE(IsBig5Text(""));
    EXPECT_FALSE(IsBig5Text("abc"));
    EXPECT_EQ(ToGb(""), "");
    EXPECT_EQ(ToGb("abc"), "abc");
    EXPECT_EQ(ToBig5(""), "");
    EXPECT_EQ(ToBig5("abc"), "abc");
}

TEST(Gb2Big5DetectTest, TieCountsAsGbAndOneMoreForeignPairTipsIt) {
    const std::string gb5 = Bytes({0xB0, 0xA1, 0xB0, 0xA1, 0xB0, 0xA1, 0xB0, 0xA1, 0xB0, 0xA1});
    const std::string big5 = Bytes({0xA4, 0x40});      // its second byte never passes the GB test
    EXPECT_FALSE(IsBig5Text(gb5 + big5 + big5));       // 14 = 1.4 x 10
    EXPECT_TRUE(IsBig5Text(gb5 + big5 + big5 + big5)); // 16 > 14
    EXPECT_FALSE(IsBig5Text("a" + gb5 + "\r\n" + big5 + " " + big5 + "xyz"));
    EXPECT_TRUE(IsBig5Text(gb5 + "a" + big5 + "\r\n" + big5 + "  " + big5 + "."));
}

TEST(Gb2Big5DetectTest, FourByteCharactersWeighForNeitherCode) {
    const std::string gb5 = Bytes({0xB0, 0xA1, 0xB0, 0xA1, 0xB0, 0xA1, 0xB0, 0xA1, 0xB0, 0xA1});
    const std::string big5 = Bytes({0xA4, 0x40});
    std::string emoji;
    for (int k = 0; k < 8; ++k)
        emoji += Bytes({0x94, 0x39, 0xDA, 0x33});
    EXPECT_FALSE(IsBig5Text(gb5 + emoji + big5 + big5)); // still the tie
    EXPECT_TRUE(IsBig5Text(emoji + gb5 + big5 + big5 + big5));
}

TEST(Gb2Big5DetectTest, NovelsAreJudgedByTheirCode) {
    MOJUAN_REQUIRE_CORPUS("shuihu.big5.txt");
    MOJUAN_REQUIRE_CORPUS("shuihu.gbk.txt");
    MOJUAN_REQUIRE_CORPUS("hongloumeng.gbk.txt");
    EXPECT_TRUE(IsBig5Text(testsupport::ReadFileBytes(testsupport::CorpusPath("shuihu.big5.txt"))));
    EXPECT_FALSE(IsBig5Text(testsupport::ReadFileBytes(testsupport::CorpusPath("shuihu.gbk.txt"))));
    EXPECT_FALSE(
        IsBig5Text(testsupport::ReadFileBytes(testsupport::CorpusPath("hongloumeng.gbk.txt"))));
}

TEST(Gb2Big5DetectTest, BlockScanAgreesWithThePlainScan) {
    std::mt19937 rng(7);
    for (int round = 0; round < 2000; ++round) {
        const std::string text = MixedBytes(rng, rng() % 200);
        ASSERT_EQ(IsBig5Text(text), PlainIsBig5Text(text)) << "round " << round;
    }
}

TEST(Gb2Big5DetectTest, ToGbAndToBig5ConvertOnlyTheOtherCode) {
    const std::string big5 = Bytes({0xA4, 0x40, 0xAB, 0xE1}); // 一後
    const std::string gb = Bytes({0xD2, 0xBB, 0xBA, 0xF3});   // 一后
    EXPECT_EQ(ToGb(big5), Big5ToGb(big5));
    EXPECT_EQ(ToGb(gb), gb);
    EXPECT_EQ(ToBig5(big5), big5);
    EXPECT_EQ(ToBig5(gb), Bytes({0xA4, 0x40, 0xAB, 0xE1}));
}

} // namespace
