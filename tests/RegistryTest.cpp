// test-links: mojuan_records
#include "records/Registry.h"

#include "ReadOnlyPath.h"
#include "StoreTestSupport.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

#include <csignal>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

constexpr char Root[] = "Software\\Vesk\\Norvane";

struct RegistryTest : testing::Test {
    ScratchDir Dir;
    std::string StorePath = Dir / "mojuan/registry.sqlite3";
};

// Values the reporter received.
struct Reports {
    std::vector<std::string> Messages;
    void Attach(Registry& reg) {
        reg.SetFailureReporter([this](const std::string& m) { Messages.push_back(m); });
    }
};

TEST_F(RegistryTest, MissingValuesReadAsTheDefault) {
    Registry reg(StorePath);
    EXPECT_TRUE(reg.Persistent());
    EXPECT_EQ(reg.OpenWarning(), "");
    EXPECT_EQ(reg.ReadRegInt(Root, "窗口宽度", 596), 596);
    EXPECT_EQ(reg.ReadRegStr(Root, "页码1前缀", "第"), "第");
    EXPECT_TRUE(reg.ReadRegBool(Root, "窗口移动", true));
    EXPECT_FALSE(reg.ReadRegBool(Root, "最大化显示", false));
}

TEST_F(RegistryTest, TextThatIsNotADecimalIntegerReadsAsTheDefault) {
    Registry reg(StorePath);
    for (const char* bad : {"abc", "", " 5", "5 ", "5x", "0x10", "1.5", "+-5", "--5", "99999999999",
                            "-99999999999"}) {
        reg.WriteRegStr(Root, "v", bad);
        EXPECT_EQ(reg.ReadRegInt(Root, "v", 596), 596) << bad;
        EXPECT_TRUE(reg.ReadRegBool(Root, "v", true)) << bad;
        EXPECT_FALSE(reg.ReadRegBool(Root, "v", false)) << bad;
    }
    for (auto [text, value] :
         {std::pair{"-1", -1}, {"+7", 7}, {"0", 0}, {"2147483647", 2147483647}}) {
        reg.WriteRegStr(Root, "v", text);
        EXPECT_EQ(reg.ReadRegInt(Root, "v", 596), value) << text;
    }
}

TEST_F(RegistryTest, BooleanIsTrueForAnyNonZeroInteger) {
    Registry reg(StorePath);
    reg.WriteRegStr(Root, "v", "2");
    EXPECT_TRUE(reg.ReadRegBool(Root, "v", false));
    reg.WriteRegBool(Root, "v", false);
    EXPECT_EQ(reg.ReadRegStr(Root, "v", ""), "0");
    EXPECT_FALSE(reg.ReadRegBool(Root, "v", true));
    reg.WriteRegBool(Root, "v", true);
    EXPECT_EQ(reg.ReadRegStr(Root, "v", ""), "1");
}

TEST_F(RegistryTest, LeadingBackslashNamesTheSameKey) {
    Registry reg(StorePath);
    reg.WriteRegInt("\\Software\\Vesk\\Norvane\\File", "上次关闭文件页码", 12);
    EXPECT_EQ(reg.ReadRegInt("Software\\Vesk\\Norvane\\File", "上次关闭文件页码", 0), 12);
    EXPECT_EQ(reg.ReadRegInt("Software\\Vesk\\Norvane\\File\\", "上次关闭文件页码", 0), 12);
    EXPECT_EQ(reg.ReadRegInt("Software\\Vesk\\Norvane", "上次关闭文件页码", 0), 0);
}

TEST_F(RegistryTest, KeyAndValueNamesIgnoreAsciiCase) {
    Registry reg(StorePath);
    reg.WriteRegStr("Software\\Vesk\\Norvane", "处理BIG5码文件标志", "1");
    EXPECT_EQ(reg.ReadRegStr("SOFTWARE\\vesk\\NORVANE", "处理big5码文件标志", ""), "1");
    reg.WriteRegStr("software\\VESK\\norvane", "处理Big5码文件标志", "0");
    EXPECT_EQ(reg.ReadRegStr(Root, "处理BIG5码文件标志", ""), "0");
    EXPECT_EQ(CountValues(StorePath), 1);
    // Only ASCII letters fold, as in the registry.
    reg.WriteRegStr(Root, "Ä", "upper");
    EXPECT_EQ(reg.ReadRegStr(Root, "ä", "none"), "none");
}

