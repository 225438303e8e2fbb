#include "platform/core/progress.h"

#include "platform/core/document.h"

#include <algorithm>

namespace {

std::function<void()> reportHookForTests;

} // namespace

void CProgressSink::SetReportHookForTests(std::function<void()> hook) {
    reportHookForTests = std::move(hook);
}

CProgressSink::CProgressSink() = default;
CProgressSink::~CProgressSink() = default;

void CProgressSink::Report(std::uint64_t done, std::uint64_t total) {
    m_nTotal.store(total, std::memory_order_relaxed);
    m_nDone.store(done, std::memory_order_relaxed);
    if (reportHookForTests) {
        reportHookForTests();
    }
}

void CProgressSink::Finish() {
    const std::lock_guard<std::mutex> lock(m_mutex);
    m_bFinished = true;
    m_finished.notify_all();
}

int CProgressSink::Percent() const {
    const std::uint64_t total = m_nTotal.load(std::memory_order_relaxed);
    const std::uint64_t done = m_nDone.load(std::memory_order_relaxed);
    return total == 0 ? 0 : int(std::min<std::uint64_t>(done, total) * 100 / total);
}

BOOL CProgressSink::WaitFinished(std::chrono::milliseconds timeout) {
    std::unique_lock<std::mutex> lock(m_mutex);
    return m_finished.wait_for(lock, timeout, [this] { return m_bFinished; }) ? TRUE : FALSE;
}

void CProgressSink::OfferFirstScreen(std::unique_ptr<CDocument> pDocument) {
    const std::lock_guard<std::mutex> lock(m_mutex);
    m_pFirstScreen = std::move(pDocument);
    m_finished.notify_all();
}

void CProgressSink::WaitFinishedOrFirstScreen(std::chrono::milliseconds timeout) {
    std::unique_lock<std::mutex> lock(m_mutex);
    m_finished.wait_for(lock, timeout, [this] { return m_bFinished || m_pFirstScreen; });
}

std::unique_ptr<CDocument> CProgressSink::TakeFirstScreen() {
    const std::lock_guard<std::mutex> lock(m_mutex);
    return std::move(m_pFirstScreen);
}
