#pragma once
// Extracting one entry of an archive into a directory. The entry name comes from the recent
// list, which takes it unchecked from library files, the command line and the store, so every
// rule that keeps the write inside the directory is checked here.
#include "text/Chunking.h"

#include <cstdint>
#include <string>
#include <string_view>

// Extraction stops once an entry has given more than this (the largest document the reader
// opens), so an archive that inflates without end cannot fill the disk; the file left behind
// is then one byte over and the opening refuses it as too large.
inline constexpr std::int64_t MaxEntryBytes = MaxDocumentBytes;

enum class ExtractStatus {
    Ok,
    Cut,         // written up to one byte past MaxEntryBytes, then stopped
    NoArchive,   // the archive is missing or is not a readable zip archive
    NotFound,    // no file entry of that name
    Unsafe,      // the name could leave the directory
    Encrypted,   // no password is ever asked for
    Link,        // a symbolic link entry
    Damaged,     // the entry's data cannot be read
    WriteFailed, // the directory or the file cannot be made or written
};

struct ExtractResult {
    ExtractStatus Status = ExtractStatus::NotFound;
    std::string Path; // the extracted file; set only when a file was written
    bool Extracted() const { return Status == ExtractStatus::Ok || Status == ExtractStatus::Cut; }
};

// Whether `entry` ("/" separators) stays below any directory it is extracted into: not empty,
// not absolute, no empty, "." or ".." component, no byte below 0x20 (NUL included), no
// trailing "/".
bool IsSafeEntryPath(std::string_view entry);

// Extracts the file entry named `entry` ("/" separators, names decoded as the listing decodes
// them; stored "\" separators match "/") from `archive` to `destination` + "/" + `entry`,
// making the destination (as a private folder) and the entry's folders where missing. Any
// earlier file of that name is removed first, so a failed extraction never leaves a stale copy
// to be opened; no symbolic link below the destination is ever followed.
ExtractResult ExtractZipEntry(const std::string& archive, const std::string& entry,
                              const std::string& destination);
