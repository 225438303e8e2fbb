#include "platform/ui/frame.h"

#include "platform/core/document.h"
#include "platform/ui/appservices.h"
#include "platform/ui/dlgcontrols.h"
#include "platform/ui/image.h"
#include "platform/ui/keystate.h"
#include "platform/ui/view.h"

#include <QAbstractEventDispatcher>
#include <QAction>
#include <QDropEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QMenuBar>
#include <QMimeData>
#include <QScreen>
#include <QShortcut>
#include <QStatusBar>
#include <QToolBar>
#include <QWindow>

#include <algorithm>
#include <cstring>
#include <functional>

namespace {

constexpr int DEFAULT_WIDTH = 800;
constexpr int DEFAULT_HEIGHT = 600;

Qt::ToolBarArea AreaOf(DWORD dwStyle) {
    if (dwStyle & CBRS_ALIGN_TOP) {
        return Qt::TopToolBarArea;
    }
    if (dwStyle & CBRS_ALIGN_BOTTOM) {
        return Qt::BottomToolBarArea;
    }
    if (dwStyle & CBRS_ALIGN_LEFT) {
        return Qt::LeftToolBarArea;
    }
    return (dwStyle & CBRS_ALIGN_RIGHT) ? Qt::RightToolBarArea : Qt::TopToolBarArea;
}

Qt::ToolBarAreas AreasOf(DWORD dwStyle) {
    Qt::ToolBarAreas areas;
    for (DWORD side : {CBRS_ALIGN_LEFT, CBRS_ALIGN_TOP, CBRS_ALIGN_RIGHT, CBRS_ALIGN_BOTTOM}) {
        if (dwStyle & side) {
            areas |= AreaOf(side);
        }
    }
    return areas;
}

int QtKeyOf(WORD key) {
    switch (key) {
    case VK_BACK:
        return Qt::Key_Backspace;
    case VK_INSERT:
        return Qt::Key_Insert;
    case VK_DELETE:
        return Qt::Key_Delete;
    case VK_F3:
        return Qt::Key_F3;
    case VK_F6:
        return Qt::Key_F6;
    case VK_F8:
        return Qt::Key_F8;
    default:
        // Letters and digits share their codes.
        return key;
    }
}

QKeySequence KeySequenceOf(const ACCEL& accel) {
    int modifiers = 0;
    modifiers |= (accel.fVirt & FCONTROL) ? int(Qt::CTRL) : 0;
    modifiers |= (accel.fVirt & FSHIFT) ? int(Qt::SHIFT) : 0;
    modifiers |= (accel.fVirt & FALT) ? int(Qt::ALT) : 0;
    return QKeySequence(modifiers | QtKeyOf(accel.key));
}

QString Text(const std::string& text) {
    return QString::fromStdString(text);
}

// Characters of a recent file's path in the File menu; longer paths are
// shortened in the middle so that the menu keeps its width.
constexpr qsizetype RECENT_PATH_CHARS = 100;

// The path as the menu shows it: the file name whole, the folders before
// it cut at a folder boundary with "…" when the whole would be too long,
// and every "&" doubled so that it shows and makes no mnemonic.
QString RecentFileText(const std::string& path) {
    QString text = Text(path);
    if (text.size() > RECENT_PATH_CHARS) {
        const qsizetype slash = text.lastIndexOf(u'/');
        const QString name = text.mid(slash + 1);
        const qsizetype room = RECENT_PATH_CHARS - name.size() - 2;
        qsizetype head = room > 0 ? text.lastIndexOf(u'/', room - 1) : -1;
        text = (head > 0 ? text.left(head + 1) : QString()) + QStringLiteral("…/") + name;
    }
    return text.replace(u'&', QStringLiteral("&&"));
}

// The local files a drag carries.
std::vector<std::string> LocalFiles(const QMimeData* data) {
    std::vector<std::string> files;
    for (const QUrl& url : data->urls()) {
        if (url.isLocalFile()) {
            files.push_back(url.toLocalFile().toStdString());
        }
    }
    return files;
}

// Takes a drag of files as a copy, or else as a link, whatever the source
// proposes: a source told that its files were moved would delete them.
bool AcceptAsCopy(QDropEvent* event) {
    for (const Qt::DropAction action : {Qt::CopyAction, Qt::LinkAction}) {
        if (event->possibleActions().testFlag(action)) {
            event->setDropAction(action);
            event->accept();
            return true;
        }
    }
    return false;
}

// Takes the drags and drops of files on the main window for the frame.
class DropTarget : public QObject {
public:
    DropTarget(CFrameWnd* pFrame, QObject* pParent) : QObject(pParent), m_pFrame(pFrame) {}

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::DragEnter || event->type() == QEvent::DragMove) {
            auto* drag = static_cast<QDropEvent*>(event);
            if (!LocalFiles(drag->mimeData()).empty() && AcceptAsCopy(drag)) {
                return true;
            }
        } else if (event->type() == QEvent::Drop) {
            auto* drop = static_cast<QDropEvent*>(event);
            const std::vector<std::string> files = LocalFiles(drop->mimeData());
            if (!files.empty() && AcceptAsCopy(drop)) {
                m_pFrame->OnDropFiles(files);
                return true;
            }
        }
        return QObject::eventFilter(watched, event);
    }

