// CTAVODoc's row layout and lookups: the rows of every line at a wrap
// width, the row index that finds a line by row, and the checkpoints.
#include "tavodoc.h"

#include "bytescan.h"
#include "linetable.h"

#include <algorithm>
#include <thread>

namespace {

// Layouts of this many lines are counted in two halves at once.
constexpr std::uint32_t PARALLEL_LINES = 64 * ROW_BLOCK;

// a character that no longer fits opens a new row and starts at column 0.
class RowCursor {
public:
    explicit RowCursor(std::uint64_t width) : m_nWidth(width) {}

    std::uint64_t Rows() const { return m_nRows; }
    std::uint64_t Column() const { return m_nColumn; }

    // count one-cell characters in a row, computed at once.
    void PlaceSingles(std::uint64_t count) {
        if (count == 0) {
            return;
        }
        WrapIfFull(m_nWidth);
        const std::uint64_t end = m_nColumn + count;
        const std::uint64_t wraps = (end - 1) / m_nWidth;
        m_nRows += wraps;
        m_nColumn = end - wraps * m_nWidth;
    }

    void PlaceTab() {
        WrapIfFull(m_nWidth);
        m_nColumn = (m_nColumn & ~std::uint64_t(3)) + 4;
    }

    // count two-cell characters in a row; each needs two cells left.
    void PlacePairs(std::uint64_t count) {
        if (count == 0) {
            return;
        }
        if (m_nWidth == 1) { // no pair ever fits: each opens a row of its own
            m_nRows += count;
            m_nColumn = 2;
            return;
        }
        const std::uint64_t room = m_nColumn + 2 > m_nWidth ? 0 : (m_nWidth - m_nColumn) / 2;
        const std::uint64_t placed = std::min(count, room);
        m_nColumn += 2 * placed;
        const std::uint64_t left = count - placed;
        if (left > 0) {
            const std::uint64_t perRow = m_nWidth / 2;
            const std::uint64_t newRows = (left + perRow - 1) / perRow;
            m_nRows += newRows;
            m_nColumn = 2 * (left - (newRows - 1) * perRow);
        }
    }

private:
    void WrapIfFull(std::uint64_t limit) {
        if (m_nColumn >= limit) {
            ++m_nRows;
            m_nColumn = 0;
        }
    }

    std::uint64_t m_nWidth;
    std::uint64_t m_nColumn = 0;
    std::uint64_t m_nRows = 1;
};

} // namespace

// Rows end where a character no longer fits: a line whose widest cell, its
// terminator (a pair at most) included, lies within the width takes one.
bool CTAVODoc::FitsOneRow(const LineInfo& line, std::uint32_t nWidth) const {
    return !line.bTabInPair && std::uint64_t(line.nWidth) + 2 <= nWidth;
}

bool CTAVODoc::CountRows(std::uint32_t nWidth, int nSlot) {
    SlotLayout& layout = m_layout[nSlot];
    if (!layout.bCounted || layout.nWidth != nWidth) {
        if (nWidth == 0 || (!m_bAnyTabInPair && std::uint64_t(m_nMaxWidth) + 2 <= nWidth)) {
            if (!layout.bSingleRows) {
                for (std::uint32_t i = 0; i < m_nLines; ++i) {
                    m_pLines[i].nRows[nSlot] = 1;
                }
            }
            for (std::uint32_t i = 0; i < m_nCheckpoints; ++i) {
                m_pCheckpoints[i].nRow[nSlot] = 0;
                m_pCheckpoints[i].nRowColumn[nSlot] = SaturatedWidth(m_pCheckpoints[i].nColumn);
            }
            layout.bSingleRows = true;
            layout.nRows = m_nLines;
        } else {
            CountEveryLine(nWidth, nSlot);
        }
        layout.bCounted = true;
        layout.nWidth = nWidth;
    }
    m_nTotalRows[nSlot] = SaturatedRows(std::uint64_t(layout.nRows));
    m_nLayoutWidth[nSlot] = nWidth == 0 ? m_nMaxWidth : nWidth;
    return true;
}

