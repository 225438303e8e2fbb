#include "doc_fixture.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

struct Expected {
    std::uint32_t offset, length, width;
    CharSet startSet;
};

void ExpectLines(const CTAVODoc& doc, const std::vector<Expected>& lines) {
    ASSERT_EQ(doc.m_nLines, lines.size());
    for (std::uint32_t i = 0; i < doc.m_nLines; ++i) {
        const LineInfo& line = doc.m_pLines[i];
        EXPECT_EQ(line.nOffset, lines[i].offset) << "line " << i;
        EXPECT_EQ(line.nLength, lines[i].length) << "line " << i;
        EXPECT_EQ(line.nWidth, lines[i].width) << "line " << i;
        EXPECT_EQ(line.nStartSet, lines[i].startSet) << "line " << i;
        EXPECT_TRUE(line.nRows[0] == 1 && line.nRows[1] == 1) << "line " << i;
    }
}

TEST(LineSplit, TerminatorsTabsAndEscapes) {
    const std::pair<std::string, std::vector<Expected>> cases[] = {
        {"a\rb\fc\n", {{0, 4, 3, 0}, {4, 2, 1, 0}, {6, 0, 0, 0}}},
        {"abcd\t", {{0, 5, 8, 0}}},
        // A tab in a two-byte set still moves to the next stop.
        {NEWJIS + "0!\t", {{0, 6, 4, 0}}},
        // Start sets follow the designations; repeated ones take no cell.
        {NEWJIS + "0!\n0!", {{0, 6, 2, 0}, {6, 2, 2, 3}}},
        {OLDJIS + "\n" + ROMAN + "\n", {{0, 4, 0, 0}, {4, 4, 0, 2}, {8, 0, 0, 1}}},
        // Unknown escapes are one-cell characters; in a two-byte set they
        // fall back to ASCII, also for the next line; JIS Roman carries on.
        {"\x1b&@", {{0, 3, 3, 0}}},
        {"a\x1b(", {{0, 3, 3, 0}}},
        {NEWJIS + "0!\x1bxy\nz", {{0, 9, 5, 0}, {9, 1, 1, 0}}},
        {ROMAN + "\x1bx\n", {{0, 6, 2, 0}, {6, 0, 0, 1}}},
        // CR LF in New JIS: the CR opens a pair that swallows the LF.
        {NEWJIS + "0!\r\nab\ncd", {{0, 10, 6, 0}, {10, 2, 2, 3}}},
        // A pair on the last byte takes the zero byte after the text.
        {NEWJIS + "0!0", {{0, 6, 4, 0}}},
    };
    for (const auto& [text, lines] : cases) {
        SCOPED_TRACE(text);
        ExpectLines(*LoadDoc(text), lines);
    }
    EXPECT_EQ(LoadDoc(std::string(8, '\n'))->m_nDigits, 1);
    EXPECT_EQ(LoadDoc(std::string(9, '\n'))->m_nDigits, 2);
}

// Reports a length it cannot deliver; the load must refuse before reading.
class HugeFile : public CMemFile {
public:
    ULONGLONG GetLength() const override { return ULONGLONG(1) << 32; }
};

TEST(Load, FailuresLeaveAnEmptyDocumentWithAReason) {
    auto doc = LoadDoc("first file\nwith two lines");
    doc->CountRows(4, 0);
    HugeFile huge;
    CMemFile empty;
    const std::pair<CFile*, CTAVODoc::LoadFailure> cases[] = {
        {&huge, CTAVODoc::LoadFailure::tooLarge},
        {&empty, CTAVODoc::LoadFailure::none},
    };
    for (const auto& [file, reason] : cases) {
        CArchive ar(file, CArchive::load);
        doc->Serialize(ar);
        EXPECT_EQ(doc->GetLoadFailure(), reason);
        EXPECT_EQ(doc->m_pData, nullptr);
        EXPECT_EQ(doc->m_nLines, 0u);
        EXPECT_EQ(doc->m_nMaxWidth, 0u);
        EXPECT_EQ(doc->m_nLayoutWidth[0] + doc->m_nLayoutWidth[1], 0u);
        EXPECT_EQ(doc->m_nTotalRows[0] + doc->m_nTotalRows[1], 0);
    }
}

} // namespace