private:
    CFrameWnd* m_pFrame;
};

} // namespace

// ---- toolbar ----

BOOL CToolBar::Create(CWnd* pParentWnd, DWORD dwStyle, UINT) {
    m_pFrame = dynamic_cast<CFrameWnd*>(pParentWnd);
    if (m_pFrame == nullptr || m_pFrame->GetMainWindow() == nullptr) {
        return FALSE;
    }
    m_pToolBar = new QToolBar(m_pFrame->GetMainWindow());
    m_pToolBar->setObjectName(QStringLiteral("toolbar"));
    m_pToolBar->setIconSize(QSize(16, 15));
    m_dwStyle = dwStyle;
    Attach(m_pToolBar);
    m_pFrame->GetMainWindow()->addToolBar(AreaOf(dwStyle), m_pToolBar);
    m_pToolBar->setVisible((dwStyle & WS_VISIBLE) != 0);
    m_pFrame->m_pToolBar = this;
    return TRUE;
}

BOOL CToolBar::LoadToolBar(UINT nIDResource) {
    const CResourceTable* resources = AfxGetResourceHandle();
    const TOOLBARTEMPLATE* toolbar = resources ? resources->FindToolBar(nIDResource) : nullptr;
    const BITMAPTEMPLATE* bitmap = resources ? resources->FindBitmap(nIDResource) : nullptr;
    if (m_pToolBar == nullptr || toolbar == nullptr || bitmap == nullptr) {
        return FALSE;
    }
    m_pToolBar->setIconSize(QSize(toolbar->cxButton, toolbar->cyButton));
    const QImage strip = ImageFromTemplate(*bitmap);
    int image = 0;
    for (int i = 0; i < toolbar->nItems; ++i) {
        const UINT id = toolbar->pItems[i];
        if (id == ID_SEPARATOR) {
            m_pToolBar->addSeparator();
            continue;
        }
        const QImage picture =
            strip.copy(image++ * toolbar->cxButton, 0, toolbar->cxButton, toolbar->cyButton);
        QAction* button = m_pToolBar->addAction(QIcon(QPixmap::fromImage(picture)), QString());
        QObject::connect(button, &QAction::triggered, m_pToolBar,
                         [this, id] { m_pFrame->ExecuteCommand(id); });
        m_buttons.emplace_back(id, button);
    }
    ApplyStyle();
    return TRUE;
}

void CToolBar::SetBarStyle(DWORD dwStyle) {
    m_dwStyle = dwStyle;
    ApplyStyle();
}

void CToolBar::EnableDocking(DWORD dwDockStyle) {
    if (m_pToolBar != nullptr) {
        m_pToolBar->setAllowedAreas(AreasOf(dwDockStyle));
        m_pToolBar->setMovable(dwDockStyle != 0);
        m_pToolBar->setFloatable(dwDockStyle != 0);
    }
}

void CToolBar::ApplyStyle() {
    for (const auto& [id, button] : m_buttons) {
        const std::string text = LoadString(id);
        button->setToolTip((m_dwStyle & CBRS_TOOLTIPS) ? Text(ExtractSubString(text, 1)) : "");
        button->setStatusTip((m_dwStyle & CBRS_FLYBY) ? Text(ExtractSubString(text, 0)) : "");
    }
}

