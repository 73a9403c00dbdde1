#pragma once
// The subcommands of mojuan-text. Each takes the arguments after its name, prints what it has
// to say and returns the exit status.
#include "text/Encoding.h"

#include <optional>
#include <span>
#include <string>
#include <string_view>

inline constexpr int ExitOk = 0;
inline constexpr int ExitIoError = 1; // a file could not be read or written
inline constexpr int ExitUsage = 2;

inline constexpr std::string_view ToolName = "mojuan-text";

using Arguments = std::span<const std::string_view>;

struct Subcommand {
    std::string_view Name;
    std::string_view Help; // its part of the usage text
    int (*Run)(Arguments args);
};

extern const Subcommand DetectCommand;
extern const Subcommand ConvertCommand;
extern const Subcommand FilterCommand;
extern const Subcommand ChaptersCommand;

// Whether `arg` is "--encoding=NAME". Then `choice` holds the encoding NAME stands for, and a
// second --encoding or an unknown NAME gives the usage error in `error`.
bool TakeEncodingOption(std::string_view arg, std::optional<EncodingChoice>& choice,
                        std::string& error);

// Reports a usage error on standard error and returns ExitUsage.
int UsageError(std::string_view problem);
