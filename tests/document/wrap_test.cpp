#include "doc_fixture.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

TEST(CountRows, RowsOfLinesPlacedByHand) {
    const struct {
        std::string text;
        std::uint32_t width;
        std::vector<std::int32_t> rows;
    } cases[] = {
        {"0123456789\n", 10, {2, 1}}, // the terminator opens row 2
        // After one cell and four pairs the column is 9: the next pair wraps.
        {"a" + NEWJIS + "0!0!0!0!0!", 10, {2}},
        {NEWJIS + "0!0!0!", 5, {2}}, // a pair at column W - 1 does not fit
        {NEWJIS + "0!0!", 1, {3}},   // every pair opens a row, the first one too
        {NEWJIS + "0!0!0!", 2, {3}},
        // "0!" then LF as a pair start: LF plus the zero byte after the text.
        {NEWJIS + "0!0!\n", 4, {2, 1}},
        {"abcde\t", 6, {1}}, // tabs may pass the wrap column
        {"abcde\tx", 6, {2}},
        {"012345678" + NEWJIS + ASCII + "9", 10, {1}}, // designations take no cell
        // Line 1 starts in New JIS: "abc" is two pairs, the LF ending line 0 one.
        {NEWJIS + "0!\nabc", 3, {2, 2}},
        {NEWJIS + "0!" + ASCII + "\nabc", 3, {1, 1}},
        // An unknown ESC at column 10 wraps as one cell; the bytes after it are single.
        {NEWJIS + "0!0!0!0!0!\x1bxyzabcdefgh", 10, {3}},
    };
    for (const auto& c : cases) {
        auto doc = LoadDoc(c.text);
        doc->CountRows(c.width, LAYOUT_SCREEN);
        std::vector<std::int32_t> rows;
        for (std::uint32_t i = 0; i < doc->m_nLines; ++i) {
            rows.push_back(doc->m_pLines[i].nRows[LAYOUT_SCREEN]);
        }
        EXPECT_EQ(rows, c.rows) << c.text << " at " << c.width;
    }
}

TEST(CountRows, SlotsAreIndependentAndAnEmptyDocumentHasNoRows) {
    auto doc = LoadDoc("abcdefghij\nab");
    doc->CountRows(4, LAYOUT_PRINT);
    EXPECT_EQ(doc->m_nTotalRows[LAYOUT_PRINT], 4);
    EXPECT_EQ(doc->m_nTotalRows[LAYOUT_SCREEN], 2);
    EXPECT_EQ(doc->m_pLines[0].nRows[LAYOUT_SCREEN], 1);

    CTAVODoc empty;
    EXPECT_TRUE(empty.CountRows(7, LAYOUT_SCREEN));
    EXPECT_EQ(empty.m_nTotalRows[0], 0);
    EXPECT_EQ(empty.m_nLayoutWidth[0], 7u);
}

} // namespace
