// test-links: mojuan_reader
#include "reader/GoToPage.h"

#include <gtest/gtest.h>

#include <climits>

TEST(GoToPageTest, ParsesIntegersAndRefusesTheRest) {
    EXPECT_EQ(ParsePageNumber("25"), 25);
    EXPECT_EQ(ParsePageNumber(" 4 "), 4);
    EXPECT_EQ(ParsePageNumber("+7"), 7);
    EXPECT_EQ(ParsePageNumber("-3"), -3);
    EXPECT_EQ(ParsePageNumber("0"), 0);
    for (const char* bad : {"", " ", "x", "3x", "-", "1 2", "٣"})
        EXPECT_FALSE(ParsePageNumber(bad)) << bad;
}

TEST(GoToPageTest, HugeNumbersClampInsteadOfOverflowing) {
    EXPECT_EQ(ParsePageNumber("2147483647"), INT_MAX);
    EXPECT_EQ(ParsePageNumber("2147483648"), INT_MAX);
    EXPECT_EQ(ParsePageNumber("99999999999999999999999999"), INT_MAX);
    EXPECT_EQ(ParsePageNumber("-99999999999999999999999999"), INT_MIN);
}
