#pragma once
// Where everything sits on the book: every position is derived from the window size by fixed
// ratios against a reference book of 556 x 380 pixels.
#include <QRect>

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
};

// The smallest book the user can drag the window to.
constexpr int MinBookWidth = 2 * BookGeometry::ButtonSize + 100;
constexpr int MinBookHeight = 3 * BookGeometry::ButtonSize + 40;