// Many lines are counted in two halves at once; each half indexes its rows
// from its own first line, and the second's index is moved on after.
void CTAVODoc::CountEveryLine(std::uint32_t nWidth, int nSlot) {
    SlotLayout& layout = m_layout[nSlot];
    const std::uint32_t half =
        m_nLines >= PARALLEL_LINES ? m_nLines / 2 / ROW_BLOCK * ROW_BLOCK : m_nLines;
    std::int64_t second = 0;
    std::thread worker;
    if (half < m_nLines) {
        worker = std::thread([&] { second = CountLines(half, m_nLines, nWidth, nSlot); });
    }
    const std::int64_t first = CountLines(0, half, nWidth, nSlot);
    if (worker.joinable()) {
        worker.join();
        const std::uint32_t blocks = (m_nLines + ROW_BLOCK - 1) / ROW_BLOCK;
        for (std::uint32_t block = half / ROW_BLOCK; block < blocks; ++block) {
            layout.pIndex[block] += first;
        }
    }
    layout.nRows = first + second;
    layout.bSingleRows = layout.nRows == std::int64_t(m_nLines);
}

// Counts the rows of the lines first..last - 1; the row index of their
// blocks counts from line first. Returns their rows.
std::int64_t CTAVODoc::CountLines(std::uint32_t first, std::uint32_t last, std::uint32_t nWidth,
                                  int nSlot) {
    std::int64_t* const index = m_layout[nSlot].pIndex;
    LineCheckpoint* checkpoint = first < last ? FirstCheckpointFrom(m_pLines[first].nOffset)
                                              : m_pCheckpoints + m_nCheckpoints;
    LineCheckpoint* const lastCheckpoint = m_pCheckpoints + m_nCheckpoints;
    std::int64_t total = 0;
    for (std::uint32_t i = first; i < last; ++i) {
        if (i % ROW_BLOCK == 0) {
            index[i / ROW_BLOCK] = total;
        }
        LineInfo& line = m_pLines[i];
        LineCheckpoint* const lineFirst = checkpoint;
        const std::uint64_t lineEnd = std::uint64_t(line.nOffset) + line.nLength;
        while (checkpoint < lastCheckpoint && checkpoint->nOffset < lineEnd) {
            ++checkpoint;
        }
        std::uint64_t rows = 1;
        if (FitsOneRow(line, nWidth)) {
            for (LineCheckpoint* c = lineFirst; c < checkpoint; ++c) {
                c->nRow[nSlot] = 0;
                c->nRowColumn[nSlot] = SaturatedWidth(c->nColumn);
            }
        } else {
            rows = CountWrappedRows(line, nWidth, nSlot, lineFirst, checkpoint);
        }
        line.nRows[nSlot] = SaturatedRows(rows);
        total +=
            std::int64_t(std::min<std::uint64_t>(rows, std::numeric_limits<std::int32_t>::max()));
    }
    return total;
}

std::uint32_t CTAVODoc::LineAtRow(std::int64_t nRow, int nSlot, std::int64_t* pStartRow) const {
    const SlotLayout& layout = m_layout[nSlot];
    nRow = std::max<std::int64_t>(nRow, 0);
    if (layout.bSingleRows || nRow >= layout.nRows) {
        // With one row per line, row n is line n.
        const auto line = std::uint32_t(std::min<std::int64_t>(nRow, m_nLines));
        *pStartRow = layout.bSingleRows ? line : layout.nRows;
        return layout.bSingleRows ? line : m_nLines;
    }
    const std::size_t blocks = (m_nLines + ROW_BLOCK - 1) / ROW_BLOCK;
    const std::int64_t* const block =
        std::upper_bound(layout.pIndex, layout.pIndex + blocks, nRow) - 1;
    auto line = std::uint32_t(block - layout.pIndex) * ROW_BLOCK;
    std::int64_t start = *block;
    for (; line < m_nLines; ++line) {
        const std::int64_t end = start + m_pLines[line].nRows[nSlot];
        if (end > nRow) {
            break;
        }
        start = end;
    }
    *pStartRow = start;
    return line;
}

