#include "LibraryFile.h"

#include "RecentList.h"

#include "base/AtomicFile.h"
#include "base/Fd.h"
#include "base/FileTest.h"
#include "base/ReadFailure.h"
#include "text/Encoding.h"
#include "text/GbkText.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr std::string_view Utf8Bom = "\xEF\xBB\xBF";

LibraryRead Refused(const std::string& path, const std::string& reason) {
    return {std::nullopt, WarningMessage(OpenFailedText(path, reason))};
}

// Reads the whole of a regular file of `size` bytes; a file that grows meanwhile is cut at
// `size`. False, with errno set, on a read error.
bool ReadAll(int fd, std::size_t size, std::string& bytes) {
    bytes.resize(size);
    std::size_t got = 0;
    while (got < size) {
        ssize_t n = ::read(fd, bytes.data() + got, size - got);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            return false;
        if (n == 0)
            break;
        got += static_cast<std::size_t>(n);
    }
    bytes.resize(got);
    return true;
}

// Whether a library line names a file, or an archive entry whose archive is a file.
bool NamesAFile(const std::string& name) {
    const std::size_t bar = ArchiveBar(name);
    return IsExistingFile(name.substr(0, bar));
}

} // namespace

std::string_view TrimLine(std::string_view line) {
    std::size_t begin = 0, end = line.size();
    while (begin < end && static_cast<unsigned char>(line[begin]) <= ' ')
        ++begin;
    while (end > begin && static_cast<unsigned char>(line[end - 1]) <= ' ')
        --end;
    return line.substr(begin, end - begin);
}

std::vector<std::string> ParseLibraryText(std::string_view bytes) {
    if (bytes.starts_with(Utf8Bom))
        bytes.remove_prefix(Utf8Bom.size());
    std::vector<std::string> names;
    while (!bytes.empty()) {
        std::size_t end = bytes.find_first_of("\r\n");
        std::string_view line = bytes.substr(0, end);
        bytes.remove_prefix(end == std::string_view::npos ? bytes.size() : end + 1);
        // A blank line names no file: warning about a file called "" would tell the user nothing.
        if (std::string_view name = TrimLine(line); !name.empty())
            names.emplace_back(name);
    }
    return names;
}

LibraryRead ReadLibraryFile(const std::string& path) {
    const Fd file(::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK));
    struct stat st {};
    if (file.Get() < 0 || ::fstat(file.Get(), &st) != 0)
        return Refused(path, ReadFailureReason(errno));
    if (!S_ISREG(st.st_mode))
        return Refused(path, CheckExistsReason);
    if (st.st_size > MaxLibraryBytes)
        return {std::nullopt, InfoMessage(TooLargeText(path))};
    std::string bytes;
    if (!ReadAll(file.Get(), static_cast<std::size_t>(st.st_size), bytes))
        return Refused(path, std::string(ReadErrorReason) + ReadFailureReason(errno));
    // Names are UTF-8 on this system; a library saved as UTF-16 is turned into it, the same
    // recognition as for documents.
    bytes = ToUtf8Text(bytes);
    // No path holds a NUL byte; such a file is binary (or UTF-16) and would give a warning for
    // every one of its "lines".
    if (bytes.find('\0') != std::string::npos)
        return Refused(path, "这不是书库文件。");
    return {ParseLibraryText(bytes), std::nullopt};
}

std::string LibraryEntryName(const std::string& line) {
    if (NamesAFile(line))
        return line;
    std::string asGbk = gbk::ToUtf8(line);
    return NamesAFile(asGbk) || !gbk::IsValidUtf8(line) ? asGbk : line;
}

std::string LibraryText(const std::vector<std::string>& entries,
                        const std::function<void(int)>& beforeLine) {
    std::string text;
    int line = 0;
    for (auto it = entries.rbegin(); it != entries.rend(); ++it) {
        if (beforeLine)
            beforeLine(++line);
        text += *it + "\r\n";
    }
    return text;
}

std::string LibraryWriteFailedText(const std::string& path, int error) {
    return WriteFailedText("生成书库文件", path, error);
}

std::optional<UserMessage> WriteLibraryFile(const std::string& path,
                                            const std::vector<std::string>& entries,
                                            const std::function<void(int)>& beforeLine) {
    const std::string text = LibraryText(entries, beforeLine);
    const int error = WriteWholeFile(path, {text});
    if (error == 0)
        return std::nullopt;
    return WarningMessage(LibraryWriteFailedText(path, error));
}
