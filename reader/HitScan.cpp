#include "HitScan.h"

#include "text/GbkText.h"

#include <algorithm>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace {

bool IsUpper(unsigned char b) {
    return b >= 'A' && b <= 'Z';
}

unsigned char Lower(unsigned char b) {
    return IsUpper(b) ? static_cast<unsigned char>(b + ('a' - 'A')) : b;
}

// Every byte from "A" to "Z" folded, trail bytes too. It is only the filter that finds
// candidates: a true match also matches here, and each candidate is then checked by the
// character-aware rule. One tight loop, so a chunk of 250000 bytes costs very little.
void FoldAllBytes(std::string_view text, std::string& out) {
    out.resize(text.size());
    const auto* in = reinterpret_cast<const unsigned char*>(text.data());
    auto* to = reinterpret_cast<unsigned char*>(out.data());
    std::size_t i = 0;
#if defined(__SSE2__)
    // Sixteen bytes at a time: shifted so that "A" is the smallest signed byte, the capitals
    // are the 26 smallest, and each gets 0x20 added.
    const __m128i shift = _mm_set1_epi8(static_cast<char>('A' + 128));
    const __m128i limit = _mm_set1_epi8(static_cast<char>(-128 + 26));
    const __m128i step = _mm_set1_epi8('a' - 'A');
    for (; i + 16 <= text.size(); i += 16) {
        const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(in + i));
        const __m128i upper = _mm_cmplt_epi8(_mm_sub_epi8(v, shift), limit);
        _mm_storeu_si128(reinterpret_cast<__m128i*>(to + i),
                         _mm_add_epi8(v, _mm_and_si128(upper, step)));
    }
#endif
    for (; i < text.size(); ++i) {
        const unsigned char c = in[i];
        to[i] = static_cast<unsigned char>(c - 'A') < 26 ? c + ('a' - 'A') : c;
    }
}

bool HasSingleByteLetter(std::string_view text) {
    for (std::size_t pos = 0; pos < text.size();) {
        const gbk::Char c = gbk::CharAt(text, pos);
        if (c.Length == 1 && (IsUpper(c.Code) || (c.Code >= 'a' && c.Code <= 'z')))
            return true;
        pos += c.Length;
    }
    return false;
}

std::size_t Find(std::string_view haystack, std::size_t from, std::string_view needle) {
    if (from >= haystack.size())
        return std::string_view::npos;
    const void* hit =
        ::memmem(haystack.data() + from, haystack.size() - from, needle.data(), needle.size());
    return hit ? static_cast<const char*>(hit) - haystack.data() : std::string_view::npos;
}

} // namespace

// The pattern as it is compared with each chunk.
class HitScan::Matcher {
public:
    Matcher(std::string_view pattern, bool matchCase)
        : Pattern(matchCase ? std::string(pattern) : FoldLetters(pattern)),
          Folding(!matchCase && HasSingleByteLetter(pattern)) {
        if (Folding)
            FoldAllBytes(Pattern, Needle);
        else
            Needle = Pattern;
    }

    std::size_t Size() const { return Pattern.size(); }

    // The text to look for candidates in: the text itself, or its bytes folded into `buffer`.
    std::string_view Haystack(std::string_view text, std::string& buffer) const {
        if (!Folding)
            return text;
        FoldAllBytes(text, buffer);
        return buffer;
    }

    std::size_t NextCandidate(std::string_view haystack, std::size_t from) const {
        return Find(haystack, from, Needle);
    }

    // Whether the original `text` at `at` (a character start) matches: without folding the
    // candidate is already exact; with it, single-byte characters compare folded and longer
    // characters exactly.
    bool Confirms(std::string_view text, std::size_t at) const {
        if (!Folding)
            return true;
        for (std::size_t i = 0; i < Pattern.size();) {
            const gbk::Char c = gbk::CharAt(text, at + i);
            if (c.Length == 1) {
                if (Lower(static_cast<unsigned char>(text[at + i])) !=
                    static_cast<unsigned char>(Pattern[i]))
                    return false;
            } else if (text.substr(at + i, c.Length) !=
                       std::string_view(Pattern).substr(i, c.Length)) {
                return false;
            }
            i += c.Length;
        }
        return true;
    }

private:
    std::string Pattern; // folded where single-byte letters stand, unless case matters
    bool Folding;
    std::string Needle; // what the candidates are found by
};

