// Long work that the user watches and may stop. The thread doing the work
// reports how far it has come and looks whether it is still wanted; the
// thread that shows it reads both, may cancel, and waits for the end.
#pragma once

#include "platform/core/wintypes.h"

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>

class CDocument;

class CProgressSink {
public:
    // From the working thread.
    void Report(std::uint64_t done, std::uint64_t total);
    bool IsCancelled() const { return m_bCancelled.load(std::memory_order_relaxed); }
    // The work is over, finished or given up.
    void Finish();
    // A load whose watcher asked for it hands over, once, a document of the
    // file's first whole lines to show while the rest loads.
    bool WantsFirstScreen() const { return m_bWantsFirstScreen; }
    void OfferFirstScreen(std::unique_ptr<CDocument> pDocument);

    // From the watching thread.
    void Cancel() { m_bCancelled.store(true, std::memory_order_relaxed); }
    // Percent done, 0..100.
    int Percent() const;
    // TRUE once Finish was called, waiting at most timeout for it.
    BOOL WaitFinished(std::chrono::milliseconds timeout);
    // Before the work starts.
    void AskForFirstScreen() { m_bWantsFirstScreen = true; }
    // Waits at most timeout for the end of the work or a first screen.
    void WaitFinishedOrFirstScreen(std::chrono::milliseconds timeout);
    // The first screen offered and not yet taken, or null.
    std::unique_ptr<CDocument> TakeFirstScreen();

    CProgressSink();
    ~CProgressSink();

    // Test seam: called on the working thread at every report, so that a
    // test can hold a load part way for as long as it looks at it.
    static void SetReportHookForTests(std::function<void()> hook);

private:
    std::atomic<std::uint64_t> m_nDone{0};
    std::atomic<std::uint64_t> m_nTotal{0};
    std::atomic<bool> m_bCancelled{false};
    std::mutex m_mutex;
    std::condition_variable m_finished;
    bool m_bFinished = false;
    bool m_bWantsFirstScreen = false;
    std::unique_ptr<CDocument> m_pFirstScreen;
};

// Runs a load on behalf of a document, so that the program stays alive
// while it lasts: the window keeps painting, shows how far the load has
// come and lets the user cancel it.
class CLoadMonitor {
public:
    virtual ~CLoadMonitor() = default;
    // Runs work, which reports to and looks at the sink it is given;
    // returns FALSE when the user cancelled it.
    virtual BOOL Run(const std::function<void(CProgressSink&)>& work) = 0;
};
