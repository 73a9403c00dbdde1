// test-links: mojuan_reader mojuan_text
#include "reader/Chapters.h"
#include "TestSupport.h"
#include "text/ChapterFinder.h"
#include "text/ChapterHeading.h"
#include "text/Chunking.h"
#include "text/Gb2Big5.h"
#include "text/GbkText.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

std::string Gb(const std::string& utf8) {
    return gbk::FromUtf8(utf8);
}

std::string Title(const std::string& text, const Chapter& c) {
    return gbk::ToUtf8(std::string_view(text).substr(c.Offset, c.Length));
}

std::vector<Chapter> Find(const std::string& text, TextCode code = TextCode::Gb,
                          std::size_t chunkSize = ChunkSize) {
    std::vector<std::string_view> chunks;
    for (std::size_t at = 0; at < text.size(); at += chunkSize)
        chunks.push_back(std::string_view(text).substr(at, chunkSize));
    return FindChapters(chunks, code);
}

std::vector<std::string> Titles(const std::string& utf8, std::size_t chunkSize = ChunkSize) {
    const std::string text = Gb(utf8);
    std::vector<std::string> titles;
    for (const Chapter& c : Find(text, TextCode::Gb, chunkSize))
        titles.push_back(std::to_string(c.Level) + " " + Title(text, c));
    return titles;
}

// A chapter of some length: its heading, then paragraphs of text.
std::string ChapterText(const std::string& heading, const std::string& body = "话说那日天晴。") {
    std::string text = heading + "\r\n\r\n";
    for (int i = 0; i < 30; ++i)
        text += "    " + body + "他们走了很远的路，才到了那座城。\r\n";
    return text + "\r\n";
}

} // namespace

TEST(ChaptersTest, HongloumengHasItsHundredTwentyChapters) {
    MOJUAN_REQUIRE_CORPUS("hongloumeng.gbk.txt");
    const std::string text = testsupport::ReadCorpus("hongloumeng.gbk.txt");
    const std::vector<Chapter> found = Find(text);
    ASSERT_EQ(found.size(), 120u);
    EXPECT_EQ(Title(text, found[0]), "第一回  甄士隐梦幻识通灵　贾雨村风尘怀闺秀");
    EXPECT_EQ(Title(text, found[37]), "第三十八回  林潇湘魁夺菊花诗　薛蘅芜讽和螃蟹咏");
    EXPECT_EQ(Title(text, found[119]), "第一二零回  甄士隐详说太虚情　贾雨村归结红楼梦");
}

TEST(ChaptersTest, ShuihuInBig5HasTheChaptersOfItsGbOriginal) {
    MOJUAN_REQUIRE_CORPUS("shuihu.gbk.txt");
    MOJUAN_REQUIRE_CORPUS("shuihu.big5.txt");
    const std::string gb = testsupport::ReadCorpus("shuihu.gbk.txt");
    const std::vector<Chapter> found = Find(gb);
    ASSERT_EQ(found.size(), 121u); // 楔子 and 120 chapters
    EXPECT_EQ(Title(gb, found[0]), "楔子　张天师祈禳瘟疫　洪太尉误走妖魔");
    EXPECT_EQ(Title(gb, found[120]).substr(0, 18), "第一百二十回");
    // The BIG5 text is converted character for character, so its headings stand at the same
    // bytes.
    EXPECT_EQ(Find(testsupport::ReadCorpus("shuihu.big5.txt"), TextCode::Big5), found);
}

TEST(ChaptersTest, WordsThatOnlyStartLikeAHeadingAreNoHeadings) {
    const std::string text = ChapterText("第一章 出发") + "第六回合，两人又斗在一处。\r\n\r\n" +
                             "第一封信\r\n\r\n第三节课下课了\r\n\r\n第一部分\r\n\r\n" +
                             "第二集合的元素\r\n\r\n第三场比赛\r\n\r\n第二回来的时候\r\n\r\n" +
                             ChapterText("第二章 归来") + ChapterText("第三章");
    EXPECT_EQ(Titles(text),
              (std::vector<std::string>{"2 第一章 出发", "2 第二章 归来", "2 第三章"}));
}

TEST(ChaptersTest, LinesOfAParagraphAndLongSentencesAreNoHeadings) {
    const std::string text = ChapterText("第一回 开篇") +
                             "    他翻开书，看那目录上写着的，正是当年的旧事，一直读到\r\n" +
                             "第二回的时候，天已黑了\r\n\r\n" +
                             "第二回中所说的那些人，如今都已不在了，令人叹息。\r\n\r\n" +
                             ChapterText("第二回：相逢") + ChapterText("第三回、离别") +
                             ChapterText("第四回．终了");
    EXPECT_EQ(Titles(text), (std::vector<std::string>{"2 第一回 开篇", "2 第二回：相逢",
                                                      "2 第三回、离别", "2 第四回．终了"}));
}

