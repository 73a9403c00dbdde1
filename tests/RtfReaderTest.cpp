// test-links: mojuan_text
#include "text/RtfReader.h"

#include "TestSupport.h"
#include "text/GbkText.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using Lines = std::vector<std::string>;

// The lines of a text with CR LF line ends; empty lines at the end are left out, and all
// empty lines when `dropEmpty`.
Lines SplitLines(const std::string& text, bool dropEmpty = false) {
    Lines lines;
    for (std::size_t start = 0;;) {
        const std::size_t end = text.find("\r\n", start);
        lines.push_back(text.substr(start, end - start));
        if (end == std::string::npos)
            break;
        start = end + 2;
    }
    while (!lines.empty() && lines.back().empty())
        lines.pop_back();
    if (dropEmpty)
        std::erase(lines, std::string());
    return lines;
}

// The lines of a UTF-8 test file as GBK.
Lines ExpectedLines(const std::string& name) {
    Lines lines;
    const std::string text = testsupport::ReadFileBytes(testsupport::TestDataPath("rtf/" + name));
    for (std::size_t start = 0; start < text.size();) {
        std::size_t end = text.find('\n', start);
        if (end == std::string::npos)
            end = text.size();
        lines.push_back(gbk::FromUtf8(text.substr(start, end - start)));
        start = end + 1;
    }
    return lines;
}

std::string ReadRtfFile(const std::string& name) {
    return RtfToText(testsupport::ReadFileBytes(testsupport::TestDataPath("rtf/" + name)));
}

std::string Gb(const char* utf8) {
    return gbk::FromUtf8(utf8);
}

TEST(RtfRealWritersTest, LibreOfficePlainText) {
    EXPECT_EQ(SplitLines(ReadRtfFile("libreoffice-plain.rtf")), ExpectedLines("sample.utf8.txt"));
}

TEST(RtfRealWritersTest, AbiWordPlainText) {
    EXPECT_EQ(SplitLines(ReadRtfFile("abiword-plain.rtf")), ExpectedLines("sample.utf8.txt"));
}

TEST(RtfRealWritersTest, SampleHoldsWhatTheReaderMustHandle) {
    const Lines lines = ExpectedLines("sample.utf8.txt");
    ASSERT_EQ(lines.size(), 7u);
    EXPECT_EQ(lines[5], "ASCII: {braces} and back\\slashes \\par C:\\dir\\file; tab\there.");
    EXPECT_EQ(lines[6].substr(lines[6].size() - 6),
              Gb("😀。")); // the emoji, four bytes in GB18030
}

TEST(RtfRealWritersTest, LibreOfficeRichDocumentShowsOnlyBodyText) {
    EXPECT_EQ(SplitLines(ReadRtfFile("libreoffice-rich.rtf"), true),
              ExpectedLines("rich.utf8.txt"));
}

TEST(RtfRealWritersTest, AbiWordRichDocumentShowsOnlyBodyText) {
    EXPECT_EQ(SplitLines(ReadRtfFile("abiword-rich.rtf"), true), ExpectedLines("rich.utf8.txt"));
}

TEST(RtfCodePageTest, HexBytesAreGbByDefaultAndUnderAnsiCodePage936) {
    // 红楼梦 in GB: BA EC C2 A5 C3 CE
    const std::string gb = "\xBA\xEC\xC2\xA5\xC3\xCE";
    EXPECT_EQ(
        RtfToText("{\\rtf1\\ansi\\ansicpg936\\deff0{\\fonttbl{\\f0\\fnil\\fcharset134 "
                  "\\'cb\\'ce\\'cc\\'e5;}}\\uc1\\pard\\f0\\fs20 \\'ba\\'ec\\'c2\\'A5\\'c3\\'ce"
                  "\\par }"),
        gb + "\r\n");
    EXPECT_EQ(RtfToText("{\\rtf1 \\'ba\\'ec\\'c2\\'a5\\'c3\\'ce}"), gb);
    EXPECT_EQ(RtfToText("{\\rtf1 \xBA\xEC raw}"), "\xBA\xEC raw");
}

TEST(RtfCodePageTest, Big5TextGoesThroughTheConverter) {
    std::vector<std::string> calls;
    const Big5Converter toGb = [&calls](std::string_view big5) {
        calls.emplace_back(big5);
        return std::string("<").append(big5).append(">");
    };
    // 紅樓夢 in BIG5: AC F5 BC D3 B9 DA; a trail byte in the ASCII range stays with its lead.
    const std::string text = RtfToText(
        "{\\rtf1\\ansi\\ansicpg950 \\'ac\\'f5\\'bc\\'d3\\'b9\\'da\\'a4@\\par\\u32418?x}", toGb);
    EXPECT_EQ(text, "<\xAC\xF5\xBC\xD3\xB9\xDA\xA4@>\r\n" + Gb("红") + "<x>");
    EXPECT_EQ(calls.size(), 2u);
    // Without a converter the BIG5 bytes stay as they are.
    EXPECT_EQ(RtfToText("{\\rtf1\\ansicpg950 \\'ac\\'f5}"), "\xAC\xF5");
}

