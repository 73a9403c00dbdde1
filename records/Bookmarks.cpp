#include "Bookmarks.h"

#include "SettingsStore.h"

namespace {

std::string PageName(int s, int k) {
    return std::to_string(s) + "书签" + std::to_string(k);
}

std::string CaptionName(int s, int k) {
    return std::to_string(s) + "书签说明" + std::to_string(k);
}

} // namespace

void Bookmarks::Load(int s) {
    Items.clear();
    if (s < 0)
        return;
    ScopedHive hive(Reg, HKEY_LOCAL_MACHINE);
    for (int k = 0; k < MaxBookmarks; ++k) {
        Bookmark mark{Reg.ReadRegInt(LabelKey, PageName(s, k), 0),
                      Reg.ReadRegStr(LabelKey, CaptionName(s, k), "")};
        if (mark.Page < 1)
            break;
        Items.push_back(std::move(mark));
    }
}

bool Bookmarks::OnPair(int k, int currentPage) const {
    return Items[k].Page == currentPage || Items[k].Page == currentPage + 1;
}

bool Bookmarks::OnPair(int currentPage) const {
    for (int k = 0; k < Count(); ++k)
        if (OnPair(k, currentPage))
            return true;
    return false;
}

bool Bookmarks::CanChange(const BookmarkContext& book) {
    return book.DocumentOpen && book.StorageIndex >= 0;
}

std::optional<UserMessage> Bookmarks::Add(const BookmarkContext& book, const AskCaption& ask) {
    if (!CanChange(book) || OnPair(book.CurrentPage))
        return std::nullopt;
    if (Count() >= MaxBookmarks)
        return InfoMessage(BookmarksFullMessage);
    std::optional<std::string> caption = ask("第" + std::to_string(book.CurrentPage) + "页");
    if (!caption)
        return std::nullopt;
    Items.push_back({book.CurrentPage, std::move(*caption)});
    ScopedHive hive(Reg, HKEY_LOCAL_MACHINE);
    RegBatch batch(Reg);
    Write(book.StorageIndex, Count() - 1);
    return std::nullopt;
}

void Bookmarks::Edit(const BookmarkContext& book, const AskCaption& ask) {
    if (!CanChange(book))
        return;
    for (int k = 0; k < Count(); ++k) {
        if (!OnPair(k, book.CurrentPage))
            continue;
        if (std::optional<std::string> caption = ask(Items[k].Caption)) {
            Items[k].Caption = std::move(*caption);
            ScopedHive hive(Reg, HKEY_LOCAL_MACHINE);
            Reg.WriteRegStr(LabelKey, CaptionName(book.StorageIndex, k), Items[k].Caption);
        }
    }
}

void Bookmarks::Delete(const BookmarkContext& book, const Confirm& confirm) {
    if (!CanChange(book))
        return;
    for (int k = 0; k < Count();) {
        if (OnPair(k, book.CurrentPage) && confirm("删除书签《" + Items[k].Caption + "》吗？"))
            Remove(book.StorageIndex, k);
        else
            ++k;
    }
}

Bookmarks::Destination Bookmarks::Follow(const BookmarkContext& book, int k,
                                         const Confirm& confirm) {
    if (k < 0 || k >= Count())
        return {};
    if (Items[k].Page <= book.PageCount)
        return {Items[k].Page, std::nullopt};
    if (!CanChange(book))
        return {std::nullopt, InfoMessage(InvalidBookmarkUnlistedMessage)};
    if (confirm(InvalidBookmarkQuestion))
        Remove(book.StorageIndex, k);
    return {};
}

BookmarkMenuState Bookmarks::MenuState(const BookmarkContext& book) const {
    BookmarkMenuState state;
    state.Label = CanChange(book);
    const bool onPair = book.DocumentOpen && OnPair(book.CurrentPage);
    state.AddLabel = !onPair;
    state.EditLabel = state.DeleteLabel = onPair;
    state.LabelInput = book.DocumentOpen && Count() > 0;
    if (state.LabelInput)
        for (int k = 0; k < Count(); ++k)
            if (OnPair(k, book.CurrentPage))
                state.DefaultItem = k; // the later of two on the pair is the one drawn bold
    return state;
}

namespace {

void WriteSlot(Registry& reg, int s, int k, const Bookmark& mark) {
    reg.WriteRegInt(LabelKey, PageName(s, k), mark.Page);
    reg.WriteRegStr(LabelKey, CaptionName(s, k), mark.Caption);
}

} // namespace

void Bookmarks::Write(int s, int k) {
    WriteSlot(Reg, s, k, k < Count() ? Items[k] : Bookmark{});
}

void Bookmarks::ClearStored(Registry& reg, int s) {
    for (int k = 0; k < MaxBookmarks; ++k)
        WriteSlot(reg, s, k, {});
}

// The slots after k move up by one and the last one in use is emptied, all in one transaction.
void Bookmarks::Remove(int s, int k) {
    const int before = Count();
    Items.erase(Items.begin() + k);
    ScopedHive hive(Reg, HKEY_LOCAL_MACHINE);
    RegBatch batch(Reg);
    for (int r = k; r < before; ++r)
        Write(s, r);
}
