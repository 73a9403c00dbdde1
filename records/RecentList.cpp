#include "RecentList.h"

#include "LibraryFile.h"
#include "SettingsStore.h"
#include "reader/FileTest.h"

#include <algorithm>
#include <climits>
#include <cstdlib>
#include <sys/stat.h>

namespace {

std::string SlotName(int p) {
    return RecentOrderSlotName(p);
}

std::string TextName(int s) {
    return RecentTextName(s);
}

bool SameFile(const std::string& a, const std::string& b) {
    struct stat sa {
    }, sb{};
    return ::stat(a.c_str(), &sa) == 0 && ::stat(b.c_str(), &sb) == 0 && sa.st_dev == sb.st_dev &&
           sa.st_ino == sb.st_ino;
}

std::string RealPath(const std::string& path) {
    char* real = ::realpath(path.c_str(), nullptr);
    if (!real)
        return path;
    std::string result(real);
    std::free(real);
    return result;
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

std::string RecentCaption(int position, const std::string& text) {
    return std::to_string(position + 1) + ") " + text;
}

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

bool IsArchiveEntry(const std::string& text) {
    return ArchiveBar(text) != std::string::npos;
}

std::size_t ArchiveBar(const std::string& text) {
    const std::size_t first = text.find('|');
    if (first == std::string::npos || IsExistingFile(text))
        return std::string::npos;
    // No file has a path longer than the system allows: a huge text costs no more tests.
    for (std::size_t bar = first; bar != std::string::npos && bar < PATH_MAX;
         bar = text.find('|', bar + 1))
        if (IsExistingFile(text.substr(0, bar)))
            return bar;
    return first;
}

RecentList::RecentList(Registry& reg, const Settings& settings) : Reg(reg), Setting(settings) {
    for (int p = 0; p < MaxRecentFiles; ++p)
        Slots[p] = p;
}

void RecentList::Load() {
    ScopedHive hive(Reg, HKEY_LOCAL_MACHINE);
    std::string ignored;
    const bool readable = Reg.ReadRegValue(FileKey, SlotName(0), ignored) != RegRead::Failed;
    std::array<int, MaxRecentFiles> stored{};
    for (int p = 0; p < MaxRecentFiles; ++p)
        stored[p] = Reg.ReadRegInt(FileKey, SlotName(p), -1);
    if (stored[0] == -1)
        for (int p = 0; p < MaxRecentFiles; ++p)
            stored[p] = readable ? p : stored[p];
    Slots = Repaired(stored);
    if (readable) {
        RegBatch batch(Reg);
        for (int p = 0; p < MaxRecentFiles; ++p)
            if (Slots[p] != Reg.ReadRegInt(FileKey, SlotName(p), -1))
                Reg.WriteRegInt(FileKey, SlotName(p), Slots[p]);
    }
    Entries.clear();
    for (int p = 0; p < MaxRecentFiles; ++p) {
        std::string text = Reg.ReadRegStr(FileKey, TextName(Slots[p]), "");
        if (text.empty())
            break;
        Entries.push_back(std::move(text));
    }
    if (CurrentIndex >= Count())
        CurrentIndex = -1;
    Notify();
}

std::string RecentList::GetIndexFilename(int p) const {
    return p >= 0 && p < Count() ? Entries[p] : std::string();
}

int RecentList::StorageIndex(int p) const {
    return p >= 0 && p < MaxRecentFiles ? Slots[p] : -1;
}

int RecentList::Find(const std::string& name) const {
    return FindAmong(name, Count());
}

int RecentList::FindAmong(const std::string& name, int limit) const {
    for (int i = 0; i < limit; ++i)
        if (SameEntry(Entries[i], name))
            return i;
    return -1;
}

bool RecentList::OpenItemFile(const std::string& name) {
    Delivery delivery{*this};
    if (!IsArchiveEntry(name)) {
        if (!FileTest(name))
            return false;
        if (ExtensionIs(name, LibraryExtension))
            return ReadLibrary(name);
    }
    const int found = FindAmong(name, std::min(Count(), MaxRecentFiles));
    const int p = found >= 0 ? found : MaxRecentFiles - 1;
    // The first AddedCount entries are the ones this batch put on top; moving one of them again
    // does not make the batch larger.
    const bool alreadyAdded = found >= 0 && found < AddedCount;

    // CurrentIndex follows its document: the open one found moves to the top, one pushed out of
    // a full list leaves the list, and a new entry is not the open document.
    const bool openMovesUp = found >= 0 && CurrentIndex == found;

    ScopedHive hive(Reg, HKEY_LOCAL_MACHINE);
    RegBatch batch(Reg);
    if (found == 0)
        RenewTop(name);
    else
        MoveToTop(name, p, found, openMovesUp);
    batch.Commit();

    FileOpened = true;
    if (!alreadyAdded)
        AddedCount = std::min(AddedCount + 1, Count());
    Notify();
    return true;
}

// Taking the top entry out and putting it back on top leaves the order, the slots and the open
// document as they were, so only what may differ is written: its text (the letter case may have
// changed) and, if asked, its cleared bookmarks. A start that reopens the top entry from the
// command line then writes nothing at all.
void RecentList::RenewTop(const std::string& name) {
    if (Setting.ClearBookmarksOnReopen)
        ClearBookmarks(Slots[0]);
    Entries[0] = name;
    Reg.WriteRegStr(FileKey, TextName(Slots[0]), name);
}

// Takes entry `p` out (for a new name, `p` is the last slot) and puts `name` on top, as the
// batch the caller holds.
void RecentList::MoveToTop(const std::string& name, int p, int found, bool openMovesUp) {
    const int s = Slots[p];
    RemoveEntry(p);
    if (CurrentIndex == p)
        CurrentIndex = -1;
    else if (CurrentIndex > p)
        --CurrentIndex;
    if (Setting.ClearBookmarksOnReopen || found < 0)
        ClearBookmarks(s);
    Entries.insert(Entries.begin(), name);
    if (openMovesUp)
        CurrentIndex = 0;
    else if (CurrentIndex >= 0)
        ++CurrentIndex;

    const auto before = Slots;
    const int q = found >= 0 ? Count() - 1 : MaxRecentFiles - 1;
    for (int r = q - 1; r >= 0; --r)
        Slots[r + 1] = Slots[r];
    Slots[0] = s;
    WriteSlotsFrom(before);
    Reg.WriteRegStr(FileKey, TextName(s), name);
}

void RecentList::DeleteNewItem(int p) {
    if (p < 0 || p >= Count())
        return;
    ScopedHive hive(Reg, HKEY_LOCAL_MACHINE);
    RegBatch batch(Reg);
    RemoveEntry(p);
    batch.Commit();
    Notify();
}

// The design's DeleteNewItem without the notice: the freed storage index moves to the first
// unused slot and its text is emptied. The caller holds the batch.
void RecentList::RemoveEntry(int p) {
    if (p < 0 || p >= Count())
        return;
    const auto before = Slots;
    const int s = Slots[p];
    const int last = Count() - 1;
    for (int r = p; r < last; ++r)
        Slots[r] = Slots[r + 1];
    Slots[last] = s;
    WriteSlotsFrom(before);
    Reg.WriteRegStr(FileKey, TextName(s), "");
    Entries.erase(Entries.begin() + p);
}

void RecentList::WriteSlotsFrom(const std::array<int, MaxRecentFiles>& before) {
    for (int p = 0; p < MaxRecentFiles; ++p)
        if (Slots[p] != before[p])
            Reg.WriteRegInt(FileKey, SlotName(p), Slots[p]);
}

void RecentList::ClearBookmarks(int s) {
    const std::string prefix = std::to_string(s);
    for (int k = 0; k < BookmarkSlotCount; ++k) {
        Reg.WriteRegInt(LabelKey, prefix + "书签" + std::to_string(k), 0);
        Reg.WriteRegStr(LabelKey, prefix + "书签说明" + std::to_string(k), "");
    }
}

// Each line goes on top in file order; the library itself never becomes an entry. A library
// already being read (it names itself, directly or through others) is refused, since reading it
// again would never end. Libraries naming others several times over could also be read without
// end in practice (two names of the next one on each of thirty levels are a billion reads), so
// one library read from outside reads at most MaxLibraryReads libraries; the first one refused
// beyond them is named.
// The lines are tested as files before the store's transaction begins, so that the write lock
// is held only for the writes.
bool RecentList::ReadLibrary(const std::string& name) {
    const std::string real = RealPath(name);
    if (LibrariesBeingRead.empty())
        LibraryReads = 0;
    const bool reading = std::find(LibrariesBeingRead.begin(), LibrariesBeingRead.end(), real) !=
                         LibrariesBeingRead.end();
    if (reading) {
        Report(WarningMessage(OpenFailedText(name, LibraryNamesItselfReason)));
        return false;
    }
    if (LibraryReads >= MaxLibraryReads) {
        if (LibraryReads++ == MaxLibraryReads)
            Report(WarningMessage(OpenFailedText(name, LibraryTooDeepReason)));
        return false;
    }
    ++LibraryReads;
    LibraryRead read = ReadLibraryFile(name);
    // A library that could not be read added nothing, so the batch must not clear the list.
    if (!read.Lines) {
        if (read.Message)
            Report(std::move(*read.Message));
        return false;
    }
    std::vector<std::string> names;
    for (const std::string& line : *read.Lines) {
        std::string entry = LibraryEntryName(line);
        if (IsArchiveEntry(entry) || FileTest(entry))
            names.push_back(std::move(entry));
    }
    LibrariesBeingRead.push_back(real);
    {
        // Fifty moves as one transaction instead of fifty writes to disk.
        ScopedHive hive(Reg, HKEY_LOCAL_MACHINE);
        RegBatch batch(Reg);
        for (const std::string& entry : names)
            OpenItemFile(entry);
    }
    LibrariesBeingRead.pop_back();
    LibraryOpened = true;
    return false;
}

bool RecentList::FileTest(const std::string& path, const std::string& archive) {
    std::optional<UserMessage> missing = MissingFileWarning(path, archive);
    if (missing)
        Report(std::move(*missing));
    return !missing;
}

void RecentList::Report(UserMessage message) {
    PendingMessages.push_back(std::move(message));
}

void RecentList::DeliverMessages() {
    if (Reg.InBatch() || PendingMessages.empty())
        return;
    std::vector<UserMessage> messages;
    messages.swap(PendingMessages);
    for (const UserMessage& message : messages)
        if (Tell)
            Tell(message);
}

void RecentList::Notify() {
    if (Changed)
        Changed();
}
