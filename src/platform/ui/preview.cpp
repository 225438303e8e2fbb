#include "platform/ui/preview.h"

#include "platform/gdi/gdi.h"
#include "platform/ui/app.h"
#include "platform/ui/frame.h"
#include "platform/ui/print.h"
#include "platform/ui/resource.h"
#include "platform/ui/scrollstep.h"
#include "platform/ui/view.h"

#include <QCloseEvent>
#include <QLabel>
#include <QMainWindow>
#include <QMenuBar>
#include <QPainter>
#include <QPrinter>
#include <QPushButton>
#include <QShortcut>
#include <QToolBar>

#include <algorithm>
#include <cmath>

namespace {

constexpr int GAP = 8;        // between the sheets and around them, in screen pixels
constexpr int SHADOW = 3;     // the sheet's shadow
constexpr int ZOOM_LINE = 32; // a line of scrolling when zoomed
constexpr int MAX_ZOOM = 2;
const QColor WORKSPACE(128, 128, 128);

QString Text(const std::string& text) {
    return QString::fromStdString(text);
}

QPrinter* Printer() {
    return AfxGetApp()->GetPrinter();
}

// The sheet and its printable area in the printer's pixels, the printable
// area relative to the sheet.
QRect SheetPixels() {
    return Printer()->paperRect(QPrinter::DevicePixel).toRect();
}

QRect PrintablePixels() {
    return Printer()->pageRect(QPrinter::DevicePixel).toRect();
}

} // namespace

// Closing the frame while the preview shows closes the preview.
class CPreviewView::CloseFilter : public QObject {
public:
    explicit CloseFilter(CPreviewView* pPreview) : m_pPreview(pPreview) {}

    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() != QEvent::Close || !m_pPreview->IsOpen()) {
            return false;
        }
        event->ignore();
        m_pPreview->Close();
        return true;
    }

private:
    CPreviewView* m_pPreview;
};

CPreviewView::CPreviewView(CView* pPrintView)
    : m_pPrintView(pPrintView), m_pCloseFilter(std::make_unique<CloseFilter>(this)) {
    MapCommand(AFX_ID_PREVIEW_PRINT, [this] { OnPreviewPrint(); });
    MapCommand(AFX_ID_PREVIEW_NEXT, [this] { ShowPage(m_nCurrentPage + 1); });
    MapCommand(AFX_ID_PREVIEW_PREV, [this] { ShowPage(m_nCurrentPage - 1); });
    MapCommand(AFX_ID_PREVIEW_NUMPAGE, [this] { OnNumPage(); });
    MapCommand(AFX_ID_PREVIEW_ZOOMIN, [this] { SetZoom(m_nZoom + 1); });
    MapCommand(AFX_ID_PREVIEW_ZOOMOUT, [this] { SetZoom(m_nZoom - 1); });
    MapCommand(AFX_ID_PREVIEW_CLOSE, [this] { Close(); });
}

CPreviewView::~CPreviewView() {
    // Only the widgets go back: the view is being destroyed already.
    if (IsOpen()) {
        LeaveFrame();
    }
    delete m_pBar;
}

BOOL CPreviewView::Open(CFrameWnd* pFrame, std::unique_ptr<CPrintInfo> pInfo) {
    if (pFrame == nullptr || pFrame->GetMainWindow() == nullptr || IsOpen()) {
        return FALSE;
    }
    if (m_pFrame == nullptr) {
        m_pFrame = pFrame;
        Create(pFrame);
        m_pEscape =
            new QShortcut(QKeySequence(Qt::Key_Escape), GetOuterWidget(), [this] { Close(); });
        BuildBar();
    }
    m_pInfo = std::move(pInfo);
    CDC dc;
    dc.CreateIC(Printer());
    m_pPrintView->OnBeginPrinting(&dc, m_pInfo.get());
    m_nCurrentPage = 1;
    m_nZoom = 0;
    EnterFrame();
    UpdateBar();
    UpdateScrollRanges();
    Invalidate();
    return TRUE;
}

