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

// The line table of a text by a walk of one byte at a time: every tab a
// tab, a terminator met where a pair starts ends the line, one met as the
// second byte of a pair does not.
void ExpectSplitLikeAByteWalk(const CTAVODoc& doc, const std::string& text) {
    const auto* p = reinterpret_cast<const std::uint8_t*>(text.c_str());
    const std::size_t n = text.size();
    CharSet set = CHARSET_ASCII;
    std::uint64_t width = 0;
    std::uint32_t line = 0;
    std::size_t offset = 0;
    CharSet startSet = CHARSET_ASCII;
    const auto expectLine = [&](std::size_t end) {
        ASSERT_LT(line, doc.m_nLines);
        const LineInfo& info = doc.m_pLines[line];
        ASSERT_EQ(info.nOffset, offset) << "line " << line;
        ASSERT_EQ(info.nLength, end - offset) << "line " << line;
        ASSERT_EQ(info.nWidth, width) << "line " << line;
        ASSERT_EQ(info.nStartSet, startSet) << "line " << line;
    };
    for (std::size_t i = 0; i < n;) {
        if (p[i] == TAB) {
            width = (width & ~std::uint64_t(3)) + 4;
            ++i;
        } else if (p[i] == LF || p[i] == FF) {
            ++i;
            expectLine(i);
            ++line;
            offset = i;
            width = 0;
            startSet = set;
        } else if (const int skipped = p[i] == ESC ? FollowEscape(p + i, set) : 0) {
            i += std::size_t(skipped);
        } else {
            width += IsTwoByteSet(set) ? 2 : 1;
            i += IsTwoByteSet(set) ? 2 : 1;
        }
    }
    expectLine(n);
    EXPECT_EQ(doc.m_nLines, line + 1);
}

TEST(LineSplit, AgreesWithAByteByByteWalkOnLongTexts) {
    for (unsigned seed = 1; seed <= 30; ++seed) {
        std::mt19937 rng(seed);
        const std::string text = LongText(rng, 2000 + rng() % 30000, true);
        SCOPED_TRACE(seed);
        ExpectSplitLikeAByteWalk(*LoadDoc(text), text);
    }
}

// Checks every checkpoint of a line against a walk from the line's start,
// for the width the screen slot was last counted at; returns how many.
std::size_t ExpectCheckpointsOfLine(const CTAVODoc& doc, std::uint32_t i, std::uint32_t width) {
    const LineInfo& line = doc.m_pLines[i];
    const LineCheckpoints found = doc.CheckpointsOf(i, LAYOUT_SCREEN);
    if (line.bTabInPair || line.nLength < CTAVODoc::CHECKPOINT_SPACING) {
        EXPECT_EQ(found.nCount, 0u) << "line " << i;
        return 0;
    }
    EXPECT_GE(found.nCount, line.nLength / CTAVODoc::CHECKPOINT_SPACING / 2);
    EXPECT_EQ(found.nWrapWidth, width);
    EXPECT_EQ(found.nLineOffset, line.nOffset);
    const std::uint8_t* p = doc.m_pData + line.nOffset;
    Placed walked = {1, 0, line.nStartSet};
    Placed placed = walked;
    std::uint32_t from = 0;
    for (std::size_t k = 0; k < found.nCount; ++k) {
        const LineCheckpoint& c = found.pFirst[k];
        const std::uint32_t at = c.nOffset - line.nOffset;
        EXPECT_LT(at, line.nLength);
        PlaceMore(p, from, at, 0, walked);
        PlaceMore(p, from, at, width, placed);
        from = at;
        EXPECT_EQ(c.nSet, walked.set) << "at " << at;
        EXPECT_EQ(c.nColumn, walked.column) << "at " << at;
        if (width != 0) {
            EXPECT_EQ(c.nRow[LAYOUT_SCREEN], placed.rows - 1) << "at " << at;
            EXPECT_EQ(c.nRowColumn[LAYOUT_SCREEN], placed.column) << "at " << at;
        }
    }
    return found.nCount;
}

// Large texts are split in two stretches at once, the second from a line
// end in the middle in the set of the last designation before it.
TEST(LineSplit, TwoStretchesSplitLikeOne) {
    std::mt19937 rng(11);
    std::string plain;
    while (plain.size() < (std::size_t(9) << 20)) {
        plain += LongText(rng, 1000, true);
    }
    // Before the middle, lines that end in ASCII and no line end in a pair.
    std::string ascii;
    for (int i = 0; ascii.size() < plain.size() / 2; ++i) {
        ascii += "line " + std::to_string(i) + "\t" + NEWJIS + "0!1\"" + ASCII + "\n";
    }
    // A long line closes the text, for checkpoints in the second stretch.
    plain += std::string(20000, 'q');
    const std::string middleCases[] = {
        // The guess holds: the text before the middle ends in ASCII.
        ascii + "x\n" + plain,
        // A line end in the middle that a pair swallows.
        ascii + NEWJIS + "0\n0!" + ASCII + "\n" + plain,
        // The last designation is not in force: an unknown escape left New JIS.
        ascii + NEWJIS + "0!\x1bx\n" + plain,
    };
    for (const std::string& body : middleCases) {
        // A long first line puts the case's first line end right after the
        // middle of the text.
        const std::size_t pad = body.size() - 2 * ascii.size() - 1;
        const std::string text = std::string(pad, 'p') + "\n" + body;
        SCOPED_TRACE(&body - middleCases);
        auto doc = LoadDoc(text);
        ExpectSplitLikeAByteWalk(*doc, text);
        doc->CountRows(100, LAYOUT_SCREEN);
        EXPECT_GT(ExpectCheckpointsOfLine(*doc, 0, 100), 1000u);
        EXPECT_GT(ExpectCheckpointsOfLine(*doc, doc->m_nLines - 1, 100), 3u);
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

// Many lines are counted in two halves at once, each indexing its own.
TEST(RowIndex, FindsTheLinesAndRowsALinearWalkFinds) {
    for (int lines : {5000, 150000}) {
        std::mt19937 rng(7);
        std::string text;
        for (int i = 0; i < lines; ++i) {
            text.append(rng() % 50, 'x');
            text += '\n';
        }
        auto doc = LoadDoc(text);
        for (std::uint32_t width : {9u, 40u, 0u, 17u, 60u}) {
            doc->CountRows(width, LAYOUT_SCREEN);
            SCOPED_TRACE(std::to_string(lines) + " lines, width " + std::to_string(width));
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
            std::int64_t expected = 0;
            for (std::uint32_t line = 0; line < doc->m_nLines; ++line) {
                if (line % 97 == 0) {
                    ASSERT_EQ(doc->StartRowOfLine(line, LAYOUT_SCREEN), expected) << line;
                }
                const LineInfo& info = doc->m_pLines[line];
                ASSERT_EQ(info.nRows[LAYOUT_SCREEN],
                          PlaceCharacters(doc->m_pData + info.nOffset, info.nLength, info.nStartSet,
                                          width)
                              .rows)
                    << line;
                expected += info.nRows[LAYOUT_SCREEN];
            }
            EXPECT_EQ(expected, total);
            EXPECT_EQ(doc->StartRowOfLine(doc->m_nLines, LAYOUT_SCREEN), total);
        }
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
                seen += ExpectCheckpointsOfLine(*doc, i, width);
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
