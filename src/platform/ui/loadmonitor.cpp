#include "platform/ui/loadmonitor.h"

#include "platform/ui/frame.h"
#include "platform/ui/resource.h"
#include "platform/ui/view.h"
#include "platform/ui/wndwidget.h"

#include "platform/core/document.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMainWindow>
#include <QPointer>
#include <QStatusBar>
#include <QTimer>

#include <thread>

namespace {

// Loads quicker than this show nothing.
constexpr std::chrono::milliseconds QUIET_TIME(500);
// How often the progress is shown again and the window's events handled.
constexpr std::chrono::milliseconds STEP_TIME(40);

// While a load runs, the user can only cancel it, or, once the view shows
// a first screen, use what the view answers from it: Escape and a request
// to close cancel; the first other command from a key waits for the end of
// the load, and from then on every input is taken away from the windows.
class InputDuringLoad : public QObject {
public:
    explicit InputDuringLoad(CProgressSink* pSink) : m_pSink(pSink) {}

    void LetViewAnswer(CView* pView) { m_pView = pView; }
    // Sends the command that waited to where it was going.
    void ReplayHeld() {
        if (m_pHeldFor != nullptr) {
            std::shared_ptr<QEvent> held(std::move(m_pHeld));
            QObject* receiver = m_pHeldFor;
            QTimer::singleShot(0, receiver, [receiver, held] {
                QCoreApplication::sendEvent(receiver, held.get());
            });
        }
    }

protected:
    bool eventFilter(QObject* receiver, QEvent* event) override {
        switch (event->type()) {
        case QEvent::KeyPress:
            if (static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape) {
                m_pSink->Cancel();
                return true;
            }
            if (ViewAnswers(receiver, static_cast<QKeyEvent*>(event))) {
                return false;
            }
            // A modifier pressed alone commands nothing.
            if (VirtualKeyOf(static_cast<QKeyEvent*>(event)->key()) != 0) {
                Hold(receiver, event);
            }
            return true;
        case QEvent::Shortcut:
            Hold(receiver, event);
            return true;
        case QEvent::Close:
            m_pSink->Cancel();
            event->ignore();
            return true;
        case QEvent::ShortcutOverride:
            return !ViewAnswers(receiver, static_cast<QKeyEvent*>(event));
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonRelease:
        case QEvent::MouseButtonDblClick:
        case QEvent::Wheel:
            return !IsInView(receiver);
        case QEvent::KeyRelease:
        case QEvent::ContextMenu:
        case QEvent::DragEnter:
        case QEvent::DragMove:
        case QEvent::Drop:
            return true;
        default:
            return false;
        }
    }

private:
    bool IsInView(QObject* receiver) const {
        const auto* widget = qobject_cast<QWidget*>(receiver);
        const QWidget* view = m_pView != nullptr ? m_pView->GetOuterWidget() : nullptr;
        return widget != nullptr && view != nullptr &&
               (widget == view || view->isAncestorOf(widget));
    }
    bool ViewAnswers(QObject* receiver, const QKeyEvent* key) const {
        return IsInView(receiver) && m_pView->AnswersKeyWhileLoading(
                                         VirtualKeyOf(key->key()), ModifierFlags(key->modifiers()));
    }
    void Hold(QObject* receiver, const QEvent* event) {
        if (m_pView == nullptr) {
            return; // the input is held back already
        }
        m_pView = nullptr;
        m_pHeldFor = receiver;
        // A key sent again is not the user's own: spontaneous keys can go
        // elsewhere.
        const auto* key = dynamic_cast<const QKeyEvent*>(event);
        m_pHeld.reset(key != nullptr
                          ? new QKeyEvent(key->type(), key->key(), key->modifiers(), key->text())
                          : event->clone());
    }

    CProgressSink* m_pSink;
    CView* m_pView = nullptr;
    QPointer<QObject> m_pHeldFor;
    std::unique_ptr<QEvent> m_pHeld;
};

QString ProgressText(int percent) {
    return QString::fromStdString(AfxFormatStrings(AFX_IDS_LOADING, {std::to_string(percent)}));
}

} // namespace

CStatusBarLoadMonitor::CStatusBarLoadMonitor(CFrameWnd* pFrame, FirstScreenShower showFirstScreen)
    : m_pFrame(pFrame), m_showFirstScreen(std::move(showFirstScreen)) {}

CStatusBarLoadMonitor::~CStatusBarLoadMonitor() = default;

BOOL CStatusBarLoadMonitor::Run(const std::function<void(CProgressSink&)>& work) {
    CProgressSink sink;
    if (m_showFirstScreen) {
        sink.AskForFirstScreen();
    }
    std::thread worker([&] {
        work(sink);
        sink.Finish();
    });
    sink.WaitFinishedOrFirstScreen(QUIET_TIME);
    if (!sink.WaitFinished(std::chrono::milliseconds(0))) {
        ShowUntilFinished(sink);
    }
    worker.join();
    if (m_pFirstScreen) {
        m_showFirstScreen(nullptr);
        m_pFirstScreen.reset();
    }
    return !sink.IsCancelled();
}

void CStatusBarLoadMonitor::ShowUntilFinished(CProgressSink& sink) {
    QMainWindow* window = m_pFrame->GetMainWindow();
    QStatusBar* bar = window != nullptr ? window->statusBar() : nullptr;
    InputDuringLoad filter(&sink);
    QCoreApplication::instance()->installEventFilter(&filter);
    QApplication::setOverrideCursor(Qt::BusyCursor);
    do {
        if (std::unique_ptr<CDocument> pFirst = sink.TakeFirstScreen()) {
            m_pFirstScreen = std::move(pFirst);
            m_showFirstScreen(m_pFirstScreen.get());
            filter.LetViewAnswer(m_pFrame->GetActiveView());
        }
        if (bar != nullptr) {
            bar->showMessage(ProgressText(sink.Percent()));
        }
        QCoreApplication::processEvents(QEventLoop::AllEvents, int(STEP_TIME.count()));
        sink.WaitFinishedOrFirstScreen(STEP_TIME);
    } while (!sink.WaitFinished(std::chrono::milliseconds(0)));
    QApplication::restoreOverrideCursor();
    QCoreApplication::instance()->removeEventFilter(&filter);
    if (bar != nullptr) {
        bar->clearMessage();
    }
    if (!sink.IsCancelled()) {
        filter.ReplayHeld();
    }
}
