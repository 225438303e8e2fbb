// Searches any bytes for a query of random codes, and runs the structure
// check over them, from a random place in either direction. Both must find
// exactly what a plain walk of every line, character by character, finds:
// the next or the previous one, the same again on the way back, and the
// same whole set of places going forward and going backward.
#include "fuzz_support.h"

#include "document/structurecheck.h"
#include "document/textsearch.h"
#include "platform/core/archive.h"

#include <vector>

namespace {

// Bytes that make matches, escapes and line ends likely.
constexpr char QUERY_BYTES[] = "0!a(B$J@I\x1b\t\r\n\f\xb1";

struct CharStart {
    std::size_t offset;
    CharSet set;
};

// Where the characters of a line start as the drawing walks it, and the
// set in force at its end.
std::vector<CharStart> LineCharacters(const CTAVODoc& doc, std::uint32_t line, CharSet* pEndSet) {
    const LineInfo& info = doc.m_pLines[line];
    std::vector<CharStart> starts;
    CharSet set = info.nStartSet;
    const std::size_t end = std::size_t(info.nOffset) + info.nLength;
    for (std::size_t i = info.nOffset; i < end;) {
        if (doc.m_pData[i] == ESC && FollowEscape(doc.m_pData + i, set) != 0) {
            i += 3;
            continue;
        }
        starts.push_back({i, set});
        i += IsTwoByteSet(set) ? 2 : 1;
    }
    *pEndSet = set;
    return starts;
}

bool Shows(const FindChar& wanted, const std::uint8_t* p, CharSet set) {
    for (const FindCode& code : wanted.codes) {
        if ((code.nSets & SetBit(set)) != 0 && code.nFirst == p[0] &&
            (!IsTwoByteSet(set) || code.nSecond == p[1])) {
            return true;
        }
    }
    return false;
}

// Every match, in order: the query's characters one after another from a
// character's start, within its line.
std::vector<TextMatch> AllMatches(const CTAVODoc& doc, const FindQuery& query) {
    std::vector<TextMatch> matches;
    for (std::uint32_t line = 0; line < doc.m_nLines; ++line) {
        CharSet endSet;
        const std::vector<CharStart> starts = LineCharacters(doc, line, &endSet);
        const std::size_t lineEnd =
            std::size_t(doc.m_pLines[line].nOffset) + doc.m_pLines[line].nLength;
        for (std::size_t k = 0; k + query.size() <= starts.size(); ++k) {
            std::size_t n = 0;
            for (; n < query.size(); ++n) {
                const CharStart& at = starts[k + n];
                const std::size_t bytes = IsTwoByteSet(at.set) ? 2 : 1;
                if (at.offset + bytes > lineEnd ||
                    !Shows(query[n], doc.m_pData + at.offset, at.set)) {
                    break;
                }
            }
            if (n == query.size()) {
                const CharStart& last = starts[k + n - 1];
                const std::size_t end = last.offset + (IsTwoByteSet(last.set) ? 2 : 1);
                matches.push_back(
                    {std::uint32_t(starts[k].offset), std::uint32_t(end - starts[k].offset), line});
            }
        }
    }
    return matches;
}

// Every problem, in order, by CheckCharacter at each character, and a text
// that ends in a two-byte set.
std::vector<ProblemPlace> AllProblems(const CTAVODoc& doc, const JisRepertoire& repertoire) {
    std::vector<ProblemPlace> problems;
    CharSet set = CHARSET_ASCII;
    for (std::uint32_t line = 0; line < doc.m_nLines; ++line) {
        for (const CharStart& at : LineCharacters(doc, line, &set)) {
            TextProblem problem;
            if (CheckCharacter(doc, repertoire, std::uint32_t(at.offset), at.set, &problem)) {
                problems.push_back({std::uint32_t(at.offset), line, at.set, problem});
            }
        }
    }
    if (doc.m_nLines > 0 && doc.m_pLines[doc.m_nLines - 1].nLength > 0 && IsTwoByteSet(set)) {
        problems.push_back({doc.m_nLength, doc.m_nLines - 1, set, TextProblem::lineEndsInPair});
    }
    return problems;
}

bool Same(const TextMatch& a, const TextMatch& b) {
    return a.nOffset == b.nOffset && a.nLength == b.nLength && a.nLine == b.nLine;
}

bool Same(const ProblemPlace& a, const ProblemPlace& b) {
    return a.nOffset == b.nOffset && a.nLine == b.nLine && a.set == b.set && a.problem == b.problem;
}

std::uint32_t Start(const TextMatch& match) {
    return match.nOffset;
}

std::uint32_t Start(const ProblemPlace& place) {
    return place.nOffset;
}

// Checks find(from, forward, &found) against the places the plain walk
// found, from one place, on the way back, and over the whole text both ways.
template <typename Place, typename Find>
void CheckFinder(const std::vector<Place>& expected, std::uint32_t from, bool forward,
                 std::uint32_t textEnd, Find find) {
    const Place* wanted = nullptr;
    for (const Place& place : expected) {
        if (forward ? Start(place) >= from : Start(place) < from) {
            wanted = &place;
            if (forward) {
                break;
            }
        }
    }
    Place found{};
    FUZZ_CHECK(find(from, forward, &found) == (wanted != nullptr));
    if (wanted == nullptr) {
        return;
    }
    FUZZ_CHECK(Same(found, *wanted));
    Place again{};
    FUZZ_CHECK(find(forward ? Start(found) + 1 : Start(found), !forward, &again));
    FUZZ_CHECK(Same(again, found));

    std::vector<Place> ahead;
    for (std::uint32_t at = 0; find(at, true, &found); at = Start(found) + 1) {
        FUZZ_CHECK(Start(found) >= at);
        ahead.push_back(found);
    }
    std::vector<Place> behind;
    for (std::uint32_t at = textEnd; find(at, false, &found); at = Start(found)) {
        FUZZ_CHECK(Start(found) < at);
        behind.insert(behind.begin(), found);
    }
    FUZZ_CHECK(ahead.size() == expected.size() && behind.size() == expected.size());
    for (std::size_t i = 0; i < expected.size(); ++i) {
        FUZZ_CHECK(Same(ahead[i], expected[i]) && Same(behind[i], expected[i]));
    }
}

FindQuery TakeQuery(FuzzInput& input) {
    FindQuery query(std::size_t(input.TakeIn(1, 4)));
    const auto takeByte = [&input] {
        const auto b = input.Take<std::uint8_t>();
        return b < 0x80 ? std::uint8_t(QUERY_BYTES[b % (sizeof QUERY_BYTES - 1)]) : b;
    };
    for (FindChar& wanted : query) {
        for (auto n = input.TakeIn(1, 3); n > 0; --n) {
            const auto sets = input.Take<std::uint8_t>();
            if (sets & 0x10) {
                const auto twoByte =
                    std::uint8_t(sets & (SetBit(CHARSET_OLDJIS) | SetBit(CHARSET_NEWJIS)));
                const std::uint8_t first = takeByte();
                wanted.codes.push_back(
                    {twoByte ? twoByte : SetBit(CHARSET_NEWJIS), first, takeByte()});
            } else {
                const auto oneByte =
                    std::uint8_t(sets & (SetBit(CHARSET_ASCII) | SetBit(CHARSET_JISROMAN)));
                wanted.codes.push_back({oneByte ? oneByte : SetBit(CHARSET_ASCII), takeByte(), 0});
            }
        }
    }
    return query;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzInput input(data, size);
    const FindQuery query = TakeQuery(input);
    const auto fromBits = input.Take<std::uint32_t>();
    const bool forward = input.TakeBool();
    const std::string text = input.Rest();

    CTAVODoc doc;
    CMemFile file(text.data(), text.size());
    CArchive ar(&file, CArchive::load);
    doc.Serialize(ar);
    // A start anywhere in the text or just past it, now and then far beyond.
    const std::uint32_t from =
        fromBits >> 31 ? fromBits : fromBits % (std::uint32_t(text.size()) + 2);
    const std::uint32_t textEnd = std::uint32_t(text.size()) + 1;

    CheckFinder(AllMatches(doc, query), from, forward, textEnd,
                [&](std::uint32_t at, bool ahead, TextMatch* pFound) {
                    return FindText(doc, query, at, ahead, pFound);
                });
    // The codes shown: JIS X 0208's and a vendor's row 13.
    JisRepertoire repertoire = JisX0208Codes();
    for (std::uint8_t cell = 0x21; cell <= 0x7E; ++cell) {
        repertoire.set(JisCodeBit(0x2D, cell));
    }
    CheckFinder(AllProblems(doc, repertoire), from, forward, textEnd,
                [&](std::uint32_t at, bool ahead, ProblemPlace* pFound) {
                    return FindProblem(doc, repertoire, at, ahead, pFound);
                });
    return 0;
}
