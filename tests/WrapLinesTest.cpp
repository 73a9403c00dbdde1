// test-links: mojuan_reader
#include "reader/WrapLines.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// Narrow characters 6 pixels, double-byte characters 12.
std::vector<std::string> Wrap(const std::string& text, double width) {
    FixedWidthMeasurer measurer;
    CharWidthCache widths(measurer);
    const WrappedText lines = WrapLines(text, widths, width);
    std::vector<std::string> out;
    for (int i = 0; i < lines.LineCount(); ++i)
        out.emplace_back(lines.LineText(text, i));
    return out;
}

using Lines = std::vector<std::string>;

TEST(WrapLinesTest, LineBreaksAndEmptyText) {
    EXPECT_EQ(Wrap("", 100), Lines{""});
    EXPECT_EQ(Wrap("ab\r\ncd", 100), (Lines{"ab", "cd"}));
    EXPECT_EQ(Wrap("ab\r\n", 100), (Lines{"ab", ""}));
    EXPECT_EQ(Wrap("\r\n\r\n", 100), (Lines{"", "", ""}));
}

TEST(WrapLinesTest, BreaksAfterSpaceAndBetweenDoubleByteCharacters) {
    EXPECT_EQ(Wrap("aaa bbb", 30), (Lines{"aaa ", "bbb"}));
    // Four characters of 12 pixels in a 36-pixel line.
    EXPECT_EQ(Wrap("\xB0\xA1\xB0\xA2\xB0\xA3\xB0\xA4", 36),
              (Lines{"\xB0\xA1\xB0\xA2\xB0\xA3", "\xB0\xA4"}));
    // A break falls between two double-byte characters, not before one after a narrow one: in
    // "a" and two wide ones only before the second; a lone wide one between narrow ones offers
    // none, and the line is split where it overflows.
    const std::string w1 = "\xB0\xA1", w2 = "\xB0\xA2", w3 = "\xB0\xA3";
    EXPECT_EQ(Wrap("a" + w1 + w2 + "bc", 36), (Lines{"a" + w1, w2 + "bc"}));
    EXPECT_EQ(Wrap("aa" + w1 + "b" + w2 + w3, 36), (Lines{"aa" + w1 + "b", w2 + w3}));
}

TEST(WrapLinesTest, WordWiderThanLineIsSplitBetweenCharacters) {
    EXPECT_EQ(Wrap("abcdefgh", 30), (Lines{"abcde", "fgh"}));
    // A double-byte character wider than the whole line still goes alone on its line.
    EXPECT_EQ(Wrap("\xB0\xA1\xB0\xA2", 5), (Lines{"\xB0\xA1", "\xB0\xA2"}));
}

TEST(WrapLinesTest, NeverBreaksInsideDoubleByteCharacter) {
    // "a" then a GB character: the 18-pixel line holds both, the 12-pixel one only "a".
    EXPECT_EQ(Wrap("a\xB0\xA1", 12), (Lines{"a", "\xB0\xA1"}));
    EXPECT_EQ(Wrap("a\xB0\xA1", 18), (Lines{"a\xB0\xA1"}));
}

TEST(WrapLinesTest, FourByteCharactersAreWideAndNeverSplit) {
    const std::string ext = "\x95\x32\x82\x36", emoji = "\x94\x39\xFC\x36"; // U+20000 U+1F600
    // 12 pixels each, as two-byte characters are: three fit in 36 pixels, with breaks between.
    EXPECT_EQ(Wrap(ext + emoji + "\xB0\xA1" + ext, 36), (Lines{ext + emoji + "\xB0\xA1", ext}));
    EXPECT_EQ(Wrap("a" + emoji, 12), (Lines{"a", emoji}));
    // A lead byte and a digit that start no four-byte character are two narrow characters.
    EXPECT_EQ(Wrap("\x94\x39\x94", 12), (Lines{"\x94\x39", "\x94"}));
}

TEST(WrapLinesTest, BrokenBytesAndNulsStillWrap) {
    const std::string bad("\x81\r\n\0\xFF\x80z", 7);
    const Lines lines = Wrap(bad, 100);
    ASSERT_EQ(lines.size(), 2u); // the lone lead byte does not swallow the CR
    EXPECT_EQ(lines[0], "\x81");
    EXPECT_EQ(lines[1].size(), 4u);
}

TEST(WrapLinesTest, OffsetsAndLineOfOffset) {
    FixedWidthMeasurer measurer;
    CharWidthCache widths(measurer);
    const std::string text = "aaa bbb\r\nccc";
    const WrappedText lines = WrapLines(text, widths, 30);
    ASSERT_EQ(lines.LineCount(), 3);
    EXPECT_EQ(lines.LineStart(1), 4u);
    EXPECT_EQ(lines.LineStart(2), 9u);
    EXPECT_EQ(lines.LineOfOffset(0), 0);
    EXPECT_EQ(lines.LineOfOffset(5), 1);
    EXPECT_EQ(lines.LineOfOffset(10), 2);
    EXPECT_EQ(lines.LineText(text, 7), "");
}

} // namespace

