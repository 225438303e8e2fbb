#include "doc_fixture.h"
#include "platform/core/heap.h"

#include <gtest/gtest.h>

namespace {

struct Expected {
    std::uint32_t offset, length, width;
    CharSet startSet;
};

void ExpectLines(const CTAVODoc& doc, std::initializer_list<Expected> lines) {
    ASSERT_EQ(doc.m_nLines, lines.size());
    std::uint32_t i = 0;
    for (const Expected& e : lines) {
        const LineInfo& line = doc.m_pLines[i];
        EXPECT_EQ(line.nOffset, e.offset) << "line " << i;
        EXPECT_EQ(line.nLength, e.length) << "line " << i;
        EXPECT_EQ(line.nWidth, e.width) << "line " << i;
        EXPECT_EQ(line.nStartSet, e.startSet) << "line " << i;
        EXPECT_EQ(line.nRows[0], 1);
        EXPECT_EQ(line.nRows[1], 1);
        ++i;
    }
}

TEST(LineSplit, TerminatorsAndWidths) {
    ExpectLines(*LoadDoc("abc"), {{0, 3, 3, 0}});
    ExpectLines(*LoadDoc("ab\n"), {{0, 3, 2, 0}, {3, 0, 0, 0}});
    ExpectLines(*LoadDoc("a\r\nb"), {{0, 3, 2, 0}, {3, 1, 1, 0}});
    ExpectLines(*LoadDoc("a\rb"), {{0, 3, 3, 0}});
    ExpectLines(*LoadDoc("ab\fc"), {{0, 3, 2, 0}, {3, 1, 1, 0}});
    ExpectLines(*LoadDoc("\n\n"), {{0, 1, 0, 0}, {1, 1, 0, 0}, {2, 0, 0, 0}});
}

TEST(LineSplit, TabStops) {
    ExpectLines(*LoadDoc("\tab"), {{0, 3, 6, 0}});
    ExpectLines(*LoadDoc("abc\t"), {{0, 4, 4, 0}});
    ExpectLines(*LoadDoc("abcd\t"), {{0, 5, 8, 0}});
    // A tab in a two-byte set still moves to the next stop.
    ExpectLines(*LoadDoc(NEWJIS + "0!\t"), {{0, 6, 4, 0}});
}

TEST(LineSplit, StartSetsFollowTheDesignations) {
    ExpectLines(*LoadDoc(NEWJIS + "0!" + ASCII + "\nx"), {{0, 9, 2, 0}, {9, 1, 1, 0}});
    ExpectLines(*LoadDoc(NEWJIS + "0!\n0!"), {{0, 6, 2, 0}, {6, 2, 2, 3}});
    ExpectLines(*LoadDoc(OLDJIS + "\n" + ROMAN + "\n"), {{0, 4, 0, 0}, {4, 4, 0, 2}, {8, 0, 0, 1}});
    // A repeated designation changes nothing and takes no cell.
    ExpectLines(*LoadDoc(ASCII + ASCII + "a"), {{0, 7, 1, 0}});
}

TEST(LineSplit, UnknownEscapes) {
    // Not a designation: every byte is a one-cell character.
    ExpectLines(*LoadDoc("\x1b&@"), {{0, 3, 3, 0}});
    ExpectLines(*LoadDoc("a\x1b("), {{0, 3, 3, 0}});
    ExpectLines(*LoadDoc("\x1b"), {{0, 1, 1, 0}});
    // Inside a two-byte set it falls back to ASCII, also for the next line.
    ExpectLines(*LoadDoc(NEWJIS + "0!\x1bxy\nz"), {{0, 9, 5, 0}, {9, 1, 1, 0}});
    // Inside JIS Roman the set carries on.
    ExpectLines(*LoadDoc(ROMAN + "\x1bx\n"), {{0, 6, 2, 0}, {6, 0, 0, 1}});
}

TEST(LineSplit, TerminatorInsideAPairEndsNoLine) {
    // CR LF while New JIS is in force: the CR opens a pair that swallows the LF.
    const auto doc = LoadDoc(NEWJIS + "0!\r\nab\ncd");
    ExpectLines(*doc, {{0, 10, 6, 0}, {10, 2, 2, 3}});
    EXPECT_EQ(doc->m_nTotalRows[0], 2);
    EXPECT_EQ(doc->m_nTotalRows[1], 2);
    EXPECT_EQ(doc->m_nDigits, 1);
}

TEST(LineSplit, PairOnTheLastByteTakesTheZeroAfterTheText) {
    const auto doc = LoadDoc(NEWJIS + "0!0");
    ExpectLines(*doc, {{0, 6, 4, 0}});
    EXPECT_EQ(doc->m_pData[doc->m_nLength], 0);
}

TEST(LineSplit, DigitsAndWidestLine) {
    EXPECT_EQ(LoadDoc(std::string(8, '\n'))->m_nDigits, 1);
    EXPECT_EQ(LoadDoc(std::string(9, '\n'))->m_nDigits, 2);
    EXPECT_EQ(LoadDoc(std::string(99, '\n'))->m_nDigits, 3);
    EXPECT_EQ(LoadDoc("ab\nabcd\nabc")->m_nMaxWidth, 4u);
    EXPECT_EQ(LoadDoc("ab\nabc\nabcdef")->m_nMaxWidth, 6u); // the last line counts too
}

void ExpectEmpty(const CTAVODoc& doc) {
    EXPECT_EQ(doc.m_pData, nullptr);
    EXPECT_EQ(doc.m_pLines, nullptr);
    EXPECT_EQ(doc.m_nLength, 0u);
    EXPECT_EQ(doc.m_nLines, 0u);
    EXPECT_EQ(doc.m_nDigits, 0);
    EXPECT_EQ(doc.m_nMaxWidth, 0u);
    EXPECT_EQ(doc.m_nLayoutWidth[0], 0u);
    EXPECT_EQ(doc.m_nLayoutWidth[1], 0u);
    EXPECT_EQ(doc.m_nTotalRows[0], 0);
    EXPECT_EQ(doc.m_nTotalRows[1], 0);
}

// Reports a length it cannot deliver; the load must refuse before reading.
class HugeFile : public CMemFile {
public:
    explicit HugeFile(ULONGLONG length) : m_length(length) {}
    ULONGLONG GetLength() const override { return m_length; }

private:
    ULONGLONG m_length;
};

class ShortFile : public CMemFile {
public:
    using CMemFile::CMemFile;
    ULONGLONG GetLength() const override { return CMemFile::GetLength() + 10; }
};

void LoadFrom(CTAVODoc& doc, CFile& file) {
    CArchive ar(&file, CArchive::load);
    doc.Serialize(ar);
}

TEST(Load, FailuresLeaveAnEmptyDocumentWithAReason) {
    auto doc = LoadDoc("first file\nwith two lines");
    doc->CountRows(4, 0);

    HugeFile huge(ULONGLONG(1) << 32);
    LoadFrom(*doc, huge);
    ExpectEmpty(*doc);
    EXPECT_EQ(doc->GetLoadFailure(), CTAVODoc::LoadFailure::tooLarge);

    ShortFile truncated("abc", 3);
    LoadFrom(*doc, truncated);
    ExpectEmpty(*doc);
    EXPECT_EQ(doc->GetLoadFailure(), CTAVODoc::LoadFailure::readFault);

    CMemFile empty;
    LoadFrom(*doc, empty);
    ExpectEmpty(*doc);
    EXPECT_EQ(doc->GetLoadFailure(), CTAVODoc::LoadFailure::none);
}

TEST(Load, StoringWritesNothing) {
    auto doc = LoadDoc("text");
    CMemFile out;
    CArchive ar(&out, CArchive::store);
    doc->Serialize(ar);
    EXPECT_TRUE(out.Data().empty());
    EXPECT_EQ(doc->m_nLength, 4u);
}

TEST(Load, NewDocumentAndReloadDropThePreviousFile) {
    auto doc = LoadDoc("a long first line\nsecond\nthird");
    doc->CountRows(5, 0);
    EXPECT_TRUE(doc->OnNewDocument());
    ExpectEmpty(*doc);
    EXPECT_EQ(doc->m_hHeap, nullptr);

    CMemFile second("xy", 2);
    LoadFrom(*doc, second);
    ExpectLines(*doc, {{0, 2, 2, 0}});
}

} // namespace

namespace {

// Long runs are scanned many bytes at a time: terminators, tabs and escapes
// must be found at every offset, and a LF inside a pair at none.
TEST(LineSplit, LongRunsAtEveryOffset) {
    for (std::uint32_t k = 0; k < 40; ++k) {
        SCOPED_TRACE(k);
        const std::string plain(k, 'x');
        ExpectLines(*LoadDoc(plain + "\tab\n"),
                    {{0, k + 4, (k / 4 + 1) * 4 + 2, 0}, {k + 4, 0, 0, 0}});
        ExpectLines(*LoadDoc(plain + NEWJIS + "0!"), {{0, k + 5, k + 2, 0}});

        std::string pairs;
        for (std::uint32_t i = 0; i < k; ++i) {
            pairs += "0!";
        }
        const std::string swallowed = NEWJIS + pairs + "0\n" + "0!" + ASCII + "\nz";
        const std::uint32_t length = std::uint32_t(swallowed.size()) - 1;
        ExpectLines(*LoadDoc(swallowed), {{0, length, 2 * k + 4, 0}, {length, 1, 1, 0}});
    }
}

} // namespace
