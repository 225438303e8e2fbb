#include "platform/ui/dc.h"

#include <QGuiApplication>
#include <QPainter>
#include <QScreen>
#include <QWidget>

namespace {

// The primary screen as a device that is only measured.
class ScreenDevice : public QPaintDevice {
public:
    QPaintEngine* paintEngine() const override { return nullptr; }

protected:
    int metric(PaintDeviceMetric metric) const override {
        const QScreen* screen = QGuiApplication::primaryScreen();
        if (screen == nullptr) {
            return metric == PdmDpiX || metric == PdmDpiY ? 96 : 1;
        }
        switch (metric) {
        case PdmWidth:
            return screen->geometry().width();
        case PdmHeight:
            return screen->geometry().height();
        case PdmDpiX:
        case PdmPhysicalDpiX:
            return qRound(screen->logicalDotsPerInchX());
        case PdmDpiY:
        case PdmPhysicalDpiY:
            return qRound(screen->logicalDotsPerInchY());
        case PdmDepth:
            return screen->depth();
        case PdmDevicePixelRatioScaled:
            return int(devicePixelRatioFScale());
        default:
            return QPaintDevice::metric(metric);
        }
    }
};

} // namespace

CPaintDC::CPaintDC(CWnd* pWnd)
    : m_ps{pWnd->GetPaintRect()}, m_pPainter(std::make_unique<QPainter>(pWnd->GetSafeHwnd())) {
    const RECT& paint = m_ps.rcPaint;
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

CWindowDC::CWindowDC(CWnd* pWnd) {
    const ScreenDevice screen;
    CreateIC(pWnd != nullptr ? static_cast<QPaintDevice*>(pWnd->GetOuterWidget()) : &screen);
}
