#include "tavoview.h"

#include "document/linewalker.h"
#include "envdialog/envdialog.h"
#include "platform/ui/scrollstep.h"
#include "render/charpainter.h"
#include "resources/resource.h"
#include "view/cellinfo.h"
#include "view/gotolinedlg.h"
#include "view/jiscodes.h"
#include "view/selection.h"

#include <algorithm>
#include <climits>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <iterator>

namespace {

constexpr int ROWS_PER_NOTCH = 3;

} // namespace

CTAVOView::CTAVOView(EnvStore* pStore) : m_pStore(pStore), m_pEnv(&pStore->m_env) {
    MapCommand(ID_ENV_SETTINGS, [this] { OnEnvSettings(); });
    MapCommand(ID_EDIT_COPY, [this] { OnEditCopy(); });
    MapUpdateCommandUI(ID_EDIT_COPY, [this](CCmdUI* pCmdUI) { pCmdUI->Enable(HasSelection()); });
    MapCommand(ID_FILE_PRINT, [this] { OnFilePrint(); });
    MapCommand(ID_FILE_PRINT_DIRECT, [this] { OnFilePrint(); });
    MapCommand(ID_FILE_PRINT_PREVIEW, [this] { OnFilePrintPreview(); });
    MapCommand(ID_EDIT_GOTO_LINE, [this] { OnGotoLine(); });
    MapCommand(ID_VIEW_NEXT_PROBLEM, [this] { OnNextProblem(TRUE); });
    MapCommand(ID_VIEW_PREV_PROBLEM, [this] { OnNextProblem(FALSE); });
    // Printing from the command line goes on without text, to say there is
    // nothing to print; in the window there is nothing to ask for.
    for (UINT id : {ID_FILE_PRINT, ID_FILE_PRINT_PREVIEW, ID_EDIT_GOTO_LINE, ID_VIEW_NEXT_PROBLEM,
                    ID_VIEW_PREV_PROBLEM}) {
        MapUpdateCommandUI(id, [this](CCmdUI* pCmdUI) { pCmdUI->Enable(HasText()); });
    }
}

BOOL CTAVOView::HasText() const {
    return GetDocument()->m_pData != nullptr;
}

CTAVODoc* CTAVOView::GetDocument() const {
    return static_cast<CTAVODoc*>(CView::GetDocument());
}

CellGrid CTAVOView::GridOf(SIZE cell) const {
    return CellGrid(cell, *m_pEnv, GetDocument()->m_nDigits);
}

CellGrid CTAVOView::ScreenGrid() {
    // Before the window exists there is no surface to measure on.
    if (GetSafeHwnd() != nullptr &&
        (m_screenCell.cx == 0 ||
         std::memcmp(m_measuredFonts, m_pEnv->lfFont, sizeof m_measuredFonts) != 0)) {
        CClientDC dc(this);
        m_screenCell = CCharPainter::MeasureCell(&dc, m_pEnv);
        std::memcpy(m_measuredFonts, m_pEnv->lfFont, sizeof m_measuredFonts);
    }
    return GridOf(m_screenCell);
}

void CTAVOView::OnDraw(CDC* pDC) {
    const CTAVODoc* pDoc = GetDocument();
    if (pDoc->m_pData == nullptr) {
        return;
    }
    CCharPainter painter(pDC, m_pEnv);
    const CellGrid grid = GridOf({LONG(painter.m_cxCell), LONG(painter.m_cyCell)});
    GetClientRect(&painter.m_rcPaint);
    const LONG width = painter.m_rcPaint.right;
    const LONG height = painter.m_rcPaint.bottom;
    pDC->FillSolidRect(&painter.m_rcPaint, m_pEnv->crColor[ENV_CLR_GROUND]);
    painter.m_bConvert = 1;
    painter.m_nFirstCol = GetScrollPos(SB_HORZ);
    const int first = GetScrollPos(SB_VERT);
    painter.m_nFirstRow = first;
    painter.m_nWrapCol = grid.ScreenWrapColumn(m_pEnv->wWrap, width);
    if (m_mark.bSet) {
        painter.m_pMarkFirst = pDoc->m_pData + m_mark.nOffset;
        painter.m_pMarkEnd = painter.m_pMarkFirst + m_mark.nLength;
    }
    // Near the end of a layout of INT_MAX rows the window reaches past it.
    const int last =
        int(std::min<std::int64_t>(std::int64_t(first) + grid.RowsIn(height), INT_MAX));
    DrawRows(painter, grid, first, last, LAYOUT_SCREEN);
    painter.Restore();
}

