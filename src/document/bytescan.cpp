#include "bytescan.h"

std::uint64_t CountTerminators(const std::uint8_t* p, std::size_t n) {
    std::uint64_t count = 0;
    std::size_t i = 0;
#ifdef __SSE2__
    // Each match adds one to its byte lane; the lanes are summed before
    // they can overflow.
    const __m128i lf = _mm_set1_epi8(char(LF));
    const __m128i ff = _mm_set1_epi8(char(FF));
    while (i + 16 <= n) {
        __m128i lanes = _mm_setzero_si128();
        for (int k = 0; k < 255 && i + 16 <= n; ++k, i += 16) {
            const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + i));
            lanes = _mm_sub_epi8(lanes, _mm_cmpeq_epi8(bytes, lf) | _mm_cmpeq_epi8(bytes, ff));
        }
        const __m128i sums = _mm_sad_epu8(lanes, _mm_setzero_si128());
        count += std::uint64_t(_mm_cvtsi128_si64(sums)) +
                 std::uint64_t(_mm_cvtsi128_si64(_mm_unpackhi_epi64(sums, sums)));
    }
#endif
    for (; i < n; ++i) {
        count += IsTerminator(p[i]);
    }
    return count;
}
