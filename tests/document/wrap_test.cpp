#include "doc_fixture.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

std::vector<std::int32_t> Rows(const std::string& text, std::uint32_t width, int slot = 0) {
    auto doc = LoadDoc(text);
    doc->CountRows(width, slot);
    std::vector<std::int32_t> rows;
    for (std::uint32_t i = 0; i < doc->m_nLines; ++i) {
        rows.push_back(doc->m_pLines[i].nRows[slot]);
    }
    return rows;
}

using R = std::vector<std::int32_t>;

TEST(CountRows, WidthZeroIsOneRowPerLine) {
    auto doc = LoadDoc("abcdef\nab\n");
    doc->CountRows(3, 0);
    doc->CountRows(0, 0);
    EXPECT_EQ(doc->m_nTotalRows[0], 3);
    EXPECT_EQ(doc->m_nLayoutWidth[0], 6u);
    for (std::uint32_t i = 0; i < 3; ++i) {
        EXPECT_EQ(doc->m_pLines[i].nRows[0], 1);
    }
}

TEST(CountRows, OneByteSetWrapsBeforeTheCharacter) {
    EXPECT_EQ(Rows("0123456789\n", 10), (R{2, 1})); // the terminator opens row 2
    EXPECT_EQ(Rows("0123456789", 10), (R{1}));
    EXPECT_EQ(Rows("0123456789a\n", 10), (R{2, 1}));
    EXPECT_EQ(Rows("abc", 1), (R{3}));
    EXPECT_EQ(Rows("\n", 5), (R{1, 1}));
}

TEST(CountRows, TwoByteCharactersNeedTwoCells) {
    EXPECT_EQ(Rows(NEWJIS + "0!0!0!0!0!", 10), (R{1}));
    EXPECT_EQ(Rows(NEWJIS + "0!0!0!0!0!0!", 10), (R{2}));
    // After one cell and four pairs the column is 9: the next pair wraps.
    EXPECT_EQ(Rows("a" + NEWJIS + "0!0!0!0!", 10), (R{1}));
    EXPECT_EQ(Rows("a" + NEWJIS + "0!0!0!0!0!", 10), (R{2}));
    // Odd width: a pair at column W - 1 does not fit.
    EXPECT_EQ(Rows(NEWJIS + "0!0!0!", 5), (R{2}));
    // Width 1: every pair opens a row of its own, the first one too.
    EXPECT_EQ(Rows(NEWJIS + "0!0!", 1), (R{3}));
    // Width 2: pairs fit exactly one per row.
    EXPECT_EQ(Rows(NEWJIS + "0!0!0!", 2), (R{3}));
}

TEST(CountRows, TerminatorIsAPairInATwoByteSet) {
    // "0!" then LF as a pair start: LF plus the zero byte after the text.
    EXPECT_EQ(Rows(NEWJIS + "0!0!\n", 4), (R{2, 1}));
}

TEST(CountRows, TabsMayPassTheWrapColumn) {
    EXPECT_EQ(Rows("abcde\t", 6), (R{1}));  // tab at column 5 ends at 8
    EXPECT_EQ(Rows("abcde\tx", 6), (R{2})); // the next character wraps
    EXPECT_EQ(Rows("ab\tcd", 4), (R{2}));
}

TEST(CountRows, DesignationsTakeNoCell) {
    EXPECT_EQ(Rows("0123456789" + NEWJIS, 10), (R{1}));
    EXPECT_EQ(Rows("012345678" + NEWJIS + ASCII + "9", 10), (R{1}));
}

TEST(CountRows, StartSetDecidesHowBytesCount) {
    // Line 1 starts in New JIS: "abc" is two pairs (the last one with the
    // zero byte after the text), and the LF ending line 0 is a pair too.
    EXPECT_EQ(Rows(NEWJIS + "0!\nabc", 3), (R{2, 2}));
    EXPECT_EQ(Rows(NEWJIS + "0!" + ASCII + "\nabc", 3), (R{1, 1}));
}

TEST(CountRows, UnknownEscapeInTwoByteTextIsOneCell) {
    // At column 10 in New JIS the unknown ESC wraps as a one-cell character,
    // and the bytes after it count as single cells.
    EXPECT_EQ(Rows(NEWJIS + "0!0!0!0!0!\x1bxyz", 10), (R{2}));
    EXPECT_EQ(Rows(NEWJIS + "0!0!0!0!0!\x1bxyzabcdefgh", 10), (R{3}));
}

TEST(CountRows, SlotsAreIndependent) {
    auto doc = LoadDoc("abcdefghij\nab");
    doc->CountRows(4, LAYOUT_PRINT);
    EXPECT_EQ(doc->m_nTotalRows[LAYOUT_PRINT], 4);
    EXPECT_EQ(doc->m_nLayoutWidth[LAYOUT_PRINT], 4u);
    EXPECT_EQ(doc->m_nTotalRows[LAYOUT_SCREEN], 2);
    EXPECT_EQ(doc->m_pLines[0].nRows[LAYOUT_SCREEN], 1);
    EXPECT_EQ(doc->m_pLines[0].nRows[LAYOUT_PRINT], 3);
}

TEST(CountRows, EmptyDocumentHasNoRows) {
    CTAVODoc doc;
    EXPECT_TRUE(doc.CountRows(0, 0));
    EXPECT_EQ(doc.m_nTotalRows[0], 0);
    EXPECT_EQ(doc.m_nLayoutWidth[0], 0u);
    EXPECT_TRUE(doc.CountRows(7, 0));
    EXPECT_EQ(doc.m_nTotalRows[0], 0);
    EXPECT_EQ(doc.m_nLayoutWidth[0], 7u);
}

} // namespace
