#include "AutoRead.h"

#include <algorithm>
#include <cmath>

int ReadingChars(std::string_view line) {
    int chars = 0;
    for (std::size_t i = 0; i < line.size(); ++i) {
        const auto byte = static_cast<unsigned char>(line[i]);
        if (byte == '\r' || byte == '\n')
            continue;
        if (byte >= 0x81 && i + 1 < line.size())
            ++i; // the trail byte of a double-byte character
        ++chars;
    }
    return chars;
}

namespace {

// A tenth more or less, but always a change of at least one, so small values still move.
int TenthStep(int value, int direction, int low, int high) {
    const double scaled = direction > 0 ? value * 1.1 : value / 1.1;
    int next = static_cast<int>(std::lround(scaled));
    if (next == value)
        next += direction > 0 ? 1 : -1;
    return std::clamp(next, low, high);
}

} // namespace

std::int64_t AutoReader::LineMs(const AutoReadBook& book, int page, int line) const {
    const int chars = std::max(1, book.LineChars ? book.LineChars(page, line) : 1);
    return std::max<std::int64_t>(1, std::int64_t{chars} * 60000 / std::max(1, Speed));
}

std::int64_t AutoReader::WaitFor(const AutoReadBook& book, UnderlinePlace at) const {
    if (Mode == AutoReadMode::Timed)
        return std::int64_t{TurnSeconds} * 1000;
    return LineMs(book, book.CurrentPage + (at.RightPage ? 1 : 0), at.Line);
}

void AutoReader::Arm(std::int64_t from, std::int64_t wait) {
    Due = from + wait;
    // After a stall longer than a line (a suspended machine, a busy book) reading resumes at
    // its pace instead of racing through the lines it fell behind.
    const std::int64_t now = Now();
    if (Due <= now)
        Due = now + wait;
}

void AutoReader::Start(const AutoReadBook& book, UnderlinePlace at) {
    Active = true;
    Due = Now() + WaitFor(book, at);
}

AutoReadStep AutoReader::NextStep(const AutoReadBook& book, UnderlinePlace at) const {
    const bool nextPairExists = book.CurrentPage + 2 <= book.PageCount;
    if (Mode == AutoReadMode::Timed)
        return {nextPairExists ? AutoReadStep::TurnPair : AutoReadStep::Finished, {}};
    const int lines = std::max(1, book.LinesPerPage);
    int page = book.CurrentPage + (at.RightPage ? 1 : 0);
    int line = at.Line + 1;
    if (line > lines) {
        ++page;
        line = 1;
    }
    if ((page - 1) * lines + line > book.TotalLines)
        return {AutoReadStep::Finished, {}};
    if (page > book.CurrentPage + 1)
        return {AutoReadStep::TurnPair, {false, 1}};
    return {AutoReadStep::MoveLine, {page > book.CurrentPage, line}};
}

AutoReadStep AutoReader::Poll(const AutoReadBook& book, UnderlinePlace at) {
    if (!Active || Now() < Due)
        return {};
    const AutoReadStep step = NextStep(book, at);
    switch (step.What) {
    case AutoReadStep::Finished:
        Active = false;
        break;
    case AutoReadStep::TurnPair: {
        AutoReadBook next = book;
        next.CurrentPage += 2;
        Arm(Due, WaitFor(next, step.Place));
        break;
    }
    default:
        Arm(Due, WaitFor(book, step.Place));
        break;
    }
    return step;
}

void AutoReader::ChangeSpeed(int direction) {
    // The wait left is in the old pace; the new pace stretches or shrinks it.
    double ratio;
    if (Mode == AutoReadMode::Timed) {
        const int before = TurnSeconds;
        TurnSeconds = TenthStep(TurnSeconds, -direction, 1, MaxTurnSeconds);
        ratio = static_cast<double>(TurnSeconds) / before;
    } else {
        const int before = Speed;
        Speed = TenthStep(Speed, direction, MinReadingSpeed, MaxReadingSpeed);
        ratio = static_cast<double>(before) / Speed;
    }
    if (Active) {
        const std::int64_t now = Now();
        Due = now + static_cast<std::int64_t>(std::llround((Due - now) * ratio));
    }
}

std::int64_t AutoReader::MsUntilDue() const {
    return Active ? std::max<std::int64_t>(0, Due - Now()) : 0;
}
