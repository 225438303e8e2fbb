#include "platform/ui/wndwidget.h"

#include "platform/ui/dlgcontrols.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QStyleHints>
#include <QTimer>
#include <QWheelEvent>

#include <algorithm>
#include <cmath>
#include <utility>

// ---- command routing ----

namespace {

UINT g_nCurrentCommand = 0;

} // namespace

UINT CCmdTarget::GetCurrentCommand() {
    return g_nCurrentCommand;
}

BOOL CCmdTarget::OnCmdMsg(UINT nID, CCmdUI* pCmdUI) {
    const auto command = m_commands.find(nID);
    if (pCmdUI != nullptr) {
        if (const auto update = m_updates.find(nID); update != m_updates.end()) {
            update->second(pCmdUI);
            return TRUE;
        }
        if (command != m_commands.end()) {
            pCmdUI->Enable(TRUE);
            return TRUE;
        }
        return FALSE;
    }
    if (command == m_commands.end()) {
        return FALSE;
    }
    const UINT outer = std::exchange(g_nCurrentCommand, nID);
    command->second(nID);
    g_nCurrentCommand = outer;
    return TRUE;
}

void CCmdTarget::MapCommand(UINT nID, std::function<void()> handler) {
    m_commands[nID] = [handler = std::move(handler)](UINT) { handler(); };
}

void CCmdTarget::MapCommandRange(UINT nFirst, UINT nLast, std::function<void(UINT)> handler) {
    for (UINT id = nFirst; id <= nLast; ++id) {
        m_commands[id] = handler;
    }
}

void CCmdTarget::MapUpdateCommandUI(UINT nID, std::function<void(CCmdUI*)> handler) {
    m_updates[nID] = std::move(handler);
}

// ---- scroll-bar rules ----

int ScrollState::MaxPos() const {
    const long long last = (long long)nMax - std::max<long long>(nPage, 1) + 1;
    return int(std::max<long long>(last, nMin));
}

bool ScrollState::CoversRange() const {
    return nMax <= nMin || (nPage != 0 && (long long)nPage > (long long)nMax - nMin);
}

int ScrollState::Clamp(int pos) const {
    return std::clamp(pos, nMin, MaxPos());
}

// ---- widgets ----

UINT ModifierFlags(Qt::KeyboardModifiers modifiers) {
    return ((modifiers & Qt::ShiftModifier) ? MK_SHIFT : 0) |
           ((modifiers & Qt::ControlModifier) ? MK_CONTROL : 0);
}

UINT VirtualKeyOf(int key) {
    switch (key) {
    case Qt::Key_Up:
        return VK_UP;
    case Qt::Key_Down:
        return VK_DOWN;
    case Qt::Key_Left:
        return VK_LEFT;
    case Qt::Key_Right:
        return VK_RIGHT;
    case Qt::Key_PageUp:
        return VK_PRIOR;
    case Qt::Key_PageDown:
        return VK_NEXT;
    case Qt::Key_Home:
        return VK_HOME;
    case Qt::Key_End:
        return VK_END;
    default:
        // Letters as their capitals, for Ctrl+letter.
        return key >= Qt::Key_A && key <= Qt::Key_Z ? UINT(key) : 0;
    }
}

namespace {

POINT PointOf(const QMouseEvent* event) {
    return {LONG(std::floor(event->position().x())), LONG(std::floor(event->position().y()))};
}

UINT MouseFlags(const QMouseEvent* event) {
    return ModifierFlags(event->modifiers()) |
           ((event->buttons() & Qt::LeftButton) ? MK_LBUTTON : 0);
}

UINT CodeOfAction(int action) {
    switch (action) {
    case QAbstractSlider::SliderSingleStepSub:
        return SB_LINEUP;
    case QAbstractSlider::SliderSingleStepAdd:
        return SB_LINEDOWN;
    case QAbstractSlider::SliderPageStepSub:
        return SB_PAGEUP;
    case QAbstractSlider::SliderPageStepAdd:
        return SB_PAGEDOWN;
    case QAbstractSlider::SliderToMinimum:
        return SB_TOP;
    case QAbstractSlider::SliderToMaximum:
        return SB_BOTTOM;
    default:
        return SB_THUMBTRACK;
    }
}

} // namespace

