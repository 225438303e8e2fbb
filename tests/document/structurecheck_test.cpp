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

// The codes shown: those of JIS X 0208 and a vendor's rows 13 and 89 to 92.
JisRepertoire Repertoire() {
    JisRepertoire repertoire = JisX0208Codes();
    for (const int row : {0x2D, 0x79, 0x7A, 0x7B, 0x7C}) {
        for (int cell = 0x21; cell <= 0x7E; ++cell) {
            repertoire.set(JisCodeBit(row, cell));
        }
    }
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
         "\x1b(Ka" + NEWJIS + "0!\x1bx",
         {{0, P::unknownEscape}, {9, P::unknownEscape}}},
        // ESC $ A falls back from New JIS to ASCII as any escape of no shown
        // set does; ESC $ ( cut short by the end of the text designates nothing.
        {"designations of sets never shown",
         "\x1b(I" + NEWJIS + "\x1b$A\x1b$(D" + ASCII + "\x1b$(",
         {{0, P::otherSetEscape},
          {6, P::otherSetEscape},
          {9, P::otherSetEscape},
          {16, P::unknownEscape}}},
        {"pairs that do not decode",
         NEWJIS + "\"/0 \x7f!" + ASCII,
         {{3, P::undecodablePair}, {5, P::undecodablePair}, {7, P::undecodablePair}}},
        {"vendor's characters in either kanji set",
         NEWJIS + "-!y!0!" + OLDJIS + "|{" + ASCII,
         {{3, P::notJisX0208}, {5, P::notJisX0208}, {12, P::notJisX0208}}},
        {"line ends in a pair set",
         NEWJIS + "0!\n0!\r\n" + ASCII,
         {{5, P::lineEndsInPair}, {8, P::lineEndsInPair}}},
        {"the text ends in one", "a\n" + NEWJIS + "0!", {{7, P::lineEndsInPair}}},
        {"an empty last line after one", NEWJIS + "0!\n", {{5, P::lineEndsInPair}}},
        // The odd byte takes the ESC as its pair, "(B" reads as a pair, and
        // the last byte pairs with the end of the text.
        {"odd runs",
         NEWJIS + "0!0" + ASCII + "x",
         {{5, P::oddPairRun},
          {7, P::undecodablePair},
          {9, P::oddPairRun},
          {10, P::lineEndsInPair}}},
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
    std::string kinds; // high bit, control code, escape, undecodable, line end, odd run,
                       // not JIS X 0208, designation of a set never shown
    for (const auto& [offset, problem] : found) {
        kinds += "hceulons"[int(problem)];
    }
    // The tab line's kanji start with a tab, which pairs with what follows.
    EXPECT_EQ(kinds, "uucccecsseehhhhhhh");
    EXPECT_EQ(Backward(*doc), found);

    std::mt19937 rng(5);
    const std::string problems[] = {"\xb1",
                                    "\x07",
                                    "\x1b(I",
                                    NEWJIS + "\"/" + ASCII,
                                    NEWJIS + "0!\n",
                                    NEWJIS + "0" + ASCII,
                                    NEWJIS + "-!" + ASCII};
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

TEST(StructureCheckTest, JisX0208CodesAreExactlyThoseIconvDecodes) {
    iconv_t cd = iconv_open("UTF-32LE", "ISO-2022-JP");
    ASSERT_NE(cd, iconv_t(-1));
    std::size_t codes = 0;
    for (int first = 0x21; first <= 0x7E; ++first) {
        for (int second = 0x21; second <= 0x7E; ++second) {
            const bool decoded = ConvertedByIconv(cd, first, second).size() == 4;
            EXPECT_EQ(JisX0208Codes().test(JisCodeBit(first, second)), decoded)
                << std::hex << first << second;
            codes += decoded;
        }
    }
    iconv_close(cd);
    EXPECT_EQ(codes, 6879u);
}

} // namespace
