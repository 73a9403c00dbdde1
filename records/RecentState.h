#pragma once
// The recent list's entries and order slots as plain values, the changes made to them, and their
// reading from and writing to the store. The list applies each change to its own copy at once,
// and again, inside the write's transaction, to what the store holds at that moment: a second
// process that changed the list meanwhile is then built upon, never overwritten.
#include "Registry.h"
#include "SettingsStore.h"

#include <array>
#include <set>
#include <string>
#include <vector>

// The list holds as many entries as the store has order slots.
inline constexpr int MaxRecentFiles = OrderSlotCount;

// Whether two entry texts name the same document. The texts compare lower-cased byte by byte,
// but on this platform letter case tells files apart, so texts that differ in case are one
// entry only when they name the same file (a case-insensitive file system, or links).
bool SameEntry(const std::string& a, const std::string& b);

struct RecentState {
    RecentState(); // empty, with the slots 0..49

    std::vector<std::string> Entries;
    // The entries lower-cased: a lookup compares these first, so that a batch of N names costs
    // N times fifty short comparisons.
    std::vector<std::string> Keys;
    std::array<int, MaxRecentFiles> Slots{};

    int Count() const { return static_cast<int>(Entries.size()); }
    // The position of the entry naming `name` among the first `limit` (see SameEntry), or -1.
    int Find(const std::string& name, int limit) const;
    // Puts `name` on top: a listed one moves up with its storage index, a new one takes the
    // storage index of the last slot. The storage indices whose bookmarks are to be cleared go
    // to `cleared`. Gives the position `name` was found at, or -1.
    int PutOnTop(const std::string& name, bool clearBookmarksOnReopen, std::set<int>& cleared);
    // Removes the entry at p; its storage index goes to the first unused slot.
    void Remove(int p);
};

// One change of the list, kept until the store has taken it.
struct RecentChange {
    enum Kind { PutOnTop, Remove, KeepFirst };
    Kind Type = PutOnTop;
    std::string Name; // PutOnTop, Remove
    int Count = 0;    // KeepFirst: the entries that stay
    bool ClearBookmarksOnReopen = false; // PutOnTop: as the setting was when it was asked for
};

// Applies `change` to `state`; for PutOnTop, gives the position the name was found at (or -1).
int Apply(RecentState& state, const RecentChange& change, std::set<int>& cleared);

// The list's values as the store holds them: each order slot (-1 when missing or no number)
// and the text under each storage index.
struct StoredRecent {
    bool Readable = false;
    std::array<int, MaxRecentFiles> Slots{};
    std::array<std::string, MaxRecentFiles> Texts;
};
StoredRecent ReadStoredRecent(Registry& reg);

// The list the stored values give. Damaged slots are repaired into a permutation (all of them
// 0..49 when slot 0 is unset); a slot whose text is empty is skipped, its storage index going
// behind the entries, so one empty text never hides the entries after it.
RecentState StateOf(const StoredRecent& stored);

// Writes what `state` changes of `stored`, and empties the bookmarks of `cleared`, in the
// caller's batch.
void WriteRecentChanges(Registry& reg, const StoredRecent& stored, const RecentState& state,
                        const std::set<int>& cleared);