CWndClient::CWndClient(CWnd* pWnd, QWidget* pParent) : QWidget(pParent), m_pWnd(pWnd) {
    setFocusPolicy(Qt::StrongFocus);
    setMouseTracking(true); // moves are reported with no button held too
    // The class background: what shows where the window paints nothing.
    setAutoFillBackground(true);
    setBackgroundRole(QPalette::Base);
}

void CWndClient::paintEvent(QPaintEvent* event) {
    m_pWnd->DeliverPaint(*event);
}

// Paints a control that a window took over, in place of the control's own
// drawing.
class CWndPaintFilter : public QObject {
public:
    CWndPaintFilter(CWnd* pWnd, QWidget* pControl) : QObject(pControl), m_pWnd(pWnd) {}

protected:
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() != QEvent::Paint) {
            return false;
        }
        m_pWnd->DeliverPaint(*static_cast<QPaintEvent*>(event));
        return true;
    }

private:
    CWnd* m_pWnd;
};

void CWndClient::keyPressEvent(QKeyEvent* event) {
    const UINT vk = VirtualKeyOf(event->key());
    if (vk == 0) {
        QWidget::keyPressEvent(event);
        return;
    }
    m_pWnd->OnKeyDown(vk, 1, ModifierFlags(event->modifiers()));
}

void CWndClient::wheelEvent(QWheelEvent* event) {
    const UINT flags = ModifierFlags(event->modifiers());
    const POINT pt = {LONG(event->position().x()), LONG(event->position().y())};
    if (event->angleDelta().y() != 0) {
        m_pWnd->OnMouseWheel(flags, short(event->angleDelta().y()), pt);
    }
    if (event->angleDelta().x() != 0) {
        // Qt counts a tilt to the left as positive; the handler the other way.
        m_pWnd->OnMouseHWheel(flags, short(-event->angleDelta().x()), pt);
    }
    event->accept();
}

void CWndClient::mouseMoveEvent(QMouseEvent* event) {
    m_pWnd->OnMouseMove(MouseFlags(event), PointOf(event));
}

void CWndClient::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) {
        QWidget::mousePressEvent(event);
        return;
    }
    const QStyleHints* hints = QGuiApplication::styleHints();
    const bool third =
        m_bDoubleClicked &&
        event->timestamp() - m_nDoubleClickTime <= quint64(hints->mouseDoubleClickInterval()) &&
        (event->position() - m_doubleClickAt).manhattanLength() < hints->startDragDistance();
    m_bDoubleClicked = false;
    if (third) {
        m_pWnd->OnLButtonTripleClk(MouseFlags(event), PointOf(event));
    } else {
        m_pWnd->OnLButtonDown(MouseFlags(event), PointOf(event));
    }
}

void CWndClient::mouseDoubleClickEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) {
        QWidget::mouseDoubleClickEvent(event);
        return;
    }
    m_bDoubleClicked = true;
    m_nDoubleClickTime = event->timestamp();
    m_doubleClickAt = event->position();
    m_pWnd->OnLButtonDblClk(MouseFlags(event), PointOf(event));
}

void CWndClient::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) {
        QWidget::mouseReleaseEvent(event);
        return;
    }
    m_pWnd->OnLButtonUp(MouseFlags(event), PointOf(event));
}

void CWndClient::leaveEvent(QEvent*) {
    m_pWnd->OnMouseLeave();
}

CWndScrollBar::CWndScrollBar(Qt::Orientation orientation, CWndWidget* pOwner)
    : QScrollBar(orientation, pOwner), m_pOwner(pOwner) {
    setFocusPolicy(Qt::NoFocus);
    setContextMenuPolicy(Qt::NoContextMenu);
    connect(this, &QAbstractSlider::actionTriggered, this,
            [this](int action) { m_pOwner->OnBarAction(m_pOwner->BarOf(this), action); });
    connect(this, &QAbstractSlider::sliderPressed, this,
            [this] { m_pOwner->OnThumbPressed(m_pOwner->BarOf(this)); });
}

