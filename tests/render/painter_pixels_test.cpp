// The painter on images: what the user sees.
#include "painter_fixture.h"
#include "support/pixels.h"

#include <QTransform>

namespace {

constexpr COLORREF TEXT_BK = RGB(255, 255, 200);

EnvSettings Settings(BYTE flags) {
    EnvSettings env = DefaultSettings();
    env.bFlags = flags;
    env.crColor[ENV_CLR_TEXTBK] = TEXT_BK;
    return env;
}

class PainterPixels : public ::testing::Test {
protected:
    CCharPainter& Make() {
        dc.AttachImage(&image);
        painter = std::make_unique<CCharPainter>(&dc, &env);
        const QSize size = image.deviceIndependentSize().toSize();
        painter->m_rcPaint = {0, 0, size.width(), size.height()};
        cx = int(painter->m_cxCell);
        cy = int(painter->m_cyCell);
        return *painter;
    }
    // Ends drawing so the image can be read.
    const QImage& Pixels() {
        painter->Restore();
        painter.reset();
        dc.DeleteDC();
        return image;
    }
    void Run(CharSet set, int col, int row, const std::string& bytes) {
        painter->DrawRun(set, col, row, Bytes(bytes), int(bytes.size()));
    }
    QRect Cell(int col, int row, int cells = 1) const {
        return QRect(col * cx, row * cy, cells * cx, cy);
    }

