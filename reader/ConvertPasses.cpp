#include "ConvertPasses.h"

#include "ChunkPass.h"

#include "text/Chunking.h"
#include "text/Gb2Big5.h"

namespace {

std::vector<CodeChange> Every(const std::vector<Chunk>& shown, CodeChange change) {
    return std::vector<CodeChange>(shown.size(), change);
}

// Runs `change` over the chunks the detection, asked of each chunk as the pass reaches it,
// finds in `from` code, and records which chunks those were.
std::vector<CodeChange> ConvertDetected(std::vector<Chunk>& shown, ProgressWindow& progress,
                                        const char* caption, bool fromBig5, CodeChange change) {
    std::vector<CodeChange> made;
    made.reserve(shown.size());
    RunChunkPass(shown, progress, caption, [&](std::string_view text) -> PassOutcome {
        const bool convert = IsBig5Text(text) == fromBig5;
        made.push_back(convert ? change : CodeChange::None);
        return convert ? IfChanged(ApplyCodeChange(text, change), text) : std::nullopt;
    });
    return made;
}

} // namespace

std::string ApplyCodeChange(std::string_view text, CodeChange change) {
    switch (change) {
    case CodeChange::Big5ToGb:
        return Big5ToGb(text);
    case CodeChange::GbToBig5:
        return GbToBig5(text);
    default:
        return std::string(text);
    }
}

std::string UndoCodeChange(std::string_view text, CodeChange change) {
    const CodeChange back = change == CodeChange::Big5ToGb   ? CodeChange::GbToBig5
                            : change == CodeChange::GbToBig5 ? CodeChange::Big5ToGb
                                                             : CodeChange::None;
    return ApplyCodeChange(text, back);
}

std::vector<CodeChange> Init_BIG5(std::vector<Chunk>& shown, ProgressWindow& progress) {
    RunChunkPass(shown, progress, CaptionBig5ToGb,
                 [](std::string_view text) { return IfChanged(Big5ToGb(text), text); });
    return Every(shown, CodeChange::Big5ToGb);
}

std::vector<CodeChange> Init_GB(std::vector<Chunk>& shown, ProgressWindow& progress) {
    RunChunkPass(shown, progress, CaptionGbToBig5,
                 [](std::string_view text) { return IfChanged(GbToBig5(text), text); });
    return Every(shown, CodeChange::GbToBig5);
}

// ToGb and ToBig5, with the detection asked first so that a chunk already in the wanted code
// is not copied.
std::vector<CodeChange> Init_AutoGB(std::vector<Chunk>& shown, ProgressWindow& progress,
                                    bool autoConvert) {
    if (autoConvert)
        return ConvertDetected(shown, progress, CaptionAutoGb, true, CodeChange::Big5ToGb);
    return ConvertDetected(shown, progress, CaptionAutoBig5, false, CodeChange::GbToBig5);
}

std::vector<CodeChange> RunConvertPasses(std::vector<Chunk>& shown, const TextOptions& options,
                                         ProgressWindow& progress) {
    if (options.ConvertBig5 && !options.ConvertGb)
        return Init_BIG5(shown, progress);
    if (options.ConvertGb && !options.ConvertBig5)
        return Init_GB(shown, progress);
    if (options.ConvertBig5 && options.ConvertGb)
        return Init_AutoGB(shown, progress, options.AutoConvert);
    return Every(shown, CodeChange::None);
}
