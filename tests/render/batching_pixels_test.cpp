// Text outputs drawn together in one glyph run give the same pixels as the
// same outputs drawn one at a time.
#include "painter_fixture.h"
#include "platform/gdi/glyphatlas.h"
#include "platform/gdi/surface.h"
#include "support/pixels.h"

#include <QPaintDevice>
#include <QPainter>
#include <QRawFont>

#include <array>
#include <cstring>

namespace {

// An image surface that finishes every text output before the next
// operation, as drawing without batches does: an empty fill after each.
class OneAtATimeSurface : public GdiSurface {
public:
    explicit OneAtATimeSurface(QImage* image) : m_pInner(MakeImageSurface(image)) {}

    std::unique_ptr<GdiSurface> CreateCompatible() const override {
        return m_pInner->CreateCompatible();
    }
    bool IsMemory() const override { return false; }
    bool MakeBitmap(BitmapData& bitmap) const override { return m_pInner->MakeBitmap(bitmap); }
    int DeviceCaps(int index) const override { return m_pInner->DeviceCaps(index); }
    bool ClipBox(RECT* rect) const override { return m_pInner->ClipBox(rect); }
    bool Measure(FontData& font, TEXTMETRICA* metrics) override {
        return m_pInner->Measure(font, metrics);
    }
    void StateChanged(GdiOp op, const GdiDcState& state) override {
        m_pInner->StateChanged(op, state);
    }
    bool Text(const GdiDcState& state, int x, int y, UINT options, const RECT* clip,
              const BYTE* bytes, UINT count, const int* dx) override {
        const bool drawn = m_pInner->Text(state, x, y, options, clip, bytes, count, dx);
        m_pInner->Fill(state, RECT{0, 0, 0, 0}, state.crBk);
        return drawn;
    }
    void Fill(const GdiDcState& state, const RECT& rect, COLORREF color) override {
        m_pInner->Fill(state, rect, color);
    }
    bool Pattern(const GdiDcState& state, const RECT& rect, DWORD rop) override {
        return m_pInner->Pattern(state, rect, rop);
    }
    bool Blt(const GdiDcState& state, const GdiBlock& dst, GdiSurface& src,
             const GdiDcState& srcState, const GdiBlock& srcBlock, DWORD rop) override {
        return m_pInner->Blt(state, dst, src, srcState, srcBlock, rop);
    }
    void Frame(const GdiDcState& state, const RECT& rect) override { m_pInner->Frame(state, rect); }
    bool Edge(const GdiDcState& state, const RECT& rect, UINT edge, UINT flags) override {
        return m_pInner->Edge(state, rect, edge, flags);
    }
    const QImage* Pixels(const GdiDcState& state) override { return m_pInner->Pixels(state); }

private:
    std::unique_ptr<GdiSurface> m_pInner;
};

// Every kind of cell in every set: kanji, kana, full-width spaces, tabs,
// control codes, backslash and tilde, undefined codes, unknown escapes.
const char* const LINES[] = {
    "plain ASCII, digits 0123456789 and \\ marks ~ \t tab\r\n",
    "\x1b$B4A;z$H$+$J\x1b(B mixed \x1b$B%+%?%+%J!!!!\x1b(J\\~ roman\x1b(B\n",
    "\x1b$@0!0\"0#\x1b(B old \x1b$B\x7f\x21\x22\x7e\x1b(B undefined \x01\x1f\x7f\x1bx\n",
    "\x1b$B$\"$$$&$($*$+$-$/$1$3$5$7$9$;$=$?$A$D$F$H$J$K$L$M$N$O$R$U$X$[\x1b(B\f",
    "\t\ta\tab\tabc\tabcd\x1b$B\t0!\x1b(B end\n",
};

// Sizes, faces and slants; slanted glyphs reach into their neighbours' cells.
const std::tuple<LONG, const char*, BYTE> FONTS[] = {
    {90, "IPAGothic", 0}, {105, "IPAMincho", 0}, {120, "IPAGothic", 1}, {200, "IPAPMincho", 1}};

EnvSettings Settings(LONG tenths, const char* face, BYTE italic) {
    EnvSettings env = DefaultSettings();
    env.bFlags = 0x1F;
    for (LOGFONTA& lf : env.lfFont) {
        lf.lfHeight = tenths;
        lf.lfItalic = italic;
        std::strncpy(lf.lfFaceName, face, LF_FACESIZE - 1);
    }
    env.lfFont[CHARSET_NEWJIS].lfHeight = tenths + 20; // a taller set
    return env;
}

// Draws the lines twice over, wrapped at 23 columns and scrolled, with line
// numbers, as the view does.
QImage Draw(CDC& dc, QImage& image, const EnvSettings& env, const RECT& paint) {
    dc.FillSolidRect(0, 0, image.width(), image.height(), RGB(200, 220, 240));
    CCharPainter painter(&dc, &env);
    painter.m_rcPaint = paint;
    painter.m_bConvert = TRUE;
    painter.m_nWrapCol = 23;
    painter.m_nFirstCol = 1;
    painter.FillGutter(2);
    int row = 0;
    for (int pass = 0; pass < 2; ++pass) {
        for (const char* line : LINES) {
            painter.DrawLineNumber(0, row, row + 1);
            painter.DrawRun(CHARSET_ASCII, 2, row, reinterpret_cast<const BYTE*>(line), -1);
            row += 4;
        }
        painter.m_nWrapCol = 0;
    }
    painter.DrawFormFeedRule(3);
    painter.Restore();
    dc.DeleteDC();
    return image;
}

TEST(Batching, PixelsAreTheSameAsDrawingEveryOutputAlone) {
    for (const auto& [tenths, face, italic] : FONTS) {
        const EnvSettings env = Settings(tenths, face, italic);
        // The whole image, and a paint rectangle that cuts cells.
        for (const RECT& paint : {RECT{0, 0, 640, 900}, RECT{7, 5, 301, 397}}) {
            QImage batchedImage = BlankImage(640, 900);
            CDC batched;
            batched.AttachImage(&batchedImage);
            QImage aloneImage = BlankImage(640, 900);
            CDC alone;
            alone.AttachSurface(std::make_unique<OneAtATimeSurface>(&aloneImage));
            const QImage expected = Draw(alone, aloneImage, env, paint);
            const QImage actual = Draw(batched, batchedImage, env, paint);
            ASSERT_GT(CountOther(expected, expected.rect(), qRgb(200, 220, 240)), 1000);
            EXPECT_EQ(actual, expected) << face << " " << tenths << " " << paint.left;
        }
    }
}

// The same drawing on a blank image of size (in pixels at ratio 1), once
// by glyph runs and once from the atlas; the atlas is on again afterwards.
template <typename Paint>
std::array<QImage, 2> WithoutAndWithAtlas(QSize size, qreal ratio, const Paint& paint) {
    std::array<QImage, 2> images;
    for (const bool atlas : {false, true}) {
        GlyphAtlas::Enable(atlas);
        QImage& image = images[atlas];
        image = BlankImage(int(size.width() * ratio), int(size.height() * ratio));
        image.setDevicePixelRatio(ratio);
        paint(image, atlas);
    }
    GlyphAtlas::Enable(true);
    return images;
}

// Blits from the glyph atlas against Qt's own glyph runs: every set in its
// colour, marks and corrections, at one and two device pixels per pixel.
TEST(GlyphAtlas, BlitsGiveThePixelsOfGlyphRuns) {
    for (const auto& [tenths, face, italic] : FONTS) {
        EnvSettings env = Settings(tenths, face, italic);
        env.crColor[ENV_CLR_OLDJIS] = RGB(0x80, 0x20, 0xA0);
        for (const qreal ratio : {1.0, 2.0}) {
            const auto images =
                WithoutAndWithAtlas(QSize(640, 900), ratio, [&](QImage& image, bool) {
                    CDC dc;
                    dc.AttachImage(&image);
                    Draw(dc, image, env, RECT{7, 5, 631, 897});
                });
            ASSERT_GT(CountOther(images[0], images[0].rect(), qRgb(200, 220, 240)), 1000);
            EXPECT_EQ(images[1], images[0]) << face << " " << tenths << " x" << ratio;
        }
    }
}

// A device painted through at an offset into an image, as a widget is
// into its window's backing store.
class OffsetDevice : public QPaintDevice {
public:
    OffsetDevice(QImage* image, QPoint origin) : m_pImage(image), m_origin(origin) {}
    QPaintEngine* paintEngine() const override { return m_pImage->paintEngine(); }

protected:
    int metric(PaintDeviceMetric metric) const override {
        return qt_paint_device_metric(m_pImage, metric);
    }
    QPaintDevice* redirected(QPoint* offset) const override {
        *offset = -m_origin;
        return m_pImage;
    }

private:
    QImage* m_pImage;
    QPoint m_origin;
};

// A partial repaint of a widget: the painter moved by the widget's place in
// its window and clipped to a strip through a row of glyphs.
TEST(GlyphAtlas, BlitsInAWindowLandWhereGlyphRunsDo) {
    const EnvSettings env = Settings(105, "IPAMincho", 0);
    for (const qreal ratio : {1.0, 2.0}) {
        const auto images =
            WithoutAndWithAtlas(QSize(360, 500), ratio, [&](QImage& image, bool atlas) {
                OffsetDevice device(&image, QPoint(13, 7));
                QPainter painter(&device);
                // The window's path: no fall-back to glyph runs.
                ASSERT_EQ(GlyphAtlas(QRawFont::fromFont(QFont("IPAMincho"))).ExactScale(painter) >
                              0,
                          atlas);
                painter.setClipRect(QRect(0, 40, 340, 30));
                CDC dc;
                dc.AttachPainter(&painter);
                Draw(dc, image, env, RECT{0, 40, 340, 70});
            });
        const QRect strip = QRect(13, 47, 340, 30);
        ASSERT_GT(CountOther(images[0], QRect(strip.topLeft() * ratio, strip.size() * ratio),
                             qRgb(200, 220, 240)),
                  200);
        EXPECT_EQ(images[1], images[0]) << "x" << ratio;
    }
}

} // namespace
