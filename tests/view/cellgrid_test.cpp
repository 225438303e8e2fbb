// The grid: the gutter, where text starts, where rows wrap, and a row
// that would hold no text left unwrapped.
#include "view/cellgrid.h"

#include <gtest/gtest.h>

#include <string>

namespace {

constexpr SIZE CELL = {7, 13};

EnvSettings Settings(BYTE flags, WORD wrap) {
    EnvSettings env = {};
    env.bFlags = flags;
    env.wWrap = wrap;
    return env;
}

TEST(CellGridTest, TheGutterHoldsTheLastLineNumberAndAColonAndTextStartsBesideIt) {
    for (std::uint64_t lines = 1; lines <= 4294967295u; lines *= 10) {
        const std::string number = std::to_string(lines);
        SCOPED_TRACE(number);
        const int digits = int(number.size());
        const CellGrid shown(CELL, Settings(ENV_LINE_NUMBERS, ENV_WRAP_NONE), digits);
        const int gutter = int((number + ":").size());
        EXPECT_EQ(shown.GutterColumns(), gutter);
        EXPECT_EQ(shown.DrawnColumnOf(0), gutter);
        EXPECT_EQ(shown.GutterPixels(1000), std::min<LONG>(gutter * CELL.cx, 1000));
        // The first text cell begins at the gutter's right edge.
        EXPECT_EQ(shown.TextColumnAt(gutter * CELL.cx, 0), 0);
        EXPECT_EQ(shown.TextColumnAt(gutter * CELL.cx - 1, 0), -1);
        // Scrolled right by the gutter, text column 0 is at the left edge.
        EXPECT_EQ(shown.TextColumnAt(0, gutter), 0);
        // The bar reaches four blank columns beyond the widest row.
        EXPECT_EQ(shown.LastScrollColumn(100), gutter + 100 + 4);
    }
}

// A window `cells` cells wide and a pixel more, so that partial cells are
// seen to be dropped.
TEST(CellGridTest, RowsWrapAtTheWindowOrTheColumnAndOnlyWhereTextIsLeft) {
    for (const int digits : {1, 5, 10}) {
        const int gutter = digits + 1;
        for (const int cells : {0, 1, gutter, gutter + 1, 80}) {
            SCOPED_TRACE(testing::Message() << digits << " digits, " << cells << " cells");
            const LONG width = cells * CELL.cx + CELL.cx - 1;
            // Drawn column and text width where a row of `columns` cells
            // wraps: no wrapping while the gutter leaves no text cell.
            const auto expect = [&](WORD wrap, int columns) {
                const CellGrid grid(CELL, Settings(ENV_LINE_NUMBERS, wrap), digits);
                const int drawn = columns > gutter ? columns : 0;
                EXPECT_EQ(grid.ScreenWrapColumn(wrap, width), drawn) << wrap;
                EXPECT_EQ(grid.TextWidth(drawn), std::uint32_t(drawn > 0 ? drawn - gutter : 0));
            };
            expect(ENV_WRAP_WINDOW | 30, cells);
            expect(WORD(ENV_WRAP_FIXED | cells), cells);
            expect(ENV_WRAP_FIXED | 999, 999);
            expect(ENV_WRAP_NONE | 30, 0);
            expect(0x2000 | 30, 0); // a mode of no meaning
            // Paper wraps at the page's width whatever the wrap word says.
            const CellGrid paper(CELL, Settings(ENV_LINE_NUMBERS, ENV_WRAP_NONE), digits);
            EXPECT_EQ(paper.PageWrapColumn(width), cells > gutter ? cells : 0);
        }
    }
}

// Whole rows on real paper are the print tests' own.
TEST(CellGridTest, PagesHoldWholeRowsAndAtLeastOne) {
    const CellGrid grid(CELL, Settings(0, ENV_WRAP_NONE), 1);
    EXPECT_EQ(grid.RowsIn(CELL.cy - 1), 0);
    // A surface that measured nothing still gives a grid to divide by.
    const CellGrid empty({0, 0}, Settings(0, ENV_WRAP_WINDOW), 1);
    EXPECT_EQ(empty.ColumnsIn(80), 80u);
    EXPECT_EQ(empty.RowsPerPage(0), 1);
}

} // namespace
