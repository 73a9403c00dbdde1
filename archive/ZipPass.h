#pragma once
// Extracting one entry of an archive into a directory. The entry name comes from the recent
// list, which takes it unchecked from library files, the command line and the store, so every
// rule that keeps the write inside the directory is checked here.
#include "base/UserMessage.h"
#include "records/RecentList.h"
#include "text/Chunking.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

// Extraction stops once an entry has given more than this (the largest document the reader
// opens), so an archive that inflates without end cannot fill the disk; the entry is then
// refused as too large.
inline constexpr std::int64_t MaxEntryBytes = MaxDocumentBytes;
// An entry lying in more folders than this is refused: no novel is shelved so deep, and every
// level is a folder to make now and to remove at close.
inline constexpr std::size_t MaxEntryFolders = 32;

enum class ExtractStatus {
    Ok,
    Cut,         // larger than MaxEntryBytes: stopped one byte past it, and removed
    NoArchive,   // the archive is missing or is not a readable zip archive
    NotFound,    // no file entry of that name
    Unsafe,      // the name could leave the directory
    TooDeep,     // more than MaxEntryFolders folders
    Encrypted,   // no password is ever asked for
    Link,        // a symbolic link entry
    Damaged,     // the entry's data cannot be read
    WriteFailed, // the directory or the file cannot be made or written
};

struct ExtractResult {
    ExtractStatus Status = ExtractStatus::NotFound;
    std::string Path;   // the extracted file; set only when a file was written
    std::string Reason; // WriteFailed: why, in words for the reader
    bool Extracted() const { return Status == ExtractStatus::Ok; }
};

// Whether `entry` ("/" separators) stays below any directory it is extracted into: not empty,
// not absolute, no empty, "." or ".." component, no byte below 0x20 (NUL included), no
// trailing "/".
bool IsSafeEntryPath(std::string_view entry);

// Extracts the file entry named `entry` ("/" separators, names decoded as the listing decodes
// them; stored "\" separators match "/") from `archive` to `destination` + "/" + `entry`,
// making the destination (as a private folder) and the entry's folders where missing. Of several
// entries of that name the one at `index` (its place in the listing) is taken when it has that
// name, else the first. Any earlier file of that name is removed first, so a failed extraction
// never leaves a stale copy to be opened; no symbolic link below the destination is ever
// followed.
ExtractResult ExtractZipEntry(const std::string& archive, const std::string& entry,
                              const std::string& destination, std::int64_t index = -1);

// What the reader is told when extracting `entry` of `archive` gave `result`; nothing when a
// whole file was extracted. An encrypted entry keeps the password question; an entry over the
// size limit is named by its reference "archive|dir\file", never by its extracted copy.
std::optional<UserMessage> ExtractFailureMessage(const ExtractResult& result,
                                                 const std::string& archive,
                                                 const std::string& entry);

// What extracting an archive entry for reading gave: the extracted file, or why there is none.
struct ExtractedEntry {
    std::string Path;
    std::optional<UserMessage> Failure;
};

// The extraction behind opening an archive entry of the recent list: ExtractZipEntry into
// `destination`, with its failure message.
ExtractedEntry ExtractForReading(const std::string& archive, const std::string& entry,
                                 std::int64_t index, const std::string& destination);
