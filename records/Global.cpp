#include "Global.h"

#include <cstdio>

namespace {

// Without a window there is nobody to ask, so a question takes the cautious answer.
class StderrPrompter : public Prompter {
public:
    void Info(const std::string& text) override { Print(InfoCaption, text); }
    void Warning(const std::string& text) override { Print(WarningCaption, text); }
    bool Confirm(const std::string& text) override {
        Print(ConfirmCaption, text);
        return false;
    }

private:
    static void Print(const char* caption, const std::string& text) {
        std::fprintf(stderr, "%s: %s\n", caption, text.c_str());
    }
};

StderrPrompter Fallback;
Prompter* Installed = &Fallback;

} // namespace

Prompter* SetPrompter(Prompter* prompter) {
    Prompter* previous = Installed;
    Installed = prompter ? prompter : &Fallback;
    return previous == &Fallback ? nullptr : previous;
}

void ShowInfo(const std::string& text) {
    Installed->Info(text);
}
void ShowWarning(const std::string& text) {
    Installed->Warning(text);
}
bool AskConfirm(const std::string& text) {
    return Installed->Confirm(text);
}

void Show(const UserMessage& message) {
    if (message.Type == UserMessage::Info)
        ShowInfo(message.Text);
    else
        ShowWarning(message.Text);
}
