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

// Pixel positions far outside any surface stay representable.
int ClampPixels(std::int64_t value) {
    constexpr std::int64_t LIMIT = std::int64_t(1) << 30;
    return int(std::clamp(value, -LIMIT, LIMIT));
}

HGDIOBJ HandleOf(const CGdiObject* object) {
    return object != nullptr ? object->GetSafeHandle() : nullptr;
}

} // namespace

CCharPainter::CCharPainter(CDC* pDC, const EnvSettings* pEnv) : m_pDC(pDC), m_pEnv(pEnv) {
    m_pOldFont = CGdiObject::FromHandle(m_pDC->GetCurrentObject(OBJ_FONT));
    for (int i = 0; i < 4; ++i) {
        m_font[i].CreatePointFontIndirect(&m_pEnv->lfFont[i], m_pDC);
        m_pDC->SelectObject(&m_font[i]);
        TEXTMETRICA tm = {};
        m_pDC->GetTextMetrics(&tm);
        m_cxCell = std::max(m_cxCell, UINT(std::max<LONG>(tm.tmAveCharWidth, 0)));
        m_cyCell = std::max(m_cyCell, UINT(std::max<LONG>(tm.tmHeight, 0)));
    }
    // Owners divide by the cell; a surface that measures nothing must not
    // make them divide by zero.
    m_cxCell = std::max(m_cxCell, 1u);
    m_cyCell = std::max(m_cyCell, 1u);

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

void CCharPainter::DrawRun(CharSet set, int nStartCol, int nRow, const BYTE* pBytes, int nLength) {
    if (nLength < 0) {
        nLength = int(std::strlen(reinterpret_cast<const char*>(pBytes)));
    }
    // 64-bit, so that no start, wrap column or gutter can make the column
    // overflow; it is below the wrap column (or INT_MAX - 4) where it is drawn.
    std::int64_t col = nStartCol;
    for (std::int64_t i = 0; i < nLength;) {
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
        // of a run below the paint rectangle, or right of it when nothing
        // wraps, can never be seen. Stopping keeps a paint of a line of
        // millions of characters as quick as any other.
        if (CellY(nRow) >= m_rcPaint.bottom ||
            (m_nWrapCol == 0 && (col > INT_MAX - 4 || CellX(col) >= m_rcPaint.right))) {
            return;
        }
        col += DrawChar(set, int(col), nRow, pBytes + i);
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
        const int width = 4 - int((std::int64_t(nCol) - m_nGutter) & 3);
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
    const int bottom = CellY(std::int64_t(nRow) + 1);
    const RECT rule = {m_rcPaint.left, bottom - 1, m_rcPaint.right, bottom};
    m_pDC->FillSolidRect(&rule, Color(ENV_CLR_CTRLBK));
}
