// test-links: mojuan_window
#include "window/BookGeometry.h"
#include "window/FreeSpot.h"

#include <gtest/gtest.h>

namespace {

struct LayoutRow {
    int width, height;
    int edgeStrip, pageNextLeft, page1Left, page2Left, pageTop, pageWidth, pageHeight;
    int moveTop, resizeTop;
};

class BookGeometryTest : public testing::TestWithParam<LayoutRow> {};

TEST_P(BookGeometryTest, MatchesWorkedLayout) {
    const LayoutRow r = GetParam();
    const BookGeometry g = BookGeometry::For(r.width, r.height);
    EXPECT_EQ(g.EdgeStripWidth, r.edgeStrip);
    EXPECT_EQ(g.PageNextLeft, r.pageNextLeft);
    EXPECT_EQ(g.Page1Left, r.page1Left);
    EXPECT_EQ(g.Page2Left, r.page2Left);
    EXPECT_EQ(g.PageTop, r.pageTop);
    EXPECT_EQ(g.PageWidth, r.pageWidth);
    EXPECT_EQ(g.PageHeight, r.pageHeight);
    EXPECT_EQ(g.ImageMove.top(), r.moveTop);
    EXPECT_EQ(g.ImageResize.top(), r.resizeTop);
    EXPECT_EQ(g.LabelPage1, QRect(r.page1Left, r.pageTop, r.pageWidth, r.pageHeight));
    EXPECT_EQ(g.LabelPage2, QRect(r.page2Left, r.pageTop, r.pageWidth, r.pageHeight));
    EXPECT_EQ(g.ImagePageNext, QRect(r.pageNextLeft, 0, r.edgeStrip, r.height));
    // The corner hot areas never scale.
    EXPECT_EQ(g.ImageMinSize, QRect(r.width - 13, 0, 13, 13));
}

INSTANTIATE_TEST_SUITE_P(
    WorkedRows, BookGeometryTest,
    testing::Values(LayoutRow{556, 380, 13, 543, 33, 306, 28, 230, 330, 353, 367},
                    LayoutRow{596, 380, 13, 582, 35, 328, 28, 246, 330, 353, 367},
                    LayoutRow{800, 600, 18, 781, 47, 440, 44, 330, 521, 573, 587},
                    LayoutRow{126, 79, 2, 123, 7, 69, 5, 52, 68, 52, 66}));

TEST(BookGeometryExtendedPrecisionTest, HeightOf114GivesPageHeight98) {
    // 330 * (114 / 380) is 99 only after double rounding; the exact product is just below.
    EXPECT_EQ(BookGeometry::For(556, 114).PageHeight, 98);
}

TEST(BookGeometryOverlapTest, MinimiseAreaLiesOverRightStripAt596) {
    const BookGeometry g = BookGeometry::For(596, 380);
    EXPECT_EQ(g.ImagePageNext.left(), 582);
    EXPECT_EQ(g.ImagePageNext.right(), 594);
    EXPECT_EQ(g.ImageMinSize.left(), 583);
    EXPECT_EQ(g.ImageMinSize.right(), 595);
}

// The corner areas lie over the strips, a shown page number over the pages; clicks on the book
// outside the pages turn by the half they fall in, the release at width / 2 forward.
TEST(BookGeometryPartsTest, PartsFromTheTopOfTheStackAndTheirClicks) {
    const BookGeometry g = BookGeometry::For(596, 380);
    EXPECT_EQ(g.PartAt({590, 5}, false), BookPart::ImageMinSize);
    EXPECT_EQ(g.PartAt({590, 360}, false), BookPart::ImageMove);
    EXPECT_EQ(g.PartAt({590, 375}, false), BookPart::ImageResize);
    EXPECT_EQ(g.PartAt({585, 150}, false), BookPart::ImagePageNext);
    EXPECT_EQ(g.PartAt({5, 150}, true), BookPart::ImagePagePrev);
    EXPECT_EQ(g.PartAt({100, 150}, true), BookPart::LabelYe);
    EXPECT_EQ(g.PartAt({100, 150}, false), BookPart::LabelPage1);
    EXPECT_EQ(g.PartAt({400, 150}, false), BookPart::LabelPage2);
    EXPECT_EQ(g.PartAt({298, 10}, false), BookPart::ImageBook);
    EXPECT_EQ(g.ClickTurn(BookPart::ImageBook, {297, 10}), PageTurn::Previous);
    EXPECT_EQ(g.ClickTurn(BookPart::ImageBook, {298, 10}), PageTurn::Next);
    EXPECT_EQ(g.ClickTurn(BookPart::LabelPage1, {400, 10}), PageTurn::Previous);
    EXPECT_EQ(g.ClickTurn(BookPart::LabelPage2, {100, 10}), PageTurn::Next);
    EXPECT_EQ(g.ClickTurn(BookPart::ImageMove, {590, 360}), PageTurn::None);
    EXPECT_EQ(BookPartCursor(BookPart::ImageMove), Qt::PointingHandCursor);
    EXPECT_EQ(BookPartCursor(BookPart::ImageResize), Qt::SizeFDiagCursor);
    EXPECT_EQ(BookPartHint(BookPart::ImageResize), QString("改变书本大小"));
}

// A book on a screen stays; one off every screen, or across two, takes the shortest move onto
// one; one larger than its screen shows its top-left part there.
TEST(BookGeometryScreenTest, BooksComeBackOntoTheNearestScreen) {
    const QList<QRect> screens{QRect(0, 0, 1280, 1024), QRect(1280, 24, 1920, 1056)};
    EXPECT_EQ(KeepOnScreen({100, 50, 596, 380}, screens), QRect(100, 50, 596, 380));
    EXPECT_EQ(KeepOnScreen({1500, 500, 596, 380}, screens), QRect(1500, 500, 596, 380));
    EXPECT_EQ(KeepOnScreen({5000, -300, 596, 380}, screens), QRect(2604, 24, 596, 380));
    EXPECT_EQ(KeepOnScreen({-2000, 900, 596, 380}, screens), QRect(0, 644, 596, 380));
    EXPECT_EQ(KeepOnScreen({1000, 100, 596, 380}, screens), QRect(1280, 100, 596, 380));
    EXPECT_EQ(KeepOnScreen({50, 50, 1400, 1100}, screens), QRect(0, 0, 1400, 1100));
    EXPECT_EQ(KeepOnScreen({5000, 50, 596, 380}, {}), QRect(5000, 50, 596, 380));
}

// A mark goes above the pages in the middle, then below them, and never over the text or
// something already placed; where no margin is tall enough it is not placed at all.
TEST(FreeSpotTest, MiddleMarginsFirstThenCornersAndNeverOverText) {
    const BookGeometry g = BookGeometry::For(596, 380);
    const QSize size(40, 12);
    const std::optional<QRect> top = FreeSpot(size, g, {});
    ASSERT_TRUE(top);
    EXPECT_LE(top->bottom(), g.PageTop);
    EXPECT_NEAR(top->center().x(), 596 / 2, 1);
    const std::optional<QRect> below = FreeSpot(size, g, {*top});
    ASSERT_TRUE(below);
    EXPECT_GE(below->top(), g.PageTop + g.PageHeight);
    EXPECT_FALSE(below->intersects(g.LabelPage1) || below->intersects(g.LabelPage2));
    EXPECT_FALSE(FreeSpot(QSize(40, 200), g, {}));
}

} // namespace
