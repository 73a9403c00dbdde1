// test-links: mojuan_records
#include "records/Global.h"

#include "RecordingPrompter.h"

#include <gtest/gtest.h>

namespace {

TEST(GlobalTest, MessagesGoToTheInstalledPrompter) {
    RecordingPrompter prompts;
    ScopedPrompter installed(prompts);
    prompts.Answers = {false, true};
    ShowInfo("i");
    ShowWarning("w");
    EXPECT_FALSE(AskConfirm("q1"));
    EXPECT_TRUE(AskConfirm("q2"));
    EXPECT_EQ(prompts.Prompts, (std::vector<Prompt>{{Prompt::Info, "i"},
                                                    {Prompt::Warning, "w"},
                                                    {Prompt::Confirm, "q1"},
                                                    {Prompt::Confirm, "q2"}}));
}

TEST(GlobalTest, ScopesRestoreThePreviousPrompter) {
    RecordingPrompter outer, inner;
    ScopedPrompter a(outer);
    {
        ScopedPrompter b(inner);
        ShowInfo("inner");
    }
    ShowInfo("outer");
    EXPECT_EQ(inner.Prompts.size(), 1u);
    EXPECT_EQ(outer.Prompts, (std::vector<Prompt>{{Prompt::Info, "outer"}}));
}

TEST(GlobalTest, WithoutAPrompterAQuestionIsAnsweredWithCancel) {
    Prompter* previous = SetPrompter(nullptr);
    EXPECT_FALSE(AskConfirm("删除吗？"));
    SetPrompter(previous);
}

} // namespace