TEST(ChaptersTest, VolumesStandAboveChaptersWhoseNumbersStartAgain) {
    const std::string text =
        "    书名\r\n\r\n" + ChapterText("　　第一卷　风起") + ChapterText("楔子") +
        ChapterText("第一章 少年") + ChapterText("第二章 出山") + ChapterText("卷二") +
        ChapterText("第1章 重逢") + ChapterText("第２章 别离") + ChapterText("尾声");
    EXPECT_EQ(Titles(text), (std::vector<std::string>{"1 第一卷　风起", "2 楔子", "2 第一章 少年",
                                                      "2 第二章 出山", "1 卷二", "2 第1章 重逢",
                                                      "2 第２章 别离", "2 尾声"}));
}

TEST(ChaptersTest, NumeralsOfEveryFormReadAsTheirValue) {
    const struct {
        const char* Utf8;
        std::uint32_t Value;
    } cases[] = {{"十", 10},        {"十五", 15},       {"二十", 20},        {"两百零八", 208},
                 {"一百一十", 110}, {"一千零一", 1001}, {"一二零", 120},     {"一零零", 100},
                 {"叁拾陆", 36},    {"壹佰", 100},      {"两万三千", 23000}, {"638", 638},
                 {"６３８", 638},   {"〇", 0}};
    const auto& words = chapters::ChapterWords::For(TextCode::Gb);
    for (const auto& c : cases) {
        const std::string line = Gb(std::string("第") + c.Utf8 + "章");
        const std::optional<chapters::HeadingMatch> match = chapters::MatchHeading(line, words);
        ASSERT_TRUE(match) << c.Utf8;
        EXPECT_EQ(match->Number, c.Value) << c.Utf8;
    }
}

TEST(ChaptersTest, TraditionalFormsAreReadInBig5Text) {
    const auto& words = chapters::ChapterWords::For(TextCode::Big5);
    const std::optional<std::string> line =
        chapters::Utf8ToText("第兩百貳拾節 歸來", TextCode::Big5);
    ASSERT_TRUE(line);
    const std::optional<chapters::HeadingMatch> match = chapters::MatchHeading(*line, words);
    ASSERT_TRUE(match);
    EXPECT_EQ(match->Rule, chapters::RuleJie);
    EXPECT_EQ(match->Number, 220u);
    EXPECT_EQ(chapters::TextToUtf8(*line, TextCode::Big5), "第兩百貳拾節 歸來");
}

TEST(ChaptersTest, FullWidthSpacesThatBig5ToGbMadeTwoSpacesAreTrimmed) {
    std::string big5;
    for (const char* heading : {"　　第一回　歸來　", "　第二回　出發"}) {
        big5 += *chapters::Utf8ToText(heading, TextCode::Big5) + "\r\n";
        for (int i = 0; i < 30; ++i)
            big5 += *chapters::Utf8ToText("　　他們走了很遠的路，才到了那座城。", TextCode::Big5) + "\r\n";
    }
    const std::string gb = Big5ToGb(big5);
    std::vector<std::string> titles;
    for (const Chapter& c : Find(gb))
        titles.push_back(Title(gb, c));
    EXPECT_EQ(titles, (std::vector<std::string>{"第一回  归来", "第二回  出发"}));
}

TEST(ChaptersTest, AHeadingCutByAChunkBorderIsFound) {
    const std::string text = Gb(ChapterText("第一章 出发") + ChapterText("第二章 归来"));
    const std::vector<Chapter> whole = Find(text);
    ASSERT_EQ(whole.size(), 2u);
    for (std::size_t size = 1; size < 64; ++size) {
        const std::size_t border = whole[1].Offset + size / 2;
        const std::vector<std::string_view> chunks{std::string_view(text).substr(0, border),
                                                   std::string_view(text).substr(border)};
        EXPECT_EQ(FindChapters(chunks, TextCode::Gb), whole) << "border at " << border;
    }
    EXPECT_EQ(Find(text, TextCode::Gb, 7), whole);

    // The reader's side: the title put together from both chunks, and the chapter of a place.
    const std::size_t border = whole[1].Offset + 3;
    const std::vector<Chunk> shown{MakeChunk(text.substr(0, border)),
                                   MakeChunk(text.substr(border))};
    EXPECT_EQ(FindDocumentChapters(shown, TextCode::Gb).Chapters, whole);
    EXPECT_EQ(gbk::ToUtf8(ChapterTitle(shown, whole[1])), "第二章 归来");
    EXPECT_EQ(PlaceOfOffset(shown, border + 2), ChunkPlace({2, 2}));
    EXPECT_EQ(OffsetOfPlace(shown, {2, 2}), border + 2);
    EXPECT_EQ(ChapterAt(whole, whole[1].Offset - 1), 0);
    EXPECT_EQ(ChapterAt(whole, whole[1].Offset), 1);
    EXPECT_EQ(ChapterAt({}, 5), -1);
}

TEST(ChaptersTest, TextWithoutHeadingsFallsBackToSectionsTitledByTheirFirstLine) {
    std::string text;
    for (int i = 0; text.size() < 100000; ++i)
        text += Gb("    第" + std::to_string(i) + "段：山高水长，风景秀丽的地方。\r\n");
    text = Gb("第一回 孤零零的一个\r\n") + text;
    const std::vector<Chapter> found = Find(text);
    ASSERT_EQ(found.size(), 3u);
    EXPECT_EQ(Title(text, found[0]), "第一回 孤零零的一个");
    EXPECT_GE(found[1].Offset, chapters::SectionBytes);
    EXPECT_EQ(Title(text, found[1]).substr(0, 3), "第");
    EXPECT_EQ(text.substr(found[1].Offset - 6, 6), "\r\n    ");
}

