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

// Punctuation kept off line starts and ends.

#include "TestSupport.h"
#include "reader/DocumentStore.h"
#include "text/Gb2Big5.h"
#include "text/GbkText.h"

#include <iconv.h>

namespace {

// `utf8` in the code `to` through the C library's converter; empty when it has no such
// character.
std::string Iconv(const std::string& utf8, const char* to) {
    iconv_t cd = iconv_open(to, "UTF-8");
    std::string in = utf8, out(16, '\0');
    char* inPtr = in.data();
    char* outPtr = out.data();
    std::size_t inLeft = in.size(), outLeft = out.size();
    const bool ok = iconv(cd, &inPtr, &inLeft, &outPtr, &outLeft) != static_cast<std::size_t>(-1);
    iconv_close(cd);
    return ok ? out.substr(0, out.size() - outLeft) : std::string();
}

std::string Utf8(char32_t c) {
    std::string s;
    if (c < 0x800) {
        s += static_cast<char>(0xC0 | c >> 6);
    } else {
        s += static_cast<char>(0xE0 | c >> 12);
        s += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    }
    s += static_cast<char>(0x80 | (c & 0x3F));
    return s;
}

std::string Bytes(std::uint16_t code) {
    return code ? CodeToChars(code) : std::string();
}

std::vector<std::string> WrapRule(const std::string& text, double width, PunctuationRule rule,
                                  TextCode code = TextCode::Gb) {
    FixedWidthMeasurer measurer;
    CharWidthCache widths(measurer);
    const WrappedText lines = WrapLines(text, widths, width, rule, code);
    std::vector<std::string> out;
    for (int i = 0; i < lines.LineCount(); ++i)
        out.emplace_back(lines.LineText(text, i));
    return out;
}

// GB text from UTF-8, so the cases below read as what they show.
std::string Gb(const std::string& utf8) {
    return Iconv(utf8, "GBK");
}
Lines GbLines(std::initializer_list<const char*> lines) {
    Lines out;
    for (const char* line : lines)
        out.push_back(Gb(line));
    return out;
}

constexpr auto Basic = PunctuationRule::Basic;
constexpr auto Strict = PunctuationRule::Strict;

} // namespace

TEST(WrapLinesTest, MarkTableBytesAreTheCharactersInEachCode) {
    for (const MarkRange& range : PunctuationMarks())
        for (int i = 0; i < range.Count; ++i) {
            const std::string c = Utf8(range.First + i);
            EXPECT_EQ(Bytes(range.Gb + i), Iconv(c, "GBK")) << c;
            EXPECT_EQ(Bytes(range.Big5 ? range.Big5 + i : 0), Iconv(c, "BIG5")) << c;
        }
}

// Twelve pixels a character: a 48-pixel line holds four.
TEST(WrapLinesTest, ClosingMarkPastTheWidthHangs) {
    EXPECT_EQ(WrapRule(Gb("中中中中，中"), 48, Basic), GbLines({"中中中中，", "中"}));
    // Exactly at the width it simply fits, and the break after it is allowed.
    EXPECT_EQ(WrapRule(Gb("中中中，中"), 48, Basic), GbLines({"中中中，", "中"}));
    EXPECT_EQ(WrapRule(Gb("中中中中，中"), 48, PunctuationRule::Off),
              GbLines({"中中中中", "，中"}));
}

TEST(WrapLinesTest, RunOfMarksMovesDownWithTheCharacterBeforeIt) {
    // Three closing marks cannot hang: the last character comes down with them, and the line
    // that then holds them overruns by the one mark that is left over.
    EXPECT_EQ(WrapRule(Gb("中中中中。」』中"), 48, Basic), GbLines({"中中中", "中。」』", "中"}));
    EXPECT_EQ(WrapRule(Gb("中中中“「中中"), 48, Basic), GbLines({"中中中", "“「中中"}));
}

TEST(WrapLinesTest, LineOfOnlyMarksBreaksAsWithoutTheRule) {
    const std::string marks = Gb("。。。。。。。。。");
    EXPECT_EQ(WrapRule(marks, 48, Basic), WrapRule(marks, 48, PunctuationRule::Off));
}

TEST(WrapLinesTest, MarkAfterSingleByteWord) {
    // The word and its mark go down together after the space, as without the rule.
    EXPECT_EQ(WrapRule(Gb("中中 abc，"), 48, Basic), GbLines({"中中 ", "abc，"}));
    // A word that fills the line by itself: its mark hangs.
    EXPECT_EQ(WrapRule(Gb("abcdefgh，中"), 48, Basic), GbLines({"abcdefgh，", "中"}));
    // Two marks cannot hang: the word's last letter comes down.
    EXPECT_EQ(WrapRule(Gb("abcdefgh，”"), 48, Basic), GbLines({"abcdefg", "h，”"}));
}

TEST(WrapLinesTest, StrictKeepsDashesAndFullWidthNumbersWhole) {
    EXPECT_EQ(WrapRule(Gb("中中中——中"), 48, Basic), GbLines({"中中中—", "—中"}));
    EXPECT_EQ(WrapRule(Gb("中中中——中"), 48, Strict), GbLines({"中中中", "——中"}));
    EXPECT_EQ(WrapRule(Gb("中中１２３"), 48, Strict), GbLines({"中中", "１２３"}));
    EXPECT_EQ(WrapRule(Gb("中中ａｂｃ"), 48, Basic), GbLines({"中中ａｂ", "ｃ"}));
}

TEST(WrapLinesTest, BigFiveTextUsesBigFiveMarks) {
    const std::string text = Iconv("一一一一，一", "BIG5");
    const Lines lines = WrapRule(text, 48, Basic, TextCode::Big5);
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[1], Iconv("一", "BIG5"));
}

namespace {

// A corpus novel paginated as the reader does it, in chunks, with every character 12 pixels.
struct CorpusLayout {
    int Pages = 0;
    std::uint64_t Hash = 14695981039346656037u; // of every line's start and end, FNV-1a
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
    for (int k = 0; k < store.ChunkCount; ++k) {
        const std::string_view chunk = *store.ShownChunk[k];
        const std::uint8_t* kinds = MarkKinds(IsBig5Text(chunk) ? TextCode::Big5 : TextCode::Gb);
        const WrappedText& lines = store.MemoChunk[k];
        bool paragraphStart = true;
        for (int i = 0; i < lines.LineCount(); ++i) {
            const std::string_view line = lines.LineText(chunk, i);
            const std::uint32_t start = lines.LineStart(i);
            const bool paragraphEnd =
                i + 1 == lines.LineCount() || lines.LineStart(i + 1) != start + line.size();
            for (std::uint64_t v : {std::uint64_t{start}, std::uint64_t{line.size()}})
                layout.Hash = (layout.Hash ^ v) * 1099511628211u;
            std::uint16_t first = 0, last = 0;
            for (std::size_t pos = 0; pos < line.size();) {
                const gbk::Char c = gbk::CharAt(line, pos);
                last = c.Length == 2 ? static_cast<std::uint16_t>(c.Code) : 0;
                if (pos == 0)
                    first = last;
                pos += c.Length;
            }
            if ((!paragraphStart && (kinds[first] & ClosingMark)) ||
                (!paragraphEnd && (kinds[last] & OpeningMark)))
                ++layout.Misplaced;
            paragraphStart = paragraphEnd;
        }
    }
    return layout;
}

} // namespace

// With the rule off, the novels are laid out exactly as before the rule existed (the hashes of
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
            const CorpusLayout plain = LayOut(text, width, PunctuationRule::Off);
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
