#pragma once
// The recent-files list: up to 50 entry texts, most recent first, each a file path or an archive
// entry reference ("archive|entry\path"). The window mirrors it into the "最新文件" submenu.
//
// Persistence under the File key: order slot p ("最新文件顺序" + p) holds the storage index of
// the entry at position p, and "最新文件" + s holds the text stored under s. The fifty slots are
// always a permutation of 0..49, and a storage index stays with its document while its position
// changes, because the document's bookmarks are kept under it. Every change is written as one
// transaction when it happens.
#include "RecentState.h"
#include "Registry.h"
#include "Settings.h"
#include "base/UserMessage.h"

#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

// Library files read for one library opened from outside, the nested ones included.
inline constexpr int MaxLibraryReads = 64;
// The second line of the message refusing a library that names itself, or that lies deeper
// among libraries naming each other than MaxLibraryReads.
inline constexpr char LibraryNamesItselfReason[] = "书库文件不能包含它自己。";
inline constexpr char LibraryTooDeepReason[] = "书库文件嵌套的层次太多。";
// A batch shows this many of its refusals one by one, then one message for the rest.
inline constexpr int MaxSeparateRefusals = 5;
inline constexpr int MaxNamedRefusals = 10;

// "N) text" with N = position + 1; the menu adds no accelerator characters to it.
std::string RecentCaption(int position, const std::string& text);

// Whether an entry text is an archive entry reference. A file of this platform may have "|" in
// its name, so a text that names an existing file is that file.
bool IsArchiveEntry(const std::string& text);
// Where an archive entry reference splits into archive and entry: at the first "|" whose
// prefix names an existing file (an archive's own path may hold "|"), else at the first "|".
// npos when the text is no reference.
std::size_t ArchiveBar(const std::string& text);

// A row chosen in an archive's entry chooser: its reference, and its place in the archive's
// listing, which tells entries of the same name apart.
struct ChosenZipEntry {
    std::string Reference;
    std::int64_t Index = -1;
    bool operator==(const ChosenZipEntry&) const = default;
};

// What an entry refers to: a file, an archive entry (read after extracting it), or an archive
// (opened through its entry chooser).
struct RecentReference {
    std::string Text;    // the entry text, the document's name once it is open
    std::string Archive; // an archive entry's archive; empty for a file
    std::string Entry;   // an archive entry's name with "/" separators
    // The entry's place in the archive's listing when it was chosen there (-1: the first of
    // the name).
    std::int64_t EntryIndex = -1;
    bool ChooseEntries = false; // an archive: its chooser shows which entries to open
    bool InArchive() const { return !Archive.empty(); }
};

// The start-up reopen, as decided from the settings and the list.
struct ReopenPlan {
    enum Kind { None, Entry, AddAgain };
    Kind Action = None;
    int Index = -1;         // the entry to open (Entry)
    std::string Name;       // LastFile, put on the list again (AddAgain)
    int Page = 0;           // the page to show once it is open
    int LastFileIndex = -1; // what LastFileIndex is recorded as
};

class RecentList {
public:
    // Both outlive the list; the settings are read at each use.
    RecentList(Registry& reg, const Settings& settings);

    // Start-up: the order slots (written as 0..49 when unset, repaired when damaged), then the
    // entries of the slots whose text is not empty. Changes not yet written are dropped.
    void Load();

    int Count() const { return State.Count(); }
    const std::vector<std::string>& Items() const { return State.Entries; }
    // Exactly the entry text at position p; empty when there is no entry there.
    std::string GetIndexFilename(int p) const;
    std::string Caption(int p) const { return RecentCaption(p, GetIndexFilename(p)); }
    // The storage index at position p (order slot p); -1 outside 0..49. Bookmarks of the open
    // document live under StorageIndex(CurrentIndex).
    int StorageIndex(int p) const;
    const std::array<int, MaxRecentFiles>& OrderSlots() const { return State.Slots; }
    // The encoding name chosen for the document at position p, kept with its record (empty:
    // recognised when read), and its change, written at once.
    std::string EncodingOf(int p) const;
    void SetEncodingOf(int p, const std::string& name);
    // The position of the entry naming `name` (see SameEntry), or -1.
    int Find(const std::string& name) const;

    // Puts `name` on top. A library file is read instead, each of its lines put on top in turn.
    // True when an entry was added or moved.
    bool OpenItemFile(const std::string& name);
    // Removes the entry at p; its storage index goes to the first unused slot. CurrentIndex
    // follows the open document (-1 when it was the one removed).
    void DeleteNewItem(int p);

