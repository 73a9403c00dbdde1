// mojuan-text convert MODE [IN [OUT]]: the text cut into chunks as the reader cuts it, and each
// chunk converted by itself as the reader's conversion pass for MODE does, so that the output
// is what the reader would show. A UTF-8 or UTF-16 text is first transcoded to GB, as the
// reader does when it reads such a file.
#include "FileIo.h"
#include "Subcommands.h"
#include "reader/ReadingChunks.h"
#include "text/Chunking.h"
#include "text/Encoding.h"
#include "text/Gb2Big5.h"

#include <iostream>
#include <string>
#include <vector>

namespace {

constexpr std::string_view Help = R"(  convert MODE [--encoding=NAME] [IN [OUT]]
      Convert IN (standard input when omitted or "-") into OUT (standard output when
      omitted or "-"). OUT is replaced only once the whole text is written. MODE is one of
        --big5-to-gb   take every chunk as BIG5 and convert it to GB
        --gb-to-big5   take every chunk as GB and convert it to BIG5; characters BIG5
                       lacks, four-byte GB18030 characters among them, become spaces
        --auto-gb      convert to GB the chunks that are judged BIG5, keep the others
        --auto-big5    convert to BIG5 the chunks that are judged GB, keep the others
        --to-gb        only transcode a UTF-8 or UTF-16 text to GB18030, every character
                       kept (malformed bytes become □); GB and BIG5 text is copied unchanged
      Every mode first transcodes UTF-8 and UTF-16 text to GB18030, as the reader does.
      Four-byte GB18030 characters pass unchanged where a chunk is converted to GB.
)";

std::string Unchanged(std::string_view text) {
    return std::string(text);
}

struct Mode {
    std::string_view Option;
    std::string (*Convert)(std::string_view text);
};

constexpr Mode Modes[] = {
    {"--big5-to-gb", Big5ToGb}, {"--gb-to-big5", GbToBig5}, {"--auto-gb", ToGb},
    {"--auto-big5", ToBig5},    {"--to-gb", Unchanged},
};

const Mode* FindMode(std::string_view option) {
    for (const Mode& mode : Modes) {
        if (mode.Option == option)
            return &mode;
    }
    return nullptr;
}

std::string ConvertChunks(const Mode& mode, std::string_view bytes) {
    std::string result;
    result.reserve(bytes.size());
    for (std::string_view chunk : CutChunks(bytes, NoChunkLimit))
        result += mode.Convert(chunk);
    return result;
}

int Fail(const IoResult& result) {
    std::cerr << ToolName << ": " << result.Error << '\n';
    return ExitIoError;
}

int Run(Arguments args) {
    const Mode* mode = nullptr;
    std::optional<EncodingChoice> encoding;
    std::string error;
    std::vector<std::string> files;
    for (std::string_view arg : args) {
        if (TakeEncodingOption(arg, encoding, error)) {
            if (!error.empty())
                return UsageError(error);
        } else if (arg.size() > 1 && arg[0] == '-') {
            const Mode* found = FindMode(arg);
            if (found == nullptr)
                return UsageError("convert does not know the option " + std::string(arg));
            if (mode != nullptr)
                return UsageError("convert takes one mode");
            mode = found;
        } else {
            files.emplace_back(arg);
        }
    }
    if (mode == nullptr)
        return UsageError("convert needs a mode");
    if (files.size() > 2)
        return UsageError("convert takes at most an input and an output");
    files.resize(2, std::string(StandardStream));

    std::string bytes;
    if (const IoResult read = ReadWhole(files[0], bytes); !read.Ok)
        return Fail(read);
    bytes = ToReadingBytes(bytes, IsHtmlName(files[0]), encoding.value_or(EncodingChoice::Auto));
    if (const IoResult written = WriteWhole(files[1], ConvertChunks(*mode, bytes)); !written.Ok)
        return Fail(written);
    return ExitOk;
}

} // namespace

const Subcommand ConvertCommand{"convert", Help, Run};