std::int64_t CTAVODoc::StartRowOfLine(std::uint32_t nLine, int nSlot) const {
    const SlotLayout& layout = m_layout[nSlot];
    nLine = std::min(nLine, m_nLines);
    if (layout.bSingleRows) {
        return nLine;
    }
    if (nLine == m_nLines) {
        return layout.nRows;
    }
    std::int64_t start = layout.pIndex[nLine / ROW_BLOCK];
    for (std::uint32_t i = nLine - nLine % ROW_BLOCK; i < nLine; ++i) {
        start += m_pLines[i].nRows[nSlot];
    }
    return start;
}

std::uint32_t CTAVODoc::LineAtOffset(std::uint32_t nOffset) const {
    const LineInfo* const after = std::upper_bound(
        m_pLines + 1, m_pLines + m_nLines, nOffset,
        [](std::uint32_t offset, const LineInfo& line) { return offset < line.nOffset; });
    return std::uint32_t(after - m_pLines) - 1;
}

LineCheckpoint* CTAVODoc::FirstCheckpointFrom(std::uint32_t nOffset) const {
    return std::lower_bound(m_pCheckpoints, m_pCheckpoints + m_nCheckpoints, nOffset,
                            [](const LineCheckpoint& checkpoint, std::uint32_t offset) {
                                return checkpoint.nOffset < offset;
                            });
}

LineCheckpoints CTAVODoc::CheckpointsOf(std::uint32_t nLine, int nSlot) const {
    LineCheckpoints found;
    if (nLine >= m_nLines) {
        return found;
    }
    const LineInfo& line = m_pLines[nLine];
    const std::uint64_t lineEnd = std::uint64_t(line.nOffset) + line.nLength;
    const LineCheckpoint* first = FirstCheckpointFrom(line.nOffset);
    const LineCheckpoint* last = first;
    while (last < m_pCheckpoints + m_nCheckpoints && last->nOffset < lineEnd) {
        ++last;
    }
    found.pFirst = first;
    found.nCount = std::size_t(last - first);
    found.nLineOffset = line.nOffset;
    found.nSlot = nSlot;
    found.nWrapWidth = WrapWidthOf(nSlot);
    return found;
}

std::uint64_t CTAVODoc::CountWrappedRows(const LineInfo& line, std::uint32_t nWidth, int nSlot,
                                         LineCheckpoint* pCheckpoint, LineCheckpoint* pEnd) {
    const std::uint8_t* const p = m_pData + line.nOffset;
    const std::size_t n = line.nLength;
    CharSet set = line.nStartSet;
    RowCursor cursor(nWidth);
    std::size_t i = 0;
    while (i < n) {
        const std::size_t mark = pCheckpoint < pEnd ? pCheckpoint->nOffset - line.nOffset : n;
        const std::size_t limit = std::min(n, mark);
        // Up to the next byte that is not simply a character: an ESC, or a
        // tab in a one-byte set (in a two-byte set a tab starts a pair).
        const std::size_t runStart = i;
        if (IsTwoByteSet(set)) {
            i = FindFirst<ESC>(p, i, limit, 2);
            cursor.PlacePairs((i - runStart) / 2);
        } else {
            i = FindFirst<TAB, ESC>(p, i, limit, 1);
            cursor.PlaceSingles(i - runStart);
        }
        if (i >= n) {
            break;
        }
        if (i >= mark) {
            // The split chose the checkpoint at a character's first byte, as
            // this walk meets it; one it passed would mislead and is not used.
            pCheckpoint->nRow[nSlot] = i == mark ? std::int64_t(cursor.Rows() - 1) : -1;
            pCheckpoint->nRowColumn[nSlot] = SaturatedWidth(cursor.Column());
            ++pCheckpoint;
            continue;
        }
        if (p[i] == TAB) {
            cursor.PlaceTab();
            ++i;
        } else if (const std::size_t skipped = FollowEscape(p + i, set)) {
            i += skipped;
        } else {
            cursor.PlaceSingles(1);
            ++i;
        }
    }
    return cursor.Rows();
}
