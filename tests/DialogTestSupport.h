#pragma once
// Answers the next modal dialog from inside its own event loop, so that a test can drive a
// command that runs a dialog with exec() and never blocks.
#include <QApplication>
#include <QDialog>
#include <QTimer>

#include <functional>
#include <memory>

// Calls the answer with the dialog once it is the active modal widget; the answer must close it.
// The answer is withdrawn when the handle goes out of scope, so a dialog that never came cannot
// be answered by a later test.
class DialogAnswer {
public:
    template <typename Dialog> static DialogAnswer For(std::function<void(Dialog*)> answer) {
        DialogAnswer handle;
        auto state = handle.State;
        auto poll = std::make_shared<std::function<void(int)>>();
        *poll = [answer, state, weak = std::weak_ptr(poll)](int triesLeft) {
            if (state->Withdrawn || state->Answered)
                return;
            if (auto* dialog = qobject_cast<Dialog*>(QApplication::activeModalWidget())) {
                state->Answered = true;
                answer(dialog);
                return;
            }
            if (triesLeft > 0)
                if (auto self = weak.lock())
                    QTimer::singleShot(10, [self, triesLeft] { (*self)(triesLeft - 1); });
        };
        QTimer::singleShot(0, [poll] { (*poll)(500); });
        return handle;
    }
    DialogAnswer(DialogAnswer&&) = default;
    ~DialogAnswer() {
        if (State)
            State->Withdrawn = true;
    }
    bool Answered() const { return State->Answered; }

private:
    struct Shared {
        bool Withdrawn = false;
        bool Answered = false;
    };
    DialogAnswer() : State(std::make_shared<Shared>()) {}
    std::shared_ptr<Shared> State;
};
