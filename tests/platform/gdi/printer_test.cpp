// Printer surfaces: what they report, the print job a page at a time, fonts
// that fit the page, and memory surfaces that record instead of holding
// pixels at the printer's resolution.
#include "platform/gdi/gdi.h"
#include "support/pdf.h"
#include "support/pixels.h"

#include <QPainter>
#include <QPrinter>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <sys/resource.h>

namespace {

class PrinterSurface : public ::testing::Test {
protected:
    void SetUp() override {
        printer.setOutputFileName(dir.filePath("out.pdf"));
        printer.setResolution(300);
    }

    std::string Pdf() const { return dir.filePath("out.pdf").toStdString(); }

    QTemporaryDir dir;
    QPrinter printer;
};

TEST_F(PrinterSurface, SendsAJobAPageAtATime) {
    CDC dc;
    ASSERT_TRUE(dc.AttachPrinter(&printer));
    EXPECT_EQ(dc.GetDeviceCaps(TECHNOLOGY), DT_RASPRINTER);
    EXPECT_EQ(dc.GetDeviceCaps(VERTRES), printer.height()); // the printable area
    EXPECT_EQ(dc.StartPage(), SP_ERROR);                    // no job yet
    ASSERT_GT(dc.StartDoc("three pages"), 0);
    EXPECT_EQ(dc.StartDoc("again"), SP_ERROR);
    for (int page = 0; page < 3; ++page) {
        ASSERT_GT(dc.StartPage(), 0);
        dc.FillSolidRect(page * 300, 0, 300, 300, RGB(0, 0, 0)); // an inch square
        ASSERT_GT(dc.EndPage(), 0);
    }
    ASSERT_GT(dc.EndDoc(), 0);
    EXPECT_EQ(dc.EndDoc(), SP_ERROR);
    ASSERT_EQ(PdfPageCount(Pdf()), 3);
    // The third page has its own square, and not the first page's.
    const QImage third = PdfPageImage(Pdf(), 3, 30);
    const QPoint margin = printer.pageRect(QPrinter::DevicePixel).topLeft().toPoint() / 10;
    EXPECT_EQ(third.pixel(margin + QPoint(75, 15)), qRgb(0, 0, 0));
    EXPECT_EQ(third.pixel(margin + QPoint(15, 15)), qRgb(255, 255, 255));
}

TEST_F(PrinterSurface, FontsFitThePageAndOrdinarySizesStayAsTheyAre) {
    printer.setResolution(600);
    printer.setPageSize(QPageSize(QSizeF(1, 1), QPageSize::Inch, "small", QPageSize::ExactMatch));
    printer.setPageMargins(QMarginsF(0, 0, 0, 0), QPageLayout::Point);
    CDC small;
    small.CreateIC(&printer);
    CFont big;
    UseFont(small, big, PointFont(1440)); // two inches on a page of one
    TEXTMETRICA tm = {};
    small.GetTextMetrics(&tm);
    EXPECT_LE(tm.tmHeight, 600);
    EXPECT_GT(tm.tmHeight, 500); // the largest that fits, not much less
    EXPECT_LE(tm.tmAveCharWidth, 600);

    QImage screen = BlankImage(10, 10);
    screen.setDotsPerMeterX(23622); // 600 dpi
    screen.setDotsPerMeterY(23622);
    CDC image;
    image.CreateIC(&screen);
    CFont onPrinter;
    CFont onImage;
    UseFont(small, onPrinter, PointFont(90));
    UseFont(image, onImage, PointFont(90));
    TEXTMETRICA shown = {};
    small.GetTextMetrics(&tm);
    image.GetTextMetrics(&shown);
    EXPECT_EQ(tm.tmHeight, shown.tmHeight);
}

long PeakKilobytes() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

// A bitmap for a printer is a recording: of any size at once, and copied
// mirrored and scaled as pixels would be.
TEST_F(PrinterSurface, MemorySurfaceRecordsAndPlaysBackMirroredAndScaled) {
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
