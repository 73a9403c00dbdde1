// test-links: mojuan_reader mojuan_records
#include "ReadOnlyPath.h"
#include "RecordingPrompter.h"
#include "StoreTestSupport.h"
#include "TestSupport.h"
#include "base/AtomicFile.h"
#include "reader/OpenBook.h"
#include "reader/OpenFile.h"
#include "reader/SaveText.h"
#include "reader/TextPasses.h"
#include "records/LibraryFile.h"
#include "text/Gb2Big5.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <filesystem>
#include <sys/file.h>
#include <sys/stat.h>

namespace {

struct RecordingProgress : ProgressWindow {
    std::vector<std::string> Calls;
    void InitShowMess(int min, int max, const std::string& text) override {
        Calls.push_back("init " + std::to_string(min) + " " + std::to_string(max) + " " + text);
    }
    void ShowMessPos(int position) override { Calls.push_back("pos " + std::to_string(position)); }
    void CloseShowMess() override { Calls.push_back("close"); }
};

std::vector<std::string> FolderNames(const std::string& folder) {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

TEST(SaveFilesTest, ConvertedBig5DocumentIsSavedAsGbBytesChunkByChunk) {
    ScratchDir dir;
    RecordingPrompter prompter;
    ScopedPrompter scope(prompter);
    NoProgress quiet;
    const std::string big5 = testsupport::BuildDocument("shuihu.big5.txt", 600000);
    WriteFile(dir / "big5.txt", big5);
    DocumentStore store;
    store.SetChunks(*OpenFile(dir / "big5.txt", quiet).Chunks);
    Init_Text(store, quiet);
    TextOptions options;
    options.ConvertBig5 = true;
    Init_Page_Do(store, options, quiet);
    ASSERT_EQ(store.ChunkCount, 3);

    RecordingProgress progress;
    EXPECT_FALSE(SaveDocumentText(store, dir / "out.txt", progress));
    EXPECT_EQ(progress.Calls,
              (std::vector<std::string>{"init 0 3 保存文件", "pos 1", "pos 2", "pos 3", "close"}));
    std::string expected;
    for (const Chunk& chunk : store.ShownChunk)
        expected += *chunk;
    const std::string saved = testsupport::ReadFileBytes(dir / "out.txt");
    EXPECT_EQ(saved, expected);
    EXPECT_EQ(saved.substr(0, 2000), Big5ToGb(big5.substr(0, 2000)).substr(0, 2000));
    EXPECT_EQ(FolderNames(dir.Path()), (std::vector<std::string>{"big5.txt", "out.txt"}));
}

TEST(SaveFilesTest, ARefusedSaveLeavesTheOldFileWholeAndSaysWhy) {
    ScratchDir dir;
    NoProgress quiet;
    DocumentStore store;
    store.SetChunks({MakeChunk("new text\r\n")});
    const auto failed = [&](const std::string& path, const std::string& reason) {
        return WarningMessage("保存文件 " + path + " 失败！\r\n请检查磁盘是否错误。\r\n" + reason);
    };
    WriteFile(dir / "old.txt", "old text");
    std::filesystem::permissions(dir / "old.txt", std::filesystem::perms(0444));
    EXPECT_EQ(SaveDocumentText(store, dir / "old.txt", quiet),
              failed(dir / "old.txt", "没有写入的权限，或者文件是只读的。"));
    EXPECT_EQ(testsupport::ReadFileBytes(dir / "old.txt"), "old text");
    EXPECT_EQ(SaveDocumentText(store, dir / "none/new.txt", quiet),
              failed(dir / "none/new.txt", "文件夹不存在。"));
    std::filesystem::create_directory(dir / "folder.txt");
    EXPECT_EQ(SaveDocumentText(store, dir / "folder.txt", quiet),
              failed(dir / "folder.txt", "这是一个文件夹，不是文件。"));
    ASSERT_EQ(::mkfifo((dir / "pipe.txt").c_str(), 0600), 0);
    EXPECT_EQ(SaveDocumentText(store, dir / "pipe.txt", quiet),
              failed(dir / "pipe.txt", "这不是一个普通文件。"));
    EXPECT_EQ(FolderNames(dir.Path()),
              (std::vector<std::string>{"folder.txt", "old.txt", "pipe.txt"}));
}

TEST(SaveFilesTest, AFileThatCannotBeReplacedIsWrittenInPlace) {
    ScratchDir dir;
    std::filesystem::create_directory(dir / "shelf");
    WriteFile(dir / "shelf/a.txt", "a much longer old text");
    std::filesystem::create_hard_link(dir / "shelf/a.txt", dir / "b.txt");
    EXPECT_EQ(WriteWholeFile(dir / "shelf/a.txt", {"ne", "w"}), 0);
    EXPECT_EQ(testsupport::ReadFileBytes(dir / "b.txt"), "new") << "the other link keeps up";
    ReadOnlyPath locked(dir / "shelf");
    if (!locked.Active())
        GTEST_SKIP() << "cannot make a folder read-only here";
    EXPECT_EQ(WriteWholeFile(dir / "b.txt", {"newer"}), 0);
    EXPECT_EQ(WriteWholeFile(dir / "shelf/a.txt", {"newest"}), 0) << "no temporary file there";
    EXPECT_EQ(testsupport::ReadFileBytes(dir / "b.txt"), "newest");
    EXPECT_EQ(FolderNames(dir / "shelf"), (std::vector<std::string>{"a.txt"}));
}

// A book saved over its own file in place (the file has a second name) keeps the text it shows,
// though its chunks were read straight from that file.
TEST(SaveFilesTest, ABookSavedInPlaceOverItsOwnFileKeepsItsText) {
    ScratchDir dir;
    const std::string tail = testsupport::BuildDocument("hongloumeng.gbk.txt", 600000);
    WriteFile(dir / "a.txt", "<b>\xB1\xFB</b>\r\n" + tail); // 丙 in bold, then the novel
    std::filesystem::create_hard_link(dir / "a.txt", dir / "b.txt");
    NoProgress progress;
    OpenedFile opened = OpenFile(dir / "a.txt", progress);
    ASSERT_TRUE(opened.Chunks);
    OpenBook book(progress);
    TextOptions html;
    html.ProcessHtml = true;
    book.Open(dir / "a.txt", std::move(*opened.Chunks), html);
    std::string shown;
    for (const Chunk& chunk : book.Document().ShownChunk)
        shown += chunk->String();
    ASSERT_LT(shown.size(), tail.size() + 9) << "the tags are gone: every later byte moves";
    ASSERT_FALSE(book.SaveText(dir / "a.txt"));
    EXPECT_TRUE(testsupport::ReadFileBytes(dir / "b.txt") == shown);
    ASSERT_FALSE(book.SaveText(dir / "a.txt"));
    EXPECT_TRUE(testsupport::ReadFileBytes(dir / "a.txt") == shown) << "the book's text held";
}

TEST(SaveFilesTest, TemporaryFilesOfSavesThatNeverEndedAreRemovedByTheNext) {
    ScratchDir dir;
    // Left by a killed save, one being written by another save (locked), and a user's files.
    for (const char* name : {".a.txt.mojuan-Ab12yZ", ".b.txt.mojuan-Cd34xY", "a.txt.mojuan-Ab12yZ",
                             ".a.txt.mojuan-Ab12y"})
        WriteFile(dir / name, "x");
    const int busy = ::open((dir / ".b.txt.mojuan-Cd34xY").c_str(), O_RDONLY);
    ASSERT_EQ(::flock(busy, LOCK_EX), 0);
    EXPECT_EQ(WriteWholeFile(dir / "a.txt", {"text"}), 0);
    ::close(busy);
    EXPECT_EQ(FolderNames(dir.Path()),
              (std::vector<std::string>{".a.txt.mojuan-Ab12y", ".b.txt.mojuan-Cd34xY", "a.txt",
                                        "a.txt.mojuan-Ab12yZ"}));
}

TEST(SaveFilesTest, ReplacingKeepsTheModeAndWritesThroughALink) {
    ScratchDir dir;
    WriteFile(dir / "a.txt", "old");
    std::filesystem::permissions(dir / "a.txt", std::filesystem::perms(0640));
    std::filesystem::create_symlink(dir / "a.txt", dir / "link.txt");
    EXPECT_EQ(WriteWholeFile(dir / "link.txt", {"ne", "w"}), 0);
    EXPECT_TRUE(std::filesystem::is_symlink(dir / "link.txt"));
    EXPECT_EQ(testsupport::ReadFileBytes(dir / "a.txt"), "new");
    EXPECT_EQ(std::filesystem::status(dir / "a.txt").permissions(), std::filesystem::perms(0640));
}

TEST(SaveFilesTest, ThreeEntryLibraryIsWrittenLeastRecentFirstAndReadBackInOrder) {
    ScratchDir dir;
    const std::vector<std::string> list = {"/books/first.txt", "/books/set.zip|卷一\\二.txt",
                                           "/books/third.txt"};
    std::vector<int> lines;
    EXPECT_FALSE(WriteLibraryFile(dir / "shelf.blf", list, [&](int k) { lines.push_back(k); }));
    EXPECT_EQ(lines, (std::vector<int>{1, 2, 3}));
    EXPECT_EQ(testsupport::ReadFileBytes(dir / "shelf.blf"),
              "/books/third.txt\r\n/books/set.zip|卷一\\二.txt\r\n/books/first.txt\r\n");
    const LibraryRead read = ReadLibraryFile(dir / "shelf.blf");
    ASSERT_TRUE(read.Lines);
    EXPECT_EQ(*read.Lines,
              (std::vector<std::string>{"/books/third.txt", "/books/set.zip|卷一\\二.txt",
                                        "/books/first.txt"}));
    EXPECT_EQ(WriteLibraryFile(dir / "none/shelf.blf", list),
              WarningMessage("生成书库文件 " + (dir / "none/shelf.blf") +
                             " 失败！\r\n请检查磁盘是否错误。\r\n文件夹不存在。"));
}

} // namespace
