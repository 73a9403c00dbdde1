// test-links: mojuan_app
#include "RecordingPrompter.h"
#include "TestSupport.h"
#include "app/Main.h"
#include "base/FileTest.h"
#include "reader/OpenFile.h"
#include "text/Chunking.h"
#include "text/Gb2Big5.h"

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

TEST(OpenDocumentTest, SizeLimitIsExactAndRefusalKeepsTheShownDocument) {
    Reader r;
    const std::string limit = WriteFile("limit.txt", std::string(22250000, 'a'));
    ASSERT_TRUE(r.book.OpenDocument(limit));
    EXPECT_EQ(r.book.Book.ChunkCount(), 89);
    EXPECT_EQ(r.book.Book.DocumentName(), limit);
    const std::string over = WriteFile("over.txt", std::string(22250001, 'a'));
    EXPECT_FALSE(r.book.OpenDocument(over));
    ASSERT_EQ(r.prompter.Prompts.size(), 1u);
    EXPECT_EQ(r.prompter.Prompts[0], (Prompt{Prompt::Info, "文件 " + over + " 太大，无法打开。"}));
    EXPECT_EQ(r.book.Book.DocumentName(), limit);
    EXPECT_EQ(r.book.Book.ChunkCount(), 89);
    EXPECT_EQ(r.book.List->DefaultItem(), 1); // still the shown document's entry
}

TEST(OpenDocumentTest, EmptyAndJustOverOneChunk) {
    Reader r;
    ASSERT_TRUE(r.book.OpenDocument(WriteFile("empty.txt", "")));
    EXPECT_EQ(r.book.Book.ChunkCount(), 1);
    EXPECT_EQ(r.book.Book.PageCount(), 1);
    EXPECT_EQ(r.book.ShownPages().Left.substr(0, 2), "\r\n");
    ASSERT_TRUE(r.book.OpenDocument(WriteFile("two.txt", std::string(250001, 'b'))));
    ASSERT_EQ(r.book.Book.ChunkCount(), 2);
    EXPECT_EQ(r.book.Book.Document().RawChunk[1]->size(), 1u);
}

TEST(OpenDocumentTest, ChunkCutNeverSplitsACharacter) {
    MOJUAN_REQUIRE_CORPUS("hongloumeng.gbk.txt");
    // The 250000th byte is the lead byte of a GB character.
    std::string text(249999, 'x');
    text += "\xB0\xA1";
    text += "tail";
    Reader r;
    ASSERT_TRUE(r.book.OpenDocument(WriteFile("cut.txt", text)));
    ASSERT_EQ(r.book.Book.ChunkCount(), 2);
    EXPECT_EQ(r.book.Book.Document().RawChunk[0]->size(), 249999u);
    EXPECT_EQ(*r.book.Book.Document().RawChunk[1], "\xB0\xA1tail");
    // Reading chunk by chunk cuts exactly where cutting the whole file does.
    const std::string novel = testsupport::BuildDocument("hongloumeng.gbk.txt", 1'000'003);
    ASSERT_TRUE(r.book.OpenDocument(WriteFile("novel.txt", novel)));
    const std::vector<std::string_view> expected = CutChunks(novel);
    ASSERT_EQ(r.book.Book.Document().RawChunk.size(), expected.size());
    for (std::size_t k = 0; k < expected.size(); ++k)
        EXPECT_EQ(*r.book.Book.Document().RawChunk[k], expected[k]) << "chunk " << k + 1;
}

TEST(OpenDocumentTest, MissingFilesWarnAndKeepTheShownDocument) {
    Reader r;
    const std::string missing = TempPath("none.txt");
    EXPECT_FALSE(r.book.OpenDocument(missing));
    EXPECT_EQ(r.prompter.Prompts.at(0),
              (Prompt{Prompt::Warning, "打开文件 " + missing + " 失败！\r\n请检查文件是否存在。"}));
    EXPECT_TRUE(r.book.Book.DocumentName().empty());
    const std::string archive = WriteFile("set.zip", "PK");
    EXPECT_EQ(MissingFileWarning(TempPath("gone.txt"), archive),
              WarningMessage("打开文件 " + archive + " 失败！\r\n请检查ZIP文件是否有密码。"));
    EXPECT_EQ(
        MissingFileWarning(TempPath("gone.txt"), TempPath("gone.zip")),
        WarningMessage("打开文件 " + TempPath("gone.zip") + " 失败！\r\n请检查文件是否存在。"));
    EXPECT_FALSE(r.book.OpenDocument(std::getenv("TMPDIR"))); // a directory is no document
}