QWidget* CToolBar::GetBarWidget() const {
    return m_pToolBar;
}

// ---- status bar ----

BOOL CStatusBar::Create(CWnd* pParentWnd, DWORD dwStyle, UINT) {
    m_pFrame = dynamic_cast<CFrameWnd*>(pParentWnd);
    if (m_pFrame == nullptr || m_pFrame->GetMainWindow() == nullptr) {
        return FALSE;
    }
    QStatusBar* bar = m_pFrame->GetMainWindow()->statusBar();
    m_dwStyle = dwStyle;
    // The idle text hides while a prompt is shown and returns after it.
    m_pIdle = new QLabel(Text(LoadString(AFX_IDS_IDLEMESSAGE)), bar);
    bar->addWidget(m_pIdle, 1);
    bar->setVisible((dwStyle & WS_VISIBLE) != 0);
    Attach(bar);
    m_pFrame->m_pStatusBar = this;
    return TRUE;
}

BOOL CStatusBar::SetIndicators(const UINT* lpIDArray, int nIDCount) {
    QStatusBar* bar = m_pFrame->GetMainWindow()->statusBar();
    for (int i = 0; i < nIDCount; ++i) {
        if (lpIDArray[i] == ID_SEPARATOR) {
            continue; // the message pane
        }
        auto* label = new QLabel(Text(LoadString(lpIDArray[i])), bar);
        label->setFrameShape(QFrame::Panel);
        label->setFrameShadow(QFrame::Sunken);
        label->setAlignment(Qt::AlignCenter);
        label->setMinimumWidth(label->sizeHint().width() + 8);
        label->setEnabled(false); // off until the first update
        bar->addPermanentWidget(label);
        m_indicators.emplace_back(lpIDArray[i], label);
    }
    return TRUE;
}

QWidget* CStatusBar::GetBarWidget() const {
    return m_pFrame != nullptr ? m_pFrame->GetMainWindow()->statusBar() : nullptr;
}

// ---- dialog bar ----

namespace {

// The bar's controls; Escape closes the bar, and Enter that no control
// takes (an edit field's, or a check box's after its mnemonic ticked it)
// presses the default button.
class DialogBarBox : public QWidget {
public:
    DialogBarBox(QWidget* pParent, std::function<void()> close)
        : QWidget(pParent), m_close(std::move(close)) {}

    void SetDefault(std::function<void()> enter) { m_enter = std::move(enter); }

protected:
    void keyPressEvent(QKeyEvent* event) override {
        const int key = event->key();
        if (key == Qt::Key_Escape) {
            m_close();
            return;
        }
        if ((key == Qt::Key_Return || key == Qt::Key_Enter) && m_enter) {
            m_enter();
            return;
        }
        QWidget::keyPressEvent(event);
    }

private:
    std::function<void()> m_close;
    std::function<void()> m_enter;
};

} // namespace

BOOL CDialogBar::Create(CWnd* pParentWnd, UINT nIDTemplate, UINT nStyle, UINT) {
    m_pFrame = dynamic_cast<CFrameWnd*>(pParentWnd);
    const CResourceTable* resources = AfxGetResourceHandle();
    const DLGTEMPLATE* dlg = resources ? resources->FindDialog(nIDTemplate) : nullptr;
    if (m_pFrame == nullptr || m_pFrame->GetMainWindow() == nullptr || dlg == nullptr) {
        return FALSE;
    }
    m_pBar = new QToolBar(m_pFrame->GetMainWindow());
    m_pBar->setObjectName(QStringLiteral("dialogBar%1").arg(nIDTemplate));
    m_pBar->setMovable(false);
    m_pBar->setFloatable(false);
    m_pBar->setContextMenuPolicy(Qt::PreventContextMenu);
    auto* box = new DialogBarBox(m_pBar, [this] { Close(); });
    const auto onClick = [this](UINT nID) {
        if (nID == IDCANCEL) {
            Close();
        } else {
            m_pFrame->ExecuteCommand(nID);
        }
    };
    BuildFromTemplate(box, *dlg, onClick);
    const DLGITEMTEMPLATE* const end = dlg->pItems + dlg->nItems;
    const DLGITEMTEMPLATE* const byDefault =
        std::find_if(dlg->pItems, end, [](const DLGITEMTEMPLATE& item) {
            return std::strcmp(item.pszClass, "BUTTON") == 0 &&
                   (item.dwStyle & BS_TYPEMASK) == BS_DEFPUSHBUTTON;
        });
    if (byDefault != end) {
        box->SetDefault([onClick, id = byDefault->nID] { onClick(id); });
    }
    m_pBar->addWidget(box);
    m_dwStyle = nStyle;
    Attach(m_pBar);
    m_pFrame->GetMainWindow()->addToolBar(AreaOf(nStyle), m_pBar);
    m_pBar->setVisible((nStyle & WS_VISIBLE) != 0);
    return TRUE;
}

