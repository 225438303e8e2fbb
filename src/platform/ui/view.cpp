#include "platform/ui/view.h"

#include "platform/core/document.h"
#include "platform/ui/dc.h"

#include <cstdlib>

void CView::OnUpdate(CView*, LPARAM, CObject*) {
    Invalidate();
}

void CView::OnInitialUpdate() {
    OnUpdate(nullptr, 0, nullptr);
}

BOOL CView::OnCmdMsg(UINT nID, CCmdUI* pCmdUI) {
    if (CWnd::OnCmdMsg(nID, pCmdUI)) {
        return TRUE;
    }
    auto* pTarget = dynamic_cast<CCmdTarget*>(m_pDocument);
    return pTarget != nullptr && pTarget->OnCmdMsg(nID, pCmdUI);
}

void CView::OnPaint() {
    CPaintDC dc(this);
    OnDraw(&dc);
}

void CView::OnKeyDown(UINT nChar, UINT, UINT nFlags) {
    const bool control = (nFlags & MK_CONTROL) != 0;
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
    for (const Step& step : steps) {
        if (step.nChar != nChar) {
            continue;
        }
        // Ctrl+Home and Ctrl+End go to the top and the bottom of the document.
        const bool toEnd = control && (nChar == VK_HOME || nChar == VK_END);
        const int bar = toEnd ? SB_VERT : step.nBar;
        const UINT code = toEnd ? (nChar == VK_HOME ? SB_TOP : SB_BOTTOM) : step.nCode;
        auto handler = bar == SB_VERT ? &CView::OnVScroll : &CView::OnHScroll;
        (this->*handler)(code, 0, nullptr);
        (this->*handler)(SB_ENDSCROLL, 0, nullptr);
        return;
    }
}

BOOL CView::OnMouseWheel(UINT nFlags, short zDelta, POINT) {
    SendWheel((nFlags & MK_SHIFT) ? SB_HORZ : SB_VERT, zDelta);
    return TRUE;
}

void CView::OnMouseHWheel(UINT, short zDelta, POINT) {
    // Tilting right reads as the wheel turned towards the user.
    SendWheel(SB_HORZ, short(-zDelta));
}

void CView::SendWheel(int nBar, short zDelta) {
    constexpr int linesPerNotch = 3;
    // Fine-grained wheels deliver fractions of a notch; they add up.
    int& remainder = m_nWheelRemainder[nBar];
    remainder += zDelta;
    const int notches = remainder / WHEEL_DELTA;
    remainder -= notches * WHEEL_DELTA;
    if (notches == 0) {
        return;
    }
    auto handler = nBar == SB_VERT ? &CView::OnVScroll : &CView::OnHScroll;
    const UINT code = notches > 0 ? SB_LINEUP : SB_LINEDOWN;
    for (int i = 0; i < std::abs(notches) * linesPerNotch; ++i) {
        (this->*handler)(code, 0, nullptr);
    }
    (this->*handler)(SB_ENDSCROLL, 0, nullptr);
}
