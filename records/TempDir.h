#pragma once
// The two directories the program keeps for a run: the one current at start, and the private
// folder archive entries are extracted into. Neither is persisted.
#include <string>

// The process's current directory; empty when it cannot be determined (it was deleted).
std::string CurrentDir();
bool ChangeDir(const std::string& path);

// "<$TMPDIR or /tmp>/mojuan-<uid>/zip". Only computed: the folder is made on first use.
std::string TempDirPath();

// Makes the extraction folder and its per-user parent with mode 0700 where missing, and checks
// that both are real directories (never symbolic links) owned by this user and closed to
// others. False, with the reason in `error`, when the folder cannot be trusted or made.
bool PrepareTempDir(const std::string& path, std::string* error = nullptr);

// Removes `path` and everything below it. A symbolic link is removed itself and never
// followed, so nothing outside the tree is touched. Whatever can be removed is; an entry that
// cannot be removed stays with the folders above it, and the result is false.
bool DeleteDir(const std::string& path);
