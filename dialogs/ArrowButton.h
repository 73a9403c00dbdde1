#pragma once
// A small arrow button of the go-to-page pop-up, drawn as a triangle. A left click clicks it; a
// right click is handed to RightReleased, which confirms the pop-up.
#include <QAbstractButton>

#include <functional>

class TArrowButton : public QAbstractButton {
public:
    TArrowButton(bool up, QWidget* parent);
    std::function<void()> RightReleased;

protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    bool Up;
};
