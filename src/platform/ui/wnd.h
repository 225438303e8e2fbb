// The program's windows on Qt widgets: command routing, the client area, the two scroll
// bars with their position rules, scrolling and redrawing.
#pragma once

#include "platform/core/wintypes.h"

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <string>

class QWidget;
class QPaintEvent;
class QScrollBar;
class QTimer;

using WPARAM = std::uintptr_t;
using LPARAM = std::intptr_t;
using LRESULT = std::intptr_t;
using HWND = QWidget*;

struct SCROLLINFO {
    UINT cbSize;
    UINT fMask;
    int nMin;
    int nMax;
    UINT nPage;
    int nPos;
    int nTrackPos;
};

constexpr UINT SIF_RANGE = 0x01;
constexpr UINT SIF_PAGE = 0x02;
constexpr UINT SIF_POS = 0x04;
constexpr UINT SIF_TRACKPOS = 0x10;
constexpr UINT SIF_ALL = SIF_RANGE | SIF_PAGE | SIF_POS | SIF_TRACKPOS;

constexpr int SB_HORZ = 0;
constexpr int SB_VERT = 1;

constexpr UINT SB_LINEUP = 0;
constexpr UINT SB_LINELEFT = 0;
constexpr UINT SB_LINEDOWN = 1;
constexpr UINT SB_LINERIGHT = 1;
constexpr UINT SB_PAGEUP = 2;
constexpr UINT SB_PAGELEFT = 2;
constexpr UINT SB_PAGEDOWN = 3;
constexpr UINT SB_PAGERIGHT = 3;
constexpr UINT SB_THUMBPOSITION = 4;
constexpr UINT SB_THUMBTRACK = 5;
constexpr UINT SB_TOP = 6;
constexpr UINT SB_LEFT = 6;
constexpr UINT SB_BOTTOM = 7;
constexpr UINT SB_RIGHT = 7;
constexpr UINT SB_ENDSCROLL = 8;

constexpr UINT RDW_INVALIDATE = 0x0001;
constexpr UINT RDW_ERASE = 0x0004;
constexpr UINT RDW_UPDATENOW = 0x0100;

constexpr UINT SIZE_RESTORED = 0;

constexpr DWORD WS_HSCROLL = 0x00100000;
constexpr DWORD WS_VSCROLL = 0x00200000;

constexpr int SM_CXVSCROLL = 2;

// SM_CXVSCROLL: the width of a vertical scroll bar; 0 for anything else.
int GetSystemMetrics(int nIndex);

// Virtual-key codes of the keys the window layer reports.
constexpr UINT VK_BACK = 0x08;
constexpr UINT VK_PRIOR = 0x21;
constexpr UINT VK_NEXT = 0x22;
constexpr UINT VK_END = 0x23;
constexpr UINT VK_HOME = 0x24;
constexpr UINT VK_LEFT = 0x25;
constexpr UINT VK_UP = 0x26;
constexpr UINT VK_RIGHT = 0x27;
constexpr UINT VK_DOWN = 0x28;
constexpr UINT VK_INSERT = 0x2D;
constexpr UINT VK_DELETE = 0x2E;
constexpr UINT VK_F3 = 0x72;
constexpr UINT VK_F6 = 0x75;
constexpr UINT VK_F8 = 0x77;

// Modifier bits of the nFlags that key and wheel handlers receive.
constexpr UINT MK_SHIFT = 0x0004;
constexpr UINT MK_CONTROL = 0x0008;
constexpr UINT MK_LBUTTON = 0x0001;

constexpr short WHEEL_DELTA = 120;

class CObject {
public:
    virtual ~CObject() = default;
};

// A scroll-bar control. The window's own bars are not controls: their
// handlers receive a null pointer.
class CScrollBar;

// The state a command shows in menus and on toolbars, filled in by an
// update handler.
class CCmdUI {
public:
    explicit CCmdUI(UINT nID) : m_nID(nID) {}

    void Enable(BOOL bOn = TRUE) { m_bEnabled = bOn; }
    void SetCheck(int nCheck = 1) {
        m_nCheck = nCheck;
        m_bCheckable = true;
    }

    UINT m_nID;
    BOOL m_bEnabled = TRUE;
    int m_nCheck = 0;
    bool m_bCheckable = false; // the handler sets a check mark
};

// Command routing. OnCmdMsg(nID, pCmdUI) with pCmdUI set asks for the
// command's state (the update handler calls Enable / SetCheck; a command with
// a handler and no update handler is enabled); with pCmdUI null it carries
// the command out. It returns TRUE when this target, or one it routes on to,
// handles nID. Targets map their handlers with MapCommand and
// MapUpdateCommandUI (in their constructors); override OnCmdMsg only to
// route on, calling the base first.
class CCmdTarget : public CObject {
public:
    virtual BOOL OnCmdMsg(UINT nID, CCmdUI* pCmdUI);

protected:
    // The command whose handler is running, or 0.
    static UINT GetCurrentCommand();

    void MapCommand(UINT nID, std::function<void()> handler);
    // One handler for the ids first..last, told which id was chosen.
    void MapCommandRange(UINT nFirst, UINT nLast, std::function<void(UINT)> handler);
    void MapUpdateCommandUI(UINT nID, std::function<void(CCmdUI*)> handler);

private:
    std::map<UINT, std::function<void(UINT)>> m_commands;
    std::map<UINT, std::function<void(CCmdUI*)>> m_updates;
};

class CWndWidget;

