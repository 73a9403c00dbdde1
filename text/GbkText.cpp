#include "GbkText.h"

#include "UtfDecoders.h"

#include <array>
#include <cstring>
#include <iconv.h>
#include <memory>
#include <vector>

namespace gbk {
namespace {

constexpr char32_t ReplacementMark = 0xFFFD;

// Four-byte characters are numbered in order (b1 81-FE, b2 30-39, b3 81-FE, b4 30-39): the
// first FourByteBmpCount numbers hold the basic-plane characters that have no two-byte code,
// and from SupplementaryStart on the numbers run through U+10000 to U+10FFFF in order.
constexpr std::uint32_t FourByteBmpCount = 39420;
constexpr std::uint32_t SupplementaryStart = 189000;
constexpr std::uint16_t NoIndex = 0xFFFF;
constexpr char32_t NoChar = 0xFFFFFFFF;
// In the two-byte table: the code stands for a character past the basic plane (a handful of
// two-byte codes do), found in DecodeTable::Wide.
constexpr char16_t WideMark = 0xFFFE;

std::uint32_t FourByteNumber(std::uint32_t code) {
    const std::uint32_t b1 = code >> 24, b2 = code >> 16 & 0xFF, b3 = code >> 8 & 0xFF,
                        b4 = code & 0xFF;
    return (((b1 - 0x81) * 10 + (b2 - 0x30)) * 126 + (b3 - 0x81)) * 10 + (b4 - 0x30);
}

std::uint32_t FourByteCode(std::uint32_t number) {
    const std::uint32_t b4 = 0x30 + number % 10;
    number /= 10;
    const std::uint32_t b3 = 0x81 + number % 126;
    number /= 126;
    const std::uint32_t b2 = 0x30 + number % 10;
    const std::uint32_t b1 = 0x81 + number / 10;
    return b1 << 24 | b2 << 16 | b3 << 8 | b4;
}

// Decodes each of `codes` (of `width` bytes each) with the C library's GB18030 converter: in
// one call when all of them are characters, else one by one.
std::vector<char32_t> DecodeWithIconv(const std::vector<char>& codes, std::size_t width) {
    const std::size_t count = codes.size() / width;
    std::vector<char32_t> out(count, NoChar);
    iconv_t cd = iconv_open("UTF-32LE", "GB18030");
    if (cd == reinterpret_cast<iconv_t>(-1))
        return out;
    const auto convert = [cd, width](const char* from, std::size_t size, char32_t* to) {
        char* in = const_cast<char*>(from);
        char* outp = reinterpret_cast<char*>(to);
        std::size_t inLeft = size, outLeft = size / width * 4;
        iconv(cd, nullptr, nullptr, nullptr, nullptr);
        return iconv(cd, &in, &inLeft, &outp, &outLeft) != static_cast<std::size_t>(-1) &&
               inLeft == 0 && outp == reinterpret_cast<char*>(to) + size / width * 4;
    };
    std::vector<char32_t> all(count);
    if (convert(codes.data(), codes.size(), all.data())) {
        out = std::move(all);
    } else {
        for (std::size_t i = 0; i < count; ++i) {
            char32_t one = 0;
            if (convert(codes.data() + i * width, width, &one))
                out[i] = one;
        }
    }
    iconv_close(cd);
    return out;
}

// The basic-plane character of every one- and two-byte code.
struct DecodeTable {
    std::array<char16_t, 65536> Map{};
    std::vector<std::pair<std::uint16_t, char32_t>> Wide;

    DecodeTable() {
        Map.fill(static_cast<char16_t>(ReplacementMark));
        for (unsigned b = 0x20; b < 0x7F; ++b)
            Map[b] = static_cast<char16_t>(b);
        Map['\t'] = u' ';
        std::vector<char> pairs;
        std::vector<std::uint16_t> codes;
        for (unsigned lead = 0x81; lead <= 0xFE; ++lead)
            for (unsigned trail = 0x40; trail <= 0xFE; ++trail)
                if (IsTrailByte(static_cast<unsigned char>(trail))) {
                    pairs.push_back(static_cast<char>(lead));
                    pairs.push_back(static_cast<char>(trail));
                    codes.push_back(static_cast<std::uint16_t>(lead << 8 | trail));
                }
        const std::vector<char32_t> chars = DecodeWithIconv(pairs, 2);
        for (std::size_t i = 0; i < codes.size(); ++i) {
            if (chars[i] < 0x10000) {
                Map[codes[i]] = static_cast<char16_t>(chars[i]);
            } else if (chars[i] != NoChar) {
                Map[codes[i]] = WideMark;
                Wide.emplace_back(codes[i], chars[i]);
            }
        }
    }
};

const DecodeTable& Table() {
    static const DecodeTable table;
    return table;
}

// The basic-plane characters of the four-byte codes, by number; made the first time a four-byte
// character is met.
const std::vector<char32_t>& FourByteBmp() {
    static const std::vector<char32_t> table = [] {
        std::vector<char> codes;
        codes.reserve(FourByteBmpCount * 4);
        for (std::uint32_t n = 0; n < FourByteBmpCount; ++n)
            for (int shift = 24; shift >= 0; shift -= 8)
                codes.push_back(static_cast<char>(FourByteCode(n) >> shift & 0xFF));
        std::vector<char32_t> chars = DecodeWithIconv(codes, 4);
        for (char32_t& c : chars) // a surrogate is no character of its own
            if (c >= 0xD800 && c <= 0xDFFF)
                c = NoChar;
        return chars;
    }();
    return table;
}

// The inverse of both tables for the basic plane. Where two two-byte codes give the same
// character, the GB2312 area (lead bytes from 0xA1) wins.
struct EncodeTable {
    std::array<std::uint16_t, 65536> TwoByte{};
    std::array<std::uint16_t, 65536> FourByte{};

