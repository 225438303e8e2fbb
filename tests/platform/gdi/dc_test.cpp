// Surfaces: state, object lifetime and what text output puts on an image.
#include "platform/gdi/gdi.h"
#include "support/gdi_recorder.h"
#include "support/pixels.h"

#include <QBuffer>
#include <QPainter>
#include <QPdfWriter>
#include <gtest/gtest.h>

namespace {

TEST(GdiState, FreshSurfaceIsOpaqueBlackOnWhiteAndGivesBackWhatWasSelected) {
    GdiRecorder recorder;
    CDC dc;
    ASSERT_TRUE(AttachRecorder(&dc, &recorder));
    dc.TextOut(0, 0, "a", 1);
    ASSERT_EQ(recorder.m_records.size(), 1u);
    EXPECT_EQ(recorder.m_records[0].nBkMode, OPAQUE);
    EXPECT_EQ(recorder.m_records[0].crText, RGB(0, 0, 0));
    EXPECT_EQ(recorder.m_records[0].crBk, RGB(255, 255, 255));
    CGdiObject* stock = CGdiObject::FromHandle(dc.GetCurrentObject(OBJ_FONT));
    ASSERT_NE(stock, nullptr);

    CFont font;
    const LOGFONTA lf = PointFont(90);
    font.CreatePointFontIndirect(&lf, &dc);
    EXPECT_EQ(dc.SelectObject(&font), stock);
    EXPECT_EQ(dc.SelectGdiObject(stock->GetSafeHandle()), &font);
    EXPECT_EQ(dc.SelectGdiObject(nullptr), nullptr);
    EXPECT_EQ(dc.GetCurrentObject(OBJ_FONT), stock->GetSafeHandle());
}

TEST(GdiState, FontDeletedWhileSelectedStaysUsableThere) {
    QImage image = BlankImage(50, 30);
    CDC dc;
    dc.AttachImage(&image);
    {
        CFont font;
        UseFont(dc, font, PointFont(120));
    }
    EXPECT_EQ(CGdiObject::FromHandle(dc.GetCurrentObject(OBJ_FONT)), nullptr);
    EXPECT_TRUE(dc.TextOut(0, 0, "A", 1));
    dc.DeleteDC();
    EXPECT_GT(CountOther(image, image.rect(), qRgb(255, 255, 255)), 0);
}

TEST(GdiState, MeasuringSurfaceHasTheDevicesSizeAndDrawsNothing) {
    QImage device = BlankImage(300, 200);
    CDC dc;
    ASSERT_TRUE(dc.CreateIC(&device));
    EXPECT_EQ(dc.GetDeviceCaps(HORZRES), 300);
    EXPECT_EQ(dc.GetDeviceCaps(VERTRES), 200);
    TEXTMETRICA tm = {};
    EXPECT_TRUE(dc.GetTextMetrics(&tm));
    EXPECT_FALSE(dc.TextOut(0, 0, "A", 1));
    EXPECT_EQ(CountOther(device, device.rect(), qRgb(255, 255, 255)), 0);
}

TEST(GdiState, PrinterPainterScalesFontsByItsResolution) {
    QBuffer pdf;
    pdf.open(QIODevice::WriteOnly);
    QPdfWriter writer(&pdf);
    writer.setResolution(600);
    QPainter painter(&writer);
    {
        CDC dc;
        ASSERT_TRUE(dc.AttachPainter(&painter));
        EXPECT_EQ(dc.GetDeviceCaps(LOGPIXELSY), 600);
        CFont font;
        UseFont(dc, font, PointFont(90));
        TEXTMETRICA tm = {};
        dc.GetTextMetrics(&tm);
        EXPECT_GE(tm.tmHeight, 75);
        EXPECT_TRUE(dc.TextOut(100, 100, "A\x8A\xBF", 3));
    }
    painter.end();
    EXPECT_GT(pdf.size(), 1000);
}

class GdiImage : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dc.AttachImage(&image));
        UseFont(dc, font, PointFont(120));
        dc.GetTextMetrics(&tm);
    }
    // Ends the surface's painter so the image can be read.
    const QImage& Pixels() {
        dc.DeleteDC();
        return image;
    }

    QImage image = BlankImage(200, 60, Qt::green);
    CDC dc;
    CFont font;
    TEXTMETRICA tm = {};
};

