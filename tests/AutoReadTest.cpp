// test-links: mojuan_reader
#include "reader/AutoRead.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

// Pages of two lines; line g of the document (1-based) has Chars[g - 1] characters.
struct FakeBook {
    std::vector<int> Chars;
    int CurrentPage = 1;
    AutoReadBook Book() const {
        const int total = static_cast<int>(Chars.size());
        AutoReadBook b{CurrentPage, (total + 1) / 2, 2, total, {}};
        b.LineChars = [this](int page, int line) { return Chars[(page - 1) * 2 + line - 1]; };
        return b;
    }
};

struct AutoReadTest : testing::Test {
    std::int64_t Ms = 0;
    AutoReader Reader{[this] { return Ms; }};
    FakeBook Book{{10, 5, 0, 20, 10}}; // pages 1-2 a pair, page 3 alone
    UnderlinePlace At;

    // Lets the clock run to `ms` and applies the step due, as the window does.
    AutoReadStep At_(std::int64_t ms) {
        Ms = ms;
        const AutoReadStep step = Reader.Poll(Book.Book(), At);
        if (step.What == AutoReadStep::MoveLine)
            At = step.Place;
        if (step.What == AutoReadStep::TurnPair) {
            Book.CurrentPage += 2;
            At = {false, 1};
        }
        return step;
    }
};

TEST(ReadingCharsTest, ADoubleByteCharacterCountsOnceAndTheLineEndNotAtAll) {
    EXPECT_EQ(ReadingChars("\xB5\xDA\xD2\xBB\xD5\xC2 1\r\n"), 5);
    EXPECT_EQ(ReadingChars(""), 0);
}

TEST_F(AutoReadTest, PacedReadingDwellsOnEachLineForItsCharactersAndStopsAtTheEnd) {
    Reader.Mode = AutoReadMode::Paced;
    Reader.Speed = 300; // 200 ms a character
    Reader.Start(Book.Book(), At);
    EXPECT_EQ(At_(1999).What, AutoReadStep::None);
    EXPECT_EQ(At_(2000).What, AutoReadStep::MoveLine); // 10 characters
    EXPECT_EQ(At.Line, 2);
    EXPECT_EQ(At_(3000).What, AutoReadStep::MoveLine); // 5 characters, on to the right page
    EXPECT_TRUE(At.RightPage);
    EXPECT_EQ(At_(3199).What, AutoReadStep::None); // an empty line still takes one character
    EXPECT_EQ(At_(3200).What, AutoReadStep::MoveLine);
    EXPECT_EQ(At_(7199).What, AutoReadStep::None);
    EXPECT_EQ(At_(7200).What, AutoReadStep::TurnPair); // after the right page's last line
    EXPECT_EQ(Book.CurrentPage, 3);
    EXPECT_EQ(At_(9200).What, AutoReadStep::Finished); // never past the last line
    EXPECT_FALSE(Reader.Running());
    EXPECT_EQ(At_(99999).What, AutoReadStep::None);
}

TEST_F(AutoReadTest, TimedReadingTurnsEveryIntervalAndStopsAtTheLastPair) {
    Reader.Mode = AutoReadMode::Timed;
    Reader.TurnSeconds = 5;
    Reader.Start(Book.Book(), At);
    EXPECT_EQ(At_(4999).What, AutoReadStep::None);
    EXPECT_EQ(At_(5000).What, AutoReadStep::TurnPair);
    EXPECT_EQ(At_(10000).What, AutoReadStep::Finished);
    EXPECT_EQ(Book.CurrentPage, 3);
}

TEST_F(AutoReadTest, SpeedChangesByATenthAndStretchesTheWaitLeft) {
    Reader.Start(Book.Book(), At); // 10 characters at 300: due at 2000
    Ms = 1000;
    Reader.ChangeSpeed(+1);
    EXPECT_EQ(Reader.Speed, 330);
    EXPECT_EQ(Reader.MsUntilDue(), 909); // 1000 ms left at 300 is 909 at 330
    Reader.ChangeSpeed(-1);
    EXPECT_EQ(Reader.Speed, 300);
    Reader.Speed = MinReadingSpeed;
    Reader.ChangeSpeed(-1);
    EXPECT_EQ(Reader.Speed, MinReadingSpeed);
    Reader.Mode = AutoReadMode::Timed;
    Reader.TurnSeconds = 3; // a tenth of 3 s rounds away; a small interval still moves
    Reader.ChangeSpeed(+1);
    EXPECT_EQ(Reader.TurnSeconds, 2);
}

TEST_F(AutoReadTest, AfterAStallReadingGoesOnAtItsPaceInsteadOfRacing) {
    Reader.Start(Book.Book(), At);
    EXPECT_EQ(At_(60000).What, AutoReadStep::MoveLine);
    EXPECT_EQ(At_(60999).What, AutoReadStep::None); // the next line still gets its 1000 ms
    EXPECT_EQ(At_(61000).What, AutoReadStep::MoveLine);
}

} // namespace