TEST(ChaptersTest, TheUsersPatternTakesTheLinesItFinds) {
    const std::string text =
        Gb("Chapter 1 Start\r\n\r\n正文\r\n\r\n  Chapter 2 End\r\n第一章 不算\r\n");
    EXPECT_FALSE(ChapterFinder::ForPattern(TextCode::Gb, "(["));
    // A pattern that backtracks for ever in a line of a's ends at once.
    std::optional<ChapterFinder> slow = ChapterFinder::ForPattern(TextCode::Gb, "(a*)*b");
    slow->Feed(std::string(90, 'a'));
    EXPECT_TRUE(slow->Finish().empty());
    std::optional<ChapterFinder> finder = ChapterFinder::ForPattern(TextCode::Gb, "^Chapter \\d+");
    ASSERT_TRUE(finder);
    finder->Feed(text);
    const std::vector<Chapter> found = finder->Finish();
    ASSERT_EQ(found.size(), 2u);
    EXPECT_EQ(Title(text, found[1]), "Chapter 2 End");
    std::optional<ChapterFinder> chinese = ChapterFinder::ForPattern(TextCode::Gb, "^第.章");
    chinese->Feed(text);
    EXPECT_EQ(chinese->Finish().size(), 1u);
}

TEST(ChaptersTest, TheRuleWhoseNumbersRunInOrderWins) {
    // Rounds of a game counted in 回, as many as the chapters but out of order.
    std::string text;
    for (int i = 1; i <= 6; ++i)
        text += ChapterText("第" + std::to_string(7 - i) + "回 比武") +
                ChapterText("第" + std::to_string(i) + "章 第" + std::to_string(i) + "天");
    const std::vector<std::string> titles = Titles(text);
    ASSERT_EQ(titles.size(), 6u);
    EXPECT_EQ(titles[5], "2 第6章 第6天");
}

TEST(ChaptersTest, ATableOfContentsIsNoHeadings) {
    const std::string text = "第一章 出发\r\n第二章 归来\r\n第三章 终了\r\n\r\n" +
                             ChapterText("第一章 出发") + ChapterText("第二章 归来") +
                             ChapterText("第三章 终了");
    const std::vector<Chapter> found = Find(Gb(text));
    ASSERT_EQ(found.size(), 3u);
    EXPECT_GT(found[0].Offset, Gb("第一章 出发\r\n第二章 归来\r\n第三章 终了\r\n").size());
}

TEST(ChaptersTest, Big5TextHasItsFalseHeadingsExcludedToo) {
    const std::string text =
        GbToBig5(Gb(ChapterText("第一章 出发") + "第六回合，两人又斗在一处。\r\n\r\n" +
                    "第三节课下课了\r\n\r\n" + ChapterText("第二章 归来")));
    const std::vector<Chapter> found = Find(text, TextCode::Big5);
    ASSERT_EQ(found.size(), 2u);
    EXPECT_EQ(chapters::TextToUtf8(text.substr(found[1].Offset, found[1].Length), TextCode::Big5),
              "第二章 歸來");
    std::optional<ChapterFinder> finder = ChapterFinder::ForPattern(TextCode::Big5, "^第.章 歸");
    finder->Feed(text);
    EXPECT_EQ(finder->Finish(), std::vector<Chapter>{found[1]});
}

TEST(ChaptersTest, ALineLongerThanAChunkOrBinaryBytesOnlyGiveSections) {
    std::string text(600000, '\xB0');
    text += Gb("\r\n第一章 不是\r\n");
    for (int b = 0; b < 256; ++b)
        text += std::string(3, static_cast<char>(b));
    const std::vector<Chapter> found = Find(text);
    ASSERT_FALSE(found.empty());
    EXPECT_EQ(found[0].Offset, 0u);
    for (const Chapter& c : found)
        EXPECT_LE(c.Offset + c.Length, text.size());
}

TEST(ChaptersTest, TheHeadingsOfA22MegabyteNovelAreAllFound) {
    MOJUAN_REQUIRE_CORPUS("hongloumeng.gbk.txt");
    const std::string novel = testsupport::ReadCorpus("hongloumeng.gbk.txt");
    const std::string text = testsupport::BuildDocument("hongloumeng.gbk.txt", MaxDocumentBytes);
    const std::vector<Chapter> once = Find(novel), found = Find(text);
    // The novel repeated: each copy's headings at the same places of the copy.
    for (std::size_t i = 0; i < found.size(); ++i) {
        const std::size_t copy = i / once.size();
        ASSERT_EQ(found[i].Offset, once[i % once.size()].Offset + copy * novel.size()) << i;
    }
    EXPECT_GT(found.size(), 13u * 120);
    EXPECT_LT(text.size() - found.back().Offset, novel.size() / 120 * 2);
}