void CPreviewView::Close() {
    if (!IsOpen()) {
        return;
    }
    CDC dc;
    dc.CreateIC(Printer());
    m_pPrintView->OnEndPrinting(&dc, m_pInfo.get());
    LeaveFrame();
    m_pInfo.reset();
}

UINT CPreviewView::GetPageCount() const {
    return m_pInfo ? std::max<UINT>(m_pInfo->GetMaxPage(), 1) : 0;
}

int CPreviewView::GetPagesShown() const {
    return m_bTwoPages && m_nZoom == 0 && m_nCurrentPage < GetPageCount() ? 2 : 1;
}

QPushButton* CPreviewView::GetButton(UINT nID) const {
    if (!m_pBar) {
        return nullptr;
    }
    for (QPushButton* button : m_pBar->findChildren<QPushButton*>()) {
        if (button->property("commandId").toUInt() == nID) {
            return button;
        }
    }
    return nullptr;
}

// ---- the frame ----

// The bar is the dialog template's buttons in a row, each with its prompt
// and tooltip; the close button's prompt is the preview's own close string.
void CPreviewView::BuildBar() {
    QMainWindow* window = m_pFrame->GetMainWindow();
    m_pBar = new QToolBar(window);
    m_pBar->setObjectName(QStringLiteral("previewBar"));
    m_pBar->setMovable(false);
    m_pBar->setFloatable(false);
    m_pBar->setContextMenuPolicy(Qt::PreventContextMenu);
    const CResourceTable* resources = AfxGetResourceHandle();
    const DLGTEMPLATE* bar = resources ? resources->FindDialog(AFX_IDD_PREVIEW_TOOLBAR) : nullptr;
    for (int i = 0; bar != nullptr && i < bar->nItems; ++i) {
        const DLGITEMTEMPLATE& item = bar->pItems[i];
        auto* button = new QPushButton(QString::fromUtf8(item.pszText), m_pBar);
        // The keys stay with the pages.
        button->setFocusPolicy(Qt::NoFocus);
        button->setProperty("commandId", item.nID);
        const UINT prompt = item.nID == AFX_ID_PREVIEW_CLOSE ? AFX_IDS_PREVIEW_CLOSE : item.nID;
        button->setStatusTip(Text(ExtractSubString(LoadString(prompt), 0)));
        button->setToolTip(Text(ExtractSubString(LoadString(prompt), 1)));
        const UINT id = item.nID;
        QObject::connect(button, &QPushButton::clicked, m_pBar,
                         [this, id] { OnCmdMsg(id, nullptr); });
        m_pBar->addWidget(button);
    }
    m_pPageText = new QLabel(m_pBar);
    m_pPageText->setContentsMargins(GAP, 0, GAP, 0);
    m_pBar->addWidget(m_pPageText);
    m_pBar->hide();
    window->addToolBar(Qt::TopToolBarArea, m_pBar);
}

// Puts the preview in the view's place and rests what belongs to the view:
// the menu, the toolbars and the keys.
void CPreviewView::EnterFrame() {
    QMainWindow* window = m_pFrame->GetMainWindow();
    m_saved = {};
    m_saved.bMenuBar = !window->menuBar()->isHidden();
    window->menuBar()->hide();
    for (QToolBar* bar : window->findChildren<QToolBar*>()) {
        if (bar != m_pBar && !bar->isHidden()) {
            m_saved.bars.emplace_back(bar);
            bar->hide();
        }
    }
    for (QShortcut* key : window->findChildren<QShortcut*>()) {
        if (key != m_pEscape && key->isEnabled()) {
            m_saved.keys.emplace_back(key);
            key->setEnabled(false);
        }
    }
    QWidget* view = window->takeCentralWidget();
    view->setParent(window); // kept, hidden, until the preview closes
    window->setCentralWidget(GetOuterWidget());
    GetOuterWidget()->show();
    m_pBar->show();
    window->installEventFilter(m_pCloseFilter.get());
    GetSafeHwnd()->setFocus();
}

