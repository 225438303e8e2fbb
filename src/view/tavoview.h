// The view: paints the document in the cell grid, keeps the screen layout in
// step with the window and the wrap setting, scrolls by rows and columns,
// and prints and previews page by page.
#pragma once

#include "document/tavodoc.h"
#include "platform/ui/ui.h"
#include "settings/envsettings.h"

class CCharPainter;

class CTAVOView : public CView {
public:
    // pEnv is the application's live settings record; the view only reads it.
    explicit CTAVOView(EnvSettings* pEnv);

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
    void DrawRows(CCharPainter& painter, int first, int last, int slot);
    void RecalcScreenLayout();
    void UpdateScrollRanges();
    // Moves a bar's position for a scroll code; returns FALSE for codes it
    // does not handle. change receives the rows or columns moved.
    BOOL StepScroll(int nBar, UINT nSBCode, UINT nPos, int& change);

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
    void OnMouseHWheel(UINT nFlags, short zDelta, POINT pt) override;

    EnvSettings* m_pEnv;

private:
    int GutterWidth() const;
    // The painter's wrap column for a wrap width counted from the row's
    // first cell, gutter included; 0 for no wrapping.
    int DrawnWrapColumn(std::uint32_t wrapCol) const;
    // Lays out a slot for a drawn wrap column: the text of a row is that
    // column less the gutter.
    void LayOut(int wrapCol, int slot);
    // Steps the bar and moves the pixels shown; FALSE for codes that are
    // not a step.
    BOOL ScrollBy(int nBar, UINT nSBCode, UINT nPos);
    // Lays the screen out again with the line at the top kept there.
    void RelayoutKeepingTopLine();
    void ScrollByWheel(int nBar, short zDelta);
    void SendScroll(int nBar, UINT nSBCode, int nTimes);

    int m_nWheelRemainder[2] = {0, 0};
};
