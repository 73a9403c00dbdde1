#pragma once
// The three message boxes every part of the program uses to tell the user something. They go
// through the installed Prompter: the window layer installs one that shows real message boxes,
// tests install one that records the messages and answers the questions.
#include "reader/UserMessage.h"

#include <cstddef>
#include <string>
#include <string_view>

inline constexpr char InfoCaption[] = "提示";
inline constexpr char WarningCaption[] = "警告";
inline constexpr char ConfirmCaption[] = "询问";

// Texts longer than this many characters are cut before they reach a box or a menu: a path a
// megabyte long would make a box or a menu wider than any screen and freeze the program while
// it is laid out.
inline constexpr std::size_t MaxMessageLineChars = 160;
inline constexpr std::size_t MaxMenuTextChars = 120;

// `text` (UTF-8) itself when it has at most `maxChars` characters; else its start and its end
// with "…" between, `maxChars` characters in all, so the folder and the file name of a path
// both stay readable. Never cuts inside a character.
std::string CutLongText(std::string_view text, std::size_t maxChars);

// Each line of `text` cut so (lines end at LF, CR LF kept as it stands).
std::string CutLongLines(std::string_view text, std::size_t maxChars = MaxMessageLineChars);

class Prompter {
public:
    virtual ~Prompter() = default;
    // Information icon, OK.
    virtual void Info(const std::string& text) = 0;
    // Warning icon, OK.
    virtual void Warning(const std::string& text) = 0;
    // Question icon, OK and Cancel; true when OK was chosen.
    virtual bool Confirm(const std::string& text) = 0;
};

// Installs the prompter the helpers use (not owned; nullptr restores the fallback, which
// writes the messages to standard error and answers every question with Cancel). Returns the
// prompter that was installed before.
Prompter* SetPrompter(Prompter* prompter);

void ShowInfo(const std::string& text);
void ShowWarning(const std::string& text);
bool AskConfirm(const std::string& text);
// Shows a message the core handed back, in the box of its kind.
void Show(const UserMessage& message);

// Installs a prompter for the lifetime of a scope and puts the previous one back.
class ScopedPrompter {
public:
    explicit ScopedPrompter(Prompter& prompter) : Previous(SetPrompter(&prompter)) {}
    ~ScopedPrompter() { SetPrompter(Previous); }
    ScopedPrompter(const ScopedPrompter&) = delete;
    ScopedPrompter& operator=(const ScopedPrompter&) = delete;

private:
    Prompter* Previous;
};
