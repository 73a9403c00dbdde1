#pragma once
// The program's binding to the zip library: the check that the library found at run time is
// the one the program was built for, and the listing of an archive's entries with their names
// decoded.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// The name the two library messages give for the zip library.
inline constexpr char UnzipLibraryName[] = "libzip";

struct UnzipCheck {
    bool Ok = false;
    std::string Message; // one of the two library messages when not Ok
};

// Whether the zip library loaded at run time is usable by this build.
UnzipCheck CheckUnzipDll();
// The rule behind it, for a run-time version `runtime` (null or empty: no library found) and
// the version `built` the program was compiled against: the same major version (the same
// binary interface) and a release no older than the one built against.
UnzipCheck CheckUnzipVersion(const char* runtime, std::string_view built);

// One stored entry of an archive, in archive order.
struct ZipEntryName {
    // The stored name decoded to UTF-8, every "\" turned into "/"; a directory ends in "/".
    std::string Name;
    bool IsDirectory() const { return !Name.empty() && Name.back() == '/'; }
};

// A stored name as this program reads it: valid UTF-8 is UTF-8 (which covers every name flagged
// UTF-8 that really is); any other name is GBK (code page 936, as Chinese archive tools write
// names), a wrongly flagged one included. "\" becomes "/" after decoding, so a GBK trail byte
// 0x5C is never taken for a separator.
std::string DecodeEntryName(std::string_view raw);

// Every entry's name in archive order; nothing when the archive cannot be opened or is not a
// zip archive.
std::optional<std::vector<ZipEntryName>> ListZipEntries(const std::string& archive);