void CWndScrollBar::mouseReleaseEvent(QMouseEvent* event) {
    const bool wasDragging = isSliderDown();
    QScrollBar::mouseReleaseEvent(event);
    m_pOwner->OnBarReleased(m_pOwner->BarOf(this), wasDragging);
}

void CWndScrollBar::wheelEvent(QWheelEvent* event) {
    m_pOwner->ForwardWheel(event);
}

CWndWidget::CWndWidget(CWnd* pWnd, QWidget* pParent)
    : QWidget(pParent), m_pWnd(pWnd),
      m_pClient(new CWndClient(pWnd, this)), m_pBar{new CWndScrollBar(Qt::Horizontal, this),
                                                    new CWndScrollBar(Qt::Vertical, this)},
      m_pCorner(new QWidget(this)) {
    m_pCorner->setAutoFillBackground(true);
    for (int bar : {SB_HORZ, SB_VERT}) {
        m_pBar[bar]->hide();
        SyncBar(bar);
    }
    setFocusProxy(m_pClient);
}

void CWndWidget::SyncBar(int nBar) {
    const ScrollState& state = m_state[nBar];
    QScrollBar* bar = m_pBar[nBar];
    const QSignalBlocker blocker(bar);
    bar->setRange(state.nMin, state.MaxPos());
    bar->setPageStep(int(std::max<UINT>(state.nPage, 1)));
    if (!state.bTracking) {
        bar->setValue(state.nPos);
    }
    const bool visible = !state.CoversRange();
    if (bar->isVisibleTo(this) != visible) {
        bar->setVisible(visible);
        Layout();
    }
}

// A thumb released where it was pressed reports the position it had.
void CWndWidget::OnThumbPressed(int nBar) {
    m_state[nBar].bTracking = true;
    m_state[nBar].nTrackPos = m_state[nBar].nPos;
}

void CWndWidget::OnBarAction(int nBar, int action) {
    ScrollState& state = m_state[nBar];
    const UINT code = CodeOfAction(action);
    if (code == SB_THUMBTRACK) {
        state.bTracking = true;
        state.nTrackPos = m_pBar[nBar]->sliderPosition();
    } else {
        // The bar moved its thumb already; only the handler may move it.
        const QSignalBlocker blocker(m_pBar[nBar]);
        m_pBar[nBar]->setSliderPosition(state.nPos);
    }
    m_pWnd->DeliverScroll(nBar, code);
}

void CWndWidget::OnBarReleased(int nBar, bool bWasDragging) {
    ScrollState& state = m_state[nBar];
    if (bWasDragging) {
        m_pWnd->DeliverScroll(nBar, SB_THUMBPOSITION);
    }
    state.bTracking = false;
    m_pWnd->DeliverScroll(nBar, SB_ENDSCROLL);
    SyncBar(nBar);
}

void CWndWidget::ForwardWheel(QWheelEvent* event) {
    QApplication::sendEvent(m_pClient, event);
}

DWORD CWndWidget::BarStyle() const {
    return (m_pBar[SB_VERT]->isVisibleTo(this) ? WS_VSCROLL : 0) |
           (m_pBar[SB_HORZ]->isVisibleTo(this) ? WS_HSCROLL : 0);
}

void CWndWidget::resizeEvent(QResizeEvent*) {
    Layout();
}

void CWndWidget::Layout() {
    const bool vert = m_pBar[SB_VERT]->isVisibleTo(this);
    const bool horz = m_pBar[SB_HORZ]->isVisibleTo(this);
    const int cxBar = vert ? m_pBar[SB_VERT]->sizeHint().width() : 0;
    const int cyBar = horz ? m_pBar[SB_HORZ]->sizeHint().height() : 0;
    const int cx = std::max(0, width() - cxBar);
    const int cy = std::max(0, height() - cyBar);
    m_pClient->setGeometry(0, 0, cx, cy);
    m_pBar[SB_VERT]->setGeometry(cx, 0, cxBar, cy);
    m_pBar[SB_HORZ]->setGeometry(0, cy, cx, cyBar);
    m_pCorner->setGeometry(cx, cy, cxBar, cyBar);
    m_pCorner->setVisible(vert && horz);
    const QSize size(cx, cy);
    // Showing a bar re-lays out the view, which may show or hide a bar
    // again; a short chain settles, a longer one would only oscillate.
    if (size == m_clientSize || m_nLayoutDepth > 2) {
        return;
    }
    m_clientSize = size;
    ++m_nLayoutDepth;
    m_pWnd->OnSize(SIZE_RESTORED, cx, cy);
    --m_nLayoutDepth;
}

