// The view: paints the document in the cell grid, keeps the screen layout in
// step with the window and the wrap setting, scrolls by rows and columns,
// and prints and previews page by page.
#pragma once

#include "document/linewalker.h"
#include "document/tavodoc.h"
#include "document/textexport.h"
#include "platform/ui/clipboard.h"
#include "platform/ui/ui.h"
#include "settings/envsettings.h"
#include "view/cellgrid.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

class CCharPainter;

class CTAVOView : public CView {
public:
    // pStore holds the application's live settings, which the view reads;
    // the settings command replaces and saves them.
    explicit CTAVOView(EnvStore* pStore);

    CTAVODoc* GetDocument() const;

    void OnDraw(CDC* pDC) override;
    void OnUpdate(CView* pSender, LPARAM lHint, CObject* pHint) override;

    // Printing lays out the print slot for the page, always wrapped at its
    // width, and cuts pages by rows alone; the screen is left as it is.
    BOOL OnPreparePrinting(CPrintInfo* pInfo) override;
    void OnBeginPrinting(CDC* pDC, CPrintInfo* pInfo) override;
    void OnPrint(CDC* pDC, CPrintInfo* pInfo) override;
    void OnEndPrinting(CDC* pDC, CPrintInfo* pInfo) override;

    // Draws the rows first..last (inclusive) of a layout slot.
    void DrawRows(CCharPainter& painter, const CellGrid& grid, int first, int last, int slot);
    void RecalcScreenLayout();
    void UpdateScrollRanges();
    // Moves a bar's position for a scroll code; returns FALSE for codes it
    // does not handle. change receives the rows or columns moved.
    BOOL StepScroll(int nBar, UINT nSBCode, int& change);

    // The settings command: the dialog on a copy of the settings; on OK
    // the copy replaces them, is saved and the view follows it.
    void OnEnvSettings();

    void OnSize(UINT nType, int cx, int cy) override;
    void OnHScroll(UINT nSBCode, UINT nPos, CScrollBar* pScrollBar) override;
    void OnVScroll(UINT nSBCode, UINT nPos, CScrollBar* pScrollBar) override;
    // Arrows, PgUp / PgDn, Home / End (with Ctrl: top and bottom) and the
    // wheel, three rows a notch, scroll as the bars do.
    void OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags) override;
    BOOL OnMouseWheel(UINT nFlags, short zDelta, POINT pt) override;
    // Steps and the top need only the lines above what is shown; End and
    // Ctrl+End the whole file's width and length, Ctrl+A all its text.
    BOOL AnswersKeyWhileLoading(UINT nChar, UINT nFlags) const override;
    void OnMouseHWheel(UINT nFlags, short zDelta, POINT pt) override;

    // Searches for typed text on or back from the mark, or from the top of
    // the window while nothing is marked; marks what it finds and shows
    // its line whole. The status bar says when nothing was found and when
    // the search went round an end of the file.
    void Find(const std::string& text, BOOL bMatchCase, BOOL bForward);
    // The structure check's next or previous problem, the same way.
    void OnNextProblem(BOOL bForward);
    // Puts a line the user asks for at the top of the window.
    void OnGotoLine();
    // A file is shown.
    BOOL HasText() const;

    // The status bar tells what is in the cell under the mouse.
    void OnMouseMove(UINT nFlags, POINT point) override;
    void OnMouseLeave() override;

    // Selecting: a drag from the place pressed, Shift+click to extend, a
    // double click for a word, a triple click for a line, Ctrl+A for all.
    // The selection is the mark, so a match found is selected too.
    void OnLButtonDown(UINT nFlags, POINT point) override;
    void OnLButtonDblClk(UINT nFlags, POINT point) override;
    void OnLButtonTripleClk(UINT nFlags, POINT point) override;
    void OnLButtonUp(UINT nFlags, POINT point) override;
    // Repeats the scroll of a drag held past an edge.
    void OnTimer(UINT nIDEvent) override;
    void SelectAll();
    BOOL HasSelection() const;
    // Puts the selection on the clipboard as UTF-8 and as JIS.
    void OnEditCopy();

    EnvStore* m_pStore;
    EnvSettings* m_pEnv;

private:
    // A match or a problem, drawn inverted; nLength 0 marks the end of
    // the file.
    struct Mark {
        bool bSet = false;
        std::uint32_t nOffset = 0;
        std::uint32_t nLength = 0;
    };

    // The grid of the window's own surface. Its cell is measured again only
    // when the fonts of the settings have changed.
    CellGrid ScreenGrid();
    CellGrid GridOf(SIZE cell) const;
    // Steps the bar and moves the pixels shown; FALSE for codes that are
    // not a step.
    BOOL ScrollBy(int nBar, UINT nSBCode);
    // Lays the screen out again with the line at the top kept there.
    void RelayoutKeepingTopLine();
    void ScrollByWheel(int nBar, short zDelta);
    void SendScroll(int nBar, UINT nSBCode, int nTimes);

    // Where a search or the check starts: at or after the mark (after it
    // when bPast), or before it; without a mark, the top of the window.
    std::uint32_t StartOffset(bool bForward, bool bPast) const;
    // Marks the stretch of line nLine, scrolls it into view and repaints;
    // returns the place of its first character.
    CharCell MarkAndShow(std::uint32_t nLine, std::uint32_t nOffset, std::uint32_t nLength);
    // The first and last character of the mark where the drawing puts
    // them; for a mark at the end of the file, the place after the last.
    void MarkedCells(std::uint32_t nLine, CharCell* pFirst, CharCell* pLast) const;
    void Reveal(std::uint32_t nLine, const CharCell& first, const CharCell& last);
    // Says in the status bar what lies at point, in cells of the given size.
    void ShowCellAt(POINT point, const CellGrid& grid);
    void SetStatus(const std::string& text);
    // The place between characters nearest to a point of the window.
    std::uint32_t PlaceAtPoint(POINT point);
    // Selects from the anchor to nPlace, either way round, and repaints.
    void SelectTo(std::uint32_t nPlace);
    void Select(std::uint32_t nBegin, std::uint32_t nEnd);
    // The formats of the selection, over one copy of its bytes: the copy
    // last offered while the selection and the document are the same.
    std::vector<ClipboardFormat> SelectionFormats();
    // Offers what is selected as the selection a middle click pastes.
    void OfferSelection();
    // A drag that reaches past an edge scrolls that way by a step; true
    // when the point lies past one.
    bool ScrollTowards(POINT point);
    // Extends the selection to a point of a drag.
    void DragTo(POINT point);

    // The fonts the screen's cell was measured for, and the cell.
    LOGFONTA m_measuredFonts[ENV_FONT_COUNT] = {};
    SIZE m_screenCell = {0, 0};
    int m_nWheelRemainder[2] = {0, 0};
    Mark m_mark;
    // The bytes last offered on the clipboard, and the mark they were of.
    std::shared_ptr<const TextExcerpt> m_pOffered;
    Mark m_offeredMark;
    // The search that made the mark.
    std::string m_strFound;
    BOOL m_bFoundMatchCase = FALSE;
    bool m_bMouseInside = false;
    // Where the selection started, and whether the button is held.
    std::uint32_t m_nAnchor = 0;
    bool m_bSelecting = false;
    POINT m_ptMouse = {0, 0};
};
