#include "platform/ui/app.h"
#include "platform/ui/frame.h"
#include "platform/ui/loadmonitor.h"
#include "platform/ui/preview.h"
#include "platform/ui/resource.h"
#include "platform/ui/view.h"

#include "platform/core/document.h"

CSingleDocTemplate::CSingleDocTemplate(UINT nIDResource, DocumentFactory makeDocument,
                                       FrameFactory makeFrame, ViewFactory makeView)
    : m_nIDResource(nIDResource), m_makeDocument(std::move(makeDocument)),
      m_makeFrame(std::move(makeFrame)), m_makeView(std::move(makeView)) {}

CSingleDocTemplate::~CSingleDocTemplate() {
    // The view points at the document; the frame and its view go first.
    m_pFrame.reset();
    m_pDocument.reset();
    m_pLoadMonitor.reset();
}

std::string CSingleDocTemplate::GetDocString(int nField) const {
    return ExtractSubString(LoadString(m_nIDResource), nField);
}

BOOL CSingleDocTemplate::CreateFrameAndView() {
    m_pDocument.reset(m_makeDocument());
    m_pFrame.reset(m_makeFrame());
    if (!m_pFrame->LoadFrame(m_nIDResource)) {
        m_pFrame.reset();
        return FALSE;
    }
    m_pLoadMonitor = std::make_unique<CStatusBarLoadMonitor>(
        m_pFrame.get(), [this](CDocument* pFirstScreen) { ShowFirstScreen(pFirstScreen); });
    m_pDocument->m_pLoadMonitor = m_pLoadMonitor.get();
    CView* pView = m_makeView();
    pView->m_pDocument = m_pDocument.get();
    pView->Create(m_pFrame.get());
    m_pFrame->SetActiveView(pView);
    if (CWinApp* pApp = AfxGetApp(); pApp != nullptr && pApp->m_pMainWnd == nullptr) {
        pApp->m_pMainWnd = m_pFrame.get();
    }
    return TRUE;
}

void CSingleDocTemplate::ShowNewDocument() {
    m_pDocument->OnNewDocument();
    const std::string name = GetDocString(1);
    m_pDocument->SetTitle(name.empty() ? LoadString(AFX_IDS_UNTITLED) : name);
}

void CSingleDocTemplate::ShowFirstScreen(CDocument* pFirstScreen) {
    CView* pView = m_pFrame->GetActiveView();
    if (pFirstScreen == nullptr) {
        pView->m_pDocument = m_pDocument.get();
        return;
    }
    m_ptBeforeFirstScreen = {pView->GetScrollPos(SB_HORZ), pView->GetScrollPos(SB_VERT)};
    pView->m_pDocument = pFirstScreen;
    pView->SetScrollPos(SB_HORZ, 0, FALSE);
    pView->SetScrollPos(SB_VERT, 0, FALSE);
    pView->OnInitialUpdate();
}

CDocument* CSingleDocTemplate::OpenDocumentFile(const char* lpszPathName, CFileException* pError) {
    const bool firstDocument = !m_pFrame;
    if (firstDocument && !CreateFrameAndView()) {
        return nullptr;
    }
    // A preview shows pages of the document on screen: it ends before
    // another document can take its place.
    if (CPreviewView* pPreview = m_pFrame->GetActiveView()->GetPreview()) {
        pPreview->Close();
    }
    // The window is there before a long load, to show how far it has come,
    // unless the program runs without one (printing from the command line).
    const CWinApp* pApp = AfxGetApp();
    const BOOL bShow = pApp == nullptr || pApp->m_nCmdShow != SW_HIDE;
    m_pFrame->ShowWindow(bShow);
    bool opened = true;
    m_ptBeforeFirstScreen = {-1, -1};
    if (lpszPathName == nullptr) {
        ShowNewDocument();
    } else if (m_pDocument->OnOpenDocument(lpszPathName, pError)) {
        m_pDocument->SetPathName(lpszPathName);
    } else if (!firstDocument) {
        // A file that cannot be opened changes nothing on screen; a first
        // screen shown of it gives way to the document where it stood.
        if (m_ptBeforeFirstScreen.y >= 0) {
            CView* pView = m_pFrame->GetActiveView();
            pView->OnInitialUpdate();
            pView->SetScrollPos(SB_HORZ, m_ptBeforeFirstScreen.x, FALSE);
            pView->SetScrollPos(SB_VERT, m_ptBeforeFirstScreen.y, FALSE);
            pView->Invalidate();
        }
        return nullptr;
    } else {
        ShowNewDocument();
        opened = false;
    }
    m_pFrame->OnUpdateFrameTitle();
    m_pFrame->GetActiveView()->OnInitialUpdate();
    return opened ? m_pDocument.get() : nullptr;
}
