#include "Gb2Big5.h"

#include "Gb2Big5Tables.h"
#include "GbkText.h"

#include <array>
#include <bit>
#include <cstddef>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace {

using Byte = unsigned char;

// The set bits of a 16-bit mask, by adding neighbouring fields. std::popcount compiles to a call
// into the compiler's runtime on the baseline x86-64, which has no popcnt instruction.
constexpr int CountBits16(unsigned x) {
    x = x - ((x >> 1) & 0x5555);
    x = (x & 0x3333) + ((x >> 2) & 0x3333);
    x = (x + (x >> 4)) & 0x0F0F;
    return static_cast<int>((x + (x >> 8)) & 0x1F);
}

// Each byte's fields add up apart from the other byte's until the last step, so every value of
// one byte beside an empty and a full other byte covers the ways a sum can go wrong.
constexpr bool CountsEveryByte() {
    for (unsigned b = 0; b < 0x100; ++b)
        for (unsigned x : {b, b | 0xFF00, b << 8, b << 8 | 0xFF})
            if (CountBits16(x) != std::popcount(x))
                return false;
    return true;
}
// Checked against std::popcount by the compiler (every one of the 65536 masks would take more
// steps than a compiler allows a constant expression).
static_assert(CountsEveryByte());

inline void PutCode(char* out, std::uint16_t code) {
    out[0] = static_cast<char>(code >> 8);
    out[1] = static_cast<char>(code & 0xFF);
}

// The byte after position i, or the zero byte the tests see past the end of the text.
inline Byte NextByte(const Byte* in, std::size_t i, std::size_t n) {
    return i + 1 < n ? in[i + 1] : 0;
}

// A double-byte character of GBK: first byte 81-FE, second byte 40-7E or 80-FE.
inline bool IsGbkPair(Byte b1, Byte b2) {
    return b1 >= 0x81 && b1 <= 0xFE && b2 >= 0x40 && b2 <= 0xFE && b2 != 0x7F;
}

// A four-byte GB18030 character at position i. Neither code has a table entry for one: the
// conversions and the detection take it whole, so none of its bytes is paired with another.
inline bool IsFourByteAt(const Byte* in, std::size_t i, std::size_t n) {
    return gbk::CharLength(in, i, n) == 4;
}

#if defined(__SSE2__)
// The scans look at 16 bytes at once where they can: a block that is all ASCII needs no work,
// and a block that is eight characters in a row needs no decision between them. Everything
// else goes one step at a time by the plain rules, so both paths give the same result.
constexpr std::size_t Block = 16;

inline __m128i Load(const Byte* p) {
    return _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
}

// Lanes whose byte lies in lo..hi; `flipped` holds the bytes with their top bit inverted, so
// that the signed comparisons of SSE2 order them as unsigned bytes.
inline __m128i InRange(__m128i flipped, int lo, int hi) {
    const auto below = static_cast<char>(((lo ^ 0x80) - 1) & 0xFF);
    const auto above = static_cast<char>(((hi ^ 0x80) + 1) & 0xFF);
    return _mm_and_si128(_mm_cmpgt_epi8(flipped, _mm_set1_epi8(below)),
                         _mm_cmplt_epi8(flipped, _mm_set1_epi8(above)));
}

inline __m128i Flip(__m128i v) {
    return _mm_xor_si128(v, _mm_set1_epi8(static_cast<char>(0x80)));
}

// Bit k is set when byte k may stand there in a run of pairs: as a first byte at an even k, as
// a second byte at an odd k.
inline int PairLanes(__m128i first, __m128i second) {
    const __m128i even = _mm_set1_epi16(0x00FF);
    return _mm_movemask_epi8(
        _mm_or_si128(_mm_and_si128(even, first), _mm_andnot_si128(even, second)));
}

// First byte A1-F7, second byte A1-FE.
inline int GbLanes(__m128i v) {
    const __m128i x = Flip(v);
    return PairLanes(InRange(x, 0xA1, 0xF7), InRange(x, 0xA1, 0xFE));
}