// ---- CWnd ----

CWnd::CWnd() = default;

CWnd::~CWnd() {
    // The outermost widget owns the rest.
    if (QWidget* outer = GetOuterWidget()) {
        QObject::disconnect(outer, &QObject::destroyed, nullptr, nullptr);
        delete outer;
    }
}

void CWnd::WatchOuterWidget() {
    QObject::connect(GetOuterWidget(), &QObject::destroyed, [this] {
        m_pContainer = nullptr;
        m_hWnd = nullptr;
    });
}

BOOL CWnd::Create(CWnd* pParent) {
    QWidget* parent = pParent != nullptr ? pParent->GetSafeHwnd() : nullptr;
    m_pContainer = new CWndWidget(this, parent);
    m_hWnd = m_pContainer->Client();
    WatchOuterWidget();
    return TRUE;
}

QWidget* CWnd::GetOuterWidget() const {
    return m_pContainer != nullptr ? m_pContainer : m_hWnd;
}

void CWnd::Attach(QWidget* pWidget) {
    m_hWnd = pWidget;
    WatchOuterWidget();
}

void CWnd::GetClientRect(RECT* lpRect) const {
    *lpRect = {0, 0, 0, 0};
    if (m_hWnd != nullptr) {
        lpRect->right = m_hWnd->width();
        lpRect->bottom = m_hWnd->height();
    }
}

DWORD CWnd::GetStyle() const {
    return m_pContainer != nullptr ? m_pContainer->BarStyle() : 0;
}

int GetSystemMetrics(int nIndex) {
    return nIndex == SM_CXVSCROLL ? QScrollBar(Qt::Vertical).sizeHint().width() : 0;
}

void CWnd::ShowWindow(BOOL bShow) {
    if (QWidget* outer = GetOuterWidget()) {
        outer->setVisible(bShow != FALSE);
    }
}

int CWnd::SetScrollInfo(int nBar, SCROLLINFO* lpsi, BOOL) {
    if (m_pContainer == nullptr) {
        return 0;
    }
    ScrollState& state = m_pContainer->State(nBar);
    if (lpsi->fMask & SIF_RANGE) {
        state.nMin = lpsi->nMin;
        state.nMax = lpsi->nMax;
    }
    if (lpsi->fMask & SIF_PAGE) {
        state.nPage = lpsi->nPage;
    }
    if (lpsi->fMask & SIF_POS) {
        state.nPos = lpsi->nPos;
    }
    state.nPos = state.Clamp(state.nPos);
    m_pContainer->SyncBar(nBar);
    return state.nPos;
}

BOOL CWnd::GetScrollInfo(int nBar, SCROLLINFO* lpsi, UINT nMask) {
    if (m_pContainer == nullptr) {
        return FALSE;
    }
    const ScrollState& state = m_pContainer->State(nBar);
    if (nMask & SIF_RANGE) {
        lpsi->nMin = state.nMin;
        lpsi->nMax = state.nMax;
    }
    if (nMask & SIF_PAGE) {
        lpsi->nPage = state.nPage;
    }
    if (nMask & SIF_POS) {
        lpsi->nPos = state.nPos;
    }
    if (nMask & SIF_TRACKPOS) {
        lpsi->nTrackPos = state.bTracking ? state.nTrackPos : state.nPos;
    }
    return TRUE;
}

int CWnd::SetScrollPos(int nBar, int nPos, BOOL) {
    if (m_pContainer == nullptr) {
        return 0;
    }
    ScrollState& state = m_pContainer->State(nBar);
    const int previous = state.nPos;
    state.nPos = state.Clamp(nPos);
    m_pContainer->SyncBar(nBar);
    return previous;
}

int CWnd::GetScrollPos(int nBar) const {
    return m_pContainer != nullptr ? m_pContainer->State(nBar).nPos : 0;
}

