// Surfaces: state, object selection and what the drawing operations put on
// an image.
#include "platform/gdi.h"
#include "platform/gdi_recorder.h"
#include "platform/gdi_test_util.h"

#include <QBuffer>
#include <QPainter>
#include <QPdfWriter>
#include <gtest/gtest.h>

namespace {

class GdiImage : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dc.AttachImage(&image));
        font.CreatePointFontIndirect(&lf, &dc);
        dc.SelectObject(&font);
        dc.GetTextMetrics(&tm);
    }
    // Ends the surface's painter so the image can be read.
    const QImage& Pixels() {
        dc.DeleteDC();
        return image;
    }

    QImage image = BlankImage(200, 60, Qt::green);
    CDC dc;
    LOGFONTA lf = PointFont(120);
    CFont font;
    TEXTMETRICA tm = {};
};

TEST(GdiState, FreshSurfaceIsOpaqueBlackOnWhiteWithAFont) {
    GdiRecorder recorder;
    CDC dc;
    ASSERT_TRUE(dc.AttachRecorder(&recorder));
    EXPECT_EQ(dc.GetBkMode(), OPAQUE);
    EXPECT_EQ(dc.GetTextColor(), RGB(0, 0, 0));
    EXPECT_EQ(dc.GetBkColor(), RGB(255, 255, 255));
    CGdiObject* stock = CGdiObject::FromHandle(dc.GetCurrentObject(OBJ_FONT));
    ASSERT_NE(stock, nullptr);

    CFont font;
    const LOGFONTA lf = PointFont(90);
    font.CreatePointFontIndirect(&lf, &dc);
    EXPECT_EQ(dc.SelectObject(&font), stock);
    EXPECT_EQ(dc.GetCurrentObject(OBJ_FONT), font.GetSafeHandle());
    EXPECT_EQ(dc.SelectGdiObject(stock->GetSafeHandle()), &font);
    EXPECT_EQ(dc.SelectGdiObject(nullptr), nullptr); // selects nothing
    EXPECT_EQ(dc.GetCurrentObject(OBJ_FONT), stock->GetSafeHandle());
}

TEST(GdiState, FillSolidRectLeavesItsColourAsBackground) {
    GdiRecorder recorder;
    CDC dc;
    dc.AttachRecorder(&recorder);
    dc.FillSolidRect(1, 2, 3, 4, RGB(1, 2, 3));
    EXPECT_EQ(dc.GetBkColor(), RGB(1, 2, 3));
}

TEST(GdiState, AFontDeletedWhileSelectedStaysUsableThere) {
    QImage image = BlankImage(50, 30);
    CDC dc;
    dc.AttachImage(&image);
    {
        CFont font;
        const LOGFONTA lf = PointFont(120);
        font.CreatePointFontIndirect(&lf, &dc);
        dc.SelectObject(&font);
    }
    EXPECT_EQ(CGdiObject::FromHandle(dc.GetCurrentObject(OBJ_FONT)), nullptr);
    EXPECT_TRUE(dc.TextOut(0, 0, "A", 1));
    dc.DeleteDC();
    EXPECT_GT(CountOther(image, image.rect(), qRgb(255, 255, 255)), 0);
}

TEST(GdiState, MeasuringSurfaceMeasuresButDrawsNothing) {
    QImage device = BlankImage(300, 200);
    CDC dc;
    ASSERT_TRUE(dc.CreateIC(&device));
    EXPECT_EQ(dc.GetDeviceCaps(HORZRES), 300);
    EXPECT_EQ(dc.GetDeviceCaps(VERTRES), 200);
    EXPECT_EQ(dc.GetDeviceCaps(LOGPIXELSY), 96);
    TEXTMETRICA tm = {};
    EXPECT_TRUE(dc.GetTextMetrics(&tm));
    EXPECT_GT(tm.tmHeight, 0);
    EXPECT_FALSE(dc.TextOut(0, 0, "A", 1));
    EXPECT_EQ(CountOther(device, device.rect(), qRgb(255, 255, 255)), 0);
}

TEST(GdiState, PainterTargetDrawsThroughTheCallersPainter) {
    QImage device = BlankImage(40, 30);
    QPainter painter(&device);
    {
        CDC dc;
        ASSERT_TRUE(dc.AttachPainter(&painter));
        EXPECT_EQ(dc.GetDeviceCaps(HORZRES), 40);
        dc.FillSolidRect(0, 0, 5, 5, RGB(255, 0, 0));
    }
    painter.end();
    EXPECT_EQ(device.pixel(2, 2), qRgb(255, 0, 0));
}

TEST(GdiState, PrinterLikeDeviceScalesFontsByItsResolution) {
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
        const LOGFONTA lf = PointFont(90);
        font.CreatePointFontIndirect(&lf, &dc);
        dc.SelectObject(&font);
        TEXTMETRICA tm = {};
        dc.GetTextMetrics(&tm);
        EXPECT_GE(tm.tmHeight, 75);
        const RECT clip = {0, 0, 2000, 2000};
        EXPECT_TRUE(dc.ExtTextOut(100, 100, ETO_CLIPPED, &clip, "A\x8A\xBF", 3, nullptr));
    }
    painter.end();
    EXPECT_GT(pdf.size(), 1000);
}

