#pragma once
// The rules of moving through the book: the keyboard map, the page menu's enabled states and
// the reading underline's steps. The window turns these decisions into page turns.

// What a key of the keyboard map does. Codes are the virtual-key numbers of the map.
enum class KeyAction {
    None,
    PreviousPage, // back to the page before the last jump
    Open,         // the open-file command
    StripNext,    // as a click on the right strip: always acts
    StripPrev,
    ItemPageLast, // through the page menu's items: only when enabled
    ItemPageFirst,
    Up, // the underline, or the previous-page item without it
    Down,
    ItemFilePrev,
    ItemFileNext,
};

namespace vk {
constexpr int Back = 8, Return = 13, Space = 32, Prior = 33, Next = 34, End = 35, Home = 36;
constexpr int Left = 37, Up = 38, Right = 39, Down = 40, KeyO = 79;
constexpr int OemPlus = 187, OemComma = 188, OemMinus = 189, OemPeriod = 190;
} // namespace vk

KeyAction KeyMapAction(int virtualKey);

// Which items of the page menu are enabled, decided each time the menu opens.
struct PageMenuState {
    bool PagePrev = true;
    bool PageNext = true;
    bool PageFirst = true;
    bool PageLast = true;
    bool InputYe = true;
    bool FilePrev = true;
    bool FileNext = true;
};

PageMenuState PageMenuStateFor(int currentPage, int pageCount, int currentIndex, int recentCount);

// Where the reading underline is: on which page of the pair, under which line (1-based).
struct UnderlinePlace {
    bool RightPage = false;
    int Line = 1;
};

enum class PageTurn { None, Previous, Next };

// One step of the underline by delta lines. When `Turn` is not None the window turns the pair
// first (which puts the underline back on line 1 of the left page) and then applies `Place`.
struct UnderlineStep {
    PageTurn Turn = PageTurn::None;
    UnderlinePlace Place;
};

struct UnderlineContext {
    int CurrentPage;
    int PageCount;
    int LinesPerPage;
    bool AutoPageTurn;
    bool ShowUnderline;
};

UnderlineStep MoveUnderLine(UnderlinePlace from, int delta, const UnderlineContext& book);

// The top of the reading underline, in window pixels: under text line `line` of the page. With
// double spacing text line n is page line 2n - 1, so the underline sits under the text and not
// under the empty line after it.
int UnderlineTop(int pageTop, int offset, int linePitch, int line, bool doubleSpacing);
