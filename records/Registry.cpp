#include "Registry.h"

#include "RegistryFile.h"

#include <sqlite3.h>

#include <algorithm>
#include <charconv>
#include <cstdlib>
#include <pwd.h>
#include <unistd.h>

namespace {

// While the store keeps failing (another instance holding it, say), later operations wait only
// this long, so that a run of writes cannot freeze the window for many busy timeouts in a row.
constexpr int FailingBusyTimeoutMs = 100;

const char* HiveName(RegHive hive) {
    return hive == HKEY_CLASSES_ROOT ? "HKEY_CLASSES_ROOT" : "HKEY_LOCAL_MACHINE";
}

// Leading and trailing backslashes and empty components carry no meaning in a key path, so
// "\Software\\Vesk\" and "Software\Vesk" name the same key.
std::string NormalizeKey(std::string_view key) {
    std::string path;
    path.reserve(key.size());
    for (char c : key) {
        if (c == '\\' && (path.empty() || path.back() == '\\'))
            continue;
        path += c;
    }
    if (!path.empty() && path.back() == '\\')
        path.pop_back();
    return path;
}

// A decimal integer with an optional sign and nothing else, within the range of int.
bool ParseDecimal(std::string_view text, int& value) {
    if (!text.empty() && text.front() == '+') {
        text.remove_prefix(1);
        if (text.empty() || text.front() == '-')
            return false;
    }
    const char* end = text.data() + text.size();
    auto [ptr, ec] = std::from_chars(text.data(), end, value);
    return ec == std::errc() && ptr == end;
}

void BindText(sqlite3_stmt* statement, int index, std::string_view text) {
    sqlite3_bind_text(statement, index, text.data(), static_cast<int>(text.size()),
                      SQLITE_TRANSIENT);
}

std::string HomeDir() {
    if (const char* home = std::getenv("HOME"); home && *home)
        return home;
    if (const passwd* pw = getpwuid(getuid()); pw && pw->pw_dir)
        return pw->pw_dir;
    return {};
}

} // namespace

Registry::Registry(std::string path, RegistryOptions options)
    : FilePath(std::move(path)), Options(options) {
    Adopt(OpenRegistryFile(FilePath, std::min(Options.BusyTimeoutMs, Options.OpenWaitMs)));
}

void Registry::Adopt(OpenedStore store) {
    Db = store.Db;
    IsPersistent = store.Persistent;
    HeldAtOpen = store.Held;
    OpeningWarning = std::move(store.Warning);
    if (Db)
        sqlite3_busy_timeout(Db, Options.BusyTimeoutMs);
    PrepareStatements();
}

bool Registry::TryReopen(int waitMs) {
    if (!HeldAtOpen)
        return true;
    if (BatchDepth > 0)
        return false;
    OpenedStore store = OpenRegistryFile(FilePath, waitMs);
    if (store.Held)
        return false;
    Adopt(std::move(store));
    return true;
}

Registry::~Registry() {
    while (BatchDepth > 0)
        CommitBatch();
    sqlite3_finalize(SelectValue);
    sqlite3_finalize(UpsertValue);
    sqlite3_finalize(DeleteKey);
    sqlite3_close_v2(Db);
}

std::string Registry::DefaultPath() {
    std::string config;
    if (const char* xdg = std::getenv("XDG_CONFIG_HOME"); xdg && xdg[0] == '/')
        config = xdg;
    else if (std::string home = HomeDir(); !home.empty())
        config = home + "/.config";
    else
        return {};
    return config + "/mojuan/registry.sqlite3";
}

void Registry::PrepareStatements() {
    if (!Db)
        return;
    sqlite3_prepare_v3(Db, SelectValueSql, -1, SQLITE_PREPARE_PERSISTENT, &SelectValue, nullptr);
    sqlite3_prepare_v3(Db, UpsertValueSql, -1, SQLITE_PREPARE_PERSISTENT, &UpsertValue, nullptr);
    sqlite3_prepare_v3(Db, DeleteKeySql, -1, SQLITE_PREPARE_PERSISTENT, &DeleteKey, nullptr);
}

void Registry::SetFailureReporter(std::function<void(const std::string&)> report) {
    Reporter = std::move(report);
    ReportFailure();
}

