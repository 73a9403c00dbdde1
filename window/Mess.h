#pragma once
// The small progress box centred on the book while a long loop over the document runs.
#include "reader/ProgressWindow.h"

#include <QElapsedTimer>
#include <QPointer>
#include <QWidget>
#include <functional>

class QLabel;
class QProgressBar;

class TFormMess : public QWidget, public ProgressWindow {
    Q_OBJECT

public:
    static constexpr int ClientWidth = 124;
    static constexpr int ClientHeight = 38;

    // Work expected to take less than this many milliseconds goes by without the box: it would
    // only flash. 0 shows the box at every InitShowMess.
    static constexpr int ShowAfterMs = 150;

    explicit TFormMess(QWidget* parent = nullptr, int showAfterMs = ShowAfterMs);

    // The box is created before the book, so the book introduces itself afterwards: the box
    // centres on `mainForm` at every showing and, on closing, calls `showMainForm` if the book
    // is visible. Without a main form it centres on the screen.
    void SetMainForm(QWidget* mainForm, std::function<void()> showMainForm);

    // `text` is a UTF-8 caption such as "打开文件". The box shows here only with no threshold.
    void InitShowMess(int min, int max, const std::string& text) override;
    // A position is reported as its step starts. Shows the box once the steps done so far say
    // that all of them take longer than the threshold; repaints before returning, since the
    // caller goes on without visiting the event loop.
    void ShowMessPos(int position) override;

    void CloseShowMess() override;

    // How long a showing waits for the window system to put the box on the screen.
    static constexpr int ExposeWaitMs = 300;

    QLabel* const PanelMsgShow;
    QProgressBar* const CompPer;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void ShowCentred();
    QPoint CentredPosition() const;
    void PaintNow();

    const int ThresholdMs;
    QElapsedTimer Started; // since InitShowMess
    QPointer<QWidget> MainForm;
    std::function<void()> ShowMainForm;
    bool ExposeWaited = false;
};