void CTAVOView::DrawRows(CCharPainter& painter, const CellGrid& grid, int first, int last,
                         int slot) {
    const CTAVODoc* pDoc = GetDocument();
    if (pDoc->m_pData == nullptr) {
        return;
    }
    const int gutter = grid.GutterColumns();
    if (gutter > 0) {
        painter.FillGutter(gutter);
    }
    std::int64_t start = 0;
    for (std::uint32_t line = pDoc->LineAtRow(first, slot, &start);
         line < pDoc->m_nLines && start <= last; ++line) {
        const LineInfo& info = pDoc->m_pLines[line];
        const std::int64_t end = start + info.nRows[slot];
        const std::uint8_t* bytes = pDoc->m_pData + info.nOffset;
        if (gutter > 0) {
            painter.DrawLineNumber(0, int(start), int(line + 1));
        }
        // A negative length would mean "up to a zero byte".
        const int length = int(std::min<std::uint32_t>(info.nLength, INT_MAX));
        // Far into a long line the run resumes near what is visible.
        if (info.nLength >= CTAVODoc::CHECKPOINT_SPACING) {
            painter.m_checkpoints = pDoc->CheckpointsOf(line, slot);
        }
        painter.DrawRun(info.nStartSet, gutter, int(start), bytes, length);
        painter.m_checkpoints = {};
        if (info.nLength > 0 && bytes[info.nLength - 1] == FF) {
            painter.DrawFormFeedRule(int(end - 1));
        }
        start = end;
    }
}

void CTAVOView::RecalcScreenLayout() {
    const CellGrid grid = ScreenGrid();
    RECT client = {};
    if (DecodeWrap(m_pEnv->wWrap).mode == WrapMode::windowWidth && GetSafeHwnd() != nullptr) {
        GetClientRect(&client);
        // A document with more lines than the window has rows will show the
        // vertical bar: laying out for the width left beside it spares a
        // second layout when the bar appears.
        const std::uint32_t lines = GetDocument()->m_nLines;
        if ((GetStyle() & WS_VSCROLL) == 0 && lines > 0 &&
            lines >= std::uint32_t(grid.RowsIn(client.bottom))) {
            client.right = std::max(0, int(client.right) - GetSystemMetrics(SM_CXVSCROLL));
        }
    }
    GetDocument()->CountRows(grid.TextWidth(grid.ScreenWrapColumn(m_pEnv->wWrap, client.right)),
                             LAYOUT_SCREEN);
}

void CTAVOView::UpdateScrollRanges() {
    const CellGrid grid = ScreenGrid();
    RECT client;
    GetClientRect(&client);
    const CTAVODoc* pDoc = GetDocument();

    SCROLLINFO vert{};
    vert.cbSize = sizeof vert;
    vert.fMask = SIF_RANGE | SIF_PAGE;
    vert.nMax = pDoc->m_nTotalRows[LAYOUT_SCREEN];
    vert.nPage = UINT(grid.RowsIn(client.bottom));
    SetScrollInfo(SB_VERT, &vert, TRUE);

    // Showing or hiding the vertical bar has changed the client's width.
    GetClientRect(&client);
    SCROLLINFO horz{};
    horz.cbSize = sizeof horz;
    horz.fMask = SIF_RANGE | SIF_PAGE;
    horz.nMax = grid.LastScrollColumn(pDoc->m_nLayoutWidth[LAYOUT_SCREEN]);
    horz.nPage = grid.ColumnsIn(client.right);
    SetScrollInfo(SB_HORZ, &horz, TRUE);
}

