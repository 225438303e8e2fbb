#include "render/charpainter.h"

#include <algorithm>
#include <climits>
#include <cstdint>
#include <cstdio>
#include <cstring>

namespace {

constexpr BYTE BACKSLASH = 0x5C;
constexpr BYTE TILDE = 0x7E;
constexpr BYTE TAB_MARK[] = {'>', '.', '.', '.'};
constexpr BYTE WIDE_SPACE[] = {0x81, 0x40};
constexpr size_t LINE_NUMBER_SIZE = 20;
constexpr int SCREEN_DPI = 96;

// Pixel positions far outside any surface stay representable.
int ClampPixels(std::int64_t value) {
    constexpr std::int64_t LIMIT = std::int64_t(1) << 30;
    return int(std::clamp(value, -LIMIT, LIMIT));
}

HGDIOBJ HandleOf(const CGdiObject* object) {
    return object != nullptr ? object->GetSafeHandle() : nullptr;
}

} // namespace

SIZE CCharPainter::CreateFonts(CDC* pDC, const EnvSettings* pEnv, CFont (&fonts)[4]) {
    LONG cx = 0;
    LONG cy = 0;
    for (int i = 0; i < 4; ++i) {
        fonts[i].CreatePointFontIndirect(&pEnv->lfFont[i], pDC);
        pDC->SelectObject(&fonts[i]);
        TEXTMETRICA tm = {};
        pDC->GetTextMetrics(&tm);
        cx = std::max(cx, tm.tmAveCharWidth);
        cy = std::max(cy, tm.tmHeight);
    }
    // Owners divide by the cell; a surface that measures nothing must not
    // make them divide by zero.
    return {std::max<LONG>(cx, 1), std::max<LONG>(cy, 1)};
}

SIZE CCharPainter::MeasureCell(CDC* pDC, const EnvSettings* pEnv) {
    const HGDIOBJ previous = pDC->GetCurrentObject(OBJ_FONT);
    CFont fonts[4];
    const SIZE cell = CreateFonts(pDC, pEnv, fonts);
    pDC->SelectGdiObject(previous);
    return cell;
}

CCharPainter::CCharPainter(CDC* pDC, const EnvSettings* pEnv) : m_pDC(pDC), m_pEnv(pEnv) {
    m_pOldFont = CGdiObject::FromHandle(m_pDC->GetCurrentObject(OBJ_FONT));
    const SIZE cell = CreateFonts(m_pDC, m_pEnv, m_font);
    m_cxCell = UINT(cell.cx);
    m_cyCell = UINT(cell.cy);

    m_dcMirror.CreateCompatibleDC(m_pDC);
    m_bmpMirror.CreateCompatibleBitmap(m_pDC, int(2 * m_cxCell), int(m_cyCell));
    m_pOldBitmap = m_dcMirror.SelectObject(&m_bmpMirror);
    m_dcMirror.SetBkColor(Color(ENV_CLR_TEXTBK));
    m_dcMirror.SetBkMode(OPAQUE);
    m_dcMirror.PatBlt(0, 0, int(2 * m_cxCell), int(m_cyCell), WHITENESS);
    m_dcMirror.SelectObject(&m_font[CHARSET_ASCII]);
    m_dcMirror.SetTextColor(Color(ENV_CLR_ASCII));
    m_dcMirror.TextOut(0, 0, "/", 1);
    m_dcMirror.SelectObject(&m_font[CHARSET_JISROMAN]);
    m_dcMirror.SetTextColor(Color(ENV_CLR_JISROMAN));
    m_dcMirror.TextOut(int(m_cxCell), 0, "_", 1);

    SelectAttr(CHARSET_ASCII);
    m_bClipKnown = m_pDC->GetClipBox(&m_rcClip) != ERROR;
}

CCharPainter::~CCharPainter() {
    m_bmpMirror.DeleteObject();
    m_dcMirror.DeleteDC();
    for (int i = 3; i >= 0; --i) {
        m_font[i].DeleteObject();
    }
}

