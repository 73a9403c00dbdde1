#pragma once
// Drawing the shown pair, whatever it is drawn on. The book window paints the screen through
// one implementation; another layout (vertical text) or a printer adds its own instead of
// changing the window. It stands beside the measuring side of line breaking (TextMeasurer).
#include "OpenBook.h"

#include <string_view>

class PagePainter {
public:
    virtual ~PagePainter() = default;
    // The text of the left or the right page: byte text, each line followed by CR LF.
    virtual void DrawPage(bool right, std::string_view text) = 0;
    // The number of the left or the right page, with the page count for "7/120" captions.
    virtual void DrawPageNumber(bool right, int page, int pageCount) = 0;
    virtual void DrawUnderline(const UnderlinePlace& place) = 0;
    // The current chapter's title (shown-text bytes) above the left page.
    virtual void DrawRunningHead(std::string_view title) = 0;
};

// Both pages, the running head when there is one, the left page's number, the right one's when the pair has a right page, and the
// underline when it is shown.
inline void PaintBook(const BookSnapshot& shown, PagePainter& painter, bool underlineShown) {
    painter.DrawPage(false, shown.Pages.Left);
    painter.DrawPage(true, shown.Pages.Right);
    painter.DrawPageNumber(false, shown.LeftPage, shown.PageCount);
    if (shown.RightPage)
        painter.DrawPageNumber(true, shown.LeftPage + 1, shown.PageCount);
    if (!shown.RunningHead.empty())
        painter.DrawRunningHead(shown.RunningHead);
    if (underlineShown)
        painter.DrawUnderline(shown.Underline);
}
