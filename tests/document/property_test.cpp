// The split, the rows, the line walk and the document core's shortcuts
// (two-stretch split, rows without a walk, row index, checkpoints) against
// plain walks of one byte or one character at a time, on seeded random texts.
#include "doc_fixture.h"
#include "document/linewalker.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>

namespace {

// All four sets, unknown and truncated escapes, CR LF, control, 8-bit and
// random bytes, and runs of plain bytes long enough to cross the scans'
// blocks and give lines checkpoints. Without line ends there are no tabs
// either, which could fall where a pair starts.
std::string RandomText(std::mt19937& rng, std::size_t size, bool lineEnds = true) {
    static const std::string pieces[] = {
        "\x1b(B", "\x1b(J", "\x1b$@", "\x1b$B",   "\x1b$A", "\x1bx", "\x1b(", "\x1b$", "\x1b",
        "0!",     "\\~",    "\x7f",   "\xa4\xa2", "ab",     "\t",    "\r\n",  "\n",    "\f",
    };
    const std::size_t usable = std::size(pieces) - (lineEnds ? 0 : 4);
    std::string text;
    while (text.size() < size) {
        const std::size_t pick = rng() % (usable + 3);
        if (pick < usable) {
            text += pieces[pick];
        } else if (pick == usable) {
            const char byte = char(rng());
            text += lineEnds || (byte != '\t' && byte != '\n' && byte != '\f') ? byte : 'x';
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
    ASSERT_EQ(doc.m_nLength, n);
    ASSERT_EQ(doc.m_pData[n], 0);
    CharSet set = CHARSET_ASCII;
    CharSet startSet = CHARSET_ASCII;
    std::uint64_t width = 0;
    std::uint32_t widest = 0;
    std::uint32_t line = 0;
    std::size_t offset = 0;
    const auto expectLine = [&](std::size_t end) {
        ASSERT_LT(line, doc.m_nLines);
        const LineInfo& info = doc.m_pLines[line];
        ASSERT_EQ(info.nOffset, offset) << "line " << line;
        ASSERT_EQ(info.nLength, end - offset) << "line " << line;
        ASSERT_EQ(info.nWidth, width) << "line " << line;
        ASSERT_EQ(info.nStartSet, startSet) << "line " << line;
        widest = std::max(widest, std::uint32_t(width));
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
    EXPECT_EQ(doc.m_nMaxWidth, widest);
}

// Walks a line as the drawing does and checks every character, also where
// a walk resumes near it, and the line's rows against the placement.
void ExpectWalkAsPlaced(const CTAVODoc& doc, std::uint32_t i, std::uint32_t width, int slot) {
    const LineInfo& line = doc.m_pLines[i];
    const std::uint8_t* p = doc.m_pData + line.nOffset;
    std::vector<CharCell> cells;
    LineWalker walker(doc, i, slot);
    Placed placed = {1, 0, line.nStartSet};
    std::uint32_t at = 0;
    for (CharCell cell; walker.Next(cell); cells.push_back(cell)) {
        PlaceMore(p, at, cell.nOffset - line.nOffset + 1, width, placed);
        at = cell.nOffset - line.nOffset + cell.nBytes;
        ASSERT_EQ(cell.nRow, placed.rows - 1) << "line " << i << " width " << width;
        ASSERT_EQ(cell.nColumn + cell.nCells, placed.column) << "line " << i << " width " << width;
        ASSERT_EQ(cell.set, placed.set);
    }
    ASSERT_EQ(line.nRows[slot], cells.empty() ? 1 : cells.back().nRow + 1) << "line " << i;
    for (std::size_t k = 0; k < cells.size(); k += 97 + cells.size() / 200) {
        LineWalker byOffset(doc, i, slot);
        byOffset.SeekOffset(cells[k].nOffset);
        LineWalker byCell(doc, i, slot);
        byCell.SeekCell(cells[k].nRow, cells[k].nColumn);
        for (LineWalker* resumed : {&byOffset, &byCell}) {
            CharCell cell{};
            while (resumed->Next(cell) && cell.nOffset < cells[k].nOffset) {
            }
            ASSERT_EQ(cell.nOffset, cells[k].nOffset);
            ASSERT_EQ(cell.nRow, cells[k].nRow);
            ASSERT_EQ(cell.nColumn, cells[k].nColumn);
            ASSERT_EQ(cell.nLineColumn, cells[k].nLineColumn);
        }
    }
}

// Counts a slot at a width and checks every line's rows (or its walk), the
// slot's total and its width against the placement.
void ExpectRowsAsPlaced(CTAVODoc& doc, std::uint32_t width, int slot, bool walk = false) {
    doc.CountRows(width, slot);
    std::int64_t total = 0;
    for (std::uint32_t i = 0; i < doc.m_nLines; ++i) {
        const LineInfo& line = doc.m_pLines[i];
        if (walk) {
            ExpectWalkAsPlaced(doc, i, width, slot);
        } else {
            const Placed placed =
                PlaceCharacters(doc.m_pData + line.nOffset, line.nLength, line.nStartSet, width);
            ASSERT_EQ(line.nRows[slot], placed.rows) << "width " << width << " line " << i;
        }
        total += line.nRows[slot];
    }
    ASSERT_EQ(doc.m_nTotalRows[slot], total) << "width " << width;
    ASSERT_EQ(doc.m_nLayoutWidth[slot], width == 0 ? doc.m_nMaxWidth : width);
}

TEST(RandomTexts, SplitAndRowsAgreeWithPlainWalks) {
    for (unsigned seed = 1; seed <= 150; ++seed) {
        std::mt19937 rng(seed);
        const std::string text = RandomText(rng, 1 + rng() % (seed % 3 == 0 ? 30000 : 1000));
        SCOPED_TRACE("seed " + std::to_string(seed));
        auto doc = LoadDoc(text);
        ExpectSplitLikeAByteWalk(*doc, text);
        // Fixed widths, with counts that need no walk in between, then widths
        // around some lines' measured widths, where rows are placed without
        // a walk or not.
        std::vector<std::uint32_t> widths = {1, 0, 2, 3, doc->m_nMaxWidth + 2, 5, 8, 33, 80};
        for (std::uint32_t i = 0; i < doc->m_nLines; i += 1 + doc->m_nLines / 8) {
            const std::uint32_t measured = doc->m_pLines[i].nWidth;
            for (std::uint32_t w = measured > 3 ? measured - 3 : 1; w <= measured + 5; ++w) {
                widths.push_back(w);
            }
        }
        for (std::size_t w = 0; w < widths.size(); ++w) {
            ExpectRowsAsPlaced(*doc, widths[w], int(seed % 2), w < 9); // the fixed ones walked
        }
        if (HasFatalFailure()) {
            return;
        }
    }
}

TEST(CountRows, ATabInPairsIsWalkedThoughItsMeasureFits) {
    // The split moves the tab to a stop and reads "(B" as a designation,
    // which leaves the line narrow; the rows take the tab with "a" as a
    // pair and go on in New JIS, which makes it wider.
    auto doc = LoadDoc(NEWJIS + "\ta" + "\x1b(B" + "\t\t\t\t\t\t\nend");
    ASSERT_EQ(doc->m_pLines[0].bTabInPair, 1);
    ExpectRowsAsPlaced(*doc, doc->m_pLines[0].nWidth + 2, LAYOUT_SCREEN);
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

TEST(Checkpoints, HoldTheStateAWalkFromTheLineStartReaches) {
    for (unsigned seed = 1; seed <= 10; ++seed) {
        std::mt19937 rng(seed);
        // Long lines between short ones, one without any terminator; tabs
        // at every column in the ASCII part a line starts with; a long line
        // with a tab in pairs, which has none.
        std::string tabs;
        for (int i = 0; i < 3000; ++i) {
            tabs += std::string(std::size_t(i % 5), 'a') + "\t";
        }
        auto doc =
            LoadDoc("short\n" + std::string(9000, 'a') + NEWJIS + "0!\t" + std::string(9000, 'b') +
                    ASCII + "\n" + tabs + RandomText(rng, 60000, false) + "\nshort\n" +
                    RandomText(rng, 30000, false));
        SCOPED_TRACE(seed);
        ASSERT_EQ(doc->m_pLines[1].bTabInPair, 1);
        std::size_t seen = 0;
        for (std::uint32_t width : {0u, 37u, 200u}) {
            doc->CountRows(width, LAYOUT_SCREEN);
            for (std::uint32_t i = 0; i < doc->m_nLines; ++i) {
                seen += ExpectCheckpointsOfLine(*doc, i, width);
                ExpectWalkAsPlaced(*doc, i, width, LAYOUT_SCREEN); // resumed from checkpoints
            }
        }
        EXPECT_GT(seen, 0u);
    }
}

// Large texts are split in two stretches at once, the second from a line
// end in the middle in the set of the last designation before it.
TEST(LineSplit, TwoStretchesSplitLikeOne) {
    std::mt19937 rng(11);
    std::string plain;
    while (plain.size() < (std::size_t(9) << 20)) {
        plain += RandomText(rng, 1000);
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
        const std::string text = std::string(body.size() - 2 * ascii.size() - 1, 'p') + "\n" + body;
        SCOPED_TRACE(&body - middleCases);
        auto doc = LoadDoc(text);
        ExpectSplitLikeAByteWalk(*doc, text);
        doc->CountRows(100, LAYOUT_SCREEN);
        EXPECT_GT(ExpectCheckpointsOfLine(*doc, 0, 100), 1000u);
        EXPECT_GT(ExpectCheckpointsOfLine(*doc, doc->m_nLines - 1, 100), 3u);
    }
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
            SCOPED_TRACE(std::to_string(lines) + " lines, width " + std::to_string(width));
            ExpectRowsAsPlaced(*doc, width, LAYOUT_SCREEN);
            const std::int64_t total = doc->m_nTotalRows[LAYOUT_SCREEN];
            std::vector<std::int64_t> starts; // of every line, and the total after them
            for (std::uint32_t line = 0; line < doc->m_nLines; ++line) {
                starts.push_back(line == 0 ? 0 : starts.back() + doc->m_pLines[line - 1].nRows[0]);
            }
            starts.push_back(total);
            for (std::uint32_t line = 0; line <= doc->m_nLines; line += 97) {
                ASSERT_EQ(doc->StartRowOfLine(line, LAYOUT_SCREEN), starts[line]) << line;
            }
            EXPECT_EQ(doc->StartRowOfLine(doc->m_nLines, LAYOUT_SCREEN), total);
            for (std::int64_t row : {std::int64_t(-5), std::int64_t(0), std::int64_t(1), total / 3,
                                     total / 2 + 1, total - 1, total, total + 10}) {
                const auto after = std::upper_bound(starts.begin(), starts.end() - 1,
                                                    std::max<std::int64_t>(row, 0));
                const auto line = std::uint32_t(after - starts.begin() - 1);
                std::int64_t found = -1;
                EXPECT_EQ(doc->LineAtRow(row, LAYOUT_SCREEN, &found),
                          row < total ? line : doc->m_nLines)
                    << row;
                EXPECT_EQ(found, row < total ? starts[line] : total) << row;
            }
        }
    }
}

} // namespace