void CTAVOView::OnUpdate(CView*, LPARAM, CObject*) {
    m_mark = {};
    m_pOffered.reset(); // the clipboard keeps its own reference
    // What was said of the previous file is not true of this one.
    SetStatus(LoadString(AFX_IDS_IDLEMESSAGE));
    RecalcScreenLayout();
    UpdateScrollRanges();
    RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
}

void CTAVOView::OnEnvSettings() {
    CEnvDialog dialog(this);
    dialog.m_env = *m_pEnv;
    if (dialog.DoModal() != IDOK) {
        return;
    }
    const WORD previousWrap = m_pEnv->wWrap;
    *m_pEnv = dialog.m_env;
    CFileException error;
    const EnvSaveResult saved = m_pStore->Save(&error);
    // The new settings hold for the run, saved or not: the window shows
    // them before any report.
    RelayoutKeepingTopLine();
    // Rows wrapped anew start at their first column.
    if (m_pEnv->wWrap != previousWrap) {
        SetScrollPos(SB_HORZ, 0);
    }
    RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
    if (saved != EnvSaveResult::saved) {
        AfxMessageBox(DescribeSaveFailure(saved, error), MB_OK | MB_ICONEXCLAMATION);
    }
}

void CTAVOView::OnSize(UINT nType, int cx, int cy) {
    CView::OnSize(nType, cx, cy);
    RelayoutKeepingTopLine();
}

void CTAVOView::RelayoutKeepingTopLine() {
    const CTAVODoc* pDoc = GetDocument();
    std::int64_t lineStart = 0;
    const int top = GetScrollPos(SB_VERT);
    const std::uint32_t line = pDoc->LineAtRow(top, LAYOUT_SCREEN, &lineStart);
    const std::int64_t rowInLine = top - lineStart;
    RecalcScreenLayout();
    UpdateScrollRanges();
    if (line >= pDoc->m_nLines) {
        return;
    }
    // The line keeps its place at the top; within a wrapped line, so does
    // the row as far as the line still reaches.
    const std::int64_t newStart = pDoc->StartRowOfLine(line, LAYOUT_SCREEN);
    const std::int64_t rows = pDoc->m_pLines[line].nRows[LAYOUT_SCREEN];
    SetScrollPos(SB_VERT,
                 int(std::min<std::int64_t>(newStart + std::min(rowInLine, rows - 1), INT_MAX)));
}

BOOL CTAVOView::StepScroll(int nBar, UINT nSBCode, int& change) {
    SCROLLINFO info{};
    GetScrollInfo(nBar, &info);
    const std::optional<int> pos = ScrollStepPosition(info, nSBCode, 1, int(info.nPage));
    if (!pos) {
        return FALSE;
    }
    change = *pos - info.nPos;
    SetScrollPos(nBar, *pos, TRUE);
    return TRUE;
}

BOOL CTAVOView::ScrollBy(int nBar, UINT nSBCode) {
    int change = 0;
    if (!StepScroll(nBar, nSBCode, change)) {
        return FALSE;
    }
    if (change == 0) {
        return TRUE;
    }
    const CellGrid grid = ScreenGrid();
    const SIZE cell = grid.Cell();
    RECT client;
    GetClientRect(&client);
    // A move of more than the window uncovers all of it; clamping keeps the
    // pixel distance within range for any jump.
    const std::int64_t limit = std::max(client.right, client.bottom) + 1;
    const std::int64_t step = nBar == SB_VERT ? cell.cy : cell.cx;
    const int distance = int(std::clamp(-std::int64_t(change) * step, -limit, limit));
    // What the mouse rests on has moved under it.
    if (m_bMouseInside) {
        ShowCellAt(m_ptMouse, grid);
    }
    if (nBar == SB_VERT) {
        ScrollWindow(0, distance);
        return TRUE;
    }
    // The gutter's fill stays in place while its numbers move with the
    // text: only the text beside it moves, and the gutter is painted again.
    const LONG gutterRight = grid.GutterPixels(client.right);
    const RECT text = {gutterRight, 0, client.right, client.bottom};
    ScrollWindow(distance, 0, &text, &text);
    if (gutterRight > 0) {
        const RECT gutter = {0, 0, gutterRight, client.bottom};
        RedrawWindow(&gutter, nullptr, RDW_INVALIDATE | RDW_ERASE);
    }
    return TRUE;
}

