// Searching the text for a sequence of characters, whatever sets and
// escapes encode them. The query arrives as the codes that show each of
// its characters; the caller turns typed text into them.
#pragma once

#include "tavodoc.h"

#include <cstdint>
#include <vector>

constexpr std::uint8_t SetBit(CharSet set) {
    return std::uint8_t(1u << set);
}

// A code that shows a character: one byte in the one-byte sets it names, or
// a pair (nFirst, nSecond) in the two-byte sets it names; never both kinds.
struct FindCode {
    std::uint8_t nSets; // SetBit of every set the code stands for
    std::uint8_t nFirst;
    std::uint8_t nSecond; // pairs only
};

// Every code that shows one character of the query.
struct FindChar {
    std::vector<FindCode> codes;
};

using FindQuery = std::vector<FindChar>;

struct TextMatch {
    std::uint32_t nOffset; // the first character's first byte
    std::uint32_t nLength; // to the last character's last byte, escapes between included
    std::uint32_t nLine;
};

// The first match that starts at or after nFrom, or with bForward false the
// last one that starts before nFrom. False when there is none; a query
// without characters, or with a character no code shows, finds nothing.
bool FindText(const CTAVODoc& doc, const FindQuery& query, std::uint32_t nFrom, bool bForward,
              TextMatch* pFound);
