#include "FuzzCheck.h"
#include "tests/FilterReference.h"
#include "text/TextFilters.h"

extern "C" int LLVMFuzzerTestOneInput(const unsigned char* data, std::size_t size) {
    const std::string_view text = AsText(data, size);
    const std::string out = StripHtml(text);
    FuzzCheck(out.size() <= text.size(), "grew"); // every replacement is shorter than its pattern
    if (size <= ReferenceLimit)
        FuzzCheck(out == reference::StripHtml(std::string(text)), "differs from rule");
    return 0;
}
