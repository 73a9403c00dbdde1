#pragma once
// When the four alarms go off. The window asks every few seconds with the local wall-clock
// time and a monotonic clock; an enabled alarm is due when its time of day has just been
// passed, at most once a day per slot. Times passed while the program was not running, or
// jumped over when the clock was set, are not shown afterwards; a clock set back does not show
// an alarm a second time that day.
#include "Settings.h"

#include <array>
#include <cstdint>
#include <optional>
#include <vector>

inline constexpr int AlarmSlots = 4;

// Seconds after midnight of "HH:MM:SS" (one-digit hours accepted); nothing if it is not a time.
std::optional<int> AlarmSecondOfDay(const std::string& text);

class AlarmSchedule {
public:
    // The largest difference between the wall clock's and the monotonic clock's progress that
    // is still the normal lateness of a check, not someone setting the clock.
    static constexpr std::int64_t ClockChangeSeconds = 90;

    // `localSeconds`: local wall-clock time as seconds since 1970-01-01 00:00 local.
    // `monotonicMs`: any clock that never jumps. Nothing is due before the first Check.
    void Start(std::int64_t localSeconds, std::int64_t monotonicMs);
    // The slots (0-based) due since the last check, from the settings' alarm fields.
    std::vector<int> Check(const Settings& setting, std::int64_t localSeconds,
                           std::int64_t monotonicMs);
private:
    static constexpr std::int64_t NoDay = INT64_MIN;
    std::int64_t LastLocal = 0;
    std::int64_t LastMonotonicMs = 0;
    bool Started = false;
    std::array<std::int64_t, AlarmSlots> ShownDay{NoDay, NoDay, NoDay, NoDay};
    // The times as last checked: a slot given a new time may go off again the same day.
    std::array<std::string, AlarmSlots> CheckedTime;
};
