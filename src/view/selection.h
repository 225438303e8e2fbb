// Finding text under the mouse: the character in a cell, the place between
// two characters nearest to a point, and the word or the line around a
// character. Places are byte offsets of the document, so that what they
// mark survives any new layout of the rows.
#pragma once

#include "document/linewalker.h"

#include <cstdint>
#include <optional>

struct TextRange {
    std::uint32_t nBegin;
    std::uint32_t nEnd;
};

// The character whose cells take the text column nColumn of row nRow of a
// line (rows counted from the line's first), in the screen layout.
std::optional<CharCell> CellAt(const CTAVODoc& doc, std::uint32_t nLine, std::int64_t nRow,
                               std::int64_t nColumn);

// The place between characters nearest to half-cell nHalfColumn (two per
// text column) of row nRow of the screen layout: before the character whose
// left half it is in, after it in its right half. Past the end of a row,
// the end of the row, before the line's LF or FF; above the text its start,
// below it its end.
std::uint32_t PlaceAt(const CTAVODoc& doc, std::int64_t nRow, std::int64_t nHalfColumn);

// The run of characters of one kind around a character in its line: kanji,
// kana, or letters and digits; any other character alone.
TextRange WordAround(const CTAVODoc& doc, std::uint32_t nLine, const CharCell& cell);

// A line with its LF or FF.
TextRange LineRange(const CTAVODoc& doc, std::uint32_t nLine);
