#include "FuzzCheck.h"
#include "text/RtfReader.h"

// BIG5 text is handed on unchanged, so that the bound on the output holds.
extern "C" int LLVMFuzzerTestOneInput(const unsigned char* data, std::size_t size) {
    const std::string_view rtf = AsText(data, size);
    const Big5Converter same = [](std::string_view big5) { return std::string(big5); };
    const std::string out = RtfToText(rtf, same);
    // No construct gives more than one character per byte read, and a character takes at most
    // four bytes (a raw byte of a single-byte code page, é say, is a four-byte GB18030 one).
    FuzzCheck(out.size() <= 4 * size, "output too long");
    return 0;
}