// First byte A1-FE (a BIG5 character with a table index), second byte 40-7E or A1-FE.
inline int Big5Lanes(__m128i v) {
    const __m128i x = Flip(v);
    const __m128i high = InRange(x, 0xA1, 0xFE);
    return PairLanes(high, _mm_or_si128(high, InRange(x, 0x40, 0x7E)));
}
#endif

// The two directions differ only in their character test, index and table.
struct FromBig5 {
    static bool IsChar(Byte b1, Byte b2) {
        if (!IsBig5Char(b1, b2))
            return false;
        const int index = Big5CharIndex(b1, b2);
        return index >= 0 && index < Big5TableSize;
    }
    static std::uint16_t Lookup(Byte b1, Byte b2) { return Big5GbTable[Big5CharIndex(b1, b2)]; }
    // A pair without a table index gives up only its first byte: its second byte may start a
    // character with the byte after it.
    static std::size_t ForeignWidth(Byte, Byte) { return 1; }
    // BIG5 has no four-byte characters: one in the text is GB18030 and stays as it is.
    static void PutFourByte(char*) {}
#if defined(__SSE2__)
    static int Lanes(__m128i v) {
        return Big5Lanes(v);
    }
#endif
};

struct FromGb {
    static bool IsChar(Byte b1, Byte b2) { return IsGbChar(b1, b2); }
    static std::uint16_t Lookup(Byte b1, Byte b2) { return GbBig5Table[GbCharIndex(b1, b2)]; }
    // GB text as Chinese systems write it is GBK: a character outside GB2312 (屄 8C C2, say) is
    // still two bytes, and is copied whole. Stepping one byte into it would pair its second byte
    // with the next character's first and garble the rest of the line.
    static std::size_t ForeignWidth(Byte b1, Byte b2) { return IsGbkPair(b1, b2) ? 2 : 1; }
    // BIG5 has no place for a four-byte character: it becomes spaces, as a character without
    // a counterpart does.
    static void PutFourByte(char* out) { std::memset(out, ' ', 4); }
#if defined(__SSE2__)
    static int Lanes(__m128i v) {
        return GbLanes(v);
    }
#endif
};

// The table of a direction spread over every pair of bytes, indexed by the pair as it lies in
// memory read as a little-endian 16-bit value, holding the code with its bytes in the order
// they are written out: the fast block path then converts a character with one load from
// the text, one from the table and one store.
template <class From> const std::array<std::uint16_t, 65536>& PairTable() {
    static const std::array<std::uint16_t, 65536> table = [] {
        std::array<std::uint16_t, 65536> t{};
        for (unsigned b1 = 0; b1 < 256; ++b1) {
            for (unsigned b2 = 0; b2 < 256; ++b2) {
                if (!From::IsChar(b1, b2))
                    continue;
                const std::uint16_t code = From::Lookup(b1, b2);
                const unsigned char bytes[2] = {static_cast<unsigned char>(code >> 8),
                                                static_cast<unsigned char>(code & 0xFF)};
                const unsigned char pair[2] = {static_cast<unsigned char>(b1),
                                               static_cast<unsigned char>(b2)};
                std::uint16_t key, value;
                std::memcpy(&key, pair, 2);
                std::memcpy(&value, bytes, 2);
                t[key] = value;
            }
        }
        return t;
    }();
    return table;
}

// One step of the conversion at position i: a character is replaced, any other byte is left
// as copied. Returns the bytes consumed.
template <class From>
inline std::size_t ConvertStep(const Byte* in, char* out, std::size_t i, std::size_t n) {
    const Byte b2 = NextByte(in, i, n);
    if (!From::IsChar(in[i], b2)) {
        if (!IsFourByteAt(in, i, n))
            return From::ForeignWidth(in[i], b2);
        From::PutFourByte(out + i);
        return 4;
    }
    PutCode(out + i, From::Lookup(in[i], b2));
    return 2;
}

