// test-links: mojuan_reader
#include "TestSupport.h"
#include "base/FileTest.h"
#include "base/ReadFailure.h"
#include "reader/OpenBook.h"
#include "reader/OpenFile.h"
#include "reader/TextOptions.h"
#include "reader/TextPasses.h"
#include "text/Chunking.h"
#include "text/Encoding.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <cstring>
#include <fstream>
#include <iconv.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

std::string TempPath(const std::string& name) {
    const char* tmp = std::getenv("TMPDIR");
    return std::string(tmp ? tmp : "/tmp") + "/" + name;
}

std::string WriteFile(const std::string& name, const std::string& bytes) {
    const std::string path = TempPath(name);
    std::ofstream(path, std::ios::binary) << bytes;
    return path;
}

std::string ToUtf8(std::string_view gbk) {
    iconv_t cd = iconv_open("UTF-8", "GBK");
    std::string out(gbk.size() * 2, '\0');
    char* in = const_cast<char*>(gbk.data());
    char* w = out.data();
    std::size_t inLeft = gbk.size(), outLeft = out.size();
    iconv(cd, &in, &inLeft, &w, &outLeft);
    iconv_close(cd);
    out.resize(out.size() - outLeft);
    return out;
}

std::vector<std::string> Bytes(const std::vector<Chunk>& chunks) {
    std::vector<std::string> bytes;
    for (const Chunk& c : chunks)
        bytes.push_back(c->String());
    return bytes;
}

struct Opened {
    NoProgress Progress;
    OpenedFile File;
    std::optional<std::vector<Chunk>>& Chunks = File.Chunks;
    std::string Path;
    explicit Opened(const std::string& path) : File(OpenFile(path, Progress)), Path(path) {}
};

// A UTF-8 novel of several chunks is cut exactly as its GBK file is, so that pages, bookmarks
// and search positions agree whichever file the reader opened.
TEST(ReadingChunksTest, Utf8NovelGivesTheChunksOfItsGbkFile) {
    const std::string gbk = testsupport::BuildDocument("hongloumeng.gbk.txt", 1200000);
    Opened fromGbk(WriteFile("novel.gbk.txt", gbk));
    Opened fromUtf8(WriteFile("novel.utf8.txt", ToUtf8(gbk)));
    ASSERT_TRUE(fromGbk.Chunks && fromUtf8.Chunks);
    EXPECT_EQ(fromUtf8.Chunks->size(), 5u);
    EXPECT_TRUE(Bytes(*fromUtf8.Chunks) == Bytes(*fromGbk.Chunks));
    EXPECT_FALSE(fromUtf8.File.Message);
}

// Reading chunk by chunk cuts exactly where cutting the whole text does.
TEST(ReadingChunksTest, AFileIsCutAsItsWholeTextIs) {
    const std::string novel = testsupport::BuildDocument("hongloumeng.gbk.txt", 1'000'003);
    Opened opened(WriteFile("novel.txt", novel));
    ASSERT_TRUE(opened.Chunks);
    const std::vector<std::string_view> whole = CutChunks(novel);
    EXPECT_EQ(Bytes(*opened.Chunks), std::vector<std::string>(whole.begin(), whole.end()));
}

// The bytes of the mapping that holds `address` that are in this process's memory now.
std::size_t ResidentBytesAt(const void* address) {
    std::ifstream smaps("/proc/self/smaps");
    const auto at = reinterpret_cast<std::uintptr_t>(address);
    std::string line;
    bool inside = false;
    while (std::getline(smaps, line)) {
        std::uintptr_t from = 0, to = 0;
        if (std::sscanf(line.c_str(), "%lx-%lx ", &from, &to) == 2)
            inside = from <= at && at < to;
        else if (inside && line.rfind("Rss:", 0) == 0)
            return std::stoul(line.substr(4)) * 1024;
    }
    return 0;
}

