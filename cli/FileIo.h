#pragma once
// Whole-file input and output for the tool. "-" names standard input or output. A file is
// written to a temporary file beside it and renamed over it once complete, so that a failed
// run never leaves a partial file under the name asked for.
#include <functional>
#include <string>
#include <string_view>
#include <vector>

inline constexpr std::string_view StandardStream = "-";

struct IoResult {
    bool Ok = true;
    std::string Error; // the message for the user, naming the file
};

#include <cstddef>
#include <limits>

inline constexpr std::size_t NoReadLimit = std::numeric_limits<std::size_t>::max();

// Reads the file, or standard input, by blocks. More than `limit` bytes is an error, found as
// soon as the limit is passed, so an endless device ends the read. A pipe is opened without
// waiting for a writer: one that has none reads as empty.
IoResult ReadWhole(const std::string& path, std::string& bytes, std::size_t limit = NoReadLimit);
IoResult WriteWhole(const std::string& path, std::string_view bytes);

// Reads each file whole and hands it to `use`, which prints what it found; a file that cannot be
// read, or is larger than the reader opens (MaxDocumentBytes), is named on standard error and
// skipped. Returns the exit status: ExitIoError when a file
// could not be read or standard output not written.
int ForEachFile(const std::vector<std::string>& paths,
                const std::function<void(const std::string& path, std::string bytes)>& use);
