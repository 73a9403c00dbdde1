// test-links: mojuan_records
#include "records/LibraryFile.h"
#include "RecentTestSupport.h"
#include "base/FileTest.h"
#include "text/GbkText.h"

#include <unistd.h>

namespace {

using LibraryFormatTest = RecentListFixture;
using LibraryReadingTest = RecentListFixture;
using LibraryGuardTest = RecentListFixture;

TEST(LibraryLineTest, TrimmingRemovesSpacesAndControlCharactersAtBothEnds) {
    EXPECT_EQ(TrimLine("  /书/a.txt\t\r"), "/书/a.txt");
    EXPECT_EQ(TrimLine("\x01/a b.txt\x1f"), "/a b.txt");
    EXPECT_EQ(TrimLine(" \t "), "");
    // Bytes above the space are kept, also the trail bytes of a Chinese character.
    EXPECT_EQ(TrimLine("\xe4\xb9\xa6 "), "\xe4\xb9\xa6");
}

TEST(LibraryLineTest, EveryLineEndCountsAndBlankLinesNameNothing) {
    EXPECT_EQ(ParseLibraryText("/a\r\n\r\n  \r\n/b\n/c\r/d"),
              (std::vector<std::string>{"/a", "/b", "/c", "/d"}));
    EXPECT_EQ(ParseLibraryText("\xEF\xBB\xBF/a\r\n"), std::vector<std::string>{"/a"});
    EXPECT_TRUE(ParseLibraryText("").empty());
}

TEST(LibraryLineTest, GeneratingWritesTheLeastRecentFirst) {
    EXPECT_EQ(LibraryText({"/first", "/second", "/third"}), "/third\r\n/second\r\n/first\r\n");
    EXPECT_EQ(LibraryText({}), "");
}

TEST_F(LibraryFormatTest, AFileOverTheDocumentLimitIsRefusedUnread) {
    const std::string lib = File("huge.blf");
    ASSERT_EQ(::truncate(lib.c_str(), MaxLibraryBytes + 1), 0);
    const LibraryRead read = ReadLibraryFile(lib);
    EXPECT_FALSE(read.Lines);
    EXPECT_EQ(read.Message, InfoMessage("文件 " + lib + " 太大，无法打开。"));
}

TEST_F(LibraryFormatTest, ABinaryFileIsRefusedWithOneWarning) {
    const std::string lib = File("binary.blf", std::string("/a\r\n\0\x01\x02\n/b\n", 10));
    const LibraryRead read = ReadLibraryFile(lib);
    EXPECT_FALSE(read.Lines);
    EXPECT_EQ(read.Message, WarningMessage(OpenFailedText(lib, "这不是书库文件。")));
    EXPECT_FALSE(List.OpenItemFile(lib));
    EXPECT_FALSE(List.LibraryOpened);
}

// Saved as "Unicode" by a Windows editor: UTF-16 with its byte-order mark.
TEST_F(LibraryFormatTest, AUtf16LibraryIsReadAsItsNames) {
    std::string utf16 = "\xFF\xFE";
    for (char16_t unit : std::u16string(u"  /书/红楼梦.txt\r\n/书/水浒传.txt\r\n"))
        utf16 += {static_cast<char>(unit & 0xFF), static_cast<char>(unit >> 8)};
    const LibraryRead read = ReadLibraryFile(File("unicode.blf", utf16));
    EXPECT_EQ(read.Lines, (std::vector<std::string>{"/书/红楼梦.txt", "/书/水浒传.txt"}));
    EXPECT_FALSE(read.Message);
}

TEST_F(LibraryReadingTest, AGeneratedLibraryRestoresTheOrderOfItsList) {
    const std::string first = File("first.txt"), second = File("second.txt"),
                      third = File("third.txt");
    const std::string lib = File("saved.blf", LibraryText({first, second, third}));
    OpenFiles(4, "other");
    EXPECT_TRUE(List.PutBatchOnTop({lib}));
    EXPECT_EQ(List.Items(), (std::vector<std::string>{first, second, third}));
    EXPECT_TRUE(List.LibraryOpened);
}

TEST_F(LibraryReadingTest, WithoutClearingTheEntriesGoInFrontOfTheOldOnes) {
    Setting.ClearRecentOnLibraryOpen = false;
    std::vector<std::string> old = OpenFiles(3, "old"); // old2, old1, old0
    const std::string fresh = File("fresh.txt");
    const std::string lib = File("lib.blf", LibraryText({fresh, old[0]}));
    List.PutBatchOnTop({lib});
    EXPECT_EQ(List.Items(), (std::vector<std::string>{fresh, old[0], old[2], old[1]}));
}

TEST_F(LibraryReadingTest, ALineWithSpacesAndATabNamesTheTrimmedFile) {
    const std::string a = File("a.txt");
    List.OpenItemFile(a);
    const std::string lib = File("lib.blf", "   " + a + "\t\r\n");
    List.PutBatchOnTop({lib});
    EXPECT_EQ(List.Items(), std::vector<std::string>{a});
    EXPECT_TRUE(Prompts.Prompts.empty());
}

TEST_F(LibraryReadingTest, TheLibraryItselfNeverBecomesAnEntry) {
    const std::string a = File("a.txt");
    const std::string lib = File("Lib.BLF", a + "\r\n");
    EXPECT_FALSE(List.OpenItemFile(lib));
    EXPECT_EQ(List.Items(), std::vector<std::string>{a});
    EXPECT_TRUE(List.LibraryOpened);
}

TEST_F(LibraryReadingTest, MissingLinesWarnAndReadingGoesOn) {
    const std::string a = File("a.txt");
    const std::string gone = Dir / "gone.txt";
    const std::string lib = File("lib.blf", gone + "\r\n" + a + "\r\n");
    List.PutBatchOnTop({lib});
    EXPECT_EQ(List.Items(), std::vector<std::string>{a});
    EXPECT_EQ(Warnings(), (std::vector<Prompt>{{Prompt::Warning, MissingFileText(gone)}}));
}

// Thousands of missing lines would stack up thousands of boxes: the first few are shown, then one
// message counts the rest and names the first ten of them.
TEST_F(LibraryReadingTest, ManyMissingLinesEndInOneMessageCountingTheRest) {
    std::string lines;
    std::vector<std::string> gone;
    for (int i = 0; i < 2000; ++i) {
        gone.push_back(Dir / ("gone" + std::to_string(i) + ".txt"));
        lines += gone.back() + "\r\n";
    }
    List.PutBatchOnTop({File("lib.blf", lines)});
    const std::vector<Prompt> warnings = Warnings();
    ASSERT_EQ(warnings.size(), std::size_t(MaxSeparateRefusals + 1));
    EXPECT_EQ(warnings[4].Text, MissingFileText(gone[4]));
    std::string summary = "另有 1995 个文件无法打开，其中前 10 个是：";
    for (int i = 5; i < 15; ++i)
        summary += "\r\n" + gone[i];
    EXPECT_EQ(warnings.back().Text, summary);
}

TEST_F(LibraryReadingTest, NestedLibrariesAreReadWhereTheyStand) {
    const std::string a = File("a.txt"), b = File("b.txt"), c = File("c.txt");
    const std::string inner = File("inner.blf", b + "\r\n");
    const std::string outer = File("outer.blf", a + "\r\n" + inner + "\r\n" + c + "\r\n");
    List.PutBatchOnTop({outer});
    EXPECT_EQ(List.Items(), (std::vector<std::string>{c, b, a}));
}

TEST_F(LibraryReadingTest, ArchiveEntriesOfALibraryGoOnTopUntested) {
    const std::string lib = File("lib.blf", "/gone/set.zip|vol1\\ch01.txt\r\n");
    Setting.ClearRecentOnLibraryOpen = false;
    List.OpenItemFile(lib);
    EXPECT_EQ(List.Items(), std::vector<std::string>{"/gone/set.zip|vol1\\ch01.txt"});
}

TEST_F(LibraryReadingTest, ALibraryWhoseFilesAreAllGoneLeavesTheListAlone) {
    std::vector<std::string> old = OpenFiles(3);
    const auto before = List.Items();
    const std::string lib = File("lib.blf", Dir / "gone1.txt" + "\r\n" + Dir / "gone2.txt");
    EXPECT_FALSE(List.PutBatchOnTop({lib}));
    EXPECT_EQ(List.Items(), before);
}

TEST_F(LibraryReadingTest, ALineRepeatedInTheLibraryCountsOnceForClearing) {
    OpenFiles(3, "old");
    const std::string a = File("a.txt"), b = File("b.txt");
    const std::string lib = File("lib.blf", LibraryText({a, b, a, a}));
    List.PutBatchOnTop({lib});
    EXPECT_EQ(List.Items(), (std::vector<std::string>{a, b}));
    EXPECT_EQ(List.AddedCount, 2);
}

TEST_F(LibraryReadingTest, ClearingForgetsAnOpenDocumentLeftOutOfTheBatch) {
    std::vector<std::string> old = OpenFiles(3, "old");
    List.CurrentIndex = 0;
    const std::string a = File("a.txt");
    const std::string lib = File("lib.blf", a + "\r\n");
    EXPECT_TRUE(List.PutBatchOnTop({lib}));
    EXPECT_EQ(List.Items(), std::vector<std::string>{a});
    EXPECT_EQ(List.CurrentIndex, -1);
}

TEST_F(LibraryGuardTest, ALibraryNamingItselfIsRefusedOnce) {
    const std::string a = File("a.txt");
    const std::string lib = Dir / "self.blf";
    WriteFile(lib, a + "\r\n" + lib + "\r\n");
    List.PutBatchOnTop({lib});
    EXPECT_EQ(List.Items(), std::vector<std::string>{a});
    EXPECT_EQ(Warnings(), (std::vector<Prompt>{
                              {Prompt::Warning, OpenFailedText(lib, LibraryNamesItselfReason)}}));
}

TEST_F(LibraryGuardTest, ALibraryNamingItselfThroughAnotherIsRefused) {
    const std::string a = File("a.txt"), b = File("b.txt");
    const std::string first = Dir / "first.blf", second = Dir / "second.blf";
    // The second names the first by another spelling of the same path.
    const std::string firstAgain = Dir.Path() + "/./first.blf";
    WriteFile(first, a + "\r\n" + second + "\r\n");
    WriteFile(second, firstAgain + "\r\n" + b + "\r\n");
    List.PutBatchOnTop({first});
    EXPECT_EQ(List.Items(), (std::vector<std::string>{b, a}));
    EXPECT_EQ(Warnings(),
              (std::vector<Prompt>{
                  {Prompt::Warning, OpenFailedText(firstAgain, LibraryNamesItselfReason)}}));
}

// Library files written on Chinese Windows are GB text; on this system names are UTF-8.
// 目录 and 小说 in GBK happen to be well-formed UTF-8 too: naming no file as UTF-8, they are
// tried as GBK, also in the archive path of a reference.
TEST_F(LibraryReadingTest, ALineThatNamesNoFileIsTriedAsGbk) {
    const std::string novel = File("红楼梦.txt"), contents = File("目录.txt");
    const std::string set = File("小说.zip");
    const std::string lib =
        File("gb.blf", gbk::FromUtf8(novel + "\r\n" + contents + "\r\n" + set + "|目录.txt\r\n"));
    ASSERT_TRUE(gbk::IsValidUtf8(gbk::FromUtf8(contents)));
    List.OpenItemFile(lib);
    EXPECT_EQ(List.Items(), (std::vector<std::string>{set + "|目录.txt", contents, novel}));
    EXPECT_TRUE(Warnings().empty());
}

// A file whose name is GBK bytes (copied from Windows as it was) is named by those bytes.
TEST_F(LibraryReadingTest, ALineNamingAFileByItsOwnBytesKeepsThem) {
    const std::string gbName = Dir / gbk::FromUtf8("水浒.txt");
    WriteFile(gbName, "text\r\n");
    const std::string lib = File("raw.blf", gbName + "\r\n");
    List.PutBatchOnTop({lib});
    EXPECT_EQ(List.Items(), std::vector<std::string>{gbName});
}

// While the user reads a warning, a second running reader must be able to write the store:
// the warnings of a library's missing lines wait until the list's transaction is over.
TEST_F(LibraryReadingTest, NoTransactionIsHeldWhileAWarningWaits) {
    const std::string a = File("a.txt");
    const std::string lib = File("gone.blf", Dir / "gone.txt" + "\r\n" + a + "\r\n");
    std::vector<bool> otherCouldWrite;
    List.Tell = [&](const UserMessage& message) {
        Prompts.Record(message);
        Registry other(StorePath, {50});
        otherCouldWrite.push_back(other.WriteRegStr(FileKey, "other", "x"));
    };
    List.PutBatchOnTop({lib});
    EXPECT_EQ(Warnings().size(), 1u);
    EXPECT_EQ(otherCouldWrite, std::vector<bool>{true});
    EXPECT_EQ(List.Items(), std::vector<std::string>{a});
}

TEST_F(LibraryGuardTest, TheSameLibraryMayBeReadAgainOnceFinished) {
    const std::string a = File("a.txt");
    const std::string inner = File("inner.blf", a + "\r\n");
    const std::string outer = File("outer.blf", inner + "\r\n" + inner + "\r\n");
    List.PutBatchOnTop({outer});
    EXPECT_EQ(List.Items(), std::vector<std::string>{a});
    EXPECT_TRUE(Warnings().empty());
}

TEST_F(LibraryGuardTest, LibrariesNamingEachOtherManyTimesOverStopAtTheReadLimit) {
    // Thirty levels, each naming the next twice: without a limit, a billion reads.
    const std::string a = File("a.txt");
    for (int level = 0; level < 30; ++level) {
        const std::string next = Dir / ("level" + std::to_string(level + 1) + ".blf");
        WriteFile(Dir / ("level" + std::to_string(level) + ".blf"),
                  level == 29 ? a + "\r\n" : next + "\r\n" + next + "\r\n");
    }
    List.PutBatchOnTop({Dir / "level0.blf"});
    EXPECT_EQ(List.Items(), std::vector<std::string>{a});
    EXPECT_EQ(Warnings().size(), 1u);
    // The limit holds per library opened, not for the whole run.
    Prompts.Prompts.clear();
    List.PutBatchOnTop({Dir / "level25.blf"});
    EXPECT_TRUE(Warnings().empty());
}

} // namespace
