// The preview pane's pixels for the flags that change them.
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

// The rule under row 3; a five-cell gutter down the whole height; a shown
// CR as an "M" on the control background after the ASCII rows, a hidden one
// the ground; the ground wherever no cell is, and not on the edge.
TEST_F(EnvPreviewTest, TheRuleTheGutterTheMarksAndTheGroundForEveryFlag) {
    const std::pair<BYTE, COLORREF> panes[] = {{0x00, GROUND},
                                               {0x00, RGB(0, 0x80, 0x40)},
                                               {ENV_SHOW_CONTROLS, GROUND},
                                               {ENV_LINE_NUMBERS, GROUND},
                                               {0x14, GROUND},
                                               {0x1F, GROUND}};
    for (const auto& [flags, ground] : panes) {
        SCOPED_TRACE(int(flags));
        const QImage pane = Pane(flags, ground);
        const bool numbers = flags & ENV_LINE_NUMBERS;
        const bool controls = flags & ENV_SHOW_CONTROLS;
        const int first = numbers ? 5 : 0;
        const int ruleY = inner.top() + 4 * cell.height() - 1;
        EXPECT_EQ(CountOther(pane, QRect(inner.left(), ruleY, inner.width(), 1), Rgb(CONTROL_BACK)),
                  0);
        const QRect below = inner.adjusted(first * cell.width(), 4 * cell.height(), 0, 0);
        EXPECT_EQ(CountOther(pane, below, Rgb(ground)), 0);
        for (int row = 0; row < 4; ++row) {
            const int end = first + (row < 2 && controls ? 25 : 24);
            EXPECT_EQ(
                CountOther(pane, Cells(end, row).adjusted(0, 0, 0, row == 3 ? -1 : 0), Rgb(ground)),
                0)
                << row;
        }
        for (int row = 0; row < 2 && controls; ++row) {
            // The letter on the control background fills the cell, and only it.
            const QRect mark = Cells(first + 24, row, 1);
            EXPECT_EQ(Count(pane, mark, ground), 0) << row;
            EXPECT_GT(Count(pane, mark, CONTROL_BACK), 0) << row;
            EXPECT_LT(Count(pane, mark, CONTROL_BACK), mark.width() * mark.height()) << row;
        }
        if (numbers) {
            const QRect gutter(inner.left(), inner.top(), 5 * cell.width(), inner.height());
            EXPECT_EQ(Count(pane, gutter.adjusted(0, 4 * cell.height(), 0, 0), GUTTER),
                      gutter.width() * (gutter.height() - 4 * cell.height()));
            EXPECT_EQ(Count(pane, gutter, ground), 0);
            EXPECT_GT(Count(pane, Cells(5, 0, 1), TEXT_BACK), 0); // the samples start after it
        }
        EXPECT_EQ(Count(pane, pane.rect(), ground), Count(pane, inner, ground));
    }
}

} // namespace
