// test-links: mojuan_records
#include "records/Global.h"

#include "RecordingPrompter.h"

#include <gtest/gtest.h>

namespace {

std::size_t QStringLength(const std::string& utf8) {
    std::size_t n = 0;
    for (char c : utf8)
        n += (static_cast<unsigned char>(c) & 0xC0) != 0x80;
    return n;
}

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

// A path a megabyte long keeps its start and its end in the box, cut between characters; the
// other lines stay whole.
TEST(GlobalTest, LongLinesAreCutInTheirMiddle) {
    RecordingPrompter prompts;
    ScopedPrompter installed(prompts);
    const std::string path = "/书库/" + std::string(1'000'000, 'x') + "/红楼梦.txt";
    ShowWarning("打开文件 " + path + " 失败！\r\n请检查文件是否存在。");
    const std::string shown = prompts.Prompts.at(0).Text;
    const std::string firstLine = shown.substr(0, shown.find("\r\n"));
    EXPECT_EQ(firstLine.rfind("打开文件 /书库/xx", 0), 0u);
    EXPECT_NE(firstLine.find("xx…xx"), std::string::npos);
    EXPECT_TRUE(firstLine.ends_with("xx/红楼梦.txt 失败！"));
    EXPECT_EQ(CutLongText(firstLine, 1000), firstLine);
    EXPECT_EQ(QStringLength(firstLine), MaxMessageLineChars);
    EXPECT_EQ(shown.substr(shown.find("\r\n")), "\r\n请检查文件是否存在。");
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
