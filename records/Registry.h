#pragma once
// The registry tree that holds the settings, the recent list, the bookmarks and the file
// associations, kept in one SQLite file per user: hive, key path, value name, text value.
// Key and value names compare without regard to ASCII letter case, as the registry's do; every
// value is UTF-8 text. Every write is its own transaction and durable when it returns, unless a
// batch is open, in which case the batch's writes commit together or not at all.
//
// The store never shows anything itself. Opening tells the caller what it had to do with a
// damaged file (OpenWarning); the first read or write that fails afterwards is handed once to
// the failure reporter, and the program goes on with what it holds in memory.
#include <functional>
#include <string>
#include <string_view>

struct sqlite3;
struct sqlite3_stmt;
struct OpenedStore;

enum class RegHive { LocalMachine, ClassesRoot };
inline constexpr RegHive HKEY_LOCAL_MACHINE = RegHive::LocalMachine;
inline constexpr RegHive HKEY_CLASSES_ROOT = RegHive::ClassesRoot;

enum class RegRead { Found, Missing, Failed };

struct RegistryOptions {
    // How long a read or write waits for another running instance that holds the file.
    int BusyTimeoutMs = 5000;
    // How long opening waits for it, at most, once: the book is shown on the defaults after
    // that while the store is tried again.
    int OpenWaitMs = 5000;
};

class Registry {
public:
    // Opens the store at `path`, creating it and its folder if missing. An empty path, or a
    // store that cannot be opened at all, gives a store in memory for this run only.
    explicit Registry(std::string path, RegistryOptions options = {});
    ~Registry();
    Registry(const Registry&) = delete;
    Registry& operator=(const Registry&) = delete;

    // $XDG_CONFIG_HOME/mojuan/registry.sqlite3, by default under ~/.config.
    static std::string DefaultPath();

    const std::string& Path() const { return FilePath; }
    // False when the store runs in memory because the file could not be used.
    bool Persistent() const { return IsPersistent; }
    // Another process held the file when it was opened. Until TryReopen succeeds, every read
    // gives its default and every write fails, without a report: what is to be written waits.
    bool Held() const { return HeldAtOpen; }
    // Tries to open the held file again, waiting up to `waitMs`; true once it is open (or had
    // to be set aside as damaged, see OpenWarning). True when it was never held.
    bool TryReopen(int waitMs);
    // What the user should be told once about opening (a damaged file set aside, a file that
    // could not be opened); empty when the store opened normally.
    const std::string& OpenWarning() const { return OpeningWarning; }

    // Receives, once per run, a message for the user about the first failed read or write, once
    // no transaction is open. A failure before a reporter is set is handed over when it is set.
    void SetFailureReporter(std::function<void(const std::string& message)> report);
    bool HadFailure() const { return FailureText.size() > 0; }

    void SetRegHive(RegHive hive) { CurrentHive = hive; }
    RegHive Hive() const { return CurrentHive; }

    // `key` is relative to the current hive; a leading backslash means the same. An empty
    // `name` is the key's default value. A missing value, or text that is not a decimal integer
    // for the integer and boolean reads, gives `def`.
    int ReadRegInt(std::string_view key, std::string_view name, int def);
    std::string ReadRegStr(std::string_view key, std::string_view name, std::string_view def);
    bool ReadRegBool(std::string_view key, std::string_view name, bool def);
    // The same lookup, telling a missing value from a store that could not be read.
    RegRead ReadRegValue(std::string_view key, std::string_view name, std::string& text);

    // Each creates the key if missing; false when the store could not be written.
    bool WriteRegInt(std::string_view key, std::string_view name, int value);
    bool WriteRegStr(std::string_view key, std::string_view name, std::string_view value);
    bool WriteRegBool(std::string_view key, std::string_view name, bool value);
    // Deletes the key with all its values and subkeys. The hive itself cannot be erased.
    bool EraseRegKey(std::string_view key);

    // Writes between these two are one transaction. Batches nest; the outermost commit counts.
    // After a failed write inside a batch the rest of it is skipped and nothing of it is kept.
    void BeginBatch();
    bool CommitBatch();
    // True while a batch holds the store's write lock.
    bool InBatch() const { return BatchDepth > 0; }
    // Takes the write lock for the open batch now, before its first write, so that what the
    // batch reads is what it writes upon. Waits up to `waitMs` for another process holding the
    // store; the store merely being held is not reported as a failure. False when the lock was
    // not had: the batch then writes nothing.
    bool LockBatch(int waitMs);
    int BusyTimeout() const { return Options.BusyTimeoutMs; }

    // From DeferCommits to CommitDeferred every write and batch goes into one transaction,
    // committed (and waited for on the disk) only at CommitDeferred, so that a start does not
    // wait for the disk before it shows the book. Inside it each write and each batch still
    // succeeds or fails by itself. Reads see the writes at once; another process sees them,
    // and may write itself, only after the commit.
    void DeferCommits();
    bool CommitDeferred();

private:
    void Adopt(OpenedStore store);
    bool Write(std::string_view key, std::string_view name, std::string_view text);
    bool RunWrite(sqlite3_stmt* statement);
    bool Exec(const char* sql);
    // The transaction verbs of one write or batch: their own transaction, or a savepoint in
    // the deferred one. A `waitMs` of its own waits that long for the lock, and running out of
    // it is then no failure.
    bool BeginWrite(int waitMs = -1);
    bool CommitWrite();
    void RollBackWrite();
    void Fail(int code);
    void ReportFailure();
    void Succeeded();
    void PrepareStatements();

    std::string FilePath;
    RegistryOptions Options;
    sqlite3* Db = nullptr;
    sqlite3_stmt* SelectValue = nullptr;
    sqlite3_stmt* UpsertValue = nullptr;
    sqlite3_stmt* DeleteKey = nullptr;
    bool IsPersistent = false;
    bool HeldAtOpen = false;
    std::string OpeningWarning;
    RegHive CurrentHive = HKEY_LOCAL_MACHINE;
    int BatchDepth = 0;
    bool BatchBegun = false;
    bool BatchFailed = false;
    bool Deferring = false;
    bool Failing = false;
    std::string FailureText;
    bool FailureReported = false;
    std::function<void(const std::string&)> Reporter;
};

// Selects `hive` for a scope and selects again the hive that was current before, so that code
// working on one tree never leaves the store pointed at another.
class ScopedHive {
public:
    ScopedHive(Registry& reg, RegHive hive) : Reg(reg), Previous(reg.Hive()) {
        Reg.SetRegHive(hive);
    }
    ~ScopedHive() { Reg.SetRegHive(Previous); }
    ScopedHive(const ScopedHive&) = delete;
    ScopedHive& operator=(const ScopedHive&) = delete;

private:
    Registry& Reg;
    RegHive Previous;
};

// Holds a batch open for its lifetime; commits at the end of the scope unless Commit ran.
class RegBatch {
public:
    explicit RegBatch(Registry& registry) : Reg(registry) { Reg.BeginBatch(); }
    ~RegBatch() {
        if (!Done)
            Reg.CommitBatch();
    }
    RegBatch(const RegBatch&) = delete;
    RegBatch& operator=(const RegBatch&) = delete;
    bool Commit() {
        Done = true;
        return Reg.CommitBatch();
    }

private:
    Registry& Reg;
    bool Done = false;
};
