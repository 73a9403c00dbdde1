// mojuan-text detect FILE...: the size of each file and, chunk by chunk, the code that the
// reader's detection finds; for a UTF-8 or UTF-16 file, which the reader transcodes as a whole
// when it reads it, and for GB18030 text, the name of that encoding.
#include "FileIo.h"
#include "Subcommands.h"
#include "reader/ReadingChunks.h"
#include "text/Chunking.h"
#include "text/Encoding.h"
#include "text/Gb2Big5.h"

#include <iostream>
#include <string>

namespace {

constexpr std::string_view Help = R"(  detect FILE...
      For each file, print its size and, for each chunk of 250000 bytes, GB or BIG5:
        novel.txt: 1739802 bytes: BIG5 BIG5 BIG5 BIG5 BIG5 BIG5 BIG5
      A file in UTF-8 or UTF-16, which the reader transcodes to GB, is named as such:
        novel.txt: 2509641 bytes: UTF-8
      and so is GB text holding four-byte GB18030 characters:
        novel.txt: 1739802 bytes: GB18030
      Files named .htm or .html may declare their charset in a <meta> tag.
      A file larger than the reader opens (22250000 bytes) is refused; so is an endless device.
)";

void PrintVerdicts(const std::string& name, std::string_view bytes) {
    std::cout << name << ": " << bytes.size() << " bytes:";
    if (const TextEncoding encoding = RecognizeEncoding(bytes, IsHtmlName(name));
        encoding != TextEncoding::DoubleByte) {
        std::cout << ' ' << EncodingName(encoding) << '\n';
        return;
    }
    for (std::string_view chunk : CutChunks(bytes, NoChunkLimit))
        std::cout << (IsBig5Text(chunk) ? " BIG5" : " GB");
    std::cout << '\n';
}

int Run(Arguments args) {
    if (args.empty())
        return UsageError("detect needs at least one file");
    for (std::string_view arg : args) {
        if (arg.size() > 1 && arg[0] == '-')
            return UsageError("detect does not know the option " + std::string(arg));
    }
    return ForEachFile(
        std::vector<std::string>(args.begin(), args.end()),
        [](const std::string& path, std::string bytes) { PrintVerdicts(path, bytes); });
}

} // namespace

const Subcommand DetectCommand{"detect", Help, Run};
