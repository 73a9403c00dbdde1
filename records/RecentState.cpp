#include "RecentState.h"

#include "Bookmarks.h"
#include "ChapterRecord.h"
#include "RecentList.h"
#include "SettingsStore.h"
#include "text/AsciiCase.h"

#include <sys/stat.h>

namespace {

bool SameFile(const std::string& a, const std::string& b) {
    struct stat sa {
    }, sb{};
    return ::stat(a.c_str(), &sa) == 0 && ::stat(b.c_str(), &sb) == 0 && sa.st_dev == sb.st_dev &&
           sa.st_ino == sb.st_ino;
}

// Keeps every slot value that is in range and not seen before, and gives the slots that lost
// theirs the values nobody holds, smallest first, so the slots are a permutation again.
std::array<int, MaxRecentFiles> Repaired(const std::array<int, MaxRecentFiles>& stored) {
    std::array<bool, MaxRecentFiles> used{};
    std::array<int, MaxRecentFiles> slots = stored;
    for (int& s : slots) {
        if (s >= 0 && s < MaxRecentFiles && !used[s])
            used[s] = true;
        else
            s = -1;
    }
    int next = 0;
    for (int& s : slots) {
        if (s != -1)
            continue;
        while (used[next])
            ++next;
        s = next;
        used[next] = true;
    }
    return slots;
}

} // namespace

bool SameEntry(const std::string& a, const std::string& b) {
    if (a == b)
        return true;
    if (LowerAscii(a) != LowerAscii(b))
        return false;
    // The bar is no letter, so both texts have their bars at the same places. Entries inside
    // one archive may differ only in case; the archive files are tested as files.
    std::size_t bar = ArchiveBar(a);
    if (bar != std::string::npos)
        return a.compare(bar, std::string::npos, b, bar, std::string::npos) == 0 &&
               SameFile(a.substr(0, bar), b.substr(0, bar));
    return SameFile(a, b);
}

RecentState::RecentState() {
    for (int p = 0; p < MaxRecentFiles; ++p)
        Slots[p] = p;
}

int RecentState::Find(const std::string& name, int limit) const {
    const std::string key = LowerAscii(name);
    for (int i = 0; i < limit && i < Count(); ++i)
        if (Keys[i] == key && SameEntry(Entries[i], name))
            return i;
    return -1;
}

int RecentState::PutOnTop(const std::string& name, bool clearBookmarksOnReopen,
                          std::set<int>& cleared) {
    const int found = Find(name, MaxRecentFiles);
    const int p = found >= 0 ? found : MaxRecentFiles - 1;
    const int s = Slots[p];
    if (clearBookmarksOnReopen || found < 0)
        cleared.insert(s);
    if (found == 0) {
        Entries[0] = name; // the letter case of the latest opening
        return found;
    }
    Remove(p);
    Entries.insert(Entries.begin(), name);
    Keys.insert(Keys.begin(), LowerAscii(name));
    const int q = found >= 0 ? Count() - 1 : MaxRecentFiles - 1;
    for (int r = q - 1; r >= 0; --r)
        Slots[r + 1] = Slots[r];
    Slots[0] = s;
    return found;
}

void RecentState::Remove(int p) {
    if (p < 0 || p >= Count())
        return;
    const int s = Slots[p];
    const int last = Count() - 1;
    for (int r = p; r < last; ++r)
        Slots[r] = Slots[r + 1];
    Slots[last] = s;
    Entries.erase(Entries.begin() + p);
    Keys.erase(Keys.begin() + p);
}

int Apply(RecentState& state, const RecentChange& change, std::set<int>& cleared) {
    switch (change.Type) {
    case RecentChange::PutOnTop:
        return state.PutOnTop(change.Name, change.ClearBookmarksOnReopen, cleared);
    case RecentChange::Remove:
        state.Remove(state.Find(change.Name, MaxRecentFiles));
        break;
    case RecentChange::KeepFirst:
        while (state.Count() > change.Count)
            state.Remove(change.Count);
        break;
    }
    return -1;
}

StoredRecent ReadStoredRecent(Registry& reg) {
    StoredRecent stored;
    std::string ignored;
    stored.Readable =
        reg.ReadRegValue(FileKey, RecentOrderSlotName(0), ignored) != RegRead::Failed;
    for (int p = 0; p < MaxRecentFiles; ++p)
        stored.Slots[p] = reg.ReadRegInt(FileKey, RecentOrderSlotName(p), -1);
    for (int s = 0; s < MaxRecentFiles; ++s)
        stored.Texts[s] = reg.ReadRegStr(FileKey, RecentTextName(s), "");
    return stored;
}

RecentState StateOf(const StoredRecent& stored) {
    std::array<int, MaxRecentFiles> slots = stored.Slots;
    if (slots[0] == -1)
        for (int p = 0; p < MaxRecentFiles; ++p)
            slots[p] = p;
    slots = Repaired(slots);
    RecentState state;
    std::vector<int> unused;
    for (int s : slots) {
        if (stored.Texts[s].empty()) {
            unused.push_back(s);
            continue;
        }
        state.Slots[state.Count()] = s;
        state.Entries.push_back(stored.Texts[s]);
        state.Keys.push_back(LowerAscii(stored.Texts[s]));
    }
    for (std::size_t i = 0; i < unused.size(); ++i)
        state.Slots[state.Count() + static_cast<int>(i)] = unused[i];
    return state;
}

void WriteRecentChanges(Registry& reg, const StoredRecent& stored, const RecentState& state,
                        const std::set<int>& cleared) {
    std::array<std::string, MaxRecentFiles> texts;
    for (int p = 0; p < state.Count(); ++p)
        texts[state.Slots[p]] = state.Entries[p];
    for (int p = 0; p < MaxRecentFiles; ++p)
        if (state.Slots[p] != stored.Slots[p])
            reg.WriteRegInt(FileKey, RecentOrderSlotName(p), state.Slots[p]);
    for (int s : cleared)
        Bookmarks::ClearStored(reg, s);
    for (int s = 0; s < MaxRecentFiles; ++s) {
        if (texts[s] == stored.Texts[s])
            continue;
        reg.WriteRegStr(FileKey, RecentTextName(s), texts[s]);
        // The encoding chosen for a document goes with it when its storage index is given to
        // another document (or freed); a change of letter case keeps it.
        if (LowerAscii(texts[s]) != LowerAscii(stored.Texts[s])) {
            if (!reg.ReadRegStr(FileKey, RecentEncodingName(s), "").empty())
                reg.WriteRegStr(FileKey, RecentEncodingName(s), "");
            ClearChapterRecord(reg, s);
        }
    }
}
