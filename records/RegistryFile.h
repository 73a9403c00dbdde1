#pragma once
// Opening the registry's file: it is checked, a damaged one is set aside under a timestamped
// name, and the schema is brought up to date. Used by Registry only.
#include <string>

struct sqlite3;

// The statements the registry runs; opening prepares them once to prove the schema fits.
inline constexpr char SelectValueSql[] =
    "SELECT data FROM reg_values WHERE hive = ?1 AND path = ?2 AND name = ?3";
inline constexpr char UpsertValueSql[] =
    "INSERT INTO reg_values (hive, path, name, data) VALUES (?1, ?2, ?3, ?4) "
    "ON CONFLICT (hive, path, name) DO UPDATE SET data = excluded.data";
// The key itself and every key below it; the prefix test is in characters on both sides.
inline constexpr char DeleteKeySql[] =
    "DELETE FROM reg_values WHERE hive = ?1 AND (path = ?2 OR "
    "substr(path, 1, length(?2) + 1) = (?2 || '\\') COLLATE NOCASE)";

struct OpenedStore {
    sqlite3* Db = nullptr;
    bool Persistent = false;
    std::string Warning; // for the user, once; empty when the file opened normally
    // Another process held the file through the whole wait: nothing is open, and opening is to
    // be tried again later.
    bool Held = false;
};

OpenedStore OpenRegistryFile(const std::string& path, int busyTimeoutMs);

// Renames a damaged store (and its journal) to "<path>.damaged-YYYYMMDD-HHMMSS"; returns the
// new name, or an empty string when the file could not be renamed.
std::string MoveStoreAside(const std::string& path);

// The message for a read or write of the store that failed, with SQLite's reason.
std::string StoreFailureMessage(const std::string& reason);
