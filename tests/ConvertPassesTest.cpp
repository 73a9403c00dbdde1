// test-links: mojuan_reader
#include "reader/ConvertPasses.h"
#include "text/Gb2Big5.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

struct RecordingProgress : ProgressWindow {
    std::vector<std::string> Calls;
    void InitShowMess(int min, int max, const std::string& text) override {
        Calls.push_back("init " + std::to_string(min) + " " + std::to_string(max) + " " + text);
    }
    void ShowMessPos(int position) override { Calls.push_back("pos " + std::to_string(position)); }
    void CloseShowMess() override { Calls.push_back("close"); }
};

const std::string Big5Chunk = "\xA7\xDA\xAD\xCC\xA4\x40\xB0\x5F\r\n"; // 我們一起 in BIG5
const std::string GbChunk = "\xCE\xD2\xC3\xC7\xD2\xBB\xC6\xF0\r\n";   // 我们一起 in GB

TextOptions Switches(bool big5, bool gb, bool autoConvert) {
    TextOptions s;
    s.ConvertBig5 = big5;
    s.ConvertGb = gb;
    s.AutoConvert = autoConvert;
    return s;
}

TEST(ConvertPassesTest, PassReportsEachChunkUnderItsCaption) {
    std::vector<Chunk> shown{MakeChunk(Big5Chunk), MakeChunk("abc")};
    RecordingProgress progress;
    Init_BIG5(shown, progress);
    EXPECT_EQ(progress.Calls,
              (std::vector<std::string>{"init 0 2 转换为GB码", "pos 1", "pos 2", "close"}));
    EXPECT_EQ(*shown[0], Big5ToGb(Big5Chunk));
}

TEST(ConvertPassesTest, CaptionsOfTheOtherPasses) {
    std::vector<Chunk> shown{MakeChunk(GbChunk)};
    RecordingProgress progress;
    Init_GB(shown, progress);
    Init_AutoGB(shown, progress, true);
    Init_AutoGB(shown, progress, false);
    EXPECT_EQ(progress.Calls,
              (std::vector<std::string>{"init 0 1 转换为BIG5码", "pos 1", "close",
                                        "init 0 1 自动转换为GB码", "pos 1", "close",
                                        "init 0 1 自动转换为BIG5码", "pos 1", "close"}));
}

TEST(ConvertPassesTest, MixedDocumentComesOutAllGbOrAllBig5) {
    for (bool autoConvert : {true, false}) {
        const Chunk big5 = MakeChunk(Big5Chunk), gb = MakeChunk(GbChunk);
        std::vector<Chunk> shown{big5, gb};
        NoProgress progress;
        const std::vector<CodeChange> changes =
            RunConvertPasses(shown, Switches(true, true, autoConvert), progress);
        EXPECT_EQ(changes, autoConvert
                               ? (std::vector{CodeChange::Big5ToGb, CodeChange::None})
                               : (std::vector{CodeChange::None, CodeChange::GbToBig5}));
        if (autoConvert) {
            EXPECT_EQ(*shown[0], Big5ToGb(Big5Chunk));
            EXPECT_EQ(*shown[0], GbChunk);
            EXPECT_EQ(shown[1], gb) << "a GB chunk keeps its bytes";
        } else {
            EXPECT_EQ(shown[0], big5) << "a BIG5 chunk keeps its bytes";
            EXPECT_EQ(*shown[1], GbToBig5(GbChunk));
            EXPECT_EQ(*shown[1], Big5Chunk);
        }
    }
}

TEST(ConvertPassesTest, AtMostOnePassRunsForTheSwitches) {
    struct Case {
        bool Big5, Gb;
        const char* Caption;
    };
    for (const Case c : {Case{true, false, "转换为GB码"}, Case{false, true, "转换为BIG5码"},
                         Case{true, true, "自动转换为GB码"}, Case{false, false, nullptr}}) {
        std::vector<Chunk> shown{MakeChunk(Big5Chunk)};
        RecordingProgress progress;
        RunConvertPasses(shown, Switches(c.Big5, c.Gb, true), progress);
        if (c.Caption == nullptr) {
            EXPECT_TRUE(progress.Calls.empty());
            EXPECT_EQ(*shown[0], Big5Chunk);
        } else {
            ASSERT_EQ(progress.Calls.size(), 3u);
            EXPECT_EQ(progress.Calls[0], std::string("init 0 1 ") + c.Caption);
        }
    }
}

TEST(ConvertPassesTest, UnchangedChunkKeepsSharingItsBytes) {
    const Chunk ascii = MakeChunk("plain text\r\n");
    std::vector<Chunk> shown{ascii};
    NoProgress progress;
    Init_BIG5(shown, progress);
    Init_GB(shown, progress);
    EXPECT_EQ(shown[0], ascii);
}

} // namespace
