// Character sets of 7-bit JIS text, their designation escapes and the
// conversion of two-byte JIS codes to Shift_JIS.
#pragma once

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

constexpr std::uint8_t ESC = 0x1B;

// p points at an ESC. Returns the designated set plus one (1 ASCII,
// 2 JIS Roman, 3 Old JIS, 4 New JIS), or 0 for any other sequence. Reads at
// most two bytes after the ESC, the second only after "(" or "$", so a zero
// byte after the text stops it.
std::uint8_t DetectEscape(const std::uint8_t* p);

// Converts the JIS X 0208 code at p to Shift_JIS in place. Returns false,
// changing nothing, when the first byte lies outside 0x21..0x7E.
bool JisToSjis(std::uint8_t* p);
