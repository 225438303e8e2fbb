// A long load under the frame's monitor: progress in the status bar, the
// window's own input held back, Escape cancels.
#include "platform/ui/loadmonitor.h"
#include "resources/resources.h"
#include "ui_fixture.h"

#include <QKeyEvent>
#include <QMainWindow>
#include <QStatusBar>
#include <QTimer>

#include <gtest/gtest.h>

#include <thread>

namespace {

class LoadMonitor : public ::testing::Test {
protected:
    void SetUp() override {
        TestApplication();
        AfxSetResourceHandle(&TavoResources()); // the progress text is the program's
        ASSERT_TRUE(frame.LoadFrame(0));
        frame.GetMainWindow()->statusBar()->show();
        frame.ShowWindow(TRUE);
    }

    // A load that goes on, reporting, until it is cancelled or has run
    // for the given time.
    static std::function<void(CProgressSink&)> Work(int milliseconds, bool* cancelled) {
        return [milliseconds, cancelled](CProgressSink& sink) {
            for (int i = 0; i < milliseconds / 5 && !sink.IsCancelled(); ++i) {
                sink.Report(std::uint64_t(i), std::uint64_t(milliseconds / 5 * 2));
                std::this_thread::sleep_for(std::chrono::milliseconds(5));
            }
            *cancelled = sink.IsCancelled();
        };
    }

    CFrameWnd frame;
    CStatusBarLoadMonitor monitor{&frame};
};

TEST_F(LoadMonitor, AShortLoadShowsNothing) {
    bool cancelled = false;
    EXPECT_TRUE(monitor.Run(Work(50, &cancelled)));
    EXPECT_FALSE(cancelled);
    EXPECT_TRUE(frame.GetMainWindow()->statusBar()->currentMessage().isEmpty());
}

TEST_F(LoadMonitor, ALongLoadShowsItsProgressAndEscapeOrClosingTheWindowCancelsIt) {
    QString shown;
    QTimer::singleShot(800, [&] {
        shown = frame.GetMainWindow()->statusBar()->currentMessage();
        QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
        QCoreApplication::sendEvent(frame.GetMainWindow(), &escape);
    });
    bool cancelled = false;
    EXPECT_FALSE(monitor.Run(Work(20000, &cancelled)));
    EXPECT_TRUE(cancelled);
    EXPECT_TRUE(shown.contains(QStringLiteral("%"))) << shown.toStdString();
    EXPECT_TRUE(shown.contains(QStringLiteral("Esc")));
    EXPECT_TRUE(frame.GetMainWindow()->statusBar()->currentMessage().isEmpty());

    // Closing the window cancels it too, and the window stays.
    QTimer::singleShot(700, [&] { frame.GetMainWindow()->close(); });
    EXPECT_FALSE(monitor.Run(Work(20000, &cancelled)));
    EXPECT_TRUE(frame.GetMainWindow()->isVisible());
}

} // namespace
