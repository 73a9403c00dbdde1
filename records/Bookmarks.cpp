#include "Bookmarks.h"

#include "RecentState.h"
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

// The dialogs are answered first, with no lock held; the change is then made on the bookmarks
// as the store holds them at that moment.
bool Bookmarks::Change(const BookmarkContext& book, const std::function<void()>& change) {
    bool done = false;
    {
        ScopedHive hive(Reg, HKEY_LOCAL_MACHINE);
        RegBatch batch(Reg);
        done = Reread(book);
        if (done)
            change();
    }
    if (!done && Tell)
        Tell(WarningMessage(BookmarkNotSavedText));
    return done;
}

bool Bookmarks::Reread(const BookmarkContext& book) {
    if (!Reg.LockBatch(Reg.BusyTimeout()))
        return false;
    const std::string owner = Reg.ReadRegStr(FileKey, RecentTextName(book.StorageIndex), "");
    if (!book.Entry.empty() && !SameEntry(owner, book.Entry))
        return false;
    Load(book.StorageIndex);
    return true;
}

int Bookmarks::IndexOf(const Bookmark& mark) const {
    for (int k = 0; k < Count(); ++k)
        if (Items[k] == mark)
            return k;
    return -1;
}

std::optional<UserMessage> Bookmarks::Add(const BookmarkContext& book, const AskCaption& ask) {
    if (!CanChange(book) || OnPair(book.CurrentPage))
        return std::nullopt;
    if (Count() >= MaxBookmarks)
        return InfoMessage(BookmarksFullMessage);
    std::optional<std::string> caption = ask("第" + std::to_string(book.CurrentPage) + "页");
    if (!caption)
        return std::nullopt;
    std::optional<UserMessage> full;
    Change(book, [&] {
        if (OnPair(book.CurrentPage))
            return;
        if (Count() >= MaxBookmarks) {
            full = InfoMessage(BookmarksFullMessage);
            return;
        }
        Items.push_back({book.CurrentPage, std::move(*caption)});
        Write(book.StorageIndex, Count() - 1);
    });
    return full;
}

void Bookmarks::Edit(const BookmarkContext& book, const AskCaption& ask) {
    if (!CanChange(book))
        return;
    for (int k = 0; k < Count(); ++k) {
        if (!OnPair(k, book.CurrentPage))
            continue;
        const Bookmark before = Items[k];
        if (std::optional<std::string> caption = ask(before.Caption))
            Change(book, [&] {
                const int i = IndexOf(before);
                if (i < 0)
                    return;
                Items[i].Caption = std::move(*caption);
                Reg.WriteRegStr(LabelKey, CaptionName(book.StorageIndex, i), Items[i].Caption);
            });
    }
}

void Bookmarks::Delete(const BookmarkContext& book, const Confirm& confirm) {
    if (!CanChange(book))
        return;
    for (int k = 0; k < Count();) {
        const Bookmark before = Items[k];
        const bool asked =
            OnPair(k, book.CurrentPage) && confirm("删除书签《" + before.Caption + "》吗？");
        // The next bookmark moves into slot k when this one goes.
        if (!asked || !RemoveAsStored(book, before) || (k < Count() && Items[k] == before))
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
        RemoveAsStored(book, Items[k]);
    return {};
}

bool Bookmarks::RemoveAsStored(const BookmarkContext& book, const Bookmark& mark) {
    return Change(book, [&] {
        if (const int i = IndexOf(mark); i >= 0)
            Remove(book.StorageIndex, i);
    });
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
