#include "SystemMoves.h"

#include <QWidget>
#include <QWindow>

bool QtSystemMoves::StartMove(QWidget& window) {
    QWindow* handle = window.windowHandle();
    return handle && handle->startSystemMove();
}

bool QtSystemMoves::StartResize(QWidget& window, Qt::Edges edges) {
    QWindow* handle = window.windowHandle();
    return handle && handle->startSystemResize(edges);
}
