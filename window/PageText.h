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