void CPreviewView::LeaveFrame() {
    QMainWindow* window = m_pFrame->GetMainWindow();
    QWidget* view = m_pPrintView->GetOuterWidget();
    if (window == nullptr || view == nullptr) {
        return;
    }
    window->removeEventFilter(m_pCloseFilter.get());
    QWidget* preview = window->takeCentralWidget();
    if (preview != nullptr) {
        preview->setParent(window);
        preview->hide();
    }
    window->setCentralWidget(view);
    view->show();
    if (m_pBar) {
        m_pBar->hide();
    }
    window->menuBar()->setVisible(m_saved.bMenuBar);
    for (const QPointer<QToolBar>& bar : m_saved.bars) {
        if (bar) {
            bar->show();
        }
    }
    for (const QPointer<QShortcut>& key : m_saved.keys) {
        if (key) {
            key->setEnabled(true);
        }
    }
    if (m_pPrintView->GetSafeHwnd() != nullptr) {
        m_pPrintView->GetSafeHwnd()->setFocus();
    }
}

// ---- commands ----

void CPreviewView::ShowPage(UINT nPage) {
    const UINT page = std::clamp<UINT>(nPage, 1, GetPageCount());
    if (page == m_nCurrentPage) {
        return;
    }
    m_nCurrentPage = page;
    SetScrollPos(SB_VERT, m_nZoom == 0 ? int(page - 1) : 0);
    UpdateBar();
    Invalidate();
}

void CPreviewView::SetZoom(int nZoom) {
    const int zoom = std::clamp(nZoom, 0, MAX_ZOOM);
    if (zoom == m_nZoom) {
        return;
    }
    m_nZoom = zoom;
    SetScrollPos(SB_HORZ, 0);
    SetScrollPos(SB_VERT, 0);
    UpdateScrollRanges();
    UpdateBar();
    Invalidate();
}

void CPreviewView::OnNumPage() {
    m_bTwoPages = !m_bTwoPages;
    UpdateBar();
    Invalidate();
}

void CPreviewView::OnPreviewPrint() {
    Close();
    m_pFrame->ExecuteCommand(ID_FILE_PRINT);
}

void CPreviewView::UpdateBar() {
    const UINT count = GetPageCount();
    const auto enable = [this](UINT nID, bool bOn) {
        if (QPushButton* button = GetButton(nID)) {
            button->setEnabled(bOn);
        }
    };
    enable(AFX_ID_PREVIEW_NEXT, m_nCurrentPage + GetPagesShown() - 1 < count);
    enable(AFX_ID_PREVIEW_PREV, m_nCurrentPage > 1);
    enable(AFX_ID_PREVIEW_NUMPAGE, m_nZoom == 0);
    enable(AFX_ID_PREVIEW_ZOOMIN, m_nZoom < MAX_ZOOM);
    enable(AFX_ID_PREVIEW_ZOOMOUT, m_nZoom > 0);
    if (QPushButton* button = GetButton(AFX_ID_PREVIEW_NUMPAGE)) {
        button->setText(Text(LoadString(m_bTwoPages ? AFX_IDS_ONEPAGE : AFX_IDS_TWOPAGE)));
    }
    const std::string pages = LoadString(AFX_IDS_PREVIEWPAGEDESC);
    const QString text =
        GetPagesShown() == 1
            ? Text(ExtractSubString(pages, 0)).arg(m_nCurrentPage)
            : Text(ExtractSubString(pages, 1)).arg(m_nCurrentPage).arg(m_nCurrentPage + 1);
    m_pPageText->setText(text);
}

// ---- geometry and scrolling ----

// Whole pages fit the window; zoomed, the page grows towards its printed
// size on this screen, and at least twice and four times the fit.
double CPreviewView::Scale() const {
    RECT client;
    GetClientRect(&client);
    const QSize sheet = SheetPixels().size();
    const int across = m_nZoom == 0 ? GetPagesShown() : 1;
    const double fitWidth =
        double(client.right - (across + 1) * GAP) / std::max(across * sheet.width(), 1);
    const double fitHeight = double(client.bottom - 2 * GAP) / std::max(sheet.height(), 1);
    const double fit = std::max(std::min(fitWidth, fitHeight), 0.001);
    if (m_nZoom == 0) {
        return fit;
    }
    const double printed = double(GetSafeHwnd()->logicalDpiY()) / Printer()->resolution();
    const double largest = std::max(printed, 4 * fit);
    return m_nZoom == MAX_ZOOM ? largest : std::sqrt(fit * largest);
}

