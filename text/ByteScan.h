#pragma once
// Finding the next of a few marker bytes in a long byte text. The filters spend nearly all their
// time between markers (a novel has a CR every few hundred bytes and hardly any '<' or '&'), so
// they copy whole runs and only look at the markers; this search is what sets their speed.
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace bytescan {

// The first byte in [p, end) equal to a or b, or end.
inline const char* FindEither(const char* p, const char* end, char a, char b) {
#if defined(__SSE2__)
    const __m128i va = _mm_set1_epi8(a), vb = _mm_set1_epi8(b);
    for (; end - p >= 16; p += 16) {
        const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
        const int mask =
            _mm_movemask_epi8(_mm_or_si128(_mm_cmpeq_epi8(v, va), _mm_cmpeq_epi8(v, vb)));
        if (mask != 0)
            return p + __builtin_ctz(static_cast<unsigned>(mask));
    }
#endif
    for (; p < end; ++p)
        if (*p == a || *p == b)
            return p;
    return end;
}

// The first byte in [p, end) equal to a, or end.
inline const char* Find(const char* p, const char* end, char a) {
    const void* hit = p < end ? std::memchr(p, a, static_cast<std::size_t>(end - p)) : nullptr;
    return hit ? static_cast<const char*>(hit) : end;
}

} // namespace bytescan
