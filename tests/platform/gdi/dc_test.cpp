// Surfaces: what text output puts on an image, object lifetime, fonts on
// printers, and memory surfaces that record instead of holding pixels at
// the printer's resolution.
#include "platform/gdi/gdi.h"
#include "support/pixels.h"

#include <QPainter>
#include <QPrinter>
#include <gtest/gtest.h>

#include <sys/resource.h>

namespace {

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

TEST_F(GdiImage, AFontDeletedWhileSelectedStaysUsableThere) {
    dc.SetBkMode(TRANSPARENT);
    {
        CFont deleted;
        UseFont(dc, deleted, PointFont(120));
    }
    EXPECT_EQ(CGdiObject::FromHandle(dc.GetCurrentObject(OBJ_FONT)), nullptr);
    EXPECT_TRUE(dc.TextOut(0, 0, "A", 1));
    EXPECT_GT(CountOther(Pixels(), image.rect(), qRgb(0, 255, 0)), 0);
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
    const QRect inside(10, 10, tm.tmAveCharWidth, tm.tmHeight / 2);
    EXPECT_EQ(CountOther(Pixels(), image.rect(), qRgb(0, 255, 0)),
              inside.width() * inside.height());
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
    const auto ink = [&](int x) { return CountOther(pixels, QRect(x, 0, w / 2, h / 3), 0xFFFFFF); };
    EXPECT_NEAR(ink(0), ink(w - w / 2), 2);
    EXPECT_GT(ink(20), ink(20 + w - w / 2) + 2);
}

TEST(PrinterSurface, FontsOfOrdinarySizesAreAsOnAnImageOfItsResolution) {
    QPrinter printer;
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setResolution(600);
    QImage screen = BlankImage(10, 10);
    screen.setDotsPerMeterX(23622); // 600 dpi
    screen.setDotsPerMeterY(23622);
    const auto height = [](auto* device) {
        CDC dc;
        dc.CreateIC(device);
        CFont font;
        UseFont(dc, font, PointFont(90));
        TEXTMETRICA tm = {};
        dc.GetTextMetrics(&tm);
        return tm.tmHeight;
    };
    EXPECT_EQ(height(&printer), height(&screen));
}

long PeakKilobytes() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

// A bitmap for a printer is a recording: of any size at once, and copied
// mirrored and scaled as pixels would be.
TEST(PrinterSurface, MemorySurfaceRecordsAndPlaysBackMirroredAndScaled) {
    QPrinter printer;
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setResolution(300);
    QImage screen = BlankImage(60, 30, Qt::green);
    screen.setDotsPerMeterX(7559); // a screen of 192 dpi: playback follows no resolution
    screen.setDotsPerMeterY(7559);
    QPainter painter(&screen);
    painter.scale(2, 2); // a preview twice the printer's size
    CDC preview;
    preview.AttachPainter(&painter, &printer);
    CDC memory;
    ASSERT_TRUE(memory.CreateCompatibleDC(&preview));

    const long peak = PeakKilobytes();
    CBitmap huge;
    ASSERT_TRUE(huge.CreateCompatibleBitmap(&preview, 20000, 20000)); // 1.6 GB as pixels
    EXPECT_LT(PeakKilobytes() - peak, 50 * 1024);

    CBitmap bitmap;
    ASSERT_TRUE(bitmap.CreateCompatibleBitmap(&preview, 20, 10));
    CBitmap* previous = memory.SelectObject(&bitmap);
    memory.PatBlt(0, 0, 20, 10, WHITENESS);
    memory.FillSolidRect(0, 0, 5, 10, RGB(0, 0, 0));
    preview.StretchBlt(19, 0, -20, 10, &memory, 0, 0, 20, 10, SRCCOPY);
    memory.SelectGdiObject(previous != nullptr ? previous->GetSafeHandle() : nullptr);
    painter.end();

    EXPECT_EQ(screen.pixel(2, 10), qRgb(255, 255, 255));  // the white, mirrored to the left
    EXPECT_EQ(screen.pixel(37, 10), qRgb(0, 0, 0));       // the black, now on the right
    EXPECT_EQ(screen.pixel(28, 10), qRgb(255, 255, 255)); // ... five printer pixels wide
    EXPECT_EQ(screen.pixel(45, 10), qRgb(0, 255, 0));     // and no further
}

} // namespace
