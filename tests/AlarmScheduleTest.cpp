// test-links: mojuan_records
#include "records/AlarmSchedule.h"

#include <gtest/gtest.h>

namespace {

constexpr std::int64_t Day = 86400;

// The wall clock and the monotonic clock move together unless a test sets the clock.
struct AlarmScheduleTest : testing::Test {
    Settings Setting;
    AlarmSchedule Schedule;
    std::int64_t Wall = 100 * Day + 10 * 3600; // 10:00:00 on day 100
    std::int64_t MonoMs = 0;

    void SetUp() override {
        Setting.AlarmEnabled = {true, true, false, true};
        Setting.AlarmTime = {"10:00:30", "00:00:10", "10:00:20", "23:59:55"};
        Schedule.Start(Wall, MonoMs);
    }
    std::vector<int> RunFor(std::int64_t seconds) {
        Wall += seconds;
        MonoMs += seconds * 1000;
        return Schedule.Check(Setting, Wall, MonoMs);
    }
    std::vector<int> SetClock(std::int64_t seconds) {
        Wall += seconds;
        return Schedule.Check(Setting, Wall, MonoMs);
    }
};

TEST_F(AlarmScheduleTest, AnEnabledAlarmGoesOffOnceWhenItsTimeIsPassed) {
    EXPECT_EQ(RunFor(20), std::vector<int>{}); // 10:00:20: slot 3 is off
    EXPECT_EQ(RunFor(10), std::vector<int>{0}); // 10:00:30
    EXPECT_EQ(RunFor(1), std::vector<int>{});
}

TEST_F(AlarmScheduleTest, AcrossMidnightBothDaysAlarmsGoOffAndAgainTheNextDay) {
    Wall = 100 * Day + Day - 10; // 23:59:50
    Schedule.Start(Wall, MonoMs);
    EXPECT_EQ(RunFor(30), (std::vector<int>{1, 3})); // 00:00:10 today, 23:59:55 yesterday
    Wall += Day - 60;
    Schedule.Start(Wall, MonoMs);
    EXPECT_EQ(RunFor(60), (std::vector<int>{1, 3}));
}

TEST_F(AlarmScheduleTest, TimesMissedBeforeTheStartOrJumpedOverAreNotShownLater) {
    Wall = 100 * Day + 11 * 3600; // started after 10:00:30
    Schedule.Start(Wall, MonoMs);
    EXPECT_EQ(RunFor(5), std::vector<int>{});
    EXPECT_EQ(SetClock(Day - 11 * 3600 + 5), std::vector<int>{}); // set over midnight
    EXPECT_EQ(RunFor(30), std::vector<int>{}); // 00:00:40: 00:00:10 was jumped over
}

TEST_F(AlarmScheduleTest, AClockSetBackDoesNotShowTheSameAlarmTwiceADay) {
    EXPECT_EQ(RunFor(31), std::vector<int>{0});
    EXPECT_EQ(SetClock(-60), std::vector<int>{});
    EXPECT_EQ(RunFor(60), std::vector<int>{});
    Setting.AlarmTime[0] = "10:00:50"; // a new time is a new alarm
    EXPECT_EQ(RunFor(30), std::vector<int>{0});
}

TEST(AlarmSecondOfDayTest, MidnightIsATimeAndNonsenseIsNot) {
    EXPECT_EQ(AlarmSecondOfDay("00:00:00"), 0);
    EXPECT_EQ(AlarmSecondOfDay("9:05:07"), 9 * 3600 + 5 * 60 + 7);
    EXPECT_EQ(AlarmSecondOfDay("24:00:00"), std::nullopt);
    EXPECT_EQ(AlarmSecondOfDay("abc"), std::nullopt);
}

} // namespace
