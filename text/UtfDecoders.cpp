#include "UtfDecoders.h"

#include "Encoding.h"
#include "GbkText.h"

#include <algorithm>
#include <cstring>
#include <memory>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace utf {
namespace {

constexpr std::uint16_t MissingChar = 0xA1F5; // □
constexpr char32_t ByteOrderMark = 0xFEFF;
constexpr char16_t ReplacementMark = 0xFFFD;

// Input is decoded in blocks into a scratch buffer that stays in the cache and is then appended
// in one copy. A block's output is at most two bytes for each byte consumed, and decoding
// consumes at most 15 bytes past the block (sixteen ASCII bytes, or a sequence, starting in it).
constexpr std::size_t BlockSize = 16384;
constexpr std::size_t ScratchSize = 2 * (BlockSize + 16);

inline void PutCode(char*& w, std::uint16_t code) {
    w[0] = static_cast<char>(code >> 8);
    w[1] = static_cast<char>(code & 0xFF);
    w += 2;
}

// Writes the GB18030 bytes of a character that is not ASCII: its two-byte code when it has
// one, else its four-byte code. Only surrogates have neither.
inline void PutChar(char*& w, char32_t c, const std::array<std::uint16_t, 65536>& table) {
    if (c == ByteOrderMark)
        return;
    if (c < 0x10000 && table[c] != 0) {
        PutCode(w, table[c]);
        return;
    }
    const std::uint32_t code = gbk::CodeOf(c);
    if (code <= 0xFFFF) { // no code, or one of the few two-byte codes past the basic plane
        PutCode(w, code != 0 ? static_cast<std::uint16_t>(code) : MissingChar);
        return;
    }
    PutCode(w, static_cast<std::uint16_t>(code >> 16));
    PutCode(w, static_cast<std::uint16_t>(code & 0xFFFF));
}

inline bool SixteenAscii(const unsigned char* p) {
#if defined(__SSE2__)
    const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
    return _mm_movemask_epi8(v) == 0;
#else
    (void)p;
    return false;
#endif
}

// The number of bytes of the UTF-8 sequence a lead byte starts, 0 for a byte that starts none.
inline int SequenceLength(unsigned char b) {
    if (b >= 0xC2 && b <= 0xDF)
        return 2;
    if (b >= 0xE0 && b <= 0xEF)
        return 3;
    if (b >= 0xF0 && b <= 0xF4)
        return 4;
    return 0;
}

inline bool IsContinuation(unsigned char b) {
    return (b & 0xC0) == 0x80;
}

} // namespace

const std::array<std::uint16_t, 65536>& GbkCodes() {
    // Every basic-plane character's two-byte code, 0 where it has none.
    static const auto table = [] {
        auto t = std::make_unique<std::array<std::uint16_t, 65536>>();
        for (char32_t c = 0x80; c < 0x10000; ++c) {
            const std::uint32_t code = gbk::CodeOf(c);
            (*t)[c] = code <= 0xFFFF ? static_cast<std::uint16_t>(code) : 0;
        }
        return t;
    }();
    return *table;
}

// Decodes the sequences that start in [p, blockEnd), reading up to three bytes past blockEnd
// (never past end). Gives where decoding stopped: blockEnd or a little past it; the start of a
// sequence cut by `end` when more pieces follow (!last); the start of a malformed sequence when
// a strict decoder fails.
const unsigned char* Utf8ToGb18030::Decode(const unsigned char* p, const unsigned char* blockEnd,
                                           const unsigned char* end, bool last, char*& out) {
    // The code table is fetched at the first well-formed character past ASCII: a GB document
    // tried as UTF-8 fails at its first byte past ASCII, and so never has the table made.
    const std::array<std::uint16_t, 65536>* table = nullptr;
    // Local copies: stores through a char pointer could alias the members, which would make
    // the compiler reload them after every byte written.
    char* w = out;
    bool multiByte = false;
    while (p < blockEnd) {
        const unsigned char b = *p;
        // Nearly every character of a Chinese novel: three bytes, two in GB.
        if ((b & 0xF0) == 0xE0 && end - p >= 3 && IsContinuation(p[1]) && IsContinuation(p[2])) {
            const char32_t c = (b & 0x0F) << 12 | (p[1] & 0x3F) << 6 | (p[2] & 0x3F);
            if (!table)
                table = &GbkCodes();
            const std::uint16_t code = (*table)[c];
            // Overlong forms and surrogates are below 0x800 or have no code.
            if (c >= 0x800 && code != 0) {
                multiByte = true;
                PutCode(w, code);
                p += 3;
                continue;
            }
        }
        if (b < 0x80) {
            if (end - p >= 16 && SixteenAscii(p)) {
                std::memcpy(w, p, 16);
                w += 16;
                p += 16;
            } else {
                *w++ = static_cast<char>(b);
                ++p;
            }
            continue;
        }
        const int length = SequenceLength(b);
        // The second byte's range excludes overlong forms, surrogates and code points past
        // U+10FFFF; later bytes are any continuation byte.
        unsigned char low = 0x80, high = 0xBF;
        if (b == 0xE0)
            low = 0xA0;
        else if (b == 0xED)
            high = 0x9F;
        else if (b == 0xF0)
            low = 0x90;
        else if (b == 0xF4)
            high = 0x8F;
        char32_t c = b & (0x7F >> length);
        int k = 1;
        for (; k < length && p + k < end; ++k) {
            const unsigned char t = p[k];
            if (k == 1 ? (t < low || t > high) : !IsContinuation(t))
                break;
            c = c << 6 | (t & 0x3F);
        }
        if (length > 0 && k == length) {
            multiByte = true;
            if (!table)
                table = &GbkCodes();
            PutChar(w, c, *table);
            p += length;
            continue;
        }
        const bool cutByEnd = length > 0 && p + k == end;
        if ((cutByEnd && !last) || (Strict && !cutByEnd)) {
            HasFailed = !cutByEnd;
            break;
        }
        PutCode(w, MissingChar);
        p += std::max(k, 1);
    }
    out = w;
    HasMultiByte = HasMultiByte || multiByte;
    return p;
}

