#pragma once
// Decoders that turn UTF-8 and UTF-16 arriving in pieces into GB18030 bytes, exactly: every
// character keeps its own code. A sequence cut by the end of a piece is carried into the next,
// so feeding a text in any pieces gives the same bytes as feeding it whole. Malformed sequences
// (and unpaired surrogates) become "□", one for each maximal malformed subsequence; U+FEFF (a
// byte-order mark, possibly repeated where files were joined) is invisible and dropped.
#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace utf {

// The two-byte code of each basic-plane character, 0 where it has a four-byte code instead; the
// inverse of the table that draws the text, so a transcoded character is drawn as it was.
const std::array<std::uint16_t, 65536>& GbkCodes();

class Utf8ToGb18030 {
public:
    // A strict decoder stops at the first malformed sequence (Failed()); it is how UTF-8 is
    // recognised. A decoder that does not keep its text only checks.
    Utf8ToGb18030(bool strict, bool keepText) : Strict(strict), KeepText(keepText) {}

    void Feed(std::string_view piece, std::string& out);
    // The end of the text: a sequence still open was cut by it and becomes "□".
    void Finish(std::string& out);

    bool IsStrict() const { return Strict; }
    bool Failed() const { return HasFailed; }
    bool SawMultiByte() const { return HasMultiByte; }

private:
    const unsigned char* Decode(const unsigned char* p, const unsigned char* blockEnd,
                                const unsigned char* end, bool last, char*& w);
    void FeedPending(std::string_view& piece, std::string& out);
    void DecodeInBlocks(std::string_view piece, bool last, std::string& out);

    bool Strict;
    bool KeepText;
    bool HasFailed = false;
    bool HasMultiByte = false;
    std::string Pending; // the start of a sequence cut by the end of the last piece
};

class Utf16ToGb18030 {
public:
    explicit Utf16ToGb18030(bool bigEndian) : BigEndian(bigEndian) {}

    void Feed(std::string_view piece, std::string& out);
    // A lone last byte or an unpaired high surrogate at the end becomes "□".
    void Finish(std::string& out);

private:
    void Unit(std::uint16_t unit, char*& w);
    std::uint16_t UnitOf(char a, char b) const;

    bool BigEndian;
    int PendingByte = -1;
    std::uint16_t PendingHigh = 0; // a high surrogate waiting for its low one
};

} // namespace utf