// Whole pages stand side by side in the middle; a zoomed page starts at the
// scroll position, or in the middle while it is narrower than the window.
QRectF CPreviewView::SheetRect(int nIndex, double scale) const {
    RECT client;
    GetClientRect(&client);
    const QSizeF sheet = QSizeF(SheetPixels().size()) * scale;
    if (m_nZoom == 0) {
        const int across = GetPagesShown();
        const double width = across * sheet.width() + (across - 1) * GAP;
        const double left = (client.right - width) / 2 + nIndex * (sheet.width() + GAP);
        return QRectF(QPointF(left, (client.bottom - sheet.height()) / 2), sheet);
    }
    const auto origin = [](int nWindow, double size, int nPos) {
        return size + 2 * GAP <= nWindow ? (nWindow - size) / 2 : GAP - nPos;
    };
    return QRectF(QPointF(origin(client.right, sheet.width(), GetScrollPos(SB_HORZ)),
                          origin(client.bottom, sheet.height(), GetScrollPos(SB_VERT))),
                  sheet);
}

// Whole pages scroll a page at a time; a zoomed page scrolls by pixels.
void CPreviewView::UpdateScrollRanges() {
    SCROLLINFO vert{};
    SCROLLINFO horz{};
    vert.fMask = horz.fMask = SIF_RANGE | SIF_PAGE;
    if (m_nZoom == 0 || !IsOpen()) {
        vert.nMax = int(std::min<UINT>(GetPageCount(), INT_MAX)) - 1;
        vert.nPage = 1;
    } else {
        RECT client;
        GetClientRect(&client);
        const QSizeF sheet = QSizeF(SheetPixels().size()) * Scale();
        vert.nMax = int(sheet.height()) + 2 * GAP - 1;
        vert.nPage = UINT(std::max(client.bottom, LONG(1)));
        horz.nMax = int(sheet.width()) + 2 * GAP - 1;
        horz.nPage = UINT(std::max(client.right, LONG(1)));
    }
    SetScrollInfo(SB_VERT, &vert);
    SetScrollInfo(SB_HORZ, &horz);
    if (m_nZoom == 0) {
        SetScrollPos(SB_VERT, int(m_nCurrentPage - 1));
    }
}

// The new position of a bar for a scroll code, nLine a line's step; a page
// keeps a line of the last in sight.
int CPreviewView::ScrollStep(int nBar, UINT nSBCode, int nLine) {
    SCROLLINFO info{};
    GetScrollInfo(nBar, &info);
    const int page = std::max<int>(int(info.nPage) - nLine, nLine);
    return ScrollStepPosition(info, nSBCode, nLine, page).value_or(info.nPos);
}

void CPreviewView::OnVScroll(UINT nSBCode, UINT, CScrollBar*) {
    Scroll(SB_VERT, nSBCode);
}

void CPreviewView::OnHScroll(UINT nSBCode, UINT, CScrollBar*) {
    Scroll(SB_HORZ, nSBCode);
}

// Whole pages turn a page a step, whichever way they are asked to; a
// zoomed page moves by pixels.
void CPreviewView::Scroll(int nBar, UINT nSBCode) {
    if (!IsOpen() || nSBCode == SB_ENDSCROLL) {
        return;
    }
    if (m_nZoom == 0) {
        const UINT code = nSBCode == SB_PAGEUP     ? SB_LINEUP
                          : nSBCode == SB_PAGEDOWN ? SB_LINEDOWN
                                                   : nSBCode;
        ShowPage(UINT(std::max(ScrollStep(SB_VERT, code, 1), 0)) + 1);
        return;
    }
    SetScrollPos(nBar, ScrollStep(nBar, nSBCode, ZOOM_LINE));
    Invalidate();
}

