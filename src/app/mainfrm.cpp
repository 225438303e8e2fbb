#include "mainfrm.h"

#include "resources/resource.h"
#include "view/tavoview.h"

#include <iterator>

namespace {

const UINT INDICATORS[] = {
    ID_SEPARATOR, ID_INDICATOR_KANA, ID_INDICATOR_CAPS, ID_INDICATOR_NUM, ID_INDICATOR_SCRL,
};

} // namespace

CMainFrame::CMainFrame() {
    MapCommand(ID_EDIT_FIND, [this] { OnEditFind(); });
    MapCommand(ID_EDIT_FIND_NEXT, [this] { OnFindAgain(TRUE); });
    MapCommand(ID_EDIT_FIND_PREV, [this] { OnFindAgain(FALSE); });
    for (UINT id : {ID_EDIT_FIND, ID_EDIT_FIND_NEXT, ID_EDIT_FIND_PREV}) {
        MapUpdateCommandUI(id, [this](CCmdUI* pCmdUI) {
            pCmdUI->Enable(GetTavoView() != nullptr && GetTavoView()->HasText());
        });
    }
}

CTAVOView* CMainFrame::GetTavoView() const {
    return dynamic_cast<CTAVOView*>(GetActiveView());
}

BOOL CMainFrame::OnCmdMsg(UINT nID, CCmdUI* pCmdUI) {
    if (pCmdUI == nullptr) {
        SetMessageText(AFX_IDS_IDLEMESSAGE);
    }
    return CFrameWnd::OnCmdMsg(nID, pCmdUI);
}

void CMainFrame::OnEditFind() {
    ShowControlBar(&m_wndFindBar, TRUE, FALSE);
    m_wndFindBar.GotoDlgCtrl(IDC_FIND_TEXT);
}

void CMainFrame::OnFindAgain(BOOL bForward) {
    const std::string text = m_wndFindBar.GetDlgItemText(IDC_FIND_TEXT);
    if (text.empty()) {
        OnEditFind();
        return;
    }
    GetTavoView()->Find(text, m_wndFindBar.IsDlgButtonChecked(IDC_MATCH_CASE), bForward);
}

int CMainFrame::OnCreate(LPCREATESTRUCT lpCreateStruct) {
    if (CFrameWnd::OnCreate(lpCreateStruct) == -1) {
        return -1;
    }
    if (!m_wndToolBar.Create(this, WS_CHILD | WS_VISIBLE | CBRS_TOP, AFX_IDW_TOOLBAR) ||
        !m_wndToolBar.LoadToolBar(IDR_MAINFRAME)) {
        return -1;
    }
    if (!m_wndStatusBar.Create(this, WS_CHILD | WS_VISIBLE | CBRS_BOTTOM, AFX_IDW_STATUS_BAR) ||
        !m_wndStatusBar.SetIndicators(INDICATORS, int(std::size(INDICATORS)))) {
        return -1;
    }
    if (!m_wndFindBar.Create(this, IDD_FIND_BAR, CBRS_BOTTOM, AFX_IDW_DIALOGBAR)) {
        return -1;
    }
    m_wndToolBar.SetBarStyle(m_wndToolBar.GetBarStyle() | CBRS_TOOLTIPS | CBRS_FLYBY |
                             CBRS_SIZE_DYNAMIC);
    // The main window takes a toolbar on any of its sides by itself.
    m_wndToolBar.EnableDocking(CBRS_ALIGN_ANY);
    DockControlBar(&m_wndToolBar);
    return 0;
}
