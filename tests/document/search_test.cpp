// Searching: matches across sets, escapes and long lines, and against a
// plain search over the characters of each line as the drawing meets them.
#include "doc_fixture.h"
#include "document/linewalker.h"
#include "document/textsearch.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>

namespace {

constexpr std::uint8_t ONE_BYTE = SetBit(CHARSET_ASCII) | SetBit(CHARSET_JISROMAN);
constexpr std::uint8_t TWO_BYTE = SetBit(CHARSET_OLDJIS) | SetBit(CHARSET_NEWJIS);

FindChar Byte(char b, char other = 0) {
    FindChar c{{{ONE_BYTE, std::uint8_t(b), 0}}};
    if (other != 0) {
        c.codes.push_back({ONE_BYTE, std::uint8_t(other), 0});
    }
    return c;
}

FindChar Pair(const char* jis) {
    return {{{TWO_BYTE, std::uint8_t(jis[0]), std::uint8_t(jis[1])}}};
}

bool Shows(const FindChar& wanted, const CTAVODoc& doc, const CharCell& cell) {
    const std::uint8_t* p = doc.m_pData + cell.nOffset;
    return std::any_of(wanted.codes.begin(), wanted.codes.end(), [&](const FindCode& code) {
        return (code.nSets & SetBit(cell.set)) && code.nFirst == p[0] &&
               (cell.nBytes == 1 || code.nSecond == p[1]);
    });
}

// Every match, by trying the query at every character of every line.
std::vector<TextMatch> AllMatches(const CTAVODoc& doc, const FindQuery& query) {
    std::vector<TextMatch> matches;
    for (std::uint32_t line = 0; line < doc.m_nLines; ++line) {
        LineWalker walker(doc, line, LAYOUT_SCREEN);
        std::vector<CharCell> cells;
        for (CharCell cell; walker.Next(cell); cells.push_back(cell)) {
        }
        const std::uint32_t end = doc.m_pLines[line].nOffset + doc.m_pLines[line].nLength;
        for (std::size_t first = 0; first + query.size() <= cells.size(); ++first) {
            std::size_t k = 0;
            while (k < query.size() && Shows(query[k], doc, cells[first + k]) &&
                   cells[first + k].nOffset + cells[first + k].nBytes <= end) {
                ++k;
            }
            if (k == query.size()) {
                const CharCell& last = cells[first + k - 1];
                matches.push_back({cells[first].nOffset,
                                   last.nOffset + last.nBytes - cells[first].nOffset, line});
            }
        }
    }
    return matches;
}

std::vector<std::uint32_t> Starts(const CTAVODoc& doc, const FindQuery& query) {
    std::vector<std::uint32_t> starts;
    TextMatch match;
    for (std::uint32_t from = 0; FindText(doc, query, from, true, &match);
         from = match.nOffset + 1) {
        starts.push_back(match.nOffset);
    }
    return starts;
}

TEST(FindTextTest, CharactersMatchWhateverSetOrEscapeEncodesThem) {
    struct Case {
        const char* what;
        std::string text;
        FindQuery query;
        std::vector<std::uint32_t> starts;
    };
    const std::string kanji = "0!0\"";
    const Case cases[] = {
        {"kanji in New and Old JIS",
         NEWJIS + kanji + ASCII + " " + OLDJIS + kanji,
         {Pair("0!"), Pair("0\"")},
         {3, 14}},
        {"a designation between the two",
         NEWJIS + "0!" + OLDJIS + "0\"" + NEWJIS + "0!" + ASCII + "0\"",
         {Pair("0!"), Pair("0\"")},
         {3}},
        {"no match astride a pair", NEWJIS + "!0\"0" + ASCII, {Pair("0\"")}, {}},
        {"ASCII and JIS Roman alike",
         "ab" + ROMAN + "ab" + ASCII + "a" + ROMAN + "b",
         {Byte('a'), Byte('b')},
         {0, 5, 10}},
        {"letters and kanji across escapes",
         "x" + NEWJIS + "0!" + ASCII + "y",
         {Byte('x'), Pair("0!"), Byte('y')},
         {0}},
        {"an unknown escape breaks a match",
         "a\x1bxb a" + ROMAN + "b",
         {Byte('a'), Byte('b')},
         {5}},
        // A designation's ESC is no character; an ESC that designates
        // nothing is one.
        {"no match starts at a designation", "a" + ROMAN + "!\x1bx", {Byte('\x1b', '!')}, {4, 5}},
        {"case ignored through both codes",
         "Ab aB AB",
         {Byte('a', 'A'), Byte('b', 'B')},
         {0, 3, 6}},
        {"katakana bytes in one-byte sets only",
         "\xb1\xb2" + NEWJIS + "\xb1\xb2",
         {Byte('\xb1'), Byte('\xb2')},
         {0}},
        {"never across a line end", "ab\na\nb\fab", {Byte('a'), Byte('b')}, {0, 7}},
        {"a line continued in its set", NEWJIS + "0!\n0\"0!\n" + ASCII, {Pair("0!")}, {3, 8}},
        {"the pair after a line end is not one", NEWJIS + "0!0\n!" + ASCII, {Pair("\n!")}, {}},
        {"no query", "abc", {}, {}},
        {"a character of no code", "abc", {Byte('a'), FindChar{}}, {}},
        {"an empty text", "", {Byte('a')}, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        auto doc = LoadDoc(c.text);
        EXPECT_EQ(Starts(*doc, c.query), c.starts);
    }
}

TEST(FindTextTest, AgreesWithAPlainSearchOnMixedAndLongLines) {
    std::mt19937 rng(11);
    const char* const pieces[] = {"\x1b$B", "\x1b$@", "\x1b(B", "\x1b(J", "\x1b(I", "\x1b",
                                  "0!",     "!0",     "a",      "A",      "b",      "\xb1",
                                  "\n",     "\t",     "\r",     " "};
    const FindChar alphabet[] = {Pair("0!"), Pair("!0"),   Byte('a', 'A'),
                                 Byte('b'),  Byte('\xb1'), Byte(' ')};
    for (int round = 0; round < 60; ++round) {
        std::string text;
        const bool longLines = round % 5 == 0;
        while (text.size() < (longLines ? 30000u : 2000u)) {
            const char* piece = pieces[rng() % std::size(pieces)];
            text += longLines && *piece == '\n' && rng() % 50 != 0 ? "b" : piece;
        }
        auto doc = LoadDoc(text);
        FindQuery query;
        for (std::size_t k = 0, n = 1 + rng() % 3; k < n; ++k) {
            query.push_back(alphabet[rng() % std::size(alphabet)]);
        }
        const std::vector<TextMatch> all = AllMatches(*doc, query);
        for (int probe = 0; probe < 30; ++probe) {
            // Both ends, then anywhere.
            const std::uint32_t from =
                probe < 2 ? probe * doc->m_nLength : std::uint32_t(rng() % (doc->m_nLength + 1));
            TextMatch found{};
            const auto next = std::find_if(
                all.begin(), all.end(), [from](const TextMatch& m) { return m.nOffset >= from; });
            ASSERT_EQ(FindText(*doc, query, from, true, &found), next != all.end()) << round;
            if (next != all.end()) {
                ASSERT_EQ(found.nOffset, next->nOffset) << round;
                ASSERT_EQ(found.nLength, next->nLength);
                ASSERT_EQ(found.nLine, next->nLine);
            }
            const auto before = std::find_if(
                all.rbegin(), all.rend(), [from](const TextMatch& m) { return m.nOffset < from; });
            ASSERT_EQ(FindText(*doc, query, from, false, &found), before != all.rend()) << round;
            if (before != all.rend()) {
                ASSERT_EQ(found.nOffset, before->nOffset) << round;
            }
        }
    }
}

} // namespace
