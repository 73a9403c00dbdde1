// test-links: mojuan_text
#include "text/Gb2Big5.h"
#include "TestSupport.h"
#include "text/Gb2Big5Tables.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <iconv.h>
#include <random>
#include <string>

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

// The scans exactly as the algorithm states them, one position at a time, to hold the fast
// block-wise scans against.
std::string PlainBig5ToGb(const std::string& t) {
    std::string r;
    for (std::size_t i = 0; i < t.size();) {
        const unsigned char b1 = t[i], b2 = i + 1 < t.size() ? t[i + 1] : 0;
        const int index = Big5CharIndex(b1, b2);
        if (IsBig5Char(b1, b2) && index >= 0 && index <= 14757) {
            r += CodeToChars(Big5GbTable[index]);
            i += 2;
        } else {
            r += t[i++];
        }
    }
    return r;
}

std::string PlainGbToBig5(const std::string& t) {
    std::string r;
    for (std::size_t i = 0; i < t.size();) {
        const unsigned char b1 = t[i], b2 = i + 1 < t.size() ? t[i + 1] : 0;
        if (IsGbChar(b1, b2)) {
            r += CodeToChars(GbBig5Table[GbCharIndex(b1, b2)]);
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
        if (IsGbChar(b1, b2)) {
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
    static const int edges[] = {0x00, 0x0D, 0x0A, 0x20, 0x3F, 0x40, 0x7E, 0x7F, 0x80, 0x81,
                                0xA0, 0xA1, 0xA4, 0xB0, 0xC9, 0xF7, 0xF8, 0xFE, 0xFF};
    std::uniform_int_distribution<int> pick(0, 99), edge(0, std::size(edges) - 1), high(0xA1, 0xFE),
        any(0, 255);
    std::string s;
    while (s.size() < size) {
        const int p = pick(rng);
        if (p < 55) { // a run of double-byte text, as most of a novel is
            for (int k = 0, n = pick(rng) % 20; k < n; ++k)
                s += Bytes({high(rng), pick(rng) < 30 ? 0x40 + pick(rng) % 63 : high(rng)});
        } else if (p < 80) {
            s.push_back(static_cast<char>(edges[edge(rng)]));
        } else {
            s.push_back(static_cast<char>(any(rng)));
        }
    }
    s.resize(size);
    return s;
}

// ---- The tables

TEST(Gb2Big5TablesTest, CountsComeNearThePublishedTables) {
    const int big5Mapped = Mapped(Big5GbTable), gbMapped = Mapped(GbBig5Table);
    std::printf("Big5GbTable: %d GB codes, %d empty; GbBig5Table: %d BIG5 codes, %d empty\n",
                big5Mapped, Big5TableSize - big5Mapped, gbMapped, GbTableSize - gbMapped);
    EXPECT_EQ(Big5TableSize, 14758);
    EXPECT_EQ(GbTableSize, 8178);
    EXPECT_NEAR(big5Mapped, 7111, 7111 * 0.02);
    EXPECT_NEAR(gbMapped, 6930, 6930 * 0.02);
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
    EXPECT_GE(rate, 0.98);
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
