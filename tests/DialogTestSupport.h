#pragma once
// Answers the next modal dialog from inside its own event loop, so that a test can drive a
// command that runs a dialog with exec() and never blocks.
#include <QApplication>
#include <QDialog>
#include <QTimer>

#include <functional>

// Calls `answer` with the dialog once it is the active modal widget. The answer must close it.
template <typename Dialog> void AnswerDialog(std::function<void(Dialog*)> answer) {
    auto poll = std::make_shared<std::function<void(int)>>();
    *poll = [answer, poll](int triesLeft) {
        if (auto* dialog = qobject_cast<Dialog*>(QApplication::activeModalWidget())) {
            answer(dialog);
            return;
        }
        if (triesLeft > 0)
            QTimer::singleShot(10, [poll, triesLeft] { (*poll)(triesLeft - 1); });
    };
    QTimer::singleShot(0, [poll] { (*poll)(500); });
}
