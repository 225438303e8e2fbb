// The document: one text file held whole in a private heap, its line table
// and the row layout of each line for the screen and the printer.
#pragma once

#include "charset.h"
#include "platform/core/document.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

constexpr int LAYOUT_SCREEN = 0;
constexpr int LAYOUT_PRINT = 1;

struct LineInfo {
    std::uint32_t nOffset; // first byte, from the start of the text
    std::uint32_t nLength; // bytes, the LF or FF terminator included
    std::uint32_t nWidth;  // cells, the terminator not counted
    std::int32_t nRows[2]; // rows per layout slot
    CharSet nStartSet;     // set in force where the line begins
    // The split met a tab where a two-byte character could start. It moves
    // the column to the next tab stop there, while the rows and the drawing
    // take the tab as the first byte of a pair, so the width then tells
    // nothing about the rows the line takes.
    std::uint8_t bTabInPair;
};
static_assert(sizeof(LineInfo) == 24, "the flag lives in the record's padding");

// A place inside a long line where walking it can resume with the state it
// would have reached from the line's start.
struct LineCheckpoint {
    std::uint32_t nOffset; // from the start of the text, a character's first byte
    CharSet nSet;          // in force there
    std::uint64_t nColumn; // cells from the line's start, unwrapped
    // Per layout slot that wraps: the row from the line's first row, and
    // the column within that row.
    std::int64_t nRow[2];
    std::uint32_t nRowColumn[2];
};

// The checkpoints of one line for one layout slot.
struct LineCheckpoints {
    const LineCheckpoint* pFirst = nullptr;
    std::size_t nCount = 0;
    std::uint32_t nLineOffset = 0; // the line's first byte
    int nSlot = 0;
    // The row width the slot's rows were counted for; 0 when it does not
    // wrap, and then only the unwrapped columns hold.
    std::uint32_t nWrapWidth = 0;
};

class CTAVODoc : public CDocument {
public:
    // Why the last load left the document empty.
    enum class LoadFailure {
        none,
        tooLarge,    // 4 GiB or more, or more lines than can be counted
        outOfMemory, // the heap, the text or the line table
        readFault,   // fewer bytes could be read than the file holds
    };

    // Lines of at least this many bytes keep a checkpoint about this often.
    static constexpr std::uint32_t CHECKPOINT_SPACING = 4096;

    CTAVODoc() = default;
    ~CTAVODoc() override;

    // Loads into a new heap and only then lets the previous file go, so
    // that a cancelled load leaves the document as it was.
    void Serialize(CArchive& ar) override;
    // Empties the document; the base's OnNewDocument calls it, so a new
    // document never shows the previous file.
    void DeleteContents() override;

    // When pProgress wants a first screen, offers one as soon as the first
    // piece is read.
    bool LoadText(CFile* pFile, CProgressSink* pProgress = nullptr);
    // A document of the whole lines among the first bytes read of a file
    // of nFileLength bytes, which hold nTerminatorsRead line ends; when
    // they hold no whole line, of the whole characters of the first one,
    // cut. Null when they hold neither.
    static std::unique_ptr<CTAVODoc> FirstScreenOf(const std::uint8_t* pText, std::uint32_t nRead,
                                                   std::uint64_t nTerminatorsRead,
                                                   std::uint32_t nFileLength);
    // A layout slot's rows for a width; recounting at the width of the
    // slot's last count finds the same rows and returns at once.
    bool CountRows(std::uint32_t nWidth, int nSlot);
    // The line that takes row nRow of a slot's layout, and the row it starts
    // in; m_nLines and the total when the row lies below the last line.
    std::uint32_t LineAtRow(std::int64_t nRow, int nSlot, std::int64_t* pStartRow) const;
    // The row of a slot's layout that line nLine starts in.
    std::int64_t StartRowOfLine(std::uint32_t nLine, int nSlot) const;
    LineCheckpoints CheckpointsOf(std::uint32_t nLine, int nSlot) const;
    // The line that holds the byte at nOffset; the last line for the end
    // of the text. Needs a line.
    std::uint32_t LineAtOffset(std::uint32_t nOffset) const;
    // The row width a slot's rows were last counted for; 0 when it does
    // not wrap.
    std::uint32_t WrapWidthOf(int nSlot) const {
        return m_layout[nSlot].bCounted ? m_layout[nSlot].nWidth : 0;
    }

    LoadFailure GetLoadFailure() const { return m_loadFailure; }

    HANDLE m_hHeap = nullptr;
    std::uint32_t m_nMaxWidth = 0;
    std::uint8_t* m_pData = nullptr;
    std::uint32_t m_nLength = 0;
    LineInfo* m_pLines = nullptr;
    std::uint32_t m_nLines = 0;
    std::int32_t m_nDigits = 0;
    std::uint32_t m_nLayoutWidth[2] = {0, 0};
    std::int32_t m_nTotalRows[2] = {0, 0};

private:
    // What a slot's last count found, beyond the rows of each line.
    struct SlotLayout {
        bool bCounted = false;     // the rows were counted for nWidth
        std::uint32_t nWidth = 0;  // 0: unwrapped
        bool bSingleRows = true;   // every line takes one row
        std::int64_t nRows = 0;    // the total, not saturated
        std::int64_t* pIndex = {}; // the row of every ROW_BLOCK-th line
    };

    // Where a line starts, as the split meets it.
    struct LineStart {
        std::size_t nOffset = 0;
        std::uint32_t nLine = 0;
        CharSet set = CHARSET_ASCII;
        std::uint32_t nCheckpoints = 0; // where the line's checkpoints go
    };
    // What the split of a stretch of the text found.
    struct SplitResult {
        LineStart open; // the line open at the stretch's end
        std::uint32_t nMaxWidth = 0;
        bool bAnyTabInPair = false;
        bool bCancelled = false;
    };

    void Empty();
    // Forgets the lines from nLines on, which must have been split.
    void KeepLines(std::uint32_t nLines);
    // Of a document of one line, keeps the characters that end at or
    // before nLimit; false when none does.
    bool KeepWholeCharacters(std::uint32_t nLimit);
    // Forgets the checkpoints at or past the end of the text.
    void DropCheckpointsFromEnd();
    void TakeContents(CTAVODoc& other);
    bool AllocateTable(std::uint64_t capacity);
    bool FindMiddle(const std::vector<std::uint64_t>& before, LineStart* pMiddle) const;
    void SplitLines(CProgressSink* pProgress, const LineStart* pMiddle);
    // Splits from a line start up to end; only the last stretch closes the
    // line open at its end.
    SplitResult SplitStretch(const LineStart& start, std::size_t end, bool last,
                             CProgressSink* pProgress, bool report);
    bool FitsOneRow(const LineInfo& line, std::uint32_t nWidth) const;
    void CountEveryLine(std::uint32_t nWidth, int nSlot);
    std::int64_t CountLines(std::uint32_t first, std::uint32_t last, std::uint32_t nWidth,
                            int nSlot);
    std::uint64_t CountWrappedRows(const LineInfo& line, std::uint32_t nWidth, int nSlot,
                                   LineCheckpoint* pCheckpoint, LineCheckpoint* pEnd);
    LineCheckpoint* FirstCheckpointFrom(std::uint32_t nOffset) const;

    LoadFailure m_loadFailure = LoadFailure::none;
    SlotLayout m_layout[2];
    bool m_bAnyTabInPair = false;
    LineCheckpoint* m_pCheckpoints = nullptr;
    std::uint32_t m_nCheckpoints = 0;
};