TEST_F(RegistryTest, EmptyNameIsTheKeysDefaultValue) {
    Registry reg(StorePath);
    reg.WriteRegStr(".blf", "", "Book Files");
    reg.WriteRegStr(".blf", "Content Type", "text/plain");
    EXPECT_EQ(reg.ReadRegStr(".blf", "", ""), "Book Files");
}

TEST_F(RegistryTest, HivesAreSeparateTrees) {
    Registry reg(StorePath);
    reg.WriteRegStr(".txt", "", "txtfile");
    reg.SetRegHive(HKEY_CLASSES_ROOT);
    EXPECT_EQ(reg.ReadRegStr(".txt", "", "none"), "none");
    reg.WriteRegStr(".txt", "", "classes");
    reg.SetRegHive(HKEY_LOCAL_MACHINE);
    EXPECT_EQ(reg.ReadRegStr(".txt", "", ""), "txtfile");
}

TEST_F(RegistryTest, TextIsKeptByteForByte) {
    Registry reg(StorePath);
    std::string text = std::string("/书/第一卷|vol1\\ch01.txt\0tail", 30) + "\xFF\xFE";
    reg.WriteRegStr(Root, "最新文件0", text);
    EXPECT_EQ(reg.ReadRegStr(Root, "最新文件0", ""), text);
}

TEST_F(RegistryTest, EraseRemovesTheKeyAndAllItsSubkeysOnly) {
    Registry reg(StorePath);
    reg.WriteRegStr("Software\\Vesk\\Norvane\\Label", "a", "1");
    reg.WriteRegStr("Software\\Vesk\\Norvane\\Label\\Doc\\Deep", "b", "2");
    reg.WriteRegStr("Software\\Vesk\\Norvane\\Labels", "c", "3"); // shares the prefix only
    reg.WriteRegStr("Software\\Vesk\\Norvane", "d", "4");
    reg.SetRegHive(HKEY_CLASSES_ROOT);
    reg.WriteRegStr("Software\\Vesk\\Norvane\\Label", "e", "5");
    reg.SetRegHive(HKEY_LOCAL_MACHINE);

    EXPECT_TRUE(reg.EraseRegKey("\\software\\vesk\\norvane\\LABEL"));
    EXPECT_EQ(reg.ReadRegStr("Software\\Vesk\\Norvane\\Label", "a", "gone"), "gone");
    EXPECT_EQ(reg.ReadRegStr("Software\\Vesk\\Norvane\\Label\\Doc\\Deep", "b", "gone"), "gone");
    EXPECT_EQ(reg.ReadRegStr("Software\\Vesk\\Norvane\\Labels", "c", ""), "3");
    EXPECT_EQ(reg.ReadRegStr("Software\\Vesk\\Norvane", "d", ""), "4");
    reg.SetRegHive(HKEY_CLASSES_ROOT);
    EXPECT_EQ(reg.ReadRegStr("Software\\Vesk\\Norvane\\Label", "e", ""), "5");
}

TEST_F(RegistryTest, TheHiveItselfCannotBeErased) {
    Registry reg(StorePath);
    reg.WriteRegStr(Root, "d", "4");
    EXPECT_FALSE(reg.EraseRegKey("\\"));
    EXPECT_EQ(reg.ReadRegStr(Root, "d", ""), "4");
}

TEST_F(RegistryTest, EveryWriteIsInTheFileWhenItReturns) {
    Registry writer(StorePath);
    writer.WriteRegInt(Root, "窗口宽度", 700);
    Registry reader(StorePath); // a second instance, while the first is still open
    EXPECT_EQ(reader.ReadRegInt(Root, "窗口宽度", 596), 700);
}

