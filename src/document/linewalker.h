// Walking the document's lines character by character as the drawing
// meets them: escapes by FollowEscape, pairs in the two-byte sets, tab
// stops and rows by the cell rules of the drawing, started near where the
// walk is wanted from the line's start or one of its checkpoints.
#pragma once

#include "tavodoc.h"

#include <cstddef>
#include <cstdint>

// A place where a walk of the text can begin: a character's first byte (or
// a designation before it), the set in force there and the line it lies in.
struct WalkStart {
    std::uint32_t nLine;
    std::uint32_t nOffset;
    CharSet set;
};

// The latest place at or before nOffset where a walk can begin: the start
// of its line or a checkpoint in that line. The document needs a line.
WalkStart StartBefore(const CTAVODoc& doc, std::uint32_t nOffset);

// Walks the text before limit backwards, in stretches of about a megabyte,
// the last first, each from a place where a walk can begin: calls
// scan(start, stretchEnd) for each until one returns true, and returns
// whether one did.
template <class ScanStretch>
bool ScanStretchesBackward(const CTAVODoc& doc, std::uint64_t limit, ScanStretch scan) {
    constexpr std::uint64_t STRETCH = 1u << 20;
    while (limit > 0) {
        const WalkStart start =
            StartBefore(doc, std::uint32_t(limit > STRETCH ? limit - STRETCH : 0));
        if (scan(start, limit)) {
            return true;
        }
        limit = start.nOffset;
    }
    return false;
}

// One character where the drawing places it.
struct CharCell {
    std::uint32_t nOffset; // its first byte
    std::uint8_t nBytes;   // 2 in a two-byte set, else 1
    CharSet set;
    std::int64_t nRow;         // from the line's first row
    std::uint64_t nColumn;     // text cell in that row, from 0 (the gutter not counted)
    std::uint64_t nLineColumn; // text cell as if the line were not wrapped
    int nCells;                // 2 for a pair, a tab's 1..4, else 1
};

// Places the characters of one line in the rows of a layout slot, wrapped
// at the width the slot was counted for. A pair may take the byte after
// the line's last one, as the drawing does.
class LineWalker {
public:
    LineWalker(const CTAVODoc& doc, std::uint32_t nLine, int nSlot);

    // Moves on to the last checkpoint at or before the character at
    // nOffset, or to the cell (nRow, nColumn), when the walk has not come
    // that far yet.
    void SeekOffset(std::uint32_t nOffset);
    void SeekCell(std::int64_t nRow, std::uint64_t nColumn);

    // The next character; false at the line's end.
    bool Next(CharCell& cell);

    // Where the next character would go, before its row is tested.
    std::int64_t Row() const { return m_nRow; }
    std::uint64_t Column() const { return m_nColumn; }
    std::uint64_t LineColumn() const { return m_nLineColumn; }

private:
    void ResumeAt(const LineCheckpoint& checkpoint);

    const CTAVODoc& m_doc;
    LineCheckpoints m_checkpoints;
    std::uint32_t m_nWidth; // 0: not wrapped
    std::size_t m_nPos;
    std::size_t m_nEnd;
    CharSet m_set;
    std::int64_t m_nRow = 0;
    std::uint64_t m_nColumn = 0;
    std::uint64_t m_nLineColumn = 0;
};
