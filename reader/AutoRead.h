#pragma once
// Automatic reading: the pair turns every so many seconds (timed), or the reading underline
// walks down the lines at a reading speed in characters per minute and the pair turns after the
// last line of the right page (paced), so a dense page stays longer than a short one. The
// window polls `Poll` from a timer and applies the steps; all timing runs on the injected
// clock, so nothing here waits.
#include "Navigation.h"

#include <cstdint>
#include <functional>
#include <string_view>

enum class AutoReadMode { Timed, Paced };

inline constexpr int DefaultReadingSpeed = 300; // characters per minute
inline constexpr int DefaultTurnSeconds = 60;   // a stored interval of 0 means this
inline constexpr int MinReadingSpeed = 30;
inline constexpr int MaxReadingSpeed = 20000;
inline constexpr int MaxTurnSeconds = 3600;

// What the reader needs to know of the book at each step.
struct AutoReadBook {
    int CurrentPage = 1; // the odd left page of the shown pair
    int PageCount = 1;
    int LinesPerPage = 1;
    int TotalLines = 0;
    // The number of characters of text line `line` (1-based) of page `page`.
    std::function<int(int page, int line)> LineChars;
};

struct AutoReadStep {
    enum Kind {
        None,     // nothing is due yet
        MoveLine, // put the underline at `Place` on the shown pair
        TurnPair, // show the next pair; the underline goes to line 1 of its left page
        Finished, // the end of the book: reading has stopped
    };
    Kind What = None;
    UnderlinePlace Place;
};

// Characters of a line of GB or BIG5 bytes: a double-byte character counts once, as does
// every single byte; the line end does not count.
int ReadingChars(std::string_view line);

class AutoReader {
public:
    using Clock = std::function<std::int64_t()>; // milliseconds, never going back

    explicit AutoReader(Clock now) : Now(std::move(now)) {}

    AutoReadMode Mode = AutoReadMode::Paced;
    int Speed = DefaultReadingSpeed; // characters per minute, for paced reading
    int TurnSeconds = DefaultTurnSeconds;

    // Starts from where the underline is; the first step is due when that line has been read
    // (paced) or the interval has passed (timed).
    void Start(const AutoReadBook& book, UnderlinePlace at);
    void Stop() { Active = false; }
    bool Running() const { return Active; }
    // The next step when it is due; None otherwise. One step per call, so a stalled timer
    // catches up line by line rather than skipping text.
    AutoReadStep Poll(const AutoReadBook& book, UnderlinePlace at);
    // Faster (+1) or slower (-1) by a tenth; what is left of the current wait scales with it.
    void ChangeSpeed(int direction);
    // Milliseconds until the next step is due (0 when it is due or reading is stopped).
    std::int64_t MsUntilDue() const;
    // How long line `line` of `page` is read, in milliseconds; an empty line still takes the
    // time of one character, so the underline does not skip it unseen.
    std::int64_t LineMs(const AutoReadBook& book, int page, int line) const;

private:
    std::int64_t WaitFor(const AutoReadBook& book, UnderlinePlace at) const;
    AutoReadStep NextStep(const AutoReadBook& book, UnderlinePlace at) const;
    void Arm(std::int64_t from, std::int64_t wait);

    Clock Now;
    bool Active = false;
    std::int64_t Due = 0;
};