TEST_F(RegistryTest, BatchCommitsAllItsWritesTogether) {
    Registry reg(StorePath);
    Registry other(StorePath, {200});
    reg.BeginBatch();
    reg.WriteRegInt(Root, "a", 1);
    reg.BeginBatch(); // nested: only the outermost commit counts
    reg.WriteRegInt(Root, "b", 2);
    EXPECT_TRUE(reg.CommitBatch());
    EXPECT_EQ(other.ReadRegInt(Root, "a", 0), 0);
    EXPECT_TRUE(reg.CommitBatch());
    EXPECT_EQ(other.ReadRegInt(Root, "a", 0), 1);
    EXPECT_EQ(other.ReadRegInt(Root, "b", 0), 2);
}

// A start's writes wait for one commit, made once the book is drawn; meanwhile they read back
// at once, and batches among them nest as usual.
TEST_F(RegistryTest, DeferredWritesAreReadAtOnceAndCommittedTogether) {
    Registry reg(StorePath);
    reg.WriteRegInt(Root, "v", 1);
    reg.DeferCommits();
    EXPECT_TRUE(reg.WriteRegInt(Root, "a", 1));
    {
        RegBatch batch(reg);
        EXPECT_TRUE(reg.WriteRegInt(Root, "b", 2));
        EXPECT_TRUE(batch.Commit());
    }
    EXPECT_TRUE(reg.EraseRegKey(std::string(Root) + "\\gone"));
    EXPECT_EQ(reg.ReadRegInt(Root, "a", 0), 1);
    EXPECT_EQ(reg.ReadRegInt(Root, "b", 0), 2);
    EXPECT_EQ(Registry(StorePath, {100}).ReadRegInt(Root, "a", 0), 0); // not committed yet
    EXPECT_TRUE(reg.CommitDeferred());
    Registry other(StorePath);
    EXPECT_EQ(other.ReadRegInt(Root, "a", 0), 1);
    EXPECT_EQ(other.ReadRegInt(Root, "b", 0), 2);
    EXPECT_TRUE(reg.WriteRegInt(Root, "c", 3)); // each write its own transaction again
    EXPECT_EQ(other.ReadRegInt(Root, "c", 0), 3);
    EXPECT_FALSE(reg.HadFailure());
}

// The child writes values 0, 1, 2, ... one transaction each and reports each one done through a
// pipe; the parent kills it in the middle with SIGKILL.
TEST_F(RegistryTest, KilledWriterLeavesEveryCompletedWriteReadable) {
    { Registry create(StorePath); }
    int fds[2];
    ASSERT_EQ(pipe(fds), 0);
    pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        close(fds[0]);
        Registry reg(StorePath);
        for (int i = 0;; ++i) {
            reg.WriteRegInt("Software\\Vesk\\Norvane\\File", "最新文件顺序" + std::to_string(i), i);
            if (write(fds[1], &i, sizeof i) != sizeof i)
                _exit(1);
        }
    }
    close(fds[1]);
    int done = -1;
    for (int i; done < 30 && read(fds[0], &i, sizeof i) == sizeof i;)
        done = i;
    kill(child, SIGKILL);
    // Writes acknowledged while the kill was on its way count as completed too.
    for (int i; read(fds[0], &i, sizeof i) == sizeof i;)
        done = i;
    close(fds[0]);
    int status = 0;
    waitpid(child, &status, 0);
    ASSERT_TRUE(WIFSIGNALED(status));
    ASSERT_GE(done, 30);

    Registry reg(StorePath);
    EXPECT_EQ(reg.OpenWarning(), "");
    for (int i = 0; i <= done; ++i)
        EXPECT_EQ(
            reg.ReadRegInt("Software\\Vesk\\Norvane\\File", "最新文件顺序" + std::to_string(i), -1),
            i);
}

TEST_F(RegistryTest, KilledWriterInsideABatchLeavesNoneOfIt) {
    { Registry create(StorePath); }
    int fds[2];
    ASSERT_EQ(pipe(fds), 0);
    pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        Registry reg(StorePath);
        reg.WriteRegInt(Root, "before", 1);
        reg.BeginBatch();
        for (int i = 0; i < 20; ++i)
            reg.WriteRegInt(Root, "in batch " + std::to_string(i), i);
        char c = 'x';
        [[maybe_unused]] auto n = write(fds[1], &c, 1);
        pause();
        _exit(0);
    }
    close(fds[1]);
    char c;
    ASSERT_EQ(read(fds[0], &c, 1), 1);
    kill(child, SIGKILL);
    waitpid(child, nullptr, 0);
    close(fds[0]);

    Registry reg(StorePath);
    EXPECT_EQ(reg.ReadRegInt(Root, "before", 0), 1);
    EXPECT_EQ(CountValues(StorePath), 1);
}

