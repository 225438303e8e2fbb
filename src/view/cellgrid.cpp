#include "view/cellgrid.h"

#include <algorithm>
#include <climits>

namespace {

constexpr std::int64_t SPARE_COLUMNS = 4;

} // namespace

CellGrid::CellGrid(SIZE cell, const EnvSettings& env, std::int32_t nDigits)
    : m_cell{std::max<LONG>(cell.cx, 1), std::max<LONG>(cell.cy, 1)},
      m_nGutter((env.bFlags & ENV_LINE_NUMBERS) ? nDigits + 1 : 0) {}

LONG CellGrid::GutterPixels(LONG width) const {
    return LONG(std::clamp<std::int64_t>(std::int64_t(m_nGutter) * m_cell.cx, 0, width));
}

std::uint32_t CellGrid::ColumnsIn(LONG width) const {
    return width > 0 ? std::uint32_t(width / m_cell.cx) : 0;
}

int CellGrid::RowsIn(LONG height) const {
    return height > 0 ? int(height / m_cell.cy) : 0;
}

int CellGrid::RowsPerPage(LONG height) const {
    return std::max(RowsIn(height), 1);
}

int CellGrid::ScreenWrapColumn(WORD wWrap, LONG width) const {
    const WrapSetting wrap = DecodeWrap(wWrap);
    switch (wrap.mode) {
    case WrapMode::fixedColumn:
        return DrawnWrapColumn(wrap.column);
    case WrapMode::windowWidth:
        return DrawnWrapColumn(ColumnsIn(width));
    case WrapMode::none:
        break;
    }
    return 0;
}

int CellGrid::PageWrapColumn(LONG width) const {
    return DrawnWrapColumn(ColumnsIn(width));
}

int CellGrid::DrawnWrapColumn(std::uint32_t wrapColumn) const {
    return wrapColumn > std::uint32_t(m_nGutter) ? int(std::min<std::uint32_t>(wrapColumn, INT_MAX))
                                                 : 0;
}

std::uint32_t CellGrid::TextWidth(int drawnWrapColumn) const {
    return drawnWrapColumn > m_nGutter ? std::uint32_t(drawnWrapColumn - m_nGutter) : 0;
}

std::int64_t CellGrid::TextColumnAt(LONG x, int firstDrawnColumn) const {
    return firstDrawnColumn + std::int64_t(x) / m_cell.cx - m_nGutter;
}

std::int64_t CellGrid::RowAt(LONG y, int firstRow) const {
    return firstRow + std::int64_t(y) / m_cell.cy;
}

int CellGrid::LastScrollColumn(std::uint32_t layoutWidth) const {
    return int(std::min<std::int64_t>(DrawnColumnOf(layoutWidth) + SPARE_COLUMNS, INT_MAX));
}