// The report may show a message box that waits for the user, so it waits itself until no
// transaction is open: a second running instance must not find the store locked meanwhile.
void Registry::ReportFailure() {
    const bool inTransaction = BatchDepth > 0 || (Db && !sqlite3_get_autocommit(Db));
    if (!Reporter || !HadFailure() || FailureReported || inTransaction)
        return;
    FailureReported = true;
    Reporter(FailureText);
}

void Registry::Fail(int code) {
    if (HeldAtOpen)
        return; // told by Held(); the writes wait for TryReopen
    if (!Failing && Db)
        sqlite3_busy_timeout(Db, FailingBusyTimeoutMs);
    Failing = true;
    if (FailureText.empty())
        FailureText = StoreFailureMessage(Db ? sqlite3_errstr(code) : "没有可用的设置文件");
    ReportFailure();
}

void Registry::Succeeded() {
    if (Failing && Db)
        sqlite3_busy_timeout(Db, Options.BusyTimeoutMs);
    Failing = false;
}

RegRead Registry::ReadRegValue(std::string_view key, std::string_view name, std::string& text) {
    if (!SelectValue) {
        Fail(SQLITE_ERROR);
        return RegRead::Failed;
    }
    BindText(SelectValue, 1, HiveName(CurrentHive));
    BindText(SelectValue, 2, NormalizeKey(key));
    BindText(SelectValue, 3, name);
    int rc = sqlite3_step(SelectValue);
    RegRead result = RegRead::Missing;
    if (rc == SQLITE_ROW) {
        auto* data = static_cast<const char*>(sqlite3_column_blob(SelectValue, 0));
        text.assign(data ? data : "",
                    static_cast<std::size_t>(sqlite3_column_bytes(SelectValue, 0)));
        result = RegRead::Found;
    } else if (rc != SQLITE_DONE) {
        result = RegRead::Failed;
    }
    sqlite3_reset(SelectValue);
    sqlite3_clear_bindings(SelectValue);
    if (result == RegRead::Failed)
        Fail(rc);
    else
        Succeeded();
    return result;
}

std::string Registry::ReadRegStr(std::string_view key, std::string_view name,
                                 std::string_view def) {
    std::string text;
    if (ReadRegValue(key, name, text) != RegRead::Found)
        return std::string(def);
    return text;
}

int Registry::ReadRegInt(std::string_view key, std::string_view name, int def) {
    std::string text;
    int value = def;
    if (ReadRegValue(key, name, text) != RegRead::Found || !ParseDecimal(text, value))
        return def;
    return value;
}

bool Registry::ReadRegBool(std::string_view key, std::string_view name, bool def) {
    return ReadRegInt(key, name, def ? 1 : 0) != 0;
}

bool Registry::WriteRegInt(std::string_view key, std::string_view name, int value) {
    return Write(key, name, std::to_string(value));
}

bool Registry::WriteRegStr(std::string_view key, std::string_view name, std::string_view value) {
    return Write(key, name, value);
}

bool Registry::WriteRegBool(std::string_view key, std::string_view name, bool value) {
    return Write(key, name, value ? "1" : "0");
}

bool Registry::Write(std::string_view key, std::string_view name, std::string_view text) {
    if (BatchFailed)
        return false;
    // Rewriting what is already stored would only cost a synced transaction.
    std::string stored;
    if (ReadRegValue(key, name, stored) == RegRead::Found && stored == text)
        return true;
    if (!UpsertValue) {
        Fail(SQLITE_ERROR);
        return false;
    }
    BindText(UpsertValue, 1, HiveName(CurrentHive));
    BindText(UpsertValue, 2, NormalizeKey(key));
    BindText(UpsertValue, 3, name);
    BindText(UpsertValue, 4, text);
    return RunWrite(UpsertValue);
}

bool Registry::EraseRegKey(std::string_view key) {
    std::string path = NormalizeKey(key);
    if (path.empty() || BatchFailed)
        return false;
    if (!DeleteKey) {
        Fail(SQLITE_ERROR);
        return false;
    }
    BindText(DeleteKey, 1, HiveName(CurrentHive));
    BindText(DeleteKey, 2, path);
    return RunWrite(DeleteKey);
}

