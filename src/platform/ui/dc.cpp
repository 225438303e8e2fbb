#include "platform/ui/dc.h"

#include <QPainter>
#include <QWidget>

CPaintDC::CPaintDC(CWnd* pWnd)
    : m_pPainter(std::make_unique<QPainter>(pWnd->GetSafeHwnd())) {
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
