// test-links: mojuan_reader
#include "reader/Navigation.h"

#include <gtest/gtest.h>

namespace {

// A book of 9 pages of 27 lines, shown at the pair `page`.
UnderlineContext Book(int page, int pageCount = 9) {
    return {page, pageCount, 27, false, true};
}

TEST(UnderlineTest, DownCrossesFromLeftToRightPageWithoutTurning) {
    const UnderlineStep step = MoveUnderLine({false, 27}, +1, Book(3));
    EXPECT_EQ(step.Turn, PageTurn::None);
    EXPECT_TRUE(step.Place.RightPage);
    EXPECT_EQ(step.Place.Line, 1);
}

TEST(UnderlineTest, DownOffRightPageTurnsToNextPair) {
    const UnderlineStep step = MoveUnderLine({true, 27}, +1, Book(3));
    EXPECT_EQ(step.Turn, PageTurn::Next);
    EXPECT_FALSE(step.Place.RightPage);
    EXPECT_EQ(step.Place.Line, 1);
}

TEST(UnderlineTest, UpOffLeftPageTurnsBackToLastLineOfRightPage) {
    const UnderlineStep step = MoveUnderLine({false, 1}, -1, Book(3));
    EXPECT_EQ(step.Turn, PageTurn::Previous);
    EXPECT_TRUE(step.Place.RightPage);
    EXPECT_EQ(step.Place.Line, 27);
    const UnderlineStep first = MoveUnderLine({false, 1}, -1, Book(1));
    EXPECT_EQ(first.Turn, PageTurn::None);
    EXPECT_EQ(first.Place.Line, 1);
    EXPECT_FALSE(first.Place.RightPage);
}

TEST(UnderlineTest, UpFromRightPageGoesToLastLineOfLeftPage) {
    const UnderlineStep step = MoveUnderLine({true, 1}, -1, Book(3));
    EXPECT_EQ(step.Turn, PageTurn::None);
    EXPECT_FALSE(step.Place.RightPage);
    EXPECT_EQ(step.Place.Line, 27);
}

TEST(UnderlineTest, StopsAtTheEndOfTheBook) {
    // The last pair of an odd page count has no right page.
    const UnderlineStep noRight = MoveUnderLine({false, 27}, +1, Book(9));
    EXPECT_EQ(noRight.Turn, PageTurn::None);
    EXPECT_FALSE(noRight.Place.RightPage);
    EXPECT_EQ(noRight.Place.Line, 27);
    // The last pair of an even page count keeps the underline on the right page's last line.
    const UnderlineStep last = MoveUnderLine({true, 27}, +1, Book(9, 10));
    EXPECT_EQ(last.Turn, PageTurn::None);
    EXPECT_EQ(last.Place.Line, 27);
}

TEST(UnderlineTest, AutomaticTurningKeepsUnderlineOnRightPage) {
    UnderlineContext book = Book(3);
    book.AutoPageTurn = true;
    const UnderlineStep step = MoveUnderLine({true, 27}, +1, book);
    EXPECT_EQ(step.Turn, PageTurn::None);
    EXPECT_EQ(step.Place.Line, 27);
}

TEST(PageMenuTest, EnabledStatesFollowPositionAndRecentList) {
    const PageMenuState first = PageMenuStateFor(1, 100, -1, 0);
    EXPECT_FALSE(first.PagePrev);
    EXPECT_FALSE(first.PageFirst);
    EXPECT_TRUE(first.PageNext);
    EXPECT_TRUE(first.InputYe);
    EXPECT_FALSE(first.FilePrev);
    EXPECT_FALSE(first.FileNext);
    const PageMenuState last = PageMenuStateFor(99, 100, 2, 3);
    EXPECT_FALSE(last.PageNext);
    EXPECT_FALSE(last.PageLast);
    EXPECT_TRUE(last.FilePrev);
    EXPECT_FALSE(last.FileNext); // the last entry has no next
    EXPECT_FALSE(PageMenuStateFor(1, 2, 0, 1).InputYe);
    EXPECT_TRUE(PageMenuStateFor(1, 3, 0, 2).FileNext);
}

TEST(KeyMapTest, KeysAndTheirActions) {
    EXPECT_EQ(KeyMapAction(vk::Back), KeyAction::PreviousPage);
    for (int key : {vk::Return, vk::KeyO})
        EXPECT_EQ(KeyMapAction(key), KeyAction::Open);
    for (int key : {vk::Space, vk::Next, vk::Right, vk::OemPlus})
        EXPECT_EQ(KeyMapAction(key), KeyAction::StripNext);
    for (int key : {vk::Prior, vk::Left, vk::OemMinus})
        EXPECT_EQ(KeyMapAction(key), KeyAction::StripPrev);
    EXPECT_EQ(KeyMapAction(vk::End), KeyAction::ItemPageLast);
    EXPECT_EQ(KeyMapAction(vk::Home), KeyAction::ItemPageFirst);
    EXPECT_EQ(KeyMapAction(vk::OemComma), KeyAction::ItemFilePrev);
    EXPECT_EQ(KeyMapAction(vk::OemPeriod), KeyAction::ItemFileNext);
    EXPECT_EQ(KeyMapAction('A'), KeyAction::None);
}

TEST(UnderlineTest, UnderlineSitsUnderItsTextLine) {
    EXPECT_EQ(UnderlineTop(28, 0, 12, 3, false), 28 + 12 * 3);
    EXPECT_EQ(UnderlineTop(28, 0, 12, 3, true), 28 + 12 * 5); // not under the empty line
    EXPECT_EQ(UnderlineTop(28, 4, 12, 1, false), 28 + 4 + 12);
}

} // namespace