// Walks a chunk's characters forward, so that each candidate is checked for starting a
// character in time linear in the chunk, however many candidates there are. The walk starts
// again just after the last byte below 0x30 before a candidate: such a byte (a line end, a
// space, ASCII punctuation) is a character of its own in every double-byte code and in the
// four-byte one, so what follows it begins a character; the bytes between candidates are then
// mostly skipped.
class HitScan::CharStarts {
public:
    CharStarts(std::string_view text, std::size_t from) : Text(text), Pos(from) {}
    bool IsStart(std::size_t at) {
        if (Pos >= at)
            return Pos == at;
        std::size_t restart = std::min(at, Text.size());
        while (restart > Pos && static_cast<unsigned char>(Text[restart - 1]) >= 0x30)
            --restart;
        for (Pos = restart; Pos < at && Pos < Text.size();)
            Pos += gbk::CharAt(Text, Pos).Length;
        return Pos == at;
    }

private:
    std::string_view Text;
    std::size_t Pos;
};

std::string FoldLetters(std::string_view text) {
    std::string out(text);
    for (std::size_t pos = 0; pos < out.size();) {
        const gbk::Char c = gbk::CharAt(out, pos);
        if (c.Length == 1)
            out[pos] = static_cast<char>(Lower(static_cast<unsigned char>(out[pos])));
        pos += c.Length;
    }
    return out;
}

HitScan::HitScan(const std::vector<Chunk>& chunks, std::string_view pattern, bool matchCase)
    : Chunks(chunks), Match(std::make_unique<Matcher>(pattern, matchCase)) {}

HitScan::~HitScan() = default;

void HitScan::Run(int first, std::size_t from, int last,
                  const std::function<bool(ChunkPlace)>& take) {
    for (int k = std::max(first, 1); k <= last && k <= static_cast<int>(Chunks.size()); ++k) {
        if (InChunk(k, k == first ? from : 0, take))
            return;
        Chunks[k - 1]->LetGo();
    }
}

bool HitScan::InChunk(int k, std::size_t from, const std::function<bool(ChunkPlace)>& take) {
    const std::string_view text = Text(k);
    const std::string_view haystack = Match->Haystack(text, Buffer);
    CharStarts starts(text, from);
    for (std::size_t at = Match->NextCandidate(haystack, from); at != std::string_view::npos;
         at = Match->NextCandidate(haystack, at + 1)) {
        if (starts.IsStart(at) && Match->Confirms(text, at) &&
            take({k, static_cast<std::uint32_t>(at)}))
            return true;
    }
    return AcrossBorder(k, from, starts, take);
}

// Hits that begin in the last bytes of chunk k and end in a later chunk: the bytes on both
// sides of the border are joined in a small window and searched there.
bool HitScan::AcrossBorder(int k, std::size_t from, CharStarts& starts,
                           const std::function<bool(ChunkPlace)>& take) {
    const int count = static_cast<int>(Chunks.size());
    if (k >= count || Match->Size() < 2)
        return false;
    const std::string_view text = Text(k);
    const std::size_t tail = std::min(Match->Size() - 1, text.size());
    const std::size_t base = text.size() - tail;
    const std::size_t wanted = tail + Match->Size() - 1;
    std::string window(text.substr(base));
    for (int j = k + 1; j <= count && window.size() < wanted; ++j)
        window.append(Text(j).substr(0, wanted - window.size()));
    std::string folded;
    const std::string_view haystack = Match->Haystack(window, folded);
    for (std::size_t j = Match->NextCandidate(haystack, 0); j != std::string_view::npos && j < tail;
         j = Match->NextCandidate(haystack, j + 1)) {
        if (base + j >= from && starts.IsStart(base + j) && Match->Confirms(window, j) &&
            take({k, static_cast<std::uint32_t>(base + j)}))
            return true;
    }
    return false;
}
