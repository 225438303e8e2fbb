// Fonts: sizes on targets of different resolutions, faces, metrics.
#include "platform/gdi.h"
#include "platform/gdi_face.h"
#include "platform/gdi_objects.h"
#include "platform/gdi_recorder.h"
#include "platform/gdi_sjis.h"
#include "platform/gdi_test_util.h"

#include <gtest/gtest.h>

#include <climits>

namespace {

int PixelsFor(LONG tenths, int dpi) {
    GdiRecorder recorder;
    recorder.m_nDpiY = dpi;
    CDC dc;
    dc.AttachRecorder(&recorder);
    CFont font;
    const LOGFONTA lf = PointFont(tenths);
    EXPECT_TRUE(font.CreatePointFontIndirect(&lf, &dc));
    dc.SelectObject(&font);
    return recorder.m_records.back().nFontPixels;
}

TEST(GdiFont, PointSizeFollowsTheTargetsVerticalResolution) {
    EXPECT_EQ(PixelsFor(90, 96), 12);
    EXPECT_EQ(PixelsFor(90, 192), 24);
    EXPECT_EQ(PixelsFor(90, 600), 75);
    EXPECT_EQ(PixelsFor(105, 96), 14); // 13.999 rounds to the nearest pixel
}

TEST(GdiFont, DamagedHeightsDrawSanely) {
    EXPECT_EQ(PixelsFor(0, 96), 16);          // the default size, 12 pt
    EXPECT_EQ(PixelsFor(-90, 96), 12);        // by its magnitude
    EXPECT_EQ(PixelsFor(7200, 96), 960);      // 720 pt is allowed
    EXPECT_EQ(PixelsFor(100000, 96), 960);    // anything above is drawn at 720 pt
    EXPECT_EQ(PixelsFor(INT_MIN, 600), 6000); // no overflow on the magnitude
    EXPECT_EQ(PixelsFor(1, 96), 1);           // never below one pixel
}

TEST(GdiFont, MissingFacesFallBackToAJapaneseFaceOfTheirKind) {
    struct Case {
        const char* stored; // Shift_JIS
        const char* family;
    };
    const Case cases[] = {
        {"\x82\x6C\x82\x72\x20\x83\x53\x83\x56\x83\x62\x83\x4E", "IPAGothic"}, // ＭＳ ゴシック
        {"\x82\x6C\x82\x72\x20\x96\xBE\x92\xA9", "IPAMincho"},                 // ＭＳ 明朝
        {"\x82\x6C\x82\x72\x20\x82\x6F\x83\x53\x83\x56\x83\x62\x83\x4E",
         "IPAPGothic"}, // ＭＳ Ｐゴシック
        {"MS Gothic", "IPAGothic"},
        {"MS PMincho", "IPAPMincho"},
        {"Some Unknown Gothic", "IPAGothic"},
        {"No Such Face", "IPAGothic"},
        {"", "IPAGothic"},
        {"IPAMincho", "IPAMincho"}, // installed faces are used as they are
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ResolveFamily(PointFont(90, c.stored)).toStdString(), c.family) << c.stored;
    }
}

TEST(GdiFont, HalfWidthCellHoldsHalfAFullWidthGlyph) {
    QImage image = BlankImage(100, 100);
    CDC dc;
    ASSERT_TRUE(dc.AttachImage(&image));
    for (LONG tenths : {90, 100, 120, 105}) {
        CFont font;
        const LOGFONTA lf = PointFont(tenths);
        font.CreatePointFontIndirect(&lf, &dc);
        dc.SelectObject(&font);
        TEXTMETRICA tm = {};
        ASSERT_TRUE(dc.GetTextMetrics(&tm));
        FontFace& face = FaceOf(*static_cast<FontData*>(font.GetSafeHandle()));
        EXPECT_LE(LONG(face.GlyphOf(u'\u6F22').advance), 2 * tm.tmAveCharWidth) << tenths;
        EXPECT_GE(LONG(face.GlyphOf(u'\u6F22').advance), 2 * tm.tmAveCharWidth - 2) << tenths;
        EXPECT_EQ(tm.tmHeight, tm.tmAscent + tm.tmDescent);
        EXPECT_GE(tm.tmHeight, lf.lfHeight * 96 / 720);
    }
}

TEST(GdiFont, SameSettingsGiveTheSamePhysicalSizeAtAnyResolution) {
    auto heightAt = [](int dpi) {
        QImage image = BlankImage(10, 10);
        image.setDotsPerMeterY(qRound(dpi / 0.0254));
        image.setDotsPerMeterX(qRound(dpi / 0.0254));
        CDC dc;
        dc.AttachImage(&image);
        CFont font;
        const LOGFONTA lf = PointFont(90);
        font.CreatePointFontIndirect(&lf, &dc);
        dc.SelectObject(&font);
        TEXTMETRICA tm = {};
        dc.GetTextMetrics(&tm);
        return tm.tmHeight;
    };
    const LONG screen = heightAt(96);
    const LONG printer = heightAt(600);
    EXPECT_NEAR(double(printer) / screen, 600.0 / 96, 0.8);
}

TEST(GdiCodePage, DecodesThroughTheTable) {
    EXPECT_EQ(DecodeSjisPair(0x88, 0x9F), u'\u4E9C'); // 亜
    EXPECT_EQ(DecodeSjisPair(0x82, 0xA0), u'\u3042'); // あ
    EXPECT_EQ(DecodeSjisPair(0x81, 0x40), u'\u3000'); // full-width space
    EXPECT_EQ(DecodeSjisPair(0x8B, 0xE6), u'\u533A'); // 区
    EXPECT_EQ(DecodeSjisByte(0x41), u'A');
    EXPECT_EQ(DecodeSjisByte(0xB1), u'\uFF71'); // half-width katakana A
    EXPECT_EQ(DecodeSjisByte(0x5C), u'\\');
    EXPECT_EQ(DecodeSjisPair(0x85, 0x40), SJIS_UNDEFINED);
    EXPECT_EQ(DecodeSjisPair(0x88, 0x20), SJIS_UNDEFINED); // trail byte out of range
    EXPECT_EQ(DecodeSjisByte(0x88), SJIS_UNDEFINED);       // a lead byte alone
    EXPECT_TRUE(IsSjisLeadByte(0x81));
    EXPECT_TRUE(IsSjisLeadByte(0xFC));
    EXPECT_FALSE(IsSjisLeadByte(0xA1));
}

} // namespace

namespace {

int InkOf(LONG weight, BYTE italic) {
    QImage image = BlankImage(100, 40);
    {
        CDC dc;
        dc.AttachImage(&image);
        LOGFONTA lf = PointFont(200);
        lf.lfWeight = weight;
        lf.lfItalic = italic;
        CFont font;
        font.CreatePointFontIndirect(&lf, &dc);
        dc.SelectObject(&font);
        dc.TextOut(0, 0, "Hl\x8A\xBF", 4);
    }
    return CountOther(image, image.rect(), qRgb(255, 255, 255));
}

TEST(GdiFont, WeightAndSlantFollowTheRecord) {
    const int regular = InkOf(0, 0);
    EXPECT_EQ(InkOf(FW_NORMAL, 0), regular);
    EXPECT_GT(InkOf(FW_BOLD, 0), regular * 11 / 10);
    EXPECT_NE(InkOf(0, 1), regular);
}

} // namespace
