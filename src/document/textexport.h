// A stretch of the text taken out of the document, to be handed on as
// Unicode or as JIS that stands on its own. The stretch keeps its own copy
// of the bytes, so it outlives the document it came from.
#pragma once

#include "tavodoc.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

// The characters of the JIS X 0208 pairs, row by row from 0x2121; 0 where a
// pair stands for none.
using JisTable = std::array<char32_t, 94 * 94>;

struct TextExcerpt {
    std::vector<std::uint8_t> bytes;
    CharSet startSet = CHARSET_ASCII; // in force before the first byte
};

// The bytes [nBegin, nEnd) of a document that has text, with the set in
// force at nBegin.
TextExcerpt ExcerptOf(const CTAVODoc& doc, std::uint32_t nBegin, std::uint32_t nEnd);

// The excerpt as UTF-8: escapes left out, CR LF as LF, JIS Roman's 0x5C and
// 0x7E as the yen sign and the overline, bytes 0xA1..0xDF as half-width
// katakana, control codes as they are; a pair or a byte that stands for no
// character is U+FFFD. WriteUtf8 writes at most Utf8SizeBound bytes and
// returns how many it wrote, so the text is made in one pass.
std::size_t Utf8SizeBound(const TextExcerpt& excerpt);
std::size_t WriteUtf8(const TextExcerpt& excerpt, const JisTable& table, char* out);

// The excerpt as 7-bit JIS: its bytes, with its first set designated
// before them and ASCII designated after them where another set is left.
// WriteJis writes at most JisSizeBound bytes and returns how many.
std::size_t JisSizeBound(const TextExcerpt& excerpt);
std::size_t WriteJis(const TextExcerpt& excerpt, char* out);