void CCharPainter::SelectAttr(BYTE nAttr) {
    if (nAttr == m_nAttr) {
        return;
    }
    if ((nAttr & 15) != (m_nAttr & 15)) {
        m_pDC->SelectObject(&m_font[nAttr < 4 ? nAttr : CHARSET_ASCII]);
        m_pDC->SetTextColor(Color(nAttr & 15));
    }
    m_nAttr = nAttr;
}

void CCharPainter::Restore() {
    m_pDC->SelectGdiObject(HandleOf(m_pOldFont));
    m_dcMirror.SelectGdiObject(HandleOf(m_pOldBitmap));
}

int CCharPainter::CellX(std::int64_t nCol) const {
    return ClampPixels((nCol - m_nFirstCol) * m_cxCell + m_rcPaint.left);
}

int CCharPainter::CellY(std::int64_t nRow) const {
    return ClampPixels((nRow - m_nFirstRow) * m_cyCell + m_rcPaint.top);
}

RECT CCharPainter::VisibleRect() const {
    RECT visible = m_rcPaint;
    if (m_bClipKnown) {
        visible.left = std::max(visible.left, m_rcClip.left);
        visible.top = std::max(visible.top, m_rcClip.top);
        visible.right = std::min(visible.right, m_rcClip.right);
        visible.bottom = std::min(visible.bottom, m_rcClip.bottom);
    }
    return visible;
}

bool CCharPainter::IsVisible(std::int64_t nCol, int nRow, int nCells, const RECT& visible) const {
    const int x = CellX(nCol);
    const int y = CellY(nRow);
    return std::int64_t(x) + std::int64_t(nCells) * m_cxCell > visible.left && x < visible.right &&
           y + std::int64_t(m_cyCell) > visible.top && y < visible.bottom;
}

bool CCharPainter::IsVisibleRow(int nRow, const RECT& visible) const {
    const int y = CellY(nRow);
    return y + std::int64_t(m_cyCell) > visible.top && y < visible.bottom;
}

// The cells DrawChar takes for a character, without drawing it.
int CCharPainter::CellsOf(CharSet set, std::int64_t nCol, BYTE b) const {
    if (IsTwoByteSet(set)) {
        return 2;
    }
    return b == TAB ? 4 - int((nCol - m_nGutter) & 3) : 1;
}

void CCharPainter::ResumeNearVisible(RunState& state, int nStartCol, const RECT& visible) const {
    const LineCheckpoints& found = m_checkpoints;
    // Tab stops count from the gutter: checkpoints hold where the run starts
    // on a stop, as the document's lines do.
    if (found.nCount == 0 || ((std::int64_t(nStartCol) - m_nGutter) & 3) != 0) {
        return;
    }
    const LineCheckpoint* const first = found.pFirst;
    const LineCheckpoint* const last = first + found.nCount;
    const LineCheckpoint* resume = nullptr;
    std::int64_t row = 0;
    std::int64_t col = 0;
    if (m_nWrapCol == 0) {
        // The last checkpoint at or left of the first visible column.
        const std::int64_t target =
            m_nFirstCol + (visible.left - m_rcPaint.left) / std::int64_t(m_cxCell);
        const auto after = std::upper_bound(first, last, target - nStartCol,
                                            [](std::int64_t column, const LineCheckpoint& c) {
                                                return column < std::int64_t(c.nColumn);
                                            });
        if (after == first) {
            return;
        }
        resume = after - 1;
        col = std::int64_t(resume->nColumn);
    } else {
        if (std::int64_t(found.nWrapWidth) != std::int64_t(m_nWrapCol) - nStartCol) {
            return; // counted for another width
        }
        // The last checkpoint in a row above the first visible one.
        const std::int64_t target =
            m_nFirstRow + (visible.top - m_rcPaint.top) / std::int64_t(m_cyCell);
        const int slot = found.nSlot;
        const auto after = std::lower_bound(
            first, last, target - state.nRow,
            [slot](const LineCheckpoint& c, std::int64_t rows) { return c.nRow[slot] < rows; });
        if (after == first || (after - 1)->nRow[slot] < 0) {
            return;
        }
        resume = after - 1;
        row = resume->nRow[slot];
        col = resume->nRowColumn[slot];
    }
    state.set = resume->nSet;
    state.nByte = int(resume->nOffset - found.nLineOffset);
    state.nCol = nStartCol + col;
    state.nRow = int(state.nRow + row);
}

