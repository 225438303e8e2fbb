// A load under a monitor: it runs on another thread, reports how far it has
// come, and when cancelled leaves the document as it was.
#include "doc_fixture.h"
#include "document/linewalker.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <map>
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

// A first piece within the first line: only its characters that the rest
// of the file cannot change, at their columns; never half a pair or part
// of a designation.
TEST(StagedLoad, AFirstPieceWithinOneLineKeepsTheCharactersItSurelyHolds) {
    std::string text;
    while (text.size() < 400) {
        text += "ab\t" + NEWJIS + "4A;z" + ASCII + "x" + OLDJIS + "0!" + ROMAN + "\\~\x1b";
    }
    text += "\nend\n";
    const auto whole = LoadDoc(text);
    std::map<std::uint32_t, std::uint64_t> columnAfter;
    LineWalker walker(*whole, 0, LAYOUT_SCREEN);
    for (CharCell cell = {}; walker.Next(cell);) {
        columnAfter[cell.nOffset + cell.nBytes] = cell.nLineColumn + std::uint64_t(cell.nCells);
    }
    const auto* p = reinterpret_cast<const std::uint8_t*>(text.data());
    for (std::uint32_t read = 12; read < 300; ++read) {
        const auto first = CTAVODoc::FirstScreenOf(p, read, 0, std::uint32_t(text.size()));
        ASSERT_NE(first, nullptr) << read;
        ASSERT_EQ(first->m_nLines, 1u);
        const std::uint32_t end = first->m_nLength;
        EXPECT_EQ(first->m_pLines[0].nLength, end);
        EXPECT_LE(end + 4, read);
        EXPECT_GE(end + 9, read) << "a designation and a pair at most are held back";
        ASSERT_TRUE(columnAfter.contains(end)) << read << ": " << end;
        EXPECT_EQ(first->m_pLines[0].nWidth, columnAfter[end]);
        EXPECT_EQ(first->m_nMaxWidth, columnAfter[end]);
    }
}

} // namespace
