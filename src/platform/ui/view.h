// The view base: a window that shows a document, painted through OnDraw,
// told of changes through OnUpdate.
#pragma once

#include "platform/ui/wnd.h"

class CDC;
class CDocument;

class CView : public CWnd {
public:
    CDocument* GetDocument() const { return m_pDocument; }

    // Paints the client area; the framework calls it on a paint surface.
    virtual void OnDraw(CDC* pDC) = 0;
    // The document changed; the base invalidates the whole view.
    virtual void OnUpdate(CView* pSender, LPARAM lHint, CObject* pHint);
    // A document was opened or made new; the base calls OnUpdate(nullptr, 0, nullptr).
    virtual void OnInitialUpdate();

    // Printing comes with its own handlers; until then these do nothing.
    void OnFilePrint() {}
    void OnFilePrintPreview() {}

    // Routes on to the document when the document is a command target.
    BOOL OnCmdMsg(UINT nID, CCmdUI* pCmdUI) override;

    void OnPaint() override;

private:
    friend class CSingleDocTemplate;

    CDocument* m_pDocument = nullptr;
};
