// The preview pane's pixels: the sunken edge, the ground, the gutter, the
// control-code marks and the rule under the last row, for the flags that
// change them.
#include "envdialog_fixture.h"

#include "render/charpainter.h"
#include "support/pixels.h"

namespace {

constexpr COLORREF GROUND = RGB(0, 0, 0xFF);
constexpr COLORREF TEXT_BACK = RGB(0xFF, 0xFF, 0);
constexpr COLORREF CONTROL_BACK = RGB(0xFF, 0, 0xFF);
constexpr COLORREF GUTTER = RGB(0, 0xFF, 0);
constexpr int EDGE = 2;

class EnvPreviewTest : public EnvDialogTest {
protected:
    // Paints the pane as the dialog shows it with these flags and ground.
    QImage Pane(BYTE flags, COLORREF ground = GROUND) {
        QImage image;
        EXPECT_TRUE(Settings([&](CEnvDialog& dialog) {
            EnvSettings& env = dialog.m_env;
            env.bFlags = flags;
            env.crColor[ENV_CLR_GROUND] = ground;
            env.crColor[ENV_CLR_TEXTBK] = TEXT_BACK;
            env.crColor[ENV_CLR_CTRLBK] = CONTROL_BACK;
            env.crColor[ENV_CLR_LINENOBK] = GUTTER;
            image = dialog.GetDlgItem(IDC_PREVIEW)->grab().toImage();
            CClientDC dc(&dialog.m_preview);
            CCharPainter painter(&dc, &env);
            cell = QSize(int(painter.m_cxCell), int(painter.m_cyCell));
            painter.Restore();
        }));
        inner = image.rect().adjusted(EDGE, EDGE, -EDGE, -EDGE);
        return image;
    }

    // The cells from (column, row) to the pane's right end, or as many as
    // given, in pixels of the pane.
    QRect Cells(int column, int row, int count = 0) const {
        const int left = inner.left() + column * cell.width();
        return QRect(left, inner.top() + row * cell.height(),
                     count > 0 ? count * cell.width() : inner.right() + 1 - left, cell.height());
    }
    // Pixels of the rectangle in the colour.
    static int Count(const QImage& pane, const QRect& rect, COLORREF color) {
        return rect.width() * rect.height() - CountOther(pane, rect, Rgb(color));
    }

    QSize cell;
    QRect inner;
};

TEST_F(EnvPreviewTest, LineNumbersTakeAGutterOfFiveCellsDownTheWholeHeight) {
    const QImage pane = Pane(ENV_LINE_NUMBERS);
    const QRect gutter(inner.left(), inner.top(), 5 * cell.width(), inner.height());
    EXPECT_EQ(Count(pane, gutter.adjusted(0, 4 * cell.height(), 0, 0), GUTTER),
              gutter.width() * (gutter.height() - 4 * cell.height()));
    EXPECT_EQ(Count(pane, gutter, GROUND), 0);
    // The samples start after it, on the text background.
    EXPECT_GT(Count(pane, Cells(5, 0, 1), TEXT_BACK), 0);
    EXPECT_EQ(Count(pane, Cells(5, 0, 1), GROUND), 0);
}

TEST_F(EnvPreviewTest, ShownControlCodesPutAnMOnTheControlBackgroundAfterTheTrailingSpace) {
    for (const BYTE numbers : {BYTE(0), ENV_LINE_NUMBERS}) {
        const int first = numbers ? 5 : 0;
        const QImage shown = Pane(ENV_SHOW_CONTROLS | numbers);
        const QImage hidden = Pane(numbers);
        for (int row : {0, 1}) {
            // The letter on the control background fills the cell, and only it.
            const QRect mark = Cells(first + 24, row, 1);
            EXPECT_EQ(Count(shown, mark, GROUND), 0) << row;
            EXPECT_GT(Count(shown, mark, CONTROL_BACK), 0) << row;
            EXPECT_LT(Count(shown, mark, CONTROL_BACK), mark.width() * mark.height()) << row;
            EXPECT_EQ(CountOther(shown, Cells(first + 25, row), Rgb(GROUND)), 0) << row;
            EXPECT_EQ(CountOther(hidden, Cells(first + 24, row), Rgb(GROUND)), 0) << row;
        }
    }
}

TEST_F(EnvPreviewTest, TheRuleLiesUnderRowThreeWhateverTheFlags) {
    for (const BYTE flags : {0x00, 0x1F, 0x04, 0x10}) {
        const QImage pane = Pane(BYTE(flags));
        const int y = inner.top() + 4 * cell.height() - 1;
        EXPECT_EQ(CountOther(pane, QRect(inner.left(), y, inner.width(), 1), Rgb(CONTROL_BACK)), 0)
            << int(flags);
        const int gutter = (flags & ENV_LINE_NUMBERS) ? 5 * cell.width() : 0;
        EXPECT_EQ(CountOther(pane, QRect(inner.left() + gutter, y + 1, inner.width() - gutter, 1),
                             Rgb(GROUND)),
                  0)
            << int(flags);
    }
}

TEST_F(EnvPreviewTest, TheGroundFillsWhatNoCellCoversInsideTheTwoPixelEdge) {
    for (const COLORREF ground : {GROUND, RGB(0, 0x80, 0x40)}) {
        const QImage pane = Pane(0, ground);
        EXPECT_EQ(CountOther(pane, inner.adjusted(0, 4 * cell.height(), 0, 0), Rgb(ground)), 0);
        for (int row = 0; row < 4; ++row) {
            // The ASCII rows end with a hidden CR; the rule takes row 3's last pixels.
            const QRect beyond = Cells(row < 2 ? 25 : 24, row).adjusted(0, 0, 0, row == 3 ? -1 : 0);
            EXPECT_EQ(CountOther(pane, beyond, Rgb(ground)), 0) << row;
        }
        // Not a pixel of the edge takes the ground.
        EXPECT_EQ(Count(pane, pane.rect(), ground), Count(pane, inner, ground));
    }
}

} // namespace