TEST_F(RegistryTest, TwoInstancesWritingAtOnceLoseNothing) {
    { Registry create(StorePath); }
    constexpr int Count = 150;
    pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        Registry reg(StorePath);
        bool ok = true;
        for (int i = 0; i < Count; ++i)
            ok = reg.WriteRegInt(Root, "child" + std::to_string(i), i) && ok;
        _exit(ok && !reg.HadFailure() ? 0 : 1);
    }
    Registry reg(StorePath);
    for (int i = 0; i < Count; ++i) {
        EXPECT_TRUE(reg.WriteRegInt(Root, "parent" + std::to_string(i), i));
        reg.ReadRegInt(Root, "child" + std::to_string(i), 0);
    }
    int status = 0;
    waitpid(child, &status, 0);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    EXPECT_FALSE(reg.HadFailure());
    EXPECT_EQ(CountValues(StorePath), 2 * Count);
}

// --- damaged stores -------------------------------------------------------------------------

struct DamagedStoreTest : RegistryTest {
    void SetUp() override { std::filesystem::create_directories(Dir / "mojuan"); }
    // The one file set aside next to the store, or "" when there is none.
    std::string MovedAside() {
        std::string found;
        for (auto& entry : std::filesystem::directory_iterator(Dir / "mojuan")) {
            std::string name = entry.path().filename();
            if (name.rfind("registry.sqlite3.damaged-", 0) == 0 &&
                name.find("journal") == name.npos)
                found = entry.path();
        }
        return found;
    }
    void ExpectSetAsideAndFresh(const std::string& original) {
        Registry reg(StorePath);
        std::string moved = MovedAside();
        ASSERT_NE(moved, "");
        EXPECT_EQ(testsupport::ReadFileBytes(moved), original);
        EXPECT_NE(reg.OpenWarning().find(moved), std::string::npos) << reg.OpenWarning();
        EXPECT_TRUE(reg.Persistent());
        EXPECT_EQ(reg.ReadRegInt(Root, "窗口宽度", 596), 596);
        EXPECT_TRUE(reg.WriteRegInt(Root, "窗口宽度", 600));
        Registry again(StorePath);
        EXPECT_EQ(again.OpenWarning(), "");
        EXPECT_EQ(again.ReadRegInt(Root, "窗口宽度", 596), 600);
    }
};

TEST_F(DamagedStoreTest, GarbageFileIsSetAsideAndDefaultsAreUsed) {
    std::string garbage(10000, '\0');
    for (std::size_t i = 0; i < garbage.size(); ++i)
        garbage[i] = static_cast<char>(i * 7919 % 251);
    WriteFile(StorePath, garbage);
    ExpectSetAsideAndFresh(garbage);
}

TEST_F(DamagedStoreTest, TruncatedFileIsSetAside) {
    {
        Registry reg(StorePath);
        RegBatch batch(reg);
        for (int i = 0; i < 2000; ++i)
            reg.WriteRegStr(Root, "v" + std::to_string(i), std::string(100, 'x'));
    }
    auto size = std::filesystem::file_size(StorePath);
    ASSERT_GT(size, 20 * 4096u);
    std::filesystem::resize_file(StorePath, size / 2);
    ExpectSetAsideAndFresh(testsupport::ReadFileBytes(StorePath));
}

TEST_F(DamagedStoreTest, DatabaseOfAnotherSchemaIsSetAside) {
    sqlite3* db = nullptr;
    sqlite3_open(StorePath.c_str(), &db);
    sqlite3_exec(db, "CREATE TABLE books(title TEXT); INSERT INTO books VALUES('x')", nullptr,
                 nullptr, nullptr);
    sqlite3_close(db);
    ExpectSetAsideAndFresh(testsupport::ReadFileBytes(StorePath));
}

