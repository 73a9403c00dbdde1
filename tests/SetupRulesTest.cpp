// test-links: mojuan_dialogs
#include "dialogs/SetupRules.h"

#include <gtest/gtest.h>

namespace {

TEST(SetupRulesTest, ParsesWholeDecimalNumbersOnly) {
    EXPECT_EQ(ParseInteger("596"), 596);
    EXPECT_EQ(ParseInteger(" -12 "), -12);
    EXPECT_EQ(ParseInteger("+7"), 7);
    for (const char* bad : {"", " ", "abc", "12a", "1.5", "0x10", "--1", "99999999999"})
        EXPECT_EQ(ParseInteger(bad), std::nullopt) << bad;
}

TEST(SetupRulesTest, BoundsAreCheckedInOrderAndAllBeforeAnyIsStored) {
    const BoundsCheck good = CheckBounds({"-32767", "32767", "126", "79"});
    EXPECT_FALSE(good.Bad);
    EXPECT_EQ(good.Bounds, (BookBounds{-32767, 32767, 126, 79}));
    EXPECT_EQ(CheckBounds({"x", "y", "1", "1"}).Bad, BoundsField::Left);
    EXPECT_EQ(CheckBounds({"0", "-32768", "1", "1"}).Bad, BoundsField::Top);
    EXPECT_EQ(CheckBounds({"0", "0", "125", "79"}).Bad, BoundsField::Width);
    EXPECT_EQ(CheckBounds({"0", "0", "50", "79"}).Bad, BoundsField::Width);
    EXPECT_EQ(CheckBounds({"0", "0", "126", "78"}).Bad, BoundsField::Height);
    EXPECT_EQ(CheckBounds({"0", "0", "32768", "79"}).Bad, BoundsField::Width);
    EXPECT_EQ(CheckBounds({"0", "0", "800", ""}).Bad, BoundsField::Height);
    // A number out of range says why; a field that is not a number is only selected.
    EXPECT_EQ(CheckBounds({"0", "0", "50", "79"}).Why, "书本宽度必须在126到32767之间。");
    EXPECT_EQ(CheckBounds({"0", "0", "126", "78"}).Why, "书本高度必须在79到32767之间。");
    EXPECT_EQ(CheckBounds({"0", "-32768", "1", "1"}).Why, "书本位置必须在-32767到32767之间。");
    EXPECT_EQ(CheckBounds({"x", "0", "126", "79"}).Why, "");
}

TEST(SetupRulesTest, PagePositionsAreMadeShowable) {
    EXPECT_EQ(NormalizePagePosition("31", 1), "31");
    EXPECT_EQ(NormalizePagePosition("", 1), "12");
    EXPECT_EQ(NormalizePagePosition("", 2), "32");
    EXPECT_EQ(NormalizePagePosition("4", 2), "32");
    EXPECT_EQ(NormalizePagePosition("29", 1), "22");
    EXPECT_EQ(NormalizePagePosition("01", 2), "31");
    EXPECT_EQ(NormalizePagePosition("2", 1), "22");
    EXPECT_EQ(NormalizePagePosition("111", 2), "11");
}

// Each flag with the work applying the settings then does, beyond the bounds, captions, fonts
// and underline that it always redoes.
TEST(SetupRulesTest, EachChangeFlagSelectsItsWork) {
    const auto workFor = [](SetupGroup group) {
        ChangeFlags flags;
        flags.Clear();
        MarkChanged(flags, group);
        return WorkFor(flags);
    };
    EXPECT_EQ(workFor(SetupGroup::None), SetupWork{});
    EXPECT_EQ(workFor(SetupGroup::Image), (SetupWork{.LoadPicture = true}));
    EXPECT_EQ(workFor(SetupGroup::Max), (SetupWork{.ApplyMaximized = true}));
    EXPECT_EQ(workFor(SetupGroup::Ye), (SetupWork{.PlaceNumbers = true}));
    EXPECT_EQ(workFor(SetupGroup::Page), (SetupWork{.Repaginate = true, .PlaceNumbers = true}));
    EXPECT_EQ(workFor(SetupGroup::Window),
              (SetupWork{.LayOut = true, .Repaginate = true, .PlaceNumbers = true}));
    EXPECT_EQ(workFor(SetupGroup::PageDo),
              (SetupWork{.Reprocess = true, .Repaginate = true, .PlaceNumbers = true}));
    EXPECT_TRUE(WorkFor(ChangeFlags{}).LoadPicture); // the first application after start-up
}

} // namespace
