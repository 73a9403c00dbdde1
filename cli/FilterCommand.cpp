// mojuan-text filter FILTER... [MODE] [IN [OUT]]: the text cut into chunks as the reader cuts an
// opened file, then the reader's own text passes run over those chunks, so that the output is
// the text the reader shows. Running the reader's code rather than the filters themselves keeps
// the two from drifting apart in the order of the passes or in where a chunk ends.
#include "FileIo.h"
#include "ShownText.h"
#include "Subcommands.h"
#include "reader/ReadingChunks.h"
#include "text/Encoding.h"

#include <iostream>
#include <string>
#include <vector>

namespace {

constexpr std::string_view Help = R"(  filter FILTER... [MODE] [--encoding=NAME] [IN [OUT]]
      Clean IN into OUT (standard input and output when omitted or "-") with the reader's
      passes, each chunk by itself and in the reader's order. OUT is replaced only once the
      whole text is written. FILTER is one or more of
        --normalize    make every line end CR LF (the reader always does this first)
        --html         turn &nbsp; &quot; <br> <p> into text and remove every other tag
        --paragraphs   join broken lines into indented paragraphs (smart paragraphs)
      Without --normalize the other passes see the line ends as they are in IN. MODE is one
      of the modes of convert; it converts every chunk before the filters, as the reader does.
      A UTF-8 or UTF-16 text is transcoded to GB first, as the reader does.
      The reader switches --html on by itself for .htm and .html files.
)";

// What the command line asks for, in the reader's terms: the conversion and filter switches
// of the text passes, and whether the line ends are normalised first as an open does.
struct Choice {
    bool Normalize = false;
    bool HasMode = false;
    TextOptions Passes;

    bool AnyFilter() const { return Normalize || Passes.ProcessHtml || Passes.SmartParagraphs; }
};

bool ApplyFilter(std::string_view option, Choice& choice) {
    if (option == "--normalize")
        choice.Normalize = true;
    else if (option == "--html")
        choice.Passes.ProcessHtml = true;
    else if (option == "--paragraphs")
        choice.Passes.SmartParagraphs = true;
    else
        return false;
    return true;
}

std::string FilterChunks(const Choice& choice, std::string bytes) {
    std::vector<Chunk> shown = ShownChunks(std::move(bytes), choice.Passes, choice.Normalize);
    std::size_t size = 0;
    for (const Chunk& chunk : shown)
        size += chunk->size();
    std::string result;
    result.reserve(size);
    for (Chunk& chunk : shown) {
        result += *chunk;
        chunk.reset();
    }
    return result;
}

int Fail(const IoResult& result) {
    std::cerr << ToolName << ": " << result.Error << '\n';
    return ExitIoError;
}

int Run(Arguments args) {
    Choice choice;
    std::optional<EncodingChoice> encoding;
    std::string error;
    std::vector<std::string> files;
    for (std::string_view arg : args) {
        if (TakeEncodingOption(arg, encoding, error)) {
            if (!error.empty())
                return UsageError(error);
        } else if (arg.size() <= 1 || arg[0] != '-') {
            files.emplace_back(arg);
        } else if (!ApplyFilter(arg, choice)) {
            TextOptions passes = choice.Passes;
            if (!ApplyMode(arg, passes))
                return UsageError("filter does not know the option " + std::string(arg));
            if (choice.HasMode)
                return UsageError("filter takes at most one mode");
            choice.Passes = passes;
            choice.HasMode = true;
        }
    }
    if (!choice.AnyFilter())
        return UsageError("filter needs --normalize, --html or --paragraphs");
    if (files.size() > 2)
        return UsageError("filter takes at most an input and an output");
    files.resize(2, std::string(StandardStream));

    std::string bytes;
    if (const IoResult read = ReadWhole(files[0], bytes); !read.Ok)
        return Fail(read);
    bytes = ToReadingBytes(bytes, IsHtmlName(files[0]), encoding.value_or(EncodingChoice::Auto));
    const std::string filtered = FilterChunks(choice, std::move(bytes));
    if (const IoResult written = WriteWhole(files[1], filtered); !written.Ok)
        return Fail(written);
    return ExitOk;
}

} // namespace

const Subcommand FilterCommand{"filter", Help, Run};
