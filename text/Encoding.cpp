#include "Encoding.h"

#include "AsciiCase.h"
#include "Gb2Big5.h"
#include "GbkText.h"
#include "UtfDecoders.h"

#include <algorithm>
#include <array>
#include <optional>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace {

constexpr std::string_view Utf8Bom = "\xEF\xBB\xBF";
constexpr std::string_view Utf16LeBom = "\xFF\xFE";
constexpr std::string_view Utf16BeBom = "\xFE\xFF";

struct CharsetName {
    std::string_view Name;
    TextEncoding Encoding;
};
constexpr std::array<CharsetName, 6> CharsetNames{{
    {"utf-8", TextEncoding::Utf8},
    {"utf8", TextEncoding::Utf8},
    {"gbk", TextEncoding::DoubleByte},
    {"gb2312", TextEncoding::DoubleByte},
    {"gb18030", TextEncoding::Gb18030},
    {"big5", TextEncoding::DoubleByte},
}};

bool IsSpace(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\f';
}

bool IsNameChar(char c) {
    return (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-' || c == '_';
}

// The encoding a "charset=NAME" inside one lower-cased <meta ...> tag names, if it is one of
// ours. Covers <meta charset="utf-8"> and the content attribute of an http-equiv Content-Type.
std::optional<TextEncoding> MetaCharset(std::string_view tag) {
    for (std::size_t at = tag.find("charset"); at != std::string_view::npos;
         at = tag.find("charset", at + 1)) {
        std::size_t p = at + 7;
        while (p < tag.size() && IsSpace(tag[p]))
            ++p;
        if (p >= tag.size() || tag[p] != '=')
            continue;
        ++p;
        while (p < tag.size() && (IsSpace(tag[p]) || tag[p] == '"' || tag[p] == '\''))
            ++p;
        std::size_t end = p;
        while (end < tag.size() && IsNameChar(tag[end]))
            ++end;
        const std::string_view name = tag.substr(p, end - p);
        for (const CharsetName& known : CharsetNames)
            if (known.Name == name)
                return known.Encoding;
    }
    return std::nullopt;
}

// The encoding the first <meta> tag with a known charset declares.
std::optional<TextEncoding> HtmlCharset(std::string_view head) {
    const std::string lower = LowerAscii(head.substr(0, CharsetScanLimit));
    for (std::size_t at = lower.find("<meta"); at != std::string::npos;
         at = lower.find("<meta", at + 1)) {
        const std::size_t close = lower.find('>', at);
        const std::string_view tag = std::string_view(lower).substr(at, close - at);
        if (const auto declared = MetaCharset(tag))
            return declared;
    }
    return std::nullopt;
}

// What the first bytes of a text declare: a byte-order mark, or for HTML a charset.
std::optional<TextEncoding> DeclaredEncoding(std::string_view head, bool html) {
    if (head.starts_with(Utf8Bom))
        return TextEncoding::Utf8;
    if (head.starts_with(Utf16LeBom))
        return TextEncoding::Utf16Le;
    if (head.starts_with(Utf16BeBom))
        return TextEncoding::Utf16Be;
    return html ? HtmlCharset(head) : std::nullopt;
}

struct ChoiceRow {
    EncodingChoice Choice;
    std::string_view Name;
};
constexpr std::array<ChoiceRow, 6> ChoiceNames{{
    {EncodingChoice::Auto, ""},
    {EncodingChoice::Gb, "GB"},
    {EncodingChoice::Big5, "BIG5"},
    {EncodingChoice::Utf8, "UTF-8"},
    {EncodingChoice::Utf16Le, "UTF-16LE"},
    {EncodingChoice::Utf16Be, "UTF-16BE"},
}};

// What a chosen encoding makes of the text, as a declaration would.
TextEncoding ChosenEncoding(EncodingChoice choice) {
    switch (choice) {
    case EncodingChoice::Utf8:
        return TextEncoding::Utf8;
    case EncodingChoice::Utf16Le:
        return TextEncoding::Utf16Le;
    case EncodingChoice::Utf16Be:
        return TextEncoding::Utf16Be;
    default:
        return TextEncoding::DoubleByte;
    }
}

} // namespace

