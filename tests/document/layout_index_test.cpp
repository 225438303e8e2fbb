// The shortcuts of the document core against the plain walks they replace:
// the split's block scan, the rows placed without a walk, the row index and
// the checkpoints of long lines.
#include "doc_fixture.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <random>

namespace {

// Texts with long lines and long runs, so that scans cross their blocks and
// lines get checkpoints: all four sets, tabs, CR LF, unknown escapes, runs
// of plain bytes. Without line ends there are no tabs either, which could
// fall where a pair starts.
std::string LongText(std::mt19937& rng, std::size_t size, bool lineEnds) {
    static const char* const pieces[] = {
        "\x1b(B", "\x1b(J", "\x1b$@", "\x1b$B", "\x1bx", "\t", "\r\n", "0!", "ab", "\x1b(",
    };
    std::string text;
    while (text.size() < size) {
        const unsigned pick = rng() % 14;
        if (pick < std::size(pieces)) {
            const std::string piece = pieces[pick];
            if (lineEnds || (piece != "\t" && piece != "\r\n")) {
                text += piece;
            }
        } else if (pick == 10 && lineEnds) {
            text += rng() % 2 ? "\n" : "\f";
        } else {
            text.append(1 + rng() % 150, char('A' + rng() % 26));
        }
    }
    return text;
}

TEST(LineSplit, AgreesWithAByteByByteWalkOnLongTexts) {
    for (unsigned seed = 1; seed <= 30; ++seed) {
        std::mt19937 rng(seed);
        const std::string text = LongText(rng, 2000 + rng() % 30000, true);
        const auto doc = LoadDoc(text);
        SCOPED_TRACE(seed);
        std::uint32_t offset = 0;
        CharSet set = CHARSET_ASCII;
        for (std::uint32_t i = 0; i < doc->m_nLines; ++i) {
            const LineInfo& line = doc->m_pLines[i];
            ASSERT_EQ(line.nOffset, offset) << "line " << i;
            ASSERT_EQ(line.nStartSet, set) << "line " << i;
            offset += line.nLength;
            // The split's own measure: every tab a tab, the terminator no cell.
            std::uint64_t width = 0;
            const std::uint8_t* p = doc->m_pData + line.nOffset;
            const std::uint32_t body = i + 1 < doc->m_nLines ? line.nLength - 1 : line.nLength;
            for (std::uint32_t k = 0; k < body;) {
                if (p[k] == TAB) {
                    width = (width & ~std::uint64_t(3)) + 4;
                    ++k;
                } else if (const int skipped = p[k] == ESC ? FollowEscape(p + k, set) : 0) {
                    k += std::uint32_t(skipped);
                } else {
                    width += IsTwoByteSet(set) ? 2 : 1;
                    k += IsTwoByteSet(set) ? 2 : 1;
                }
            }
            ASSERT_EQ(line.nWidth, width) << "line " << i;
        }
        EXPECT_EQ(offset, doc->m_nLength);
    }
}

TEST(CountRows, RowsWithoutAWalkAgreeWithTheWalkAtEveryWidthNearALine) {
    for (unsigned seed = 1; seed <= 40; ++seed) {
        std::mt19937 rng(seed);
        auto doc = LoadDoc(LongText(rng, 3000, true));
        std::uint32_t widest = 0;
        for (std::uint32_t i = 0; i < doc->m_nLines; ++i) {
            widest = std::max(widest, doc->m_pLines[i].nWidth);
        }
        // Around each line's measured width, where rows are placed without a
        // walk or not, and beyond the widest line, where no line is walked.
        for (std::uint32_t i = 0; i < doc->m_nLines; i += 7) {
            const std::uint32_t measured = doc->m_pLines[i].nWidth;
            for (std::uint32_t width = measured > 3 ? measured - 3 : 1; width <= measured + 5;
                 ++width) {
                doc->CountRows(width, LAYOUT_PRINT);
                std::int64_t total = 0;
                for (std::uint32_t k = 0; k < doc->m_nLines; ++k) {
                    const LineInfo& line = doc->m_pLines[k];
                    const Placed placed = PlaceCharacters(doc->m_pData + line.nOffset, line.nLength,
                                                          line.nStartSet, width);
                    ASSERT_EQ(line.nRows[LAYOUT_PRINT], placed.rows)
                        << "seed " << seed << " width " << width << " line " << k;
                    total += placed.rows;
                }
                ASSERT_EQ(doc->m_nTotalRows[LAYOUT_PRINT], total);
            }
        }
        doc->CountRows(widest + 2, LAYOUT_PRINT);
        for (std::uint32_t k = 0; k < doc->m_nLines; ++k) {
            const LineInfo& line = doc->m_pLines[k];
            ASSERT_EQ(line.nRows[LAYOUT_PRINT],
                      PlaceCharacters(doc->m_pData + line.nOffset, line.nLength, line.nStartSet,
                                      widest + 2)
                          .rows);
        }
    }
}

TEST(CountRows, ATabInPairsIsWalkedThoughItsMeasureFits) {
    // The split moves the tab to a stop and reads "(B" as a designation,
    // which leaves the line narrow; the rows take the tab with "a" as a
    // pair and go on in New JIS, which makes it wider.
    const std::string line = NEWJIS + "\ta" + "\x1b(B" + "\t\t\t\t\t\t";
    auto doc = LoadDoc(line + "\nend");
    ASSERT_EQ(doc->m_pLines[0].bTabInPair, 1);
    const std::uint32_t width = doc->m_pLines[0].nWidth + 2;
    doc->CountRows(width, LAYOUT_SCREEN);
    EXPECT_EQ(doc->m_pLines[0].nRows[0],
              PlaceCharacters(doc->m_pData, doc->m_pLines[0].nLength, CHARSET_ASCII, width).rows);
}

TEST(CountRows, RecountingAtTheSameWidthKeepsTheRows) {
    auto doc = LoadDoc("0123456789\nab\n0123456789abcdef");
    doc->CountRows(4, LAYOUT_SCREEN);
    EXPECT_EQ(doc->m_nTotalRows[0], 3 + 1 + 4);
    doc->CountRows(0, LAYOUT_SCREEN);
    EXPECT_EQ(doc->m_nTotalRows[0], 3);
    doc->CountRows(4, LAYOUT_SCREEN);
    EXPECT_EQ(doc->m_nTotalRows[0], 8);
    EXPECT_EQ(doc->m_pLines[2].nRows[0], 4);
    doc->CountRows(100, LAYOUT_SCREEN);
    EXPECT_EQ(doc->m_nTotalRows[0], 3);
    EXPECT_EQ(doc->m_nLayoutWidth[0], 100u);
}

// Rows of a slot by walking the table from line 0.
std::uint32_t LinearLineAtRow(const CTAVODoc& doc, std::int64_t row, int slot,
                              std::int64_t* start) {
    *start = 0;
    std::uint32_t line = 0;
    for (; line < doc.m_nLines; ++line) {
        if (*start + doc.m_pLines[line].nRows[slot] > row) {
            break;
        }
        *start += doc.m_pLines[line].nRows[slot];
    }
    return line;
}

TEST(RowIndex, FindsTheLinesAndRowsALinearWalkFinds) {
    std::mt19937 rng(7);
    std::string text;
    for (int i = 0; i < 5000; ++i) {
        text.append(rng() % 50, 'x');
        text += '\n';
    }
    auto doc = LoadDoc(text);
    for (std::uint32_t width : {9u, 40u, 0u, 17u, 60u}) {
        doc->CountRows(width, LAYOUT_SCREEN);
        SCOPED_TRACE(width);
        const std::int64_t total = doc->m_nTotalRows[LAYOUT_SCREEN];
        for (std::int64_t row : {std::int64_t(-5), std::int64_t(0), std::int64_t(1), total / 3,
                                 total / 2 + 1, total - 1, total, total + 10}) {
            std::int64_t expected = 0;
            std::int64_t found = -1;
            const std::uint32_t line =
                LinearLineAtRow(*doc, std::max<std::int64_t>(row, 0), LAYOUT_SCREEN, &expected);
            EXPECT_EQ(doc->LineAtRow(row, LAYOUT_SCREEN, &found), line) << row;
            EXPECT_EQ(found, expected) << row;
        }
        for (std::uint32_t line = 0; line <= doc->m_nLines; line += 97) {
            std::int64_t expected = 0;
            for (std::uint32_t k = 0; k < line; ++k) {
                expected += doc->m_pLines[k].nRows[LAYOUT_SCREEN];
            }
            ASSERT_EQ(doc->StartRowOfLine(line, LAYOUT_SCREEN), expected) << line;
        }
        EXPECT_EQ(doc->StartRowOfLine(doc->m_nLines, LAYOUT_SCREEN), total);
    }
}

TEST(Checkpoints, HoldTheStateAWalkFromTheLineStartReaches) {
    for (unsigned seed = 1; seed <= 10; ++seed) {
        std::mt19937 rng(seed);
        // Long lines between short ones, one without any terminator; tabs
        // at every column in the ASCII part a line starts with.
        std::string tabs;
        for (int i = 0; i < 3000; ++i) {
            tabs += std::string(std::size_t(i % 5), 'a') + "\t";
        }
        std::string text = "short\n" + tabs + LongText(rng, 60000, false) + "\nshort\n" +
                           LongText(rng, 30000, false);
        auto doc = LoadDoc(text);
        SCOPED_TRACE(seed);
        std::size_t seen = 0;
        for (std::uint32_t width : {0u, 37u, 200u}) {
            doc->CountRows(width, LAYOUT_SCREEN);
            for (std::uint32_t i = 0; i < doc->m_nLines; ++i) {
                const LineInfo& line = doc->m_pLines[i];
                const LineCheckpoints found = doc->CheckpointsOf(i, LAYOUT_SCREEN);
                if (line.bTabInPair || line.nLength < CTAVODoc::CHECKPOINT_SPACING) {
                    EXPECT_EQ(found.nCount, 0u) << "line " << i;
                    continue;
                }
                EXPECT_GE(found.nCount, line.nLength / CTAVODoc::CHECKPOINT_SPACING / 2);
                EXPECT_EQ(found.nWrapWidth, width);
                EXPECT_EQ(found.nLineOffset, line.nOffset);
                const std::uint8_t* p = doc->m_pData + line.nOffset;
                for (std::size_t k = 0; k < found.nCount; ++k) {
                    const LineCheckpoint& c = found.pFirst[k];
                    const std::uint32_t at = c.nOffset - line.nOffset;
                    ASSERT_LT(at, line.nLength);
                    const Placed walked = PlaceCharacters(p, at, line.nStartSet, 0);
                    ASSERT_EQ(c.nSet, walked.set) << "at " << at;
                    ASSERT_EQ(c.nColumn, walked.column) << "at " << at;
                    if (width != 0) {
                        const Placed placed = PlaceCharacters(p, at, line.nStartSet, width);
                        ASSERT_EQ(c.nRow[LAYOUT_SCREEN], placed.rows - 1) << "at " << at;
                        ASSERT_EQ(c.nRowColumn[LAYOUT_SCREEN], placed.column) << "at " << at;
                    }
                    ++seen;
                }
            }
        }
        EXPECT_GT(seen, 0u);
    }
}

TEST(Checkpoints, ALineWithATabInPairsHasNone) {
    const std::string line = std::string(9000, 'a') + NEWJIS + "0!\t" + std::string(9000, 'b');
    auto doc = LoadDoc(line + "\n" + std::string(9000, 'c'));
    EXPECT_EQ(doc->CheckpointsOf(0, LAYOUT_SCREEN).nCount, 0u);
    EXPECT_EQ(doc->CheckpointsOf(1, LAYOUT_SCREEN).nCount, 2u);
}

} // namespace