TEST_F(DamagedStoreTest, StoreOfAnUnknownNewerVersionIsSetAside) {
    { Registry create(StorePath); }
    sqlite3* db = nullptr;
    sqlite3_open(StorePath.c_str(), &db);
    sqlite3_exec(db, "PRAGMA user_version = 999", nullptr, nullptr, nullptr);
    sqlite3_close(db);
    Registry reg(StorePath);
    EXPECT_NE(MovedAside(), "");
    EXPECT_NE(reg.OpenWarning(), "");
}

TEST_F(DamagedStoreTest, EmptyFileIsAFreshStoreWithoutWarning) {
    WriteFile(StorePath, "");
    Registry reg(StorePath);
    EXPECT_EQ(reg.OpenWarning(), "");
    EXPECT_EQ(MovedAside(), "");
    EXPECT_TRUE(reg.WriteRegInt(Root, "v", 1));
}

TEST_F(DamagedStoreTest, TwoDamagedStoresInOneSecondKeepBoth) {
    WriteFile(StorePath, std::string(600, 'a'));
    { Registry first(StorePath); }
    WriteFile(StorePath, std::string(600, 'b'));
    { Registry second(StorePath); }
    int count = 0;
    for (auto& entry : std::filesystem::directory_iterator(Dir / "mojuan"))
        count += entry.path().filename().string().find(".damaged-") != std::string::npos;
    EXPECT_EQ(count, 2);
}

// --- stores that cannot be written ------------------------------------------------------------

TEST_F(RegistryTest, StoreLockedBeyondTheTimeoutFailsOnceAndRecovers) {
    Registry reg(StorePath, {200});
    Reports reports;
    reports.Attach(reg);
    reg.WriteRegInt(Root, "v", 1);
    {
        StoreLock lock(StorePath);
        ASSERT_TRUE(lock.Locked);
        EXPECT_FALSE(reg.WriteRegInt(Root, "v", 2));
        EXPECT_FALSE(reg.WriteRegInt(Root, "w", 3));
        EXPECT_EQ(reg.ReadRegInt(Root, "v", -1), -1); // unreadable reads as the default
    }
    EXPECT_EQ(reports.Messages.size(), 1u);
    EXPECT_TRUE(reg.HadFailure());
    EXPECT_TRUE(reg.WriteRegInt(Root, "v", 4));
    EXPECT_EQ(reg.ReadRegInt(Root, "v", 0), 4);
    EXPECT_EQ(reports.Messages.size(), 1u);
}

TEST_F(RegistryTest, BatchThatCannotStartSkipsItsWritesAtOnce) {
    Registry reg(StorePath, {200});
    StoreLock lock(StorePath);
    ASSERT_TRUE(lock.Locked);
    RegBatch batch(reg);
    for (int i = 0; i < 100; ++i) // would take 100 busy timeouts if each one waited
        EXPECT_FALSE(reg.WriteRegInt(Root, "v" + std::to_string(i), i));
    EXPECT_FALSE(batch.Commit());
}

// Writing values that hold their text already is no write at all: the batch takes no lock, so
// it neither waits for another instance nor for the disk.
TEST_F(RegistryTest, BatchThatChangesNothingTakesNoLock) {
    Registry reg(StorePath, {100});
    reg.WriteRegInt(Root, "v", 1);
    StoreWriter other(StorePath);
    ASSERT_TRUE(other.Locked);
    RegBatch batch(reg);
    EXPECT_TRUE(reg.WriteRegInt(Root, "v", 1));
    EXPECT_TRUE(batch.Commit());
    EXPECT_FALSE(reg.HadFailure());
}

TEST_F(RegistryTest, AFailedReadInABatchThatWroteNothingIsReportedAtItsEnd) {
    Registry reg(StorePath, {100});
    Reports reports;
    reports.Attach(reg);
    {
        StoreLock lock(StorePath);
        ASSERT_TRUE(lock.Locked);
        RegBatch batch(reg);
        EXPECT_EQ(reg.ReadRegInt(Root, "v", 7), 7);
        EXPECT_TRUE(reports.Messages.empty());
    }
    EXPECT_EQ(reports.Messages.size(), 1u);
}

