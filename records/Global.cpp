#include "Global.h"

#include <cstdio>
#include <vector>

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

namespace {

constexpr std::string_view Ellipsis = "…";

bool StartsCharacter(char byte) {
    return (static_cast<unsigned char>(byte) & 0xC0) != 0x80;
}

// The byte offsets at which characters start, the end of the text last.
std::vector<std::size_t> CharacterStarts(std::string_view text) {
    std::vector<std::size_t> starts;
    for (std::size_t i = 0; i < text.size(); ++i)
        if (StartsCharacter(text[i]))
            starts.push_back(i);
    starts.push_back(text.size());
    return starts;
}

} // namespace

std::string CutLongText(std::string_view text, std::size_t maxChars) {
    // At most four bytes a character: a text of few bytes has few characters.
    if (text.size() <= maxChars)
        return std::string(text);
    const std::vector<std::size_t> starts = CharacterStarts(text);
    const std::size_t count = starts.size() - 1;
    if (count <= maxChars || maxChars < 3)
        return std::string(text);
    const std::size_t head = (maxChars - 1) / 2, tail = maxChars - 1 - head;
    return std::string(text.substr(0, starts[head])) + std::string(Ellipsis) +
           std::string(text.substr(starts[count - tail]));
}

std::string CutLongLines(std::string_view text, std::size_t maxChars) {
    std::string result;
    while (!text.empty()) {
        const std::size_t end = text.find('\n');
        const std::size_t length = end == std::string_view::npos ? text.size() : end;
        std::string_view line = text.substr(0, length);
        const bool cr = !line.empty() && line.back() == '\r';
        if (cr)
            line.remove_suffix(1);
        result += CutLongText(line, maxChars);
        if (cr)
            result += '\r';
        if (end == std::string_view::npos)
            break;
        result += '\n';
        text.remove_prefix(end + 1);
    }
    return result;
}

Prompter* SetPrompter(Prompter* prompter) {
    Prompter* previous = Installed;
    Installed = prompter ? prompter : &Fallback;
    return previous == &Fallback ? nullptr : previous;
}

void ShowInfo(const std::string& text) {
    Installed->Info(CutLongLines(text));
}
void ShowWarning(const std::string& text) {
    Installed->Warning(CutLongLines(text));
}
bool AskConfirm(const std::string& text) {
    return Installed->Confirm(CutLongLines(text));
}

void Show(const UserMessage& message) {
    if (message.Type == UserMessage::Info)
        ShowInfo(message.Text);
    else
        ShowWarning(message.Text);
}
