#include "structurecheck.h"

#include "linewalker.h"

#include <algorithm>
#include <array>
#include <iterator>
#include <optional>

namespace {

constexpr std::uint8_t CR = 0x0D;

// Rows first to last each holding the cells first to last.
struct JisBlock {
    std::uint8_t firstRow, lastRow, firstCell, lastCell;
};

// The codes that glibc's iconv(3) decodes after ESC $ B of "ISO-2022-JP"
// (and alike after ESC $ @), found by converting each of the 94 x 94 codes
// once and merging the runs. 6879 codes.
constexpr JisBlock JIS_X0208_BLOCKS[] = {
    {0x21, 0x21, 0x21, 0x7E}, {0x22, 0x22, 0x21, 0x2E}, {0x22, 0x22, 0x3A, 0x41},
    {0x22, 0x22, 0x4A, 0x50}, {0x22, 0x22, 0x5C, 0x6A}, {0x22, 0x22, 0x72, 0x79},
    {0x22, 0x22, 0x7E, 0x7E}, {0x23, 0x23, 0x30, 0x39}, {0x23, 0x23, 0x41, 0x5A},
    {0x23, 0x23, 0x61, 0x7A}, {0x24, 0x24, 0x21, 0x73}, {0x25, 0x25, 0x21, 0x76},
    {0x26, 0x26, 0x21, 0x38}, {0x26, 0x26, 0x41, 0x58}, {0x27, 0x27, 0x21, 0x41},
    {0x27, 0x27, 0x51, 0x71}, {0x28, 0x28, 0x21, 0x40}, {0x30, 0x4E, 0x21, 0x7E},
    {0x4F, 0x4F, 0x21, 0x53}, {0x50, 0x73, 0x21, 0x7E}, {0x74, 0x74, 0x21, 0x26},
};

// The bytes after the ESC of each OtherSet's designation.
constexpr const char* OTHER_DESIGNATIONS[] = {"(I", "$A", "$(D"};

bool InCode(std::uint8_t b) {
    return b >= 0x21 && b <= 0x7E;
}

// A character of a one-byte set at p.
std::optional<TextProblem> ProblemOfByte(const std::uint8_t* p) {
    const std::uint8_t b = *p;
    if (b >= 0x80) {
        return TextProblem::highBit;
    }
    if (b == ESC) { // a designation of a shown set was consumed before
        OtherSet other;
        return DetectOtherDesignation(p, &other) ? TextProblem::otherSetEscape
                                                 : TextProblem::unknownEscape;
    }
    if ((b < 0x20 && b != TAB && b != CR && !IsTerminator(b)) || b == DEL) {
        return TextProblem::controlCode;
    }
    return std::nullopt;
}

// The pair of a two-byte set at p; last is whether its first byte is the
// text's last, so that the second is the zero byte after the text.
std::optional<TextProblem> ProblemOfPair(const std::uint8_t* p, bool last,
                                         const JisRepertoire& repertoire) {
    const std::uint8_t first = p[0];
    const std::uint8_t second = p[1];
    // The line split ends a line at a terminator where a pair would start;
    // a CR before one is a line end written in the set too.
    if (IsTerminator(first) || (first == CR && IsTerminator(second))) {
        return TextProblem::lineEndsInPair;
    }
    if (last || second == ESC || IsTerminator(second)) {
        return TextProblem::oddPairRun;
    }
    if (first >= 0x80 || second >= 0x80) {
        return TextProblem::highBit;
    }
    if (!InCode(first) || !InCode(second) || !repertoire.test(JisCodeBit(first, second))) {
        return TextProblem::undecodablePair;
    }
    if (!JisX0208Codes().test(JisCodeBit(first, second))) {
        return TextProblem::notJisX0208;
    }
    return std::nullopt;
}

std::optional<TextProblem> ProblemOf(const CTAVODoc& doc, const JisRepertoire& repertoire,
                                     std::size_t offset, CharSet set) {
    const std::uint8_t* const p = doc.m_pData + offset;
    return IsTwoByteSet(set) ? ProblemOfPair(p, offset + 1 == doc.m_nLength, repertoire)
                             : ProblemOfByte(p);
}

// The offset after the run of clean characters at i in set, which most of a
// text is: printable bytes, or pairs of cleanPairs. It stops at anything
// that needs a closer look (an ESC, a control code, a line end, another
// code), so the scan below sees every problem exactly as before.
std::size_t SkipClean(const std::uint8_t* p, std::size_t i, std::size_t end, CharSet set,
                      const JisRepertoire& cleanPairs) {
    if (!IsTwoByteSet(set)) {
        // Printable bytes, and the tab and line ends that are allowed.
        static constexpr auto clean = [] {
            std::array<bool, 256> bytes{};
            for (int b = 0x20; b < DEL; ++b) {
                bytes[std::size_t(b)] = true;
            }
            for (const std::uint8_t b : {TAB, CR, LF, FF}) {
                bytes[b] = true;
            }
            return bytes;
        }();
        while (i < end && clean[p[i]]) {
            ++i;
        }
        return i;
    }
    while (i < end && InCode(p[i]) && InCode(p[i + 1]) &&
           cleanPairs.test(JisCodeBit(p[i], p[i + 1]))) {
        i += 2;
    }
    return i;
}

// Walks the text from start, line by line as each is drawn, and hands every
// problem before limit to found, in order, until found returns true.
template <typename Found>
bool Scan(const CTAVODoc& doc, const JisRepertoire& repertoire, const WalkStart& start,
          std::uint64_t limit, Found&& found) {
    const std::uint8_t* const p = doc.m_pData;
    // The pairs that are both shown and of JIS X 0208.
    const JisRepertoire cleanPairs = repertoire & JisX0208Codes();
    CharSet set = start.set;
    std::size_t i = start.nOffset;
    const auto report = [&](std::uint32_t offset, std::uint32_t line, TextProblem problem) {
        return found(ProblemPlace{offset, line, set, problem});
    };
    for (std::uint32_t line = start.nLine; line < doc.m_nLines; ++line) {
        const LineInfo& info = doc.m_pLines[line];
        if (line != start.nLine) {
            i = info.nOffset;
            set = info.nStartSet;
        }
        const std::size_t end =
            std::min<std::uint64_t>(std::uint64_t(info.nOffset) + info.nLength, limit);
        while (SkipDesignations(p, i, end, set)) {
            if (const std::size_t clean = SkipClean(p, i, end, set, cleanPairs); clean != i) {
                i = clean;
                continue;
            }
            const std::optional<TextProblem> problem = ProblemOf(doc, repertoire, i, set);
            if (problem && report(std::uint32_t(i), line, *problem)) {
                return true;
            }
            i += BytesPerChar(set);
        }
        if (std::uint64_t(info.nOffset) + info.nLength >= limit) {
            return false;
        }
    }
    // A text that stops inside a two-byte set leaves its last line there.
    const LineInfo& last = doc.m_pLines[doc.m_nLines - 1];
    return doc.m_nLength < limit && last.nLength > 0 && IsTwoByteSet(set) &&
           report(doc.m_nLength, doc.m_nLines - 1, TextProblem::lineEndsInPair);
}

} // namespace

