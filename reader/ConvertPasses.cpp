#include "ConvertPasses.h"

#include "ChunkPass.h"

#include "text/Chunking.h"
#include "text/Gb2Big5.h"

void Init_BIG5(std::vector<Chunk>& shown, ProgressWindow& progress) {
    RunChunkPass(shown, progress, CaptionBig5ToGb,
                 [](std::string_view text) { return IfChanged(Big5ToGb(text), text); });
}

void Init_GB(std::vector<Chunk>& shown, ProgressWindow& progress) {
    RunChunkPass(shown, progress, CaptionGbToBig5,
                 [](std::string_view text) { return IfChanged(GbToBig5(text), text); });
}

// ToGb and ToBig5, with the detection asked first so that a chunk already in the wanted code
// is not copied.
void Init_AutoGB(std::vector<Chunk>& shown, ProgressWindow& progress, bool autoConvert) {
    if (autoConvert) {
        RunChunkPass(shown, progress, CaptionAutoGb, [](std::string_view text) -> PassOutcome {
            return IsBig5Text(text) ? IfChanged(Big5ToGb(text), text) : std::nullopt;
        });
    } else {
        RunChunkPass(shown, progress, CaptionAutoBig5, [](std::string_view text) -> PassOutcome {
            return IsBig5Text(text) ? std::nullopt : IfChanged(GbToBig5(text), text);
        });
    }
}

void RunConvertPasses(std::vector<Chunk>& shown, const TextOptions& options,
                      ProgressWindow& progress) {
    if (options.ConvertBig5 && !options.ConvertGb)
        Init_BIG5(shown, progress);
    if (options.ConvertGb && !options.ConvertBig5)
        Init_GB(shown, progress);
    if (options.ConvertBig5 && options.ConvertGb)
        Init_AutoGB(shown, progress, options.AutoConvert);
}
