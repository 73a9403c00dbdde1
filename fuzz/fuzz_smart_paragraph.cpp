#include "FuzzCheck.h"
#include "tests/FilterReference.h"
#include "text/TextFilters.h"

// The first byte chooses the mark lists: the program's own, or lists taken from the next bytes
// (marks of any length, made of line-end and indent bytes too).
extern "C" int LLVMFuzzerTestOneInput(const unsigned char* data, std::size_t size) {
    std::string_view text = AsText(data, size);
    MarkList marks1 = ListChap1(), marks2 = ListChap2();
    if (!text.empty() && (text[0] & 1) && text.size() >= 8) {
        marks1 = {std::string(text.substr(1, 1)), std::string(text.substr(2, 2))};
        marks2 = {std::string(text.substr(4, 2)), std::string(text.substr(6, 1))};
        text.remove_prefix(8);
    }
    const std::string out = SmartParagraph(text, marks1, marks2);
    if (text.size() <= ReferenceLimit)
        FuzzCheck(out == reference::SmartParagraph(std::string(text), marks1, marks2),
                  "differs from rule");
    return 0;
}
