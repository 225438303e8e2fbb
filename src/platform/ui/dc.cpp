#include "platform/ui/dc.h"

#include <QPainter>
#include <QWidget>

CPaintDC::CPaintDC(CWnd* pWnd) : m_pPainter(std::make_unique<QPainter>(pWnd->GetSafeHwnd())) {
    // The system clips to the part being painted already; as the painter's
    // own clip it tells the drawing what it may leave out.
    const RECT& paint = pWnd->GetPaintRect();
    m_pPainter->setClipRect(
        QRect(paint.left, paint.top, paint.right - paint.left, paint.bottom - paint.top));
    AttachPainter(m_pPainter.get());
}

CPaintDC::~CPaintDC() {
    // The surface must let go of the painter before the painter ends.
    DeleteDC();
}

CClientDC::CClientDC(CWnd* pWnd) {
    if (pWnd->GetSafeHwnd() != nullptr) {
        CreateIC(pWnd->GetSafeHwnd());
    }
}