namespace {

// Counts how often it is asked, and for how many characters.
class CountingMeasurer : public FixedWidthMeasurer {
public:
    void CharWidths(const std::vector<std::uint16_t>& codes, std::vector<float>& widths) override {
        ++Batches;
        Characters += static_cast<int>(codes.size());
        FixedWidthMeasurer::CharWidths(codes, widths);
    }
    int Batches = 0;
    int Characters = 0;
};

} // namespace

TEST(WrapLinesTest, NewCharactersAreMeasuredOnceInOneBatch) {
    CountingMeasurer measurer;
    CharWidthCache widths(measurer);
    // 啊阿埃 twice, a space, "ab": six distinct characters, all gathered at the first one.
    const std::string text = "\xB0\xA1\xB0\xA2\xB0\xA3 ab\r\n\xB0\xA1\xB0\xA2\xB0\xA3";
    EXPECT_EQ(WrapLines(text, widths, 30).LineCount(), 4);
    EXPECT_EQ(measurer.Batches, 1);
    EXPECT_EQ(measurer.Characters, 6); // line ends are not measured
    WrapLines(text, widths, 12);
    EXPECT_EQ(measurer.Batches, 1);
    WrapLines(text + "\xB0\xA4", widths, 30); // one new character
    EXPECT_EQ(measurer.Batches, 2);
    EXPECT_EQ(measurer.Characters, 7);
}

#include "TestSupport.h"
#include "reader/DocumentStore.h"
#include "text/Gb2Big5.h"

#include <iconv.h>

namespace {

// `in` converted by the C library from one code to another; empty where `to` lacks a character.
std::string Iconv(std::string_view in, const char* from, const char* to) {
    iconv_t cd = iconv_open(to, from);
    std::string src(in), out(4 * in.size() + 4, '\0');
    char *inPtr = src.data(), *outPtr = out.data();
    std::size_t inLeft = src.size(), outLeft = out.size();
    const bool ok = iconv(cd, &inPtr, &inLeft, &outPtr, &outLeft) != static_cast<std::size_t>(-1);
    iconv_close(cd);
    return ok ? out.substr(0, out.size() - outLeft) : std::string();
}

// Wraps the text (given in UTF-8) in `code` at 48 pixels, four double-byte characters, and gives
// the lines back in UTF-8.
Lines Wrap4(const char* utf8, PunctuationRule rule, TextCode code = TextCode::Gb) {
    const char* name = code == TextCode::Gb ? "GBK" : "BIG5";
    const std::string text = Iconv(utf8, "UTF-8", name);
    FixedWidthMeasurer measurer;
    CharWidthCache widths(measurer);
    const WrappedText wrapped = WrapLines(text, widths, 48, rule, code);
    Lines lines;
    for (int i = 0; i < wrapped.LineCount(); ++i)
        lines.push_back(Iconv(wrapped.LineText(text, i), name, "UTF-8"));
    return lines;
}

constexpr auto Off = PunctuationRule::Off;
constexpr auto Basic = PunctuationRule::Basic;
constexpr auto Strict = PunctuationRule::Strict;

} // namespace

TEST(WrapLinesTest, MarkTableBytesAreTheCharactersInEachCode) {
    for (const MarkRange& range : PunctuationMarks())
        for (char32_t i = 0; i < range.Count; ++i) {
            const char32_t c = range.First + i;
            const std::string_view utf32(reinterpret_cast<const char*>(&c), 4);
            EXPECT_EQ(CodeToChars(range.Gb + i), Iconv(utf32, "UTF-32LE", "GBK"));
            EXPECT_EQ(range.Big5 ? CodeToChars(range.Big5 + i) : "",
                      Iconv(utf32, "UTF-32LE", "BIG5"));
        }
}

TEST(WrapLinesTest, MarksAtTheBoundary) {
    EXPECT_EQ(Wrap4("中中中中，中", Off), (Lines{"中中中中", "，中"}));
    EXPECT_EQ(Wrap4("中中中中，中", Basic), (Lines{"中中中中，", "中"})); // hung past the edge
    EXPECT_EQ(Wrap4("中中中，中", Basic), (Lines{"中中中，", "中"}));     // exactly at the width
    // Three closing marks cannot hang: the last character comes down with them, and only the
    // third of them overruns the line that then holds them.
    EXPECT_EQ(Wrap4("中中中中。」』中", Basic), (Lines{"中中中", "中。」』", "中"}));
    EXPECT_EQ(Wrap4("中中中“「中中", Basic), (Lines{"中中中", "“「中中"}));
    EXPECT_EQ(Wrap4("。。。。。。", Basic), Wrap4("。。。。。。", Off)); // no place allowed
    EXPECT_EQ(Wrap4("一一一一，一", Basic, TextCode::Big5), (Lines{"一一一一，", "一"}));
}

