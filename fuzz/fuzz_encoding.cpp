// Any bytes, as a text file or (first byte odd) as an HTML page: recognition agrees with the
// reading bytes, text that is not UTF stays as it is, feeding the text in pieces gives what
// feeding it whole gives, UTF-8 marked by a byte-order mark decodes as a plain one-character-
// at-a-time decoder says, and every transcoded character is one the reader can draw.
#include "FuzzCheck.h"
#include "text/Encoding.h"
#include "text/GbkText.h"
#include "text/UtfDecoders.h"

#include <string>

namespace {

// UTF-8 to GB18030 one character at a time, each maximal malformed subsequence one box.
std::string PlainUtf8ToGb18030(std::string_view t) {
    const auto& table = utf::GbkCodes();
    std::string out;
    for (std::size_t i = 0; i < t.size();) {
        const auto b = static_cast<unsigned char>(t[i]);
        if (b < 0x80) {
            out += t[i++];
            continue;
        }
        const int len = b >= 0xC2 && b <= 0xDF   ? 2
                        : b >= 0xE0 && b <= 0xEF ? 3
                        : b >= 0xF0 && b <= 0xF4 ? 4
                                                 : 0;
        const unsigned lo = b == 0xE0 ? 0xA0 : b == 0xF0 ? 0x90 : 0x80;
        const unsigned hi = b == 0xED ? 0x9F : b == 0xF4 ? 0x8F : 0xBF;
        unsigned cp = b & (0x7F >> len);
        int k = 1;
        while (k < len && i + k < t.size()) {
            const auto c = static_cast<unsigned char>(t[i + k]);
            if (k == 1 ? (c < lo || c > hi) : (c & 0xC0) != 0x80)
                break;
            cp = cp << 6 | (c & 0x3F);
            ++k;
        }
        if (len > 0 && k == len && cp == 0xFEFF) {
        } else if (len > 0 && k == len && cp < 0x10000 && table[cp] != 0) {
            out += static_cast<char>(table[cp] >> 8);
            out += static_cast<char>(table[cp] & 0xFF);
        } else if (len > 0 && k == len && gbk::CodeOf(cp) != 0) {
            gbk::AppendCode(out, gbk::CodeOf(cp));
        } else {
            out += MissingCharBytes;
        }
        i += len > 0 && k == len ? len : std::max(k, 1);
    }
    return out;
}

bool Drawable(std::string_view gbkText) {
    for (std::size_t i = 0; i < gbkText.size();) {
        const gbk::Char c = gbk::CharAt(gbkText, i);
        // U+FFFD itself is a character of the source that GB18030 holds exactly.
        if (c.Length > 1 && gbk::ToUnicode(c.Code) == 0xFFFD && c.Code != gbk::CodeOf(0xFFFD))
            return false;
        if (c.Length == 1 && c.Code >= 0x80)
            return false;
        i += c.Length;
    }
    return true;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const unsigned char* data, std::size_t size) {
    const std::string_view text = AsText(data, size);
    const bool html = size > 0 && (data[0] & 1) != 0;
    const TextEncoding encoding = RecognizeEncoding(text, html);
    const std::string whole = ToReadingBytes(text, html);
    FuzzCheck(whole.size() <= 2 * size, "grew more than twice");
    if (IsReadAsIs(encoding)) {
        FuzzCheck(whole == text, "changed a text that is not UTF");
        return 0;
    }
    FuzzCheck(Drawable(whole), "gave a character the reader cannot draw");
    if (text.starts_with("\xEF\xBB\xBF"))
        FuzzCheck(whole == PlainUtf8ToGb18030(text), "differs from the plain decoder");

    ReadingBytesBuilder builder(html);
    const std::size_t first = std::min(size, CharsetScanLimit);
    builder.Feed(text.substr(0, first));
    for (std::size_t at = first, n = 1; at < size; at += n, n = n % 7 + 1)
        builder.Feed(text.substr(at, n));
    FuzzCheck(builder.Finish() == encoding, "recognised otherwise in pieces");
    FuzzCheck(builder.TakeText() == whole, "differs in pieces");
    return 0;
}
