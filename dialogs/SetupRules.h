#pragma once
// The settings dialog's rules that need no widgets: checking the position and size fields,
// making a stored page-number placement showable, and which change flag each option sets.
#include "records/ChangeFlags.h"

#include <array>
#include <optional>
#include <string>
#include <string_view>

// Window positions and sizes are 16-bit quantities to the window system; the smallest book is
// the one a drag of the mouse can make.
inline constexpr int MaxBookCoordinate = 32767;
inline constexpr int MinSetupBookWidth = 126;
inline constexpr int MinSetupBookHeight = 79;

// The four fields in the order the dialog checks them.
enum class BoundsField { Left = 0, Top = 1, Width = 2, Height = 3 };

struct BookBounds {
    int Left = 0;
    int Top = 0;
    int Width = 0;
    int Height = 0;
    bool operator==(const BookBounds&) const = default;
};

// Either all four bounds, or the first field that is not a whole number in its range. Nothing
// is stored unless all four are good. A number out of its range comes with the reason the
// reader is told; a field that is not a number is only selected again.
struct BoundsCheck {
    std::optional<BoundsField> Bad;
    std::string Why;
    BookBounds Bounds;
};
BoundsCheck CheckBounds(const std::array<std::string, 4>& texts);

// A decimal integer with an optional sign and surrounding spaces; nothing else.
std::optional<int> ParseInteger(std::string_view text);

// Page-number placement codes: the first digit 1 to 3 (left, middle, right), the second 1 or 2
// (top, bottom). A stored code that is not like that has each bad or missing digit replaced by
// the default's ("12" for page number 1, "32" for page number 2), so the dialog can show it.
std::string NormalizePagePosition(std::string_view stored, int pageNumber);

// What a change to an option of the dialog marks for re-application.
enum class SetupGroup { None, Max, Window, Page, Ye, PageDo, Image };
void MarkChanged(ChangeFlags& flags, SetupGroup group);