    EncodeTable() {
        FourByte.fill(NoIndex);
        const auto& map = Table().Map;
        const auto addLead = [&](unsigned lead) {
            for (unsigned trail = 0x40; trail <= 0xFE; ++trail) {
                const auto code = static_cast<std::uint16_t>(lead << 8 | trail);
                const char16_t u = map[code];
                if (IsTrailByte(static_cast<unsigned char>(trail)) && u >= 0x80 &&
                    u != ReplacementMark && u != WideMark && TwoByte[u] == 0)
                    TwoByte[u] = code;
            }
        };
        for (unsigned lead = 0xA1; lead <= 0xFE; ++lead)
            addLead(lead);
        for (unsigned lead = 0x81; lead < 0xA1; ++lead)
            addLead(lead);
        const std::vector<char32_t>& four = FourByteBmp();
        for (std::uint32_t n = 0; n < four.size(); ++n)
            if (four[n] >= 0x80 && four[n] < 0x10000 && four[n] != NoChar &&
                TwoByte[four[n]] == 0 && FourByte[four[n]] == NoIndex)
                FourByte[four[n]] = static_cast<std::uint16_t>(n);
    }
};

const EncodeTable& Codes() {
    static const EncodeTable table;
    return table;
}

void AppendUtf16(std::u16string& out, char32_t c) {
    if (c < 0x10000) {
        out.push_back(static_cast<char16_t>(c));
    } else {
        out.push_back(static_cast<char16_t>(0xD800 + ((c - 0x10000) >> 10)));
        out.push_back(static_cast<char16_t>(0xDC00 + ((c - 0x10000) & 0x3FF)));
    }
}

} // namespace

char32_t ToUnicode(std::uint32_t code) {
    if (code <= 0xFFFF) {
        const DecodeTable& table = Table();
        if (table.Map[code] != WideMark)
            return table.Map[code];
        for (const auto& [two, c] : table.Wide)
            if (two == code)
                return c;
        return ReplacementMark;
    }
    const std::uint32_t n = FourByteNumber(code);
    if (n < FourByteBmpCount)
        return FourByteBmp()[n] == NoChar ? ReplacementMark : FourByteBmp()[n];
    if (n >= SupplementaryStart && n - SupplementaryStart < 0x100000)
        return 0x10000 + (n - SupplementaryStart);
    return ReplacementMark;
}

std::uint32_t CodeOf(char32_t c) {
    if (c < 0x80)
        return c;
    if (c >= 0xD800 && c <= 0xDFFF)
        return 0;
    if (c >= 0x10000) {
        for (const auto& [two, wide] : Table().Wide)
            if (wide == c)
                return two;
        return c <= 0x10FFFF ? FourByteCode(SupplementaryStart + (c - 0x10000)) : 0;
    }
    const EncodeTable& codes = Codes();
    if (codes.TwoByte[c] != 0)
        return codes.TwoByte[c];
    return codes.FourByte[c] != NoIndex ? FourByteCode(codes.FourByte[c]) : 0;
}

void AppendCode(std::string& out, std::uint32_t code) {
    if (code > 0xFFFF) {
        out.push_back(static_cast<char>(code >> 24));
        out.push_back(static_cast<char>(code >> 16 & 0xFF));
    }
    if (code > 0xFF)
        out.push_back(static_cast<char>(code >> 8 & 0xFF));
    out.push_back(static_cast<char>(code & 0xFF));
}

std::u16string Decode(std::string_view text) {
    const auto& map = Table().Map;
    std::u16string out;
    out.reserve(text.size());
    for (std::size_t pos = 0; pos < text.size();) {
        const Char c = CharAt(text, pos);
        if (c.Length == 4 || map[c.Code] == WideMark)
            AppendUtf16(out, ToUnicode(c.Code));
        else
            out.push_back(map[c.Code]);
        pos += c.Length;
    }
    return out;
}

std::string FromUtf8(std::string_view utf8) {
    utf::Utf8ToGb18030 decoder(false, true);
    std::string out;
    out.reserve(utf8.size());
    decoder.Feed(utf8, out);
    decoder.Finish(out);
    return out;
}

void AppendUtf8(std::string& out, char32_t c) {
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | c >> 6);
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += static_cast<char>(0xE0 | c >> 12);
        out += static_cast<char>(0x80 | (c >> 6 & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | c >> 18);
        out += static_cast<char>(0x80 | (c >> 12 & 0x3F));
        out += static_cast<char>(0x80 | (c >> 6 & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

std::string ToUtf8(std::string_view text) {
    std::string out;
    out.reserve(text.size() * 3 / 2);
    for (std::size_t pos = 0; pos < text.size();) {
        const Char c = CharAt(text, pos);
        AppendUtf8(out, ToUnicode(c.Code));
        pos += c.Length;
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
