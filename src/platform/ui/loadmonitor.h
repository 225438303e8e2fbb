// Runs the loads of a frame's document on a worker thread. A load that is
// over within half a second shows nothing; a longer one shows how far it
// has come in the status bar, keeps the window painted, takes no other
// input and stops at Escape (or when the window is closed).
#pragma once

#include "platform/core/progress.h"

class CFrameWnd;

class CStatusBarLoadMonitor : public CLoadMonitor {
public:
    explicit CStatusBarLoadMonitor(CFrameWnd* pFrame) : m_pFrame(pFrame) {}

    BOOL Run(const std::function<void(CProgressSink&)>& work) override;

private:
    void ShowUntilFinished(CProgressSink& sink);

    CFrameWnd* m_pFrame;
};
