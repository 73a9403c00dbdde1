// mojuan-text: GB and BIG5 detection and conversion, the text filters and the chapter list, for
// novels in bulk, done chunk by chunk exactly as the reader does it.
#include "Subcommands.h"

#include <iostream>
#include <new>
#include <string>
#include <vector>

namespace {

const Subcommand* const Subcommands[] = {&DetectCommand, &ConvertCommand, &FilterCommand,
                                         &ChaptersCommand};

constexpr std::string_view Intro = R"(Usage: mojuan-text COMMAND ARGUMENTS...

Detects, converts and cleans GB and BIG5 text, and lists its chapters, as the 墨卷 reader
does: the text is cut into chunks of 250000 bytes (never inside a double-byte character), and
each chunk is judged, converted and filtered by itself.

Commands:
)";

constexpr std::string_view Outro = R"(
convert and filter read IN in the encoding --encoding=NAME names, as the reader's 文字编码
menu does: auto (recognise it, the default), GB, BIG5 (read as BIG5 and converted to GB),
UTF-8, UTF-16LE or UTF-16BE.

Exit status: 0 on success, 1 when a file cannot be read or written, 2 on bad usage.
)";

void PrintUsage(std::ostream& out) {
    out << Intro;
    for (const Subcommand* command : Subcommands)
        out << command->Help;
    out << Outro;
}

const Subcommand* FindSubcommand(std::string_view name) {
    for (const Subcommand* command : Subcommands) {
        if (command->Name == name)
            return command;
    }
    return nullptr;
}

} // namespace

bool TakeEncodingOption(std::string_view arg, std::optional<EncodingChoice>& choice,
                        std::string& error) {
    constexpr std::string_view Option = "--encoding=";
    if (!arg.starts_with(Option))
        return false;
    const std::optional<EncodingChoice> named = ChoiceFromName(arg.substr(Option.size()));
    if (choice)
        error = "only one --encoding may be given";
    else if (!named)
        error = "--encoding does not know " + std::string(arg.substr(Option.size()));
    choice = named.value_or(EncodingChoice::Auto);
    return true;
}

int UsageError(std::string_view problem) {
    std::cerr << ToolName << ": " << problem << "\nTry '" << ToolName << " --help'.\n";
    return ExitUsage;
}

int main(int argc, char** argv) {
    const std::vector<std::string_view> args(argv + 1, argv + argc);
    if (args.empty()) {
        PrintUsage(std::cerr);
        return ExitUsage;
    }
    if (args[0] == "--help" || args[0] == "-h" || args[0] == "help") {
        PrintUsage(std::cout);
        return std::cout.flush() ? ExitOk : ExitIoError;
    }
    const Subcommand* command = FindSubcommand(args[0]);
    if (command == nullptr)
        return UsageError("unknown command '" + std::string(args[0]) + "'");
    try {
        return command->Run(Arguments(args).subspan(1));
    } catch (const std::bad_alloc&) {
        std::cerr << ToolName << ": not enough memory\n";
        return ExitIoError;
    }
}
