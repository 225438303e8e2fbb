// Surfaces of a window: the paint surface handed to OnDraw, a surface for
// the client area that has the window's resolution, for measuring, and one
// for the whole screen.
#pragma once

#include "platform/gdi/gdi.h"
#include "platform/ui/wnd.h"

#include <memory>

struct PAINTSTRUCT {
    RECT rcPaint; // the part of the client area being painted
};

// Valid only inside OnPaint. Drawing is clipped to the part being painted,
// which tells the painter what it may leave out.
class CPaintDC : public CDC {
public:
    explicit CPaintDC(CWnd* pWnd);
    ~CPaintDC() override;

    PAINTSTRUCT m_ps;

private:
    std::unique_ptr<QPainter> m_pPainter;
};

// Measures with the client area's resolution; drawing on it shows nothing.
// Empty when the window does not exist yet.
class CClientDC : public CDC {
public:
    explicit CClientDC(CWnd* pWnd);
};

// Measures with the resolution of the window, or of the screen when pWnd is
// null; drawing on it shows nothing.
class CWindowDC : public CDC {
public:
    explicit CWindowDC(CWnd* pWnd);
};