QWidget* CDialogBar::GetBarWidget() const {
    return m_pBar;
}

void CDialogBar::GotoDlgCtrl(UINT nID) {
    QWidget* control = GetDlgItem(int(nID));
    if (control == nullptr) {
        return;
    }
    control->setFocus(Qt::ShortcutFocusReason);
    if (auto* edit = qobject_cast<QLineEdit*>(control)) {
        edit->selectAll();
    }
}

void CDialogBar::Close() {
    m_pBar->hide();
    // What the bar's work said ends with the bar.
    m_pFrame->SetMessageText(AFX_IDS_IDLEMESSAGE);
    if (CView* view = m_pFrame->GetActiveView();
        view != nullptr && view->GetSafeHwnd() != nullptr) {
        view->GetSafeHwnd()->setFocus();
    }
}

// ---- frame ----

CFrameWnd::CFrameWnd() {
    MapCommand(ID_VIEW_TOOLBAR, [this] { ToggleBar(m_pToolBar); });
    MapCommand(ID_VIEW_STATUS_BAR, [this] { ToggleBar(m_pStatusBar); });
    const auto checkVisible = [](CControlBar* pBar, CCmdUI* pCmdUI) {
        pCmdUI->Enable(pBar != nullptr);
        pCmdUI->SetCheck(pBar != nullptr && !pBar->GetBarWidget()->isHidden());
    };
    MapUpdateCommandUI(ID_VIEW_TOOLBAR,
                       [this, checkVisible](CCmdUI* p) { checkVisible(m_pToolBar, p); });
    MapUpdateCommandUI(ID_VIEW_STATUS_BAR,
                       [this, checkVisible](CCmdUI* p) { checkVisible(m_pStatusBar, p); });
    for (UINT id : {ID_INDICATOR_KANA, ID_INDICATOR_CAPS, ID_INDICATOR_NUM, ID_INDICATOR_SCRL}) {
        MapUpdateCommandUI(id, [id](CCmdUI* p) { p->Enable(IsLockIndicatorOn(id)); });
    }
}

CFrameWnd::~CFrameWnd() {
    // The view's widgets live inside the main window; they go first.
    m_pActiveView.reset();
}

BOOL CFrameWnd::PreCreateWindow(CREATESTRUCT&) {
    return TRUE;
}

BOOL CFrameWnd::LoadFrame(UINT nIDResource) {
    CREATESTRUCT cs = {DEFAULT_WIDTH, DEFAULT_HEIGHT};
    if (!PreCreateWindow(cs)) {
        return FALSE;
    }
    m_pMainWindow = new QMainWindow;
    // Larger than its screen, the window would hide its lower part, the
    // status bar with it. Its frame, where the system already knows it,
    // has to fit as well.
    m_pMainWindow->winId(); // makes the window, and its frame where known
    QSize size(cs.cx, cs.cy);
    if (const QScreen* screen = m_pMainWindow->screen()) {
        const QMargins frame = m_pMainWindow->windowHandle()->frameMargins();
        size = size.boundedTo(screen->availableGeometry().marginsRemoved(frame).size());
    }
    m_pMainWindow->resize(size);
    Attach(m_pMainWindow);
    m_strTitle = ExtractSubString(LoadString(nIDResource), 0);
    m_pMainWindow->setWindowIcon(LoadIcon(nIDResource));
    BuildMenu(nIDResource);
    BuildAccelerators(nIDResource);
    if (OnCreate(&cs) == -1) {
        delete m_pMainWindow;
        m_pMainWindow = nullptr;
        return FALSE;
    }
    // Buttons and check marks follow the handlers whenever the program is
    // about to wait for input.
    QObject::connect(QAbstractEventDispatcher::instance(), &QAbstractEventDispatcher::aboutToBlock,
                     m_pMainWindow, [this] { UpdateCommandUI(); });
    OnUpdateFrameTitle();
    return TRUE;
}

