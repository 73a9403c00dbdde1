#pragma once
// The GB/BIG5 conversion passes over the shown chunks of the open document. Each pass that runs
// reports one step per chunk through the progress window and converts every chunk by itself,
// so a document may hold chunks judged differently. A chunk a pass leaves as it was keeps
// sharing its bytes. Each pass returns, chunk by chunk, the code change it made: a pass that
// reads every chunk as one code records that for every chunk, also where no byte changed.
#include "DocumentStore.h"
#include "ProgressWindow.h"
#include "TextOptions.h"

#include <string>
#include <string_view>
#include <vector>

inline constexpr const char* CaptionBig5ToGb = "转换为GB码";
inline constexpr const char* CaptionGbToBig5 = "转换为BIG5码";
inline constexpr const char* CaptionAutoGb = "自动转换为GB码";
inline constexpr const char* CaptionAutoBig5 = "自动转换为BIG5码";

// Every chunk read as BIG5 and converted to GB.
std::vector<CodeChange> Init_BIG5(std::vector<Chunk>& shown, ProgressWindow& progress);
// Every chunk read as GB and converted to BIG5.
std::vector<CodeChange> Init_GB(std::vector<Chunk>& shown, ProgressWindow& progress);
// Every chunk brought to GB (autoConvert) or to BIG5, converted only when the detection finds
// it in the other code.
std::vector<CodeChange> Init_AutoGB(std::vector<Chunk>& shown, ProgressWindow& progress,
                                    bool autoConvert);

// The three passes in their order, each run when the options ask for it: Init_BIG5 with only
// ConvertBig5 on, Init_GB with only ConvertGb on, Init_AutoGB with both. With both off the text
// stays as it is and every chunk's change is None.
std::vector<CodeChange> RunConvertPasses(std::vector<Chunk>& shown, const TextOptions& options,
                                         ProgressWindow& progress);

// `text` put through `change`.
std::string ApplyCodeChange(std::string_view text, CodeChange change);
// `text` in the shown code of a chunk that went through `change`, put back into its raw code.
std::string UndoCodeChange(std::string_view text, CodeChange change);