std::string_view ChoiceName(EncodingChoice choice) {
    for (const ChoiceRow& row : ChoiceNames)
        if (row.Choice == choice)
            return row.Name;
    return {};
}

std::optional<EncodingChoice> ChoiceFromName(std::string_view name) {
    const std::string lower = LowerAscii(name);
    if (lower == "auto")
        return EncodingChoice::Auto;
    for (const ChoiceRow& row : ChoiceNames)
        if (LowerAscii(row.Name) == lower)
            return row.Choice;
    return std::nullopt;
}

std::string_view EncodingName(TextEncoding encoding) {
    switch (encoding) {
    case TextEncoding::Utf8:
        return "UTF-8";
    case TextEncoding::Utf16Le:
        return "UTF-16LE";
    case TextEncoding::Utf16Be:
        return "UTF-16BE";
    case TextEncoding::Gb18030:
        return "GB18030";
    case TextEncoding::DoubleByte:
        break;
    }
    return "GB/BIG5";
}

TextEncoding RecognizeEncoding(std::string_view bytes, bool html) {
    if (const auto declared = DeclaredEncoding(bytes, html))
        return *declared;
    utf::Utf8ToGb18030 check(true, false);
    std::string none;
    check.Feed(bytes, none);
    check.Finish(none);
    if (!check.Failed() && check.SawMultiByte())
        return TextEncoding::Utf8;
    return HasFourByteChar(bytes) ? TextEncoding::Gb18030 : TextEncoding::DoubleByte;
}

bool HasFourByteChar(std::string_view bytes) {
    const auto* p = reinterpret_cast<const unsigned char*>(bytes.data());
    const std::size_t n = bytes.size();
    const auto startsOne = [p](std::size_t i) {
        return gbk::IsLeadByte(p[i]) && gbk::IsFourByteDigit(p[i + 1]) &&
               gbk::IsLeadByte(p[i + 2]) && gbk::IsFourByteDigit(p[i + 3]);
    };
    std::size_t i = 0;
#if defined(__SSE2__)
    // Digits are rare in a novel: sixteen bytes without one are passed over at once.
    const __m128i shift = _mm_set1_epi8(static_cast<char>('0' + 128));
    const __m128i limit = _mm_set1_epi8(static_cast<char>(-128 + 10));
    for (; i + 19 < n; i += 16) {
        const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + i + 1));
        if (_mm_movemask_epi8(_mm_cmplt_epi8(_mm_sub_epi8(v, shift), limit)) == 0)
            continue;
        for (std::size_t k = i; k < i + 16; ++k)
            if (startsOne(k))
                return true;
    }
#endif
    for (; i + 3 < n; ++i)
        if (startsOne(i))
            return true;
    return false;
}

std::string ToReadingBytes(std::string_view bytes, bool html, EncodingChoice choice) {
    if (choice == EncodingChoice::Big5)
        return Big5ToGb(bytes);
    ReadingBytesBuilder builder(html, choice);
    builder.Feed(bytes);
    return IsReadAsIs(builder.Finish()) ? std::string(bytes) : builder.TakeText();
}

ReadingBytesBuilder::ReadingBytesBuilder(bool html, EncodingChoice choice)
    : Html(html), Choice(choice) {}
ReadingBytesBuilder::~ReadingBytesBuilder() = default;

