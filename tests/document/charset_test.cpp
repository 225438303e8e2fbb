#include "document/charset.h"

#include <gtest/gtest.h>

#include <array>
#include <iconv.h>
#include <string>

namespace {

std::uint8_t Detect(const std::string& afterEsc) {
    std::string text = "\x1b" + afterEsc;
    text.push_back('\0'); // the zero byte every text ends with
    return DetectEscape(reinterpret_cast<const std::uint8_t*>(text.data()));
}

TEST(DetectEscape, RecognisesTheFourDesignations) {
    EXPECT_EQ(Detect("(B"), 1);
    EXPECT_EQ(Detect("(J"), 2);
    EXPECT_EQ(Detect("$@"), 3);
    EXPECT_EQ(Detect("$B"), 4);
}

TEST(DetectEscape, RejectsOtherSequences) {
    for (const char* other : {"(I", "(b", "$A", "$(D", "&@", "x", "$", "(", ""}) {
        EXPECT_EQ(Detect(other), 0) << other;
    }
}

TEST(DetectEscape, ReadsTheThirdByteOnlyAfterParenOrDollar) {
    // The byte after a rejected second byte may be anything, even unreadable:
    // here it stands beyond a zero byte that ends the text.
    const std::uint8_t text[] = {0x1B, 0x00, 'B'};
    EXPECT_EQ(DetectEscape(text), 0);
}

std::array<std::uint8_t, 2> Convert(std::uint8_t j1, std::uint8_t j2, bool* ok = nullptr) {
    std::array<std::uint8_t, 2> pair{j1, j2};
    const bool converted = JisToSjis(pair.data());
    if (ok) {
        *ok = converted;
    }
    return pair;
}

TEST(JisToSjis, WorkedPairs) {
    using Pair = std::array<std::uint8_t, 2>;
    EXPECT_EQ(Convert(0x30, 0x21), (Pair{0x88, 0x9F}));
    EXPECT_EQ(Convert(0x24, 0x22), (Pair{0x82, 0xA0}));
    EXPECT_EQ(Convert(0x21, 0x21), (Pair{0x81, 0x40}));
    EXPECT_EQ(Convert(0x21, 0x5F), (Pair{0x81, 0x7E}));
    EXPECT_EQ(Convert(0x21, 0x60), (Pair{0x81, 0x80}));
    EXPECT_EQ(Convert(0x5F, 0x21), (Pair{0xE0, 0x40}));
    EXPECT_EQ(Convert(0x7E, 0x7E), (Pair{0xEF, 0xFC}));
    EXPECT_EQ(Convert(0x21, 0x7F), (Pair{0x81, 0x9F})); // second byte is not range-tested
}

TEST(JisToSjis, RefusesFirstBytesOutsideTheRows) {
    for (std::uint8_t j1 : {0x00, 0x0A, 0x20, 0x7F, 0x80, 0xA4, 0xFF}) {
        bool ok = true;
        EXPECT_EQ(Convert(j1, 0x21, &ok), (std::array<std::uint8_t, 2>{j1, 0x21}));
        EXPECT_FALSE(ok);
    }
}

TEST(JisToSjis, SecondByteArithmeticWraps) {
    bool ok = false;
    const auto pair = Convert(0x21, 0xE1, &ok); // 0xE1 + 0x1F wraps to 0x00
    EXPECT_TRUE(ok);
    EXPECT_EQ(pair[1], 0x00);
}

// The system's own converter from ISO-2022-JP (escape to JIS X 0208) to
// Shift_JIS is the reference for every one of the 94 x 94 codes it maps.
TEST(JisToSjis, AgreesWithIconvOnEveryCode) {
    iconv_t cd = iconv_open("SHIFT_JIS", "ISO-2022-JP");
    ASSERT_NE(cd, iconv_t(-1));
    int compared = 0;
    for (int j1 = 0x21; j1 <= 0x7E; ++j1) {
        for (int j2 = 0x21; j2 <= 0x7E; ++j2) {
            char in[] = {0x1B, '$', 'B', char(j1), char(j2)};
            char out[8] = {};
            char* inp = in;
            char* outp = out;
            std::size_t inLeft = sizeof in;
            std::size_t outLeft = sizeof out;
            iconv(cd, nullptr, nullptr, nullptr, nullptr);
            if (iconv(cd, &inp, &inLeft, &outp, &outLeft) == std::size_t(-1) || outp - out != 2) {
                continue; // a code the reference leaves unassigned
            }
            const auto pair = Convert(std::uint8_t(j1), std::uint8_t(j2));
            EXPECT_EQ(pair[0], std::uint8_t(out[0])) << std::hex << j1 << ' ' << j2;
            EXPECT_EQ(pair[1], std::uint8_t(out[1])) << std::hex << j1 << ' ' << j2;
            ++compared;
        }
    }
    iconv_close(cd);
    EXPECT_GE(compared, 6879); // every assigned JIS X 0208 character
}

} // namespace

namespace {

// Codes the reference leaves unassigned still map one to one into the
// Shift_JIS lead and trail ranges.
TEST(JisToSjis, MapsAllCodesOneToOneIntoShiftJisRanges) {
    std::array<bool, 65536> seen{};
    for (int j1 = 0x21; j1 <= 0x7E; ++j1) {
        for (int j2 = 0x21; j2 <= 0x7E; ++j2) {
            const auto pair = Convert(std::uint8_t(j1), std::uint8_t(j2));
            const bool lead =
                (pair[0] >= 0x81 && pair[0] <= 0x9F) || (pair[0] >= 0xE0 && pair[0] <= 0xEF);
            const bool trail = pair[1] >= 0x40 && pair[1] <= 0xFC && pair[1] != 0x7F;
            ASSERT_TRUE(lead && trail) << std::hex << j1 << ' ' << j2;
            const int code = pair[0] << 8 | pair[1];
            ASSERT_FALSE(seen[code]) << std::hex << j1 << ' ' << j2;
            seen[code] = true;
        }
    }
}

} // namespace