TEST_F(GdiImage, OpaqueTextFillsItsCharacterBoxesOnly) {
    dc.SetBkColor(RGB(255, 0, 0));
    dc.TextOut(10, 10, "A\x88\x9F", 3); // one half-width and one full-width character
    const QImage& pixels = Pixels();
    const QRect box(10, 10, 3 * tm.tmAveCharWidth, tm.tmHeight);
    EXPECT_EQ(pixels.pixel(box.bottomRight()), qRgb(255, 0, 0));
    EXPECT_EQ(CountOther(pixels, pixels.rect(), qRgb(0, 255, 0)), box.width() * box.height());
    EXPECT_GT(CountOther(pixels, box, qRgb(255, 0, 0)), 10);
}

TEST_F(GdiImage, AnInvertedBlockTurnsEveryColourThereIntoItsOpposite) {
    dc.FillSolidRect(0, 0, 10, 10, RGB(255, 0, 0));
    dc.PatBlt(5, 5, 10, 10, DSTINVERT);
    const QImage& pixels = Pixels();
    EXPECT_EQ(pixels.pixel(2, 2), qRgb(255, 0, 0));
    EXPECT_EQ(pixels.pixel(7, 7), qRgb(0, 255, 255));
    EXPECT_EQ(pixels.pixel(12, 12), qRgb(255, 0, 255));
    EXPECT_EQ(pixels.pixel(15, 15), qRgb(0, 255, 0));
}

TEST_F(GdiImage, ClippedTextStaysInsideTheClip) {
    const RECT clip = {10, 10, 10 + tm.tmAveCharWidth, 10 + tm.tmHeight / 2};
    dc.ExtTextOut(10, 10, ETO_CLIPPED, &clip, "\x8A\xBF", 2, nullptr); // 漢
    const QImage& pixels = Pixels();
    const QRect inside(10, 10, tm.tmAveCharWidth, tm.tmHeight / 2);
    EXPECT_EQ(CountOther(pixels, pixels.rect(), qRgb(0, 255, 0)), inside.width() * inside.height());
}

TEST_F(GdiImage, UndefinedBytesShowAPlaceholderInTheirCells) {
    const int cell = tm.tmAveCharWidth;
    dc.TextOut(0, 0, "\x85\x40", 2); // a pair the code page leaves undefined
    dc.TextOut(0, 30, "\x88", 1);    // a lead byte without its trail byte
    const QImage& pixels = Pixels();
    EXPECT_GT(CountOther(pixels, QRect(0, 0, 2 * cell, tm.tmHeight), qRgb(255, 255, 255)), 4);
    EXPECT_GT(CountOther(pixels, QRect(0, 30, cell, tm.tmHeight), qRgb(255, 255, 255)), 4);
    EXPECT_EQ(pixels.pixel(2 * cell, 0), qRgb(0, 255, 0)); // two cells, no more
    EXPECT_EQ(pixels.pixel(cell, 30), qRgb(0, 255, 0));
}

TEST_F(GdiImage, ByteFiveCShowsAHalfWidthYenSignOnlyInShiftJisFonts) {
    CFont latin;
    const LOGFONTA ansi = PointFont(120, "DejaVu Sans Mono", ANSI_CHARSET);
    latin.CreatePointFontIndirect(&ansi, &dc);
    dc.TextOut(0, 0, "\x5C", 1);
    dc.SelectObject(&latin);
    dc.TextOut(20, 0, "\x5C", 1);
    const QImage& pixels = Pixels();
    const int w = tm.tmAveCharWidth;
    const int h = tm.tmHeight;
    EXPECT_EQ(pixels.pixel(w, 0), qRgb(0, 255, 0)); // one cell
    // A yen sign is symmetric; a backslash has its top left inked, not its top right.
    const QImage yen = pixels.copy(0, 0, w, h);
    const QImage backslash = pixels.copy(20, 0, w, h);
    const QRgb white = qRgb(255, 255, 255);
    EXPECT_NEAR(CountOther(yen, QRect(0, 0, w / 2, h / 3), white),
                CountOther(yen, QRect(w - w / 2, 0, w / 2, h / 3), white), 2);
    EXPECT_GT(CountOther(backslash, QRect(0, 0, w / 2, h / 3), white),
              CountOther(backslash, QRect(w - w / 2, 0, w / 2, h / 3), white) + 2);
}

} // namespace