// A plain file's text is read through a mapping, and every scan over the whole book (reading,
// line ends, pagination, chapters, search) lets each chunk go when it is done with it: little
// of the book stays in memory, and its bytes read the same after.
TEST(ReadingChunksTest, TheWholeBookScannedLeavesLittleOfAMappedFileInMemory) {
    const std::string novel = testsupport::BuildDocument("hongloumeng.gbk.txt", 5'000'000);
    Opened opened(WriteFile("novel.txt", novel));
    ASSERT_TRUE(opened.Chunks);
    const void* mapped = opened.Chunks->front()->data();
    OpenBook book(opened.Progress);
    book.Open(opened.Path, std::move(*opened.Chunks), TextOptions{});
    FixedWidthMeasurer measurer;
    CharWidthCache widths(measurer);
    const auto little = [&] { return ResidentBytesAt(mapped) < novel.size() / 4; };
    EXPECT_TRUE(little()) << "after reading and the line ends";
    book.SetPageFormat({200, 240, 48, false, PunctuationRule::Basic}, widths);
    EXPECT_GT(book.PageCount(), 1000);
    EXPECT_TRUE(little()) << "after pagination";
    EXPECT_FALSE(book.Chapters().empty());
    EXPECT_TRUE(little()) << "after the chapters";
    EXPECT_FALSE(book.Search("\xFF\xFF", false, false)); // no such text: every chunk searched
    EXPECT_TRUE(little()) << "after a search";
    std::string text;
    for (const Chunk& chunk : book.Document().ShownChunk)
        text += chunk->String();
    EXPECT_TRUE(text == novel);
}

// Another program shortening the file under the mapping does not end the reader: what is gone
// reads as zeros, and the mapping says it is damaged.
TEST(ReadingChunksTest, AFileShortenedUnderItsMappingReadsAsZeros) {
    const std::string path = WriteFile("shortened.txt", std::string(100000, 'a'));
    Opened opened(path);
    ASSERT_TRUE(opened.Chunks);
    ASSERT_EQ(::truncate(path.c_str(), 10), 0);
    const Chunk& chunk = opened.Chunks->front();
    EXPECT_EQ((*chunk)[99999], '\0');
    EXPECT_EQ(std::count(chunk->begin(), chunk->end(), 'a'), 0);
}

// A plain file's chunks go through line-end repair and the passes uncopied, and a pass copies
// only the chunk it changes.
TEST(ReadingChunksTest, ShownChunksShareTheReadBytesUntilAPassChangesThem) {
    const std::string gbk = testsupport::BuildDocument("hongloumeng.gbk.txt", 700000);
    Opened opened(WriteFile("novel.txt", gbk));
    ASSERT_TRUE(opened.Chunks);

    std::vector<Chunk> chunks = *opened.Chunks;
    chunks[1] = MakeChunk("\xB1\xFB<b>\xB6\xA1</b>\r\n"); // 丙<b>丁</b>: HTML only here
    DocumentStore store;
    store.SetChunks(chunks);
    NoProgress progress;
    Init_Text(store, progress);
    TextOptions html;
    html.ProcessHtml = true;
    Init_Page_Do(store, html, progress);
    for (std::size_t k = 0; k < chunks.size(); ++k) {
        EXPECT_EQ(store.RawChunk[k], chunks[k]) << k; // no lone line ends: not copied
        EXPECT_EQ(store.ShownChunk[k] == store.RawChunk[k], k != 1) << k;
    }
    Init_Page_Do(store, TextOptions{}, progress);
    EXPECT_TRUE(store.ShownChunk == store.RawChunk);
}

