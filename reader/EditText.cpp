#include "EditText.h"

#include "text/GbkText.h"

namespace {

constexpr char16_t Replacement = 0xFFFD;

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
        const char32_t u =
            c.Length > 1 ? gbk::ToUnicode(c.Code) : SingleByte(static_cast<unsigned char>(b));
        if (u >= 0x10000) { // a surrogate pair, both halves at the character's offset
            out.Text.push_back(static_cast<char16_t>(0xD800 + ((u - 0x10000) >> 10)));
            out.Offsets.push_back(static_cast<std::uint32_t>(pos));
            out.Text.push_back(static_cast<char16_t>(0xDC00 + ((u - 0x10000) & 0x3FF)));
        } else {
            out.Text.push_back(static_cast<char16_t>(u));
        }
        pos += c.Length;
    }
    out.Offsets.push_back(static_cast<std::uint32_t>(bytes.size()));
    return out;
}

EncodedEdit EncodeForEdit(std::u16string_view text) {
    EncodedEdit out;
    out.Bytes.reserve(text.size() * 2);
    for (std::size_t j = 0; j < text.size(); ++j) {
        char32_t c = text[j];
        if (c == u'\n') {
            out.Bytes += "\r\n";
            continue;
        }
        if (IsHighSurrogate(c) && j + 1 < text.size() && IsLowSurrogate(text[j + 1]))
            c = 0x10000 + ((c - 0xD800) << 10) + (char32_t(text[++j]) - 0xDC00);
        const std::uint32_t code = c == Replacement ? 0 : gbk::CodeOf(c);
        if (code == 0 && c != 0) {
            out.Ok = false;
            out.Unencodable = c;
            return out;
        }
        gbk::AppendCode(out.Bytes, code);
    }
    return out;
}

std::string Utf8Of(char32_t c) {
    std::string out;
    gbk::AppendUtf8(out, c);
    return out;
}
