// test-links: mojuan_app
#include "RecordingPrompter.h"
#include "TestSupport.h"
#include "app/Main.h"
#include "base/FileTest.h"
#include "reader/OpenFile.h"
#include "text/Chunking.h"

#include <QTest>
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>

namespace {

// Records the captions of the passes and pagination that ran.
struct RecordingProgress : ProgressWindow {
    std::vector<std::string> Captions;
    void InitShowMess(int, int, const std::string& text) override { Captions.push_back(text); }
    void ShowMessPos(int) override {}
    void CloseShowMess() override {}
    bool Ran(const std::string& caption) const {
        return std::find(Captions.begin(), Captions.end(), caption) != Captions.end();
    }
};

std::string TempPath(const std::string& name) {
    const char* tmp = std::getenv("TMPDIR");
    return std::string(tmp ? tmp : "/tmp") + "/" + name;
}

std::string WriteFile(const std::string& name, const std::string& bytes) {
    const std::string path = TempPath(name);
    std::ofstream(path, std::ios::binary) << bytes;
    return path;
}

struct Reader {
    RecordingPrompter prompter;
    ScopedPrompter scope{prompter};
    RecordingProgress progress;
    Registry reg{""};
    TFormMain book{reg, progress};
};

// Reading, cutting and the refusals' texts are the reader's; the window keeps what it shows.
TEST(OpenDocumentTest, ARefusedFileKeepsTheShownDocumentAndItsEntry) {
    Reader r;
    const std::string shown = WriteFile("shown.txt", "text\r\n");
    ASSERT_TRUE(r.book.OpenDocument(shown));
    const std::string missing = TempPath("none.txt");
    EXPECT_FALSE(r.book.OpenDocument(missing));
    EXPECT_EQ(r.prompter.Prompts.at(0),
              (Prompt{Prompt::Warning, "打开文件 " + missing + " 失败！\r\n请检查文件是否存在。"}));
    const std::string over = WriteFile("over.txt", std::string(MaxDocumentBytes + 1, 'a'));
    EXPECT_FALSE(r.book.OpenDocument(over)); // put on top, but not read
    EXPECT_EQ(r.prompter.Prompts.at(1), (Prompt{Prompt::Info, TooLargeText(over)}));
    EXPECT_EQ(r.book.Book.DocumentName(), shown);
    EXPECT_EQ(r.book.List->DefaultItem(), 1);                 // still the shown document's entry
    EXPECT_FALSE(r.book.OpenDocument(std::getenv("TMPDIR"))); // a directory is no document
}

TEST(OpenDocumentTest, HtmlExtensionSwitchesHtmlOn) {
    Reader r;
    ASSERT_FALSE(r.book.Setting.ProcessHtml);
    ASSERT_TRUE(r.book.OpenDocument(WriteFile("a.HTM", "<p>one</p>\ntwo\rthree")));
    EXPECT_TRUE(r.book.Setting.ProcessHtml);
    EXPECT_EQ(r.book.Book.Document().ShownChunk[0]->String().find('<'), std::string::npos);
}

// Each switch flips its setting and hands the options to the book, which re-runs only what the
// change needs; the underline needs no pagination at all.
TEST(OpenDocumentTest, SwitchesReachTheBook) {
    Reader r;
    ASSERT_TRUE(r.book.OpenDocument(WriteFile("plain.txt", "\xB0\xA1\xB0\xA2\r\nabc")));
    r.book.Setting.AutoConvert = false;
    r.book.ItemBIG5Click(r.book.Menus->ItemBIG5);
    r.book.ItemBIG5Click(r.book.Menus->ItemChap);
    EXPECT_EQ(r.book.Book.Options(), (TextOptions{true, false, false, false, true}));
    r.progress.Captions.clear();
    r.book.ItemBIG5Click(r.book.Menus->ItemUnderLine);
    EXPECT_TRUE(r.book.Setting.ShowUnderline);
    EXPECT_TRUE(r.book.UnderlineShown());
    EXPECT_TRUE(r.progress.Captions.empty());
}

TEST(OpenDocumentTest, RefreshShowsNewContentFromPageOne) {
    Reader r;
    std::string text;
    for (int i = 0; i < 2000; ++i)
        text += "old line\r\n";
    const std::string path = WriteFile("changing.txt", text);
    ASSERT_TRUE(r.book.OpenDocument(path));
    r.book.ChangeYe(9);
    WriteFile("changing.txt", "new text");
    r.book.ItemRefreshClick();
    EXPECT_EQ(r.book.Book.CurrentPage(), 1);
    EXPECT_EQ(r.book.ShownPages().Left.substr(0, 8), "new text");
}

} // namespace
