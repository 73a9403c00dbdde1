#include "ArrowButton.h"

#include <QMouseEvent>
#include <QPainter>

TArrowButton::TArrowButton(bool up, QWidget* parent) : QAbstractButton(parent), Up(up) {
    setFocusPolicy(Qt::NoFocus);
}

void TArrowButton::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), isDown() ? QColor(200, 200, 200) : palette().button().color());
    painter.setPen(QColor(128, 128, 128));
    painter.drawRect(rect().adjusted(0, 0, -1, -1));
    const int cx = width() / 2, top = 2, bottom = height() - 3;
    QPolygon triangle;
    if (Up)
        triangle << QPoint(cx - 3, bottom) << QPoint(cx + 3, bottom) << QPoint(cx, top);
    else
        triangle << QPoint(cx - 3, top) << QPoint(cx + 3, top) << QPoint(cx, bottom);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setBrush(Qt::black);
    painter.setPen(Qt::NoPen);
    painter.drawPolygon(triangle);
}

void TArrowButton::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::RightButton && RightReleased) {
        RightReleased();
        return;
    }
    QAbstractButton::mouseReleaseEvent(event);
}