TEST(RtfCodePageTest, FontCharsetNamesTheCodePage) {
    const Big5Converter mark = [](std::string_view big5) {
        return std::string("[").append(big5).append("]");
    };
    const std::string fonts = "{\\fonttbl{\\f0\\fswiss\\fcharset0 Arial;}{\\f1\\fnil\\fcharset136 "
                              "PMingLiU;}{\\f2\\fnil\\fcharset134 SimSun;}}";
    EXPECT_EQ(RtfToText("{\\rtf1\\ansi\\ansicpg936\\deff0" + fonts +
                            "\\f1 \\'ac\\'f5{\\f2 \\'ba\\'ec}\\plain \\'ba\\'ec}",
                        mark),
              "[\xAC\xF5]\xBA\xEC\xBA\xEC");
}

TEST(RtfCodePageTest, WesternCodePagesAreDecoded) {
    // é is E9 in code page 1252 and A8 A6 in GBK.
    EXPECT_EQ(RtfToText("{\\rtf1\\ansi\\ansicpg1252 caf\\'e9}"), "caf\xA8\xA6");
    EXPECT_EQ(RtfToText("{\\rtf1\\ansi\\ansicpg99999 \\'ba\\'ec}"), "\xBA\xEC");
}

TEST(RtfUnicodeTest, CharactersAndTheirFallbacks) {
    EXPECT_EQ(RtfToText("{\\rtf1 \\u32418\\'3f\\u27004?}"), Gb("红楼"));
    EXPECT_EQ(RtfToText("{\\rtf1\\uc2 \\u32418\\'ba\\'ec\\u27004\\'c2\\'a5.}"), Gb("红楼."));
    EXPECT_EQ(RtfToText("{\\rtf1\\uc0 \\u32418 \\u27004 x}"), Gb("红楼x"));
    // Negative values count from 65536: \u-26902 is U+96EA 雪.
    EXPECT_EQ(RtfToText("{\\rtf1\\uc0 \\u-26902 }"), Gb("雪"));
    // A fallback ends at a group's end; \uc is kept per group.
    EXPECT_EQ(RtfToText("{\\rtf1 {\\uc3 \\u32418}ab\\u27004 cd}"), Gb("红ab楼d"));
}

TEST(RtfUnicodeTest, CharactersGbkLacksAreKept) {
    // U+1F600 as a surrogate pair gives the emoji; a lone surrogate gives one mark.
    EXPECT_EQ(RtfToText("{\\rtf1 \\u-10179?\\u-8704?x\\u-8704?\\u-10179?}"), "\x94\x39\xFC\x36x??");
    EXPECT_EQ(RtfToText("{\\rtf1 \\u1575?}"), Gb("\u0627")); // Arabic letter
    EXPECT_EQ(RtfToText("{\\rtf1 a\\u160?b}"), "a b");
}

TEST(RtfControlTest, LineEndsTabsAndEscapes) {
    EXPECT_EQ(RtfToText("{\\rtf1 a\\par b\\line c\\tab d}"), "a\r\nb\r\nc\td");
    EXPECT_EQ(RtfToText("{\\rtf1 \\{x\\}\\\\y}"), "{x}\\y");
    EXPECT_EQ(RtfToText("{\\rtf1 a\\~b\\-c\\_d}"), "a bc-d");
    EXPECT_EQ(RtfToText("{\\rtf1 a\\\nb}"), "a\r\nb");
    EXPECT_EQ(RtfToText("{\\rtf1 a\r\nb\nc}"), "abc");
    EXPECT_EQ(RtfToText("{\\rtf1 \\ldblquote x\\rdblquote\\emdash}"), Gb("“x”—"));
}

TEST(RtfControlTest, ControlWordDelimiters) {
    EXPECT_EQ(RtfToText("{\\rtf1 \\b bold\\b0  two}"), "bold two");
    EXPECT_EQ(RtfToText("{\\rtf1 \\fs-20x\\par-y}"), "x\r\n-y");
}

TEST(RtfControlTest, TablesGiveTabsBetweenCells) {
    EXPECT_EQ(RtfToText("{\\rtf1 \\trowd\\cellx100\\cellx200 a\\cell b\\cell\\row c\\par}"),
              "a\tb\r\nc\r\n");
}

