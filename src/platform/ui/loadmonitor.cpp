#include "platform/ui/loadmonitor.h"

#include "platform/ui/frame.h"
#include "platform/ui/resource.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMainWindow>
#include <QStatusBar>

#include <thread>

namespace {

// Loads quicker than this show nothing.
constexpr std::chrono::milliseconds QUIET_TIME(500);
// How often the progress is shown again and the window's events handled.
constexpr std::chrono::milliseconds STEP_TIME(40);

// While a load runs, the user can only cancel it: every input is taken
// away from the windows, Escape and a request to close cancel.
class InputDuringLoad : public QObject {
public:
    explicit InputDuringLoad(CProgressSink* pSink) : m_pSink(pSink) {}

protected:
    bool eventFilter(QObject*, QEvent* event) override {
        switch (event->type()) {
        case QEvent::KeyPress:
            if (static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape) {
                m_pSink->Cancel();
            }
            return true;
        case QEvent::Close:
            m_pSink->Cancel();
            event->ignore();
            return true;
        case QEvent::KeyRelease:
        case QEvent::ShortcutOverride:
        case QEvent::Shortcut:
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonRelease:
        case QEvent::MouseButtonDblClick:
        case QEvent::Wheel:
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
    CProgressSink* m_pSink;
};

QString ProgressText(int percent) {
    return QString::fromStdString(AfxFormatStrings(AFX_IDS_LOADING, {std::to_string(percent)}));
}

} // namespace

BOOL CStatusBarLoadMonitor::Run(const std::function<void(CProgressSink&)>& work) {
    CProgressSink sink;
    std::thread worker([&] {
        work(sink);
        sink.Finish();
    });
    if (!sink.WaitFinished(QUIET_TIME)) {
        ShowUntilFinished(sink);
    }
    worker.join();
    return !sink.IsCancelled();
}

void CStatusBarLoadMonitor::ShowUntilFinished(CProgressSink& sink) {
    QMainWindow* window = m_pFrame->GetMainWindow();
    QStatusBar* bar = window != nullptr ? window->statusBar() : nullptr;
    InputDuringLoad filter(&sink);
    QCoreApplication::instance()->installEventFilter(&filter);
    QApplication::setOverrideCursor(Qt::BusyCursor);
    do {
        if (bar != nullptr) {
            bar->showMessage(ProgressText(sink.Percent()));
        }
        QCoreApplication::processEvents(QEventLoop::AllEvents, int(STEP_TIME.count()));
    } while (!sink.WaitFinished(STEP_TIME));
    QApplication::restoreOverrideCursor();
    QCoreApplication::instance()->removeEventFilter(&filter);
    if (bar != nullptr) {
        bar->clearMessage();
    }
}