const JisRepertoire& JisX0208Codes() {
    static const JisRepertoire codes = [] {
        JisRepertoire built;
        for (const JisBlock& block : JIS_X0208_BLOCKS) {
            for (int row = block.firstRow; row <= block.lastRow; ++row) {
                for (int cell = block.firstCell; cell <= block.lastCell; ++cell) {
                    built.set(JisCodeBit(std::uint8_t(row), std::uint8_t(cell)));
                }
            }
        }
        return built;
    }();
    return codes;
}

bool DetectOtherDesignation(const std::uint8_t* p, OtherSet* pSet) {
    for (std::size_t set = 0; set < std::size(OTHER_DESIGNATIONS); ++set) {
        const char* const tail = OTHER_DESIGNATIONS[set];
        std::size_t i = 0;
        while (tail[i] != '\0' && p[i + 1] == std::uint8_t(tail[i])) {
            ++i;
        }
        if (tail[i] == '\0') {
            *pSet = OtherSet(set);
            return true;
        }
    }
    return false;
}

bool CheckCharacter(const CTAVODoc& doc, const JisRepertoire& repertoire, std::uint32_t nOffset,
                    CharSet set, TextProblem* pProblem) {
    const std::optional<TextProblem> problem = ProblemOf(doc, repertoire, nOffset, set);
    if (problem) {
        *pProblem = *problem;
    }
    return problem.has_value();
}

bool ScanProblems(const CTAVODoc& doc, const JisRepertoire& repertoire,
                  const std::function<bool(const ProblemPlace&)>& found) {
    return doc.m_nLines != 0 &&
           Scan(doc, repertoire, StartBefore(doc, 0), std::uint64_t(doc.m_nLength) + 1, found);
}

bool FindProblem(const CTAVODoc& doc, const JisRepertoire& repertoire, std::uint32_t nFrom,
                 bool bForward, ProblemPlace* pFound) {
    if (doc.m_nLines == 0) {
        return false;
    }
    const auto take = [pFound](const ProblemPlace& place) {
        *pFound = place;
        return true;
    };
    if (bForward) {
        const std::uint64_t end = std::uint64_t(doc.m_nLength) + 1;
        return nFrom <= doc.m_nLength &&
               Scan(doc, repertoire, StartBefore(doc, nFrom), end, [&](const ProblemPlace& place) {
                   return place.nOffset >= nFrom && take(place);
               });
    }
    // The last problem of the latest stretch that has one.
    return ScanStretchesBackward(
        doc, std::min<std::uint64_t>(nFrom, std::uint64_t(doc.m_nLength) + 1),
        [&](const WalkStart& start, std::uint64_t limit) {
            bool any = false;
            Scan(doc, repertoire, start, limit, [&](const ProblemPlace& place) {
                any = true;
                *pFound = place;
                return false;
            });
            return any;
        });
}
