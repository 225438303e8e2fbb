// A long load under the frame's monitor: progress in the status bar, the
// window's own input held back, Escape cancels.
#include "platform/ui/loadmonitor.h"
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

// Escape, or closing the window, which stays.
TEST_F(LoadMonitor, ALongLoadShowsItsProgressAndEscapeOrClosingCancelsIt) {
    QMainWindow* window = frame.GetMainWindow();
    for (const bool escape : {true, false}) {
        QString shown;
        QTimer::singleShot(800, [&] {
            shown = window->statusBar()->currentMessage();
            QKeyEvent key(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
            if (escape) {
                QCoreApplication::sendEvent(window, &key);
            } else {
                window->close();
            }
        });
        bool cancelled = false;
        EXPECT_FALSE(monitor.Run(Work(20000, &cancelled)));
        EXPECT_TRUE(cancelled);
        EXPECT_TRUE(shown.contains(QStringLiteral("%"))) << shown.toStdString();
        EXPECT_TRUE(shown.contains(QStringLiteral("Esc")));
        EXPECT_TRUE(window->statusBar()->currentMessage().isEmpty());
        EXPECT_TRUE(window->isVisible());
    }
}

} // namespace
