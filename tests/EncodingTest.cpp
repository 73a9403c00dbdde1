// test-links: mojuan_text
#include "text/Encoding.h"
#include "TestSupport.h"
#include "text/GbkText.h"
#include "text/UtfDecoders.h"

#include <gtest/gtest.h>

#include <iconv.h>
#include <random>
#include <string>
#include <vector>

namespace {

const std::string Box = "\xA1\xF5"; // □
const std::string Utf8Bom = "\xEF\xBB\xBF";
const std::string LeBom = "\xFF\xFE", BeBom = "\xFE\xFF";
const std::string Zhong = "\xD6\xD0", Wen = "\xCE\xC4"; // 中 文 in GBK

// `text` converted by iconv; empty when iconv refuses it.
std::string Iconv(const char* to, const char* from, std::string_view text) {
    iconv_t cd = iconv_open(to, from);
    std::string out(text.size() * 4 + 16, '\0');
    char* in = const_cast<char*>(text.data());
    char* w = out.data();
    std::size_t inLeft = text.size(), outLeft = out.size();
    const bool ok = iconv(cd, &in, &inLeft, &w, &outLeft) != static_cast<std::size_t>(-1);
    iconv_close(cd);
    out.resize(ok ? out.size() - outLeft : 0);
    return out;
}

// The first `size` bytes of a corpus novel, every character whole.
std::string NovelStart(const char* name, std::size_t size) {
    return testsupport::BuildDocument(name, size);
}

struct Case {
    const char* Name;
    std::string Bytes;
    TextEncoding Encoding;
};

TEST(EncodingTest, TheSameNovelInEveryUtfFormGivesItsGbkBytes) {
    const std::string gbk = NovelStart("hongloumeng.gbk.txt", 300000);
    const std::string utf8 = Iconv("UTF-8", "GBK", gbk);
    ASSERT_FALSE(utf8.empty());
    const std::vector<Case> cases{
        {"UTF-8", utf8, TextEncoding::Utf8},
        {"UTF-8 with BOM", Utf8Bom + utf8, TextEncoding::Utf8},
        {"UTF-16LE", LeBom + Iconv("UTF-16LE", "GBK", gbk), TextEncoding::Utf16Le},
        {"UTF-16BE", BeBom + Iconv("UTF-16BE", "GBK", gbk), TextEncoding::Utf16Be},
        {"GBK", gbk, TextEncoding::DoubleByte},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(RecognizeEncoding(c.Bytes, false), c.Encoding) << c.Name;
        EXPECT_TRUE(ToReadingBytes(c.Bytes, false) == gbk) << c.Name;
    }
    const std::string big5 = NovelStart("shuihu.big5.txt", 300000);
    EXPECT_EQ(RecognizeEncoding(big5, false), TextEncoding::DoubleByte);
    EXPECT_TRUE(ToReadingBytes(big5, false) == big5);
}

// GB characters whose two bytes also form a UTF-8 sequence (lead C2-DF, trail A1-BF).
std::string Utf8LookingGbk(std::size_t size) {
    std::string text;
    for (unsigned n = 0; text.size() < size; ++n) {
        text += static_cast<char>(0xC2 + n % 30);
        text += static_cast<char>(0xA1 + n % 31);
        if (n % 40 == 39)
            text += "\r\n";
    }
    return text;
}

TEST(EncodingTest, GbkNovelValidAsUtf8OnlyAtItsStartStaysGbk) {
    const std::string start = Utf8LookingGbk(65536);
    ASSERT_EQ(RecognizeEncoding(start, false), TextEncoding::Utf8); // the trap is real
    const std::string novel = start + NovelStart("hongloumeng.gbk.txt", 200000);
    EXPECT_EQ(RecognizeEncoding(novel, false), TextEncoding::DoubleByte);
    EXPECT_TRUE(ToReadingBytes(novel, false) == novel);
}

TEST(EncodingTest, MalformedUtf8) {
    // Undeclared, a malformed sequence anywhere means the text is not UTF-8.
    for (const std::string bad : {"\x80", "\xC0\x80", "\xED\xA0\x80", "\xF5\x80\x80\x80",
                                  "\xE4\xB8", "\xFF", "\xF4\x90\x80\x80"}) {
        const std::string text = "\xE4\xB8\xAD" + bad + "a";
        EXPECT_EQ(RecognizeEncoding(text, false), TextEncoding::DoubleByte);
        EXPECT_EQ(ToReadingBytes(text, false), text);
    }
    // Declared, each maximal malformed subsequence becomes one box.
    EXPECT_EQ(ToReadingBytes(Utf8Bom + "a\x80"
                                       "b",
                             false),
              "a" + Box + "b");
    EXPECT_EQ(ToReadingBytes(Utf8Bom + "\xE4\xB8"
                                       "a",
                             false),
              Box + "a");
    EXPECT_EQ(ToReadingBytes(Utf8Bom + "\xE0\x80\x80", false), Box + Box + Box);
    EXPECT_EQ(ToReadingBytes(Utf8Bom + "\xED\xA0\x80\xE4\xB8\xAD", false), Box + Box + Box + Zhong);
    EXPECT_EQ(ToReadingBytes(Utf8Bom + "\xC1\xBF\xF8", false), Box + Box + Box);
}

TEST(EncodingTest, CutByTheEndOfTheText) {
    const std::string zhongWen = "\xE4\xB8\xAD\xE6\x96\x87";
    for (std::size_t cut : {1u, 2u}) {
        const std::string text = zhongWen.substr(0, zhongWen.size() - cut);
        EXPECT_EQ(RecognizeEncoding(text, false), TextEncoding::Utf8);
        EXPECT_EQ(ToReadingBytes(text, false), Zhong + Box);
    }
    // A lone last byte or an unpaired high surrogate of UTF-16 too.
    EXPECT_EQ(ToReadingBytes(LeBom + std::string("a\0b", 3), false), "a" + Box);
    EXPECT_EQ(ToReadingBytes(BeBom + "\x4E\x2D\xD8\x3D", false), Zhong + Box);
}

TEST(EncodingTest, OnlyAByteOrderMarkIsAnEmptyText) {
    for (const std::string& bom : {Utf8Bom, LeBom, BeBom}) {
        EXPECT_NE(RecognizeEncoding(bom, false), TextEncoding::DoubleByte);
        EXPECT_EQ(ToReadingBytes(bom, false), "");
    }
    // Marks left inside joined files are invisible and dropped.
    EXPECT_EQ(ToReadingBytes("\xE4\xB8\xAD" + Utf8Bom + "\xE6\x96\x87", false), Zhong + Wen);
}

TEST(EncodingTest, CharactersGbkLacksKeepTheirGb18030Codes) {
    // An emoji, the euro sign, a heart, characters of CJK extension B, U+0080, a private-use
    // character, the last code point.
    const std::string text = "\xF0\x9F\x98\x80|\xE2\x82\xAC|\xE2\x99\xA5|\xF0\xA0\x80\x80"
                             "\xF0\xA0\xAE\xB7|\xC2\x80\xEE\x80\x80\xF4\x8F\xBF\xBF|"
                             "\xE2\x80\x94\xC2\xB7";
    const std::string gb18030 = Iconv("GB18030", "UTF-8", text);
    ASSERT_FALSE(gb18030.empty());
    EXPECT_EQ(ToReadingBytes(text, false), gb18030);
    EXPECT_NE(gb18030.find("\x95\x32\x82\x36"), std::string::npos); // U+20000
    EXPECT_EQ(RecognizeEncoding(gb18030, false), TextEncoding::Gb18030);
    EXPECT_EQ(ToReadingBytes(gb18030, false), gb18030);
    // In UTF-16: a surrogate pair is one character, unpaired surrogates one box each.
    EXPECT_EQ(ToReadingBytes(LeBom + std::string("\x3D\xD8\x00\xDE"
                                                 "a\0"
                                                 "\x00\xDE"
                                                 "b\0"
                                                 "\x3D\xD8"
                                                 "c\0",
                                                 14),
                             false),
              Iconv("GB18030", "UTF-8", "\xF0\x9F\x98\x80") + "a" + Box + "b" + Box + "c");
}

// Four-byte characters make a text GB18030 wherever they stand, also cut between two pieces; GBK
// and BIG5 novels never hold one.
TEST(EncodingTest, FourByteCharactersMakeGb18030) {
    const std::string gbk = NovelStart("hongloumeng.gbk.txt", 300000);
    const std::string big5 = NovelStart("shuihu.big5.txt", 300000);
    EXPECT_FALSE(HasFourByteChar(gbk));
    EXPECT_FALSE(HasFourByteChar(big5));
    const std::string emoji = "\x94\x39\xFC\x36"; // U+1F600
    const std::string text = gbk.substr(0, 5000) + emoji + gbk.substr(5000);
    EXPECT_EQ(RecognizeEncoding(text, false), TextEncoding::Gb18030);
    for (std::size_t cut = 4999; cut <= 5004; ++cut) {
        ReadingBytesBuilder builder(false);
        builder.Feed(std::string_view(text).substr(0, cut));
        builder.Feed(std::string_view(text).substr(cut, 1));
        builder.Feed(std::string_view(text).substr(cut + 1));
        EXPECT_EQ(builder.Finish(), TextEncoding::Gb18030) << cut;
    }
    EXPECT_EQ(ToReadingBytes(text, false), text);
    EXPECT_EQ(RecognizeEncoding("ab1\x81" + std::string("2"), false), TextEncoding::DoubleByte);
}

TEST(EncodingTest, HtmlCharsetDeclarations) {
    const std::string pandoc =
        testsupport::ReadFileBytes(testsupport::TestDataPath("encoding/xiyouji.html"));
    EXPECT_EQ(RecognizeEncoding(pandoc, true), TextEncoding::Utf8);
    EXPECT_NE(ToReadingBytes(pandoc, true).find(Iconv("GBK", "UTF-8", "西游记")),
              std::string::npos);

    // GB text that happens to be valid UTF-8 is read as GB when the page says so.
    const std::string body = Utf8LookingGbk(200);
    for (const std::string meta :
         {"<META HTTP-EQUIV=\"Content-Type\" CONTENT=\"text/html; charset=gb2312\">",
          "<meta charset='GBK'>", "<meta charset = big5 >",
          "<meta content=\"text/html; charset=GB18030\" http-equiv=\"Content-Type\" />"}) {
        const std::string page = "<html><head>" + meta + "</head><body>" + body;
        const bool gb18030 = meta.find("GB18030") != std::string::npos;
        EXPECT_EQ(RecognizeEncoding(page, true),
                  gb18030 ? TextEncoding::Gb18030 : TextEncoding::DoubleByte)
            << meta;
        EXPECT_EQ(RecognizeEncoding(page, false), TextEncoding::Utf8) << meta;
        EXPECT_EQ(ToReadingBytes(page, true), page);
    }
    // A charset named outside a <meta> tag or past the first bytes declares nothing; a
    // byte-order mark outranks the tag.
    EXPECT_EQ(RecognizeEncoding("<p>charset=gbk</p>" + body, true), TextEncoding::Utf8);
    EXPECT_EQ(
        RecognizeEncoding(std::string(CharsetScanLimit, ' ') + "<meta charset=gbk>" + body, true),
        TextEncoding::Utf8);
    EXPECT_EQ(RecognizeEncoding(Utf8Bom + "<meta charset=gbk>", true), TextEncoding::Utf8);
    // Declared UTF-8 holding GBK bytes: the declaration is believed.
    EXPECT_EQ(ToReadingBytes("<meta charset=utf-8>" + Zhong, true),
              "<meta charset=utf-8>" + Box + Box);
}

// Feeding a text in pieces cut anywhere gives what feeding it whole gives.
TEST(EncodingTest, PiecesGiveTheSameBytesAsTheWholeText) {
    const std::string utf8 = Iconv("UTF-8", "GBK", NovelStart("shuihu.gbk.txt", 20000));
    const std::vector<std::string> texts{
        utf8, Utf8Bom + utf8 + "\xE4\xB8\x80\xF0\x9F\x98\x80\xC0\xE4\xB8\xFF\xE4",
        LeBom + Iconv("UTF-16LE", "UTF-8", utf8) + std::string("\x3D\xD8\x00\xDE\x3D", 5),
        utf8 + "\x80" + utf8};
    std::mt19937 engine(7);
    for (const std::string& text : texts) {
        const std::string whole = ToReadingBytes(text, false);
        for (int round = 0; round < 20; ++round) {
            ReadingBytesBuilder builder(false);
            std::size_t at = 0;
            builder.Feed(std::string_view(text).substr(0, CharsetScanLimit));
            for (at = CharsetScanLimit; at < text.size();) {
                const std::size_t n = std::uniform_int_distribution<std::size_t>(0, 9)(engine);
                builder.Feed(std::string_view(text).substr(at, n));
                at += n;
            }
            const bool utf = !IsReadAsIs(builder.Finish());
            EXPECT_TRUE((utf ? builder.TakeText() : text) == whole);
        }
    }
}

// Every character from U+0080 to U+10FFFF is encoded as iconv encodes it to GB18030, and
// decodes back to itself. (U+FEFF, a byte-order mark, is dropped; the private-use area of the
// basic plane is left out: the C library leaves some of it without a code, and so does the
// reader, which gives those a box.)
TEST(EncodingTest, EveryCharacterAgreesWithIconvAndRoundTrips) {
    std::string utf8;
    for (char32_t c = 0x80; c <= 0x10FFFF; ++c)
        if ((c < 0xD800 || c > 0xDFFF) && (c < 0xE000 || c > 0xF8FF) && c != 0xFEFF)
            gbk::AppendUtf8(utf8, c);
    const std::string gb18030 = gbk::FromUtf8(utf8);
    EXPECT_TRUE(gb18030 == Iconv("GB18030", "UTF-8", utf8));
    EXPECT_TRUE(gbk::ToUtf8(gb18030) == utf8);
    EXPECT_TRUE(ToReadingBytes(utf8, false) == gb18030);
    // The two-byte codes are GBK's wherever GBK has the character.
    const auto& table = utf::GbkCodes();
    EXPECT_EQ(table[0x4E2D], 0xD6D0); // 中
    EXPECT_EQ(table[0x3000], 0xA1A1);
}

// A chosen encoding replaces recognition: the same bytes read as each choice.
TEST(EncodingTest, ChosenEncodingReplacesRecognition) {
    const std::string utf8 = "\xE4\xB8\xAD\xE6\x96\x87"; // 中文, also two GBK characters
    EXPECT_EQ(ToReadingBytes(utf8, false), Zhong + Wen);
    EXPECT_EQ(ToReadingBytes(utf8, false, EncodingChoice::Gb), utf8);
    EXPECT_EQ(ToReadingBytes(Zhong, false, EncodingChoice::Utf8), Box + Box);
    const std::string big5 = "\xA4\x40"; // 一
    EXPECT_EQ(ToReadingBytes(big5, false, EncodingChoice::Big5), "\xD2\xBB");
    EXPECT_EQ(ToReadingBytes(std::string("-\0\x2D\x4E", 4), false, EncodingChoice::Utf16Le),
              "-" + Zhong);
    EXPECT_EQ(ToReadingBytes(std::string("\0-\x4E\x2D", 4), false, EncodingChoice::Utf16Be),
              "-" + Zhong);
    // A declaration inside the text no longer counts.
    EXPECT_EQ(ToReadingBytes("<meta charset=utf-8>" + Zhong, true, EncodingChoice::Gb),
              "<meta charset=utf-8>" + Zhong);
    for (EncodingChoice choice :
         {EncodingChoice::Auto, EncodingChoice::Gb, EncodingChoice::Big5, EncodingChoice::Utf8,
          EncodingChoice::Utf16Le, EncodingChoice::Utf16Be})
        EXPECT_EQ(ChoiceFromName(ChoiceName(choice)), choice);
    EXPECT_EQ(ChoiceFromName("utf-16le"), EncodingChoice::Utf16Le);
    EXPECT_EQ(ChoiceFromName("Auto"), EncodingChoice::Auto);
    EXPECT_FALSE(ChoiceFromName("latin1"));
}

TEST(EncodingTest, LibraryTextAsUtf8) {
    const std::string names = "/书/红楼梦.txt\r\n/a\xF0\x9F\x98\x80.txt\r\n";
    EXPECT_EQ(ToUtf8Text(LeBom + Iconv("UTF-16LE", "UTF-8", names)), names);
    EXPECT_EQ(ToUtf8Text(BeBom + Iconv("UTF-16BE", "UTF-8", names)), names);
    EXPECT_EQ(ToUtf8Text(Utf8Bom + names), names);
    EXPECT_EQ(ToUtf8Text(names), names);
    EXPECT_EQ(ToUtf8Text(LeBom +
                         std::string("\x00\xDC"
                                     "a\0"
                                     "\x3D\xD8",
                                     6) +
                         "x"),
              "\xEF\xBF\xBD"
              "a\xEF\xBF\xBD\xEF\xBF\xBD");
}

} // namespace
