#pragma once
// Page-number captions and the placement codes of the two page numbers.
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
