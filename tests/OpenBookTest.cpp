// test-links: mojuan_reader
#include "reader/OpenBook.h"

#include "reader/ConvertPasses.h"
#include "reader/HitList.h"
#include "reader/TextPasses.h"
#include "text/GbkText.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <functional>
#include <string>
#include <vector>

namespace {

// Records the stages that ran, by their progress captions.
struct StageLog : ProgressWindow {
    std::vector<std::string> Stages;
    void InitShowMess(int, int, const std::string& text) override { Stages.push_back(text); }
    void ShowMessPos(int) override {}
    void CloseShowMess() override {}
};

// Line i reads "p<i>" then i % 40 x's: at 6 pixels a character and a width of 200 the longer
// lines wrap, so another font wraps them differently.
std::string Paragraph(int i) {
    char mark[16];
    std::snprintf(mark, sizeof mark, "p%04d", i);
    return mark + std::string(i % 40, 'x') + "\r\n";
}

std::vector<Chunk> Document(int paragraphs, int perChunk) {
    std::vector<Chunk> chunks;
    std::string text;
    for (int i = 1; i <= paragraphs; ++i) {
        text += Paragraph(i);
        if (i % perChunk == 0 || i == paragraphs)
            chunks.push_back(MakeChunk(std::exchange(text, {})));
    }
    return chunks;
}

// Twelve chapters "第N回 标题N" of some three pages each, as GB bytes in chunks of about
// 5,000 bytes.
std::vector<Chunk> Novel() {
    const char* numbers[] = {"一", "二", "三", "四", "五", "六", "七", "八", "九", "十", "十一", "十二"};
    std::vector<Chunk> chunks;
    std::string text;
    auto add = [&](const std::string& utf8) {
        text += gbk::FromUtf8(utf8 + "\r\n");
        if (text.size() >= 5000)
            chunks.push_back(MakeChunk(std::exchange(text, {})));
    };
    for (int i = 0; i < 12; ++i) {
        add(std::string("第") + numbers[i] + "回 标题" + std::to_string(i + 1));
        for (int line = 0; line < 30; ++line)
            add("    话说那日天晴，他们走了很远的路，才到了那座城。");
    }
    chunks.push_back(MakeChunk(text));
    return chunks;
}

struct Reading {
    FixedWidthMeasurer narrow;
    FixedWidthMeasurer wide{8, 16};
    CharWidthCache font1{narrow};
    CharWidthCache font2{wide};
    StageLog log;
    OpenBook book{log};

