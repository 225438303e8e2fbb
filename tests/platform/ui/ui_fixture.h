// Shared set-up of the window-layer and application tests: one Qt
// application for the run, command lines, and a view that records what
// reaches its handlers.
#pragma once

#include "platform/ui/ui.h"

#include <QApplication>
#include <QPaintEvent>
#include <QScrollBar>

#include <string>
#include <vector>

inline QApplication& TestApplication() {
    static int argc = 1;
    static char name[] = "tavo_tests";
    static char* argv[] = {name, nullptr};
    static QApplication* app = new QApplication(argc, argv);
    return *app;
}

inline void ProcessEvents() {
    TestApplication().processEvents();
    TestApplication().processEvents();
}

// Gives the application the command line "program args...".
inline void SetArgs(CWinApp& app, const std::string& program, std::vector<std::string> args) {
    args.insert(args.begin(), program);
    std::vector<char*> argv;
    for (std::string& arg : args) {
        argv.push_back(arg.data());
    }
    app.SetCommandLine(int(argv.size()), argv.data());
}

inline QScrollBar* ScrollBarOf(CWnd& wnd, Qt::Orientation orientation) {
    for (QScrollBar* bar : wnd.GetOuterWidget()->findChildren<QScrollBar*>()) {
        if (bar->orientation() == orientation) {
            return bar;
        }
    }
    return nullptr;
}

struct ScrollCall {
    int nBar;
    UINT nSBCode;
    UINT nPos;
    int nTrackPos; // what GetScrollInfo reported while the handler ran
    bool operator==(const ScrollCall&) const = default;
};

// Records the rectangle of every paint of a widget.
class PaintRecorder : public QObject {
public:
    explicit PaintRecorder(QWidget* pWidget) : QObject(pWidget) {
        pWidget->installEventFilter(this);
    }
    std::vector<RECT> paints;

protected:
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Paint) {
            const QRect r = static_cast<QPaintEvent*>(event)->rect();
            paints.push_back({r.left(), r.top(), r.right() + 1, r.bottom() + 1});
        }
        return false;
    }
};

// Records the scroll codes that reach it and what the bar told meanwhile.
class RecordingView : public CView {
public:
    void OnDraw(CDC*) override {}
    void OnHScroll(UINT nSBCode, UINT nPos, CScrollBar*) override {
        Record(SB_HORZ, nSBCode, nPos);
    }
    void OnVScroll(UINT nSBCode, UINT nPos, CScrollBar*) override {
        Record(SB_VERT, nSBCode, nPos);
    }
    std::vector<ScrollCall> scrolls;

private:
    void Record(int nBar, UINT nSBCode, UINT nPos) {
        SCROLLINFO info = {};
        GetScrollInfo(nBar, &info, SIF_ALL);
        scrolls.push_back({nBar, nSBCode, nPos, info.nTrackPos});
    }
};