void CTAVOView::OnKeyDown(UINT nChar, UINT, UINT nFlags) {
    struct Step {
        UINT nChar;
        int nBar;
        UINT nCode;
    };
    static constexpr Step steps[] = {
        {VK_UP, SB_VERT, SB_LINEUP},     {VK_DOWN, SB_VERT, SB_LINEDOWN},
        {VK_PRIOR, SB_VERT, SB_PAGEUP},  {VK_NEXT, SB_VERT, SB_PAGEDOWN},
        {VK_LEFT, SB_HORZ, SB_LINELEFT}, {VK_RIGHT, SB_HORZ, SB_LINERIGHT},
        {VK_HOME, SB_HORZ, SB_LEFT},     {VK_END, SB_HORZ, SB_RIGHT},
    };
    if (nChar == 'A' && (nFlags & MK_CONTROL) != 0) {
        SelectAll();
        return;
    }
    const auto step = std::find_if(std::begin(steps), std::end(steps),
                                   [nChar](const Step& s) { return s.nChar == nChar; });
    if (step == std::end(steps)) {
        return;
    }
    // Ctrl+Home and Ctrl+End go to the top and the bottom of the document.
    if ((nFlags & MK_CONTROL) != 0 && (nChar == VK_HOME || nChar == VK_END)) {
        SendScroll(SB_VERT, nChar == VK_HOME ? SB_TOP : SB_BOTTOM, 1);
    } else {
        SendScroll(step->nBar, step->nCode, 1);
    }
}

BOOL CTAVOView::AnswersKeyWhileLoading(UINT nChar, UINT) const {
    switch (nChar) {
    case VK_UP:
    case VK_DOWN:
    case VK_PRIOR:
    case VK_NEXT:
    case VK_LEFT:
    case VK_RIGHT:
    case VK_HOME:
        return TRUE;
    default:
        return FALSE;
    }
}

BOOL CTAVOView::OnMouseWheel(UINT nFlags, short zDelta, POINT) {
    ScrollByWheel((nFlags & MK_SHIFT) ? SB_HORZ : SB_VERT, zDelta);
    return TRUE;
}

void CTAVOView::OnMouseHWheel(UINT, short zDelta, POINT) {
    // Tilting right reads as the wheel turned towards the user.
    ScrollByWheel(SB_HORZ, short(-zDelta));
}

void CTAVOView::ScrollByWheel(int nBar, short zDelta) {
    // Fine-grained wheels deliver fractions of a notch; they add up.
    int& remainder = m_nWheelRemainder[nBar];
    remainder += zDelta;
    const int notches = remainder / WHEEL_DELTA;
    remainder -= notches * WHEEL_DELTA;
    if (notches != 0) {
        SendScroll(nBar, notches > 0 ? SB_LINEUP : SB_LINEDOWN, std::abs(notches) * ROWS_PER_NOTCH);
    }
}

void CTAVOView::SendScroll(int nBar, UINT nSBCode, int nTimes) {
    // Keys and the wheel act as the bars do: each step, then the end.
    auto handler = nBar == SB_VERT ? &CTAVOView::OnVScroll : &CTAVOView::OnHScroll;
    for (int i = 0; i < nTimes; ++i) {
        (this->*handler)(nSBCode, 0, nullptr);
    }
    (this->*handler)(SB_ENDSCROLL, 0, nullptr);
}

void CTAVOView::OnHScroll(UINT nSBCode, UINT nPos, CScrollBar* pScrollBar) {
    if (!ScrollBy(SB_HORZ, nSBCode)) {
        CView::OnHScroll(nSBCode, nPos, pScrollBar);
    }
}

void CTAVOView::OnVScroll(UINT nSBCode, UINT nPos, CScrollBar* pScrollBar) {
    if (!ScrollBy(SB_VERT, nSBCode)) {
        CView::OnVScroll(nSBCode, nPos, pScrollBar);
    }
}

// ---- finding the way ----

