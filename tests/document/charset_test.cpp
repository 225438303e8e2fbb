#include "doc_fixture.h"

#include <gtest/gtest.h>

#include <array>

namespace {

TEST(DetectEscape, KnowsTheFourDesignationsAndNothingElse) {
    const std::pair<const char*, int> cases[] = {
        {"(B", 1},  {"(J", 2}, {"$@", 3}, {"$B", 4}, {"(I", 0}, {"(b", 0}, {"$A", 0},
        {"$(D", 0}, {"&@", 0}, {"x", 0},  {"$", 0},  {"(", 0},  {"", 0},
    };
    for (const auto& [afterEsc, expected] : cases) {
        std::string text = "\x1b" + std::string(afterEsc);
        text.push_back('\0'); // the zero byte every text ends with
        EXPECT_EQ(DetectEscape(reinterpret_cast<const std::uint8_t*>(text.data())), expected)
            << afterEsc;
    }
}

using Pair = std::array<std::uint8_t, 2>;

Pair Convert(std::uint8_t j1, std::uint8_t j2, bool* ok = nullptr) {
    Pair pair{j1, j2};
    const bool converted = JisToSjis(pair.data());
    if (ok != nullptr) {
        *ok = converted;
    }
    return pair;
}

TEST(JisToSjis, EdgesOfTheArithmeticAndRefusedFirstBytes) {
    EXPECT_EQ(Convert(0x21, 0x5F), (Pair{0x81, 0x7E}));
    EXPECT_EQ(Convert(0x21, 0x60), (Pair{0x81, 0x80})); // 0x7F is skipped
    EXPECT_EQ(Convert(0x7E, 0x7E), (Pair{0xEF, 0xFC})); // a row the reference leaves empty
    EXPECT_EQ(Convert(0x21, 0x7F), (Pair{0x81, 0x9F})); // the second byte is not range-tested
    EXPECT_EQ(Convert(0x21, 0xE1), (Pair{0x81, 0x00})); // ... and its arithmetic wraps
    for (std::uint8_t j1 : {0x00, 0x20, 0x7F, 0x80, 0xFF}) {
        bool ok = true;
        EXPECT_EQ(Convert(j1, 0x21, &ok), (Pair{j1, 0x21}));
        EXPECT_FALSE(ok);
    }
}

// Every one of the 94 x 94 codes lands one to one in the Shift_JIS lead and
// trail ranges; those the system's converter from ISO-2022-JP maps land
// where it puts them.
TEST(JisToSjis, MapsEveryCodeOneToOneAndAsTheSystemConverterDoes) {
    iconv_t cd = iconv_open("SHIFT_JIS", "ISO-2022-JP");
    ASSERT_NE(cd, iconv_t(-1));
    std::array<bool, 65536> seen{};
    int compared = 0;
    for (int j1 = 0x21; j1 <= 0x7E; ++j1) {
        for (int j2 = 0x21; j2 <= 0x7E; ++j2) {
            const Pair pair = Convert(std::uint8_t(j1), std::uint8_t(j2));
            const bool lead =
                (pair[0] >= 0x81 && pair[0] <= 0x9F) || (pair[0] >= 0xE0 && pair[0] <= 0xEF);
            const bool trail = pair[1] >= 0x40 && pair[1] <= 0xFC && pair[1] != 0x7F;
            ASSERT_TRUE(lead && trail && !seen[pair[0] << 8 | pair[1]]) << std::hex << j1 << j2;
            seen[pair[0] << 8 | pair[1]] = true;

            const std::string sjis = ConvertedByIconv(cd, j1, j2);
            if (sjis.size() == 2) {
                EXPECT_EQ(pair, (Pair{std::uint8_t(sjis[0]), std::uint8_t(sjis[1])}))
                    << std::hex << j1 << j2;
                ++compared;
            }
        }
    }
    iconv_close(cd);
    EXPECT_GE(compared, 6879); // every assigned JIS X 0208 character
}

} // namespace