void CWnd::ScrollWindow(int dx, int dy, const RECT* lpRect, const RECT*) {
    if (m_hWnd == nullptr) {
        return;
    }
    if (lpRect != nullptr) {
        m_hWnd->scroll(dx, dy,
                       QRect(lpRect->left, lpRect->top, lpRect->right - lpRect->left,
                             lpRect->bottom - lpRect->top));
    } else {
        m_hWnd->scroll(dx, dy);
    }
}

BOOL CWnd::RedrawWindow(const RECT* lpRect, void*, UINT flags) {
    if (m_hWnd == nullptr) {
        return FALSE;
    }
    const QRect rect = lpRect != nullptr
                           ? QRect(lpRect->left, lpRect->top, lpRect->right - lpRect->left,
                                   lpRect->bottom - lpRect->top)
                           : m_hWnd->rect();
    if (flags & RDW_INVALIDATE) {
        m_hWnd->update(rect);
    }
    if (flags & RDW_UPDATENOW) {
        UpdateWindow();
    }
    return TRUE;
}

void CWnd::Invalidate(BOOL) {
    if (m_hWnd != nullptr) {
        m_hWnd->update();
    }
}

void CWnd::UpdateWindow() {
    if (m_hWnd != nullptr && m_hWnd->isVisible()) {
        QCoreApplication::sendPostedEvents(m_hWnd->window(), QEvent::UpdateRequest);
    }
}

HWND CWnd::GetDlgItem(int nID) const {
    return FindDialogItem(m_hWnd, UINT(nID));
}

BOOL CWnd::SubclassDlgItem(UINT nID, CWnd* pParent) {
    HWND control = pParent != nullptr ? pParent->GetDlgItem(int(nID)) : nullptr;
    if (control == nullptr || m_hWnd != nullptr) {
        return FALSE;
    }
    Attach(control);
    control->installEventFilter(new CWndPaintFilter(this, control));
    return TRUE;
}

void CWnd::DeliverScroll(int nBar, UINT nSBCode) {
    const ScrollState& state = m_pContainer->State(nBar);
    // The message carries only 16 bits of the thumb position.
    const UINT pos = (nSBCode == SB_THUMBPOSITION || nSBCode == SB_THUMBTRACK)
                         ? UINT(state.nTrackPos) & 0xFFFF
                         : 0;
    if (nBar == SB_VERT) {
        OnVScroll(nSBCode, pos, nullptr);
    } else {
        OnHScroll(nSBCode, pos, nullptr);
    }
}

void CWnd::OnSize(UINT, int, int) {}
void CWnd::OnHScroll(UINT, UINT, CScrollBar*) {}
void CWnd::OnVScroll(UINT, UINT, CScrollBar*) {}
void CWnd::DeliverPaint(const QPaintEvent& event) {
    const QRect r = event.rect();
    m_rcPaint = {r.left(), r.top(), r.right() + 1, r.bottom() + 1};
    OnPaint();
}

void CWnd::OnPaint() {}
void CWnd::OnKeyDown(UINT, UINT, UINT) {}
BOOL CWnd::OnMouseWheel(UINT, short, POINT) {
    return FALSE;
}
void CWnd::OnMouseHWheel(UINT, short, POINT) {}
void CWnd::OnMouseMove(UINT, POINT) {}

void CWnd::OnLButtonDown(UINT, POINT) {}

void CWnd::OnLButtonDblClk(UINT, POINT) {}

void CWnd::OnLButtonTripleClk(UINT, POINT) {}

void CWnd::OnLButtonUp(UINT, POINT) {}

void CWnd::SetTimer(UINT nIDEvent, UINT nElapse) {
    std::unique_ptr<QTimer>& timer = m_timers[nIDEvent];
    if (!timer) {
        timer = std::make_unique<QTimer>();
        QObject::connect(timer.get(), &QTimer::timeout, [this, nIDEvent] { OnTimer(nIDEvent); });
    }
    timer->start(int(nElapse));
}

void CWnd::KillTimer(UINT nIDEvent) {
    if (const auto timer = m_timers.find(nIDEvent); timer != m_timers.end()) {
        timer->second->stop();
    }
}

void CWnd::OnTimer(UINT) {}
void CWnd::OnMouseLeave() {}