int CFrameWnd::OnCreate(LPCREATESTRUCT) {
    return 0;
}

QAction* CFrameWnd::MakeCommandAction(UINT nID, const std::string& caption) {
    auto* action = new QAction(Text(caption), m_pMainWindow);
    action->setStatusTip(Text(ExtractSubString(LoadString(nID), 0)));
    QObject::connect(action, &QAction::triggered, m_pMainWindow,
                     [this, nID] { ExecuteCommand(nID); });
    return action;
}

void CFrameWnd::BuildMenu(UINT nIDResource) {
    const CResourceTable* resources = AfxGetResourceHandle();
    int count = 0;
    const MENUITEMTEMPLATE* items = resources ? resources->FindMenu(nIDResource, &count) : nullptr;
    QMenu* popup = nullptr;
    for (int i = 0; i < count; ++i) {
        const MENUITEMTEMPLATE& item = items[i];
        if (item.nFlags & MF_POPUP) {
            popup = m_pMainWindow->menuBar()->addMenu(Text(item.pszText));
            QObject::connect(popup, &QMenu::aboutToShow, m_pMainWindow,
                             [this] { UpdateCommandUI(); });
        } else if (popup != nullptr && (item.nFlags & MF_SEPARATOR)) {
            popup->addSeparator();
        } else if (popup != nullptr && item.pszText != nullptr) {
            QAction* action = MakeCommandAction(item.nID, item.pszText);
            action->setEnabled((item.nFlags & MF_GRAYED) == 0);
            popup->addAction(action);
            if (item.nID == ID_FILE_MRU_FILE1) {
                m_pRecentPlaceholder = action;
            } else {
                m_menuItems.emplace_back(item.nID, action);
            }
        }
        if (item.nFlags & MF_END) {
            popup = nullptr;
        }
    }
}

void CFrameWnd::BuildAccelerators(UINT nIDResource) {
    const CResourceTable* resources = AfxGetResourceHandle();
    int count = 0;
    const ACCEL* table = resources ? resources->FindAccelerators(nIDResource, &count) : nullptr;
    for (int i = 0; i < count; ++i) {
        auto* shortcut = new QShortcut(KeySequenceOf(table[i]), m_pMainWindow);
        shortcut->setContext(Qt::WindowShortcut);
        const UINT nCmd = table[i].cmd;
        QObject::connect(shortcut, &QShortcut::activated, m_pMainWindow,
                         [this, nCmd] { ExecuteCommand(nCmd); });
    }
}

void CFrameWnd::SetActiveView(CView* pView) {
    m_pActiveView.reset(pView);
    pView->m_pParentFrame = this;
    m_pMainWindow->setCentralWidget(pView->GetOuterWidget());
    pView->GetSafeHwnd()->setFocus();
    // The window can show, and paint, before the program first waits for
    // input: its buttons follow the view's handlers from the first frame.
    UpdateCommandUI();
}

void CFrameWnd::DragAcceptFiles(BOOL bAccept) {
    m_pMainWindow->setAcceptDrops(bAccept != FALSE);
    if (bAccept && m_pDropTarget == nullptr) {
        m_pDropTarget = new DropTarget(this, m_pMainWindow);
        m_pMainWindow->installEventFilter(m_pDropTarget);
    }
}

void CFrameWnd::OnDropFiles(const std::vector<std::string>& files) {
    if (CWinAppServices* pApp = AfxGetAppServices(); pApp != nullptr && !files.empty()) {
        pApp->OpenDocumentFile(files.front().c_str());
    }
}

void CFrameWnd::DockControlBar(CControlBar* pBar) {
    if (auto* toolbar = qobject_cast<QToolBar*>(pBar->GetBarWidget())) {
        m_pMainWindow->addToolBar(AreaOf(pBar->GetBarStyle()), toolbar);
    }
}

