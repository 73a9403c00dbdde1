#include "RegistryFile.h"

#include <sqlite3.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <sys/stat.h>

namespace {

// Schema change n (counting from 1) takes the store from user_version n - 1 to n. Changes are
// only ever appended, so a store of any earlier version can be brought up to date.
const char* const SchemaChanges[] = {
    "CREATE TABLE reg_values ("
    "  hive TEXT NOT NULL,"
    "  path TEXT NOT NULL COLLATE NOCASE,"
    "  name TEXT NOT NULL COLLATE NOCASE,"
    "  data TEXT NOT NULL,"
    "  UNIQUE (hive, path, name))",
};
constexpr int SchemaVersion = sizeof(SchemaChanges) / sizeof(SchemaChanges[0]);

enum class Check { Ok, Damaged, Failed };

// How a step of opening went, with SQLite's code when it did not go well.
struct Outcome {
    Check Kind = Check::Ok;
    int Code = SQLITE_OK;
    bool Good() const { return Kind == Check::Ok; }
};

bool IsDamage(int code) {
    code &= 0xFF;
    return code == SQLITE_NOTADB || code == SQLITE_CORRUPT || code == SQLITE_FORMAT;
}

// A statement that cannot be prepared against a readable file means the tables are not ours,
// unless the file was merely busy.
Outcome ClassifyPrepareError(int code) {
    int primary = code & 0xFF;
    if (primary == SQLITE_BUSY || primary == SQLITE_LOCKED || primary == SQLITE_IOERR ||
        primary == SQLITE_NOMEM || primary == SQLITE_CANTOPEN)
        return {Check::Failed, code};
    return {Check::Damaged, code};
}

Outcome Classify(int code) {
    return {IsDamage(code) ? Check::Damaged : Check::Failed, code};
}

int Exec(sqlite3* db, const char* sql) {
    return sqlite3_exec(db, sql, nullptr, nullptr, nullptr);
}

// Runs a one-column query and hands back its first row as text ("" when there is none).
int QueryText(sqlite3* db, const char* sql, std::string& text) {
    sqlite3_stmt* statement = nullptr;
    int rc = sqlite3_prepare_v2(db, sql, -1, &statement, nullptr);
    if (rc != SQLITE_OK)
        return rc;
    rc = sqlite3_step(statement);
    text.clear();
    if (rc == SQLITE_ROW) {
        if (auto* p = sqlite3_column_text(statement, 0))
            text = reinterpret_cast<const char*>(p);
        rc = SQLITE_OK;
    } else if (rc == SQLITE_DONE) {
        rc = SQLITE_OK;
    }
    sqlite3_finalize(statement);
    return rc;
}

Outcome QuickCheck(sqlite3* db) {
    std::string result;
    int rc = QueryText(db, "PRAGMA quick_check", result);
    if (rc != SQLITE_OK)
        return Classify(rc);
    if (result != "ok")
        return {Check::Damaged, SQLITE_CORRUPT};
    return {};
}

Outcome VerifyStatements(sqlite3* db) {
    for (const char* sql : {SelectValueSql, UpsertValueSql, DeleteKeySql}) {
        sqlite3_stmt* statement = nullptr;
        int rc = sqlite3_prepare_v2(db, sql, -1, &statement, nullptr);
        sqlite3_finalize(statement);
        if (rc != SQLITE_OK)
            return ClassifyPrepareError(rc);
    }
    return {};
}

// Runs inside the write transaction, so that two instances starting together cannot both
// apply the same change.
Outcome ApplySchemaChanges(sqlite3* db) {
    std::string text;
    if (int rc = QueryText(db, "PRAGMA user_version", text); rc != SQLITE_OK)
        return Classify(rc);
    int version = std::atoi(text.c_str());
    if (version == 0) {
        if (int rc = QueryText(db, "SELECT count(*) FROM sqlite_master", text); rc != SQLITE_OK)
            return Classify(rc);
        if (text != "0")
            return {Check::Damaged, SQLITE_FORMAT}; // someone else's tables
    }
    if (version < 0 || version > SchemaVersion)
        return {Check::Damaged, SQLITE_FORMAT}; // a store this program does not know
    for (int v = version; v < SchemaVersion; ++v) {
        std::string setVersion = "PRAGMA user_version = " + std::to_string(v + 1);
        int rc = Exec(db, SchemaChanges[v]);
        if (rc == SQLITE_OK)
            rc = Exec(db, setVersion.c_str());
        if (rc != SQLITE_OK)
            return Classify(rc);
    }
    return {};
}

// Brings a store of an older version up to date in one write transaction.
Outcome Migrate(sqlite3* db) {
    if (int rc = Exec(db, "BEGIN IMMEDIATE"); rc != SQLITE_OK)
        return Classify(rc);
    Outcome result = ApplySchemaChanges(db);
    if (result.Good())
        if (int rc = Exec(db, "COMMIT"); rc != SQLITE_OK)
            result = Classify(rc);
    if (!result.Good())
        Exec(db, "ROLLBACK");
    return result;
}

Outcome CheckAndMigrate(sqlite3* db) {
    if (Outcome c = QuickCheck(db); !c.Good())
        return c;
    std::string text;
    if (int rc = QueryText(db, "PRAGMA user_version", text); rc != SQLITE_OK)
        return Classify(rc);
    // Only a store that needs a change takes the write lock, so a read-only store still opens.
    if (std::atoi(text.c_str()) != SchemaVersion)
        if (Outcome c = Migrate(db); !c.Good())
            return c;
    return VerifyStatements(db);
}

int OpenDb(const std::string& path, int busyTimeoutMs, sqlite3*& db) {
    int rc =
        sqlite3_open_v2(path.c_str(), &db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr);
    if (rc != SQLITE_OK) {
        sqlite3_close_v2(db);
        db = nullptr;
        return rc;
    }
    sqlite3_extended_result_codes(db, 1);
    sqlite3_busy_timeout(db, busyTimeoutMs);
    // EXTRA also syncs the folder after the journal is deleted, so a commit survives a power
    // loss right after it returns.
    Exec(db, "PRAGMA synchronous = EXTRA");
    return SQLITE_OK;
}

OpenedStore InMemory(std::string warning) {
    OpenedStore store;
    store.Warning = std::move(warning);
    if (OpenDb(":memory:", 0, store.Db) == SQLITE_OK && !Migrate(store.Db).Good()) {
        sqlite3_close_v2(store.Db);
        store.Db = nullptr;
    }
    return store;
}

bool Exists(const std::string& path) {
    struct stat st;
    return lstat(path.c_str(), &st) == 0;
}

// Creates every missing folder above the store; the last one is private to the user.
bool MakeParentDirs(const std::string& path) {
    std::size_t slash = path.rfind('/');
    if (slash == std::string::npos || slash == 0)
        return true;
    std::string dir = path.substr(0, slash);
    for (std::size_t i = 1; i <= dir.size(); ++i) {
        if (i < dir.size() && dir[i] != '/')
            continue;
        std::string part = dir.substr(0, i);
        if (mkdir(part.c_str(), i == dir.size() ? 0700 : 0755) != 0 && errno != EEXIST)
            return false;
    }
    struct stat st;
    return stat(dir.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

std::string Timestamp() {
    std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    char text[32];
    std::strftime(text, sizeof text, "%Y%m%d-%H%M%S", &local);
    return text;
}

std::string UnavailableMessage(const std::string& path, const std::string& reason) {
    return "无法打开设置文件“" + path + "”（" + reason +
           "）。本次使用默认设置，所作的更改不会保存。";
}

} // namespace

std::string MoveStoreAside(const std::string& path) {
    std::string base = path + ".damaged-" + Timestamp();
    std::string target = base;
    for (int n = 2; Exists(target); ++n)
        target = base + "-" + std::to_string(n);
    if (std::rename(path.c_str(), target.c_str()) != 0)
        return {};
    // A journal belongs to its database: it travels with it, or it would be replayed into the
    // fresh store.
    for (const char* suffix : {"-journal", "-wal"})
        if (Exists(path + suffix))
            std::rename((path + suffix).c_str(), (target + suffix).c_str());
    std::remove((path + "-shm").c_str());
    return target;
}

std::string StoreFailureMessage(const std::string& reason) {
    return "设置文件无法读写（" + reason + "）。程序照常运行，本次所作的更改可能不会保留。";
}

OpenedStore OpenRegistryFile(const std::string& path, int busyTimeoutMs) {
    if (path.empty())
        return InMemory(UnavailableMessage(path, "找不到用户的设置文件夹"));
    if (!MakeParentDirs(path))
        return InMemory(UnavailableMessage(path, std::strerror(errno)));
    std::string warning;
    for (int attempt = 0; attempt < 2; ++attempt) {
        sqlite3* db = nullptr;
        if (int rc = OpenDb(path, busyTimeoutMs, db); rc != SQLITE_OK)
            return InMemory(UnavailableMessage(path, sqlite3_errstr(rc)));
        Outcome check = CheckAndMigrate(db);
        if (check.Good()) {
            // A rollback journal rather than WAL: a store in a folder that has become read-only
            // can still be read (WAL would need its shared-memory file), and the busy timeout
            // lets two instances take turns.
            Exec(db, "PRAGMA journal_mode = DELETE");
            return {db, true, warning};
        }
        sqlite3_close_v2(db);
        const int primary = check.Code & 0xFF;
        if (check.Kind == Check::Failed && (primary == SQLITE_BUSY || primary == SQLITE_LOCKED)) {
            OpenedStore held;
            held.Held = true;
            return held;
        }
        if (check.Kind == Check::Failed || attempt > 0)
            return InMemory(UnavailableMessage(path, sqlite3_errstr(check.Code)));
        std::string moved = MoveStoreAside(path);
        if (moved.empty())
            return InMemory(
                "设置文件“" + path +
                "”已损坏，无法读取，也无法改名。本次使用默认设置，所作的更改不会保存。");
        warning = "设置文件已损坏，无法读取，已改名保存为“" + moved + "”。本次使用默认设置。";
    }
    return InMemory(warning);
}
