#pragma once
// Where everything sits on the book: every position is derived from the window size by fixed
// ratios against a reference book of 556 x 380 pixels.
#include "reader/Navigation.h"

#include <QList>
#include <QRect>
#include <QString>
#include <Qt>

// The components of the book that take the mouse, from the top of the stack down: where two
// overlap, the earlier one gets the mouse.
enum class BookPart {
    ImageMinSize,
    ImageResize,
    ImageMove,
    ImagePageNext,
    ImagePagePrev,
    LabelYe,
    LabelPage2,
    LabelPage1,
    ImageBook
};

struct BookGeometry {
    static constexpr int ButtonSize = 13; // the corner hot areas do not scale

    double ScaleX = 1;
    double ScaleY = 1;
    int EdgeStripWidth = 0;
    int PageNextLeft = 0;
    int Page1Left = 0;
    int Page2Left = 0;
    int PageTop = 0;
    int PageWidth = 0;
    int PageHeight = 0;

    QRect ImageBook;
    QRect ImagePagePrev;
    QRect ImagePageNext;
    QRect ImageMinSize;
    QRect ImageMove;
    QRect ImageResize;
    QRect LabelPage1;
    QRect LabelPage2;

    // Lines are wrapped as in a text box of the page's width: a 2-pixel sunken border and a
    // 1-pixel inner margin on each side leave the text 6 pixels narrower than the page.
    static constexpr int TextBoxInset = 6;
    double WrapWidth() const { return PageWidth - TextBoxInset; }

    static BookGeometry For(int bookWidth, int bookHeight);

    // The component at `pos`; `onPageNumber` tells whether a shown page-number label is there.
    BookPart PartAt(const QPoint& pos, bool onPageNumber) const;
    // The turn a left click makes on a page or on the book elsewhere: the left page and the
    // left half of the book turn back, the right ones forward; other parts turn nothing here.
    PageTurn ClickTurn(BookPart part, const QPoint& pos) const;
};

// The hint a component shows under the mouse; empty for those without one.
QString BookPartHint(BookPart part);
// The mouse cursor over a component: a hand over the move area, the diagonal-size cursor
// over the resize area, the arrow elsewhere.
Qt::CursorShape BookPartCursor(BookPart part);

// The smallest book the user can drag the window to.
constexpr int MinBookWidth = 2 * BookGeometry::ButtonSize + 100;
constexpr int MinBookHeight = 3 * BookGeometry::ButtonSize + 40;

// Where the book goes so that a person can reach it: moved as little as needed to lie wholly on
// the available area of one of `screens`, or, when it is larger than that screen, with its
// top-left part on it. A stored position can lie off every screen (a monitor unplugged, a typo
// in the settings dialog). The size never changes; without screens the bounds stay as they are.
QRect KeepOnScreen(const QRect& book, const QList<QRect>& screens);
// The available area of every screen (without panels and docks), the primary screen first.
QList<QRect> ScreenAreas();