template <class From> std::string Convert(std::string_view text) {
    // Every byte that is not part of a character stays where it is, so start from a copy.
    std::string result(text);
    const auto* in = reinterpret_cast<const Byte*>(text.data());
    char* out = result.data();
    const std::size_t n = text.size();
    std::size_t i = 0;
#if defined(__SSE2__)
    const std::array<std::uint16_t, 65536>& pairs = PairTable<From>();
    while (i + Block <= n) {
        const __m128i v = Load(in + i);
        if (From::Lanes(v) == 0xFFFF) {
            for (std::size_t k = i; k < i + Block; k += 2) {
                std::uint16_t pair;
                std::memcpy(&pair, in + k, 2);
                std::memcpy(out + k, &pairs[pair], 2);
            }
            i += Block;
        } else if (const int high = _mm_movemask_epi8(v); (high & 1) == 0) {
            i += high == 0 ? Block : std::countr_zero(static_cast<unsigned>(high));
        } else {
            i += ConvertStep<From>(in, out, i, n);
        }
    }
#endif
    while (i < n)
        i += ConvertStep<From>(in, out, i, n);
    return result;
}

struct DetectCounts {
    std::size_t Ascii = 0; // with the bytes of four-byte characters, which weigh for neither
    std::size_t Gb = 0;
};

// One step of the detection scan at position i; returns the bytes consumed, which may reach
// one past the end when a byte of 0x80 or above comes last.
inline std::size_t DetectStep(const Byte* in, std::size_t i, std::size_t n, DetectCounts& counts) {
    if (IsGbChar(in[i], NextByte(in, i, n))) {
        counts.Gb += 2;
        return 2;
    }
    if (in[i] >= 0x80 && IsFourByteAt(in, i, n)) {
        counts.Ascii += 4; // weighs for neither code
        return 4;
    }
    if (in[i] >= 0x80)
        return 2; // a foreign double-byte character, whatever its second byte
    ++counts.Ascii;
    return 1;
}

} // namespace

std::string Big5ToGb(std::string_view text) {
    return Convert<FromBig5>(text);
}

std::string GbToBig5(std::string_view text) {
    return Convert<FromGb>(text);
}

bool IsBig5Text(std::string_view text) {
    const auto* in = reinterpret_cast<const Byte*>(text.data());
    const std::size_t n = text.size();
    DetectCounts counts;
    std::size_t i = 0;
#if defined(__SSE2__)
    while (i + Block <= n) {
        const __m128i v = Load(in + i);
        const int high = _mm_movemask_epi8(v);
        // A digit after a byte of 0x80 or above may be part of a four-byte character, which
        // the steps take whole.
        const int digits = _mm_movemask_epi8(InRange(Flip(v), 0x30, 0x39));
        if ((high & 0x5555) == 0x5555 && (digits & 0xAAAA) == 0) {
            // Eight pairs, each led by a byte of 0x80 or above; those that are GB characters
            // have both their lane bits set.
            const int lanes = GbLanes(v);
            counts.Gb += 2 * CountBits16(static_cast<unsigned>(lanes & (lanes >> 1) & 0x5555));
            i += Block;
        } else if ((high & 1) == 0) {
            const std::size_t ascii =
                high == 0 ? Block : std::countr_zero(static_cast<unsigned>(high));
            counts.Ascii += ascii;
            i += ascii;
        } else {
            i += DetectStep(in, i, n, counts);
        }
    }
#endif
    while (i < n)
        i += DetectStep(in, i, n, counts);
    // BIG5 when (n - ascii) > 1.4 * gb; a tie counts as GB.
    return 5 * (n - counts.Ascii) > 7 * counts.Gb;
}

std::string ToGb(std::string_view text) {
    return IsBig5Text(text) ? Big5ToGb(text) : std::string(text);
}

std::string ToBig5(std::string_view text) {
    return IsBig5Text(text) ? std::string(text) : GbToBig5(text);
}
