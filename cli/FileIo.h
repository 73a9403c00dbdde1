#pragma once
// Whole-file input and output for the tool. "-" names standard input or output. A file is
// written to a temporary file beside it and renamed over it once complete, so that a failed
// run never leaves a partial file under the name asked for.
#include <string>
#include <string_view>

inline constexpr std::string_view StandardStream = "-";

struct IoResult {
    bool Ok = true;
    std::string Error; // the message for the user, naming the file
};

IoResult ReadWhole(const std::string& path, std::string& bytes);
IoResult WriteWhole(const std::string& path, std::string_view bytes);
