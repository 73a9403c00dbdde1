#include "RecentList.h"

#include "Bookmarks.h"
#include "LibraryFile.h"
#include "SettingsStore.h"
#include "base/FileTest.h"

#include <algorithm>
#include <climits>
#include <cstdlib>

namespace {

// A write tried again while another process holds the store waits only this long for it.
constexpr int RetryWaitMs = 50;

std::string RefusalSummary(int count, const std::vector<std::string>& names) {
    std::string text = "另有 " + std::to_string(count) + " 个文件无法打开，其中前 " +
                       std::to_string(names.size()) + " 个是：";
    for (const std::string& name : names)
        text += "\r\n" + name;
    return text;
}

} // namespace

std::string RecentCaption(int position, const std::string& text) {
    return std::to_string(position + 1) + ") " + text;
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

RecentList::RecentList(Registry& reg, const Settings& settings) : Reg(reg), Setting(settings) {}

void RecentList::Load() {
    ScopedHive hive(Reg, HKEY_LOCAL_MACHINE);
    Pending.clear();
    WriteWaiting = false;
    const StoredRecent stored = ReadStoredRecent(Reg);
    State = StateOf(stored);
    if (stored.Readable) {
        RegBatch batch(Reg);
        WriteRecentChanges(Reg, stored, State, {});
    }
    if (CurrentIndex >= Count())
        CurrentIndex = -1;
    Notify();
}

std::string RecentList::GetIndexFilename(int p) const {
    return p >= 0 && p < Count() ? State.Entries[p] : std::string();
}

std::string RecentList::EncodingOf(int p) const {
    if (p < 0 || p >= Count())
        return {};
    ScopedHive hive(Reg, HKEY_LOCAL_MACHINE);
    return Reg.ReadRegStr(FileKey, RecentEncodingName(State.Slots[p]), "");
}

void RecentList::SetEncodingOf(int p, const std::string& name) {
    if (p < 0 || p >= Count())
        return;
    ScopedHive hive(Reg, HKEY_LOCAL_MACHINE);
    Reg.WriteRegStr(FileKey, RecentEncodingName(State.Slots[p]), name);
}

int RecentList::StorageIndex(int p) const {
    return p >= 0 && p < MaxRecentFiles ? State.Slots[p] : -1;
}

int RecentList::Find(const std::string& name) const {
    return State.Find(name, Count());
}

bool RecentList::OpenItemFile(const std::string& name) {
    ChangeBatch batch(*this);
    if (!IsArchiveEntry(name)) {
        if (!FileTest(name))
            return false;
        if (ExtensionIs(name, LibraryExtension))
            return ReadLibrary(name);
    }
    const int found = State.Find(name, std::min(Count(), MaxRecentFiles));
    // The first AddedCount entries are the ones this batch put on top; moving one of them again
    // does not make the batch larger.
    const bool alreadyAdded = found >= 0 && found < AddedCount;
    // Putting the top entry back on top changes nothing but, perhaps, its letter case, so a
    // start that reopens the top entry from the command line writes nothing at all.
    const bool unchanged =
        found == 0 && State.Entries[0] == name && !Setting.ClearBookmarksOnReopen;
    if (!unchanged)
        Change({RecentChange::PutOnTop, name, 0, Setting.ClearBookmarksOnReopen});
    FileOpened = true;
    if (!alreadyAdded)
        AddedCount = std::min(AddedCount + 1, Count());
    return true;
}

void RecentList::DeleteNewItem(int p) {
    if (p < 0 || p >= Count())
        return;
    ChangeBatch batch(*this);
    Change({RecentChange::Remove, State.Entries[p]});
}

RecentList::OpenEntry RecentList::OpenIdentity() const {
    if (CurrentIndex < 0 || CurrentIndex >= Count())
        return {};
    return {State.Slots[CurrentIndex], State.Keys[CurrentIndex]};
}

// The open document keeps its storage index wherever it moves; pushed out of the list or
// removed, it has no entry any more.
void RecentList::Follow(const OpenEntry& open) {
    CurrentIndex = -1;
    for (int p = 0; p < Count() && open.Storage >= 0; ++p)
        if (State.Slots[p] == open.Storage && State.Keys[p] == open.Key)
            CurrentIndex = p;
}

void RecentList::Change(RecentChange change) {
    const OpenEntry open = OpenIdentity();
    std::set<int> cleared; // written when the change is
    Apply(State, change, cleared);
    Follow(open);
    Pending.push_back(std::move(change));
    ListChanged = true;
}

// Inside the write lock the list is read as the store holds it, the waiting changes are made on
// that, and what differs is written. Only a committed write becomes the list in memory; until
// then the list keeps its changes and waits.
bool RecentList::CommitPending() {
    if (Pending.empty())
        return true;
    ScopedHive hive(Reg, HKEY_LOCAL_MACHINE);
    const OpenEntry open = OpenIdentity();
    RegBatch batch(Reg);
    const bool locked = Reg.LockBatch(WriteWaiting ? RetryWaitMs : Reg.BusyTimeout());
    WriteWaiting = true;
    if (!locked)
        return false;
    const StoredRecent stored = ReadStoredRecent(Reg);
    if (!stored.Readable)
        return false;
    RecentState next = StateOf(stored);
    std::set<int> cleared;
    for (const RecentChange& change : Pending)
        Apply(next, change, cleared);
    WriteRecentChanges(Reg, stored, next, cleared);
    if (!batch.Commit())
        return false;
    State = std::move(next);
    Pending.clear();
    WriteWaiting = false;
    Follow(open);
    ListChanged = true;
    return true;
}

bool RecentList::RetryPendingWrite() {
    if (Pending.empty())
        return true;
    ChangeBatch batch(*this);
    return CommitPending();
}

void RecentList::EndEdit() {
    if (--EditDepth > 0)
        return;
    CommitPending();
    if (ListChanged) {
        ListChanged = false;
        Notify();
    }
    DeliverMessages();
}

// Each line goes on top in file order; the library itself never becomes an entry. A library
// already being read (it names itself, directly or through others) is refused, since reading it
// again would never end. Libraries naming others several times over could also be read without
// end in practice (two names of the next one on each of thirty levels are a billion reads), so
// one library read from outside reads at most MaxLibraryReads libraries; the first one refused
// beyond them is named.
bool RecentList::ReadLibrary(const std::string& name) {
    const std::string real = RealPath(name);
    if (LibrariesBeingRead.empty())
        LibraryReads = 0;
    const bool reading = std::find(LibrariesBeingRead.begin(), LibrariesBeingRead.end(), real) !=
                         LibrariesBeingRead.end();
    if (reading) {
        Report(WarningMessage(OpenFailedText(name, LibraryNamesItselfReason)), name);
        return false;
    }
    if (LibraryReads >= MaxLibraryReads) {
        if (LibraryReads++ == MaxLibraryReads)
            Report(WarningMessage(OpenFailedText(name, LibraryTooDeepReason)), name);
        return false;
    }
    ++LibraryReads;
    LibraryRead read = ReadLibraryFile(name);
    // A library that could not be read added nothing, so the batch must not clear the list.
    if (!read.Lines) {
        if (read.Message)
            Report(std::move(*read.Message), name);
        return false;
    }
    LibrariesBeingRead.push_back(real);
    {
        ChangeBatch batch(*this);
        for (const std::string& line : *read.Lines)
            OpenItemFile(LibraryEntryName(line));
    }
    LibrariesBeingRead.pop_back();
    LibraryOpened = true;
    return false;
}

bool RecentList::FileTest(const std::string& path, const std::string& archive) {
    std::optional<UserMessage> missing = MissingFileWarning(path, archive);
    if (missing)
        Report(std::move(*missing), archive.empty() ? path : archive);
    return !missing;
}

// A batch of thousands of missing files must not stack up thousands of boxes: the first few are
// told one by one, the rest counted and the first of them named.
void RecentList::Report(UserMessage message, const std::string& name) {
    if (static_cast<int>(PendingMessages.size()) < MaxSeparateRefusals) {
        PendingMessages.push_back(std::move(message));
        return;
    }
    ++MoreRefusals;
    if (static_cast<int>(MoreRefusedNames.size()) < MaxNamedRefusals)
        MoreRefusedNames.push_back(name);
}

void RecentList::DeliverMessages() {
    if (EditDepth > 0 || Reg.InBatch() || PendingMessages.empty())
        return;
    std::vector<UserMessage> messages;
    messages.swap(PendingMessages);
    if (MoreRefusals > 0)
        messages.push_back(WarningMessage(RefusalSummary(MoreRefusals, MoreRefusedNames)));
    MoreRefusals = 0;
    MoreRefusedNames.clear();
    for (const UserMessage& message : messages)
        if (Tell)
            Tell(message);
}

void RecentList::Notify() {
    if (Changed)
        Changed();
}
