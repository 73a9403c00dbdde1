#include "GbkText.h"

#include <array>
#include <cerrno>
#include <iconv.h>
#include <memory>
#include <vector>

namespace gbk {
namespace {

constexpr char16_t ReplacementMark = 0xFFFD;

// The GBK-to-Unicode table for every two-byte code, filled once by iconv.
struct DecodeTable {
    std::array<char16_t, 65536> Map{};

    DecodeTable() {
        Map.fill(ReplacementMark);
        for (unsigned b = 0x20; b < 0x7F; ++b)
            Map[b] = static_cast<char16_t>(b);
        Map['\t'] = u' ';
        iconv_t cd = iconv_open("UTF-16LE", "GBK");
        if (cd == reinterpret_cast<iconv_t>(-1))
            return;
        for (unsigned lead = 0x81; lead <= 0xFE; ++lead)
            for (unsigned trail = 0x40; trail <= 0xFE; ++trail)
                if (IsTrailByte(static_cast<unsigned char>(trail)))
                    Map[(lead << 8) | trail] = DecodePair(cd, lead, trail);
        iconv_close(cd);
    }

    static char16_t DecodePair(iconv_t cd, unsigned lead, unsigned trail) {
        char in[2] = {static_cast<char>(lead), static_cast<char>(trail)};
        char out[8];
        char* inp = in;
        char* outp = out;
        std::size_t inLeft = 2, outLeft = sizeof out;
        iconv(cd, nullptr, nullptr, nullptr, nullptr);
        if (iconv(cd, &inp, &inLeft, &outp, &outLeft) == static_cast<std::size_t>(-1) ||
            outLeft != sizeof out - 2)
            return ReplacementMark;
        const auto lo = static_cast<unsigned char>(out[0]), hi = static_cast<unsigned char>(out[1]);
        return static_cast<char16_t>(lo | (hi << 8));
    }
};

const DecodeTable& Table() {
    static const DecodeTable table;
    return table;
}

} // namespace

char16_t ToUnicode(std::uint16_t code) {
    return Table().Map[code];
}

std::u16string Decode(std::string_view text) {
    const auto& map = Table().Map;
    std::u16string out;
    out.reserve(text.size());
    for (std::size_t pos = 0; pos < text.size();) {
        const Char c = CharAt(text, pos);
        out.push_back(map[c.Code]);
        pos += c.Length;
    }
    return out;
}

std::string FromUtf8(std::string_view utf8) {
    std::string out;
    iconv_t cd = iconv_open("GBK", "UTF-8");
    if (cd == reinterpret_cast<iconv_t>(-1))
        return std::string(utf8);
    std::vector<char> buffer(utf8.size() * 2 + 4);
    char* in = const_cast<char*>(utf8.data());
    std::size_t inLeft = utf8.size();
    while (inLeft > 0) {
        char* outp = buffer.data();
        std::size_t outLeft = buffer.size();
        const std::size_t r = iconv(cd, &in, &inLeft, &outp, &outLeft);
        out.append(buffer.data(), outp);
        if (r == static_cast<std::size_t>(-1) && (errno == EILSEQ || errno == EINVAL)) {
            // Skip one UTF-8 character that GBK cannot hold and mark it.
            out.push_back('?');
            do {
                ++in;
                --inLeft;
            } while (inLeft > 0 && (static_cast<unsigned char>(*in) & 0xC0) == 0x80);
        }
    }
    iconv_close(cd);
    return out;
}

} // namespace gbk
