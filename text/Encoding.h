#pragma once
// Documents written in UTF-8 or UTF-16 are met at the door: their encoding is recognised when
// they are read and they are turned into the GBK bytes every later step works on, so chunks,
// passes, pagination, search and bookmarks see GB text as for any other document. Text that
// is not recognised as UTF is read byte for byte, as GB or BIG5.
#include <cstddef>
#include <memory>
#include <string>
#include <string_view>

namespace utf {
class Utf8ToGbk;
class Utf16ToGbk;
} // namespace utf

enum class TextEncoding {
    DoubleByte, // GB or BIG5 bytes, or plain ASCII: read as they are
    Utf8,
    Utf16Le,
    Utf16Be,
};

// How far into a text recognition looks for an HTML charset.
inline constexpr std::size_t CharsetScanLimit = 4096;

// "□", what a character GBK lacks and a malformed sequence become.
inline constexpr std::string_view MissingCharBytes = "\xA1\xF5";

// "UTF-8", "UTF-16LE", "UTF-16BE", or "GB/BIG5".
std::string_view EncodingName(TextEncoding encoding);

// In this order: a UTF-8 byte-order mark; a UTF-16 LE or BE byte-order mark; for HTML, a
// <meta> charset naming utf-8, gbk, gb2312, gb18030 or big5; otherwise UTF-8 when all of
// `bytes` is UTF-8 holding at least one multi-byte sequence (a character cut by the end of the
// text is allowed: the text may be a truncated download or a preview's first bytes). A GB or
// BIG5 novel practically never passes that test; everything else is DoubleByte.
TextEncoding RecognizeEncoding(std::string_view bytes, bool html);

// The bytes a reader works on: a UTF text as GBK without its byte-order marks (U+FEFF), every
// character GBK lacks and every malformed sequence as "□"; any other text unchanged.
std::string ToReadingBytes(std::string_view bytes, bool html);

// ToReadingBytes for a text that arrives in pieces (a document read chunk by chunk). It holds
// only the transcoded text, and drops even that as soon as the text cannot be UTF.
class ReadingBytesBuilder {
public:
    explicit ReadingBytesBuilder(bool html);
    ~ReadingBytesBuilder();
    ReadingBytesBuilder(const ReadingBytesBuilder&) = delete;
    ReadingBytesBuilder& operator=(const ReadingBytesBuilder&) = delete;

    // The pieces in order; the first holds at least the first CharsetScanLimit bytes (or all).
    void Feed(std::string_view piece);
    // After the last piece: the encoding recognised. For a UTF encoding, TakeText() gives the
    // GBK text; for DoubleByte the pieces themselves are the reading bytes.
    TextEncoding Finish();
    std::string TakeText();

private:
    void Start(std::string_view first);

    bool Html;
    bool Started = false;
    TextEncoding Encoding = TextEncoding::DoubleByte;
    std::string Text;
    std::unique_ptr<utf::Utf8ToGbk> Utf8;
    std::unique_ptr<utf::Utf16ToGbk> Utf16;
};

// A text as UTF-8, the file system's code for names (library files): UTF-16 with a byte-order
// mark transcoded, unpaired surrogates as U+FFFD; a leading UTF-8 byte-order mark dropped; any
// other text unchanged.
std::string ToUtf8Text(std::string_view bytes);