// A declared encoding is transcoded leniently; undeclared text is decoded as UTF-8 on trial
// by a strict decoder, which gives up (and frees its text) at the first malformed sequence.
void ReadingBytesBuilder::Start(std::string_view first) {
    Started = true;
    const std::optional<TextEncoding> declared =
        Choice == EncodingChoice::Auto ? DeclaredEncoding(first, Html) : ChosenEncoding(Choice);
    Encoding = declared.value_or(TextEncoding::Utf8);
    if (Encoding == TextEncoding::Utf8)
        Utf8 = std::make_unique<utf::Utf8ToGb18030>(!declared.has_value(), true);
    else if (!IsReadAsIs(Encoding))
        Utf16 = std::make_unique<utf::Utf16ToGb18030>(Encoding == TextEncoding::Utf16Be);
    Text.reserve(first.size());
}

// Only text read as it is is looked at; the last three bytes of a piece are kept with the first
// three of the next, for a character cut between them.
void ReadingBytesBuilder::LookForFourByte(std::string_view piece, bool scan) {
    if (scan && !FourByte) {
        std::string border = Tail;
        border.append(piece.substr(0, 3));
        FourByte = HasFourByteChar(border) || HasFourByteChar(piece);
    }
    const std::string last =
        Tail + std::string(piece.substr(piece.size() - std::min<std::size_t>(3, piece.size())));
    Tail = last.substr(last.size() - std::min<std::size_t>(3, last.size()));
}

void ReadingBytesBuilder::Feed(std::string_view piece) {
    if (!Started)
        Start(piece);
    const std::string before = Tail;
    LookForFourByte(piece, !Utf8 && !Utf16);
    if (Utf16) {
        Utf16->Feed(piece, Text);
    } else if (Utf8) {
        Utf8->Feed(piece, Text);
        if (Utf8->Failed()) {
            Utf8.reset();
            Text = std::string();
            Encoding = TextEncoding::DoubleByte;
            Tail = before; // the pieces before were UTF-8, which holds none
            LookForFourByte(piece, true);
        }
    }
}

TextEncoding ReadingBytesBuilder::Finish() {
    if (Utf16) {
        Utf16->Finish(Text);
    } else if (Utf8) {
        Utf8->Finish(Text);
        // Undeclared pure ASCII is read as it is, which gives the same bytes.
        if (Utf8->IsStrict() && !Utf8->SawMultiByte()) {
            Text = std::string();
            Encoding = TextEncoding::DoubleByte;
        }
    }
    Utf8.reset();
    Utf16.reset();
    if (Encoding == TextEncoding::DoubleByte && FourByte)
        Encoding = TextEncoding::Gb18030;
    return Encoding;
}

std::string ReadingBytesBuilder::TakeText() {
    return std::move(Text);
}

std::string ToUtf8Text(std::string_view bytes) {
    const std::optional<TextEncoding> declared = DeclaredEncoding(bytes, false);
    if (declared == TextEncoding::Utf8)
        return std::string(bytes.substr(Utf8Bom.size()));
    if (!declared)
        return std::string(bytes);
    const bool bigEndian = declared == TextEncoding::Utf16Be;
    std::string out;
    out.reserve(bytes.size());
    char32_t high = 0;
    for (std::size_t i = Utf16LeBom.size(); i + 1 < bytes.size(); i += 2) {
        const auto a = static_cast<unsigned char>(bytes[i]);
        const auto b = static_cast<unsigned char>(bytes[i + 1]);
        const char32_t unit = bigEndian ? a << 8 | b : b << 8 | a;
        const bool isLow = unit >= 0xDC00 && unit <= 0xDFFF;
        if (high != 0 && isLow) {
            gbk::AppendUtf8(out, 0x10000 + ((high - 0xD800) << 10) + (unit - 0xDC00));
            high = 0;
            continue;
        }
        if (high != 0 || isLow)
            gbk::AppendUtf8(out, 0xFFFD);
        high = unit >= 0xD800 && unit <= 0xDBFF ? unit : 0;
        if (high == 0 && !isLow)
            gbk::AppendUtf8(out, unit);
    }
    if (high != 0)
        gbk::AppendUtf8(out, 0xFFFD);
    if (bytes.size() % 2 != 0)
        gbk::AppendUtf8(out, 0xFFFD);
    return out;
}
