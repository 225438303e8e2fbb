// What faces found, kept between runs: a fresh face takes the characters
// and masks an earlier one stored and draws the same pixels, and never
// trusts a file that is damaged or was made by another rendering.
#include "platform/core/file.h"
#include "platform/gdi/face.h"
#include "platform/gdi/glyphatlas.h"
#include "platform/gdi/glyphstore.h"
#include "support/bytes.h"
#include "support/pixels.h"

#include <gtest/gtest.h>

#include <QFont>
#include <QGlyphRun>
#include <QPainter>
#include <QRawFont>

#include <sys/stat.h>
#include <unistd.h>

#include <vector>

namespace {

namespace fs = std::filesystem;

class GlyphStoreTest : public ::testing::Test {
protected:
    void SetUp() override {
        folder = fs::temp_directory_path() / ("tavo_glyphs_" + std::to_string(::getpid()));
        fs::remove_all(folder);
        QFont font(QStringLiteral("IPAMincho"));
        font.setPixelSize(15);
        raw = QRawFont::fromFont(font);
        FontFace plain(raw, std::nullopt);
        for (const QChar ch : TEXT) {
            glyphs.push_back(plain.GlyphOf(ch.unicode()));
        }
        GlyphStore::SetFolder(folder.string());
        path = GlyphStore::PathOf(GlyphStore::FingerprintOf(raw));
    }
    void TearDown() override {
        GlyphStore::SetFolder("");
        fs::remove_all(folder);
    }

    // The text by a face, a glyph a cell, from its atlas at a device scale;
    // the face must find the glyphs and advances a face without the store
    // finds.
    QImage Drawn(FontFace& face, int scale) const {
        std::vector<quint32> indexes;
        std::vector<QPointF> pens;
        for (int i = 0; i < TEXT.size(); ++i) {
            const FontFace::Glyph glyph = face.GlyphOf(TEXT[i].unicode());
            EXPECT_EQ(glyph.index, glyphs[std::size_t(i)].index);
            EXPECT_EQ(glyph.advance, glyphs[std::size_t(i)].advance);
            EXPECT_EQ(glyph.bInkWithinAdvance, glyphs[std::size_t(i)].bInkWithinAdvance);
            indexes.push_back(glyph.index);
            pens.emplace_back(3 + 16 * i, 20);
        }
        QImage image = BlankImage(16 * int(TEXT.size()) * scale + 8, 30 * scale);
        image.setDevicePixelRatio(scale);
        QPainter painter(&image);
        painter.setRenderHint(QPainter::TextAntialiasing);
        EXPECT_EQ(face.Atlas().ExactScale(painter), scale);
        std::vector<int> rest;
        face.Atlas().Draw(painter, scale, qRgb(0x20, 0x40, 0xA0), indexes.data(), pens.data(),
                          int(indexes.size()), &rest);
        EXPECT_TRUE(rest.empty());
        return image;
    }

    // Bytes of masks a new face takes from the store.
    std::size_t HeldByAFreshFace() const {
        const std::size_t before = GlyphAtlas::BytesKept();
        FontFace face(raw, std::nullopt);
        return GlyphAtlas::BytesKept() - before;
    }

    // Rewrites the store with every character (scale 0) or every mask of a
    // scale changed, as another rendering or version of the font would
    // give them.
    void Spoil(int scale) const {
        const std::uint64_t print = GlyphStore::FingerprintOf(raw);
        StoredFace stored = GlyphStore::Read(path, print);
        ASSERT_FALSE(stored.chars.empty());
        for (StoredChar& entry : stored.chars) {
            entry.advance += scale == 0 ? 1 : 0;
        }
        for (StoredGlyph& entry : stored.glyphs) {
            for (std::uint8_t& coverage : entry.mask.coverage) {
                coverage = entry.scale == scale ? std::uint8_t(255 - coverage) : coverage;
            }
        }
        ASSERT_TRUE(GlyphStore::Write(path, print, stored, nullptr));
    }