    // Some 7800 display lines: 390 pages of 20 lines.
    explicit Reading(int paragraphs = 6000, TextOptions options = {}) {
        Format(240);
        book.Open("/books/a.txt", Document(paragraphs, 700), options);
    }
    explicit Reading(std::vector<Chunk> chunks, TextOptions options = {},
                     const TextPosition& place = {}) {
        Format(240);
        book.Open("/books/novel.txt", std::move(chunks), options, place);
    }
    // Pages of pageHeight / 12 lines.
    void Format(int pageHeight, bool doubleSpacing = false, CharWidthCache* font = nullptr) {
        book.SetPageFormat({200, pageHeight, 48, doubleSpacing}, font ? *font : font1);
    }
    std::string Pair() const { return book.Snapshot().Pages.Left + book.Snapshot().Pages.Right; }
    bool Shows(int paragraph) const {
        return Pair().find(Paragraph(paragraph).substr(0, 5)) != std::string::npos;
    }
    // The text of the underlined line.
    std::string Underlined() const {
        const BookSnapshot& s = book.Snapshot();
        const std::string& page = s.Underline.RightPage ? s.Pages.Right : s.Pages.Left;
        std::size_t at = 0;
        for (int line = 1; line < s.Underline.Line; ++line)
            at = page.find("\r\n", at) + 2;
        return page.substr(at, page.find("\r\n", at) - at);
    }
};

TEST(OpenBookTest, AnOpenedDocumentShowsItsFirstPairAndTheHelpTextKeepsThePassesOff) {
    Reading r;
    EXPECT_EQ(r.book.CurrentPage(), 1);
    EXPECT_EQ(r.book.LinesPerPage(), 20);
    EXPECT_TRUE(r.Shows(1));
    EXPECT_EQ(r.book.Snapshot().Pages.Left.substr(0, 8), "p0001x\r\n");
    r.book.Open("/books/b.txt", {MakeChunk("a\nb\rc")}, {}); // line ends become CR LF
    EXPECT_EQ(*r.book.Document().RawChunk[0], "a\r\nb\r\nc");
    r.book.OpenHelpText("help\r\n", {true, true, false, true, true});
    r.book.SetOptions({true, true, false, true, true});
    EXPECT_FALSE(r.book.HasDocument());
    EXPECT_EQ(r.book.Options(), (TextOptions{false, false, false, false, false}));
    EXPECT_EQ(r.book.Snapshot().Pages.Left.substr(0, 6), "help\r\n");
}

TEST(OpenBookTest, EachChangeRunsOnlyTheStagesItInvalidates) {
    Reading r;
    r.book.GoToPage(9); // wraps what the opening left
    r.log.Stages.clear();
    r.Format(240); // nothing changed
    r.book.SetOptions({});
    r.book.GoToPage(9);
    EXPECT_TRUE(r.log.Stages.empty());
    r.Format(240, true); // spacing: wrapping only
    EXPECT_EQ(r.log.Stages, std::vector<std::string>{CaptionInitBook});
    r.log.Stages.clear();
    r.book.SetPageFormat({200, 240, 48, true, PunctuationRule::Strict}, r.font1); // line breaking
    EXPECT_EQ(r.log.Stages, std::vector<std::string>{CaptionInitBook});
    r.log.Stages.clear();
    r.book.SetOptions({false, false, true, false, true}); // passes, then wrapping
    EXPECT_EQ(r.log.Stages, (std::vector<std::string>{CaptionChap, CaptionInitBook}));
}

// The pair is drawn once the chunks up to it are wrapped: the same pair, with the same numbers,
// as after wrapping all; the chunks wrapped later get the lines a whole pagination gives them.
TEST(OpenBookTest, APairShowsBeforeTheChunksAfterItAreWrappedAndTheyWrapAsAWhole) {
    const std::vector<Chunk> chunks = Document(6000, 700);
    Reading whole(chunks);
    const auto end5 = static_cast<std::uint32_t>(chunks[4]->size());
    for (const TextPosition place : {TextPosition{5, 9000}, TextPosition{5, end5}}) {
        Reading r(chunks, {}, place);
        EXPECT_EQ(r.book.Snapshot().PageCount, 0); // not counted yet
        ASSERT_TRUE(whole.book.GoTo(place));
        EXPECT_EQ(r.book.Snapshot().LeftPage, whole.book.Snapshot().LeftPage);
        EXPECT_EQ(r.Pair(), whole.Pair());
        r.book.FinishPagination();
        EXPECT_EQ(r.book.Snapshot().PageCount, whole.book.PageCount());
        EXPECT_EQ(r.book.Document().MemoChunk, whole.book.Document().MemoChunk);
    }
}

TEST(OpenBookTest, EveryCountAndMoveIsOfTheWholeBookBeforeItIsWrapped) {
    const std::vector<Chunk> chunks = Document(6000, 700);
    const TextPosition end{9, static_cast<std::uint32_t>(chunks[8]->size())};
    const std::vector<std::function<std::int64_t(OpenBook&)>> queries = {
        [](OpenBook& b) { return b.PageCount(); },
        [&](OpenBook& b) { return b.PageOf(end); },
        [](OpenBook& b) { return b.Document().TotalLines; },
        [](OpenBook& b) { return b.AutoReadView().TotalLines; },
        [](OpenBook& b) { return b.CharCount(); },
        [](OpenBook& b) { return b.GoToPage(9999), b.CurrentPage(); },
        [&](OpenBook& b) { return b.GoTo(end), b.OnShownPair(end); },
    };
    Reading whole(chunks);
    whole.book.FinishPagination();
    for (std::size_t i = 0; i < queries.size(); ++i) {
        Reading partial(chunks, {}, {3, 100});
        EXPECT_EQ(queries[i](partial.book), queries[i](whole.book)) << i;
    }
}

TEST(OpenBookTest, ThePairShownAfterARepaginationHoldsThePlace) {
    Reading r;
    r.book.GoToPage(151);
    const std::string first = r.book.Snapshot().Pages.Left.substr(0, 5);
    const TextPosition place = r.book.Place();
    auto holdsFirst = [&] { return r.Pair().find(first) != std::string::npos; };
    r.Format(300); // a larger page
    EXPECT_TRUE(holdsFirst());
    r.Format(660); // maximised
    EXPECT_TRUE(holdsFirst());
    r.Format(660, false, &r.font2); // another font
    EXPECT_TRUE(holdsFirst());
    r.Format(120, true, &r.font2); // small pages, double spacing
    EXPECT_TRUE(holdsFirst());
    EXPECT_EQ(r.book.CurrentPage() % 2, 1);
    EXPECT_EQ(r.book.PreviousPage(), 1);
    r.Format(240);
    EXPECT_EQ(r.book.CurrentPage(), 151); // and back where it started
    EXPECT_EQ(r.book.Place(), place);
}

TEST(OpenBookTest, TheUnderlineStaysOnItsCharacterAcrossAResize) {
    Reading r;
    r.book.GoToPage(41);
    for (int i = 0; i < 26; ++i)
        r.book.MoveUnderline(+1, false, true);
    ASSERT_TRUE(r.book.Underline().RightPage);
    const std::string line = r.Underlined();
    for (int height : {300, 120, 660, 96}) {
        r.Format(height);
        EXPECT_EQ(r.Underlined(), line) << height;
    }
}

TEST(OpenBookTest, TogglesThatChangeTheTextCarryThePlaceThroughThePasses) {
    Reading r;
    r.book.GoToPage(301);
    const std::string first = r.book.Snapshot().Pages.Left.substr(0, 5);
    r.book.SetOptions({true, false, true, false, false}); // BIG5 to GB keeps every length
    EXPECT_NE(r.Pair().find(first), std::string::npos);
    EXPECT_EQ(r.book.CurrentPage(), 301);
    // Smart paragraphs join the lines: the place is carried in proportion within its chunk.
    r.book.SetOptions({false, false, true, false, true});
    const int joined = r.book.PageOf(r.book.Place());
    EXPECT_EQ(r.book.CurrentPage(), joined - (joined % 2 == 0));
    r.book.SetOptions({});
    EXPECT_LE(std::abs(r.book.CurrentPage() - 301), 2);
}

TEST(OpenBookTest, TheUnderlineTurnsThePairAtItsEnds) {
    Reading r;
    r.book.GoToPage(41);
    for (int i = 0; i < 40; ++i) // 20 lines a page
        r.book.MoveUnderline(+1, false, true);
    EXPECT_EQ(r.book.CurrentPage(), 43);
    EXPECT_FALSE(r.book.Underline().RightPage);
    r.book.MoveUnderline(-1, false, true);
    EXPECT_EQ(r.book.CurrentPage(), 41);
    EXPECT_TRUE(r.book.Underline().RightPage);
    EXPECT_EQ(r.book.Underline().Line, 20);
}

TEST(OpenBookTest, GoingToATextPositionShowsItsPairAndRefusesOnePastTheEnd) {
    Reading r;
    r.book.GoToPage(201);
    const TextPosition place = r.book.Place();
    r.book.GoToPage(1);
    EXPECT_TRUE(r.book.GoTo(place));
    EXPECT_EQ(r.book.CurrentPage(), 201);
    EXPECT_TRUE(r.book.OnShownPair(place));
    const int last = r.book.ChunkCount();
    const auto size = static_cast<std::uint32_t>(r.book.Document().ShownChunk.back()->size());
    EXPECT_TRUE(r.book.Holds({last, size}));
    EXPECT_FALSE(r.book.GoTo({last, size + 1}));
    EXPECT_FALSE(r.book.GoTo({last + 1, 0}));
    EXPECT_EQ(r.book.CurrentPage(), 201);
}

TEST(OpenBookTest, AnAppliedEditKeepsThePairAndAPlaceBeforeIt) {
    Reading r;
    r.book.GoToPage(11);
    const PageEdit edit = r.book.BeginEdit();
    std::u16string left = edit.Left().Decoded.Text;
    left.insert(0, u"new\n");
    EXPECT_FALSE(r.book.ApplyEdit(edit, left, edit.Right().Decoded.Text));
    EXPECT_EQ(r.book.CurrentPage(), 11);
    EXPECT_EQ(r.book.Snapshot().Pages.Left.substr(0, 5), "new\r\n");
}

TEST(OpenBookTest, SearchShowsTheHitsPairWithTheUnderlineUnderIt) {
    Reading r;
    const std::optional<SearchHit> hit = r.book.Search("p2345", true, false);
    ASSERT_TRUE(hit);
    EXPECT_EQ(r.book.CurrentPage(), hit->Page - (hit->Page % 2 == 0));
    EXPECT_EQ(r.Underlined().substr(0, 5), "p2345");
    r.Format(600);
    EXPECT_EQ(r.Underlined().substr(0, 5), "p2345");
}

TEST(OpenBookTest, GoingToAChapterUnderlinesItsHeadingAndTheKeysStepFromThere) {
    Reading r(Novel());
    ASSERT_EQ(r.book.Chapters().size(), 12u);
    EXPECT_EQ(r.book.ChapterCaption(4), "第五回 标题5");
    ASSERT_TRUE(r.book.GoToChapter(4));
    EXPECT_EQ(gbk::ToUtf8(r.Underlined()), "第五回 标题5");
    EXPECT_EQ(r.book.CurrentChapter(), 4);
    ASSERT_TRUE(r.book.NextChapter());
    EXPECT_EQ(gbk::ToUtf8(r.Underlined()), "第六回 标题6");
    r.book.NextPair(); // inside chapter 6: back goes to its own start first
    ASSERT_EQ(r.book.CurrentChapter(), 5);
    ASSERT_TRUE(r.book.PreviousChapter());
    EXPECT_EQ(r.book.CurrentChapter(), 5);
    ASSERT_TRUE(r.book.PreviousChapter());
    EXPECT_EQ(gbk::ToUtf8(r.Underlined()), "第五回 标题5");
    r.Format(300); // a repagination keeps the underline on the heading
    EXPECT_EQ(gbk::ToUtf8(r.Underlined()), "第五回 标题5");
    r.book.GoToChapter(11);
    EXPECT_FALSE(r.book.NextChapter());
}

TEST(OpenBookTest, SearchingBackShowsTheHitBeforeTheUnderlinedLine) {
    Reading r;
    r.book.GoToPage(101);
    r.book.MoveUnderline(+3, false, true);
    ASSERT_TRUE(r.book.SearchPrevious("p0999", true, true));
    EXPECT_LT(r.book.CurrentPage(), 101);
    EXPECT_EQ(r.Underlined().substr(0, 5), "p0999");
    ASSERT_TRUE(r.book.SearchPrevious("p099", true, true)); // never the hit just shown
    EXPECT_EQ(r.Underlined().substr(0, 5), "p0998");
    r.book.GoToPage(1);
    EXPECT_FALSE(r.book.SearchPrevious("p0001", true, false));
}

TEST(OpenBookTest, TheHitListHasEveryHitWithItsPageChapterAndLine) {
    Reading r(Novel());
    HitList hits(r.book, gbk::FromUtf8("那座城"), true);
    int steps = 0;
    while (hits.Step(1))
        ++steps;
    EXPECT_EQ(steps + 1, r.book.ChunkCount()); // a chunk a step
    EXPECT_TRUE(hits.Done());
    ASSERT_EQ(hits.Rows.size(), 360u);
    EXPECT_EQ(hits.Status(), "共找到 360 处。");
    const HitRow& row = hits.Rows[100]; // the 11th line of chapter 4
    EXPECT_EQ(row.Chapter, 3);
    EXPECT_EQ(row.Page, r.book.PageOf({row.Hit.Chunk, row.Hit.Offset}));
    EXPECT_EQ(hits.Caption(row).rfind("第" + std::to_string(row.Page) + "页  第四回 标题4  ", 0), 0u);
    EXPECT_NE(gbk::ToUtf8(row.Context).find("那座"), std::string::npos);
    EXPECT_EQ(HitList(r.book, gbk::FromUtf8("没有"), true).Status(), "正在查找，已找到 0 处……");
}

TEST(OpenBookTest, TheRunningHeadNamesTheChapterTheLeftPageBeginsInAndTakesALine) {
    Reading r(Novel());
    EXPECT_EQ(r.book.Snapshot().RunningHead, ""); // not wanted
    r.book.GoToChapter(2);
    r.book.NextPair();
    const TextPosition place = r.book.Place();
    r.book.SetRunningHead(true, 12);
    EXPECT_EQ(r.book.Snapshot().HeadRoom, 12);
    EXPECT_EQ(r.book.LinesPerPage(), 19); // paginated again, at the same place
    EXPECT_TRUE(r.book.OnShownPair(place));
    EXPECT_EQ(gbk::ToUtf8(r.book.Snapshot().RunningHead), "第三回 标题3");
    r.book.GoToPage(1);
    EXPECT_EQ(gbk::ToUtf8(r.book.Snapshot().RunningHead), "第一回 标题1");
    // Without headings (sections of a fixed size) nor with the help text: no head, no room.
    Reading plain;
    plain.book.SetRunningHead(true, 12);
    EXPECT_EQ(plain.book.Snapshot().HeadRoom, 0);
    EXPECT_EQ(plain.book.LinesPerPage(), 20);
}

TEST(OpenBookTest, TheUsersPatternReplacesTheRulesUntilAnotherDocumentOpens) {
    Reading r(Novel());
    EXPECT_FALSE(r.book.SetChapterPattern("第[一二"));
    EXPECT_EQ(r.book.Chapters().size(), 12u);
    ASSERT_TRUE(r.book.SetChapterPattern("^第[一二]回"));
    EXPECT_EQ(r.book.Chapters().size(), 2u);
    EXPECT_EQ(r.book.ChapterPattern(), "^第[一二]回");
    r.book.Open("/books/b.txt", Novel(), {});
    EXPECT_EQ(r.book.ChapterPattern(), "");
    EXPECT_EQ(r.book.Chapters().size(), 12u);
}

TEST(OpenBookTest, SmartParagraphsKeepTheHeadingsApart) {
    std::vector<Chunk> chunks = Novel();
    for (Chunk& chunk : chunks) { // no indents: every line would be joined
        std::string text = chunk->String();
        for (std::size_t at; (at = text.find("    ")) != std::string::npos;)
            text.erase(at, 4);
        chunk = MakeChunk(text);
    }
    Reading r(std::move(chunks), {false, false, false, false, true});
    ASSERT_EQ(r.book.Chapters().size(), 12u);
    EXPECT_EQ(r.book.ChapterCaption(11), "第十二回 标题12");
}

} // namespace