void CCharPainter::DrawRun(CharSet set, int nStartCol, int nRow, const BYTE* pBytes, int nLength) {
    if (nLength < 0) {
        nLength = int(std::strlen(reinterpret_cast<const char*>(pBytes)));
    }
    const RECT visible = VisibleRect();
    RunState run = {set, nStartCol, nRow, 0};
    ResumeNearVisible(run, nStartCol, visible);
    set = run.set;
    std::int64_t col = run.nCol;
    nRow = run.nRow;
    for (std::int64_t i = run.nByte; i < nLength;) {
        if (pBytes[i] == ESC) {
            if (const int skipped = FollowEscape(pBytes + i, set)) {
                i += skipped;
                continue;
            }
        }
        const bool twoByte = IsTwoByteSet(set);
        if (m_nWrapCol != 0 && col >= std::int64_t(m_nWrapCol) - (twoByte ? 1 : 0)) {
            if (nRow == INT_MAX) {
                return;
            }
            col = nStartCol;
            ++nRow;
        }
        // Rows only grow, and without wrapping columns only grow: the rest
        // of a run below what is visible, or right of it when nothing
        // wraps, can never be seen.
        if (CellY(nRow) >= visible.bottom ||
            (m_nWrapCol == 0 && (col > INT_MAX - 4 || CellX(col) >= visible.right))) {
            return;
        }
        // Nothing is drawn for a cell in a row that cannot be seen, nor
        // beside what is seen when the run wraps; the run still moves on
        // by the cells the character takes. Left of it an unwrapped run is
        // drawn and clipped, unless a checkpoint let it start further on.
        // Where it is drawn the column is below the wrap column, or below
        // INT_MAX - 4.
        const int cells = CellsOf(set, col, pBytes[i]);
        if (m_nWrapCol == 0 ? IsVisibleRow(nRow, visible) : IsVisible(col, nRow, cells, visible)) {
            DrawChar(set, int(col), nRow, pBytes + i);
            if (IsMarked(pBytes + i)) {
                InvertCells(col, nRow, cells);
            }
        }
        col += cells;
        i += twoByte ? 2 : 1;
    }
}

int CCharPainter::DrawChar(CharSet set, int nCol, int nRow, const BYTE* p) {
    const int x = CellX(nCol);
    const int y = CellY(nRow);
    SelectAttr(set);
    if (IsTwoByteSet(set)) {
        return DrawWideChar(x, y, p);
    }
    return DrawNarrowChar(set, nCol, x, y, p);
}

int CCharPainter::DrawWideChar(int x, int y, const BYTE* p) {
    BYTE buffer[2];
    std::memmove(buffer, p, 2);
    if (m_bConvert && !JisToSjis(buffer)) {
        DrawCells(x, y, buffer, 2, TRUE);
        return 2;
    }
    if (Flag(ENV_MARK_WIDE_SPACE) && !m_bPrinting && std::memcmp(buffer, WIDE_SPACE, 2) == 0) {
        DrawWideSpaceBox(x, y);
        return 2;
    }
    DrawCells(x, y, buffer, 2, FALSE);
    return 2;
}

void CCharPainter::DrawWideSpaceBox(int x, int y) {
    RECT box = {x, y, x + int(2 * m_cxCell), y + int(m_cyCell)};
    m_pDC->FillSolidRect(&box, Color(ENV_CLR_TEXTBK));
    InflateRect(&box, -1, -1);
    m_pDC->FrameRect(&box, CDC::GetHalftoneBrush());
}

