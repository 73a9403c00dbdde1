#pragma once
// The temporary file a save writes beside its target before it replaces the target. Its name
// marks it as the program's own: "." + the target's name + ".mojuan-" + six random letters or
// digits. While a save writes it, the save holds a lock on it, so a file of that name that is
// not locked, is a regular file and belongs to this user was left by a save that never ended
// (the program was killed) and may be removed.
#include <string>

struct SaveTemporary {
    int Fd = -1;      // open for writing and locked; -1 when none could be made
    std::string Path; // its name, beside the target
    int Error = 0;    // why none could be made
};

// Makes, opens and locks a new temporary file in the folder of `target`, after removing the
// stale ones left there.
SaveTemporary MakeSaveTemporary(const std::string& target);

// Removes from `folder` the temporary files of saves that never ended; returns how many.
int RemoveStaleSaveTemporaries(const std::string& folder);

// The folder part of a path ("." for a bare name).
std::string FolderOf(const std::string& path);