namespace {

// Looks from `from` on, or back, and once more from the other end when that
// finds nothing; *pWrapped tells whether it went round.
template <typename Look>
bool LookRound(const Look& look, std::uint32_t from, bool forward, std::uint32_t otherEnd,
               bool* pWrapped) {
    *pWrapped = false;
    if (look(from)) {
        return true;
    }
    *pWrapped = true;
    return look(forward ? 0 : otherEnd);
}

} // namespace

void CTAVOView::SetStatus(const std::string& text) {
    if (CFrameWnd* pFrame = GetParentFrame()) {
        pFrame->SetMessageText(text);
    }
}

std::uint32_t CTAVOView::StartOffset(bool bForward, bool bPast) const {
    const CTAVODoc* pDoc = GetDocument();
    if (!m_mark.bSet) {
        std::int64_t start = 0;
        const std::uint32_t line = pDoc->LineAtRow(GetScrollPos(SB_VERT), LAYOUT_SCREEN, &start);
        return line < pDoc->m_nLines ? pDoc->m_pLines[line].nOffset : pDoc->m_nLength;
    }
    return m_mark.nOffset + (bForward && bPast ? 1 : 0);
}

void CTAVOView::Find(const std::string& text, BOOL bMatchCase, BOOL bForward) {
    const CTAVODoc* pDoc = GetDocument();
    if (!HasText() || text.empty()) {
        return;
    }
    // The same search again goes past its match; a new one may find it.
    const bool again = text == m_strFound && bMatchCase == m_bFoundMatchCase;
    m_strFound = text;
    m_bFoundMatchCase = bMatchCase;
    const FindQuery query = MakeFindQuery(text, bMatchCase != FALSE);
    TextMatch match{};
    bool wrapped = false;
    const auto look = [&](std::uint32_t from) {
        return FindText(*pDoc, query, from, bForward != FALSE, &match);
    };
    if (!LookRound(look, StartOffset(bForward, again), bForward, pDoc->m_nLength, &wrapped)) {
        m_mark = {};
        RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
        SetStatus(LoadString(IDS_NOT_FOUND));
        return;
    }
    MarkAndShow(match.nLine, match.nOffset, match.nLength);
    SetStatus(wrapped ? ExtractSubString(LoadString(IDS_WRAPPED), bForward ? 0 : 1)
                      : LoadString(AFX_IDS_IDLEMESSAGE));
}

void CTAVOView::OnNextProblem(BOOL bForward) {
    const CTAVODoc* pDoc = GetDocument();
    if (!HasText()) {
        return;
    }
    ProblemPlace place{};
    bool wrapped = false;
    const auto look = [&](std::uint32_t from) {
        return FindProblem(*pDoc, DefinedJisCodes(), from, bForward != FALSE, &place);
    };
    if (!LookRound(look, StartOffset(bForward, true), bForward, pDoc->m_nLength + 1, &wrapped)) {
        m_mark = {};
        RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
        SetStatus(LoadString(IDS_FILE_CLEAN));
        return;
    }
    // The character is marked; the end of the file has none.
    const CharCell first =
        MarkAndShow(place.nLine, place.nOffset, place.nOffset < pDoc->m_nLength ? 1 : 0);
    m_strFound.clear();
    const std::string found = DescribeProblem(*pDoc, place, first.nLineColumn);
    SetStatus(wrapped ? ExtractSubString(LoadString(IDS_WRAPPED), bForward ? 0 : 1) + "  " + found
                      : found);
}

CharCell CTAVOView::MarkAndShow(std::uint32_t nLine, std::uint32_t nOffset, std::uint32_t nLength) {
    m_mark = {true, nOffset, nLength};
    CharCell first{};
    CharCell last{};
    MarkedCells(nLine, &first, &last);
    Reveal(nLine, first, last);
    RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    return first;
}