int CCharPainter::DrawNarrowChar(CharSet set, int nCol, int x, int y, const BYTE* p) {
    const BYTE b = p[0];
    const bool showControls = Flag(ENV_SHOW_CONTROLS) && !m_bPrinting;
    const int cx = int(m_cxCell);
    const int cy = int(m_cyCell);
    if (b == TAB) {
        const int width = CellsOf(set, nCol, b);
        if (showControls) {
            DrawCells(x, y, TAB_MARK, UINT(width), TRUE);
        }
        return width;
    }
    if (b == BACKSLASH && set == CHARSET_ASCII && Flag(ENV_FIX_BACKSLASH)) {
        m_pDC->StretchBlt(x + cx - 1, y, -cx, cy, &m_dcMirror, 0, 0, cx, cy, SRCCOPY);
        return 1;
    }
    if (b == TILDE && set == CHARSET_JISROMAN && Flag(ENV_FIX_TILDE)) {
        m_pDC->StretchBlt(x, y + cy - 1, cx, -cy, &m_dcMirror, cx, 0, cx, cy, SRCCOPY);
        return 1;
    }
    if (b >= 0x20) {
        DrawCells(x, y, p, 1, FALSE);
        return 1;
    }
    if (showControls) {
        const BYTE letter = BYTE(b + 0x40);
        DrawCells(x, y, &letter, 1, TRUE);
    }
    return 1;
}

bool CCharPainter::IsMarked(const BYTE* p) const {
    return m_pMarkEnd != nullptr && p >= m_pMarkFirst && p < m_pMarkEnd;
}

// Inverted within the paint rectangle, as the text is clipped to it.
void CCharPainter::InvertCells(std::int64_t nCol, int nRow, int nCells) {
    const RECT cells = {CellX(nCol), CellY(nRow), CellX(nCol + nCells),
                        CellY(std::int64_t(nRow) + 1)};
    const RECT inside = {std::max(cells.left, m_rcPaint.left), std::max(cells.top, m_rcPaint.top),
                         std::min(cells.right, m_rcPaint.right),
                         std::min(cells.bottom, m_rcPaint.bottom)};
    if (inside.left < inside.right && inside.top < inside.bottom) {
        m_pDC->PatBlt(inside.left, inside.top, inside.right - inside.left,
                      inside.bottom - inside.top, DSTINVERT);
    }
}

void CCharPainter::DrawCells(int x, int y, const BYTE* pBytes, UINT nCount, BOOL bControl) {
    m_pDC->SetBkColor(Color(bControl ? ENV_CLR_CTRLBK : ENV_CLR_TEXTBK));
    m_pDC->ExtTextOut(x, y, ETO_CLIPPED, &m_rcPaint, reinterpret_cast<const char*>(pBytes), nCount,
                      nullptr);
}

void CCharPainter::FillGutter(int nWidth) {
    m_nGutter = nWidth;
    RECT gutter = m_rcPaint;
    gutter.right = ClampPixels(m_rcPaint.left + std::int64_t(nWidth) * m_cxCell);
    if (!m_bPrinting) {
        m_pDC->FillSolidRect(&gutter, Color(ENV_CLR_LINENOBK));
    }
}

void CCharPainter::DrawLineNumber(int nCol, int nRow, int nNumber) {
    if (!IsVisible(nCol, nRow, m_nGutter, VisibleRect())) {
        return;
    }
    char text[LINE_NUMBER_SIZE];
    // Padding that pushes any number past the buffer gives the same text as
    // any more, which for a gutter of millions of cells takes seconds.
    const auto padding =
        int(std::clamp<std::int64_t>(std::int64_t(m_nGutter) - 1, 0, 2 * LINE_NUMBER_SIZE));
    const int written = std::snprintf(text, sizeof text, "%*d:", padding, nNumber);
    const int stored = std::clamp(written, 0, int(sizeof text) - 1);
    const int count = std::clamp<int>(m_nGutter, 0, stored);
    SelectAttr(CHARSET_LINENO);
    m_pDC->SetBkColor(Color(ENV_CLR_LINENOBK));
    m_pDC->ExtTextOut(CellX(nCol), CellY(nRow), ETO_CLIPPED, &m_rcPaint, text, UINT(count),
                      nullptr);
}

void CCharPainter::DrawFormFeedRule(int nRow) {
    // A pixel of a screen, also on a printer whose units are far finer.
    const int thickness = std::max(1, m_pDC->GetDeviceCaps(LOGPIXELSY) / SCREEN_DPI);
    const int bottom = CellY(std::int64_t(nRow) + 1);
    const RECT rule = {m_rcPaint.left, bottom - thickness, m_rcPaint.right, bottom};
    m_pDC->FillSolidRect(&rule, Color(ENV_CLR_CTRLBK));
}
