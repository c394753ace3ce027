#pragma once

#include <cstddef>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace notarium {

// The first byte in [p, end) equal to a, b or c, or end. Large documents are scanned for line
// breaks byte by byte otherwise, which costs more than reading the file.
inline const char* findFirstOf(const char* p, const char* end, char a, char b, char c)
{
#if defined(__SSE2__)
    const __m128i va = _mm_set1_epi8(a);
    const __m128i vb = _mm_set1_epi8(b);
    const __m128i vc = _mm_set1_epi8(c);
    while (end - p >= 16) {
        const __m128i chunk = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
        const __m128i hit = _mm_or_si128(
            _mm_or_si128(_mm_cmpeq_epi8(chunk, va), _mm_cmpeq_epi8(chunk, vb)), _mm_cmpeq_epi8(chunk, vc));
        const int mask = _mm_movemask_epi8(hit);
        if (mask != 0)
            return p + __builtin_ctz(static_cast<unsigned>(mask));
        p += 16;
    }
#endif
    for (; p < end; ++p)
        if (*p == a || *p == b || *p == c)
            return p;
    return end;
}

inline const char* findLineBreak(const char* p, const char* end)
{
    return findFirstOf(p, end, '\r', '\n', '\n');
}

} // namespace notarium
