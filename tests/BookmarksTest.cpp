// test-links: mojuan_records
#include "records/Bookmarks.h"
#include "StoreTestSupport.h"
#include "records/SettingsStore.h"

#include <gtest/gtest.h>

namespace {

struct BookmarksTest : testing::Test {
    ScratchDir Dir;
    Registry Reg{Dir / "registry.sqlite3", {200}};
    Bookmarks Marks{Reg};
    std::vector<std::string> Presets; // what the caption dialog was preset to
    std::vector<std::string> Questions;

    // The document under storage index 49, showing the pair 11/12 of 100 pages.
    BookmarkContext Book{true, 49, 11, 100, ""};

    void Store(int s, std::vector<Bookmark> marks) {
        for (int k = 0; k < int(marks.size()); ++k) {
            Reg.WriteRegInt(LabelKey, std::to_string(s) + "书签" + std::to_string(k),
                            marks[k].Page);
            Reg.WriteRegStr(LabelKey, std::to_string(s) + "书签说明" + std::to_string(k),
                            marks[k].Caption);
        }
    }
    Bookmark Stored(int s, int k) {
        return {Reg.ReadRegInt(LabelKey, std::to_string(s) + "书签" + std::to_string(k), -99),
                Reg.ReadRegStr(LabelKey, std::to_string(s) + "书签说明" + std::to_string(k), "?")};
    }
    Bookmarks::AskCaption Answer(std::optional<std::string> caption) {
        return [this, caption](const std::string& preset) {
            Presets.push_back(preset);
            return caption;
        };
    }
    Bookmarks::Confirm Reply(std::vector<bool> answers) {
        auto queue = std::make_shared<std::vector<bool>>(std::move(answers));
        return [this, queue](const std::string& question) {
            Questions.push_back(question);
            bool answer = !queue->empty() && queue->front();
            if (!queue->empty())
                queue->erase(queue->begin());
            return answer;
        };
    }
    std::vector<int> Pages() {
        std::vector<int> pages;
        for (const Bookmark& mark : Marks.All())
            pages.push_back(mark.Page);
        return pages;
    }
};

TEST_F(BookmarksTest, LoadingStopsAtTheFirstEmptySlot) {
    Store(3, {{5, "a"}, {9, "b"}, {0, ""}, {20, "d"}});
    Marks.Load(3);
    EXPECT_EQ(Marks.All(), (std::vector<Bookmark>{{5, "a"}, {9, "b"}}));
    Marks.Load(-1);
    EXPECT_EQ(Marks.Count(), 0);
}

TEST_F(BookmarksTest, AddingPresetsThePageAndStoresUnderTheStorageIndex) {
    Marks.Load(49);
    EXPECT_FALSE(Marks.Add(Book, Answer("第11页")));
    EXPECT_EQ(Presets, std::vector<std::string>{"第11页"});
    EXPECT_EQ(Stored(49, 0), (Bookmark{11, "第11页"}));
    EXPECT_TRUE(Marks.OnPair(11));
    // A bookmark on the pair already: adding does nothing, changing and deleting are offered.
    EXPECT_FALSE(Marks.Add(Book, Answer("again")));
    EXPECT_EQ(Marks.Count(), 1);
    const BookmarkMenuState state = Marks.MenuState(Book);
    EXPECT_FALSE(state.AddLabel);
    EXPECT_TRUE(state.EditLabel && state.DeleteLabel && state.LabelInput);
    EXPECT_EQ(state.DefaultItem, 0);
    // Cancelled, or with an empty caption.
    Book.CurrentPage = 13;
    EXPECT_FALSE(Marks.Add(Book, Answer(std::nullopt)));
    EXPECT_EQ(Marks.Count(), 1);
    EXPECT_FALSE(Marks.Add(Book, Answer("")));
    EXPECT_EQ(Stored(49, 1), (Bookmark{13, ""}));
}

// Each change reads the stored bookmarks again inside its write lock: a second process's bookmark
// is kept, a storage index given to another document meanwhile is not written to, and a store
// held by another process changes nothing.
TEST_F(BookmarksTest, ChangesBuildOnTheStoreAndNeverCrossAnotherDocument) {
    std::vector<std::string> told;
    Marks.Tell = [&told](const UserMessage& message) { told.push_back(message.Text); };
    Reg.WriteRegStr(FileKey, "最新文件49", "/books/a.txt");
    const BookmarkContext book{true, 49, 11, 100, "/books/a.txt"};
    Marks.Load(49);
    Registry otherReg{Dir / "registry.sqlite3", {200}};
    Bookmarks other{otherReg};
    other.Load(49);
    other.Add({true, 49, 3, 100, "/books/a.txt"}, Answer("第3页"));
    EXPECT_FALSE(Marks.Add(book, Answer("第11页")));
    EXPECT_EQ(Stored(49, 0), (Bookmark{3, "第3页"}));
    EXPECT_EQ(Stored(49, 1), (Bookmark{11, "第11页"}));
    EXPECT_TRUE(told.empty());

    Reg.WriteRegStr(FileKey, "最新文件49", "/books/b.txt");
    Marks.Delete(book, Reply({true}));
    EXPECT_EQ(Stored(49, 1), (Bookmark{11, "第11页"}));
    EXPECT_EQ(told, std::vector<std::string>{BookmarkNotSavedText});

    Reg.WriteRegStr(FileKey, "最新文件49", "/books/a.txt");
    {
        StoreLock held(Dir / "registry.sqlite3");
        ASSERT_TRUE(held.Locked);
        Marks.Edit(book, Answer("改"));
    }
    EXPECT_EQ(Stored(49, 1), (Bookmark{11, "第11页"}));
    EXPECT_EQ(told.size(), 2u);
}

TEST_F(BookmarksTest, TwentyFirstIsRefused) {
    std::vector<Bookmark> full;
    for (int k = 0; k < 20; ++k)
        full.push_back({100 + 2 * k, "m"});
    Store(49, full);
    Marks.Load(49);
    EXPECT_EQ(Marks.Add(Book, Answer("x")), InfoMessage("没有空余书签可供添加，请删除部分书签。"));
    EXPECT_TRUE(Presets.empty());
    EXPECT_EQ(Marks.Count(), 20);
}

TEST_F(BookmarksTest, DeletionClosesTheGapInTheStore) {
    Store(49, {{1, "a"}, {3, "b"}, {11, "c"}, {5, "d"}, {7, "e"}});
    Marks.Load(49);
    Marks.Delete(Book, Reply({true}));
    EXPECT_EQ(Questions, std::vector<std::string>{"删除书签《c》吗？"});
    EXPECT_EQ(Pages(), (std::vector<int>{1, 3, 5, 7}));
    EXPECT_EQ(Stored(49, 2), (Bookmark{5, "d"}));
    EXPECT_EQ(Stored(49, 3), (Bookmark{7, "e"}));
    EXPECT_EQ(Stored(49, 4), (Bookmark{0, ""}));
}

// Bookmarks on both pages of the pair, next to each other: after the first is deleted the
// second has moved into its slot and is still offered.
TEST_F(BookmarksTest, DeletionWalkOffersEveryBookmarkOnThePair) {
    Store(49, {{11, "left"}, {12, "right"}, {3, "other"}, {12, "right2"}});
    Marks.Load(49);
    Marks.Delete(Book, Reply({true, false, true}));
    EXPECT_EQ(Questions, (std::vector<std::string>{"删除书签《left》吗？", "删除书签《right》吗？",
                                                   "删除书签《right2》吗？"}));
    EXPECT_EQ(Marks.All(), (std::vector<Bookmark>{{12, "right"}, {3, "other"}}));
    EXPECT_EQ(Stored(49, 1), (Bookmark{3, "other"}));
    EXPECT_EQ(Stored(49, 2), (Bookmark{0, ""}));
    EXPECT_EQ(Stored(49, 3), (Bookmark{0, ""}));
    Marks.Delete(Book, Reply({true}));
    EXPECT_EQ(Pages(), std::vector<int>{3});
    EXPECT_FALSE(Marks.MenuState(Book).DeleteLabel);
}

TEST_F(BookmarksTest, ChangingAsksOnceForEachBookmarkOnThePair) {
    Store(49, {{12, "b"}, {3, "x"}, {11, "a"}});
    Marks.Load(49);
    Marks.Edit(Book, Answer("new"));
    EXPECT_EQ(Presets, (std::vector<std::string>{"b", "a"}));
    EXPECT_EQ(Marks.All(), (std::vector<Bookmark>{{12, "new"}, {3, "x"}, {11, "new"}}));
    EXPECT_EQ(Stored(49, 2), (Bookmark{11, "new"}));
    // Both on the pair: the later one is drawn bold.
    EXPECT_EQ(Marks.MenuState(Book).DefaultItem, 2);
}

TEST_F(BookmarksTest, FollowingABookmarkBeyondTheLastPageOffersToDeleteIt) {
    Store(49, {{5, "a"}, {150, "far"}});
    Marks.Load(49);
    EXPECT_EQ(Marks.Follow(Book, 0, Reply({})).Page, 5);
    EXPECT_FALSE(Marks.Follow(Book, 1, Reply({false})).Page);
    EXPECT_EQ(Marks.Count(), 2);
    EXPECT_FALSE(Marks.Follow(Book, 1, Reply({true})).Page);
    EXPECT_EQ(Questions.back(), "此书签指向一个无效页码，是否删除此书签？");
    EXPECT_EQ(Pages(), std::vector<int>{5});
    EXPECT_EQ(Stored(49, 1), (Bookmark{0, ""}));
}

TEST_F(BookmarksTest, UnlistedDocumentKeepsItsBookmarksReadOnly) {
    Store(7, {{11, "a"}, {40, "b"}});
    Marks.Load(7);
    Book.StorageIndex = -1;
    EXPECT_FALSE(Marks.Add(BookmarkContext{true, -1, 21, 100, ""}, Answer("x")));
    Marks.Edit(Book, Answer("x"));
    Marks.Delete(Book, Reply({true}));
    EXPECT_TRUE(Presets.empty());
    EXPECT_TRUE(Questions.empty());
    EXPECT_EQ(Marks.Count(), 2);
    EXPECT_EQ(Reg.ReadRegInt(LabelKey, "-1书签0", -99), -99);
    EXPECT_EQ(Marks.Follow(Book, 1, Reply({})).Page, 40);
    // One beyond the last page cannot be offered for deletion: the reader is told why.
    const Bookmarks::Destination invalid = Marks.Follow({true, -1, 11, 30}, 1, Reply({true}));
    EXPECT_FALSE(invalid.Page);
    EXPECT_EQ(invalid.Message, InfoMessage(InvalidBookmarkUnlistedMessage));
    EXPECT_TRUE(Questions.empty());
    const BookmarkMenuState state = Marks.MenuState(Book);
    EXPECT_FALSE(state.Label);
    EXPECT_TRUE(state.LabelInput);
    // The help text: nothing at all.
    EXPECT_FALSE(Marks.MenuState({false, 7, 11, 10, ""}).LabelInput);
}

} // namespace
