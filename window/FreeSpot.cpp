#include "FreeSpot.h"

std::optional<QRect> FreeSpot(const QSize& size, const BookGeometry& book,
                              const std::vector<QRect>& taken) {
    const QRect area = book.ImageBook;
    const int pagesBottom = book.PageTop + book.PageHeight;
    const int aboveY = area.top() + (book.PageTop - area.top() - size.height()) / 2;
    const int belowY = pagesBottom + (area.bottom() + 1 - pagesBottom - size.height()) / 2;
    const int middleX = area.left() + (area.width() - size.width()) / 2;
    const int leftX = book.Page1Left;
    const int rightX = book.Page2Left + book.PageWidth - size.width();
    const std::vector<QPoint> places = {{middleX, aboveY}, {middleX, belowY}, {leftX, aboveY},
                                        {rightX, aboveY},  {leftX, belowY},   {rightX, belowY}};
    std::vector<QRect> covered = taken;
    for (const QRect& r : {book.LabelPage1, book.LabelPage2, book.ImageMinSize, book.ImageMove,
                           book.ImageResize})
        covered.push_back(r);
    for (const QPoint& at : places) {
        const QRect spot(at, size);
        if (!area.contains(spot))
            continue;
        bool clear = true;
        for (const QRect& r : covered)
            clear = clear && !r.intersects(spot);
        if (clear)
            return spot;
    }
    return std::nullopt;
}