void Utf8ToGb18030::DecodeInBlocks(std::string_view piece, bool last, std::string& out) {
    char scratch[ScratchSize];
    const auto* p = reinterpret_cast<const unsigned char*>(piece.data());
    const auto* end = p + piece.size();
    while (p < end && !HasFailed) {
        const auto* blockEnd = p + std::min<std::size_t>(BlockSize, end - p);
        char* w = scratch;
        const unsigned char* stop = Decode(p, blockEnd, end, last, w);
        if (KeepText)
            out.append(scratch, w);
        if (stop < blockEnd) { // a cut sequence to carry, or a failure
            if (!HasFailed)
                Pending.assign(reinterpret_cast<const char*>(stop), end - stop);
            return;
        }
        p = stop;
    }
}

// Completes a sequence carried from the last piece with the continuation bytes that start this
// one, and decodes it; what it leaves of the piece is decoded as usual.
void Utf8ToGb18030::FeedPending(std::string_view& piece, std::string& out) {
    const auto lead = static_cast<unsigned char>(Pending[0]);
    std::size_t take = 0;
    while (Pending.size() + take < static_cast<std::size_t>(SequenceLength(lead)) &&
           take < piece.size() && IsContinuation(static_cast<unsigned char>(piece[take])))
        ++take;
    std::string carried = std::move(Pending);
    Pending.clear();
    carried.append(piece.substr(0, take));
    piece.remove_prefix(take);
    DecodeInBlocks(carried, false, out);
    // Still open with the piece used up: wait for the next piece. Still open with bytes of the
    // piece left: the next byte is no continuation byte, so the sequence is malformed.
    if (Pending.empty() || piece.empty())
        return;
    Pending.clear();
    if (Strict)
        HasFailed = true;
    else if (KeepText)
        out += MissingCharBytes;
}

void Utf8ToGb18030::Feed(std::string_view piece, std::string& out) {
    if (HasFailed || piece.empty())
        return;
    if (!Pending.empty()) {
        FeedPending(piece, out);
        if (!Pending.empty() || HasFailed)
            return;
    }
    DecodeInBlocks(piece, false, out);
}

void Utf8ToGb18030::Finish(std::string& out) {
    if (HasFailed || Pending.empty())
        return;
    std::string carried = std::move(Pending);
    Pending.clear();
    DecodeInBlocks(carried, true, out);
}

// Writes at most four bytes: a box for a high surrogate left unpaired, and the unit's own.
inline void Utf16ToGb18030::Unit(std::uint16_t unit, char*& w) {
    if (unit < 0x80 && PendingHigh == 0) {
        *w++ = static_cast<char>(unit);
        return;
    }
    const bool high = unit >= 0xD800 && unit <= 0xDBFF;
    const bool low = unit >= 0xDC00 && unit <= 0xDFFF;
    if (PendingHigh != 0) {
        const char32_t first = PendingHigh;
        PendingHigh = 0;
        if (low) {
            PutChar(w, 0x10000 + ((first - 0xD800) << 10) + (unit - 0xDC00), GbkCodes());
            return;
        }
        PutCode(w, MissingChar); // an unpaired high surrogate
    }
    if (high)
        PendingHigh = unit;
    else if (unit < 0x80)
        *w++ = static_cast<char>(unit);
    else
        PutChar(w, low ? char32_t{0x110000} : unit, GbkCodes());
}

std::uint16_t Utf16ToGb18030::UnitOf(char a, char b) const {
    const auto first = static_cast<unsigned char>(a), second = static_cast<unsigned char>(b);
    return static_cast<std::uint16_t>(BigEndian ? first << 8 | second : second << 8 | first);
}

void Utf16ToGb18030::Feed(std::string_view piece, std::string& out) {
    if (piece.empty())
        return;
    char scratch[ScratchSize];
    char* w = scratch;
    std::size_t i = 0;
    if (PendingByte >= 0) {
        Unit(UnitOf(static_cast<char>(PendingByte), piece[0]), w);
        PendingByte = -1;
        i = 1;
    }
    while (i + 1 < piece.size()) {
        const std::size_t blockEnd = std::min(piece.size() - 1, i + BlockSize);
        for (; i < blockEnd; i += 2)
            Unit(UnitOf(piece[i], piece[i + 1]), w);
        out.append(scratch, w);
        w = scratch;
    }
    if (w != scratch) // nothing decoded since the last block leaves nothing to append
        out.append(scratch, w);
    if (i < piece.size())
        PendingByte = static_cast<unsigned char>(piece[i]);
}

void Utf16ToGb18030::Finish(std::string& out) {
    if (PendingHigh != 0)
        out += MissingCharBytes;
    if (PendingByte >= 0)
        out += MissingCharBytes;
    PendingHigh = 0;
    PendingByte = -1;
}

} // namespace utf
