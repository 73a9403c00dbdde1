#pragma once
// Handing a mouse press over to the window system's own move loop, or to its resize loop from
// an edge. The book asks through this interface, so tests see each request it makes.
#include <Qt>

class QWidget;

class SystemMoves {
public:
    virtual ~SystemMoves() = default;
    // True when the window system took the press over.
    virtual bool StartMove(QWidget& window) = 0;
    virtual bool StartResize(QWidget& window, Qt::Edges edges) = 0;
};

// Through Qt's requests to the platform (startSystemMove, startSystemResize).
class QtSystemMoves : public SystemMoves {
public:
    bool StartMove(QWidget& window) override;
    bool StartResize(QWidget& window, Qt::Edges edges) override;
};
