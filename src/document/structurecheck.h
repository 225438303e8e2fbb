// The structure check: the places where the text is not clean 7-bit JIS,
// found by walking it as the drawing does.
#pragma once

#include "tavodoc.h"

#include <bitset>
#include <cstdint>

// The JIS X 0208 codes that show a character: bit (row - 1) * 94 + cell - 1
// for the code (row + 0x20, cell + 0x20), rows and cells 1..94.
using JisRepertoire = std::bitset<94 * 94>;

enum class TextProblem : std::uint8_t {
    highBit,         // a byte with the high bit set
    controlCode,     // a control code other than TAB, LF, FF and CR
    unknownEscape,   // an ESC that designates nothing
    undecodablePair, // a pair with a byte outside the code, or with no character
    lineEndsInPair,  // a line ends while a two-byte set is in force
    oddPairRun,      // a two-byte run of an odd number of bytes: its last
                     // byte takes the escape or line end after it as a pair
};

struct ProblemPlace {
    // The character's first byte; for a text that ends in a two-byte set,
    // the end of the text.
    std::uint32_t nOffset;
    std::uint32_t nLine;
    CharSet set; // in force at the character
    TextProblem problem;
};

// The problem of the character that starts at nOffset in set, as the check
// sees it; false for a clean one.
bool CheckCharacter(const CTAVODoc& doc, const JisRepertoire& repertoire, std::uint32_t nOffset,
                    CharSet set, TextProblem* pProblem);

// The first problem at or after nFrom, or with bForward false the last one
// before nFrom. False when there is none.
bool FindProblem(const CTAVODoc& doc, const JisRepertoire& repertoire, std::uint32_t nFrom,
                 bool bForward, ProblemPlace* pFound);
