// The document: one text file held whole in a private heap, its line table
// and the row layout of each line for the screen and the printer.
#pragma once

#include "charset.h"
#include "platform/core/document.h"

#include <cstdint>

constexpr int LAYOUT_SCREEN = 0;
constexpr int LAYOUT_PRINT = 1;

struct LineInfo {
    std::uint32_t nOffset; // first byte, from the start of the text
    std::uint32_t nLength; // bytes, the LF or FF terminator included
    std::uint32_t nWidth;  // cells, the terminator not counted
    std::int32_t nRows[2]; // rows per layout slot
    CharSet nStartSet;     // set in force where the line begins
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

    CTAVODoc() = default;
    ~CTAVODoc() override;

    void Serialize(CArchive& ar) override;
    // Empties the document; the base's OnNewDocument calls it, so a new
    // document never shows the previous file.
    void DeleteContents() override;

    bool LoadText(CFile* pFile);
    bool CountRows(std::uint32_t nWidth, int nSlot);
    // The line that takes row nRow of a slot's layout, and the row it starts
    // in; m_nLines and the total when the row lies below the last line.
    std::uint32_t LineAtRow(std::int64_t nRow, int nSlot, std::int64_t* pStartRow) const;
    // The row of a slot's layout that line nLine starts in.
    std::int64_t StartRowOfLine(std::uint32_t nLine, int nSlot) const;

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
    void Empty();
    void SplitLines();
    std::uint64_t CountWrappedRows(const LineInfo& line, std::uint32_t nWidth) const;

    LoadFailure m_loadFailure = LoadFailure::none;
};