void CTAVOView::MarkedCells(std::uint32_t nLine, CharCell* pFirst, CharCell* pLast) const {
    LineWalker walker(*GetDocument(), nLine, LAYOUT_SCREEN);
    walker.SeekOffset(m_mark.nOffset);
    const std::uint64_t end =
        std::uint64_t(m_mark.nOffset) + std::max<std::uint32_t>(m_mark.nLength, 1);
    bool any = false;
    CharCell cell{};
    while (walker.Next(cell) && cell.nOffset < end) {
        if (cell.nOffset >= m_mark.nOffset) {
            if (!any) {
                *pFirst = cell;
            }
            *pLast = cell;
            any = true;
        }
    }
    if (!any) {
        *pFirst = {m_mark.nOffset,      0, cell.set, walker.Row(), walker.Column(),
                   walker.LineColumn(), 1};
        *pLast = *pFirst;
    }
}

// The line whole where it fits in the window, else the marked rows; the
// marked columns when they lie beside the window.
void CTAVOView::Reveal(std::uint32_t nLine, const CharCell& first, const CharCell& last) {
    const CTAVODoc* pDoc = GetDocument();
    SCROLLINFO vert{};
    GetScrollInfo(SB_VERT, &vert);
    const std::int64_t page = std::max<std::int64_t>(vert.nPage, 1);
    const std::int64_t lineTop = pDoc->StartRowOfLine(nLine, LAYOUT_SCREEN);
    const std::int64_t rows = pDoc->m_pLines[nLine].nRows[LAYOUT_SCREEN];
    const std::int64_t from = rows <= page ? lineTop : lineTop + first.nRow;
    const std::int64_t to = rows <= page ? lineTop + rows : lineTop + last.nRow + 1;
    if (from < vert.nPos || to > vert.nPos + page) {
        const std::int64_t top = from < vert.nPos || to - from > page ? from : to - page;
        SetScrollPos(SB_VERT, int(std::min<std::int64_t>(top, INT_MAX)));
    }
    SCROLLINFO horz{};
    GetScrollInfo(SB_HORZ, &horz);
    const std::int64_t width = std::max<std::int64_t>(horz.nPage, 1);
    const CellGrid grid = ScreenGrid();
    const std::int64_t left = grid.DrawnColumnOf(std::min(first.nColumn, last.nColumn));
    const std::int64_t right =
        grid.DrawnColumnOf(std::max(first.nColumn + first.nCells, last.nColumn + last.nCells));
    if (left < horz.nPos || right > horz.nPos + width) {
        // From the row's start where that shows the mark, else centred.
        const std::int64_t pos =
            right <= width ? 0 : std::max<std::int64_t>((left + right - width) / 2, 0);
        SetScrollPos(SB_HORZ, int(std::min<std::int64_t>(std::min(pos, left), INT_MAX)));
    }
}

void CTAVOView::OnGotoLine() {
    const CTAVODoc* pDoc = GetDocument();
    if (!HasText()) {
        return;
    }
    std::int64_t start = 0;
    const std::uint32_t top = pDoc->LineAtRow(GetScrollPos(SB_VERT), LAYOUT_SCREEN, &start);
    CGotoLineDlg dialog(this, pDoc->m_nLines, std::min(top, pDoc->m_nLines - 1) + 1);
    if (dialog.DoModal() != IDOK) {
        return;
    }
    const std::int64_t row = pDoc->StartRowOfLine(dialog.m_nLine - 1, LAYOUT_SCREEN);
    SetScrollPos(SB_VERT, int(std::min<std::int64_t>(row, INT_MAX)));
    RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
}

void CTAVOView::OnMouseMove(UINT nFlags, POINT point) {
    m_bMouseInside = true;
    m_ptMouse = point;
    if (m_bSelecting && (nFlags & MK_LBUTTON) != 0) {
        DragTo(point);
    }
    ShowCellAt(point, ScreenGrid());
}

void CTAVOView::OnMouseLeave() {
    m_bMouseInside = false;
    SetStatus(LoadString(AFX_IDS_IDLEMESSAGE));
}

