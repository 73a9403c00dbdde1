#pragma once
// Library files (.blf): a saved recent list, one entry text per line ended by CR LF, from the
// least recent entry to the most recent, so that putting each line on top of the list in file
// order gives the list back in its order.
#include "reader/UserMessage.h"
#include "text/Chunking.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

inline constexpr char LibraryExtension[] = ".blf";
// The limit of documents holds for library files too: a huge or binary file is refused at once.
inline constexpr std::int64_t MaxLibraryBytes = MaxDocumentBytes;

// Removes the bytes up to and including the space (spaces, tabs, CR and other control
// characters) at both ends of a line.
std::string_view TrimLine(std::string_view line);

// The entry texts a library file's bytes name, in file order: each line trimmed, blank lines
// dropped, a UTF-8 byte-order mark at the start ignored.
std::vector<std::string> ParseLibraryText(std::string_view bytes);

// What reading a library file gave: its entry texts, or the message saying why it was refused.
struct LibraryRead {
    std::optional<std::vector<std::string>> Lines;
    std::optional<UserMessage> Message;
};

// Reads and parses the library file at `path`; a file saved as UTF-16 (with its byte-order mark)
// is read as the UTF-8 names it holds. Gives no lines, and the message, when the file cannot be
// read, is larger than MaxLibraryBytes or holds NUL bytes (it is not text).
LibraryRead ReadLibraryFile(const std::string& path);

// The file (or archive entry) a library line names. The line's bytes are tried first; a line
// that names no file by them is tried as GBK, the code of a library written on a Chinese
// Windows system, before it is refused, since GBK bytes may well be valid UTF-8 too. A line
// naming nothing either way is given as UTF-8 when it is UTF-8, so the warning shows it.
std::string LibraryEntryName(const std::string& line);

// What generating a library file writes for a list whose position 0 is `entries[0]`;
// `beforeLine(k)` (optional) runs before line k (1-based) is added.
std::string LibraryText(const std::vector<std::string>& entries,
                        const std::function<void(int)>& beforeLine = {});

// "生成书库文件 <path> 失败！" CR LF "请检查磁盘是否错误。" CR LF <why: errno `error`>
std::string LibraryWriteFailedText(const std::string& path, int error);

// Generates the library file `path` for a list whose position 0 is `entries[0]`, the least
// recent entry first; `beforeLine(k)` (optional) runs before line k (1-based) is added. The
// file is written as reader/AtomicFile.h writes files. Nothing on success, else the warning to
// show.
std::optional<UserMessage> WriteLibraryFile(const std::string& path,
                                            const std::vector<std::string>& entries,
                                            const std::function<void(int)>& beforeLine = {});
