// The view's selection: made with the mouse and the keys, held in byte
// offsets of the document, and copied to the clipboard.
#include "tavoview.h"

#include "document/textexport.h"
#include "platform/ui/clipboard.h"
#include "view/jiscodes.h"
#include "view/selection.h"

#include <algorithm>
#include <memory>

namespace {

constexpr UINT DRAG_SCROLL_TIMER = 1;
constexpr UINT DRAG_SCROLL_INTERVAL_MS = 50;

} // namespace

BOOL CTAVOView::HasSelection() const {
    return HasText() && m_mark.bSet && m_mark.nLength > 0;
}

std::uint32_t CTAVOView::PlaceAtPoint(POINT point) {
    const CellGrid grid = ScreenGrid();
    const std::int64_t row = point.y < 0 ? -1 : grid.RowAt(point.y, GetScrollPos(SB_VERT));
    // Two halves a cell: which side of a character the point is nearer.
    const LONG cx = grid.Cell().cx;
    const std::int64_t half = point.x < 0 ? -1
                                          : 2 * grid.TextColumnAt(point.x, GetScrollPos(SB_HORZ)) +
                                                (point.x % cx) * 2 / cx;
    return PlaceAt(*GetDocument(), row, half);
}

void CTAVOView::Select(std::uint32_t nBegin, std::uint32_t nEnd) {
    const Mark previous = m_mark;
    m_mark = nBegin != nEnd ? Mark{true, nBegin, nEnd - nBegin} : Mark{};
    if (m_mark.bSet != previous.bSet || m_mark.nOffset != previous.nOffset ||
        m_mark.nLength != previous.nLength) {
        RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    }
}

void CTAVOView::SelectTo(std::uint32_t nPlace) {
    Select(std::min(m_nAnchor, nPlace), std::max(m_nAnchor, nPlace));
}

void CTAVOView::OnLButtonDown(UINT nFlags, POINT point) {
    if (!HasText()) {
        return;
    }
    const std::uint32_t place = PlaceAtPoint(point);
    // Shift+click moves the end away from the anchor, whichever end that is.
    if ((nFlags & MK_SHIFT) == 0) {
        m_nAnchor = place;
    } else if (HasSelection() && place < m_mark.nOffset + m_mark.nLength / 2) {
        m_nAnchor = m_mark.nOffset + m_mark.nLength;
    } else if (HasSelection()) {
        m_nAnchor = m_mark.nOffset;
    }
    SelectTo(place);
    m_bSelecting = true;
}

void CTAVOView::OnLButtonDblClk(UINT, POINT point) {
    const CellGrid grid = ScreenGrid();
    const std::int64_t row = grid.RowAt(point.y, GetScrollPos(SB_VERT));
    std::int64_t start = 0;
    const CTAVODoc* pDoc = GetDocument();
    const std::uint32_t line =
        HasText() && point.y >= 0 ? pDoc->LineAtRow(row, LAYOUT_SCREEN, &start) : pDoc->m_nLines;
    const std::optional<CharCell> cell =
        line < pDoc->m_nLines && point.x >= 0
            ? CellAt(*pDoc, line, row - start, grid.TextColumnAt(point.x, GetScrollPos(SB_HORZ)))
            : std::nullopt;
    if (cell) {
        const TextRange word = WordAround(*pDoc, line, *cell);
        m_nAnchor = word.nBegin;
        Select(word.nBegin, word.nEnd);
        OfferSelection();
    }
}

void CTAVOView::OnLButtonTripleClk(UINT, POINT point) {
    const CTAVODoc* pDoc = GetDocument();
    if (!HasText() || point.y < 0) {
        return;
    }
    std::int64_t start = 0;
    const std::uint32_t line =
        pDoc->LineAtRow(ScreenGrid().RowAt(point.y, GetScrollPos(SB_VERT)), LAYOUT_SCREEN, &start);
    if (line < pDoc->m_nLines) {
        const TextRange whole = LineRange(*pDoc, line);
        m_nAnchor = whole.nBegin;
        Select(whole.nBegin, whole.nEnd);
        OfferSelection();
    }
}

void CTAVOView::OnLButtonUp(UINT, POINT) {
    KillTimer(DRAG_SCROLL_TIMER);
    if (m_bSelecting) {
        m_bSelecting = false;
        OfferSelection();
    }
}

void CTAVOView::DragTo(POINT point) {
    const bool outside = ScrollTowards(point);
    SelectTo(PlaceAtPoint(point));
    // Held past an edge, the drag goes on scrolling without a move.
    if (outside) {
        SetTimer(DRAG_SCROLL_TIMER, DRAG_SCROLL_INTERVAL_MS);
    } else {
        KillTimer(DRAG_SCROLL_TIMER);
    }
}

void CTAVOView::OnTimer(UINT nIDEvent) {
    // Runs only while the button is held: its release stops it.
    if (nIDEvent == DRAG_SCROLL_TIMER) {
        DragTo(m_ptMouse);
    }
}

bool CTAVOView::ScrollTowards(POINT point) {
    RECT client;
    GetClientRect(&client);
    const bool above = point.y < 0;
    const bool below = point.y >= client.bottom;
    const bool left = point.x < 0;
    const bool right = point.x >= client.right;
    if (above || below) {
        SendScroll(SB_VERT, above ? SB_LINEUP : SB_LINEDOWN, 1);
    }
    if (left || right) {
        SendScroll(SB_HORZ, left ? SB_LINELEFT : SB_LINERIGHT, 1);
    }
    return above || below || left || right;
}

void CTAVOView::SelectAll() {
    if (HasText()) {
        m_nAnchor = 0;
        Select(0, GetDocument()->m_nLength);
        OfferSelection();
    }
}

namespace {

// The formats of a copy: UTF-8 for every program, the JIS bytes for those
// that take them. They share one copy of the bytes, which stays valid
// whatever the view shows next.
std::vector<ClipboardFormat> FormatsOf(std::shared_ptr<const TextExcerpt> excerpt) {
    const ClipboardFormat utf8 = {
        "text/plain", [excerpt] { return Utf8SizeBound(*excerpt); },
        [excerpt](char* out) { return WriteUtf8(*excerpt, JisCharacters(), out); }};
    ClipboardFormat utf8Named = utf8;
    utf8Named.mimeType = "text/plain;charset=utf-8";
    const ClipboardFormat jis = {"text/plain;charset=ISO-2022-JP",
                                 [excerpt] { return JisSizeBound(*excerpt); },
                                 [excerpt](char* out) { return WriteJis(*excerpt, out); }};
    return {utf8, utf8Named, jis};
}

} // namespace

std::vector<ClipboardFormat> CTAVOView::SelectionFormats() {
    const bool same = m_pOffered && m_offeredMark.nOffset == m_mark.nOffset &&
                      m_offeredMark.nLength == m_mark.nLength;
    if (!same) {
        m_pOffered = std::make_shared<const TextExcerpt>(
            ExcerptOf(*GetDocument(), m_mark.nOffset, m_mark.nOffset + m_mark.nLength));
        m_offeredMark = m_mark;
    }
    return FormatsOf(m_pOffered);
}

void CTAVOView::OfferSelection() {
    if (HasSelection()) {
        OfferAsSelection(SelectionFormats());
    }
}

void CTAVOView::OnEditCopy() {
    if (HasSelection()) {
        const std::vector<ClipboardFormat> formats = SelectionFormats();
        OfferOnClipboard(formats);
        OfferAsSelection(formats);
    }
}