TEST_F(RegistryTest, BatchStartsItsTransactionAtItsFirstChange) {
    Registry reg(StorePath);
    reg.WriteRegInt(Root, "v", 1);
    {
        RegBatch batch(reg);
        EXPECT_TRUE(reg.WriteRegInt(Root, "v", 1));
        EXPECT_TRUE(reg.WriteRegInt(Root, "w", 2));
        EXPECT_TRUE(reg.WriteRegInt(Root, "x", 3));
        Registry reader(StorePath, {100});
        EXPECT_EQ(reader.ReadRegInt(Root, "w", 0), 0); // not committed yet
        EXPECT_TRUE(batch.Commit());
    }
    EXPECT_EQ(Registry(StorePath).ReadRegInt(Root, "x", 0), 3);
    {
        StoreWriter other(StorePath);
        RegBatch batch(reg);
        EXPECT_TRUE(reg.WriteRegInt(Root, "x", 3));
        EXPECT_FALSE(reg.WriteRegInt(Root, "x", 4)); // a change needs the lock
        EXPECT_FALSE(batch.Commit());
    }
    EXPECT_EQ(reg.ReadRegInt(Root, "x", 0), 3);
}

TEST_F(RegistryTest, FailureBeforeAReporterIsSetIsHandedOverOnce) {
    Registry reg(StorePath, {100});
    {
        StoreLock lock(StorePath);
        reg.WriteRegInt(Root, "v", 1);
    }
    Reports reports;
    reports.Attach(reg);
    reports.Attach(reg);
    EXPECT_EQ(reports.Messages.size(), 1u);
}

TEST_F(RegistryTest, ReadOnlyStoreIsReadAndItsFailedWritesReportedOnce) {
    {
        Registry reg(StorePath);
        reg.WriteRegInt(Root, "窗口宽度", 700);
    }
    ReadOnlyPath readOnly(StorePath);
    if (!readOnly.Active())
        GTEST_SKIP() << "cannot make a file read-only here";
    Registry reg(StorePath);
    Reports reports;
    reports.Attach(reg);
    EXPECT_EQ(reg.OpenWarning(), "");
    EXPECT_EQ(reg.ReadRegInt(Root, "窗口宽度", 596), 700);
    EXPECT_FALSE(reg.WriteRegInt(Root, "窗口宽度", 800));
    EXPECT_FALSE(reg.WriteRegInt(Root, "窗口高度", 400));
    EXPECT_EQ(reg.ReadRegInt(Root, "窗口宽度", 596), 700);
    EXPECT_EQ(reports.Messages.size(), 1u);
}

TEST_F(RegistryTest, ReadOnlyFolderLeavesTheStoreReadable) {
    {
        Registry reg(StorePath);
        reg.WriteRegInt(Root, "窗口宽度", 700);
    }
    ReadOnlyPath readOnly(Dir / "mojuan");
    if (!readOnly.Active())
        GTEST_SKIP() << "cannot make a folder read-only here";
    Registry reg(StorePath);
    Reports reports;
    reports.Attach(reg);
    EXPECT_EQ(reg.ReadRegInt(Root, "窗口宽度", 596), 700);
    EXPECT_FALSE(reg.WriteRegInt(Root, "窗口宽度", 800)); // no room for the journal
    EXPECT_EQ(reports.Messages.size(), 1u);
}

// Runs in a child: writes until the file size limit stops it, then exits with 0 when the store
// behaved (the batch failed as a whole, the failure was reported once, old values still read).
void FillTheDisk(const std::string& storePath) {
    std::signal(SIGXFSZ, SIG_IGN);
    rlimit limit{std::filesystem::file_size(storePath), RLIM_INFINITY};
    setrlimit(RLIMIT_FSIZE, &limit);
    Registry reg(storePath);
    int reported = 0;
    reg.SetFailureReporter([&](const std::string&) { ++reported; });
    RegBatch batch(reg);
    for (int i = 0; i < 500; ++i)
        reg.WriteRegStr(Root, "big" + std::to_string(i), std::string(1000, 'x'));
    bool committed = batch.Commit();
    bool later = reg.WriteRegStr(Root, "more", std::string(100000, 'y'));
    bool kept = reg.ReadRegInt(Root, "kept", 0) == 1;
    _exit(!committed && !later && reported == 1 && kept ? 0 : 1);
}

