#include "FuzzCheck.h"
#include "tests/FilterReference.h"
#include "text/TextFilters.h"

extern "C" int LLVMFuzzerTestOneInput(const unsigned char* data, std::size_t size) {
    const std::string_view text = AsText(data, size);
    const std::string out = NormalizeLineBreaks(text);
    for (std::size_t i = 0; i < out.size(); ++i) {
        if (out[i] == '\r')
            FuzzCheck(i + 1 < out.size() && out[i + 1] == '\n', "CR without LF");
        if (out[i] == '\n')
            FuzzCheck(i > 0 && out[i - 1] == '\r', "LF without CR");
    }
    FuzzCheck(NormalizeLineBreaks(out) == out, "not idempotent");
    if (size <= ReferenceLimit)
        FuzzCheck(out == reference::NormalizeLineBreaks(std::string(text)), "differs from rule");
    return 0;
}