TEST_F(GdiImage, OpaqueTextFillsItsCharacterBoxesOnly) {
    dc.SetBkColor(RGB(255, 0, 0));
    dc.SetTextColor(RGB(0, 0, 255));
    dc.TextOut(10, 10, "A\x88\x9F", 3); // one half-width and one full-width character
    const QImage& pixels = Pixels();
    const QRect box(10, 10, 3 * tm.tmAveCharWidth, tm.tmHeight);
    EXPECT_EQ(pixels.pixel(box.topLeft()), qRgb(255, 0, 0));
    EXPECT_EQ(pixels.pixel(box.bottomRight()), qRgb(255, 0, 0));
    EXPECT_EQ(CountOther(pixels, box.adjusted(-1, -1, 1, 1), qRgb(0, 255, 0)),
              (box.width()) * box.height());                 // nothing outside the boxes
    EXPECT_GT(CountOther(pixels, box, qRgb(255, 0, 0)), 10); // ink in both glyphs
}

TEST_F(GdiImage, TransparentTextLeavesTheGround) {
    dc.SetBkMode(TRANSPARENT);
    dc.SetBkColor(RGB(255, 0, 0));
    dc.TextOut(10, 10, "A", 1);
    const QImage& pixels = Pixels();
    const QRect box(10, 10, tm.tmAveCharWidth, tm.tmHeight);
    EXPECT_EQ(CountOther(pixels, box, qRgb(255, 0, 0)), box.width() * box.height());
    EXPECT_EQ(pixels.pixel(10, 10), qRgb(0, 255, 0));
}

TEST_F(GdiImage, ClippedTextStaysInsideTheClip) {
    const RECT clip = {10, 10, 10 + tm.tmAveCharWidth, 10 + tm.tmHeight / 2};
    dc.ExtTextOut(10, 10, ETO_CLIPPED, &clip, "\x8A\xBF", 2, nullptr); // 漢
    const QImage& pixels = Pixels();
    const QRect inside(10, 10, tm.tmAveCharWidth, tm.tmHeight / 2);
    EXPECT_EQ(CountOther(pixels, pixels.rect(), qRgb(0, 255, 0)),
              CountOther(pixels, inside, qRgb(0, 255, 0)));
    EXPECT_EQ(CountOther(pixels, inside, qRgb(0, 255, 0)), inside.width() * inside.height());
}

TEST_F(GdiImage, UndefinedBytesShowAPlaceholderInTheirCells) {
    const int cell = tm.tmAveCharWidth;
    dc.TextOut(0, 0, "\x85\x40", 2); // a pair the code page leaves undefined
    dc.TextOut(0, 30, "\x88", 1);    // a lead byte without its trail byte
    const QImage& pixels = Pixels();
    const QRect pair(0, 0, 2 * cell, tm.tmHeight);
    const QRect lone(0, 30, cell, tm.tmHeight);
    EXPECT_GT(CountOther(pixels, pair, qRgb(255, 255, 255)), 4);
    EXPECT_GT(CountOther(pixels, lone, qRgb(255, 255, 255)), 4);
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

TEST_F(GdiImage, StretchBltMirrorsPixelExact) {
    CDC memory;
    ASSERT_TRUE(memory.CreateCompatibleDC(&dc));
    CBitmap bitmap;
    ASSERT_TRUE(bitmap.CreateCompatibleBitmap(&dc, 7, 5));
    memory.SelectObject(&bitmap);
    memory.PatBlt(0, 0, 7, 5, WHITENESS);
    memory.FillSolidRect(0, 0, 3, 1, RGB(255, 0, 0)); // an asymmetric mark
    memory.FillSolidRect(6, 4, 1, 1, RGB(0, 0, 255));
    dc.StretchBlt(20 + 7 - 1, 0, -7, 5, &memory, 0, 0, 7, 5, SRCCOPY); // left-right
    dc.StretchBlt(40, 5 - 1, 7, -5, &memory, 0, 0, 7, 5, SRCCOPY);     // top-bottom
    const QImage& pixels = Pixels();
    QImage source(7, 5, QImage::Format_RGB32);
    source.fill(Qt::white);
    for (int x = 0; x < 3; ++x) {
        source.setPixel(x, 0, qRgb(255, 0, 0));
    }
    source.setPixel(6, 4, qRgb(0, 0, 255));
    EXPECT_EQ(pixels.copy(20, 0, 7, 5), source.mirrored(true, false));
    EXPECT_EQ(pixels.copy(40, 0, 7, 5), source.mirrored(false, true));
    EXPECT_EQ(pixels.pixel(19, 0), qRgb(0, 255, 0));
    EXPECT_EQ(pixels.pixel(27, 0), qRgb(0, 255, 0));
}

TEST_F(GdiImage, HalftoneFrameIsACheckerboardOfTextAndBackground) {
    dc.SetTextColor(RGB(255, 0, 0));
    dc.SetBkColor(RGB(0, 0, 255));
    const RECT frame = {3, 4, 13, 11};
    dc.FrameRect(&frame, CDC::GetHalftoneBrush());
    const QImage& pixels = Pixels();
    for (int y = 4; y < 11; ++y) {
        for (int x = 3; x < 13; ++x) {
            const bool border = x == 3 || x == 12 || y == 4 || y == 10;
            const QRgb expected =
                !border ? qRgb(0, 255, 0) : ((x + y) % 2 == 0 ? qRgb(255, 0, 0) : qRgb(0, 0, 255));
            EXPECT_EQ(pixels.pixel(x, y), expected) << x << "," << y;
        }
    }
    EXPECT_EQ(pixels.pixel(2, 4), qRgb(0, 255, 0));
    EXPECT_EQ(pixels.pixel(13, 10), qRgb(0, 255, 0));
}

} // namespace
