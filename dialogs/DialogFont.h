#pragma once
// The font of the small dialogs: 宋体 at 12 pixels, substituted by an installed Song face.
#include <QFont>

inline QFont DialogFont() {
    QFont font(QStringLiteral("宋体"));
    font.setPixelSize(12);
    return font;
}
