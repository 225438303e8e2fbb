// Fast scans of the text for the bytes its walkers stop at: 16 bytes at a
// time where SSE2 is there, a byte at a time otherwise.
#pragma once

#include "charset.h"

#include <cstddef>
#include <cstdint>

#ifdef __SSE2__
#include <emmintrin.h>
#endif

#ifdef __SSE2__
// Bit k set where byte k of the 16 at p is one of the wanted bytes.
template <std::uint8_t... wanted> unsigned MatchMask(const std::uint8_t* p) {
    const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
    const __m128i hits = (_mm_cmpeq_epi8(bytes, _mm_set1_epi8(char(wanted))) | ...);
    return unsigned(_mm_movemask_epi8(hits));
}
#endif

// The LF and FF bytes among the n at p.
std::uint64_t CountTerminators(const std::uint8_t* p, std::size_t n);

// The first position from i on, stepping by 1 or 2, that holds one of the
// wanted bytes; n or beyond when there is none.
template <std::uint8_t... wanted>
std::size_t FindFirst(const std::uint8_t* p, std::size_t i, std::size_t n, std::size_t step) {
#ifdef __SSE2__
    // Sixteen is even, so a step of 2 keeps to the first bytes of pairs.
    const unsigned positions = step == 2 ? 0x5555u : 0xFFFFu;
    for (; i + 16 <= n; i += 16) {
        if (const unsigned hits = MatchMask<wanted...>(p + i) & positions) {
            return i + unsigned(__builtin_ctz(hits));
        }
    }
#endif
    while (i < n && ((p[i] != wanted) && ...)) {
        i += step;
    }
    return i;
}

// Finds the bytes the split stops at (TAB, LF, FF, ESC) 64 at a time,
// keeping the bits of the block it is in.
class SpecialScanner {
public:
    SpecialScanner(const std::uint8_t* p, std::size_t n) : m_pData(p), m_nSize(n) {}

    // The first such byte from i on, before limit; in a pair set only at
    // an even distance from i. Otherwise the first position from i on, at
    // that distance, at or beyond limit.
    std::size_t Next(std::size_t i, std::size_t limit, bool pairs) {
        if (i >= limit) {
            return i;
        }
        const std::uint64_t even = pairs ? 0x5555555555555555ull : ~0ull;
        std::size_t block = i & ~std::size_t(63);
        std::uint64_t hits = Bits(block) >> (i - block) & even;
        std::size_t found = hits != 0 ? i + std::size_t(__builtin_ctzll(hits)) : 0;
        while (hits == 0) {
            block += 64;
            if (block >= limit) {
                break;
            }
            // Positions at an even distance from i are odd ones of a block
            // that starts an odd distance away.
            hits = Bits(block) & (pairs && (block - i) & 1 ? even << 1 : even);
            found = block + std::size_t(__builtin_ctzll(hits | (1ull << 63)));
        }
        if (hits != 0 && found < limit) {
            return found;
        }
        return pairs ? i + ((limit - i + 1) & ~std::size_t(1)) : limit;
    }

private:
    std::uint64_t Bits(std::size_t block) {
        if (block != m_nBlock) {
            m_nBlock = block;
            m_nBits = Compute(block);
        }
        return m_nBits;
    }

    std::uint64_t Compute(std::size_t block) const {
        const std::uint8_t* const p = m_pData + block;
        std::uint64_t bits = 0;
#ifdef __SSE2__
        if (block + 64 <= m_nSize) {
            for (int k = 0; k < 4; ++k) {
                bits |= std::uint64_t(MatchMask<TAB, LF, FF, ESC>(p + 16 * k)) << (16 * k);
            }
            return bits;
        }
#endif
        for (std::size_t k = 0; k < 64 && block + k < m_nSize; ++k) {
            const std::uint8_t b = p[k];
            bits |= std::uint64_t(b == TAB || b == LF || b == FF || b == ESC) << k;
        }
        return bits;
    }

    const std::uint8_t* m_pData;
    std::size_t m_nSize;
    std::size_t m_nBlock = ~std::size_t(0);
    std::uint64_t m_nBits = 0;
};