TEST(OpenDocumentTest, HtmlExtensionSwitchesHtmlOnAndLineEndsBecomeCrLf) {
    Reader r;
    ASSERT_FALSE(r.book.Setting.ProcessHtml);
    ASSERT_TRUE(r.book.OpenDocument(WriteFile("a.HTM", "<p>one</p>\ntwo\rthree")));
    EXPECT_TRUE(r.book.Setting.ProcessHtml);
    EXPECT_TRUE(r.progress.Ran("处理文本"));
    EXPECT_TRUE(r.progress.Ran("处理HTML"));
    EXPECT_EQ(r.book.Book.Document().RawChunk[0]->find('\n'),
              r.book.Book.Document().RawChunk[0]->find("\r\n") + 1);
    EXPECT_EQ(r.book.Book.Document().ShownChunk[0]->find('<'), std::string::npos);
}

TEST(OpenDocumentTest, TogglesRedoExactlyTheirWork) {
    Reader r;
    ASSERT_TRUE(r.book.OpenDocument(WriteFile("plain.txt", "\xB0\xA1\xB0\xA2\r\nabc")));
    r.book.Setting.ConvertGb = true; // as if switched on before
    r.book.ItemBIG5Click(r.book.Menus->ItemBIG5);
    EXPECT_TRUE(r.book.Setting.ConvertBig5);
    EXPECT_TRUE(r.progress.Ran("自动转换为GB码"));
    const Chunk shown = r.book.Book.Document().ShownChunk[0];
    r.progress.Captions.clear();
    r.book.ItemBIG5Click(r.book.Menus->ItemHangD);
    EXPECT_TRUE(r.book.Setting.DoubleSpacing);
    EXPECT_EQ(r.progress.Captions, std::vector<std::string>{"初始化书本"});
    EXPECT_EQ(r.book.Book.Document().ShownChunk[0], shown); // nothing was processed again
    r.progress.Captions.clear();
    r.book.ItemBIG5Click(r.book.Menus->ItemUnderLine);
    EXPECT_TRUE(r.book.Setting.ShowUnderline);
    EXPECT_TRUE(r.book.UnderlineShown());
    EXPECT_TRUE(r.progress.Captions.empty()); // no re-pagination either
}

TEST(OpenDocumentTest, AutoConvertJudgesEachChunk) {
    MOJUAN_REQUIRE_CORPUS("shuihu.big5.txt");
    MOJUAN_REQUIRE_CORPUS("shuihu.gbk.txt");
    const std::string big5 = testsupport::ReadFileBytes(testsupport::CorpusPath("shuihu.big5.txt"));
    const std::string gb = testsupport::ReadFileBytes(testsupport::CorpusPath("shuihu.gbk.txt"));
    // A GB chunk, then BIG5 text from the second chunk on.
    const std::string doc = gb.substr(0, 250000) + big5.substr(0, 240000);
    Reader r;
    r.book.Setting.ConvertBig5 = r.book.Setting.ConvertGb = true;
    ASSERT_TRUE(r.book.OpenDocument(WriteFile("mixed.txt", doc)));
    ASSERT_EQ(r.book.Book.ChunkCount(), 2);
    EXPECT_EQ(r.book.Book.Document().ShownChunk[0],
              r.book.Book.Document().RawChunk[0]); // GB stays as it is
    EXPECT_EQ(*r.book.Book.Document().ShownChunk[1], Big5ToGb(*r.book.Book.Document().RawChunk[1]));
    EXPECT_NE(*r.book.Book.Document().ShownChunk[1], *r.book.Book.Document().RawChunk[1]);
    r.book.Setting.AutoConvert = false;            // now everything is brought to BIG5
    r.book.ItemBIG5Click(r.book.Menus->ItemHangD); // re-paginates only
    r.book.ItemBIG5Click(r.book.Menus->ItemChap);  // re-processes
    r.book.ItemBIG5Click(r.book.Menus->ItemChap);
    EXPECT_EQ(*r.book.Book.Document().ShownChunk[0], GbToBig5(*r.book.Book.Document().RawChunk[0]));
    EXPECT_EQ(r.book.Book.Document().ShownChunk[1], r.book.Book.Document().RawChunk[1]);
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
