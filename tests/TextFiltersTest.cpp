// test-links: mojuan_text
#include "text/TextFilters.h"

#include "FilterReference.h"
#include "TestSupport.h"
#include "text/ChapterWords.h"
#include "text/GbkText.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>

namespace {

const std::string CrLf = "\r\n";
const std::string Indent = "\xA1\xA1\xA1\xA1"; // two ideographic spaces
const std::string Full = "\xA1\xA3";           // 。 ideographic full stop

std::string Smart(const std::string& text) {
    return SmartParagraph(text, ListChap1(), ListChap2());
}

// Random texts made of the pieces the filters react to, so that their rules meet in every order.
class RandomText {
public:
    explicit RandomText(unsigned seed) : Engine(seed) {}

    std::string Make(const std::vector<std::string>& pieces, int maxPieces) {
        std::string s;
        const int n = Pick(maxPieces + 1);
        for (int i = 0; i < n; ++i)
            s += pieces[static_cast<std::size_t>(Pick(static_cast<int>(pieces.size())))];
        return s;
    }

    int Pick(int n) { return std::uniform_int_distribution<int>(0, n - 1)(Engine); }

private:
    std::mt19937 Engine;
};

const std::vector<std::string> LineBreakPieces{"\r", "\n", "\r\n", "\n\r", "a", "\xB0\xA1", ""};
const std::vector<std::string> HtmlPieces{
    "<",       ">",         "&",      "br",   "BR",   "p",        "P",       "nbsp;",    "NBSP;",
    "quot;",   "x",         " ",      "\r\n", "\r",   "\n",       "<br>",    "<bR>",     "<P>",
    "<p",      "&nbsp;",    "&Quot;", "<b>",  "</p>", "\xB0\xA1", ";",       "&nbsp",    "<br/>",
    "&lt;",    "<!--",      "-->",    "-",    "!",    "<style",   "<STYLE>", "</style>", "</Style",
    "<script", "</script>", "style",  "\t",   "/"};
const std::vector<std::string> ParagraphPieces{
    "\r\n", "\r",   "\n",   "a",  ".",        "\"",   ")",        " ",        "  ",
    "    ", "\xA1", "\xA3", Full, "\xA1\xA1", Indent, "\xA3\xBF", "\xA1\xAD", "x"};

TEST(NormalizeLineBreaksTest, EveryLineEndBecomesCrLf) {
    EXPECT_EQ(NormalizeLineBreaks("a\nb\rc\r\nd"), "a\r\nb\r\nc\r\nd");
    for (const char* lone : {"a\nb", "a\r", "\r\n\n", "a\rb\r\n", "\n\r"})
        EXPECT_TRUE(HasLoneLineBreak(lone)) << lone;
    for (const char* crLf : {"", "ab", "a\r\nb\r\n", "\r\n\r\n"})
        EXPECT_FALSE(HasLoneLineBreak(crLf)) << crLf;
    EXPECT_EQ(NormalizeLineBreaks("\n\r"), "\r\n\r\n");
    EXPECT_EQ(NormalizeLineBreaks("\r"), "\r\n");
    EXPECT_EQ(NormalizeLineBreaks("\r\r\n\n"), "\r\n\r\n\r\n");
    EXPECT_EQ(NormalizeLineBreaks(""), "");
    EXPECT_EQ(NormalizeLineBreaks("plain"), "plain");
}

TEST(NormalizeLineBreaksTest, KeepsZeroBytesAndDoubleByteText) {
    const std::string text("\xB0\xA1\0\n\xFF", 5);
    EXPECT_EQ(NormalizeLineBreaks(text), std::string("\xB0\xA1\0\r\n\xFF", 6));
}

TEST(NormalizeLineBreaksTest, SameAsRuleOnRandomText) {
    RandomText random(1);
    for (int i = 0; i < 20000; ++i) {
        const std::string text = random.Make(LineBreakPieces, 12);
        ASSERT_EQ(NormalizeLineBreaks(text), reference::NormalizeLineBreaks(text)) << text;
    }
}

TEST(ReplaceNoCaseTest, FoldsOnlyAsciiLetters) {
    EXPECT_EQ(ReplaceNoCase("ab", "-", "xAbyaBzAB"), "x-y-z-");
    // 0xC1 and 0xE1 differ by the same bit as 'A' and 'a' but are not letters.
    EXPECT_EQ(ReplaceNoCase("\xE1", "-", "\xC1\xE1"), "\xC1-");
    EXPECT_EQ(ReplaceNoCase("[", "-", "[{"), "-{");
}

TEST(ReplaceNoCaseTest, ReplacementIsNotSearchedAgain) {
    EXPECT_EQ(ReplaceNoCase("a", "aa", "aba"), "aabaa");
    EXPECT_EQ(ReplaceNoCase("aa", "a", "aaaa"), "aa");
    EXPECT_EQ(ReplaceNoCase("aba", "X", "ababa"), "Xba");
}

TEST(ReplaceNoCaseTest, EmptyOrLongPatternChangesNothing) {
    EXPECT_EQ(ReplaceNoCase("", "x", "abc"), "abc");
    EXPECT_EQ(ReplaceNoCase("abcd", "x", "abc"), "abc");
    EXPECT_EQ(ReplaceNoCase("a", "", "aAa"), "");
}

TEST(ReplaceNoCaseTest, SameAsRuleOnRandomText) {
    RandomText random(2);
    const std::vector<std::string> letters{"a", "A", "b", "B", "\xC1", ""};
    for (int i = 0; i < 20000; ++i) {
        const std::string find = random.Make(letters, 4);
        const std::string replacement = random.Make(letters, 3);
        const std::string text = random.Make(letters, 16);
        ASSERT_EQ(ReplaceNoCase(find, replacement, text),
                  reference::ReplaceNoCase(find, replacement, text))
            << find << " / " << replacement << " / " << text;
    }
}

TEST(StripHtmlTest, EntitiesAndLineBreakTagsWithoutCase) {
    EXPECT_EQ(StripHtml("A&NBSP;B"), "A B");
    EXPECT_EQ(StripHtml("say &Quot;hi&quot;"), "say \"hi\"");
    EXPECT_EQ(StripHtml("x<BR>y"), "x\r\ny");
    EXPECT_EQ(StripHtml("x<p>y<P>z"), "x\r\ny\r\nz");
    EXPECT_EQ(StripHtml("&lt;&amp;&gt;"), "&lt;&amp;&gt;");
}

TEST(StripHtmlTest, TagsAreRemovedWithTheLineBreakAfterThem) {
    EXPECT_EQ(StripHtml("<b>bold</b>"), "bold");
    EXPECT_EQ(StripHtml("</p>\r\nnext"), "next");
    EXPECT_EQ(StripHtml("<br/>\r\n\r\nnext"), "\r\nnext");
    EXPECT_EQ(StripHtml("<p class=x>text"), "text");
    // A line-break tag right after a tag is its line break.
    EXPECT_EQ(StripHtml("<b><br>x"), "x");
    // "<br>" becomes a line break before tags go, so the break after it stays.
    EXPECT_EQ(StripHtml("a<br>\r\nb"), "a\r\n\r\nb");
}

TEST(StripHtmlTest, UnbalancedAngleBrackets) {
    EXPECT_EQ(StripHtml("a > b"), "a > b");
    EXPECT_EQ(StripHtml("1 < 2"), "1 < 2");
    EXPECT_EQ(StripHtml("1 < 2 > 3"), "1  3");
    EXPECT_EQ(StripHtml("a > <b>c"), "a > c");
    EXPECT_EQ(StripHtml("<a<b>c"), "c");
    // With no '>' left, a later tag-like text stays, but its entities are still replaced.
    EXPECT_EQ(StripHtml("<b>x<i &nbsp;<br>"), "x<i  \r\n");
}

TEST(StripHtmlTest, LineBreakTagInsideATagClosesNothing) {
    EXPECT_EQ(StripHtml("<a <br> b>c"), "c");
    EXPECT_EQ(StripHtml("<a<br>"), "<a\r\n");
}

// Deliberately beyond the plain tag removal: style sheets, scripts and comments are never text.
TEST(StripHtmlTest, StylesScriptsAndCommentsGoWithTheirContents) {
    EXPECT_EQ(StripHtml("a<style>p { x: 1 }</style>b"), "ab");
    EXPECT_EQ(StripHtml("<STYLE type=\"text/css\">\r\n<br>body{}\r\n</Style >\r\ntext"), "text");
    EXPECT_EQ(StripHtml("<script>if (a < b && c > d) x();</script>\r\nok"), "ok");
    EXPECT_EQ(StripHtml("a<!-- <b> > -->b<!---->c"), "abc");
    // "<styles>" and "<scripted>" are other tags; a name ends at a space the entity became.
    EXPECT_EQ(StripHtml("<styles>x</styles>"), "x");
    EXPECT_EQ(StripHtml("<style&nbsp;>x</style>y"), "y");
    // Never closed: the rest of the text is style, script or comment.
    EXPECT_EQ(StripHtml("a<style>p{}"), "a");
    EXPECT_EQ(StripHtml("a<!-- x >"), "a");
    // With no '>' at all there is no tag, as before.
    EXPECT_EQ(StripHtml("a<!-- x"), "a<!-- x");
}

TEST(StripHtmlTest, DoubleByteTextPassesUnchanged) {
    const std::string text = "\xBA\xEC\xC2\xA5\xC3\xCE<i>\xB5\xDA</i>";
    EXPECT_EQ(StripHtml(text), "\xBA\xEC\xC2\xA5\xC3\xCE\xB5\xDA");
}

TEST(StripHtmlTest, SameAsRuleOnRandomText) {
    RandomText random(3);
    for (int i = 0; i < 30000; ++i) {
        const std::string text = random.Make(HtmlPieces, 14);
        ASSERT_EQ(StripHtml(text), reference::StripHtml(text)) << text;
    }
}

TEST(SmartParagraphTest, MarkListsHoldTheDesignedBytes) {
    EXPECT_EQ(ListChap1(), (MarkList{".", "!", "?", "\"", ";", ")", ":"}));
    EXPECT_EQ(ListChap2(), (MarkList{"\xA1\xA3", "\xA3\xA1", "\xA3\xBF", "\xA1\xAD", "\xA1\xB1",
                                     "\xA3\xBB", "\xA3\xA9", "\xA3\xBA"}));
}

TEST(SmartParagraphTest, BrokenLinesJoinAndSentenceEndsGetAnIndent) {
    EXPECT_EQ(Smart("ab\r\ncd" + Full + "\r\nef"), "abcd" + Full + "\r\n" + Indent + "ef");
    EXPECT_EQ(Smart("end.\r\nnext"), "end.\r\n" + Indent + "next");
    EXPECT_EQ(Smart("say \"hi\"\r\nnext"), "say \"hi\"\r\n" + Indent + "next");
}

TEST(SmartParagraphTest, ExistingIndentKeepsTheBreak) {
    EXPECT_EQ(Smart("ab\r\n\xA1\xA1"
                    "cd"),
              "ab\r\n\xA1\xA1"
              "cd");
    EXPECT_EQ(Smart("ab\r\n    cd"), "ab\r\n    cd");
    EXPECT_EQ(Smart("ab\r\n  cd"), "ab\r\n  cd");
    EXPECT_EQ(Smart("ab\r\n cd"), "ab cd");
    EXPECT_EQ(Smart("end.\r\n" + Indent + "next"), "end.\r\n" + Indent + "next");
    EXPECT_EQ(Smart("end.\r\n    next"), "end.\r\n    next");
    // One ideographic space is no paragraph indent after a sentence end: the full indent goes in.
    EXPECT_EQ(Smart("end.\r\n\xA1\xA1x"), "end.\r\n" + Indent + "\xA1\xA1x");
}

TEST(SmartParagraphTest, AHeadingLineStaysALineOfItsOwn) {
    const chapters::ChapterWords& words = chapters::ChapterWords::For(TextCode::Gb);
    const std::string text = gbk::FromUtf8("他说\r\n第五回 标题\r\n话说那日\r\n天晴。\r\n");
    EXPECT_EQ(SmartParagraph(text, ListChap1(), ListChap2(), &words),
              gbk::FromUtf8("他说\r\n第五回 标题\r\n　　话说那日天晴。\r\n　　"));
    EXPECT_EQ(Smart(text), gbk::FromUtf8("他说第五回 标题话说那日天晴。\r\n　　"));
}

TEST(SmartParagraphTest, EmptyLines) {
    EXPECT_EQ(Smart("ab\r\n\r\ncd"), "abcd");
    EXPECT_EQ(Smart("ab" + Full + "\r\n\r\ncd"), "ab" + Full + "\r\n" + Indent + "cd");
    EXPECT_EQ(Smart("\r\n\r\nab"), "ab");
}

TEST(SmartParagraphTest, LastLineEndOfAChunk) {
    EXPECT_EQ(Smart("ab" + Full + "\r\n"), "ab" + Full + "\r\n" + Indent);
    EXPECT_EQ(Smart("abx\r\n"), "abx");
    EXPECT_EQ(Smart(""), "");
    EXPECT_EQ(Smart("\r\n"), "");
}

TEST(SmartParagraphTest, MarkMayBeFormedByJoinedLines) {
    // The two bytes of 。 meet only when the line between them is joined.
    EXPECT_EQ(Smart("x\xA1\r\n\xA3\r\ny"), "x\xA1\xA3\r\n" + Indent + "y");
}

TEST(SmartParagraphTest, TwoByteMarksNeedTwoBytesBeforeTheLineEnd) {
    EXPECT_EQ(SmartParagraph("\xA3\r\nz", {}, ListChap2()), "\xA3z");
    EXPECT_EQ(SmartParagraph(".\r\nz", ListChap1(), {}), ".\r\n" + Indent + "z");
}

TEST(SmartParagraphTest, BigFiveTextMatchesOnlyOneByteMarks) {
    // BIG5 。 is A1 43; its trail byte is 'C', which is no mark.
    EXPECT_EQ(Smart("\xA5\x68\xA1\x43\r\n\xA5\x68"), "\xA5\x68\xA1\x43\xA5\x68");
}

TEST(SmartParagraphTest, LoneCrAndLfAreNoLineEnds) {
    EXPECT_EQ(Smart("a.\rb\nc"), "a.\rb\nc");
    EXPECT_EQ(Smart("a\r\r\n\nb"), "a\r\nb");
}

TEST(SmartParagraphTest, SameAsRuleOnRandomText) {
    RandomText random(4);
    const std::vector<std::string> markPieces{".", "\xA1", "\xA3", "\r", "\n", " ", "a"};
    for (int i = 0; i < 30000; ++i) {
        const std::string text = random.Make(ParagraphPieces, 14);
        ASSERT_EQ(Smart(text), reference::SmartParagraph(text, ListChap1(), ListChap2())) << text;
        // Odd mark lists too: marks of any length, marks made of line-end or indent bytes.
        MarkList marks1, marks2;
        for (int k = random.Pick(4); k > 0; --k)
            marks1.push_back(random.Make(markPieces, 2));
        for (int k = random.Pick(4); k > 0; --k)
            marks2.push_back(random.Make(markPieces, 3));
        ASSERT_EQ(SmartParagraph(text, marks1, marks2),
                  reference::SmartParagraph(text, marks1, marks2))
            << text;
    }
}

TEST(TextFiltersTest, NovelThroughAllFiltersMatchesTheRules) {
    MOJUAN_REQUIRE_CORPUS("hongloumeng.gbk.txt");
    // A real chapter: long lines, indents, sentence marks, quotes.
    const std::string novel = testsupport::BuildDocument("hongloumeng.gbk.txt", 60000);
    const std::string lines = NormalizeLineBreaks(novel);
    EXPECT_EQ(lines, reference::NormalizeLineBreaks(novel));
    const std::string html = StripHtml(lines);
    EXPECT_EQ(html, reference::StripHtml(lines));
    EXPECT_EQ(Smart(html), reference::SmartParagraph(html, ListChap1(), ListChap2()));
}

} // namespace
