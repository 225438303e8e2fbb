// Loads any bytes as a document and lays it out at random widths in both
// slots. The line table and the row counts must be exactly those of a plain
// byte-by-byte walk of the text, and finding lines by row must agree with
// them.
#include "fuzz_support.h"

#include "document/tavodoc.h"
#include "platform/core/archive.h"

#include <climits>
#include <vector>

namespace {

struct Line {
    std::uint32_t offset = 0;
    std::uint32_t length = 0;
    std::uint64_t width = 0;
    CharSet startSet = CHARSET_ASCII;
};

// The line split one byte at a time: at a pair's first byte TAB, LF, FF and
// ESC keep their meaning; any other first byte takes the next one with it.
std::vector<Line> WalkLines(const std::string& text) {
    const auto* p = reinterpret_cast<const std::uint8_t*>(text.c_str());
    std::vector<Line> lines(1);
    CharSet set = CHARSET_ASCII;
    std::size_t i = 0;
    while (i < text.size()) {
        Line& line = lines.back();
        const std::uint8_t b = p[i];
        if (b == TAB) {
            line.width = (line.width & ~std::uint64_t(3)) + 4;
            ++i;
        } else if (b == LF || b == FF) {
            ++i;
            line.length = std::uint32_t(i - line.offset);
            lines.push_back({std::uint32_t(i), 0, 0, set});
        } else if (b == ESC && FollowEscape(p + i, set) != 0) {
            i += 3;
        } else if (IsTwoByteSet(set)) {
            line.width += 2;
            i += 2;
        } else {
            ++line.width;
            ++i;
        }
    }
    lines.back().length = std::uint32_t(text.size() - lines.back().offset);
    return lines;
}

// The rows of one line at wrap width w of 1 or more, one byte at a time.
std::uint64_t WalkRows(const std::uint8_t* p, const Line& line, std::uint64_t w) {
    CharSet set = line.startSet;
    std::uint64_t column = 0;
    std::uint64_t rows = 1;
    const auto place = [&](std::uint64_t limit) {
        if (column >= limit) {
            ++rows;
            column = 0;
        }
    };
    std::size_t i = line.offset;
    const std::size_t end = std::size_t(line.offset) + line.length;
    while (i < end) {
        if (p[i] == ESC && FollowEscape(p + i, set) != 0) {
            i += 3;
        } else if (IsTwoByteSet(set)) {
            place(w - 1);
            column += 2;
            i += 2;
        } else {
            place(w);
            column = p[i] == TAB ? (column & ~std::uint64_t(3)) + 4 : column + 1;
            ++i;
        }
    }
    return rows;
}

std::int32_t Saturated(std::uint64_t rows) {
    return std::int32_t(std::min<std::uint64_t>(rows, INT32_MAX));
}

void CheckLayout(const CTAVODoc& doc, const std::vector<Line>& lines, std::uint32_t width,
                 int slot) {
    FUZZ_CHECK(doc.m_nLayoutWidth[slot] == (width == 0 ? doc.m_nMaxWidth : width));
    std::uint64_t total = 0;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const std::uint64_t rows = width == 0 ? 1 : WalkRows(doc.m_pData, lines[i], width);
        FUZZ_CHECK(doc.m_pLines[i].nRows[slot] == Saturated(rows));
        total += rows;
    }
    FUZZ_CHECK(doc.m_nTotalRows[slot] == Saturated(total));
    if (total > INT32_MAX) {
        return; // rows past the last countable one are not addressed
    }
    // Every row belongs to the line that LineAtRow names, which starts
    // where StartRowOfLine says; rows beyond the end name no line.
    for (const std::int64_t row :
         {std::int64_t(0), std::int64_t(total / 2), std::int64_t(total) - 1, std::int64_t(total)}) {
        std::int64_t start = -1;
        const std::uint32_t line = doc.LineAtRow(row, slot, &start);
        if (row >= std::int64_t(total)) {
            FUZZ_CHECK(line == doc.m_nLines);
            continue;
        }
        FUZZ_CHECK(line < doc.m_nLines);
        FUZZ_CHECK(start <= row && row < start + doc.m_pLines[line].nRows[slot]);
        FUZZ_CHECK(doc.StartRowOfLine(line, slot) == start);
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzInput input(data, size);
    const auto screenWidth = std::uint32_t(input.TakeIn(0, 200));
    // Any width at all for the print slot, the huge ones included.
    const auto printWidthBits = input.Take<std::uint32_t>();
    const auto printWidth = printWidthBits >> input.TakeIn(0, 31);
    const std::string text = input.Rest();

    CTAVODoc doc;
    CMemFile file(text.data(), text.size());
    CArchive ar(&file, CArchive::load);
    doc.Serialize(ar);
    if (text.empty()) {
        FUZZ_CHECK(doc.m_pData == nullptr && doc.m_nLines == 0);
        return 0;
    }
    FUZZ_CHECK(doc.m_nLength == text.size());
    FUZZ_CHECK(doc.m_pData[doc.m_nLength] == 0);
    FUZZ_CHECK(std::memcmp(doc.m_pData, text.data(), text.size()) == 0);

    const std::vector<Line> lines = WalkLines(text);
    FUZZ_CHECK(doc.m_nLines == lines.size());
    std::uint64_t widest = 0;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const LineInfo& info = doc.m_pLines[i];
        FUZZ_CHECK(info.nOffset == lines[i].offset);
        FUZZ_CHECK(info.nLength == lines[i].length);
        FUZZ_CHECK(info.nWidth == lines[i].width);
        FUZZ_CHECK(info.nStartSet == lines[i].startSet);
        widest = std::max(widest, lines[i].width);
    }
    FUZZ_CHECK(doc.m_nMaxWidth == widest);
    FUZZ_CHECK(doc.m_nDigits == int(std::to_string(doc.m_nLines).size()));

    doc.CountRows(screenWidth, LAYOUT_SCREEN);
    doc.CountRows(printWidth, LAYOUT_PRINT);
    CheckLayout(doc, lines, screenWidth, LAYOUT_SCREEN);
    CheckLayout(doc, lines, printWidth, LAYOUT_PRINT);
    return 0;
}
