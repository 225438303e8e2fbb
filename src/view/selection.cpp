#include "view/selection.h"

#include "view/jiscodes.h"

#include <algorithm>

namespace {

enum class WordKind { kanji, kana, alphanumeric, other };

bool Within(char32_t ch, char32_t first, char32_t last) {
    return ch >= first && ch <= last;
}

WordKind KindOf(char32_t ch) {
    if (Within(ch, U'\u4E00', U'\u9FFF') || Within(ch, U'\u3400', U'\u4DBF') ||
        Within(ch, U'\uF900', U'\uFAFF') || ch == U'\u3005' || ch == U'\u3006') {
        return WordKind::kanji;
    }
    // Hiragana, katakana with the long-vowel mark, and half-width katakana.
    if (Within(ch, U'\u3041', U'\u309F') || Within(ch, U'\u30A1', U'\u30FF') ||
        Within(ch, U'\uFF66', U'\uFF9F')) {
        return WordKind::kana;
    }
    if (Within(ch, U'0', U'9') || Within(ch, U'A', U'Z') || Within(ch, U'a', U'z') ||
        Within(ch, U'\uFF10', U'\uFF19') || Within(ch, U'\uFF21', U'\uFF3A') ||
        Within(ch, U'\uFF41', U'\uFF5A') || Within(ch, U'\u0391', U'\u03C9') ||
        Within(ch, U'\u0410', U'\u044F')) {
        return WordKind::alphanumeric;
    }
    return WordKind::other;
}

WordKind KindOf(const CTAVODoc& doc, const CharCell& cell) {
    const std::uint8_t* p = doc.m_pData + cell.nOffset;
    return KindOf(IsTwoByteSet(cell.set) ? JisCharacter(p) : ShownCharacter(cell.set, p));
}

bool IsLineEnd(const CTAVODoc& doc, std::uint32_t nLine, const CharCell& cell) {
    const LineInfo& info = doc.m_pLines[nLine];
    return cell.nBytes == 1 && cell.nOffset + 1 == info.nOffset + info.nLength &&
           IsTerminator(doc.m_pData[cell.nOffset]);
}

} // namespace

std::optional<CharCell> CellAt(const CTAVODoc& doc, std::uint32_t nLine, std::int64_t nRow,
                               std::int64_t nColumn) {
    if (nColumn < 0) {
        return std::nullopt;
    }
    LineWalker walker(doc, nLine, LAYOUT_SCREEN);
    walker.SeekCell(nRow, std::uint64_t(nColumn));
    for (CharCell cell; walker.Next(cell) && cell.nRow <= nRow;) {
        if (cell.nRow == nRow && std::int64_t(cell.nColumn + cell.nCells) > nColumn) {
            if (std::int64_t(cell.nColumn) <= nColumn) {
                return cell;
            }
            break;
        }
    }
    return std::nullopt;
}

std::uint32_t PlaceAt(const CTAVODoc& doc, std::int64_t nRow, std::int64_t nHalfColumn) {
    if (nRow < 0 || doc.m_nLines == 0) {
        return 0;
    }
    std::int64_t start = 0;
    const std::uint32_t line = doc.LineAtRow(nRow, LAYOUT_SCREEN, &start);
    if (line >= doc.m_nLines) {
        return doc.m_nLength;
    }
    const std::int64_t row = nRow - start;
    const std::int64_t column = std::max<std::int64_t>(nHalfColumn, 0) / 2;
    LineWalker walker(doc, line, LAYOUT_SCREEN);
    walker.SeekCell(row, std::uint64_t(column));
    // A row that the walk passes without a character ends where the next
    // one starts: at the line's start for an empty line.
    std::uint32_t rowEnd = doc.m_pLines[line].nOffset;
    for (CharCell cell; walker.Next(cell) && cell.nRow <= row;) {
        if (cell.nRow < row) {
            rowEnd = cell.nOffset + cell.nBytes;
            continue;
        }
        if (IsLineEnd(doc, line, cell) ||
            nHalfColumn < std::int64_t(2 * cell.nColumn) + cell.nCells) {
            return cell.nOffset;
        }
        rowEnd = cell.nOffset + cell.nBytes;
    }
    return rowEnd;
}

TextRange WordAround(const CTAVODoc& doc, std::uint32_t nLine, const CharCell& cell) {
    const TextRange alone = {cell.nOffset, cell.nOffset + cell.nBytes};
    const WordKind kind = KindOf(doc, cell);
    if (kind == WordKind::other) {
        return alone;
    }
    // Runs are short; walking the line from its start finds where the
    // clicked one begins.
    TextRange run = alone;
    bool inRun = false;
    LineWalker walker(doc, nLine, LAYOUT_SCREEN);
    for (CharCell next; walker.Next(next);) {
        const bool same = KindOf(doc, next) == kind;
        if (next.nOffset < cell.nOffset) {
            if (!same) {
                run.nBegin = cell.nOffset;
            } else if (!inRun) {
                run.nBegin = next.nOffset;
            }
            inRun = same;
        } else if (next.nOffset > cell.nOffset) {
            if (!same) {
                break;
            }
            run.nEnd = next.nOffset + next.nBytes;
        }
    }
    return run;
}

TextRange LineRange(const CTAVODoc& doc, std::uint32_t nLine) {
    const LineInfo& info = doc.m_pLines[nLine];
    return {info.nOffset, info.nOffset + info.nLength};
}
