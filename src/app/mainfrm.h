// The main frame: menu, accelerators, toolbar and status bar around the view.
#pragma once

#include "platform/ui/ui.h"

class CMainFrame : public CFrameWnd {
public:
    int OnCreate(LPCREATESTRUCT lpCreateStruct) override;

    CStatusBar m_wndStatusBar; // made before the toolbar, gone after it
    CToolBar m_wndToolBar;
};
