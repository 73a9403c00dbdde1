// test-links: mojuan_records
#include "RecentTestSupport.h"
#include "base/FileTest.h"
#include "records/ChapterRecord.h"

#include <unistd.h>

namespace {

using RecentListSlotsTest = RecentListFixture;
using RecentListEntriesTest = RecentListFixture;
using RecentListCurrentTest = RecentListFixture;
using RecentListOpenTest = RecentListFixture;
using RecentListReopenTest = RecentListFixture;

TEST_F(RecentListSlotsTest, AThenBThenCThenAGivesTheDocumentedSlots) {
    const std::string a = File("A"), b = File("B"), c = File("C");
    for (const std::string& name : {a, b, c, a})
        EXPECT_TRUE(List.OpenItemFile(name));
    EXPECT_EQ(Slot(0), 49);
    EXPECT_EQ(Slot(1), 47);
    EXPECT_EQ(Slot(2), 48);
    for (int p = 3; p < MaxRecentFiles; ++p)
        EXPECT_EQ(Slot(p), p - 3) << p;
    EXPECT_EQ(Text(49), a);
    EXPECT_EQ(Text(48), b);
    EXPECT_EQ(Text(47), c);
    EXPECT_EQ(Captions(), (std::vector<std::string>{"1) " + a, "2) " + c, "3) " + b}));
}

TEST_F(RecentListSlotsTest, AStartReadsTheListBackInItsOrder) {
    const std::string a = File("A"), b = File("B"), c = File("C");
    for (const std::string& name : {a, b, c, a})
        List.OpenItemFile(name);
    RecentList again(Reg, Setting);
    again.Load();
    EXPECT_EQ(again.Items(), (std::vector<std::string>{a, c, b}));
    EXPECT_EQ(again.OrderSlots(), List.OrderSlots());
}

TEST_F(RecentListSlotsTest, FiftyOneFilesKeepTheLastFiftyAndHandOnTheFirstIndex) {
    std::vector<std::string> paths = OpenFiles(50);
    EXPECT_EQ(List.StorageIndex(49), 49); // the first file's index, now least recent
    SetBookmark(49, 0, 12, "第12页");
    const std::string last = File("f50.txt");
    EXPECT_TRUE(List.OpenItemFile(last));

    ASSERT_EQ(List.Count(), 50);
    for (int p = 0; p < 50; ++p)
        EXPECT_EQ(List.GetIndexFilename(p), p == 0 ? last : paths[50 - p]) << p;
    EXPECT_EQ(List.Find(paths[0]), -1);
    EXPECT_EQ(List.StorageIndex(0), 49);
    EXPECT_EQ(Text(49), last);
    EXPECT_EQ(BookmarkPage(49, 0), 0);
    ExpectSlotsArePermutation();
}

// Opening the entry already on top (a start with the same document on the command line) changes
// nothing, so it writes nothing: no wait for the disk or for another instance that is writing.
TEST_F(RecentListSlotsTest, ReopeningTheTopEntryWritesNothing) {
    const std::string a = File("A"), b = File("B");
    List.OpenItemFile(a);
    List.OpenItemFile(b);
    SetBookmark(List.StorageIndex(0), 0, 12, "第12页");
    const auto slots = List.OrderSlots();
    {
        StoreWriter other(StorePath);
        ASSERT_TRUE(other.Locked);
        EXPECT_TRUE(List.OpenItemFile(b));
    }
    EXPECT_FALSE(Reg.HadFailure());
    EXPECT_EQ(List.Items(), (std::vector<std::string>{b, a}));
    EXPECT_EQ(List.OrderSlots(), slots);
    EXPECT_EQ(BookmarkPage(List.StorageIndex(0), 0), 12);
    Setting.ClearBookmarksOnReopen = true;
    EXPECT_TRUE(List.OpenItemFile(b));
    EXPECT_EQ(BookmarkPage(List.StorageIndex(0), 0), 0);
    EXPECT_EQ(List.OrderSlots(), slots);
}

TEST_F(RecentListSlotsTest, SlotsStayAPermutationThroughMovesAndRemovals) {
    std::vector<std::string> paths = OpenFiles(12);
    List.OpenItemFile(paths[3]);
    List.DeleteNewItem(5);
    List.DeleteNewItem(0);
    List.OpenItemFile(paths[7]);
    List.OpenItemFile(File("new.txt"));
    ExpectSlotsArePermutation();
    RecentList again(Reg, Setting);
    again.Load();
    EXPECT_EQ(again.Items(), List.Items());
}

// One empty text hides none of the entries after it; its storage index goes behind them.
TEST_F(RecentListSlotsTest, LoadingSkipsAnEmptyText) {
    std::vector<std::string> paths = OpenFiles(4);
    const int emptied = List.StorageIndex(2);
    Reg.WriteRegStr(FileKey, "最新文件" + std::to_string(emptied), "");
    RecentList again(Reg, Setting);
    again.Load();
    EXPECT_EQ(again.Items(), (std::vector<std::string>{paths[3], paths[2], paths[0]}));
    EXPECT_EQ(Slot(3), emptied);
    ExpectSlotsArePermutation(again);
}

// Another process holds the store: the list keeps its change in memory and writes it once the
// store is free, so the store never gets slots that point at a text it does not hold.
TEST_F(RecentListSlotsTest, AChangeWhileTheStoreIsHeldIsWrittenWhenItFrees) {
    std::vector<std::string> paths = OpenFiles(3);
    const std::string d = File("d.txt");
    {
        StoreLock other(StorePath);
        ASSERT_TRUE(other.Locked);
        EXPECT_TRUE(List.OpenItemFile(d));
        EXPECT_TRUE(List.HasPendingWrite());
    }
    EXPECT_FALSE(Reg.HadFailure());
    EXPECT_EQ(List.GetIndexFilename(0), d);
    EXPECT_TRUE(List.RetryPendingWrite());
    EXPECT_FALSE(List.HasPendingWrite());
    RecentList again(Reg, Setting);
    again.Load();
    EXPECT_EQ(again.Items(), (std::vector<std::string>{d, paths[2], paths[1], paths[0]}));
    ExpectSlotsArePermutation();
}

// Two readers on one store: each write builds on what the other wrote, so neither reuses the
// storage index the other gave its document, and no entry is lost.
TEST_F(RecentListSlotsTest, TwoListsOnOneStoreNeverCrossTheirEntries) {
    Registry otherReg{StorePath, {200}};
    RecentList other(otherReg, Setting);
    other.Load();
    const std::string a = File("a.txt"), b = File("b.txt"), c = File("c.txt");
    List.OpenItemFile(a);
    other.OpenItemFile(b);
    SetBookmark(other.StorageIndex(0), 0, 7, "第7页");
    List.OpenItemFile(c);
    EXPECT_EQ(List.Items(), (std::vector<std::string>{c, b, a}));
    EXPECT_NE(List.StorageIndex(0), other.StorageIndex(0));
    EXPECT_EQ(BookmarkPage(List.StorageIndex(1), 0), 7);
    ExpectSlotsArePermutation();
}

TEST_F(RecentListSlotsTest, DamagedSlotsAreRepairedIntoAPermutation) {
    std::vector<std::string> paths = OpenFiles(3);
    Reg.WriteRegStr(FileKey, "最新文件顺序1", "abc");
    Reg.WriteRegInt(FileKey, "最新文件顺序2", List.StorageIndex(0)); // a duplicate
    Reg.WriteRegInt(FileKey, "最新文件顺序7", 400);
    List.Load();
    ExpectSlotsArePermutation();
    EXPECT_EQ(List.GetIndexFilename(0), paths[2]);
}

TEST_F(RecentListSlotsTest, MissingSlotZeroWritesTheFiftySlotsAfresh) {
    Reg.EraseRegKey(FileKey);
    List.Load();
    for (int p = 0; p < MaxRecentFiles; ++p)
        EXPECT_EQ(Slot(p), p);
    EXPECT_EQ(List.Count(), 0);
}

TEST_F(RecentListEntriesTest, ReopeningPositionSevenMovesItUpWithItsBookmarks) {
    std::vector<std::string> paths = OpenFiles(12);
    const std::vector<std::string> before = List.Items();
    const int s = List.StorageIndex(7);
    SetBookmark(s, 0, 21, "第21页");
    EXPECT_TRUE(List.OpenItemFile(before[7]));

    EXPECT_EQ(List.GetIndexFilename(0), before[7]);
    for (int p = 0; p < 7; ++p)
        EXPECT_EQ(List.GetIndexFilename(p + 1), before[p]);
    for (int p = 8; p < 12; ++p)
        EXPECT_EQ(List.GetIndexFilename(p), before[p]);
    EXPECT_EQ(List.StorageIndex(0), s);
    EXPECT_EQ(BookmarkPage(s, 0), 21);
    ExpectSlotsArePermutation();
}

TEST_F(RecentListEntriesTest, TheChosenEncodingStaysWithItsDocumentUntilItsIndexIsReused) {
    std::vector<std::string> paths = OpenFiles(MaxRecentFiles);
    List.SetEncodingOf(7, "BIG5");
    const int s = List.StorageIndex(7);
    EXPECT_EQ(Reg.ReadRegStr(FileKey, "文字编码" + std::to_string(s), ""), "BIG5");
    EXPECT_TRUE(List.OpenItemFile(paths[MaxRecentFiles - 1 - 7]));
    EXPECT_EQ(List.EncodingOf(0), "BIG5");
    EXPECT_EQ(List.EncodingOf(1), "");
    // The last entry's index goes to a new document, without the old one's choice.
    List.SetEncodingOf(MaxRecentFiles - 1, "UTF-16LE");
    const int last = List.StorageIndex(MaxRecentFiles - 1);
    WriteChapterPattern(Reg, last, "^卷");
    WriteLastChapter(Reg, last, "第五回");
    EXPECT_TRUE(List.OpenItemFile(File("new.txt")));
    EXPECT_EQ(List.StorageIndex(0), last);
    EXPECT_EQ(List.EncodingOf(0), "");
    // So do its chapter pattern and the chapter where reading stopped.
    EXPECT_EQ(ReadChapterPattern(Reg, last), "");
    EXPECT_EQ(ReadLastChapter(Reg, last), "");
    EXPECT_EQ(CaptionWithChapter("1) 红楼梦.txt", "第五回　游幻境"), "1) 红楼梦.txt — 第五回");
    EXPECT_EQ(CaptionWithChapter("1) 红楼梦.txt", ""), "1) 红楼梦.txt");
}

TEST_F(RecentListEntriesTest, ClearBookmarksOnReopenClearsThemWhenMovedUp) {
    std::vector<std::string> paths = OpenFiles(10);
    const int s = List.StorageIndex(7);
    SetBookmark(s, 0, 21, "第21页");
    SetBookmark(s, 19, 40, "第40页");
    Setting.ClearBookmarksOnReopen = true;
    List.OpenItemFile(List.GetIndexFilename(7));
    EXPECT_EQ(BookmarkPage(s, 0), 0);
    EXPECT_EQ(BookmarkPage(s, 19), 0);
    EXPECT_EQ(Reg.ReadRegStr(LabelKey, std::to_string(s) + "书签说明0", "?"), "");
}

TEST_F(RecentListEntriesTest, NamesDifferingInCaseAreTwoFilesHere) {
    const std::string upper = File("A.TXT"), lower = File("a.txt");
    List.OpenItemFile(upper);
    List.OpenItemFile(lower);
    EXPECT_EQ(List.Items(), (std::vector<std::string>{lower, upper}));
}

// On a file system that ignores case both names open one file; a link stands in for one here.
TEST_F(RecentListEntriesTest, NamesDifferingInCaseForOneFileAreOneEntryInTheLatestCase) {
    const std::string lower = File("a.txt");
    const std::string upper = Dir / "A.TXT";
    ASSERT_EQ(::symlink(lower.c_str(), upper.c_str()), 0);
    List.OpenItemFile(upper);
    const int s = List.StorageIndex(0);
    List.OpenItemFile(File("other.txt"));
    List.OpenItemFile(lower);
    EXPECT_EQ(List.Items(), (std::vector<std::string>{lower, Dir / "other.txt"}));
    EXPECT_EQ(List.StorageIndex(0), s);
}

TEST_F(RecentListEntriesTest, AMissingFileIsRefusedWithItsWarning) {
    OpenFiles(2);
    const auto before = List.Items();
    const std::string missing = Dir / "gone.txt";
    EXPECT_FALSE(List.OpenItemFile(missing));
    EXPECT_EQ(List.Items(), before);
    EXPECT_EQ(Warnings(), (std::vector<Prompt>{{Prompt::Warning, MissingFileText(missing)}}));
    EXPECT_EQ(MissingFileText(missing), "打开文件 " + missing + " 失败！\r\n请检查文件是否存在。");
}

TEST_F(RecentListEntriesTest, AFolderIsNoFile) {
    EXPECT_FALSE(List.OpenItemFile(Dir.Path()));
    EXPECT_EQ(List.Count(), 0);
}

TEST_F(RecentListEntriesTest, ArchiveEntriesGoOnTopUntested) {
    EXPECT_TRUE(List.OpenItemFile("/nowhere/x.zip|a\\b.txt"));
    EXPECT_EQ(List.GetIndexFilename(0), "/nowhere/x.zip|a\\b.txt");
    EXPECT_TRUE(Prompts.Prompts.empty());
}

TEST_F(RecentListEntriesTest, AFileWithABarInItsNameIsAPlainFile) {
    const std::string odd = File("a|b.txt");
    EXPECT_TRUE(List.OpenItemFile(odd));
    EXPECT_FALSE(IsArchiveEntry(odd));
    const RecentReference ref = *List.Reference(0);
    EXPECT_EQ(ref.Text, odd);
    EXPECT_FALSE(ref.InArchive());
}

TEST_F(RecentListEntriesTest, RemovingPositionThreeOfTenRenumbersTheRest) {
    std::vector<std::string> paths = OpenFiles(10);
    const std::string fourth = List.GetIndexFilename(4);
    const int freed = List.StorageIndex(3);
    int changes = 0;
    List.Changed = [&] { ++changes; };
    List.DeleteNewItem(3);
    EXPECT_EQ(changes, 1);
    EXPECT_EQ(List.Count(), 9);
    EXPECT_EQ(List.GetIndexFilename(3), fourth);
    EXPECT_EQ(List.Caption(3), "4) " + fourth);
    EXPECT_EQ(Slot(9), freed);
    EXPECT_EQ(Text(freed), "");
    ExpectSlotsArePermutation();
}

TEST_F(RecentListEntriesTest, RemovingBeyondTheLastEntryDoesNothing) {
    OpenFiles(3);
    const auto slots = List.OrderSlots();
    List.DeleteNewItem(3);
    List.DeleteNewItem(-1);
    EXPECT_EQ(List.Count(), 3);
    EXPECT_EQ(List.OrderSlots(), slots);
}

TEST_F(RecentListEntriesTest, CaptionsCarryNoAcceleratorCharacters) {
    const std::string name = File("R&D 报告.txt");
    List.OpenItemFile(name);
    EXPECT_EQ(List.Caption(0), "1) " + name);
    EXPECT_EQ(RecentCaption(11, "D:\\books\\set.zip|part1\\ch01.txt"),
              "12) D:\\books\\set.zip|part1\\ch01.txt");
    EXPECT_EQ(List.GetIndexFilename(0), name);
}

TEST_F(RecentListCurrentTest, TheOpenDocumentKeepsItsPositionThroughChanges) {
    std::vector<std::string> paths = OpenFiles(10);
    List.CurrentIndex = 3;
    List.OpenItemFile(File("new.txt"));
    EXPECT_EQ(List.CurrentIndex, 4);
    List.OpenItemFile(List.GetIndexFilename(6)); // from below the open one: it moves down
    EXPECT_EQ(List.CurrentIndex, 5);
    List.OpenItemFile(List.GetIndexFilename(1)); // from above it: it stays in place
    EXPECT_EQ(List.CurrentIndex, 5);
    List.OpenItemFile(List.GetIndexFilename(5)); // itself: it moves to the top
    EXPECT_EQ(List.CurrentIndex, 0);
}

TEST_F(RecentListCurrentTest, AnOpenDocumentPushedOutOfAFullListHasNoEntry) {
    OpenFiles(50);
    List.CurrentIndex = 49;
    List.OpenItemFile(File("new.txt"));
    EXPECT_EQ(List.CurrentIndex, -1);
}

TEST_F(RecentListCurrentTest, ANewEntryIsNotTheOpenDocument) {
    OpenFiles(3);
    List.CurrentIndex = -1;
    List.OpenItemFile(File("new.txt"));
    EXPECT_EQ(List.CurrentIndex, -1);
    EXPECT_EQ(List.DefaultItem(), -1);
}

TEST_F(RecentListOpenTest, AnEntryOpensInPlaceOrWithReorderRecentOnTop) {
    OpenFiles(8);
    const auto before = List.Items();
    EXPECT_EQ(List.TakeForOpening(5, before[5], ""), 5);
    EXPECT_EQ(List.Items(), before);
    List.RecordOpened(5);
    EXPECT_EQ(List.DefaultItem(), 5);
    EXPECT_TRUE(List.FileOpened);
    Setting.ReorderRecent = true;
    EXPECT_EQ(List.TakeForOpening(6, before[6], ""), 0);
    EXPECT_EQ(List.GetIndexFilename(0), before[6]);
    EXPECT_EQ(List.CurrentIndex, 6); // the open document moved down; a read records the new one
    EXPECT_FALSE(List.Reference(8));
}

TEST_F(RecentListOpenTest, AnEntryWhoseFileIsGoneIsRefusedAndStays) {
    std::vector<std::string> paths = OpenFiles(3);
    ::unlink(paths[1].c_str());
    Setting.ReorderRecent = true;
    EXPECT_EQ(List.TakeForOpening(1, paths[1], ""), -1);
    EXPECT_EQ(List.Count(), 3);
    EXPECT_EQ(List.GetIndexFilename(1), paths[1]);
    EXPECT_EQ(Warnings().size(), 1u);
}

TEST_F(RecentListOpenTest, NextAndPreviousAreTheNeighboursWithinTheList) {
    OpenFiles(3);
    List.CurrentIndex = 1;
    EXPECT_EQ(List.ItemFileNextIndex(), 2);
    EXPECT_EQ(List.ItemFilePrevIndex(), 0);
    List.CurrentIndex = 2;
    EXPECT_EQ(List.ItemFileNextIndex(), -1);
    List.CurrentIndex = 0;
    EXPECT_EQ(List.ItemFilePrevIndex(), -1);
    List.CurrentIndex = -1;
    EXPECT_EQ(List.ItemFileNextIndex(), -1);
    EXPECT_EQ(List.ItemFilePrevIndex(), -1);
}

TEST_F(RecentListOpenTest, AnArchiveEntryRefersToItsArchiveWithSlashes) {
    const std::string archive = File("x.zip");
    List.OpenItemFile(archive + "|a\\b.txt");
    const RecentReference ref = *List.Reference(0);
    EXPECT_EQ(ref.Archive, archive);
    EXPECT_EQ(ref.Entry, "a/b.txt");
    EXPECT_EQ(ref.EntryIndex, -1);
    EXPECT_FALSE(ref.ChooseEntries);
}

TEST_F(RecentListOpenTest, AnEntryThatWasNotExtractedBlamesTheArchive) {
    const std::string archive = File("x.zip");
    List.OpenItemFile(archive + "|a\\b.txt");
    EXPECT_EQ(List.TakeForOpening(0, Dir / "never-extracted.txt", archive), -1);
    EXPECT_EQ(Warnings().at(0).Text,
              "打开文件 " + archive + " 失败！\r\n请检查ZIP文件是否有密码。");
    ::unlink(archive.c_str());
    EXPECT_EQ(List.TakeForOpening(0, Dir / "never-extracted.txt", archive), -1);
    EXPECT_EQ(Warnings().at(1).Text, MissingFileText(archive));
    EXPECT_EQ(List.Count(), 1);
}

TEST_F(RecentListOpenTest, AnArchiveChoosesAndItsChosenEntriesGoOnTop) {
    const std::string archive = File("set.zip");
    List.OpenItemFile(archive);
    EXPECT_TRUE(List.Reference(0)->ChooseEntries);
    EXPECT_FALSE(List.PutChosenOnTop({})); // a cancelled chooser
    EXPECT_TRUE(
        List.PutChosenOnTop({{archive + "|vol2\\ch01.txt", 4}, {archive + "|vol1\\ch01.txt", 2}}));
    EXPECT_EQ(List.Items(), (std::vector<std::string>{archive + "|vol1\\ch01.txt",
                                                      archive + "|vol2\\ch01.txt", archive}));
    // The chosen row's place goes with it, so of two entries of one name the chosen one opens.
    EXPECT_EQ(List.Reference(0)->EntryIndex, 2);
    EXPECT_EQ(List.Reference(1)->EntryIndex, 4);
}

TEST_F(RecentListOpenTest, AnArchiveWhoseOwnPathHasABarSplitsAfterIt) {
    std::filesystem::create_directories(Dir / "a|b");
    const std::string archive = File("a|b/x|y.zip");
    List.OpenItemFile(archive + "|c|d.txt");
    EXPECT_EQ(List.Reference(0)->Archive, archive);
    EXPECT_EQ(List.Reference(0)->Entry, "c|d.txt");
}

TEST_F(RecentListReopenTest, TheLastFileIsReopenedInItsPlaceAtItsPage) {
    OpenFiles(5);
    Setting.LastFile = List.GetIndexFilename(3);
    Setting.LastFileIndex = 1; // only a record: the position is found again by name
    Setting.LastFilePage = 37;
    const ReopenPlan plan = List.PlanStartupReopen();
    EXPECT_EQ(plan.Action, ReopenPlan::Entry);
    EXPECT_EQ(plan.Index, 3);
    EXPECT_EQ(plan.Page, 37);
    EXPECT_EQ(plan.LastFileIndex, 3);
}

TEST_F(RecentListReopenTest, ALastFileNoLongerListedIsAddedAgainAtItsPage) {
    OpenFiles(3);
    Setting.LastFile = File("elsewhere.txt");
    Setting.LastFilePage = 9;
    const ReopenPlan plan = List.PlanStartupReopen();
    EXPECT_EQ(plan.Action, ReopenPlan::AddAgain);
    EXPECT_EQ(plan.Name, Setting.LastFile);
    EXPECT_EQ(plan.Page, 9);
    EXPECT_EQ(plan.LastFileIndex, -1);
}

TEST_F(RecentListReopenTest, NothingIsReopenedWhenSwitchedOffOrWithoutAList) {
    OpenFiles(2);
    Setting.LastFile = List.GetIndexFilename(1);
    Setting.LastFileIndex = 1;
    Setting.ReopenLastFile = false;
    EXPECT_EQ(List.PlanStartupReopen().Action, ReopenPlan::None);
    EXPECT_EQ(List.PlanStartupReopen().LastFileIndex, 1);
    Setting.ReopenLastFile = true;
    Setting.LastFile.clear();
    EXPECT_EQ(List.PlanStartupReopen().Action, ReopenPlan::None);
}

} // namespace