// Runs a bound write statement as its own transaction, or as part of the open batch, whose
// transaction starts at its first write. BEGIN IMMEDIATE takes the write lock first, so two
// instances wait for each other instead of failing on a lock upgrade.
bool Registry::RunWrite(sqlite3_stmt* statement) {
    bool own = BatchDepth == 0;
    if (!own && !BatchBegun) {
        BatchBegun = true;
        BatchFailed = !BeginWrite();
    }
    bool ok = !BatchFailed && (!own || BeginWrite());
    int rc = SQLITE_OK;
    if (ok) {
        rc = sqlite3_step(statement);
        ok = rc == SQLITE_DONE;
    }
    sqlite3_reset(statement);
    sqlite3_clear_bindings(statement);
    if (!ok && rc != SQLITE_OK)
        Fail(rc);
    if (own && ok)
        ok = CommitWrite();
    if (!ok) {
        RollBackWrite();
        BatchFailed = BatchDepth > 0;
        ReportFailure();
        return false;
    }
    Succeeded();
    return true;
}

// BEGIN IMMEDIATE takes the write lock at once. While commits are deferred the one transaction
// is begun at the first write, and each write or batch is a savepoint in it.
bool Registry::BeginWrite(int waitMs) {
    if (!Db) {
        Fail(SQLITE_ERROR);
        return false;
    }
    if (!Deferring || sqlite3_get_autocommit(Db)) {
        if (waitMs >= 0)
            sqlite3_busy_timeout(Db, waitMs);
        const int rc = sqlite3_exec(Db, "BEGIN IMMEDIATE", nullptr, nullptr, nullptr);
        if (waitMs >= 0)
            sqlite3_busy_timeout(Db, Failing ? FailingBusyTimeoutMs : Options.BusyTimeoutMs);
        if (rc != SQLITE_OK) {
            // Waiting for a lock is no failure where the caller gave the wait.
            if (waitMs < 0 || (rc & 0xFF) != SQLITE_BUSY)
                Fail(rc);
            return false;
        }
    }
    return !Deferring || Exec("SAVEPOINT write");
}

bool Registry::CommitWrite() {
    return Exec(Deferring ? "RELEASE write" : "COMMIT");
}

void Registry::RollBackWrite() {
    if (!Db || sqlite3_get_autocommit(Db))
        return;
    const char* undo = Deferring ? "ROLLBACK TO write; RELEASE write" : "ROLLBACK";
    sqlite3_exec(Db, undo, nullptr, nullptr, nullptr);
}

void Registry::DeferCommits() {
    Deferring = true;
}

bool Registry::CommitDeferred() {
    if (!Deferring)
        return true;
    Deferring = false;
    bool ok = true;
    if (Db && !sqlite3_get_autocommit(Db) && !Exec("COMMIT")) {
        sqlite3_exec(Db, "ROLLBACK", nullptr, nullptr, nullptr);
        ok = false;
    }
    ReportFailure();
    return ok;
}

bool Registry::Exec(const char* sql) {
    int rc = Db ? sqlite3_exec(Db, sql, nullptr, nullptr, nullptr) : SQLITE_ERROR;
    if (rc != SQLITE_OK)
        Fail(rc);
    return rc == SQLITE_OK;
}

// A batch whose values all hold their text already writes nothing, so it neither takes the
// write lock nor waits for the disk: its transaction starts at the first value that changes.
void Registry::BeginBatch() {
    if (BatchDepth++ > 0)
        return;
    BatchBegun = false;
    BatchFailed = false;
}

bool Registry::LockBatch(int waitMs) {
    if (BatchDepth == 0 || BatchFailed)
        return false;
    if (BatchBegun)
        return true;
    if (BeginWrite(waitMs)) {
        BatchBegun = true;
        return true;
    }
    BatchFailed = true;
    return false;
}

bool Registry::CommitBatch() {
    if (BatchDepth == 0)
        return false;
    if (--BatchDepth > 0)
        return !BatchFailed;
    bool failed = BatchFailed;
    BatchFailed = false;
    if (!BatchBegun) {
        ReportFailure();
        return !failed;
    }
    BatchBegun = false;
    if (!failed && CommitWrite()) {
        Succeeded();
        return true;
    }
    RollBackWrite();
    ReportFailure();
    return false;
}
