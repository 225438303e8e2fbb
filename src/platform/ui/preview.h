// The print preview: the pages of a job on screen, in the frame in place of
// the view, with a bar of its own. Only the pages in sight are drawn, each
// time they are painted, so a job of any length opens at once. While it is
// shown the frame's menu, toolbars and keys rest, and closing the frame
// closes the preview.
#pragma once

#include "platform/ui/wnd.h"

#include <QPointer>

#include <memory>
#include <string>
#include <vector>

class CFrameWnd;
class CPrintInfo;
class CView;
class QPainter;
class QPushButton;
class QLabel;
class QObject;
class QRectF;
class QShortcut;
class QToolBar;

class CPreviewView : public CWnd {
public:
    explicit CPreviewView(CView* pPrintView);
    ~CPreviewView() override;

    // Begins the job on the application's printer and shows its first page
    // in the frame.
    BOOL Open(CFrameWnd* pFrame, std::unique_ptr<CPrintInfo> pInfo);
    // Ends the job and puts the view back in the frame.
    void Close();
    BOOL IsOpen() const { return m_pInfo != nullptr; }

    // Pages are counted from 1; a job without pages shows one blank sheet.
    UINT GetPageCount() const;
    // 1 or 2 side by side.
    int GetPagesShown() const;
    // The bar's button for a command, or null.
    QPushButton* GetButton(UINT nID) const;

    void OnPaint() override;
    void OnSize(UINT nType, int cx, int cy) override;
    void OnHScroll(UINT nSBCode, UINT nPos, CScrollBar* pScrollBar) override;
    void OnVScroll(UINT nSBCode, UINT nPos, CScrollBar* pScrollBar) override;
    void OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags) override;
    BOOL OnMouseWheel(UINT nFlags, short zDelta, POINT pt) override;

private:
    class CloseFilter;

    // What the preview changed in the frame, to give back.
    struct FrameState {
        bool bMenuBar = false;
        std::vector<QPointer<QToolBar>> bars;
        std::vector<QPointer<QShortcut>> keys;
    };

    void BuildBar();
    void EnterFrame();
    void LeaveFrame();
    void ShowPage(UINT nPage);
    void SetZoom(int nZoom);
    void OnNumPage();
    void OnPreviewPrint();
    void UpdateBar();
    void UpdateScrollRanges();
    void Scroll(int nBar, UINT nSBCode);
    int ScrollStep(int nBar, UINT nSBCode, int nLine);

    double Scale() const;
    QRectF SheetRect(int nIndex, double scale) const;
    void PaintPage(QPainter& painter, UINT nPage, const QRectF& sheet, double scale);

    CView* m_pPrintView;
    CFrameWnd* m_pFrame = nullptr;
    std::unique_ptr<CPrintInfo> m_pInfo;
    UINT m_nCurrentPage = 1;
    bool m_bTwoPages = false;
    int m_nZoom = 0;
    QPointer<QToolBar> m_pBar;
    QLabel* m_pPageText = nullptr;
    QShortcut* m_pEscape = nullptr;
    std::unique_ptr<CloseFilter> m_pCloseFilter;
    FrameState m_saved;
};