    QImage image = BlankImage(400, 120);
    EnvSettings env = Settings(ENV_FIX_BACKSLASH | ENV_FIX_TILDE);
    CDC dc;
    std::unique_ptr<CCharPainter> painter;
    int cx = 0;
    int cy = 0;
};

// On a surface of two device pixels per pixel the corrections are as fine
// as the text around them, not the one-to-one glyphs blown up.
TEST_F(PainterPixels, BackslashIsTheSlashMirroredAndTildeTheLowLineFlipped) {
    for (const qreal ratio : {1.0, 2.0}) {
        SCOPED_TRACE(ratio);
        image = BlankImage(int(400 * ratio), int(120 * ratio));
        image.setDevicePixelRatio(ratio);
        Make();
        Run(CHARSET_ASCII, 0, 0, "/\\");
        Run(CHARSET_JISROMAN, 0, 1, "_~");
        const QImage& pixels = Pixels();
        const QTransform scale = QTransform::fromScale(ratio, ratio);
        const auto cell = [&](int col, int row) {
            return pixels.copy(scale.mapRect(Cell(col, row)));
        };
        const QImage slash = cell(0, 0);
        EXPECT_EQ(cell(1, 0), slash.mirrored(true, false));
        EXPECT_GT(CountOther(slash, slash.rect(), Rgb(TEXT_BK)), 3);
        EXPECT_EQ(cell(1, 1), cell(0, 1).mirrored(false, true));
        // The overline is inked in the cell's upper part.
        const QRect overline = scale.mapRect(Cell(1, 1));
        const int third = overline.height() / 3;
        EXPECT_GT(CountOther(pixels, overline.adjusted(0, 0, 0, -2 * third), Rgb(TEXT_BK)), 0);
        EXPECT_EQ(
            CountOther(pixels, overline.adjusted(0, overline.height() / 2, 0, 0), Rgb(TEXT_BK)), 0);
    }
}

TEST_F(PainterPixels, WideSpaceBoxHasAHalftoneFrameInsideItsEdge) {
    env.bFlags |= ENV_MARK_WIDE_SPACE;
    Make();
    Run(CHARSET_OLDJIS, 1, 1, "\x81\x40");
    const QImage& pixels = Pixels();
    const QRect box = Cell(1, 1, 2);
    const QRgb ground = Rgb(TEXT_BK);
    const QRgb text = Rgb(env.crColor[ENV_CLR_OLDJIS]);
    for (int y = box.top(); y <= box.bottom(); ++y) {
        for (int x = box.left(); x <= box.right(); ++x) {
            const bool edge = !box.adjusted(1, 1, -1, -1).contains(x, y);
            const bool frame = !edge && !box.adjusted(2, 2, -2, -2).contains(x, y);
            const QRgb expected = frame && (x + y) % 2 == 0 ? text : ground;
            ASSERT_EQ(pixels.pixel(x, y) & 0xFFFFFF, expected & 0xFFFFFF) << x << "," << y;
        }
    }
}

// A larger New JIS font makes the cell; the smaller ASCII and JIS Roman
// glyphs stand at the top left of theirs, and New JIS is drawn only once
// converted to Shift_JIS.
TEST_F(PainterPixels, FontsOfDifferentSizesShareTheLargestCellAndKeepToTheGrid) {
    env.lfFont[CHARSET_NEWJIS].lfHeight = 160;
    env.crColor[ENV_CLR_TEXTBK] = RGB(255, 255, 255);
    Make();
    TEXTMETRICA small = {};
    TEXTMETRICA large = {};
    dc.SelectObject(&painter->m_font[CHARSET_ASCII]);
    dc.GetTextMetrics(&small);
    dc.SelectObject(&painter->m_font[CHARSET_NEWJIS]);
    dc.GetTextMetrics(&large);
    painter->m_nAttr = 255; // the painter no longer knows what is selected
    EXPECT_EQ(QSize(cx, cy), QSize(large.tmAveCharWidth, large.tmHeight));
    EXPECT_GT(cy, small.tmHeight);
    Run(CHARSET_ASCII, 3, 0, "W");
    Run(CHARSET_NEWJIS, 3, 1, "\x1b$B\x34\x41"); // 漢, unconverted
    painter->m_bConvert = TRUE;
    Run(CHARSET_NEWJIS, 3, 2, "\x34\x41");
    Run(CHARSET_JISROMAN, 6, 2, "g");
    const QImage& pixels = Pixels();
    const auto ink = [&](const QRect& rect) { return CountOther(pixels, rect, 0xFFFFFF); };
    const QRect ascii(3 * cx, 0, small.tmAveCharWidth, small.tmHeight);
    const QRect roman(6 * cx, 2 * cy, small.tmAveCharWidth, small.tmHeight);
    EXPECT_GT(ink(ascii), 5);
    EXPECT_GT(ink(Cell(3, 2, 2)), 20);
    EXPECT_GT(ink(roman), 5);
    EXPECT_EQ(ink(pixels.rect()),
              ink(ascii) + ink(Cell(3, 1, 2)) + ink(Cell(3, 2, 2)) + ink(roman));
}

// The settings dialog's preview lines and a line each of full-width and
// half-width katakana, flags on and off, saved for a person to look at;
// what the flags add is checked on the recorder.
TEST(PainterSamples, PreviewLinesAreRealGlyphs) {
    const char* lines[] = {
        "ASCII - \\(bk/) ~(tilda) \r",
        "JIS/R - \\(yen) ~(upper) \r",
        "\x8B\x8C\x82\x69\x82\x68\x82\x72\x81\x40\x81\x7C\x81\x40\x89\xA8\x81\x69\x99\xBD\x92\xB9"
        "\x81\x6A",
        "\x90\x56\x82\x69\x82\x68\x82\x72\x81\x40\x81\x7C\x81\x40\x89\xA8\x81\x69\x8B\xE6\x92\xB9"
        "\x81\x6A",
        "\x83\x53\x83\x56\x83\x62\x83\x4E\x81\x40\x83\x4A\x83\x5E",
        "\xBA\xDE\xBC\xAF\xB8 \xB6\xC0\xB6\xC5",
        "\x85\x40", // undefined: placeholders to compare with
        "\x85\x40",
    };
    const CharSet sets[] = {0, 1, 2, 3, 3, 0, 2, 3};
    QImage image = BlankImage(420, 260, Qt::gray);
    CDC dc;
    dc.AttachImage(&image);
    int cx = 0;
    int cy = 0;
    for (int pane = 0; pane < 2; ++pane) {
        const EnvSettings env = Settings(pane == 0 ? 0x1F : 0);
        const RECT inner = {2, 2 + pane * 130, 418, 128 + pane * 130};
        dc.FillSolidRect(&inner, env.crColor[ENV_CLR_GROUND]);
        CCharPainter painter(&dc, &env);
        painter.m_rcPaint = inner;
        cx = int(painter.m_cxCell);
        cy = int(painter.m_cyCell);
        const int start = pane == 0 ? 5 : 0;
        if (pane == 0) {
            painter.FillGutter(5);
            for (int row = 0; row < 4; ++row) {
                painter.DrawLineNumber(0, row, row + 1);
            }
        }
        for (int row = 0; row < 8; ++row) {
            painter.DrawRun(sets[row], start, row, reinterpret_cast<const BYTE*>(lines[row]), -1);
        }
        painter.DrawFormFeedRule(3);
        painter.Restore();
    }
    dc.DeleteDC();
    ASSERT_TRUE(image.save(QStringLiteral(TAVO_TEST_OUTPUT_DIR "/preview_samples.png")));

    // In the lower pane every kanji and katakana is a glyph of the font.
    auto wideChar = [&](int row, int index) {
        return image.copy(2 + 2 * index * cx, 132 + row * cy, 2 * cx, cy);
    };
    ASSERT_LE(8 * cy, 126);
    for (int index = 0; index < 12; ++index) {
        EXPECT_NE(wideChar(2, index), wideChar(6, 0)) << index;
        EXPECT_NE(wideChar(3, index), wideChar(7, 0)) << index;
    }
    for (int index = 0; index < 7; ++index) {
        EXPECT_NE(wideChar(4, index), wideChar(7, 0)) << index;
    }
}

} // namespace
