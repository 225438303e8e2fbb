// The view base: a window that shows a document, painted through OnDraw,
// told of changes through OnUpdate.
#pragma once

#include "platform/ui/wnd.h"

#include <memory>

class CDC;
class CDocument;
class CFrameWnd;
class CPreviewView;
class CPrintInfo;

class CView : public CWnd {
public:
    CView();
    ~CView() override;

    CDocument* GetDocument() const { return m_pDocument; }
    // The frame that shows the view, or null.
    CFrameWnd* GetParentFrame() const { return m_pParentFrame; }

    // Paints the client area; the framework calls it on a paint surface.
    virtual void OnDraw(CDC* pDC) = 0;
    // The document changed; the base invalidates the whole view.
    virtual void OnUpdate(CView* pSender, LPARAM lHint, CObject* pHint);
    // A document was opened or made new; the base calls OnUpdate(nullptr, 0, nullptr).
    virtual void OnInitialUpdate();

    // Printing, in the order a job or a preview calls them: once before
    // (nonzero to go on), once with the printer's surface, once for each
    // page, once after. The base prepares with DoPreparePrinting and prints
    // a page with OnDraw.
    virtual BOOL OnPreparePrinting(CPrintInfo* pInfo);
    virtual void OnBeginPrinting(CDC* pDC, CPrintInfo* pInfo);
    virtual void OnPrint(CDC* pDC, CPrintInfo* pInfo);
    virtual void OnEndPrinting(CDC* pDC, CPrintInfo* pInfo);
    // For print, the print dialog; for direct print and preview, the
    // application's printer without a dialog. 0 when the user cancels or
    // there is no printer.
    BOOL DoPreparePrinting(CPrintInfo* pInfo);
    // The print command (with the dialog) and the direct print command.
    void OnFilePrint();
    void OnFilePrintPreview();
    // The preview while it is shown, else null.
    CPreviewView* GetPreview() const;

    // While the document loads and the view shows its first screen, the
    // keys it can answer from that screen; the others wait for the whole.
    virtual BOOL AnswersKeyWhileLoading(UINT nChar, UINT nFlags) const;

    // Routes on to the document when the document is a command target.
    BOOL OnCmdMsg(UINT nID, CCmdUI* pCmdUI) override;

    void OnPaint() override;

private:
    friend class CSingleDocTemplate;
    friend class CFrameWnd;

    CDocument* m_pDocument = nullptr;
    CFrameWnd* m_pParentFrame = nullptr;
    // Made by the first preview and kept for the next.
    std::unique_ptr<CPreviewView> m_pPreview;
};
