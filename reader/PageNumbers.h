#pragma once
// Page-number captions and the placement codes of the two page numbers.
#include <array>
#include <string>

// The number text of a page: "7", or "7/120" when the page count is shown too.
std::string PageNumberCaption(int page, int pageCount, bool showTotal);

struct PageNumberMargins {
    int X; // Trunc(ScaleX * 11)
    int Y; // Trunc(ScaleX * 8): the vertical margin scales with the width too
};
PageNumberMargins PageNumberMarginsFor(double scaleX);

// x of the prefix label from the first character of the placement code; `textWidth` is the
// width of prefix, number and suffix together, `bookWidth` the window width.
int LeftNumberX(const std::string& code, int bookWidth, PageNumberMargins m, int textWidth);
int RightNumberX(const std::string& code, int bookWidth, PageNumberMargins m, int textWidth);
// y of the labels from the second character: "1" top, anything else bottom.
int NumberY(const std::string& code, int bookHeight, PageNumberMargins m, int textHeight);

// What placing the two page numbers needs from the book and the settings.
struct PageNumberBook {
    int Width = 0;
    int Height = 0;
    double ScaleX = 1;
    std::array<std::string, 2> Positions; // the placement codes of page numbers 1 and 2
    bool Show = true;                     // ShowPageNumbers
    bool RightPage = true;                // whether the pair has a right page
};

// Where the prefix labels of the two groups go, and whether the right group shows: only with
// page numbers shown and a right page to number. `leftWidth` and `rightWidth` are the measured
// widths of prefix, number and suffix together; `textHeight` the height of one such text, the
// same for both groups as they share a font.
struct PageNumberPlacement {
    int LeftX = 0;
    int LeftY = 0;
    int RightX = 0;
    int RightY = 0;
    bool RightVisible = false;
};
PageNumberPlacement PlacePageNumbers(const PageNumberBook& book, int leftWidth, int rightWidth,
                                     int textHeight);
