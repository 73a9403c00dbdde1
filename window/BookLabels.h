#pragma once
// The small text labels over the book (the page numbers): a caption, where it sits, whether it
// shows. They size themselves to their caption in their font.
#include "records/ChangeFlags.h"

#include <QRect>
#include <QString>

struct BookLabel {
    QString Caption;
    QRect Rect;
    bool Visible = true;
};

// The three labels of one page number: prefix, number, suffix, laid side by side.
struct PageNumberLabels {
    BookLabel Be;
    BookLabel Ye;
    BookLabel Af;

    QString Whole() const { return Be.Caption + Ye.Caption + Af.Caption; }
};
