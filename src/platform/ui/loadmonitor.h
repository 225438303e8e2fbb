// Runs the loads of a frame's document on a worker thread. A load that is
// over within half a second shows nothing; a longer one shows how far it
// has come in the status bar, keeps the window painted and stops at Escape
// (or when the window is closed). As soon as the load offers a first
// screen, the view shows it and answers the keys it can answer from it;
// any other command waits, with the rest of the input held back, and runs
// once the whole document is there.
#pragma once

#include "platform/core/progress.h"

#include <memory>

class CDocument;
class CFrameWnd;

class CStatusBarLoadMonitor : public CLoadMonitor {
public:
    // Puts a first screen on the frame's view, or with null the frame's own
    // document back.
    using FirstScreenShower = std::function<void(CDocument*)>;

    explicit CStatusBarLoadMonitor(CFrameWnd* pFrame, FirstScreenShower showFirstScreen = {});
    ~CStatusBarLoadMonitor() override;

    BOOL Run(const std::function<void(CProgressSink&)>& work) override;

private:
    void ShowUntilFinished(CProgressSink& sink);

    CFrameWnd* m_pFrame;
    FirstScreenShower m_showFirstScreen;
    // The first screen shown while the current load runs.
    std::unique_ptr<CDocument> m_pFirstScreen;
};