void CFrameWnd::ShowControlBar(CControlBar* pBar, BOOL bShow, BOOL) {
    if (pBar != nullptr && pBar->GetBarWidget() != nullptr) {
        pBar->GetBarWidget()->setVisible(bShow != FALSE);
    }
}

void CFrameWnd::SetMessageText(const std::string& text) {
    if (m_pStatusBar != nullptr) {
        m_pStatusBar->m_pIdle->setText(Text(text));
    }
}

void CFrameWnd::SetMessageText(UINT nID) {
    SetMessageText(LoadString(nID));
}

void CFrameWnd::OnUpdateFrameTitle() {
    const CDocument* pDoc = m_pActiveView ? m_pActiveView->GetDocument() : nullptr;
    std::string title = m_strTitle;
    if (pDoc != nullptr && !pDoc->GetTitle().empty()) {
        title = pDoc->GetTitle() + " - " + m_strTitle;
    }
    m_pMainWindow->setWindowTitle(Text(title));
}

BOOL CFrameWnd::OnCmdMsg(UINT nID, CCmdUI* pCmdUI) {
    if (m_pActiveView && m_pActiveView->OnCmdMsg(nID, pCmdUI)) {
        return TRUE;
    }
    if (CWnd::OnCmdMsg(nID, pCmdUI)) {
        return TRUE;
    }
    CWinAppServices* pApp = AfxGetAppServices();
    return pApp != nullptr && pApp->RouteCommand(nID, pCmdUI);
}

BOOL CFrameWnd::ExecuteCommand(UINT nID) {
    // A disabled command is refused also when it comes from a key.
    CCmdUI state(nID);
    if (!OnCmdMsg(nID, &state) || !state.m_bEnabled) {
        return FALSE;
    }
    return OnCmdMsg(nID, nullptr);
}

void CFrameWnd::UpdateCommandUI() {
    const auto update = [this](UINT nID, QAction* action) {
        CCmdUI state(nID);
        // Commands nobody handles are disabled.
        state.m_bEnabled = OnCmdMsg(nID, &state) && state.m_bEnabled;
        action->setEnabled(state.m_bEnabled != FALSE);
        action->setCheckable(state.m_bCheckable);
        action->setChecked(state.m_nCheck != 0);
    };
    for (const auto& [id, action] : m_menuItems) {
        update(id, action);
    }
    if (m_pToolBar != nullptr) {
        for (const auto& [id, button] : m_pToolBar->m_buttons) {
            update(id, button);
        }
    }
    // An indicator shows its text greyed while its key is off.
    if (m_pStatusBar != nullptr) {
        for (const auto& [id, label] : m_pStatusBar->m_indicators) {
            CCmdUI state(id);
            label->setEnabled(OnCmdMsg(id, &state) && state.m_bEnabled);
        }
    }
    ShowRecentFiles();
}

// The recent files take the place of the placeholder item while there are any.
void CFrameWnd::ShowRecentFiles() {
    const CWinAppServices* pApp = AfxGetAppServices();
    if (m_pRecentPlaceholder == nullptr || pApp == nullptr) {
        return;
    }
    const std::vector<std::string> files = pApp->GetRecentFiles();
    const int count = int(files.size());
    for (int i = 0; i < count; ++i) {
        if (i == int(m_recentItems.size())) {
            QAction* action = MakeCommandAction(ID_FILE_MRU_FILE1 + UINT(i), "");
            for (QObject* owner : m_pRecentPlaceholder->associatedObjects()) {
                if (auto* menu = qobject_cast<QMenu*>(owner)) {
                    menu->insertAction(m_pRecentPlaceholder, action);
                }
            }
            m_recentItems.push_back(action);
        }
        m_recentItems[std::size_t(i)]->setText(QStringLiteral("&%1 ").arg(i + 1) +
                                               RecentFileText(files[std::size_t(i)]));
    }
    while (int(m_recentItems.size()) > count) {
        delete m_recentItems.back();
        m_recentItems.pop_back();
    }
    m_pRecentPlaceholder->setVisible(count == 0);
}

void CFrameWnd::ToggleBar(CControlBar* pBar) {
    if (pBar != nullptr) {
        QWidget* widget = pBar->GetBarWidget();
        widget->setVisible(widget->isHidden());
    }
}
