// Character sets of 7-bit JIS text, their designation escapes and the
// conversion of two-byte JIS codes to Shift_JIS.
#pragma once

#include <cstddef>
#include <cstdint>

using CharSet = std::uint8_t;

constexpr CharSet CHARSET_ASCII = 0;
constexpr CharSet CHARSET_JISROMAN = 1;
constexpr CharSet CHARSET_OLDJIS = 2;
constexpr CharSet CHARSET_NEWJIS = 3;
// Not a set of the text: the attribute slot of the line numbers.
constexpr CharSet CHARSET_LINENO = 4;

constexpr bool IsTwoByteSet(CharSet set) {
    return set >= CHARSET_OLDJIS;
}

// The bytes of one character in set.
constexpr std::size_t BytesPerChar(CharSet set) {
    return IsTwoByteSet(set) ? 2 : 1;
}

// Bytes of special meaning to the walkers of the text.
constexpr std::uint8_t TAB = 0x09;
constexpr std::uint8_t LF = 0x0A;
constexpr std::uint8_t FF = 0x0C;
constexpr std::uint8_t ESC = 0x1B;
constexpr std::uint8_t DEL = 0x7F;

// A byte that ends a line.
constexpr bool IsTerminator(std::uint8_t b) {
    return b == LF || b == FF;
}

// p points at an ESC. Returns the designated set plus one (1 ASCII,
// 2 JIS Roman, 3 Old JIS, 4 New JIS), or 0 for any other sequence. Reads at
// most two bytes after the ESC, the second only after "(" or "$", so a zero
// byte after the text stops it.
inline std::uint8_t DetectEscape(const std::uint8_t* p) {
    if (p[1] == '(') {
        if (p[2] == 'B') {
            return CHARSET_ASCII + 1;
        }
        if (p[2] == 'J') {
            return CHARSET_JISROMAN + 1;
        }
    } else if (p[1] == '$') {
        if (p[2] == '@') {
            return CHARSET_OLDJIS + 1;
        }
        if (p[2] == 'B') {
            return CHARSET_NEWJIS + 1;
        }
    }
    return 0;
}

// The rule every walker of the text follows at an ESC (p points at it):
// when it designates a set, that set becomes current and the result is the
// 3 bytes the sequence takes without a cell; otherwise the result is 0, the
// ESC is an ordinary one-cell character, and a two-byte set falls back to
// ASCII.
inline std::size_t FollowEscape(const std::uint8_t* p, CharSet& set) {
    if (const std::uint8_t designated = DetectEscape(p)) {
        set = CharSet(designated - 1);
        return 3;
    }
    if (IsTwoByteSet(set)) {
        set = CHARSET_ASCII;
    }
    return 0;
}

// Consumes the designations that stand at position i of a walk that ends
// at end, by FollowEscape; false when they reach end. Afterwards i is where
// a character starts in set: a pair in a two-byte set, else one byte (an
// ESC that designates nothing among them).
inline bool SkipDesignations(const std::uint8_t* p, std::size_t& i, std::size_t end, CharSet& set) {
    while (i < end && p[i] == ESC) {
        const std::size_t skipped = FollowEscape(p + i, set);
        if (skipped == 0) {
            break;
        }
        i += skipped;
    }
    return i < end;
}

// The index of the two-byte code (first, second), both bytes in 0x21..0x7E,
// in a table of the 94 x 94 codes row by row: (row - 1) * 94 + cell - 1.
constexpr std::size_t JisCodeBit(std::uint8_t first, std::uint8_t second) {
    return std::size_t(first - 0x21) * 94 + std::size_t(second - 0x21);
}

// Converts the JIS X 0208 code at p to Shift_JIS in place. Returns false,
// changing nothing, when the first byte lies outside 0x21..0x7E.
bool JisToSjis(std::uint8_t* p);
