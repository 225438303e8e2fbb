#include "linewalker.h"

#include <algorithm>

WalkStart StartBefore(const CTAVODoc& doc, std::uint32_t nOffset) {
    const std::uint32_t line = doc.LineAtOffset(nOffset);
    const LineInfo& info = doc.m_pLines[line];
    WalkStart start = {line, info.nOffset, info.nStartSet};
    const LineCheckpoints checkpoints = doc.CheckpointsOf(line, LAYOUT_SCREEN);
    const LineCheckpoint* const end = checkpoints.pFirst + checkpoints.nCount;
    const LineCheckpoint* const after = std::upper_bound(
        checkpoints.pFirst, end, nOffset,
        [](std::uint32_t offset, const LineCheckpoint& c) { return offset < c.nOffset; });
    if (after != checkpoints.pFirst) {
        start.nOffset = (after - 1)->nOffset;
        start.set = (after - 1)->nSet;
    }
    return start;
}

LineWalker::LineWalker(const CTAVODoc& doc, std::uint32_t nLine, int nSlot)
    : m_doc(doc), m_checkpoints(doc.CheckpointsOf(nLine, nSlot)), m_nWidth(doc.WrapWidthOf(nSlot)),
      m_nPos(doc.m_pLines[nLine].nOffset),
      m_nEnd(std::size_t(doc.m_pLines[nLine].nOffset) + doc.m_pLines[nLine].nLength),
      m_set(doc.m_pLines[nLine].nStartSet) {}

void LineWalker::ResumeAt(const LineCheckpoint& checkpoint) {
    if (checkpoint.nOffset <= m_nPos) {
        return;
    }
    const int slot = m_checkpoints.nSlot;
    m_nPos = checkpoint.nOffset;
    m_set = checkpoint.nSet;
    m_nLineColumn = checkpoint.nColumn;
    m_nRow = m_nWidth == 0 ? 0 : checkpoint.nRow[slot];
    m_nColumn = m_nWidth == 0 ? checkpoint.nColumn : checkpoint.nRowColumn[slot];
}

void LineWalker::SeekOffset(std::uint32_t nOffset) {
    const int slot = m_checkpoints.nSlot;
    for (std::size_t i = m_checkpoints.nCount; i-- > 0;) {
        const LineCheckpoint& c = m_checkpoints.pFirst[i];
        // A checkpoint the row count passed over holds no row.
        if (c.nOffset <= nOffset && (m_nWidth == 0 || c.nRow[slot] >= 0)) {
            ResumeAt(c);
            return;
        }
    }
}

void LineWalker::SeekCell(std::int64_t nRow, std::uint64_t nColumn) {
    const int slot = m_checkpoints.nSlot;
    for (std::size_t i = m_checkpoints.nCount; i-- > 0;) {
        const LineCheckpoint& c = m_checkpoints.pFirst[i];
        const bool before =
            m_nWidth == 0
                ? c.nColumn <= nColumn
                : c.nRow[slot] >= 0 && (c.nRow[slot] < nRow ||
                                        (c.nRow[slot] == nRow && c.nRowColumn[slot] <= nColumn));
        if (before) {
            ResumeAt(c);
            return;
        }
    }
}

bool LineWalker::Next(CharCell& cell) {
    const std::uint8_t* const p = m_doc.m_pData;
    if (!SkipDesignations(p, m_nPos, m_nEnd, m_set)) {
        return false;
    }
    const bool pair = IsTwoByteSet(m_set);
    // A character that no longer fits opens a row: a pair needs two cells.
    if (m_nWidth != 0 && m_nColumn + (pair ? 1 : 0) >= m_nWidth) {
        ++m_nRow;
        m_nColumn = 0;
    }
    const bool tab = !pair && p[m_nPos] == TAB;
    cell.nOffset = std::uint32_t(m_nPos);
    cell.nBytes = pair ? 2 : 1;
    cell.set = m_set;
    cell.nRow = m_nRow;
    cell.nColumn = m_nColumn;
    cell.nLineColumn = m_nLineColumn;
    cell.nCells = pair ? 2 : tab ? 4 - int(m_nColumn & 3) : 1;
    m_nColumn += std::uint64_t(cell.nCells);
    m_nLineColumn = tab ? (m_nLineColumn & ~std::uint64_t(3)) + 4 : m_nLineColumn + (pair ? 2 : 1);
    m_nPos += cell.nBytes;
    return true;
}