void CPreviewView::OnKeyDown(UINT nChar, UINT, UINT nFlags) {
    switch (nChar) {
    case VK_PRIOR:
    case VK_NEXT:
        Scroll(SB_VERT, nChar == VK_PRIOR ? SB_PAGEUP : SB_PAGEDOWN);
        break;
    case VK_UP:
    case VK_DOWN:
        Scroll(SB_VERT, nChar == VK_UP ? SB_LINEUP : SB_LINEDOWN);
        break;
    case VK_LEFT:
    case VK_RIGHT:
        Scroll(SB_HORZ, nChar == VK_LEFT ? SB_LINELEFT : SB_LINERIGHT);
        break;
    case VK_HOME:
    case VK_END:
        // Across a zoomed page; with Ctrl to its top and bottom.
        Scroll((nFlags & MK_CONTROL) ? SB_VERT : SB_HORZ, nChar == VK_HOME ? SB_TOP : SB_BOTTOM);
        break;
    default:
        break;
    }
}

BOOL CPreviewView::OnMouseWheel(UINT, short zDelta, POINT) {
    const int notches = std::max(std::abs(zDelta) / WHEEL_DELTA, 1);
    for (int i = 0; i < notches; ++i) {
        Scroll(SB_VERT, zDelta > 0 ? SB_LINEUP : SB_LINEDOWN);
    }
    return TRUE;
}

void CPreviewView::OnSize(UINT, int, int) {
    if (IsOpen()) {
        UpdateScrollRanges();
    }
}

// ---- painting ----

void CPreviewView::OnPaint() {
    QPainter painter(GetSafeHwnd());
    painter.fillRect(GetSafeHwnd()->rect(), WORKSPACE);
    if (!IsOpen()) {
        return;
    }
    painter.setRenderHints(QPainter::Antialiasing | QPainter::TextAntialiasing |
                           QPainter::SmoothPixmapTransform);
    const double scale = Scale();
    for (int i = 0; i < GetPagesShown(); ++i) {
        PaintPage(painter, m_nCurrentPage + UINT(i), SheetRect(i, scale), scale);
    }
}

// Draws one sheet: the paper, then the page through the view, on a surface
// that measures as the printer does and is scaled onto the screen.
void CPreviewView::PaintPage(QPainter& painter, UINT nPage, const QRectF& sheet, double scale) {
    painter.fillRect(sheet.translated(SHADOW, SHADOW), Qt::black);
    painter.fillRect(sheet, Qt::white);
    if (nPage > m_pInfo->GetMaxPage()) {
        return;
    }
    const QRect printable = PrintablePixels();
    painter.save();
    painter.translate(sheet.topLeft());
    painter.scale(scale, scale);
    painter.translate(printable.topLeft());
    painter.setClipRect(QRect(QPoint(0, 0), printable.size()), Qt::IntersectClip);
    CDC dc;
    dc.AttachPainter(&painter, Printer());
    m_pInfo->m_nCurPage = nPage;
    m_pInfo->m_rectDraw = {0, 0, dc.GetDeviceCaps(HORZRES), dc.GetDeviceCaps(VERTRES)};
    m_pPrintView->OnPrint(&dc, m_pInfo.get());
    dc.DeleteDC();
    painter.restore();
}

// ---- the view's side ----

CView::CView() = default;
CView::~CView() = default;

CPreviewView* CView::GetPreview() const {
    return m_pPreview && m_pPreview->IsOpen() ? m_pPreview.get() : nullptr;
}

void CView::OnFilePrintPreview() {
    CWinApp* pApp = AfxGetApp();
    CFrameWnd* pFrame = pApp->m_pMainWnd;
    if (pFrame == nullptr || pFrame->GetActiveView() != this || GetPreview() != nullptr) {
        return;
    }
    auto info = std::make_unique<CPrintInfo>();
    info->m_bPreview = TRUE;
    if (!OnPreparePrinting(info.get())) {
        return;
    }
    if (!m_pPreview) {
        m_pPreview = std::make_unique<CPreviewView>(this);
    }
    m_pPreview->Open(pFrame, std::move(info));
}
