// The Qt widgets behind a CWnd: the client area, which forwards paint,
// key and wheel events, and the container that places it beside the two
// scroll bars and turns every action on a bar into a scroll code.
#pragma once

#include "platform/ui/wnd.h"

#include <QScrollBar>
#include <QWidget>

// The modifier flags and key codes the handlers take, of Qt's; 0 for a key
// no handler takes.
UINT ModifierFlags(Qt::KeyboardModifiers modifiers);
UINT VirtualKeyOf(int key);

struct ScrollState {
    int nMin = 0;
    int nMax = 0;
    UINT nPage = 0;
    int nPos = 0;
    int nTrackPos = 0;
    bool bTracking = false;

    // The largest position: the page's last row at nMax.
    int MaxPos() const;
    bool CoversRange() const;
    int Clamp(int nPos) const;
};

class CWndClient : public QWidget {
public:
    CWndClient(CWnd* pWnd, QWidget* pParent);

protected:
    void paintEvent(QPaintEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void leaveEvent(QEvent* event) override;

private:
    CWnd* m_pWnd;
    // The last double click, to tell a third click that follows it.
    quint64 m_nDoubleClickTime = 0;
    QPointF m_doubleClickAt;
    bool m_bDoubleClicked = false;
};

class CWndScrollBar : public QScrollBar {
public:
    CWndScrollBar(Qt::Orientation orientation, CWndWidget* pOwner);

protected:
    void mouseReleaseEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;

private:
    CWndWidget* m_pOwner;
};

class CWndWidget : public QWidget {
public:
    CWndWidget(CWnd* pWnd, QWidget* pParent);

    CWndClient* Client() const { return m_pClient; }
    ScrollState& State(int nBar) { return m_state[nBar]; }
    // Shows the state on the bar; shows or hides the bar as the range
    // needs, re-laying out the window when that changes the client area.
    void SyncBar(int nBar);
    DWORD BarStyle() const;
    void OnThumbPressed(int nBar);
    void OnBarAction(int nBar, int action);
    void OnBarReleased(int nBar, bool bWasDragging);
    void ForwardWheel(QWheelEvent* event);

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    int BarOf(const QScrollBar* pBar) const { return pBar == m_pBar[SB_VERT] ? SB_VERT : SB_HORZ; }
    void Layout();

    friend class CWndScrollBar;

    CWnd* m_pWnd;
    CWndClient* m_pClient;
    CWndScrollBar* m_pBar[2];
    QWidget* m_pCorner;
    ScrollState m_state[2];
    QSize m_clientSize{-1, -1};
    int m_nLayoutDepth = 0;
};
