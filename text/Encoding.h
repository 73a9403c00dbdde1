#pragma once
// Documents written in UTF-8 or UTF-16 are met at the door: their encoding is recognised when
// they are read and they are turned into the GB18030 bytes every later step works on, so chunks,
// passes, pagination, search and bookmarks see GB text as for any other document, and every
// character is kept. Text that is not recognised as UTF is read byte for byte: GB (GBK or
// GB18030) or BIG5.
#include <cstddef>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace utf {
class Utf8ToGb18030;
class Utf16ToGb18030;
} // namespace utf

enum class TextEncoding {
    DoubleByte, // GBK or BIG5 bytes, or plain ASCII: read as they are
    Gb18030,    // GB text with four-byte characters: read as it is too
    Utf8,
    Utf16Le,
    Utf16Be,
};

// The encoding a reader names for a document in place of recognition: Auto recognises it; Gb
// reads the bytes as they are; Big5 reads them as BIG5 and converts them to GB; the UTF choices
// transcode as if a byte-order mark had declared the encoding.
enum class EncodingChoice {
    Auto,
    Gb,
    Big5,
    Utf8,
    Utf16Le,
    Utf16Be,
};

// How a choice is stored and named on a command line: "" (Auto), "GB", "BIG5", "UTF-8",
// "UTF-16LE", "UTF-16BE".
std::string_view ChoiceName(EncodingChoice choice);
// The choice a name stands for, letter case ignored ("auto" too); nothing for an unknown name.
std::optional<EncodingChoice> ChoiceFromName(std::string_view name);

// How far into a text recognition looks for an HTML charset.
inline constexpr std::size_t CharsetScanLimit = 4096;

// "□", what a malformed sequence becomes.
inline constexpr std::string_view MissingCharBytes = "\xA1\xF5";

// "UTF-8", "UTF-16LE", "UTF-16BE", "GB18030", or "GB/BIG5".
std::string_view EncodingName(TextEncoding encoding);

// Whether text in this encoding is read byte for byte.
inline bool IsReadAsIs(TextEncoding encoding) {
    return encoding == TextEncoding::DoubleByte || encoding == TextEncoding::Gb18030;
}

// Whether the bytes hold a four-byte GB18030 character (a byte 81-FE, a digit, a byte 81-FE, a
// digit). GBK, BIG5 and UTF-8 text never does: in each a digit after a byte of 0x81 or above
// ends a character, and a single such byte between two digits is no character.
bool HasFourByteChar(std::string_view bytes);

// In this order: a UTF-8 byte-order mark; a UTF-16 LE or BE byte-order mark; for HTML, a
// <meta> charset naming utf-8, gbk, gb2312, gb18030 or big5; otherwise UTF-8 when all of
// `bytes` is UTF-8 holding at least one multi-byte sequence (a character cut by the end of the
// text is allowed: the text may be a truncated download or a preview's first bytes). A GB or
// BIG5 novel practically never passes that test. Text holding a four-byte character is
// GB18030; everything else is DoubleByte.
TextEncoding RecognizeEncoding(std::string_view bytes, bool html);

// The bytes a reader works on: a UTF text as GB18030 without its byte-order marks (U+FEFF),
// every malformed sequence as "□"; any other text unchanged.
std::string ToReadingBytes(std::string_view bytes, bool html,
                           EncodingChoice choice = EncodingChoice::Auto);

// ToReadingBytes for a text that arrives in pieces (a document read chunk by chunk). It holds
// only the transcoded text, and drops even that as soon as the text cannot be UTF.
class ReadingBytesBuilder {
public:
    explicit ReadingBytesBuilder(bool html, EncodingChoice choice = EncodingChoice::Auto);
    ~ReadingBytesBuilder();
    ReadingBytesBuilder(const ReadingBytesBuilder&) = delete;
    ReadingBytesBuilder& operator=(const ReadingBytesBuilder&) = delete;

    // The pieces in order; the first holds at least the first CharsetScanLimit bytes (or all).
    void Feed(std::string_view piece);
    // After the last piece: the encoding recognised. For a UTF encoding, TakeText() gives the
    // GB18030 text; for one read as it is the pieces themselves are the reading bytes.
    TextEncoding Finish();
    std::string TakeText();

private:
    void Start(std::string_view first);
    // Keeps the last bytes of the piece; with `scan`, also looks for a four-byte character.
    void LookForFourByte(std::string_view piece, bool scan);

    bool Html;
    EncodingChoice Choice;
    bool Started = false;
    TextEncoding Encoding = TextEncoding::DoubleByte;
    std::string Text;
    std::string Tail; // the last bytes of the last piece, for a four-byte character cut by it
    bool FourByte = false;
    std::unique_ptr<utf::Utf8ToGb18030> Utf8;
    std::unique_ptr<utf::Utf16ToGb18030> Utf16;
};

// A text as UTF-8, the file system's code for names (library files): UTF-16 with a byte-order
// mark transcoded, unpaired surrogates as U+FFFD; a leading UTF-8 byte-order mark dropped; any
// other text unchanged.
std::string ToUtf8Text(std::string_view bytes);