void CTAVOView::ShowCellAt(POINT point, const CellGrid& grid) {
    const CTAVODoc* pDoc = GetDocument();
    const std::int64_t row = grid.RowAt(point.y, GetScrollPos(SB_VERT));
    const std::int64_t column = grid.TextColumnAt(point.x, GetScrollPos(SB_HORZ));
    std::int64_t start = 0;
    const std::uint32_t line = HasText() && point.x >= 0 && point.y >= 0 && column >= 0
                                   ? pDoc->LineAtRow(row, LAYOUT_SCREEN, &start)
                                   : pDoc->m_nLines;
    if (line < pDoc->m_nLines) {
        if (const std::optional<CharCell> cell = CellAt(*pDoc, line, row - start, column)) {
            SetStatus(DescribeCell(*pDoc, line, *cell));
            return;
        }
    }
    SetStatus(LoadString(AFX_IDS_IDLEMESSAGE));
}

// ---- printing ----

BOOL CTAVOView::OnPreparePrinting(CPrintInfo* pInfo) {
    if (HasSelection()) {
        pInfo->m_pPD->m_pd.Flags &= ~PD_NOSELECTION;
    }
    return DoPreparePrinting(pInfo);
}

void CTAVOView::OnBeginPrinting(CDC* pDC, CPrintInfo* pInfo) {
    const CellGrid grid = GridOf(CCharPainter::MeasureCell(pDC, m_pEnv));
    const int rows = grid.RowsPerPage(pDC->GetDeviceCaps(VERTRES));
    CTAVODoc* pDoc = GetDocument();
    pDoc->CountRows(grid.TextWidth(grid.PageWrapColumn(pDC->GetDeviceCaps(HORZRES))), LAYOUT_PRINT);
    pInfo->m_nFirstRow = 0;
    pInfo->m_nEndRow = pDoc->m_nTotalRows[LAYOUT_PRINT];
    // The selection prints as the whole rows of its lines.
    if (pInfo->m_pPD->PrintSelection() && HasSelection()) {
        const std::uint32_t first = pDoc->LineAtOffset(m_mark.nOffset);
        const std::uint32_t last = pDoc->LineAtOffset(m_mark.nOffset + m_mark.nLength - 1);
        pInfo->m_nFirstRow = pDoc->StartRowOfLine(first, LAYOUT_PRINT);
        pInfo->m_nEndRow =
            pDoc->StartRowOfLine(last, LAYOUT_PRINT) + pDoc->m_pLines[last].nRows[LAYOUT_PRINT];
    }
    const std::int64_t total = pInfo->m_nEndRow - pInfo->m_nFirstRow;
    pInfo->SetMaxPage(UINT((total + rows - 1) / rows));
}

void CTAVOView::OnPrint(CDC* pDC, CPrintInfo* pInfo) {
    if (GetDocument()->m_pData == nullptr) {
        return;
    }
    CCharPainter painter(pDC, m_pEnv);
    const CellGrid grid = GridOf({LONG(painter.m_cxCell), LONG(painter.m_cyCell)});
    painter.m_bConvert = TRUE;
    painter.m_bPrinting = TRUE;
    const RECT& page = pInfo->m_rectDraw;
    const std::int64_t first =
        pInfo->m_nFirstRow + std::int64_t(std::max<UINT>(pInfo->m_nCurPage, 1) - 1) *
                                 grid.RowsPerPage(page.bottom - page.top);
    // The last page of a stretch may hold fewer rows than the paper.
    const std::int64_t rows = std::clamp<std::int64_t>(pInfo->m_nEndRow - first, 0,
                                                       grid.RowsPerPage(page.bottom - page.top));
    painter.m_rcPaint = page;
    // Only whole rows of the stretch: the row after it must not show below
    // the last.
    painter.m_rcPaint.bottom =
        LONG(std::min<std::int64_t>(page.bottom, page.top + rows * painter.m_cyCell));
    painter.m_nFirstCol = 0;
    painter.m_nFirstRow = LONG(std::min<std::int64_t>(first, INT_MAX));
    painter.m_nWrapCol = grid.PageWrapColumn(page.right - page.left);
    if (rows > 0) {
        DrawRows(painter, grid, painter.m_nFirstRow,
                 int(std::min<std::int64_t>(first + rows - 1, INT_MAX)), LAYOUT_PRINT);
    }
    painter.Restore();
}

void CTAVOView::OnEndPrinting(CDC*, CPrintInfo*) {}
