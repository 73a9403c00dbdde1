#include "ConvertPasses.h"

#include "text/Chunking.h"
#include "text/Gb2Big5.h"

#include <optional>
#include <string>
#include <string_view>

static_assert(DocumentStore::ChunkSize == ChunkSize && DocumentStore::MaxChunks == MaxChunks,
              "the store keeps the chunks that the file opening cuts");

namespace {

// A chunk's new text, or nothing when the pass leaves the chunk as it was.
using Outcome = std::optional<std::string>;

Outcome IfChanged(std::string converted, std::string_view text) {
    if (converted == text)
        return std::nullopt;
    return converted;
}

template <class Operation>
void RunPass(std::vector<Chunk>& shown, ProgressWindow& progress, const char* caption,
             Operation operation) {
    const int count = static_cast<int>(shown.size());
    progress.InitShowMess(0, count, caption);
    for (int k = 1; k <= count; ++k) {
        progress.ShowMessPos(k);
        if (Outcome converted = operation(std::string_view(*shown[k - 1])))
            shown[k - 1] = MakeChunk(std::move(*converted));
    }
    progress.CloseShowMess();
}

} // namespace

void Init_BIG5(std::vector<Chunk>& shown, ProgressWindow& progress) {
    RunPass(shown, progress, CaptionBig5ToGb,
            [](std::string_view text) { return IfChanged(Big5ToGb(text), text); });
}

void Init_GB(std::vector<Chunk>& shown, ProgressWindow& progress) {
    RunPass(shown, progress, CaptionGbToBig5,
            [](std::string_view text) { return IfChanged(GbToBig5(text), text); });
}

// ToGb and ToBig5, with the detection asked first so that a chunk already in the wanted code
// is not copied.
void Init_AutoGB(std::vector<Chunk>& shown, ProgressWindow& progress, bool autoConvert) {
    if (autoConvert) {
        RunPass(shown, progress, CaptionAutoGb, [](std::string_view text) -> Outcome {
            return IsBig5Text(text) ? IfChanged(Big5ToGb(text), text) : std::nullopt;
        });
    } else {
        RunPass(shown, progress, CaptionAutoBig5, [](std::string_view text) -> Outcome {
            return IsBig5Text(text) ? std::nullopt : IfChanged(GbToBig5(text), text);
        });
    }
}

void RunConvertPasses(std::vector<Chunk>& shown, const Settings& settings,
                      ProgressWindow& progress) {
    if (settings.ConvertBig5 && !settings.ConvertGb)
        Init_BIG5(shown, progress);
    if (settings.ConvertGb && !settings.ConvertBig5)
        Init_GB(shown, progress);
    if (settings.ConvertBig5 && settings.ConvertGb)
        Init_AutoGB(shown, progress, settings.AutoConvert);
}
