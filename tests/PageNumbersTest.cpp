// test-links: mojuan_reader
#include "reader/PageNumbers.h"

#include <gtest/gtest.h>

namespace {

// Default book 596 x 380: ScaleX 596 / 556, margins Trunc(11.79) = 11 and Trunc(8.57) = 8.
const PageNumberMargins Margins = PageNumberMarginsFor(596 / 556.0);

TEST(PageNumbersTest, MarginsScaleWithWidthOnly) {
    EXPECT_EQ(Margins.X, 11);
    EXPECT_EQ(Margins.Y, 8);
    EXPECT_EQ(PageNumberMarginsFor(2.0).Y, 16);
}

TEST(PageNumbersTest, CaptionShowsTotalOnRequest) {
    EXPECT_EQ(PageNumberCaption(7, 120, false), "7");
    EXPECT_EQ(PageNumberCaption(7, 120, true), "7/120");
}

TEST(PageNumbersTest, LeftPlacementCodes) {
    const int w = 40; // width of prefix, number and suffix
    EXPECT_EQ(LeftNumberX("12", 596, Margins, w), 11 + 13);
    EXPECT_EQ(LeftNumberX("22", 596, Margins, w), 135); // Trunc((298 - 13) / 2 - 20 + 13)
    EXPECT_EQ(LeftNumberX("32", 596, Margins, w), 298 - 11 - 40);
    EXPECT_EQ(LeftNumberX("x2", 596, Margins, w), 24);
    EXPECT_EQ(LeftNumberX("", 596, Margins, w), 24);
}

TEST(PageNumbersTest, RightPlacementCodes) {
    const int w = 40;
    EXPECT_EQ(RightNumberX("12", 596, Margins, w), 298 + 11);
    EXPECT_EQ(RightNumberX("22", 596, Margins, w), 420); // Trunc(142.5 - 20 + 298)
    EXPECT_EQ(RightNumberX("32", 596, Margins, w), 596 - 13 - 11 - 40);
    EXPECT_EQ(RightNumberX("9", 596, Margins, w), 532);
}

TEST(PageNumbersTest, TopOrBottom) {
    EXPECT_EQ(NumberY("11", 380, Margins, 12), 8);
    EXPECT_EQ(NumberY("12", 380, Margins, 12), 380 - 8 - 12);
    EXPECT_EQ(NumberY("1", 380, Margins, 12), 360); // a missing second character means bottom
}

TEST(PageNumbersTest, PlacementOfBothGroupsAndTheRightOnesVisibility) {
    PageNumberBook book{596, 380, 596 / 556.0, {"12", "32"}, true, true};
    PageNumberPlacement at = PlacePageNumbers(book, 40, 50, 12);
    EXPECT_EQ(at.LeftX, 11 + 13);
    EXPECT_EQ(at.LeftY, 380 - 8 - 12);
    EXPECT_EQ(at.RightX, 596 - 13 - 11 - 50);
    EXPECT_TRUE(at.RightVisible);
    book.RightPage = false; // the last pair of an odd page count
    EXPECT_FALSE(PlacePageNumbers(book, 40, 50, 12).RightVisible);
    book.RightPage = true;
    book.Show = false;
    EXPECT_FALSE(PlacePageNumbers(book, 40, 50, 12).RightVisible);
}

} // namespace
