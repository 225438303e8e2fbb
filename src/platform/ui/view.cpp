#include "platform/ui/view.h"

#include "platform/core/document.h"
#include "platform/ui/dc.h"

void CView::OnUpdate(CView*, LPARAM, CObject*) {
    Invalidate();
}

void CView::OnInitialUpdate() {
    OnUpdate(nullptr, 0, nullptr);
}

BOOL CView::AnswersKeyWhileLoading(UINT, UINT) const {
    return FALSE;
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
