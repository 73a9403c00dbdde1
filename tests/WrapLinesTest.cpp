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