TEST(WrapLinesTest, MarkAfterSingleByteWord) {
    EXPECT_EQ(Wrap4("中中 abc，", Basic), (Lines{"中中 ", "abc，"}));
    EXPECT_EQ(Wrap4("abcdefgh，中", Basic), (Lines{"abcdefgh，", "中"}));
    EXPECT_EQ(Wrap4("abcdefgh，”", Basic), (Lines{"abcdefg", "h，”"}));
}

TEST(WrapLinesTest, StrictKeepsDashesAndFullWidthNumbersWhole) {
    EXPECT_EQ(Wrap4("中中中——中", Basic), (Lines{"中中中—", "—中"}));
    EXPECT_EQ(Wrap4("中中中——中", Strict), (Lines{"中中中", "——中"}));
    EXPECT_EQ(Wrap4("中中１２３", Strict), (Lines{"中中", "１２３"}));
}

namespace {

// A corpus novel paginated as the reader does it, in chunks, every character 12 pixels wide.
struct CorpusLayout {
    int Pages = 0;
    std::uint64_t Hash = 14695981039346656037u; // of every line's start and length, FNV-1a
    int Misplaced = 0; // lines that start with a closing mark or end with an opening mark
};

CorpusLayout LayOut(const std::string& text, double width, PunctuationRule rule) {
    std::vector<Chunk> chunks;
    for (std::string_view chunk : CutChunks(text))
        chunks.push_back(MakeChunk(std::string(chunk)));
    DocumentStore store;
    store.SetChunks(std::move(chunks));
    FixedWidthMeasurer measurer;
    CharWidthCache widths(measurer);
    NoProgress progress;
    store.Paginate({width, 330, 48, false, rule}, widths, progress);
    CorpusLayout layout{store.PageCount};
    const auto kind = [](const std::uint8_t* kinds, std::string_view two) {
        return two.size() < 2 ? 0 : kinds[std::uint8_t(two[0]) << 8 | std::uint8_t(two[1])];
    };
    for (int k = 0; k < store.ChunkCount; ++k) {
        const std::string_view chunk = *store.ShownChunk[k];
        const std::uint8_t* kinds = MarkKinds(IsBig5Text(chunk) ? TextCode::Big5 : TextCode::Gb);
        const WrappedText& lines = store.MemoChunk[k];
        bool paragraphStart = true; // so is a chunk's start: chunks are cut at a fixed size
        for (int i = 0; i < lines.LineCount(); ++i) {
            const std::string_view line = lines.LineText(chunk, i);
            const std::uint32_t start = lines.LineStart(i);
            for (std::uint64_t v : {std::uint64_t{start}, std::uint64_t{line.size()}})
                layout.Hash = (layout.Hash ^ v) * 1099511628211u;
            const bool paragraphEnd =
                i + 1 == lines.LineCount() || start + line.size() != lines.LineStart(i + 1);
            if ((!paragraphStart && (kind(kinds, line.substr(0, 2)) & ClosingMark)) ||
                (!paragraphEnd &&
                 (kind(kinds, line.substr(std::max<std::size_t>(line.size(), 2) - 2)) &
                  OpeningMark)))
                ++layout.Misplaced;
            paragraphStart = paragraphEnd;
        }
    }
    return layout;
}

} // namespace

// With the rule off the novels are laid out exactly as before the rule existed (the hashes of
// those layouts); with it on, no mark is out of place and the book grows by less than 2 %.
TEST(WrapLinesTest, CorpusNovelsKeepMarksInPlace) {
    const std::pair<const char*, std::array<std::uint64_t, 2>> novels[] = {
        {"hongloumeng.gbk.txt", {0x9f6ac7fa37cc9ad8, 0x77eb80b081de64a2}},
        {"shuihu.gbk.txt", {0x25d89277f0990e93, 0x494c4ed077dd2920}},
        {"shuihu.big5.txt", {0x25d89277f0990e93, 0x494c4ed077dd2920}},
    };
    for (const auto& [name, plainHashes] : novels) {
        MOJUAN_REQUIRE_CORPUS(name);
        const std::string text = testsupport::ReadCorpus(name);
        for (int w = 0; w < 2; ++w) {
            const double width = w == 0 ? 240 : 456;
            const CorpusLayout plain = LayOut(text, width, Off);
            EXPECT_EQ(plain.Hash, plainHashes[w]) << name << " at " << width;
            EXPECT_GT(plain.Misplaced, 0); // so the check below can see them
            for (PunctuationRule rule : {Basic, Strict}) {
                const CorpusLayout kept = LayOut(text, width, rule);
                EXPECT_EQ(kept.Misplaced, 0) << name << " at " << width;
                EXPECT_LT(kept.Pages, plain.Pages * 1.02) << name << " at " << width;
            }
        }
    }
}
