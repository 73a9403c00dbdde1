#include "PageText.h"

#include "text/GbkText.h"

#include <QFontMetricsF>
#include <QPainter>

#include <cmath>

QString DecodeForDisplay(std::string_view bytes) {
    const std::u16string text = gbk::Decode(bytes);
    return QString::fromUtf16(text.data(), static_cast<qsizetype>(text.size()));
}

namespace {

// Sets `painter` (saved by the caller) to draw lines into `box` and gives the distance from a
// line's top to its baseline.
double StartLines(QPainter& painter, const QRect& box, const QFont& font, const QColor& color,
                  int pitch) {
    const QFontMetricsF metrics(font);
    // A closing mark may hang one character past the line's end (reader/WrapLines.h), into
    // the page's margin.
    const int hang = static_cast<int>(std::ceil(metrics.horizontalAdvance(QChar(u'，'))));
    painter.setClipRect(box.adjusted(0, 0, hang, 0));
    painter.setFont(font);
    painter.setPen(color);
    // Share the pitch between ascent and descent in the font's own proportion, so that a face
    // taller than the pitch still sits inside its line.
    const double total = metrics.ascent() + metrics.descent();
    return total > 0 ? pitch * metrics.ascent() / total : pitch;
}

} // namespace

void DrawPageText(QPainter& painter, const QRect& box, std::string_view bytes, const QFont& font,
                  const QColor& color, int pitch) {
    painter.save();
    const double baseline = StartLines(painter, box, font, color, pitch);
    int top = box.top();
    std::size_t start = 0;
    while (start <= bytes.size() && top < box.bottom() + 1) {
        std::size_t end = bytes.find("\r\n", start);
        if (end == std::string_view::npos)
            end = bytes.size();
        const std::string_view line = bytes.substr(start, end - start);
        if (!line.empty())
            painter.drawText(QPointF(box.left(), top + baseline), DecodeForDisplay(line));
        top += pitch;
        start = end + 2;
    }
    painter.restore();
}

void DrawCaption(QPainter& painter, const QRect& box, const QString& caption, const QFont& font,
                 const QColor& color, int pitch) {
    if (caption.isEmpty() || box.height() <= 0)
        return;
    painter.save();
    const double baseline = StartLines(painter, box, font, color, pitch);
    painter.drawText(QPointF(box.left(), box.top() + baseline), caption);
    painter.restore();
}

void ScreenPagePainter::DrawPage(bool right, std::string_view text) {
    DrawPageText(Painter, Pages[right], text, PageFont.Font, PageFont.Color, PageFont.Pitch);
}

// The group's captions already hold the number: Init_Ye wrote and placed them.
void ScreenPagePainter::DrawPageNumber(bool right, int, int) {
    const PageNumberLabels* group = Numbers[right];
    if (!group)
        return;
    for (const BookLabel* label : {&group->Be, &group->Ye, &group->Af})
        if (label->Visible)
            DrawCaption(Painter, label->Rect, label->Caption, NumberFont.Font, NumberFont.Color,
                        NumberFont.Pitch);
}

void ScreenPagePainter::DrawUnderline(const UnderlinePlace&) {
    Painter.fillRect(Underline, UnderlineColor);
}

void ScreenPagePainter::DrawRunningHead(std::string_view title) {
    if (!RunningHead.isEmpty())
        DrawPageText(Painter, RunningHead, title, NumberFont.Font, NumberFont.Color,
                     NumberFont.Pitch);
}
