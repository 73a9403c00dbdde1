#include "PageNumbers.h"

#include <cmath>

namespace {

char Place(const std::string& code, std::size_t i) {
    return i < code.size() ? code[i] : '\0';
}

int Trunc(double v) {
    return static_cast<int>(std::trunc(v));
}

} // namespace

std::string PageNumberCaption(int page, int pageCount, bool showTotal) {
    std::string caption = std::to_string(page);
    if (showTotal) {
        caption += '/';
        caption += std::to_string(pageCount);
    }
    return caption;
}

PageNumberMargins PageNumberMarginsFor(double scaleX) {
    return {Trunc(scaleX * 11), Trunc(scaleX * 8)};
}

// The left half of the book runs from x = 13, beyond the page-turn strip, to the spine.
int LeftNumberX(const std::string& code, int bookWidth, PageNumberMargins m, int textWidth) {
    const double w = bookWidth;
    switch (Place(code, 0)) {
    case '2':
        return Trunc((w / 2 - 13) / 2 - textWidth / 2.0 + 13);
    case '3':
        return Trunc(w / 2 - m.X - textWidth);
    default:
        return m.X + 13;
    }
}

int RightNumberX(const std::string& code, int bookWidth, PageNumberMargins m, int textWidth) {
    const double w = bookWidth;
    switch (Place(code, 0)) {
    case '1':
        return Trunc(w / 2 + m.X);
    case '2':
        return Trunc((w / 2 - 13) / 2 - textWidth / 2.0 + w / 2);
    default:
        return bookWidth - 13 - m.X - textWidth;
    }
}

int NumberY(const std::string& code, int bookHeight, PageNumberMargins m, int textHeight) {
    return Place(code, 1) == '1' ? m.Y : bookHeight - m.Y - textHeight;
}

PageNumberPlacement PlacePageNumbers(const PageNumberBook& book, int leftWidth, int rightWidth,
                                     int textHeight) {
    const PageNumberMargins m = PageNumberMarginsFor(book.ScaleX);
    PageNumberPlacement p;
    p.LeftX = LeftNumberX(book.Positions[0], book.Width, m, leftWidth);
    p.LeftY = NumberY(book.Positions[0], book.Height, m, textHeight);
    p.RightX = RightNumberX(book.Positions[1], book.Width, m, rightWidth);
    p.RightY = NumberY(book.Positions[1], book.Height, m, textHeight);
    p.RightVisible = book.Show && book.RightPage;
    return p;
}
