#pragma once
// Drawing byte text as the page labels do: top-left aligned, one line per CR LF, no wrapping
// (the text was wrapped when it was paginated), every line at the same fixed pitch.
#include <QFont>
#include <QRect>
#include <QString>
#include <string_view>

class QPainter;

// Decodes GB18030 bytes for drawing; bytes that are no character become the replacement mark.
QString DecodeForDisplay(std::string_view bytes);

void DrawPageText(QPainter& painter, const QRect& box, std::string_view bytes, const QFont& font,
                  const QColor& color, int pitch);
// One line of text, as DrawPageText draws a line of it. A caption made in the program (a page
// number) is drawn as it is, not through GB bytes, whose encoding table costs the first paint
// several milliseconds and half a megabyte.
void DrawCaption(QPainter& painter, const QRect& box, const QString& caption, const QFont& font,
                 const QColor& color, int pitch);

// The book window's painter: the pages in the page font, the page-number groups as Init_Ye laid
// them out, and the underline as a filled bar.
#include "BookLabels.h"
#include "reader/PagePainter.h"

#include <QColor>
#include <array>

struct PaintFont {
    QFont Font;
    QColor Color;
    int Pitch = 12;
};

class ScreenPagePainter : public PagePainter {
public:
    explicit ScreenPagePainter(QPainter& painter) : Painter(painter) {}
    void DrawPage(bool right, std::string_view text) override;
    void DrawPageNumber(bool right, int page, int pageCount) override;
    void DrawUnderline(const UnderlinePlace& place) override;
    void DrawRunningHead(std::string_view title) override;

    std::array<QRect, 2> Pages;
    PaintFont PageFont;
    PaintFont NumberFont;
    std::array<const PageNumberLabels*, 2> Numbers{};
    QRect Underline; // already placed for the underline's line
    QRect RunningHead; // in the page-number font
    QColor UnderlineColor;

private:
    QPainter& Painter;
};