// A window: a client area on a Qt widget, optionally framed by the two
// scroll bars. The bars never move by themselves: every user action on a
// bar arrives at OnHScroll / OnVScroll as a scroll code, and only
// SetScrollInfo / SetScrollPos move the thumb.
class CWnd : public CCmdTarget {
public:
    CWnd();
    CWnd(const CWnd&) = delete;
    CWnd& operator=(const CWnd&) = delete;
    ~CWnd() override;

    // Makes the window as a child of pParent (top-level when null), with its
    // client area and both bars, the bars hidden until a range needs them.
    virtual BOOL Create(CWnd* pParent);
    // The client-area widget; null before the window exists.
    HWND GetSafeHwnd() const { return m_hWnd; }
    // The outermost widget: client area, bars and whatever frames them.
    QWidget* GetOuterWidget() const;

    void GetClientRect(RECT* lpRect) const;
    // WS_VSCROLL and WS_HSCROLL while the window's bars are shown.
    DWORD GetStyle() const;
    void ShowWindow(BOOL bShow);

    // Sets range, page and/or position. The position is kept inside
    // nMin .. nMax - nPage + 1 and the bar is hidden while the page covers
    // the whole range. Returns the new position.
    int SetScrollInfo(int nBar, SCROLLINFO* lpsi, BOOL bRedraw = TRUE);
    // nTrackPos is the thumb's 32-bit position while it is dragged, else
    // the position.
    BOOL GetScrollInfo(int nBar, SCROLLINFO* lpsi, UINT nMask = SIF_ALL);
    // Stores a position, kept inside the range; returns the previous one.
    int SetScrollPos(int nBar, int nPos, BOOL bRedraw = TRUE);
    int GetScrollPos(int nBar) const;

    // Moves the pixels already shown by dx, dy and invalidates only the
    // strip that is uncovered.
    void ScrollWindow(int dx, int dy, const RECT* lpRect = nullptr, const RECT* lpClip = nullptr);
    // With RDW_UPDATENOW the window is painted before this returns.
    BOOL RedrawWindow(const RECT* lpRect = nullptr, void* prgnUpdate = nullptr,
                      UINT flags = RDW_INVALIDATE | RDW_UPDATENOW | RDW_ERASE);
    void Invalidate(BOOL bErase = TRUE);
    // Paints what is invalid now instead of at the next turn of the loop.
    void UpdateWindow();

    // Message handlers; the base handlers do nothing.
    virtual void OnSize(UINT nType, int cx, int cy);
    virtual void OnHScroll(UINT nSBCode, UINT nPos, CScrollBar* pScrollBar);
    virtual void OnVScroll(UINT nSBCode, UINT nPos, CScrollBar* pScrollBar);
    virtual void OnPaint();
    // nFlags carries MK_SHIFT / MK_CONTROL.
    virtual void OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags);
    // zDelta in multiples of WHEEL_DELTA per notch, positive away from the user.
    virtual BOOL OnMouseWheel(UINT nFlags, short zDelta, POINT pt);
    // zDelta positive for a tilt to the right.
    virtual void OnMouseHWheel(UINT nFlags, short zDelta, POINT pt);
    // The pointer moved over the client area, to pt in client coordinates;
    // it left the client area.
    virtual void OnMouseMove(UINT nFlags, POINT point);
    virtual void OnMouseLeave();
    // The left button went down, once, twice or three times in quick
    // succession at one place, and came up; while it is held the window
    // keeps the mouse and moves carry MK_LBUTTON.
    virtual void OnLButtonDown(UINT nFlags, POINT point);
    virtual void OnLButtonDblClk(UINT nFlags, POINT point);
    virtual void OnLButtonTripleClk(UINT nFlags, POINT point);
    virtual void OnLButtonUp(UINT nFlags, POINT point);

    // Calls OnTimer(nIDEvent) every nElapse milliseconds, from the message
    // loop, until KillTimer; setting a running timer again restarts it.
    void SetTimer(UINT nIDEvent, UINT nElapse);
    void KillTimer(UINT nIDEvent);
    virtual void OnTimer(UINT nIDEvent);

    // The control nID of this dialog, or null.
    HWND GetDlgItem(int nID) const;
    // The text of control nID (a label, button, edit field or group box);
    // empty for any other.
    std::string GetDlgItemText(int nID) const;
    void SetDlgItemText(int nID, const std::string& text);
    // 1 when check box nID is ticked, else 0.
    UINT IsDlgButtonChecked(int nID) const;
    // Takes over the control nID of the dialog pParent: from now on this
    // window's OnPaint paints it, instead of the control itself. The
    // control stays the dialog's and goes with it.
    BOOL SubclassDlgItem(UINT nID, CWnd* pParent);

    // The part of the client area being painted; valid inside OnPaint.
    const RECT& GetPaintRect() const { return m_rcPaint; }

protected:
    // Adopts an existing widget as the client area (frames, bars, dialogs).
    void Attach(QWidget* pWidget);

    HWND m_hWnd = nullptr;

private:
    friend class CWndWidget;
    friend class CWndClient;
    friend class CWndPaintFilter;

    // Forgets the widgets when Qt destroys them first (with their parent).
    void WatchOuterWidget();

    void DeliverPaint(const QPaintEvent& event);
    void DeliverScroll(int nBar, UINT nSBCode);

    CWndWidget* m_pContainer = nullptr;
    RECT m_rcPaint = {0, 0, 0, 0};
    std::map<UINT, std::unique_ptr<QTimer>> m_timers;
};