TEST(RtfDestinationTest, GroupsWithoutBodyTextAreSkipped) {
    EXPECT_EQ(RtfToText("{\\rtf1{\\fonttbl{\\f0 Arial;}}{\\colortbl;\\red0\\green0\\blue0;}"
                        "{\\stylesheet{\\s0 Normal;}}{\\info{\\title T}{\\author A}}"
                        "{\\header head}{\\footer foot}{\\footnote note}"
                        "{\\*\\generator Writer;}{\\*\\unknown stuff}body}"),
              "body");
    EXPECT_EQ(RtfToText("{\\rtf1 a{\\pict\\pngblip 89504e47}b{\\object{\\*\\objdata 0102}"
                        "{\\result r}}c}"),
              "abc");
}

TEST(RtfDestinationTest, FieldsShowTheirResult) {
    EXPECT_EQ(RtfToText("{\\rtf1 page {\\field{\\*\\fldinst PAGE }{\\fldrslt 7}}.}"), "page 7.");
}

TEST(RtfDestinationTest, BinaryDataIsSkippedWherever) {
    // The binary bytes hold braces and backslashes that must not be read.
    const std::string data = "{{}\\par}";
    EXPECT_EQ(RtfToText("{\\rtf1 a{\\pict\\bin8 " + data + "}b\\bin3 x}yz}"), "abz");
}

TEST(RtfDestinationTest, UprGroupsShowTheirUnicodeText) {
    EXPECT_EQ(RtfToText("{\\rtf1 {\\upr{ansi}{\\*\\ud{\\u32418?}}}!}"), Gb("红!"));
}

TEST(RtfMalformedTest, CutOffFilesYieldWhatWasRead) {
    EXPECT_EQ(RtfToText("{\\rtf1 abc\\par de"), "abc\r\nde");
    EXPECT_EQ(RtfToText("{\\rtf1 ab\\"), "ab");
    EXPECT_EQ(RtfToText("{\\rtf1 ab\\'b"), "abb");
    EXPECT_EQ(RtfToText("{\\rtf1 ab\\u"), "ab");
    EXPECT_EQ(RtfToText("{\\rtf1 ab\\u32418"), "ab" + Gb("红"));
    EXPECT_EQ(RtfToText("{\\rtf1 ab{\\fonttbl{\\f0"), "ab");
    EXPECT_EQ(RtfToText("{\\rtf1 x\\'zz}"), "xzz");
}

TEST(RtfMalformedTest, UnbalancedBraces) {
    EXPECT_EQ(RtfToText("{\\rtf1 a}}b}c"), "abc");
    EXPECT_EQ(RtfToText("{\\rtf1 {{{a"), "a");
}

TEST(RtfMalformedTest, HugeOrNegativeBin) {
    EXPECT_EQ(RtfToText("{\\rtf1 a\\bin99999999999999 bcd}"), "a");
    EXPECT_EQ(RtfToText("{\\rtf1 a\\bin2147483647 bcd}"), "a");
    EXPECT_EQ(RtfToText("{\\rtf1 a\\bin-5 bcd}"), "abcd");
}

// Groups past the nesting limit are read as text of the deepest group kept; a group among them
// that holds no body text is still skipped.
TEST(RtfMalformedTest, DeepNestingNeitherCrashesNorLosesTheRest) {
    const std::size_t depth = 200000;
    const std::string rtf = "{\\rtf1 a" + std::string(depth, '{') + "deep\\par{\\*\\x y}z" +
                            std::string(depth, '}') + "b{\\i c}}";
    EXPECT_EQ(RtfToText(rtf), "adeep\r\nzbc");
    // Nesting within the limit is read as usual.
    EXPECT_EQ(RtfToText("{\\rtf1 " + std::string(500, '{') + "x" + std::string(500, '}') + "}"),
              "x");
}

TEST(RtfMalformedTest, LongWordsAndNumbers) {
    EXPECT_EQ(RtfToText("{\\rtf1 \\" + std::string(100000, 'p') + " a\\par99999999999999999 b}"),
              "a\r\nb");
    EXPECT_EQ(RtfToText("{\\rtf1 \\uc99999999 \\u32418 abc}"), Gb("红"));
}

TEST(RtfMalformedTest, ZeroBytesAreDropped) {
    EXPECT_EQ(RtfToText(std::string("{\\rtf1 a\0b\\'00c}\0\0", 18)), "abc");
}

TEST(RtfNotRtfTest, OtherTextIsReturnedAsItIs) {
    EXPECT_EQ(RtfToText("plain \\par text {x}"), "plain \\par text {x}");
    EXPECT_EQ(RtfToText(""), "");
    EXPECT_TRUE(LooksLikeRtf("\xEF\xBB\xBF\r\n {\\rtf1}"));
    EXPECT_FALSE(LooksLikeRtf("{\\rt"));
}

} // namespace
