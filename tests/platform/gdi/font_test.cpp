// Fonts: sizes on targets of different resolutions, faces, metrics, looks.
#include "platform/core/sjis.h"
#include "platform/gdi/face.h"
#include "platform/gdi/gdi.h"
#include "platform/gdi/glyphatlas.h"
#include "platform/gdi/objects.h"
#include "support/gdi_recorder.h"
#include "support/pixels.h"

#include <gtest/gtest.h>

#include <QFontDatabase>

#include <climits>
#include <cstring>
#include <numeric>
#include <vector>

namespace {

int PixelsFor(LONG tenths, int dpi) {
    GdiRecorder recorder;
    recorder.m_nDpi = dpi;
    CDC dc;
    AttachRecorder(&dc, &recorder);
    CFont font;
    UseFont(dc, font, PointFont(tenths));
    TEXTMETRICA tm = {};
    dc.GetTextMetrics(&tm);
    return tm.tmHeight; // the recorder's fonts are as high as their size in pixels
}

TEST(GdiFont, PointSizeFollowsTheResolutionAndDamagedHeightsDrawSanely) {
    EXPECT_EQ(PixelsFor(90, 96), 12);
    EXPECT_EQ(PixelsFor(90, 600), 75);
    EXPECT_EQ(PixelsFor(110, 96), 15);        // 14.67: to the nearest pixel, not down
    EXPECT_EQ(PixelsFor(0, 96), 16);          // the default size, 12 pt
    EXPECT_EQ(PixelsFor(-90, 96), 12);        // by its magnitude
    EXPECT_EQ(PixelsFor(100000, 96), 960);    // drawn at 720 pt
    EXPECT_EQ(PixelsFor(INT_MIN, 600), 6000); // no overflow on the magnitude
    EXPECT_EQ(PixelsFor(1, 96), 1);
}

TEST(GdiFont, MissingFacesFallBackToAJapaneseFaceOfTheirKind) {
    const std::pair<const char*, const char*> cases[] = {
        {"\x82\x6C\x82\x72\x20\x83\x53\x83\x56\x83\x62\x83\x4E", "IPAGothic"}, // ＭＳ ゴシック
        {"\x82\x6C\x82\x72\x20\x96\xBE\x92\xA9", "IPAMincho"},                 // ＭＳ 明朝
        {"\x82\x6C\x82\x72\x20\x82\x6F\x83\x53\x83\x56\x83\x62\x83\x4E",
         "IPAPGothic"}, // ＭＳ Ｐゴシック
        {"MS Gothic", "IPAGothic"},
        {"MS PMincho", "IPAPMincho"},
        {"Some Unknown Face", "IPAGothic"},
        {"", "IPAGothic"},
        {"IPAMincho", "IPAMincho"}, // installed faces are used as they are
    };
    for (const auto& [stored, family] : cases) {
        EXPECT_EQ(ResolveFamily(PointFont(90, stored)).toStdString(), family) << stored;
    }
}

TEST(GdiFont, FullWidthGlyphFitsTwoHalfWidthCells) {
    QImage image = BlankImage(10, 10);
    CDC dc;
    dc.AttachImage(&image);
    for (LONG tenths : {90, 100, 105, 120}) {
        CFont font;
        UseFont(dc, font, PointFont(tenths));
        TEXTMETRICA tm = {};
        ASSERT_TRUE(dc.GetTextMetrics(&tm));
        const auto wide =
            LONG(FaceOf(*static_cast<FontData*>(font.GetSafeHandle())).GlyphOf(u'\u6F22').advance);
        EXPECT_LE(wide, 2 * tm.tmAveCharWidth) << tenths;
        EXPECT_GE(wide, 2 * tm.tmAveCharWidth - 2) << tenths;
        EXPECT_EQ(tm.tmHeight, tm.tmAscent + tm.tmDescent);
    }
}

// What a face with no Japanese characters draws for the bytes, on an image
// of 12 pt cells; the cell width through cx.
QImage DrawnWithoutJapanese(const char* bytes, LONG* cx) {
    QImage image = BlankImage(100, 30);
    CDC dc;
    dc.AttachImage(&image);
    CFont font;
    UseFont(dc, font, PointFont(120, "DejaVu Sans Mono", ANSI_CHARSET));
    TEXTMETRICA tm = {};
    dc.GetTextMetrics(&tm);
    *cx = tm.tmAveCharWidth;
    dc.TextOut(0, 0, bytes, int(std::strlen(bytes)));
    dc.DeleteDC();
    return image;
}

// Half-width katakana and kanji come from the Japanese face, in the cells
// of the face's own characters: a glyph, not the box for what cannot be
// shown, and what follows stays on the grid.
TEST(GdiFont, CharactersAFaceLacksAreBorrowedInItsCells) {
    if (!QFontDatabase::families().contains("DejaVu Sans Mono")) {
        GTEST_SKIP() << "needs a face without Japanese characters";
    }
    LONG cx = 0;
    const QImage borrowed = DrawnWithoutJapanese("\xB1\x8A\xBF"
                                                 "A",
                                                 &cx);
    const QImage unshowable = DrawnWithoutJapanese("\xA0", &cx);
    const QImage alone = DrawnWithoutJapanese("   A", &cx);
    const QRect kana(0, 0, cx, borrowed.height());
    EXPECT_GT(CountOther(borrowed, kana, qRgb(255, 255, 255)), 5);
    EXPECT_NE(borrowed.copy(kana), unshowable.copy(kana));
    EXPECT_GT(
        CountOther(borrowed, kana.translated(cx, 0).adjusted(0, 0, cx, 0), qRgb(255, 255, 255)),
        20);
    const QRect letter(3 * cx, 0, cx, borrowed.height());
    EXPECT_EQ(borrowed.copy(letter), alone.copy(letter));
}

int InkOf(LONG weight, BYTE italic) {
    QImage image = BlankImage(100, 40);
    CDC dc;
    dc.AttachImage(&image);
    LOGFONTA lf = PointFont(200);
    lf.lfWeight = weight;
    lf.lfItalic = italic;
    CFont font;
    UseFont(dc, font, lf);
    dc.TextOut(0, 0, "Hl\x8A\xBF", 4);
    dc.DeleteDC();
    return CountOther(image, image.rect(), qRgb(255, 255, 255));
}

TEST(GdiFont, WeightAndSlantFollowTheRecord) {
    const int regular = InkOf(0, 0);
    EXPECT_EQ(InkOf(FW_NORMAL, 0), regular);
    EXPECT_GT(InkOf(FW_BOLD, 0), regular * 11 / 10);
    EXPECT_NE(InkOf(0, 1), regular);
}

// Face names the font chooser writes back.
TEST(GdiCodePage, FaceNamesKeepWholeCharactersWithinTheField) {
    EXPECT_EQ(EncodeSjis(u"ＭＳ ゴシック", LF_FACESIZE - 1),
              "\x82\x6C\x82\x72\x20\x83\x53\x83\x56\x83\x62\x83\x4E");
    // Sixteen two-byte characters take 32 bytes: the sixteenth is left out.
    const std::string cut = EncodeSjis(u"あいうえおかきくけこさしすせそた", LF_FACESIZE - 1);
    EXPECT_EQ(cut.size(), 30u);
    EXPECT_EQ(cut.substr(28), "\x82\xBB");
    // A character the code page lacks ends the name.
    EXPECT_EQ(EncodeSjis(u"Mono\u0100Sans", LF_FACESIZE - 1), "Mono");
}

} // namespace

// Every kanji of a face in many colours and at two scales would take tens
// of megabytes: the atlases start afresh instead of growing past their bound.
TEST(GlyphAtlas, KeepsWithinItsBoundWhateverIsDrawn) {
    QFont font(QStringLiteral("IPAGothic"));
    font.setPixelSize(16);
    GlyphAtlas atlas(QRawFont::fromFont(font));
    std::vector<quint32> glyphs(2000);
    std::iota(glyphs.begin(), glyphs.end(), 1);
    std::size_t most = 0;
    for (int scale = 1; scale <= 2; ++scale) {
        for (int color = 0; color < 12; ++color) {
            atlas.Warm(scale, qRgb(color * 20, 0, 255 - color * 20), glyphs.data(),
                       int(glyphs.size()));
            most = std::max(most, GlyphAtlas::BytesKept());
        }
    }
    EXPECT_GT(most, GlyphAtlas::BYTES_KEPT / 2);
    // One warming's worth may be added before the next finds it too much.
    EXPECT_LT(most, 2 * GlyphAtlas::BYTES_KEPT);
}
