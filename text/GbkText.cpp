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

std::string ToUtf8(std::string_view text) {
    std::string out;
    out.reserve(text.size() * 3 / 2);
    for (const char16_t c : Decode(text)) {
        if (c < 0x80) {
            out += static_cast<char>(c);
        } else if (c < 0x800) {
            out += static_cast<char>(0xC0 | (c >> 6));
            out += static_cast<char>(0x80 | (c & 0x3F));
        } else {
            out += static_cast<char>(0xE0 | (c >> 12));
            out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (c & 0x3F));
        }
    }
    return out;
}

bool IsValidUtf8(std::string_view text) {
    std::size_t i = 0;
    while (i < text.size()) {
        const auto b = static_cast<unsigned char>(text[i]);
        int length = 0;
        char32_t c = 0;
        if (b < 0x80) {
            ++i;
            continue;
        } else if (b >= 0xC2 && b <= 0xDF) {
            length = 2, c = b & 0x1F;
        } else if (b >= 0xE0 && b <= 0xEF) {
            length = 3, c = b & 0x0F;
        } else if (b >= 0xF0 && b <= 0xF4) {
            length = 4, c = b & 0x07;
        } else {
            return false;
        }
        if (i + length > text.size())
            return false;
        for (int k = 1; k < length; ++k) {
            const auto t = static_cast<unsigned char>(text[i + k]);
            if ((t & 0xC0) != 0x80)
                return false;
            c = (c << 6) | (t & 0x3F);
        }
        const bool overlong = (length == 3 && c < 0x800) || (length == 4 && c < 0x10000);
        if (overlong || (c >= 0xD800 && c <= 0xDFFF) || c > 0x10FFFF)
            return false;
        i += length;
    }
    return true;
}

} // namespace gbk
