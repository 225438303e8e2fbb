// The view: what it draws where, its layout, ranges and scrolling.
#include "view/view_fixture.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QScreen>
#include <QScrollBar>
#include <QWheelEvent>

#include <map>
#include <set>

namespace {

std::string Lines(int count, const std::string& body = "") {
    std::string text;
    for (int i = 0; i < count; ++i) {
        text += body + std::to_string(i) + "\n";
    }
    return text;
}

// Every row counted for a line gets output (shown controls mark the line
// end too), the number in its first, and no cell is drawn twice.
void ExpectRowsDrawnAsCounted(const CTAVODoc& doc, const std::vector<GdiRecord>& records, int cy) {
    std::map<int, int> rowOfNumber; // line number -> row it is drawn in
    std::set<int> textRows;
    std::set<std::pair<int, int>> cells;
    for (const GdiRecord& r : records) {
        if (r.op == GdiOp::TextOut && r.nSurface == 0 && r.bytes.back() == ':') {
            rowOfNumber[std::stoi(r.bytes)] = r.y / cy;
        } else if (r.op == GdiOp::TextOut && r.nSurface == 0) {
            textRows.insert(r.y / cy);
            EXPECT_TRUE(cells.insert({r.x, r.y}).second) << "two characters in one cell";
        }
    }
    int start = 0;
    for (std::uint32_t i = 0; i < doc.m_nLines && start < 40; ++i) {
        const LineInfo& line = doc.m_pLines[i];
        EXPECT_EQ(rowOfNumber[int(i) + 1], start) << "line " << i + 1;
        for (int row = start; line.nLength > 0 && row < start + line.nRows[0] && row < 40; ++row) {
            EXPECT_TRUE(textRows.count(row)) << "line " << i + 1 << " row " << row;
        }
        start += line.nRows[0];
    }
}

TEST_F(ViewTest, WrappedRowsWithLineNumbersAreDrawnAsCounted) {
    // Gutters narrower and wider than the old fixed five cells; a column
    // inside the gutter leaves no text cell, so the lines are unwrapped.
    const std::pair<int, int> cases[] = {{12, 20}, {100000, 20}, {200, 3}, {200, 4}};
    for (const auto& [lines, column] : cases) {
        SCOPED_TRACE(lines);
        SCOPED_TRACE(column);
        Open(Lines(lines, "wrapped text of the line "), ENV_LINE_NUMBERS | ENV_SHOW_CONTROLS,
             WORD(ENV_WRAP_FIXED | column));
        const int gutter = int((std::to_string(lines) + ":").size());
        EXPECT_EQ(Doc()->m_nLayoutWidth[0],
                  column > gutter ? std::uint32_t(column - gutter) : Doc()->m_nMaxWidth);
        SIZE cell;
        const auto records = Draw(&cell);
        ExpectRowsDrawnAsCounted(*Doc(), records, cell.cy);
    }
}

TEST_F(ViewTest, HorizontalRangeEndsFourColumnsBeyondTheWidestRow) {
    // Without a file nothing is drawn, and there is no row to scroll to.
    ASSERT_TRUE(Start());
    EXPECT_TRUE(Draw().empty());
    EXPECT_FALSE(ScrollBarOf(*View(), Qt::Vertical)->isVisible());
    EXPECT_EQ(Bar(SB_HORZ).nMax, 4);
    {
        // Nor does DrawRows, as printing calls it: not even the gutter.
        Env().bFlags = ENV_LINE_NUMBERS;
        GdiRecorder recorder;
        CDC dc;
        AttachRecorder(&dc, &recorder);
        CCharPainter painter(&dc, &Env());
        painter.m_rcPaint = {0, 0, recorder.m_nWidth, recorder.m_nHeight};
        const CellGrid grid({LONG(painter.m_cxCell), LONG(painter.m_cyCell)}, Env(), 1);
        const std::size_t before = recorder.m_records.size();
        TavoView()->DrawRows(painter, grid, 0, 10, LAYOUT_SCREEN);
        EXPECT_EQ(recorder.m_records.size(), before);
        painter.Restore();
    }
    // 10,000 lines give a gutter of 6: the text of a row is columns 6..79.
    Open(Lines(10000, std::string(100, 'x')), ENV_LINE_NUMBERS, WORD(ENV_WRAP_FIXED | 80));
    EXPECT_EQ(Bar(SB_HORZ).nMax, 84);
    // Unwrapped with line numbers, End shows the widest line's end mark
    // whole, with blank columns beyond it.
    Open(Lines(12, std::string(50, 'x')), ENV_LINE_NUMBERS | ENV_SHOW_CONTROLS);
    ResizeClient(30, 20);
    QKeyEvent end(QEvent::KeyPress, Qt::Key_End, Qt::NoModifier);
    QApplication::sendEvent(View()->GetSafeHwnd(), &end);
    SIZE cell;
    int right = 0; // of the rightmost cell drawn
    for (const GdiRecord& r : Draw(&cell)) {
        if (r.op == GdiOp::TextOut && r.nSurface == 0) {
            right = std::max(right, r.x + int(r.bytes.size()) * int(cell.cx));
        }
    }
    EXPECT_EQ(right, 30 * cell.cx - 4 * cell.cx);
}

TEST_F(ViewTest, ReLayoutFollowsTheWindowsWidthAndKeepsTheLineAtTheTop) {
    Open(Lines(300, std::string(70, 'w')), 0, ENV_WRAP_WINDOW);
    ResizeClient(60, 10);
    EXPECT_EQ(Doc()->m_nLayoutWidth[0], 60u);
    const int top = int(Doc()->StartRowOfLine(250, LAYOUT_SCREEN)) + 1; // its second row
    TavoView()->OnVScroll(SB_THUMBPOSITION, 0, nullptr);
    View()->SetScrollPos(SB_VERT, top);
    ResizeClient(30, 10);
    EXPECT_EQ(Doc()->m_nLayoutWidth[0], 30u);
    std::int64_t start = 0;
    EXPECT_EQ(Doc()->LineAtRow(View()->GetScrollPos(SB_VERT), LAYOUT_SCREEN, &start), 250u);
    EXPECT_EQ(View()->GetScrollPos(SB_VERT), start + 1);
    ResizeClient(80, 10); // one row a line now: the line itself stays on top
    EXPECT_EQ(View()->GetScrollPos(SB_VERT), 250);
}

TEST_F(ViewTest, KeysAndTheWheelScrollAsTheBarsDoAndStopAtTheEnds) {
    Open(Lines(100, std::string(100, 'k')));
    ResizeClient(30, 10);
    const int bottom = 101 - 10 + 1; // a range of 101 rows, 10 a page
    const int right = int(Doc()->m_nMaxWidth) + 4 - 30 + 1;
    const Qt::KeyboardModifiers none = Qt::NoModifier;
    // A key, or for 0 the wheel turned by delta eighths of a degree; the
    // modifiers; the bars' positions after.
    const std::tuple<int, QPoint, Qt::KeyboardModifiers, int, int> steps[] = {
        {Qt::Key_Down, {}, none, 1, 0},
        {Qt::Key_PageDown, {}, none, 11, 0},
        {Qt::Key_Up, {}, none, 10, 0},
        {Qt::Key_End, {}, Qt::ControlModifier, bottom, 0},
        {Qt::Key_PageDown, {}, none, bottom, 0},
        {Qt::Key_Down, {}, none, bottom, 0},
        {Qt::Key_PageUp, {}, none, bottom - 10, 0},
        {Qt::Key_Home, {}, Qt::ControlModifier, 0, 0},
        {Qt::Key_Up, {}, none, 0, 0},
        {Qt::Key_Right, {}, none, 0, 1},
        {Qt::Key_Right, {}, none, 0, 2},
        {Qt::Key_End, {}, none, 0, right},
        {Qt::Key_Right, {}, none, 0, right},
        {Qt::Key_Home, {}, none, 0, 0},
        // Three rows a notch; half notches add up; Shift and a tilt go sideways.
        {0, {0, -120}, none, 3, 0},
        {0, {0, -60}, none, 3, 0},
        {0, {0, -60}, none, 6, 0},
        {0, {0, -120}, Qt::ShiftModifier, 6, 3},
        {0, {-120, 0}, none, 6, 6},
    };
    for (const auto& [key, delta, modifiers, vert, horz] : steps) {
        if (key != 0) {
            QKeyEvent press(QEvent::KeyPress, key, modifiers);
            QApplication::sendEvent(View()->GetSafeHwnd(), &press);
        } else {
            QWheelEvent wheel(QPointF(5, 5), QPointF(5, 5), QPoint(), delta, Qt::NoButton,
                              modifiers, Qt::NoScrollPhase, false);
            QApplication::sendEvent(View()->GetSafeHwnd(), &wheel);
        }
        EXPECT_EQ(View()->GetScrollPos(SB_VERT), vert) << key << " " << delta.y();
        EXPECT_EQ(View()->GetScrollPos(SB_HORZ), horz) << key << " " << delta.y();
    }
}

// What the window really shows: the pixels the system keeps, not a fresh paint.
QImage Shown(CView& view) {
    const QWidget* client = view.GetSafeHwnd();
    const QPoint origin = client->mapTo(client->window(), QPoint(0, 0));
    return QGuiApplication::primaryScreen()
        ->grabWindow(client->window()->winId(), origin.x(), origin.y(), client->width(),
                     client->height())
        .toImage();
}

TEST_F(ViewTest, EveryScrollShowsWhatAFreshPaintShows) {
    // Every other line is empty: its rows show the gutter fill on the left
    // and the ground beside it, which a moved gutter would cover.
    Open(Lines(300, "\x1b$B0!4A\x1b(B text beside the kanji on a long line \n"),
         ENV_LINE_NUMBERS | ENV_SHOW_CONTROLS);
    Env().crColor[ENV_CLR_LINENOBK] = RGB(0xFF, 0xE0, 0x80);
    Env().crColor[ENV_CLR_GROUND] = RGB(0xE0, 0xF0, 0xFF);
    ResizeClient(40, 12);
    View()->RedrawWindow();
    const std::pair<int, UINT> steps[] = {
        {SB_HORZ, SB_LINERIGHT}, {SB_HORZ, SB_LINERIGHT}, {SB_HORZ, SB_PAGERIGHT},
        {SB_VERT, SB_LINEDOWN},  {SB_HORZ, SB_LINELEFT},  {SB_VERT, SB_PAGEDOWN},
        {SB_HORZ, SB_LEFT},      {SB_VERT, SB_LINEUP},    {SB_HORZ, SB_LINELEFT},
        {SB_VERT, SB_BOTTOM},    {SB_VERT, SB_LINEDOWN}, // no further than the ends
    };
    for (const auto& [bar, code] : steps) {
        SCOPED_TRACE(bar);
        SCOPED_TRACE(code);
        if (bar == SB_HORZ) {
            TavoView()->OnHScroll(code, 0, nullptr);
        } else {
            TavoView()->OnVScroll(code, 0, nullptr);
        }
        View()->UpdateWindow();
        const QImage scrolled = Shown(*View());
        ASSERT_FALSE(scrolled.isNull());
        View()->RedrawWindow();
        ASSERT_EQ(scrolled, Shown(*View()));
    }
}

// The text of the window's top row as drawn.
std::string TopRowText(const std::vector<GdiRecord>& records) {
    std::string text;
    for (const GdiRecord& r : records) {
        if (r.op == GdiOp::TextOut && r.nSurface == 0 && r.y == 0) {
            text += r.bytes;
        }
    }
    return text;
}

TEST_F(ViewTest, ThumbDragPast65535RowsReachesTheEnd) {
    Open(Lines(99999)); // 100000 rows
    ResizeClient(30, 10);
    QScrollBar* bar = ScrollBarOf(*View(), Qt::Vertical);
    bar->setSliderDown(true);
    bar->setSliderPosition(70000);
    EXPECT_EQ(TavoView()->GetScrollPos(SB_VERT), 70000);
    EXPECT_EQ(TopRowText(Draw()), "70000");
    bar->setSliderPosition(bar->maximum());
    QMouseEvent release(QEvent::MouseButtonRelease, QPointF(2, 2), QPointF(2, 2), Qt::LeftButton,
                        Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(bar, &release);
    EXPECT_EQ(TavoView()->GetScrollPos(SB_VERT), 100000 - 10 + 1);
    EXPECT_EQ(TopRowText(Draw()), "99991");
}

} // namespace
