// The structure check: each kind of problem where the drawing meets it, a
// clean file, and files that mix them all, walked forward and backward.
#include "doc_fixture.h"
#include "document/structurecheck.h"
#include "support/bytes.h"

#include <gtest/gtest.h>

#include <iterator>
#include <random>

namespace {

using P = TextProblem;
using Found = std::vector<std::pair<std::uint32_t, TextProblem>>;

// Every code defined but one, 0x22 0x2F.
JisRepertoire Repertoire() {
    JisRepertoire repertoire;
    repertoire.set();
    repertoire.reset((0x22 - 0x21) * 94 + (0x2F - 0x21));
    return repertoire;
}

Found Forward(const CTAVODoc& doc) {
    Found found;
    ProblemPlace place;
    for (std::uint32_t from = 0; FindProblem(doc, Repertoire(), from, true, &place);
         from = place.nOffset + 1) {
        found.emplace_back(place.nOffset, place.problem);
    }
    return found;
}

Found Backward(const CTAVODoc& doc) {
    Found found;
    ProblemPlace place;
    for (std::uint32_t to = doc.m_nLength + 1; FindProblem(doc, Repertoire(), to, false, &place);
         to = place.nOffset) {
        found.emplace(found.begin(), place.nOffset, place.problem);
    }
    return found;
}

TEST(StructureCheckTest, EachKindOfProblemWhereTheDrawingMeetsIt) {
    const struct {
        const char* what;
        std::string text;
        Found expected;
    } cases[] = {
        {"clean",
         NEWJIS + "0!" + ASCII + "a\tb\r\n" + ROMAN + "~\\" + ASCII + "\f" + OLDJIS + "0!" + ASCII,
         {}},
        {"8-bit bytes", "a\xb1" + NEWJIS + "\xb0\xa1" + ASCII, {{1, P::highBit}, {5, P::highBit}}},
        {"control codes",
         std::string("\x07"
                     "b\x7f") +
             '\0',
         {{0, P::controlCode}, {2, P::controlCode}, {3, P::controlCode}}},
        {"escapes of nothing",
         "\x1b(Ia" + NEWJIS + "0!\x1bx",
         {{0, P::unknownEscape}, {9, P::unknownEscape}}},
        {"pairs that do not decode",
         NEWJIS + "\"/0 \x7f!" + ASCII,
         {{3, P::undecodablePair}, {5, P::undecodablePair}, {7, P::undecodablePair}}},
        {"line ends in a pair set",
         NEWJIS + "0!\n0!\r\n" + ASCII,
         {{5, P::lineEndsInPair}, {8, P::lineEndsInPair}}},
        {"the text ends in one", "a\n" + NEWJIS + "0!", {{7, P::lineEndsInPair}}},
        {"an empty last line after one", NEWJIS + "0!\n", {{5, P::lineEndsInPair}}},
        // The odd byte takes the ESC as its pair, "(B" reads as a pair, and
        // the last byte pairs with the end of the text.
        {"odd runs",
         NEWJIS + "0!0" + ASCII + "x",
         {{5, P::oddPairRun}, {9, P::oddPairRun}, {10, P::lineEndsInPair}}},
        {"an odd run before a line end", NEWJIS + "0!0\n" + ASCII, {{5, P::oddPairRun}}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        auto doc = LoadDoc(c.text);
        EXPECT_EQ(Forward(*doc), c.expected);
        EXPECT_EQ(Backward(*doc), c.expected);
    }
}

TEST(StructureCheckTest, FilesThatMixEveryProblemAreWalkedAlikeBothWays) {
    // The sample made to show every feature, and a text of a few megabytes
    // (several backward stretches, long lines with checkpoints) with every
    // kind of problem strewn in.
    const std::string features = ReadBytes(TAVO_SAMPLES_DIR "/features.jis");
    ASSERT_FALSE(features.empty());
    auto doc = LoadDoc(features);
    const Found found = Forward(*doc);
    std::string kinds; // high bit, control code, escape, undecodable, line end, odd run
    for (const auto& [offset, problem] : found) {
        kinds += "hceulo"[int(problem)];
    }
    // The tab line's kanji start with a tab, which pairs with what follows.
    EXPECT_EQ(kinds, "uuccceceeeehhhhhhh");
    EXPECT_EQ(Backward(*doc), found);

    std::mt19937 rng(5);
    const std::string problems[] = {
        "\xb1", "\x07", "\x1b(I", NEWJIS + "\"/" + ASCII, NEWJIS + "0!\n", NEWJIS + "0" + ASCII};
    std::string text;
    std::size_t planted = 0;
    while (text.size() < 3'000'000) {
        if (rng() % 3000 == 0) {
            text += problems[planted++ % std::size(problems)];
            text += ASCII + (rng() % 2 ? "\n" : "");
        } else {
            text += rng() % 3 ? "plain text " : NEWJIS + "4A;z" + ASCII;
        }
    }
    doc = LoadDoc(text);
    const Found mixed = Forward(*doc);
    EXPECT_GE(mixed.size(), planted);
    EXPECT_EQ(Backward(*doc), mixed);
}

} // namespace
