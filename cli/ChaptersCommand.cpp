// mojuan-text chapters [MODE] [--pattern REGEX] FILE...: the headings the reader finds in each
// file's shown text, found by the reader's own code in the chunks the reader would show.
#include "FileIo.h"
#include "ShownText.h"
#include "Subcommands.h"
#include "reader/Chapters.h"
#include "reader/ReadingChunks.h"
#include "text/Encoding.h"

#include <iostream>
#include <optional>
#include <string>
#include <vector>

namespace {

constexpr std::string_view Help = R"(  chapters [MODE] [--pattern REGEX] FILE...
      Print the headings the reader finds in each file, one a line: the level (1 for a
      volume, 2 for a chapter), the byte offset of the heading in the text the reader shows,
      and the title in UTF-8, tab-separated:
        2	4	第一回  甄士隐梦幻识通灵　贾雨村风尘怀闺秀
      With several files each line starts with the file's name and a tab. A text without
      headings is cut into sections of about 20000 characters, titled by their first lines.
      MODE is one of the modes of convert, as the reader's conversion setting; without one the
      text is shown as it is, as the reader shows it by default. --pattern takes the lines
      that REGEX (ECMAScript syntax, UTF-8) finds a match in instead of the built-in rules.
)";

struct Choice {
    TextOptions Passes;
    std::string Pattern;
    std::vector<std::string> Files;
};

std::optional<int> ParseArguments(Arguments args, Choice& choice) {
    bool hasMode = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string_view arg = args[i];
        if (arg == "--pattern") {
            if (i + 1 == args.size() || args[i + 1].empty())
                return UsageError("--pattern needs a regular expression");
            choice.Pattern = args[++i];
        } else if (arg.size() > 1 && arg[0] == '-') {
            if (!ApplyMode(arg, choice.Passes))
                return UsageError("chapters does not know the option " + std::string(arg));
            if (hasMode)
                return UsageError("chapters takes at most one mode");
            hasMode = true;
        } else {
            choice.Files.emplace_back(arg);
        }
    }
    if (choice.Files.empty())
        return UsageError("chapters needs at least one file");
    if (!choice.Pattern.empty() && !ChapterFinder::ForPattern(TextCode::Gb, choice.Pattern))
        return UsageError("the pattern is not a regular expression: " + choice.Pattern);
    return std::nullopt;
}

void PrintChapters(const Choice& choice, const std::string& path, std::string bytes) {
    const bool html = IsHtmlName(path);
    TextOptions passes = choice.Passes;
    passes.ProcessHtml = html; // as the reader switches it on for HTML files
    const std::vector<Chunk> shown = ShownChunks(ToReadingBytes(bytes, html), passes, true);
    const TextCode code = ShownTextCode(shown);
    const ChapterList list = FindDocumentChapters(shown, code, choice.Pattern);
    const std::string prefix = choice.Files.size() > 1 ? path + "\t" : "";
    for (const Chapter& c : list.Chapters)
        std::cout << prefix << int(c.Level) << '\t' << c.Offset << '\t'
                  << chapters::TextToUtf8(ChapterTitle(shown, c), code) << '\n';
}

int Run(Arguments args) {
    Choice choice;
    if (const std::optional<int> usage = ParseArguments(args, choice))
        return *usage;
    return ForEachFile(choice.Files, [&](const std::string& path, std::string bytes) {
        PrintChapters(choice, path, std::move(bytes));
    });
}

} // namespace

const Subcommand ChaptersCommand{"chapters", Help, Run};