// The limit counts the file's bytes: a UTF-8 file just over it is refused although its GBK
// text would fit, and one at the limit opens in fewer chunks.
TEST(ReadingChunksTest, SizeLimitHoldsForTheFilesBytes) {
    const std::string zhong = "\xE4\xB8\xAD"; // 中
    std::string atLimit;
    atLimit.reserve(MaxDocumentBytes + 1);
    while (atLimit.size() + 3 <= MaxDocumentBytes)
        atLimit += zhong;
    atLimit.resize(MaxDocumentBytes, 'a');
    {
        Opened opened(WriteFile("limit.txt", atLimit));
        ASSERT_TRUE(opened.Chunks);
        EXPECT_EQ(opened.Chunks->size(), 60u); // 14833333 characters of two bytes, and 'a'
    }
    Opened over(WriteFile("over.txt", atLimit + "a"));
    EXPECT_FALSE(over.Chunks);
    ASSERT_TRUE(over.File.Message);
    EXPECT_EQ(*over.File.Message, InfoMessage(TooLargeText(over.Path)));
}

// The pandoc chapter, opened and processed as the reader does for an .html file, shows the
// chapter's text in GBK and none of its style sheet.
TEST(ReadingChunksTest, PandocChapterShowsItsTextWithoutStyles) {
    Opened opened(testsupport::TestDataPath("encoding/xiyouji.html"));
    ASSERT_TRUE(opened.Chunks);
    DocumentStore store;
    store.SetChunks(std::move(*opened.Chunks));
    TextOptions passes;
    passes.ProcessHtml = true;
    NoProgress progress;
    Init_Text(store, progress);
    Init_Page_Do(store, passes, progress);
    const std::string shown = store.ShownChunk[0]->String();
    EXPECT_NE(shown.find("\xCE\xF7\xD3\xCE\xBC\xC7"), std::string::npos);         // 西游记
    EXPECT_NE(shown.find("\xBB\xEC\xE3\xE7\xCE\xB4\xB7\xD6"), std::string::npos); // 混沌未分
    EXPECT_EQ(shown.find("font-family"), std::string::npos);
    EXPECT_EQ(shown.find('{'), std::string::npos);
}

TEST(ReadingChunksTest, ChineseReasonsForCommonReadFailures) {
    EXPECT_EQ(ReadFailureReason(EACCES), "没有读取这个文件的权限。");
    EXPECT_EQ(ReadFailureReason(EPERM), "没有读取这个文件的权限。");
    EXPECT_EQ(ReadFailureReason(ENOENT), "请检查文件是否存在。");
    EXPECT_EQ(ReadFailureReason(EISDIR), "这是一个文件夹，不是文件。");
    EXPECT_EQ(ReadFailureReason(EIO), "磁盘读写错误，请检查磁盘是否损坏。");
    EXPECT_EQ(ReadFailureReason(ENOMEM), std::strerror(ENOMEM));
}

TEST(ReadingChunksTest, UnreadableFileIsRefusedWithAChineseReason) {
    if (geteuid() == 0)
        GTEST_SKIP() << "permission bits do not stop root";
    const std::string path = WriteFile("locked.txt", "text");
    ASSERT_EQ(chmod(path.c_str(), 0), 0);
    Opened opened(path);
    EXPECT_FALSE(opened.Chunks);
    EXPECT_EQ(opened.File.Message,
              WarningMessage("打开文件 " + path + " 失败！\r\n没有读取这个文件的权限。"));
}

// A pipe or a device exists, so it is refused as no regular file, and never read: a pipe
// without a writer would wait for ever, /dev/zero would never end.
TEST(ReadingChunksTest, PipesAndDevicesAreRefusedAsNoRegularFile) {
    const std::string fifo = TempPath("pipe.txt");
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    for (const std::string& path : {fifo, std::string("/dev/zero"), std::string("/dev/urandom")}) {
        const std::string refusal = "打开文件 " + path + " 失败！\r\n" + NotRegularFileReason;
        EXPECT_EQ(MissingFileWarning(path), WarningMessage(refusal));
        Opened opened(path);
        EXPECT_FALSE(opened.Chunks);
        EXPECT_EQ(opened.File.Message, WarningMessage(refusal));
    }
    unlink(fifo.c_str());
}

} // namespace
