// test-links: mojuan_records
#include "records/TempDir.h"

#include "ReadOnlyPath.h"
#include "StoreTestSupport.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <filesystem>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

mode_t ModeOf(const std::string& path) {
    struct stat st {};
    lstat(path.c_str(), &st);
    return st.st_mode & 07777;
}

bool Exists(const std::string& path) {
    struct stat st;
    return lstat(path.c_str(), &st) == 0;
}

// a/ with read-only files at every level, b/c/d/ nested, an empty folder and a hidden file.
void MakeTree(const std::string& root) {
    fs::create_directories(root + "/a");
    fs::create_directories(root + "/b/c/d");
    fs::create_directories(root + "/empty");
    for (const char* file :
         {"/top.txt", "/.hidden", "/a/one.txt", "/b/two.txt", "/b/c/d/deep.txt"}) {
        WriteFile(root + file, "x");
        chmod((root + file).c_str(), 0444);
    }
}

TEST(TempDirPathTest, IsAPerUserFolderUnderTheTemporaryDirectory) {
    std::string saved = std::getenv("TMPDIR") ? std::getenv("TMPDIR") : "";
    std::string uid = std::to_string(geteuid());
    setenv("TMPDIR", "/var/tmp/", 1);
    EXPECT_EQ(TempDirPath(), "/var/tmp/mojuan-" + uid + "/zip");
    setenv("TMPDIR", "relative", 1);
    EXPECT_EQ(TempDirPath(), "/tmp/mojuan-" + uid + "/zip");
    unsetenv("TMPDIR");
    EXPECT_EQ(TempDirPath(), "/tmp/mojuan-" + uid + "/zip");
    setenv("TMPDIR", saved.c_str(), 1);
}

struct TempDirTest : testing::Test {
    ScratchDir Dir;
    std::string Parent = Dir / "mojuan-1";
    std::string Zip = Parent + "/zip";
};

TEST_F(TempDirTest, IsMadePrivateOnFirstUse) {
    EXPECT_FALSE(Exists(Parent));
    std::string error;
    ASSERT_TRUE(PrepareTempDir(Zip, &error)) << error;
    EXPECT_EQ(ModeOf(Parent), 0700u);
    EXPECT_EQ(ModeOf(Zip), 0700u);
    EXPECT_TRUE(PrepareTempDir(Zip)); // and simply checked the next time
}

TEST_F(TempDirTest, FolderOpenToOthersIsClosedAgain) {
    fs::create_directories(Zip);
    chmod(Parent.c_str(), 0777);
    chmod(Zip.c_str(), 0755);
    ASSERT_TRUE(PrepareTempDir(Zip));
    EXPECT_EQ(ModeOf(Parent), 0700u);
    EXPECT_EQ(ModeOf(Zip), 0700u);
}

TEST_F(TempDirTest, SymbolicLinkPlantedUnderItsNameIsRefused) {
    std::string elsewhere = Dir / "elsewhere";
    fs::create_directories(elsewhere + "/zip");
    fs::create_directory_symlink(elsewhere, Parent);
    std::string error;
    EXPECT_FALSE(PrepareTempDir(Zip, &error));
    EXPECT_NE(error, "");
    fs::remove(Parent);
    fs::create_directories(Parent);
    fs::create_directory_symlink(elsewhere + "/zip", Zip);
    EXPECT_FALSE(PrepareTempDir(Zip));
}

TEST_F(TempDirTest, FileUnderItsNameIsRefused) {
    fs::create_directories(Parent);
    WriteFile(Zip, "not a folder");
    EXPECT_FALSE(PrepareTempDir(Zip));
}

TEST_F(TempDirTest, SomeoneElsesFolderIsRefused) {
    fs::create_directories(Parent);
    uid_t other = geteuid() == 65534 ? 65533 : 65534;
    if (chown(Parent.c_str(), other, other) != 0)
        GTEST_SKIP() << "cannot give a folder to another user here";
    EXPECT_FALSE(PrepareTempDir(Zip));
    EXPECT_FALSE(Exists(Zip));
}

TEST_F(TempDirTest, DeleteRemovesNestedFoldersAndReadOnlyFiles) {
    MakeTree(Zip);
    EXPECT_TRUE(DeleteDir(Zip));
    EXPECT_FALSE(Exists(Zip));
    EXPECT_TRUE(Exists(Parent));
}

