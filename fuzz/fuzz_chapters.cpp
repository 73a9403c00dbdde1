// fuzz-links: mojuan_text
// Any bytes as a shown text, in GB or BIG5, fed whole and cut in two at any byte: the same
// headings either way, in text order, each title inside the text on one line.
#include "FuzzCheck.h"
#include "text/ChapterFinder.h"

#include <cstddef>
#include <cstdint>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 2)
        return 0;
    const TextCode code = data[0] & 1 ? TextCode::Big5 : TextCode::Gb;
    const std::string_view text = AsText(data + 2, size - 2);
    const std::size_t cut = text.empty() ? 0 : data[1] * 131 % text.size();
    const std::vector<Chapter> whole = FindChapters({text}, code);
    FuzzCheck(FindChapters({text.substr(0, cut), text.substr(cut)}, code) == whole,
              "a chunk border changes the headings");
    for (std::size_t i = 0; i < whole.size(); ++i) {
        const Chapter& c = whole[i];
        FuzzCheck(i == 0 || whole[i - 1].Offset < c.Offset, "headings out of order");
        FuzzCheck(c.Length > 0 && c.Offset + c.Length <= text.size(), "title outside the text");
        FuzzCheck(text.substr(c.Offset, c.Length).find('\n') == std::string_view::npos,
                  "title across a line end");
    }
    return 0;
}
