// The painter: every character the program shows goes through it. Built
// for one paint, printed page or cell-size query on one surface with one
// settings record; owners set its fields, draw, Restore and let it go.
#pragma once

#include "document/charset.h"
#include "document/tavodoc.h"
#include "platform/gdi/gdi.h"
#include "settings/envsettings.h"

class CCharPainter {
public:
    // Makes the four fonts for the surface, measures the cell and draws the
    // two mirror glyphs. Neither pointer is owned.
    CCharPainter(CDC* pDC, const EnvSettings* pEnv);
    CCharPainter(const CCharPainter&) = delete;
    CCharPainter& operator=(const CCharPainter&) = delete;
    ~CCharPainter();

    // The cell the settings' fonts make on a surface: as wide as the widest
    // average character and as tall as the tallest font of the four, at
    // least one pixel each way. Makes the fonts only to measure them; the
    // surface keeps the font it had.
    static SIZE MeasureCell(CDC* pDC, const EnvSettings* pEnv);

    // 0..3 a character set, 4 the line numbers.
    void SelectAttr(BYTE nAttr);
    // Gives the surfaces back their former font and bitmap; may be repeated.
    void Restore();

    // A negative length runs to the first zero byte. The bytes after the
    // run must be readable up to a zero byte.
    void DrawRun(CharSet set, int nStartCol, int nRow, const BYTE* pBytes, int nLength);
    // Returns the cells taken.
    int DrawChar(CharSet set, int nCol, int nRow, const BYTE* p);
    void DrawCells(int x, int y, const BYTE* pBytes, UINT nCount, BOOL bControl);
    void FillGutter(int nWidth);
    void DrawLineNumber(int nCol, int nRow, int nNumber);
    void DrawFormFeedRule(int nRow);

    CDC* m_pDC;
    CFont m_font[4];
    CGdiObject* m_pOldFont = nullptr;
    const EnvSettings* m_pEnv;
    CDC m_dcMirror;
    CBitmap m_bmpMirror;
    CGdiObject* m_pOldBitmap = nullptr;
    LONG m_nFirstCol = 0;
    LONG m_nFirstRow = 0;
    BYTE m_nAttr = 255;
    LONG m_nWrapCol = 0;
    LONG m_nGutter = 0;
    UINT m_cxCell = 0;
    UINT m_cyCell = 0;
    RECT m_rcPaint = {};
    BOOL m_bConvert = FALSE;
    BOOL m_bPrinting = FALSE;
    // Where the next DrawRun, when it draws a line of the document from its
    // first byte, may resume near the first cell it shows; none by default.
    LineCheckpoints m_checkpoints;
    // The characters whose first byte lies in [m_pMarkFirst, m_pMarkEnd)
    // have their cells inverted once drawn: a match or a problem found.
    const BYTE* m_pMarkFirst = nullptr;
    const BYTE* m_pMarkEnd = nullptr;

private:
    // Makes the four fonts for the surface and measures the cell they make,
    // leaving the last of them selected.
    static SIZE CreateFonts(CDC* pDC, const EnvSettings* pEnv, CFont (&fonts)[4]);

    // Where a run goes on: 64-bit columns, so that no start, wrap column
    // or gutter can make one overflow.
    struct RunState {
        CharSet set;
        std::int64_t nCol;
        int nRow;
        int nByte;
    };

    // The part of m_rcPaint that output can reach on the surface.
    RECT VisibleRect() const;
    bool IsVisible(std::int64_t nCol, int nRow, int nCells, const RECT& visible) const;
    bool IsVisibleRow(int nRow, const RECT& visible) const;
    int CellsOf(CharSet set, std::int64_t nCol, BYTE b) const;
    // Moves the run's start to the last checkpoint before the first
    // visible cell, where one applies.
    void ResumeNearVisible(RunState& state, int nStartCol, const RECT& visible) const;
    // Pixel positions of cells; 64-bit, so that a cell past the last row or
    // column still has one.
    int CellX(std::int64_t nCol) const;
    int CellY(std::int64_t nRow) const;
    bool Flag(BYTE flag) const { return (m_pEnv->bFlags & flag) != 0; }
    COLORREF Color(int index) const { return m_pEnv->crColor[index]; }
    int DrawWideChar(int x, int y, const BYTE* p);
    int DrawNarrowChar(CharSet set, int nCol, int x, int y, const BYTE* p);
    void DrawWideSpaceBox(int x, int y);
    bool IsMarked(const BYTE* p) const;
    void InvertCells(std::int64_t nCol, int nRow, int nCells);

    RECT m_rcClip = {};
    bool m_bClipKnown = false;
};
