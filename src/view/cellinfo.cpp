#include "view/cellinfo.h"

#include "platform/ui/resource.h"
#include "resources/resource.h"
#include "view/jiscodes.h"

#include <cstdio>
#include <iterator>
#include <vector>

namespace {

// The texts of the structure check's problems, by TextProblem.
constexpr UINT PROBLEM_TEXTS[] = {
    IDS_HIGH_BIT,          IDS_BAD_CONTROL_CODE, IDS_UNKNOWN_ESCAPE, IDS_UNDECODABLE_PAIR,
    IDS_LINE_ENDS_IN_PAIR, IDS_ODD_PAIR_RUN,     IDS_NOT_JIS_X0208,  IDS_OTHER_SET_ESCAPE,
};
static_assert(std::size(PROBLEM_TEXTS) == std::size_t(TextProblem::otherSetEscape) + 1);

const char* const CONTROL_NAMES[] = {
    "NUL", "SOH", "STX", "ETX", "EOT", "ENQ", "ACK", "BEL", "BS",  "HT",  "LF",
    "VT",  "FF",  "CR",  "SO",  "SI",  "DLE", "DC1", "DC2", "DC3", "DC4", "NAK",
    "SYN", "ETB", "CAN", "EM",  "SUB", "ESC", "FS",  "GS",  "RS",  "US",
};

std::string Hex(std::uint64_t value, int digits) {
    char text[24];
    std::snprintf(text, sizeof text, "%0*llX", digits, static_cast<unsigned long long>(value));
    return text;
}

// "1B 28" for the bytes of a character.
std::string HexBytes(const std::uint8_t* p, int count) {
    std::string text;
    for (int i = 0; i < count; ++i) {
        if (i > 0) {
            text += ' ';
        }
        text += Hex(p[i], 2);
    }
    return text;
}

std::string CodePoint(char32_t ch) {
    return "U+" + Hex(ch, 4);
}

// "LF (0x0A)"
std::string ControlName(std::uint8_t b) {
    return std::string(b == DEL ? "DEL" : CONTROL_NAMES[b]) + " (0x" + Hex(b, 2) + ")";
}

// The ESC with the bytes that an escape sequence would go on with: up to
// two intermediate bytes and a final one, "ESC ( I".
std::string EscapeText(const std::uint8_t* p) {
    std::string text = "ESC";
    std::size_t i = 1;
    for (; i <= 2 && p[i] >= 0x20 && p[i] <= 0x2F; ++i) {
        text += std::string(" ") + char(p[i]);
    }
    if (p[i] >= 0x30 && p[i] <= 0x7E) {
        text += std::string(" ") + char(p[i]);
    }
    return text;
}

// "B1  ｱ  U+FF71": the bytes and the character they show, if any.
std::string BytesShowing(const std::uint8_t* p, int count, char32_t ch) {
    std::string text = HexBytes(p, count);
    if (ch != 0) {
        text += "  " + Utf8Of(ch) + "  " + CodePoint(ch);
    }
    return text;
}

} // namespace

std::string ProblemText(const CTAVODoc& doc, std::uint32_t offset, CharSet set,
                        TextProblem problem) {
    const std::uint8_t* const p = doc.m_pData + offset;
    const int bytes = IsTwoByteSet(set) ? 2 : 1;
    std::string detail;
    switch (problem) {
    case TextProblem::highBit:
        detail = BytesShowing(p, bytes, bytes == 1 ? ShownCharacter(set, p) : 0);
        break;
    case TextProblem::notJisX0208:
        detail = BytesShowing(p, bytes, ShownCharacter(set, p));
        break;
    case TextProblem::controlCode:
        detail = ControlName(*p);
        break;
    case TextProblem::unknownEscape:
        detail = EscapeText(p);
        break;
    case TextProblem::otherSetEscape: {
        OtherSet other = OtherSet::jisX0201Katakana;
        DetectOtherDesignation(p, &other);
        detail = EscapeText(p) + " (" +
                 ExtractSubString(LoadString(IDS_OTHER_SET_NAMES), int(other)) + ")";
        break;
    }
    case TextProblem::undecodablePair:
    case TextProblem::oddPairRun:
        detail = HexBytes(p, 2);
        break;
    case TextProblem::lineEndsInPair:
        break;
    }
    return AfxFormatStrings(PROBLEM_TEXTS[int(problem)], {detail});
}

namespace {

// The pair's character of JIS X 0208 and its code points: its own, and
// the one code page 932 shows it by where that differs.
std::string PairText(const std::uint8_t* p) {
    const char32_t ch = JisCharacter(p);
    const char32_t shown = ShownCharacter(CHARSET_NEWJIS, p);
    std::uint8_t sjis[2] = {p[0], p[1]};
    JisToSjis(sjis);
    char kuten[8];
    std::snprintf(kuten, sizeof kuten, "%02d-%02d", p[0] - 0x20, p[1] - 0x20);
    const std::string codePoints =
        shown == ch ? CodePoint(ch)
                    : AfxFormatStrings(IDS_SHOWN_CODE_POINT, {CodePoint(ch), CodePoint(shown)});
    return AfxFormatStrings(IDS_CELL_PAIR, {Utf8Of(ch), kuten, Hex(p[0] << 8 | p[1], 4),
                                            Hex(sjis[0] << 8 | sjis[1], 4), codePoints});
}

std::string CharacterText(const std::uint8_t* p, CharSet set) {
    if (IsTwoByteSet(set)) {
        return PairText(p);
    }
    const char32_t ch = ShownCharacter(set, p);
    if (ch == 0) {
        return AfxFormatStrings(IDS_CONTROL_CODE, {ControlName(*p)});
    }
    return AfxFormatStrings(IDS_CELL_BYTE, {Utf8Of(ch), Hex(*p, 2), CodePoint(ch)});
}

// "行 3  桁 7  ｵﾌｾｯﾄ 120 (0x78)", with what follows as the format has it.
std::vector<std::string> Place(std::uint32_t line, std::uint64_t lineColumn, std::uint32_t offset,
                               std::string what) {
    return {std::to_string(line + 1), std::to_string(lineColumn + 1), std::to_string(offset),
            Hex(offset, 1), std::move(what)};
}

} // namespace

std::string DescribeCell(const CTAVODoc& doc, std::uint32_t nLine, const CharCell& cell) {
    TextProblem problem;
    const std::string what =
        CheckCharacter(doc, DefinedJisCodes(), cell.nOffset, cell.set, &problem)
            ? ProblemText(doc, cell.nOffset, cell.set, problem)
            : CharacterText(doc.m_pData + cell.nOffset, cell.set);
    const std::string set = ExtractSubString(LoadString(IDS_CHARSET_NAMES), cell.set);
    return AfxFormatStrings(IDS_CELL_PLACE, Place(nLine, cell.nLineColumn, cell.nOffset, set)) +
           "  " + what;
}

std::string DescribeProblem(const CTAVODoc& doc, const ProblemPlace& place,
                            std::uint64_t nLineColumn) {
    return AfxFormatStrings(IDS_PROBLEM_AT,
                            Place(place.nLine, nLineColumn, place.nOffset,
                                  ProblemText(doc, place.nOffset, place.set, place.problem)));
}
