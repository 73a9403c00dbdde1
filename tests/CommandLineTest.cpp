// test-links: mojuan_records
#include "records/CommandLine.h"
#include "RecentTestSupport.h"
#include "base/FileTest.h"
#include "records/LibraryFile.h"

#include <sys/stat.h>

namespace {

struct CommandLineTest : RecentListFixture {
    std::string Start = Dir / "start";
    void SetUp() override {
        RecentListFixture::SetUp();
        ::mkdir(Start.c_str(), 0700);
        ::mkdir((Dir / "My Books").c_str(), 0700);
    }
    std::vector<std::string> Names(const std::vector<std::string>& args) {
        return CommandLineNames(args, Start);
    }
};

using DroppedFilesTest = RecentListFixture;

TEST_F(CommandLineTest, AnAbsolutePathSplitAtItsSpaceIsJoinedAgain) {
    const std::string book = File("My Books/a.txt");
    EXPECT_EQ(Names({Dir / "My", "Books/a.txt"}), std::vector<std::string>{book});
}

TEST_F(CommandLineTest, APathSplitTwiceIsJoinedWithSingleSpaces) {
    ::mkdir((Dir / "a b c").c_str(), 0700);
    const std::string book = File("a b c/x y.txt");
    EXPECT_EQ(Names({Dir / "a", "b", "c/x", "y.txt"}), std::vector<std::string>{book});
}

TEST_F(CommandLineTest, TwoAbsolutePathsOpenTheFirstOnTop) {
    const std::string a = File("a.txt"), b = File("b.txt");
    const std::vector<std::string> names = Names({a, b});
    EXPECT_EQ(names, (std::vector<std::string>{b, a}));
    EXPECT_TRUE(List.PutBatchOnTop(names));
    EXPECT_EQ(List.Items(), (std::vector<std::string>{a, b}));
}

TEST_F(CommandLineTest, TwoMissingRelativeNamesAreJoinedAndRefused) {
    const std::vector<std::string> names = Names({"a.txt", "b.txt"});
    EXPECT_EQ(names, std::vector<std::string>{Start + "/a.txt b.txt"});
    EXPECT_FALSE(List.PutBatchOnTop(names));
    EXPECT_EQ(Warnings(), (std::vector<Prompt>{{Prompt::Warning, MissingFileText(names[0])}}));
}

TEST_F(CommandLineTest, ExistingRelativeNamesAreNeverJoined) {
    const std::string a = File("start/a.txt"), b = File("start/b.txt");
    EXPECT_EQ(Names({"a.txt", "b.txt"}), (std::vector<std::string>{b, a}));
}

TEST_F(CommandLineTest, AnExistingFileIsNotJoinedToTheArgumentBeforeIt) {
    const std::string a = File("a.txt");
    // "/x/My" followed by an existing file is two names, not "/x/My <file>".
    EXPECT_EQ(Names({Dir / "My", a}), (std::vector<std::string>{a, Dir / "My"}));
    const std::string rel = File("start/c.txt");
    EXPECT_EQ(Names({Dir / "My", "c.txt"}), (std::vector<std::string>{rel, Dir / "My"}));
}

TEST_F(CommandLineTest, RelativeNamesResolveAgainstTheStartDirectory) {
    const std::string a = File("start/a.txt");
    EXPECT_EQ(Names({"./a.txt"}), std::vector<std::string>{a});
    EXPECT_EQ(ResolveAgainst(Start + "/", "a.txt"), a);
    EXPECT_EQ(ResolveAgainst(Start, "/abs/a.txt"), "/abs/a.txt");
    EXPECT_EQ(ResolveAgainst(Start, ".//sub/a.txt"), Start + "/sub/a.txt");
}

TEST_F(CommandLineTest, NoArgumentsOrEmptyOnesGiveNoName) {
    EXPECT_TRUE(Names({}).empty());
    EXPECT_TRUE(Names({""}).empty());
    const std::string a = File("a.txt");
    EXPECT_EQ(Names({"", a, ""}), std::vector<std::string>{a});
}

TEST_F(CommandLineTest, ALibraryArgumentBecomesTheListAndOpensItsNewestEntry) {
    OpenFiles(3, "old");
    const std::string first = File("first.txt"), second = File("second.txt");
    const std::string lib = File("saved.blf", LibraryText({first, second}));
    EXPECT_TRUE(List.PutBatchOnTop(Names({lib})));
    EXPECT_EQ(List.Items(), (std::vector<std::string>{first, second}));
}

TEST_F(DroppedFilesTest, SixtyDroppedFilesTakeTheFirstFiftyWithTheFirstOnTop) {
    std::vector<std::string> dropped;
    for (int i = 0; i < 60; ++i)
        dropped.push_back(File("d" + std::to_string(i) + ".txt"));
    const std::vector<std::string> order = DroppedFileOrder(dropped);
    ASSERT_EQ(order.size(), 50u);
    EXPECT_EQ(order.front(), dropped[49]);
    EXPECT_EQ(order.back(), dropped[0]);

    EXPECT_TRUE(List.PutBatchOnTop(order));
    ASSERT_EQ(List.Count(), 50);
    for (int p = 0; p < 50; ++p)
        EXPECT_EQ(List.GetIndexFilename(p), dropped[p]);
}

TEST_F(DroppedFilesTest, DroppedFoldersAndMissingFilesAreSkippedWithAWarning) {
    const std::string a = File("a.txt");
    EXPECT_TRUE(List.PutBatchOnTop(DroppedFileOrder({Dir.Path(), a, Dir / "gone.txt"})));
    EXPECT_EQ(List.Items(), std::vector<std::string>{a});
    EXPECT_EQ(Warnings().size(), 2u);
}

} // namespace
