#pragma once
// A prompter for tests: records every message and answers questions from a queue, so that no
// test ever blocks on a message box.
#include "records/Global.h"

#include <deque>
#include <string>
#include <vector>

struct Prompt {
    enum Kind { Info, Warning, Confirm };
    Kind Type;
    std::string Text;
    bool operator==(const Prompt&) const = default;
};

class RecordingPrompter : public Prompter {
public:
    std::vector<Prompt> Prompts;
    std::deque<bool> Answers;  // taken in order by Confirm
    bool DefaultAnswer = true; // when Answers is empty

    void Info(const std::string& text) override { Prompts.push_back({Prompt::Info, text}); }
    void Warning(const std::string& text) override { Prompts.push_back({Prompt::Warning, text}); }
    // A message the core handed back, recorded as the window would show it.
    void Record(const UserMessage& message) {
        Prompts.push_back(
            {message.Type == UserMessage::Info ? Prompt::Info : Prompt::Warning, message.Text});
    }
    bool Confirm(const std::string& text) override {
        Prompts.push_back({Prompt::Confirm, text});
        if (Answers.empty())
            return DefaultAnswer;
        bool answer = Answers.front();
        Answers.pop_front();
        return answer;
    }
};
