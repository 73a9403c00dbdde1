#include "EditText.h"

#include "text/GbkText.h"

#include <array>
#include <memory>

namespace {

constexpr char16_t Replacement = 0xFFFD;

// Unicode to GBK code for every character GBK holds, made once from the decoding table.
// Where two codes decode to one character the lower code is kept.
const std::array<std::uint16_t, 65536>& EncodeTable() {
    static const auto table = [] {
        auto map = std::make_unique<std::array<std::uint16_t, 65536>>();
        map->fill(0);
        for (unsigned lead = 0x81; lead <= 0xFE; ++lead)
            for (unsigned trail = 0x40; trail <= 0xFE; ++trail) {
                if (!gbk::IsTrailByte(static_cast<unsigned char>(trail)))
                    continue;
                const auto code = static_cast<std::uint16_t>((lead << 8) | trail);
                const char16_t c = gbk::ToUnicode(code);
                if (c != Replacement && c >= 0x80 && (*map)[c] == 0)
                    (*map)[c] = code;
            }
        return map;
    }();
    return *table;
}

char16_t SingleByte(unsigned char b) {
    if (b < 0x80)
        return b;
    return Replacement;
}

} // namespace

EditText DecodeForEdit(std::string_view bytes) {
    EditText out;
    out.Text.reserve(bytes.size());
    out.Offsets.reserve(bytes.size() + 1);
    for (std::size_t pos = 0; pos < bytes.size();) {
        out.Offsets.push_back(static_cast<std::uint32_t>(pos));
        const char b = bytes[pos];
        if (b == '\r' || b == '\n') {
            out.Text.push_back(u'\n');
            pos += (b == '\r' && pos + 1 < bytes.size() && bytes[pos + 1] == '\n') ? 2 : 1;
            continue;
        }
        const gbk::Char c = gbk::CharAt(bytes, pos);
        out.Text.push_back(c.Length == 2 ? gbk::ToUnicode(c.Code)
                                         : SingleByte(static_cast<unsigned char>(b)));
        pos += c.Length;
    }
    out.Offsets.push_back(static_cast<std::uint32_t>(bytes.size()));
    return out;
}

EncodedEdit EncodeForEdit(std::u16string_view text) {
    EncodedEdit out;
    out.Bytes.reserve(text.size() * 2);
    const auto& table = EncodeTable();
    for (std::size_t j = 0; j < text.size(); ++j) {
        const char16_t c = text[j];
        if (c == u'\n') {
            out.Bytes += "\r\n";
        } else if (c < 0x80) {
            out.Bytes.push_back(static_cast<char>(c));
        } else if (const std::uint16_t code = table[c]; code != 0) {
            out.Bytes.push_back(static_cast<char>(code >> 8));
            out.Bytes.push_back(static_cast<char>(code & 0xFF));
        } else {
            out.Ok = false;
            const bool pair = c >= 0xD800 && c <= 0xDBFF && j + 1 < text.size() &&
                              text[j + 1] >= 0xDC00 && text[j + 1] <= 0xDFFF;
            out.Unencodable =
                pair ? 0x10000 + ((char32_t(c) - 0xD800) << 10) + (char32_t(text[j + 1]) - 0xDC00)
                     : char32_t(c);
            return out;
        }
    }
    return out;
}

std::string Utf8Of(char32_t c) {
    std::string out;
    if (c < 0x80) {
        out.push_back(static_cast<char>(c));
    } else if (c < 0x800) {
        out.push_back(static_cast<char>(0xC0 | (c >> 6)));
        out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    } else if (c < 0x10000) {
        out.push_back(static_cast<char>(0xE0 | (c >> 12)));
        out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    } else {
        out.push_back(static_cast<char>(0xF0 | (c >> 18)));
        out.push_back(static_cast<char>(0x80 | ((c >> 12) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    }
    return out;
}
