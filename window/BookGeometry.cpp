#include "BookGeometry.h"

#include <QGuiApplication>
#include <QScreen>
#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace {

// The product is formed in extended precision before truncation: for a few sizes the exact
// product is a whole number that double rounding would push up (height 114 gives page height
// 98, not 99).
int Scaled(int reference, double scale) {
    return static_cast<int>(std::trunc(static_cast<long double>(reference) * scale));
}

// The start of a span of `length` moved as little as needed into the span [low, low + room); a
// span longer than the room starts at `low`.
int Within(int start, int length, int low, int room) {
    return std::clamp(start, low, std::max(low, low + room - length));
}

} // namespace

BookGeometry BookGeometry::For(int bookWidth, int bookHeight) {
    BookGeometry g;
    g.ScaleX = bookWidth / 556.0;
    g.ScaleY = bookHeight / 380.0;
    g.EdgeStripWidth = Scaled(13, g.ScaleX);
    g.PageNextLeft = Scaled(543, g.ScaleX);
    g.ImageBook = QRect(0, 0, bookWidth, bookHeight);
    g.ImagePagePrev = QRect(0, 0, g.EdgeStripWidth, bookHeight);
    g.ImagePageNext = QRect(g.PageNextLeft, 0, g.EdgeStripWidth, bookHeight);
    const int w = bookWidth, h = bookHeight;
    g.ImageMinSize = QRect(w - ButtonSize, 0, ButtonSize, ButtonSize);
    g.ImageMove = QRect(w - ButtonSize, h - 2 * ButtonSize - 1, ButtonSize, ButtonSize);
    g.ImageResize = QRect(w - ButtonSize, h - ButtonSize, ButtonSize, ButtonSize);
    g.Page1Left = Scaled(33, g.ScaleX);
    g.Page2Left = Scaled(306, g.ScaleX);
    g.PageTop = Scaled(28, g.ScaleY);
    g.PageWidth = Scaled(230, g.ScaleX);
    g.PageHeight = Scaled(330, g.ScaleY);
    g.LabelPage1 = QRect(g.Page1Left, g.PageTop, g.PageWidth, g.PageHeight);
    g.LabelPage2 = QRect(g.Page2Left, g.PageTop, g.PageWidth, g.PageHeight);
    return g;
}

BookPart BookGeometry::PartAt(const QPoint& pos, bool onPageNumber) const {
    if (ImageMinSize.contains(pos))
        return BookPart::ImageMinSize;
    if (ImageResize.contains(pos))
        return BookPart::ImageResize;
    if (ImageMove.contains(pos))
        return BookPart::ImageMove;
    if (ImagePageNext.contains(pos))
        return BookPart::ImagePageNext;
    if (ImagePagePrev.contains(pos))
        return BookPart::ImagePagePrev;
    if (onPageNumber)
        return BookPart::LabelYe;
    if (LabelPage2.contains(pos))
        return BookPart::LabelPage2;
    if (LabelPage1.contains(pos))
        return BookPart::LabelPage1;
    return BookPart::ImageBook;
}

PageTurn BookGeometry::ClickTurn(BookPart part, const QPoint& pos) const {
    switch (part) {
    case BookPart::LabelPage1:
        return PageTurn::Previous;
    case BookPart::LabelPage2:
        return PageTurn::Next;
    case BookPart::ImageBook:
        return pos.x() < ImageBook.width() / 2 ? PageTurn::Previous : PageTurn::Next;
    default:
        return PageTurn::None;
    }
}

QString BookPartHint(BookPart part) {
    switch (part) {
    case BookPart::ImageMinSize:
        return QStringLiteral("最小化");
    case BookPart::ImageResize:
        return QStringLiteral("改变书本大小");
    case BookPart::ImageMove:
        return QStringLiteral("移动书本");
    case BookPart::ImagePageNext:
        return QStringLiteral("下一页");
    case BookPart::ImagePagePrev:
        return QStringLiteral("上一页");
    default:
        return {};
    }
}

Qt::CursorShape BookPartCursor(BookPart part) {
    switch (part) {
    case BookPart::ImageMove:
        return Qt::PointingHandCursor;
    case BookPart::ImageResize:
        return Qt::SizeFDiagCursor;
    default:
        return Qt::ArrowCursor;
    }
}

QRect KeepOnScreen(const QRect& book, const QList<QRect>& screens) {
    QRect best = book;
    long long bestDistance = -1;
    for (const QRect& area : screens) {
        const QPoint at(Within(book.x(), book.width(), area.x(), area.width()),
                        Within(book.y(), book.height(), area.y(), area.height()));
        const long long distance =
            std::llabs(static_cast<long long>(at.x()) - book.x()) +
            std::llabs(static_cast<long long>(at.y()) - book.y());
        if (bestDistance < 0 || distance < bestDistance) {
            bestDistance = distance;
            best = QRect(at, book.size());
        }
    }
    return best;
}

QList<QRect> ScreenAreas() {
    QList<QRect> areas;
    for (const QScreen* screen : QGuiApplication::screens())
        areas.append(screen->availableGeometry());
    return areas;
}
