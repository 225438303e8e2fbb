// A load under a monitor: it runs on another thread, reports how far it has
// come, and when cancelled leaves the document as it was.
#include "doc_fixture.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <thread>

namespace {

// A file whose load runs on a worker thread, as the window's monitor runs
// it, and that cancels the load at the given read.
class CancellingFile : public CMemFile, public CLoadMonitor {
public:
    CancellingFile(const std::string& bytes, UINT cancelAt)
        : CMemFile(bytes.data(), bytes.size()), m_nCancelAt(cancelAt) {}

    BOOL Run(const std::function<void(CProgressSink&)>& work) override {
        CProgressSink sink;
        m_pSink = &sink;
        std::thread worker([&] {
            work(sink);
            sink.Finish();
        });
        while (!sink.WaitFinished(std::chrono::milliseconds(10))) {
        }
        worker.join();
        m_nPercent = sink.Percent();
        return !sink.IsCancelled();
    }
    UINT Read(void* lpBuf, UINT nCount) override {
        if (++m_nReads == m_nCancelAt) {
            m_pSink->Cancel();
        }
        return CMemFile::Read(lpBuf, nCount);
    }

    UINT m_nCancelAt;
    UINT m_nReads = 0;
    int m_nPercent = 0;
    CProgressSink* m_pSink = nullptr;
};

BOOL LoadWatched(CTAVODoc& doc, CancellingFile& file) {
    CArchive ar(&file, CArchive::load);
    ar.m_pLoadMonitor = &file;
    doc.Serialize(ar);
    return !ar.IsCancelled();
}

const std::string& LargeText() {
    static const std::string text = [] {
        std::string out;
        while (out.size() < (std::size_t(6) << 20)) {
            out += "line " + std::to_string(out.size()) + "\n";
        }
        return out;
    }();
    return text;
}

TEST(StagedLoad, ACancelledLoadLeavesTheDocumentAsItWas) {
    auto doc = LoadDoc("first file\nshown\n");
    doc->CountRows(4, LAYOUT_SCREEN);
    const std::uint8_t* shown = doc->m_pData;

    CancellingFile file(LargeText(), 2);
    EXPECT_FALSE(LoadWatched(*doc, file));
    // The reading stopped at the cancel, well before the end.
    EXPECT_LT(file.m_nReads, 4u);
    EXPECT_EQ(doc->m_pData, shown);
    EXPECT_EQ(doc->m_nLines, 3u);
    EXPECT_EQ(doc->m_nTotalRows[LAYOUT_SCREEN], 3 + 2 + 1);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(doc->m_pData)), "first file\nshown\n");
}

TEST(StagedLoad, ALoadThatRunsToItsEndReplacesTheDocumentOnHugePageBoundaries) {
    auto doc = LoadDoc("first file\n");
    CancellingFile file(LargeText(), 0); // never cancels
    EXPECT_TRUE(LoadWatched(*doc, file));
    EXPECT_EQ(file.m_nPercent, 100);
    EXPECT_EQ(doc->m_nLength, LargeText().size());
    EXPECT_EQ(doc->m_pLines[1].nOffset, LargeText().find('\n') + 1);
    EXPECT_EQ(std::uintptr_t(doc->m_pData) % (std::uintptr_t(2) << 20), 0u);
}

} // namespace
