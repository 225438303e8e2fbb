#include "structurecheck.h"

#include "linewalker.h"

#include <algorithm>
#include <optional>

namespace {

constexpr std::uint8_t CR = 0x0D;

bool InCode(std::uint8_t b) {
    return b >= 0x21 && b <= 0x7E;
}

// A character of a one-byte set.
std::optional<TextProblem> ProblemOfByte(std::uint8_t b) {
    if (b >= 0x80) {
        return TextProblem::highBit;
    }
    if (b == ESC) {
        return TextProblem::unknownEscape; // a designation was consumed before
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
    if (!InCode(first) || !InCode(second) ||
        !repertoire.test(std::size_t(first - 0x21) * 94 + std::size_t(second - 0x21))) {
        return TextProblem::undecodablePair;
    }
    return std::nullopt;
}

std::optional<TextProblem> ProblemOf(const CTAVODoc& doc, const JisRepertoire& repertoire,
                                     std::size_t offset, CharSet set) {
    const std::uint8_t* const p = doc.m_pData + offset;
    return IsTwoByteSet(set) ? ProblemOfPair(p, offset + 1 == doc.m_nLength, repertoire)
                             : ProblemOfByte(*p);
}

// Walks the text from start, line by line as each is drawn, and hands every
// problem before limit to found, in order, until found returns true.
template <typename Found>
bool Scan(const CTAVODoc& doc, const JisRepertoire& repertoire, const WalkStart& start,
          std::uint64_t limit, Found&& found) {
    const std::uint8_t* const p = doc.m_pData;
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
            const std::optional<TextProblem> problem = ProblemOf(doc, repertoire, i, set);
            if (problem && report(std::uint32_t(i), line, *problem)) {
                return true;
            }
            i += IsTwoByteSet(set) ? 2 : 1;
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

bool CheckCharacter(const CTAVODoc& doc, const JisRepertoire& repertoire, std::uint32_t nOffset,
                    CharSet set, TextProblem* pProblem) {
    const std::optional<TextProblem> problem = ProblemOf(doc, repertoire, nOffset, set);
    if (problem) {
        *pProblem = *problem;
    }
    return problem.has_value();
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
