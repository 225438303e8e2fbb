// The structure check: the places where the text is not clean 7-bit JIS,
// found by walking it as the drawing does.
#pragma once

#include "tavodoc.h"

#include <bitset>
#include <cstdint>
#include <functional>

// A set of two-byte codes, by JisCodeBit.
using JisRepertoire = std::bitset<94 * 94>;

// The codes to which JIS X 0208 gives a character, in both kanji sets. The
// others that the drawing shows (rows 13 and 89 to 92) are a vendor's.
const JisRepertoire& JisX0208Codes();

// The sets that a designation can name but that the text is never shown in.
enum class OtherSet : std::uint8_t {
    jisX0201Katakana, // ESC ( I
    gb2312,           // ESC $ A
    jisX0212,         // ESC $ ( D
};

// p points at an ESC that designates none of the shown sets: whether it
// designates one of the others. Stops at the first byte that differs, so the
// zero byte after the text stops it.
bool DetectOtherDesignation(const std::uint8_t* p, OtherSet* pSet);

enum class TextProblem : std::uint8_t {
    highBit,         // a byte with the high bit set
    controlCode,     // a control code other than TAB, LF, FF and CR
    unknownEscape,   // an ESC that designates nothing
    undecodablePair, // a pair with a byte outside the code, or with no character
    lineEndsInPair,  // a line ends while a two-byte set is in force
    oddPairRun,      // a two-byte run of an odd number of bytes: its last
                     // byte takes the escape or line end after it as a pair
    notJisX0208,     // a pair that shows a vendor's character, not one of JIS X 0208
    otherSetEscape,  // an ESC that designates a set that is never shown
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
// sees it; false for a clean one. The repertoire holds the pairs that show
// a character.
bool CheckCharacter(const CTAVODoc& doc, const JisRepertoire& repertoire, std::uint32_t nOffset,
                    CharSet set, TextProblem* pProblem);

// Hands every problem of the text to found, in order, until found returns
// true; whether it did. One walk of the text, however many problems.
bool ScanProblems(const CTAVODoc& doc, const JisRepertoire& repertoire,
                  const std::function<bool(const ProblemPlace&)>& found);

// The first problem at or after nFrom, or with bForward false the last one
// before nFrom. False when there is none.
bool FindProblem(const CTAVODoc& doc, const JisRepertoire& repertoire, std::uint32_t nFrom,
                 bool bForward, ProblemPlace* pFound);
