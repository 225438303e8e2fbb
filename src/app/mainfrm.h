// The main frame: menu, accelerators, toolbar, status bar and the find bar
// around the view.
#pragma once

#include "platform/ui/ui.h"

class CTAVOView;

class CMainFrame : public CFrameWnd {
public:
    CMainFrame();

    int OnCreate(LPCREATESTRUCT lpCreateStruct) override;
    // A command carried out replaces what the status bar said for the last.
    BOOL OnCmdMsg(UINT nID, CCmdUI* pCmdUI) override;

    CStatusBar m_wndStatusBar; // made before the toolbar, gone after it
    CToolBar m_wndToolBar;
    CDialogBar m_wndFindBar; // hidden until the find command

private:
    // Shows the find bar with its text selected.
    void OnEditFind();
    // The find bar's text again, on or back; the bar itself while it has none.
    void OnFindAgain(BOOL bForward);
    CTAVOView* GetTavoView() const;
};
