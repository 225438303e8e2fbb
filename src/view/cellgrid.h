// The view's grid of cells on one surface, screen or paper: the cell in
// pixels, the line-number gutter and where rows wrap. Columns are counted
// two ways. A drawn column counts from the row's left edge, gutter
// included, as the painter places cells and the horizontal bar scrolls; a
// text column counts from a line's first character, as the layout and the
// line walker do. Only this class turns one into the other.
#pragma once

#include "platform/core/wintypes.h"
#include "settings/envsettings.h"

#include <cstdint>

class CellGrid {
public:
    // cell is the one the settings' fonts make on the surface; nDigits the
    // digits of the document's line count.
    CellGrid(SIZE cell, const EnvSettings& env, std::int32_t nDigits);

    SIZE Cell() const { return m_cell; }
    // The line number and its colon, while line numbers are shown.
    int GutterColumns() const { return m_nGutter; }
    // The gutter's pixels in an area width pixels wide.
    LONG GutterPixels(LONG width) const;

    // Whole cells across and down an area of pixels.
    std::uint32_t ColumnsIn(LONG width) const;
    int RowsIn(LONG height) const;
    // Whole rows on a page: at least one, also where a cell is taller than
    // the page, so that every row is printed.
    int RowsPerPage(LONG height) const;

    // The drawn column where the painter wraps the screen's rows, for the
    // wrap word and a window width pixels wide; 0 for no wrapping.
    int ScreenWrapColumn(WORD wWrap, LONG width) const;
    // Paper always wraps at the page's width, whatever the screen does.
    int PageWrapColumn(LONG width) const;
    // The text columns a row holds when the painter wraps at a drawn column;
    // 0 for no wrapping.
    std::uint32_t TextWidth(int drawnWrapColumn) const;

    std::int64_t DrawnColumnOf(std::int64_t textColumn) const { return textColumn + m_nGutter; }
    // The text column and the row under a point, the window scrolled to the
    // drawn column and row given; left of the text, a negative column.
    std::int64_t TextColumnAt(LONG x, int firstDrawnColumn) const;
    std::int64_t RowAt(LONG y, int firstRow) const;
    // The horizontal bar's last drawn column: a few blank columns beyond the
    // widest row, so that the end mark of the widest line shows whole.
    int LastScrollColumn(std::uint32_t layoutWidth) const;

private:
    // A row with no cell left after the gutter is drawn unwrapped: wrapping
    // there would give every character a row of its own.
    int DrawnWrapColumn(std::uint32_t wrapColumn) const;

    SIZE m_cell;
    int m_nGutter;
};