// An archive's entry may have made a folder per level of its name; removing them holds no
// handle per level, so even a few dozen handles remove a tree 1500 levels deep.
TEST_F(TempDirTest, DeleteRemovesATreeDeeperThanTheHandlesAllowed) {
    fs::create_directories(Zip);
    int level = open(Zip.c_str(), O_RDONLY | O_DIRECTORY);
    for (int i = 0; i < 1500 && level >= 0; ++i) {
        mkdirat(level, "d", 0700);
        const int below = openat(level, "d", O_RDONLY | O_DIRECTORY);
        close(level);
        level = below;
    }
    ASSERT_GE(level, 0);
    close(openat(level, "x.txt", O_WRONLY | O_CREAT, 0600));
    close(level);
    rlimit saved{};
    getrlimit(RLIMIT_NOFILE, &saved);
    rlimit few = saved;
    few.rlim_cur = 64;
    setrlimit(RLIMIT_NOFILE, &few);
    const bool removed = DeleteDir(Zip);
    setrlimit(RLIMIT_NOFILE, &saved);
    EXPECT_TRUE(removed);
    EXPECT_FALSE(Exists(Zip));
}

TEST_F(TempDirTest, DeleteOfAMissingPathSucceeds) {
    EXPECT_TRUE(DeleteDir(Zip));
}

TEST_F(TempDirTest, DeleteOfAFileRemovesIt) {
    WriteFile(Dir / "f", "x");
    EXPECT_TRUE(DeleteDir(Dir / "f"));
    EXPECT_FALSE(Exists(Dir / "f"));
}

TEST_F(TempDirTest, DeleteRemovesLinksWithoutFollowingThem) {
    std::string outside = Dir / "outside";
    MakeTree(outside);
    fs::create_directories(Zip + "/sub");
    fs::create_directory_symlink(outside, Zip + "/sub/to-folder");
    fs::create_symlink(outside + "/top.txt", Zip + "/to-file");
    fs::create_symlink(Dir / "nowhere", Zip + "/dangling");
    EXPECT_TRUE(DeleteDir(Zip));
    EXPECT_FALSE(Exists(Zip));
    EXPECT_TRUE(Exists(outside + "/b/c/d/deep.txt"));
    EXPECT_TRUE(Exists(outside + "/top.txt"));
}

TEST_F(TempDirTest, DeleteOfALinkRemovesOnlyTheLink) {
    std::string outside = Dir / "outside";
    MakeTree(outside);
    fs::create_directories(Parent);
    fs::create_directory_symlink(outside, Zip);
    EXPECT_TRUE(DeleteDir(Zip));
    EXPECT_FALSE(Exists(Zip));
    EXPECT_TRUE(Exists(outside + "/a/one.txt"));
}

TEST_F(TempDirTest, FileThatCannotBeDeletedLeavesItsFoldersAndNothingElse) {
    MakeTree(Zip);
    std::string stuck = Zip + "/b/c/d/stuck.txt";
    WriteFile(stuck, "x");
    // Root ignores permissions, so the file is made immutable; other users cannot delete a
    // file from a folder without write permission.
    ReadOnlyPath readOnly(geteuid() == 0 ? stuck : Zip + "/b/c/d");
    if (!readOnly.Active())
        GTEST_SKIP() << "cannot make an entry undeletable here";
    EXPECT_FALSE(DeleteDir(Zip));
    EXPECT_TRUE(Exists(stuck));
    EXPECT_FALSE(Exists(Zip + "/top.txt"));
    EXPECT_FALSE(Exists(Zip + "/.hidden"));
    EXPECT_FALSE(Exists(Zip + "/a"));
    EXPECT_FALSE(Exists(Zip + "/empty"));
    EXPECT_FALSE(Exists(Zip + "/b/two.txt"));
    if (geteuid() == 0) {
        EXPECT_FALSE(Exists(Zip + "/b/c/d/deep.txt"));
    }
}

TEST_F(TempDirTest, StartDirectoryCanBeReturnedTo) {
    std::string start = CurrentDir();
    ASSERT_NE(start, "");
    fs::create_directories(Zip);
    ASSERT_TRUE(ChangeDir(Zip));
    EXPECT_EQ(fs::path(CurrentDir()), fs::canonical(Zip));
    EXPECT_TRUE(ChangeDir(start));
    EXPECT_TRUE(DeleteDir(Zip)); // never the current directory while it is removed
    EXPECT_EQ(CurrentDir(), start);
    EXPECT_FALSE(ChangeDir(""));
}

} // namespace
