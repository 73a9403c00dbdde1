// Parses library-file bytes: every name is trimmed, non-empty, free of line ends, and no longer
// than the input.
#include "FuzzCheck.h"
#include "records/LibraryFile.h"

extern "C" int LLVMFuzzerTestOneInput(const unsigned char* data, std::size_t size) {
    const std::string_view text = AsText(data, size);
    std::size_t total = 0;
    for (const std::string& name : ParseLibraryText(text)) {
        FuzzCheck(!name.empty(), "empty name");
        FuzzCheck(name.find_first_of("\r\n") == std::string::npos, "line end in a name");
        FuzzCheck(TrimLine(name) == name, "untrimmed name");
        total += name.size();
    }
    FuzzCheck(total <= size, "names longer than the input");
    // What generating writes reads back as the same names, unless the first line starts with the
    // bytes of a UTF-8 byte-order mark, which reading skips at the start of a file.
    const std::vector<std::string> names = ParseLibraryText(text);
    std::vector<std::string> list(names.rbegin(), names.rend());
    const std::string written = LibraryText(list);
    if (!written.starts_with("\xEF\xBB\xBF"))
        FuzzCheck(ParseLibraryText(written) == names, "round trip differs");
    return 0;
}
