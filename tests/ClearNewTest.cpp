// test-links: mojuan_records
#include "records/ClearNew.h"
#include "RecentTestSupport.h"
#include "text/Decimal.h"

#include <climits>

namespace {

// The arrows of the clearing dialog and of the go-to-page pop-up.
TEST(ClearNewFieldsTest, StepsStayWithinTheEntries) {
    EXPECT_EQ(StepDecimal("10", +1, 10), 10);
    EXPECT_EQ(StepDecimal("1", -1, 10), 1);
    EXPECT_EQ(StepDecimal("4", +1, 10), 5);
    EXPECT_EQ(StepDecimal("x", +1, 10), 1);
    EXPECT_EQ(StepDecimal("x", -1, 10), 1);
    EXPECT_EQ(StepDecimal("99999999999999999999", +1, 10), 10);
    EXPECT_EQ(StepDecimal("-2147483648", -1, 10), 1);
}

TEST(ClearNewFieldsTest, OkCorrectsTheFieldsOrKeepsTheDialogOpen) {
    const auto check = [](const char* from, const char* to) {
        const ClearNewFields f = CheckClearNewFields(from, to, 10);
        return f.From + "," + f.To + (f.Close ? ",close" : ",open");
    };
    EXPECT_EQ(check("3", "7"), "3,7,close");
    EXPECT_EQ(check("7", "3"), "7,3,close");
    // Correcting From copies it into To, as typing into From does.
    EXPECT_EQ(check("0", "5"), "1,1,close");
    EXPECT_EQ(check("12", "3"), "10,10,close");
    EXPECT_EQ(check("x", "5"), "1,1,open");
    EXPECT_EQ(check("3", "x"), "3,1,open");
    EXPECT_EQ(check("3", "-2"), "3,1,close");
    EXPECT_EQ(check("3", "11"), "3,10,close");
}

TEST(ClearNewFieldsTest, DecimalsNeverOverflow) {
    EXPECT_EQ(ParseDecimal(" 42 "), 42);
    EXPECT_EQ(ParseDecimal("-0"), 0);
    EXPECT_EQ(ParseDecimal("4294967297"), INT_MAX);
    EXPECT_FALSE(ParseDecimal("4 2"));
    EXPECT_FALSE(ParseDecimal("+"));
}

using ClearNewTest = RecentListFixture;

TEST_F(ClearNewTest, RangeIsRemovedAndCurrentIndexFollowsItsDocument) {
    const std::vector<std::string> files = OpenFiles(10); // f9 on top, f0 at position 10
    List.CurrentIndex = 8;                                // f1, at position 9
    ClearNewItems(List, Reg, {false, 7, 3});
    ASSERT_EQ(List.Count(), 5);
    EXPECT_EQ(List.Caption(2), "3) " + files[2]); // formerly position 8
    EXPECT_EQ(List.CurrentIndex, 3);
    EXPECT_EQ(List.GetIndexFilename(3), files[1]);
    ExpectSlotsArePermutation();

    ClearNewItems(List, Reg, {false, 4, 4});
    EXPECT_EQ(List.CurrentIndex, -1);
    EXPECT_EQ(List.Count(), 4);
}

TEST_F(ClearNewTest, ClearingAllErasesEntriesBookmarksAndRewritesTheSlots) {
    OpenFiles(3);
    List.CurrentIndex = 0;
    SetBookmark(List.StorageIndex(0), 0, 12, "第11页");
    Reg.WriteRegStr(FileKey, "LastFile", "somewhere");
    ClearNewItems(List, Reg, {true});
    EXPECT_EQ(List.Count(), 0);
    EXPECT_EQ(List.CurrentIndex, -1);
    for (int p = 0; p < MaxRecentFiles; ++p)
        EXPECT_EQ(Slot(p), p);
    EXPECT_EQ(BookmarkPage(49, 0), -99);
    EXPECT_EQ(Text(49), "?");
    EXPECT_EQ(Reg.ReadRegStr(FileKey, "LastFile", "gone"), "gone");
    // The list starts again from the first slot.
    const std::string next = File("next.txt");
    EXPECT_TRUE(List.OpenItemFile(next));
    EXPECT_EQ(List.StorageIndex(0), 49);
}

} // namespace
