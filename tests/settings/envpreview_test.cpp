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

    // The cell (column, row) in pixels of the pane.
    QRect Cell(int column, int row) const {
        return QRect(inner.left() + column * cell.width(), inner.top() + row * cell.height(),
                     cell.width(), cell.height());
    }
    // Everything below the four sample rows.
    QRect BelowRows() const { return inner.adjusted(0, 4 * cell.height(), 0, 0); }

    QSize cell;
    QRect inner;
};

TEST_F(EnvPreviewTest, LineNumbersTakeAGutterOfFiveCellsDownTheWholeHeight) {
    const QImage pane = Pane(ENV_LINE_NUMBERS);
    const QRect gutter(inner.left(), inner.top(), 5 * cell.width(), inner.height());
    EXPECT_EQ(CountOther(pane, BelowRows() & gutter, Rgb(GUTTER)), 0);
    EXPECT_EQ(CountOther(pane, gutter, Rgb(GROUND)), gutter.width() * gutter.height());
    // The samples start after it, on the text background.
    EXPECT_LT(CountOther(pane, Cell(5, 0), Rgb(TEXT_BACK)), cell.width() * cell.height());
    EXPECT_EQ(CountOther(pane, Cell(5, 0), Rgb(GROUND)), cell.width() * cell.height());
}

TEST_F(EnvPreviewTest, ShownControlCodesPutAnMOnTheControlBackgroundAfterTheTrailingSpace) {
    for (const BYTE numbers : {BYTE(0), ENV_LINE_NUMBERS}) {
        const int first = numbers ? 5 : 0;
        const QImage shown = Pane(ENV_SHOW_CONTROLS | numbers);
        const int area = cell.width() * cell.height();
        for (int row : {0, 1}) {
            // The letter on the control background fills the cell.
            const QRect mark = Cell(first + 24, row);
            EXPECT_EQ(CountOther(shown, mark, Rgb(GROUND)), area) << row;
            EXPECT_LT(CountOther(shown, mark, Rgb(CONTROL_BACK)), area) << row;
            EXPECT_GT(CountOther(shown, mark, Rgb(CONTROL_BACK)), 0) << row;
            EXPECT_EQ(CountOther(shown, Cell(first + 25, row), Rgb(GROUND)), 0) << row;
        }
        const QImage hidden = Pane(numbers);
        for (int row : {0, 1}) {
            EXPECT_EQ(CountOther(hidden, Cell(first + 24, row), Rgb(GROUND)), 0) << row;
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
        EXPECT_EQ(CountOther(pane, BelowRows(), Rgb(ground)), 0);
        for (int row = 0; row < 4; ++row) {
            const int cells = row < 2 ? 25 : 24; // the ASCII rows end with a hidden CR
            // The rule takes the last pixel row of row 3.
            const QRect after = Cell(cells, row);
            const QRect beyond(after.left(), after.top(), inner.right() + 1 - after.left(),
                               row == 3 ? cell.height() - 1 : cell.height());
            EXPECT_EQ(CountOther(pane, beyond, Rgb(ground)), 0) << row;
        }
        // Not a pixel of the edge takes the ground.
        const QRect all = pane.rect();
        for (const QRect& side :
             {QRect(0, 0, all.width(), EDGE), QRect(0, all.height() - EDGE, all.width(), EDGE),
              QRect(0, 0, EDGE, all.height()), QRect(all.width() - EDGE, 0, EDGE, all.height())}) {
            EXPECT_EQ(CountOther(pane, side, Rgb(ground)), side.width() * side.height());
        }
    }
}

} // namespace
