// Properties that hold for any input, checked on seeded random texts that mix
// all four sets, unknown and truncated escapes, control and 8-bit bytes.
#include "doc_fixture.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <random>

namespace {

std::string RandomText(std::mt19937& rng, std::size_t tokens) {
    static const char* const pieces[] = {
        "\x1b(B", "\x1b(J", "\x1b$@",   "\x1b$B", "\x1b$A", "\x1b(I", "\x1b&@",   "\x1b",
        "\x1b(",  "\x1b$",  "\n",       "\f",     "\r\n",   "\t",     "0!",       "\\~",
        "\x7f",   "\x80",   "\xa4\xa2", "\xff",   "\0",     "abc",    "\x21\x21",
    };
    std::uniform_int_distribution<std::size_t> pick(0, std::size(pieces) - 1);
    std::uniform_int_distribution<int> byte(0, 255);
    std::string text;
    for (std::size_t i = 0; i < tokens; ++i) {
        if (rng() % 4 == 0) {
            text.push_back(char(byte(rng)));
        } else {
            const char* piece = pieces[pick(rng)];
            text.append(piece, *piece ? std::strlen(piece) : 1);
        }
    }
    return text;
}

void CheckLineTable(const CTAVODoc& doc, const std::string& text) {
    ASSERT_EQ(doc.m_nLength, text.size());
    ASSERT_GE(doc.m_nLines, 1u);
    ASSERT_EQ(doc.m_pData[doc.m_nLength], 0);
    std::uint32_t offset = 0;
    std::uint32_t widest = 0;
    for (std::uint32_t i = 0; i < doc.m_nLines; ++i) {
        const LineInfo& line = doc.m_pLines[i];
        ASSERT_EQ(line.nOffset, offset) << "line " << i;
        ASSERT_LE(line.nStartSet, CHARSET_NEWJIS);
        offset += line.nLength;
        if (i + 1 < doc.m_nLines) {
            ASSERT_GE(line.nLength, 1u);
            const char last = text[offset - 1];
            ASSERT_TRUE(last == '\n' || last == '\f') << "line " << i;
        }
        widest = std::max(widest, line.nWidth);
    }
    EXPECT_EQ(offset, doc.m_nLength);
    EXPECT_EQ(doc.m_nMaxWidth, widest);
    EXPECT_EQ(doc.m_pLines[0].nStartSet, CHARSET_ASCII);
    const auto terminators =
        std::count_if(text.begin(), text.end(), [](char c) { return c == '\n' || c == '\f'; });
    EXPECT_LE(doc.m_nLines, std::uint32_t(terminators) + 1);
}

void CheckLayout(CTAVODoc& doc, std::uint32_t width, int slot) {
    doc.CountRows(width, slot);
    std::int64_t total = 0;
    for (std::uint32_t i = 0; i < doc.m_nLines; ++i) {
        const std::int32_t rows = doc.m_pLines[i].nRows[slot];
        ASSERT_GE(rows, 1);
        if (width == 0) {
            ASSERT_EQ(rows, 1);
        }
        // A row holds at least one character, and a line at most one byte each.
        ASSERT_LE(rows, std::int64_t(doc.m_pLines[i].nLength) + 1);
        total += rows;
    }
    EXPECT_EQ(doc.m_nTotalRows[slot], total);
    EXPECT_EQ(doc.m_nLayoutWidth[slot], width == 0 ? doc.m_nMaxWidth : width);
}

TEST(Properties, HoldOnRandomTexts) {
    for (std::uint32_t seed = 1; seed <= 400; ++seed) {
        std::mt19937 rng(seed);
        const std::string text = RandomText(rng, 1 + rng() % 300);
        SCOPED_TRACE("seed " + std::to_string(seed));
        auto doc = LoadDoc(text);
        CheckLineTable(*doc, text);
        for (std::uint32_t width : {0u, 1u, 2u, 3u, 7u, 8u, 80u}) {
            CheckLayout(*doc, width, seed % 2);
        }
        if (testing::Test::HasFatalFailure()) {
            return;
        }
    }
}

// The rows of one line, character by character, as the drawing places them.
std::int32_t ReferenceRows(const std::uint8_t* p, std::uint32_t n, CharSet set,
                           std::uint32_t width) {
    return std::int32_t(PlaceCharacters(p, n, set, width).rows);
}

TEST(Properties, RowsAgreeWithCharacterByCharacterPlacement) {
    for (std::uint32_t seed = 1; seed <= 300; ++seed) {
        std::mt19937 rng(seed);
        auto doc = LoadDoc(RandomText(rng, 1 + rng() % 400));
        for (std::uint32_t width : {1u, 2u, 3u, 4u, 5u, 7u, 10u, 16u, 33u}) {
            doc->CountRows(width, 0);
            for (std::uint32_t i = 0; i < doc->m_nLines; ++i) {
                const LineInfo& line = doc->m_pLines[i];
                ASSERT_EQ(line.nRows[0], ReferenceRows(doc->m_pData + line.nOffset, line.nLength,
                                                       line.nStartSet, width))
                    << "seed " << seed << " width " << width << " line " << i;
            }
        }
    }
}

} // namespace