    // Changes made while a ChangeBatch lives are written together when the outermost ends, the
    // submenu is rebuilt once and the refusals are told then.
    //
    // Every write takes the store's write lock first, reads the list as the store holds it and
    // makes the changes on that, so two processes never undo or cross each other's entries.
    // When the store is held by another process, the list keeps its changes in memory and the
    // write is tried again by the next change or by RetryPendingWrite.
    class ChangeBatch {
    public:
        explicit ChangeBatch(RecentList& list) : List(list) { ++List.EditDepth; }
        ~ChangeBatch() { List.EndEdit(); }
        ChangeBatch(const ChangeBatch&) = delete;
        ChangeBatch& operator=(const ChangeBatch&) = delete;

    private:
        RecentList& List;
    };
    // Changes the store has not taken yet.
    bool HasPendingWrite() const { return !Pending.empty(); }
    // Tries those again, briefly; true when none is left.
    bool RetryPendingWrite();

    // Opening a document takes these steps, the window reading the file between them:
    // Reference(p) says what entry p refers to; once the file to read is there (an archive
    // entry extracted), TakeForOpening tests it and applies ReorderRecent; an archive goes
    // through its chooser and PutChosenOnTop; a file read is recorded with RecordOpened.
    //
    // What the entry at p refers to; nothing outside the list.
    std::optional<RecentReference> Reference(int p) const;
    // Tests that `file` (the entry's, or the file extracted from `archive`) is there, telling
    // when it is not, and moves the entry to the top with ReorderRecent. The position the
    // document will have, or -1 when it cannot be opened.
    int TakeForOpening(int p, const std::string& file, const std::string& archive);
    // The rows chosen in an archive's chooser go on top in the order given; their listing
    // places are kept, so of entries sharing a name the chosen one is extracted. True when the
    // top entry is then to be opened.
    bool PutChosenOnTop(const std::vector<ChosenZipEntry>& entries);
    // The document of the entry at `index` was read and is shown.
    void RecordOpened(int index);

    // A batch of names (open dialog, drop, command line), given in the order OpenItemFile takes
    // them. When a library was read and ClearRecentOnLibraryOpen is set, the list then keeps only
    // the entries the batch put on top (if it put any). True when the top entry is then to be
    // opened.
    bool PutBatchOnTop(const std::vector<std::string>& names);

    // The entries previous and next document open, or -1 when they do nothing.
    int ItemFilePrevIndex() const;
    int ItemFileNextIndex() const;

    ReopenPlan PlanStartupReopen() const;

    // The entry drawn bold in the submenu (the open document's), or -1.
    int DefaultItem() const;

    // Called after every change of the entries, so the window can rebuild the submenu.
    std::function<void()> Changed;
    // Receives what the user must be told (missing files, refused libraries), in order. It is
    // called only while no store transaction is open: a message raised inside one waits for
    // its end, so a message box never keeps another running instance from the store.
    std::function<void(const UserMessage&)> Tell;

    int CurrentIndex = -1;
    int AddedCount = 0;
    bool LibraryOpened = false;
    bool FileOpened = false;

private:
    // The open document, known by its storage index and its lower-cased text.
    struct OpenEntry {
        int Storage = -1;
        std::string Key;
    };
    OpenEntry OpenIdentity() const;
    void Follow(const OpenEntry& open);
    void Change(RecentChange change);
    bool CommitPending();
    void EndEdit();
    bool ReadLibrary(const std::string& name);
    void Notify();
    void BeginBatch();
    void TrimToBatch();
    bool FileTest(const std::string& path, const std::string& archive = {});
    void Report(UserMessage message, const std::string& name);
    void DeliverMessages();
    // Delivers the waiting messages when a public operation returns.
    struct Delivery {
        RecentList& List;
        ~Delivery() { List.DeliverMessages(); }
    };

    Registry& Reg;
    const Settings& Setting;
    RecentState State;
    std::vector<RecentChange> Pending;
    bool WriteWaiting = false; // the last write found the store held
    int EditDepth = 0;
    bool ListChanged = false;
    // Library files being read, by their real paths, so that one naming itself is refused.
    std::vector<std::string> LibrariesBeingRead;
    int LibraryReads = 0;
    std::vector<UserMessage> PendingMessages;
    // Refusals beyond MaxSeparateRefusals: how many, and the first names.
    int MoreRefusals = 0;
    std::vector<std::string> MoreRefusedNames;
    // The listing places of the references chosen in this run: of entries sharing a name, the
    // chosen one is opened.
    std::unordered_map<std::string, std::int64_t> ChosenIndex;
};
