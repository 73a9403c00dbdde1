#pragma once
// The bookmarks of the open document: up to 20 pages with captions, kept in the store under the
// document's storage index on the recent list, slot k as s + "书签" + k (the page, 0 for an
// empty slot) and s + "书签说明" + k (the caption). The slots in use are always 0..n-1.
//
// The storage index is read at each use from the recent list. Every change takes the store's write
// lock, checks that the storage index still belongs to the document and reads its bookmarks again
// before it writes, so that a second process can never cross them. A document that is not on the
// list (storage index -1) keeps the bookmarks it was opened with for following, but none can be
// added, changed or deleted, since nothing could be stored for it.
#include "Registry.h"
#include "reader/UserMessage.h"

#include <functional>
#include <optional>
#include <string>
#include <vector>

inline constexpr int MaxBookmarks = 20;

inline constexpr char BookmarksFullMessage[] = "没有空余书签可供添加，请删除部分书签。";
inline constexpr char InvalidBookmarkQuestion[] = "此书签指向一个无效页码，是否删除此书签？";
// Said instead of the question when the document is not on the recent list, so nothing can be
// deleted for it.
inline constexpr char InvalidBookmarkUnlistedMessage[] =
    "此书签指向一个无效页码。此文件不在最新文件菜单中，不能删除此书签。";

struct Bookmark {
    int Page = 0;
    std::string Caption;
    bool operator==(const Bookmark&) const = default;
};

inline constexpr char BookmarkNotSavedText[] =
    "书签没有保存：设置文件正被另一个程序使用，或这个文件的阅读记录已被改动。请稍后再试。";

// What the bookmark commands need to know about the book at the moment they run.
struct BookmarkContext {
    bool DocumentOpen = false; // a document, not the built-in help text
    int StorageIndex = -1;
    int CurrentPage = 1; // the left page of the shown pair
    int PageCount = 1;
    // The open document's recent-list text: a change is written only while the store still
    // holds this text under StorageIndex. Empty: not checked.
    std::string Entry;
};

// Which bookmark items are enabled, decided each time the main menu opens and after each
// change of the bookmarks.
struct BookmarkMenuState {
    bool Label = false; // "书签处理"
    bool AddLabel = false;
    bool EditLabel = false;
    bool DeleteLabel = false;
    bool LabelInput = false; // "指定书签"
    int DefaultItem = -1;    // the bookmark item drawn bold
};

class Bookmarks {
public:
    // Asks for a caption, preset to the given text; nothing when cancelled.
    using AskCaption = std::function<std::optional<std::string>(const std::string& preset)>;
    // Asks a question; true on OK.
    using Confirm = std::function<bool(const std::string& question)>;

    explicit Bookmarks(Registry& reg) : Reg(reg) {}

    // The bookmarks stored under `s`, up to the first empty slot; none when s < 0.
    void Load(int s);

    int Count() const { return static_cast<int>(Items.size()); }
    const Bookmark& At(int k) const { return Items[k]; }
    const std::vector<Bookmark>& All() const { return Items; }

    // Whether bookmark k, or any bookmark, is on the pair whose left page is `currentPage`.
    bool OnPair(int k, int currentPage) const;
    bool OnPair(int currentPage) const;
    // Whether the bookmarks can be changed: a document is open and it is on the recent list.
    static bool CanChange(const BookmarkContext& book);

    // Adds a bookmark for the shown pair, unless one is on it already. The caption is asked for
    // with "第" + page + "页" preset. What the reader is told when the 20 slots are full.
    std::optional<UserMessage> Add(const BookmarkContext& book, const AskCaption& ask);
    // Asks for a new caption of each bookmark on the shown pair, in slot order.
    void Edit(const BookmarkContext& book, const AskCaption& ask);
    // Offers each bookmark on the shown pair for deletion. After a deletion the same slot is
    // looked at again, since the next bookmark has moved into it.
    void Delete(const BookmarkContext& book, const Confirm& confirm);
    // Following bookmark k: the page to show, or, for a bookmark beyond the last page, no page
    // and what the reader is told when it cannot be offered for deletion.
    struct Destination {
        std::optional<int> Page;
        std::optional<UserMessage> Message;
    };
    // A bookmark beyond the last page is offered for deletion instead, and nothing is shown.
    Destination Follow(const BookmarkContext& book, int k, const Confirm& confirm);

    BookmarkMenuState MenuState(const BookmarkContext& book) const;

    // Receives a change that could not be written (the store held by another process, or the
    // storage index given to another document meanwhile); the bookmarks are then as the store
    // holds them.
    std::function<void(const UserMessage&)> Tell;

    // Empties every slot stored under `s`, for a storage index given to another document.
    static void ClearStored(Registry& reg, int s);

private:
    bool Change(const BookmarkContext& book, const std::function<void()>& change);
    bool Reread(const BookmarkContext& book);
    int IndexOf(const Bookmark& mark) const;
    bool RemoveAsStored(const BookmarkContext& book, const Bookmark& mark);
    void Write(int s, int k);
    void Remove(int s, int k);

    Registry& Reg;
    std::vector<Bookmark> Items;
};
