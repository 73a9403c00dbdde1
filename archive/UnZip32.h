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

class ZipHandle;

// The stored names of an open archive, in archive order, as this program reads them. A name
// flagged UTF-8 (general purpose bit 11, or a Unicode path field) is UTF-8. The unflagged names
// share one reading, decided for the whole archive: GBK (code page 936, as Chinese archive tools
// write names) when any of them is not valid UTF-8; otherwise the reading that gives the larger
// share of characters a Chinese novel's file names are made of (as GBK: GB2312 hanzi and Chinese
// punctuation; as UTF-8: any CJK ideograph or punctuation), UTF-8 when the shares are equal. "\" becomes "/" after decoding, so a GBK trail
// byte 0x5C is never taken for a separator.
std::vector<ZipEntryName> EntryNamesOf(const ZipHandle& zip);

// Every entry's name in archive order; nothing when the archive cannot be opened or is not a
// zip archive.
std::optional<std::vector<ZipEntryName>> ListZipEntries(const std::string& archive);

inline constexpr char DamagedArchiveReason[] = "ZIP文件已损坏或不完整，无法读取。";
// Why `archive` could not be opened as an archive, as the second line of a failure message:
// it is missing, it cannot be read, or it is damaged (cut short, or no zip archive at all).
std::string ArchiveFailureReason(const std::string& archive);
