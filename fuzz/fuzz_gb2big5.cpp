// fuzz-links: mojuan_text
// Any bytes at all: the conversions keep the length and agree with the one-step scans of the
// algorithm, and the detection agrees with its one-step count, whatever the fast paths did.
#include "text/Gb2Big5.h"
#include "text/Gb2Big5Tables.h"
#include "text/GbkText.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

namespace {

bool FourByteAt(std::string_view t, std::size_t i) {
    return gbk::CharLength(t, i) == 4;
}

// `wholeGbkPairs`: GB text is GBK, so a GBK character outside GB2312 is copied whole.
// `fourByteAs`: what a four-byte GB18030 character becomes (empty: itself).
template <class IsChar, class Code>
std::string PlainConvert(std::string_view t, IsChar isChar, Code code, bool wholeGbkPairs,
                         std::string_view fourByteAs = {}) {
    std::string r;
    for (std::size_t i = 0; i < t.size();) {
        const unsigned char b1 = t[i], b2 = i + 1 < t.size() ? t[i + 1] : 0;
        if (isChar(b1, b2)) {
            r += CodeToChars(code(b1, b2));
            i += 2;
        } else if (FourByteAt(t, i)) {
            r += fourByteAs.empty() ? t.substr(i, 4) : fourByteAs;
            i += 4;
        } else if (wholeGbkPairs && b1 >= 0x81 && b1 <= 0xFE && b2 >= 0x40 && b2 <= 0xFE &&
                   b2 != 0x7F) {
            r += t.substr(i, 2);
            i += 2;
        } else {
            r += t[i++];
        }
    }
    return r;
}

bool PlainIsBig5Text(std::string_view t) {
    std::size_t ascii = 0, gb = 0;
    for (std::size_t i = 0; i < t.size();) {
        const unsigned char b1 = t[i], b2 = i + 1 < t.size() ? t[i + 1] : 0;
        if (IsGbChar(b1, b2))
            gb += 2, i += 2;
        else if (FourByteAt(t, i))
            ascii += 4, i += 4; // weighs for neither code
        else if (b1 >= 0x80)
            i += 2;
        else
            ++ascii, ++i;
    }
    return 5 * (t.size() - ascii) > 7 * gb;
}

void Check(bool ok) {
    if (!ok)
        std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const std::string gb = Big5ToGb(text), big5 = GbToBig5(text);
    Check(gb.size() == size && big5.size() == size);
    Check(gb ==
          PlainConvert(
              text,
              [](unsigned char a, unsigned char b) {
                  const int index = Big5CharIndex(a, b);
                  return IsBig5Char(a, b) && index >= 0 && index < Big5TableSize;
              },
              [](unsigned char a, unsigned char b) { return Big5GbTable[Big5CharIndex(a, b)]; },
              false));
    Check(big5 ==
          PlainConvert(
              text, IsGbChar,
              [](unsigned char a, unsigned char b) { return GbBig5Table[GbCharIndex(a, b)]; },
              true, "    "));
    Check(IsBig5Text(text) == PlainIsBig5Text(text));
    return 0;
}
