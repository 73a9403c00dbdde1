#include "AlarmSchedule.h"

#include "SettingsStore.h"

#include <cstdlib>

namespace {

constexpr std::int64_t SecondsPerDay = 86400;

std::int64_t DayOf(std::int64_t localSeconds) {
    // Floor division: times before 1970 still fall on the right day.
    std::int64_t day = localSeconds / SecondsPerDay;
    return localSeconds % SecondsPerDay < 0 ? day - 1 : day;
}

} // namespace

std::optional<int> AlarmSecondOfDay(const std::string& text) {
    // The normal form falls back to midnight for what is not a time, so midnight itself must
    // be recognised in the text.
    const std::string normal = NormalizeAlarmTime(text);
    if (normal == DefaultAlarmTime && text != DefaultAlarmTime && text != "0:00:00")
        return std::nullopt;
    const int h = (normal[0] - '0') * 10 + (normal[1] - '0');
    const int m = (normal[3] - '0') * 10 + (normal[4] - '0');
    const int s = (normal[6] - '0') * 10 + (normal[7] - '0');
    return h * 3600 + m * 60 + s;
}

void AlarmSchedule::Start(std::int64_t localSeconds, std::int64_t monotonicMs) {
    LastLocal = localSeconds;
    LastMonotonicMs = monotonicMs;
    Started = true;
}

std::vector<int> AlarmSchedule::Check(const Settings& setting, std::int64_t localSeconds,
                                      std::int64_t monotonicMs) {
    std::vector<int> due;
    if (!Started) {
        Start(localSeconds, monotonicMs);
        return due;
    }
    const std::int64_t wallStep = localSeconds - LastLocal;
    const std::int64_t realStep = (monotonicMs - LastMonotonicMs) / 1000;
    const bool clockSet = wallStep < 0 || std::llabs(wallStep - realStep) > ClockChangeSeconds;
    const std::int64_t from = LastLocal;
    Start(localSeconds, monotonicMs);
    if (clockSet)
        return due;
    // The window (from, localSeconds] is short, so an alarm's time falls in it on today's date
    // or, just after midnight, on yesterday's.
    const std::int64_t today = DayOf(localSeconds);
    for (int i = 0; i < AlarmSlots; ++i) {
        if (CheckedTime[i] != setting.AlarmTime[i]) {
            CheckedTime[i] = setting.AlarmTime[i];
            ShownDay[i] = NoDay;
        }
        const std::optional<int> second = AlarmSecondOfDay(setting.AlarmTime[i]);
        if (!setting.AlarmEnabled[i] || !second)
            continue;
        for (std::int64_t day : {today - 1, today}) {
            const std::int64_t at = day * SecondsPerDay + *second;
            if (at > from && at <= localSeconds && ShownDay[i] != day) {
                ShownDay[i] = day;
                due.push_back(i);
            }
        }
    }
    return due;
}