    const QString TEXT = QStringLiteral("Aa~\\ 漢字かなカナ、。「」日本語の文章");
    fs::path folder;
    QRawFont raw;
    std::string path;
    std::vector<FontFace::Glyph> glyphs;
};

TEST_F(GlyphStoreTest, AFreshFaceTakesWhatAnEarlierRunStoredAndNothingStale) {
    QImage first[3];
    {
        FontFace earlier(raw, std::nullopt);
        first[1] = Drawn(earlier, 1);
        first[2] = Drawn(earlier, 2);
        CFileException error;
        ASSERT_TRUE(FontFace::SaveAll(&error)) << error.m_strFileName;
    }
    const std::string good = ReadBytes(path);
    ASSERT_FALSE(good.empty());

    // Read back whole: a new face holds every stored mask at once and draws
    // the same pixels.
    EXPECT_GT(HeldByAFreshFace(), 1000u);
    {
        FontFace later(raw, std::nullopt);
        EXPECT_EQ(Drawn(later, 1), first[1]);
        EXPECT_EQ(Drawn(later, 2), first[2]);
    }

    // What no longer comes out so is not taken, and the next save puts the
    // true answers back.
    for (const int spoiled : {0, 1, 2}) {
        Spoil(spoiled);
        EXPECT_EQ(HeldByAFreshFace(), 0u) << spoiled;
        FontFace afterStale(raw, std::nullopt);
        EXPECT_EQ(Drawn(afterStale, 1), first[1]) << spoiled;
        EXPECT_EQ(Drawn(afterStale, 2), first[2]) << spoiled;
        ASSERT_TRUE(FontFace::SaveAll(nullptr));
        EXPECT_EQ(ReadBytes(path), good);
    }
}

// A store larger than the atlas can hold with its tiles is taken in part,
// leaving the rest to be rasterised when drawn.
TEST_F(GlyphStoreTest, AStoreTooLargeForTheAtlasIsTakenInPart) {
    QFont font(QStringLiteral("IPAGothic"));
    font.setPixelSize(60);
    raw = QRawFont::fromFont(font);
    QString text;
    for (char16_t ch = u'亜'; text.size() < 1200; ++ch) {
        text += QChar(ch);
    }
    const QList<quint32> indexes = raw.glyphIndexesForString(text);
    const std::vector<quint32> kanji(indexes.begin(), indexes.end());
    {
        FontFace earlier(raw, std::nullopt);
        earlier.Atlas().Warm(1, qRgb(0, 0, 0), kanji.data(), int(kanji.size()));
        ASSERT_TRUE(FontFace::SaveAll(nullptr));
    }
    std::size_t stored = 0;
    for (const StoredGlyph& entry :
         GlyphStore::Read(GlyphStore::PathOf(GlyphStore::FingerprintOf(raw)),
                          GlyphStore::FingerprintOf(raw))
             .glyphs) {
        stored += entry.mask.coverage.size();
    }
    ASSERT_GT(stored, GlyphAtlas::BYTES_KEPT / 4);
    const std::size_t held = HeldByAFreshFace();
    EXPECT_GT(held, GlyphAtlas::BYTES_KEPT / 8);
    EXPECT_LE(held, GlyphAtlas::BYTES_KEPT / 4);
}

TEST_F(GlyphStoreTest, DamagedForeignOrMissingFilesReadAsEmpty) {
    StoredFace written;
    written.chars = {{u'A', 36, 8, true}, {u'漢', 0, 0, true}, {u'f', 71, 5, false}};
    written.glyphs.resize(3);
    written.glyphs[0] = {7, 1, {QPoint(-1, -12), 2, 3, {0, 50, 100, 150, 200, 255}, true}};
    written.glyphs[1] = {8, 2, {QPoint(0, 0), 0, 0, {}, true}}; // a space
    written.glyphs[2] = {9, 1, {QPoint(), 0, 0, {}, false}};
    const std::string path = folder.string() + "/a.glyphs";
    ASSERT_TRUE(GlyphStore::Write(path, 42, written, nullptr));
    const StoredFace read = GlyphStore::Read(path, 42);
    EXPECT_EQ(read.chars, written.chars);
    ASSERT_EQ(read.glyphs.size(), written.glyphs.size());
    for (std::size_t i = 0; i < read.glyphs.size(); ++i) {
        EXPECT_EQ(read.glyphs[i].glyph, written.glyphs[i].glyph);
        EXPECT_EQ(read.glyphs[i].scale, written.glyphs[i].scale);
        EXPECT_EQ(read.glyphs[i].mask, written.glyphs[i].mask);
    }
    const auto isEmpty = [](const StoredFace& face) {
        return face.chars.empty() && face.glyphs.empty();
    };
    EXPECT_TRUE(isEmpty(GlyphStore::Read(path, 43)));
    EXPECT_TRUE(isEmpty(GlyphStore::Read(path + ".missing", 42)));
    EXPECT_TRUE(isEmpty(GlyphStore::Read(folder.string(), 42)));
    const std::string fifo = folder.string() + "/fifo.glyphs";
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    EXPECT_TRUE(isEmpty(GlyphStore::Read(fifo, 42))) << "and no wait for a writer";

    const std::string good = ReadBytes(path);
    const std::string damaged = folder.string() + "/b.glyphs";
    for (std::size_t size = 0; size < good.size(); ++size) {
        WriteBytes(damaged, good.substr(0, size));
        EXPECT_TRUE(isEmpty(GlyphStore::Read(damaged, 42))) << size << " bytes";
    }
    for (std::size_t at = 0; at < good.size(); ++at) {
        std::string bytes = good;
        bytes[at] = char(bytes[at] ^ 0x10);
        WriteBytes(damaged, bytes);
        EXPECT_TRUE(isEmpty(GlyphStore::Read(damaged, 42))) << "byte " << at;
    }

    // A folder that cannot be made: the file is named, nothing written.
    WriteBytes(folder.string() + "/plain", "x");
    CFileException error;
    EXPECT_FALSE(GlyphStore::Write(folder.string() + "/plain/c.glyphs", 42, written, &error));
    EXPECT_EQ(error.m_strFileName, folder.string() + "/plain/c.glyphs");
}

} // namespace