TEST_F(RegistryTest, FullDiskFailsTheWriteAndKeepsWhatWasStored) {
    {
        Registry reg(StorePath);
        reg.WriteRegInt(Root, "kept", 1);
    }
    // The file size limit stands in for a full disk; it is set in a child process of its own.
    EXPECT_EXIT(FillTheDisk(StorePath), testing::ExitedWithCode(0), "");
    Registry reg(StorePath);
    EXPECT_EQ(reg.OpenWarning(), "");
    EXPECT_EQ(reg.ReadRegInt(Root, "kept", 0), 1);
    EXPECT_EQ(CountValues(StorePath), 1);
}

TEST_F(RegistryTest, FolderThatCannotBeMadeGivesAStoreInMemory) {
    WriteFile(Dir / "mojuan", "a file where the folder should be");
    Registry reg(StorePath);
    Reports reports;
    reports.Attach(reg);
    EXPECT_FALSE(reg.Persistent());
    EXPECT_NE(reg.OpenWarning(), "");
    EXPECT_TRUE(reg.WriteRegInt(Root, "v", 5));
    EXPECT_EQ(reg.ReadRegInt(Root, "v", 0), 5);
    EXPECT_TRUE(reports.Messages.empty());
}

TEST(RegistryPathTest, StoreLivesUnderTheConfigHome) {
    std::string savedConfig = std::getenv("XDG_CONFIG_HOME") ? std::getenv("XDG_CONFIG_HOME") : "";
    std::string savedHome = std::getenv("HOME") ? std::getenv("HOME") : "";
    setenv("XDG_CONFIG_HOME", "/cfg", 1);
    EXPECT_EQ(Registry::DefaultPath(), "/cfg/mojuan/registry.sqlite3");
    setenv("XDG_CONFIG_HOME", "relative", 1); // not absolute: ignored, as the XDG rules say
    setenv("HOME", "/home/reader", 1);
    EXPECT_EQ(Registry::DefaultPath(), "/home/reader/.config/mojuan/registry.sqlite3");
    setenv("XDG_CONFIG_HOME", savedConfig.c_str(), 1);
    setenv("HOME", savedHome.c_str(), 1);
}

// The report of a failed write shows a message box that waits for the user; meanwhile a second
// running instance must be able to write, so the report waits until the transaction is over.
TEST_F(RegistryTest, AFailedWriteIsReportedOnlyOnceItsTransactionIsOver) {
    Registry reg(StorePath, {100});
    reg.WriteRegInt(Root, "ok", 1);
    {
        sqlite3* db = nullptr;
        ASSERT_EQ(sqlite3_open(StorePath.c_str(), &db), SQLITE_OK);
        // A write of "bad" fails inside the transaction that holds the lock.
        ASSERT_EQ(sqlite3_exec(db,
                               "CREATE TRIGGER refuse BEFORE INSERT ON reg_values "
                               "WHEN NEW.name = 'bad' BEGIN SELECT RAISE(ABORT, 'refused'); END;",
                               nullptr, nullptr, nullptr),
                  SQLITE_OK);
        sqlite3_close(db);
    }
    std::vector<bool> otherCouldWrite;
    reg.SetFailureReporter([&](const std::string&) {
        Registry other(StorePath, {50});
        otherCouldWrite.push_back(other.WriteRegInt(Root, "other", 1));
    });
    {
        RegBatch batch(reg);
        reg.WriteRegInt(Root, "a", 1);
        EXPECT_FALSE(reg.WriteRegInt(Root, "bad", 1));
        EXPECT_TRUE(otherCouldWrite.empty()); // not while the batch holds the lock
    }
    EXPECT_EQ(otherCouldWrite, std::vector<bool>{true});
}

} // namespace
