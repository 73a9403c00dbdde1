#pragma once
// Library files (.blf): a saved recent list, one entry text per line ended by CR LF, from the
// least recent entry to the most recent, so that putting each line on top of the list in file
// order gives the list back in its order.
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

inline constexpr char LibraryExtension[] = ".blf";
// The limit of documents holds for library files too: a huge or binary file is refused at once.
inline constexpr std::int64_t MaxLibraryBytes = 22250000;

// Removes the bytes up to and including the space (spaces, tabs, CR and other control
// characters) at both ends of a line.
std::string_view TrimLine(std::string_view line);

// The entry texts a library file's bytes name, in file order: each line trimmed, blank lines
// dropped, a UTF-8 byte-order mark at the start ignored.
std::vector<std::string> ParseLibraryText(std::string_view bytes);

// Reads and parses the library file at `path`. Gives nothing after telling the user why when the
// file cannot be read, is larger than MaxLibraryBytes or holds NUL bytes (it is not text).
std::optional<std::vector<std::string>> ReadLibraryFile(const std::string& path);

// What generating a library file writes for a list whose position 0 is `entries[0]`.
std::string LibraryText(const std::vector<std::string>& entries);

// "生成书库文件 <path> 失败！" CR LF "请检查磁盘是否错误。"
std::string LibraryWriteFailedText(const std::string& path);

// Generates the library file `path` for a list whose position 0 is `entries[0]`, the least
// recent entry first; `beforeLine(k)` (optional) runs before line k (1-based) is written. The
// file is replaced whole or not at all. Nothing on success, else the warning to show.
std::optional<std::string> WriteLibraryFile(const std::string& path,
                                            const std::vector<std::string>& entries,
                                            const std::function<void(int)>& beforeLine = {});
