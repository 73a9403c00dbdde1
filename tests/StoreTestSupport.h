#pragma once
// Helpers for the tests of the registry store: a scratch folder per test and direct looks at
// the store's file with SQLite, past the access layer.
#include <sqlite3.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

// A fresh folder under $TMPDIR, removed with everything in it at the end of the test.
class ScratchDir {
public:
    ScratchDir() {
        const char* tmp = std::getenv("TMPDIR");
        std::string pattern = std::string(tmp && *tmp ? tmp : "/tmp") + "/store-test.XXXXXX";
        Dir = mkdtemp(pattern.data()) ? pattern : std::string();
    }
    ~ScratchDir() {
        std::error_code ignored;
        std::filesystem::remove_all(Dir, ignored);
    }
    ScratchDir(const ScratchDir&) = delete;
    ScratchDir& operator=(const ScratchDir&) = delete;
    std::string operator/(const std::string& name) const { return Dir + "/" + name; }
    const std::string& Path() const { return Dir; }

private:
    std::string Dir;
};

inline void WriteFile(const std::string& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}

// Every value name of the store in the order the rows were first inserted.
inline std::vector<std::string> NamesInInsertOrder(const std::string& storePath) {
    std::vector<std::string> names;
    sqlite3* db = nullptr;
    sqlite3_stmt* st = nullptr;
    if (sqlite3_open_v2(storePath.c_str(), &db, SQLITE_OPEN_READONLY, nullptr) == SQLITE_OK &&
        sqlite3_prepare_v2(db, "SELECT name FROM reg_values ORDER BY rowid", -1, &st, nullptr) ==
            SQLITE_OK)
        while (sqlite3_step(st) == SQLITE_ROW)
            names.emplace_back(reinterpret_cast<const char*>(sqlite3_column_text(st, 0)));
    sqlite3_finalize(st);
    sqlite3_close(db);
    return names;
}

inline int CountValues(const std::string& storePath) {
    sqlite3* db = nullptr;
    sqlite3_stmt* st = nullptr;
    int count = -1;
    if (sqlite3_open_v2(storePath.c_str(), &db, SQLITE_OPEN_READONLY, nullptr) == SQLITE_OK &&
        sqlite3_prepare_v2(db, "SELECT count(*) FROM reg_values", -1, &st, nullptr) == SQLITE_OK &&
        sqlite3_step(st) == SQLITE_ROW)
        count = sqlite3_column_int(st, 0);
    sqlite3_finalize(st);
    sqlite3_close(db);
    return count;
}

// Holds the store's write lock (as another instance in the middle of a write would) until
// destroyed.
// Another instance in the middle of a write: holds the write lock, while reads still go on.
class StoreWriter {
public:
    explicit StoreWriter(const std::string& storePath) {
        sqlite3_open(storePath.c_str(), &Db);
        Locked = sqlite3_exec(Db, "BEGIN IMMEDIATE", nullptr, nullptr, nullptr) == SQLITE_OK;
    }
    ~StoreWriter() { sqlite3_close_v2(Db); }
    StoreWriter(const StoreWriter&) = delete;
    StoreWriter& operator=(const StoreWriter&) = delete;
    bool Locked = false;

private:
    sqlite3* Db = nullptr;
};

class StoreLock {
public:
    explicit StoreLock(const std::string& storePath) {
        sqlite3_open(storePath.c_str(), &Db);
        Locked = sqlite3_exec(Db, "BEGIN EXCLUSIVE", nullptr, nullptr, nullptr) == SQLITE_OK;
    }
    ~StoreLock() { sqlite3_close_v2(Db); }
    StoreLock(const StoreLock&) = delete;
    StoreLock& operator=(const StoreLock&) = delete;
    bool Locked = false;

private:
    sqlite3* Db = nullptr;
};
