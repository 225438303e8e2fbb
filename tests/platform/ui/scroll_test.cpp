// The window's scroll bars: position rules, visibility, and how user
// actions reach the handlers as scroll codes.
#include "ui_fixture.h"

#include <gtest/gtest.h>

#include <QMouseEvent>
#include <QWidget>

namespace {

class ScrollBarTest : public ::testing::Test {
protected:
    void SetUp() override {
        TestApplication();
        view.Create(nullptr);
        recorder = new PaintRecorder(view.GetSafeHwnd());
        view.GetOuterWidget()->resize(300, 200);
        view.ShowWindow(TRUE);
        ProcessEvents();
    }

    void SetRange(int nBar, int nMax, UINT nPage) {
        SCROLLINFO info = {sizeof info, SIF_RANGE | SIF_PAGE, 0, nMax, nPage, 0, 0};
        view.SetScrollInfo(nBar, &info);
    }

    QScrollBar* Bar(Qt::Orientation orientation) { return FindBar(view, orientation); }

    // Presses the thumb, moves it through the positions and lets it go.
    static void Drag(QScrollBar* bar, std::initializer_list<int> positions = {}) {
        bar->setSliderDown(true);
        for (int position : positions) {
            bar->setSliderPosition(position);
        }
        Release(bar);
    }
    static void Release(QScrollBar* bar) {
        QMouseEvent release(QEvent::MouseButtonRelease, QPointF(2, 2), QPointF(2, 2),
                            Qt::LeftButton, Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(bar, &release);
        // The synthetic release does not reach the bar's own tracking.
        bar->setSliderDown(false);
    }

    RecordingView view;
    PaintRecorder* recorder = nullptr; // owned by the view's widget
};

TEST_F(ScrollBarTest, PositionStaysInsideRangeMinusPageAndBarHidesWhenThePageCoversIt) {
    QScrollBar* bar = Bar(Qt::Vertical);
    EXPECT_FALSE(bar->isVisible());
    SetRange(SB_VERT, 10, 11);
    EXPECT_FALSE(bar->isVisible());
    SetRange(SB_VERT, 10, 4);
    EXPECT_TRUE(bar->isVisible());
    EXPECT_EQ(view.SetScrollPos(SB_VERT, 100), 0);
    EXPECT_EQ(view.GetScrollPos(SB_VERT), 7);
    view.SetScrollPos(SB_VERT, -5);
    EXPECT_EQ(view.GetScrollPos(SB_VERT), 0);

    // Showing the bar narrows the client area and tells the view at once.
    RECT client;
    view.GetClientRect(&client);
    EXPECT_EQ(client.right, 300 - bar->width());
    ASSERT_FALSE(view.sizes.empty());
    EXPECT_EQ(view.sizes.back().cx, client.right);

    // The system moves the position back when the range shrinks or the
    // page grows.
    view.SetScrollPos(SB_VERT, 7);
    SetRange(SB_VERT, 8, 4);
    EXPECT_EQ(view.GetScrollPos(SB_VERT), 5);
    SetRange(SB_VERT, 8, 8);
    EXPECT_EQ(view.GetScrollPos(SB_VERT), 1);
    EXPECT_TRUE(bar->isVisible());
    SetRange(SB_VERT, 8, 9);
    EXPECT_EQ(view.GetScrollPos(SB_VERT), 0);
    EXPECT_FALSE(bar->isVisible());
}

TEST_F(ScrollBarTest, ActionsAndDragsArriveAsCodesAndNeverMoveTheBar) {
    SetRange(SB_VERT, 100, 10);
    view.SetScrollPos(SB_VERT, 50);
    QScrollBar* bar = Bar(Qt::Vertical);
    const std::pair<QAbstractSlider::SliderAction, UINT> actions[] = {
        {QAbstractSlider::SliderSingleStepSub, SB_LINEUP},
        {QAbstractSlider::SliderSingleStepAdd, SB_LINEDOWN},
        {QAbstractSlider::SliderPageStepSub, SB_PAGEUP},
        {QAbstractSlider::SliderPageStepAdd, SB_PAGEDOWN},
        {QAbstractSlider::SliderToMinimum, SB_TOP},
        {QAbstractSlider::SliderToMaximum, SB_BOTTOM},
    };
    for (const auto& [action, code] : actions) {
        view.scrolls.clear();
        bar->triggerAction(action);
        ASSERT_EQ(view.scrolls.size(), 1u);
        EXPECT_EQ(view.scrolls[0].nSBCode, code);
        EXPECT_EQ(view.GetScrollPos(SB_VERT), 50);
        EXPECT_EQ(bar->value(), 50);
    }
    // The end of every interaction.
    view.scrolls.clear();
    Release(bar);
    ASSERT_EQ(view.scrolls.size(), 1u);
    EXPECT_EQ(view.scrolls[0].nSBCode, SB_ENDSCROLL);

    // A drag the view ignores leaves the thumb where it was.
    SetRange(SB_HORZ, 100, 10);
    QScrollBar* horz = Bar(Qt::Horizontal);
    Drag(horz, {40});
    EXPECT_EQ(view.GetScrollPos(SB_HORZ), 0);
    EXPECT_EQ(horz->value(), 0);
    SCROLLINFO info = {};
    view.GetScrollInfo(SB_HORZ, &info);
    EXPECT_EQ(info.nTrackPos, 0);
}

TEST_F(ScrollBarTest, ThumbDragCarriesThe32BitTrackPosition) {
    SetRange(SB_VERT, 200000, 20);
    view.followThumb = true;
    QScrollBar* bar = Bar(Qt::Vertical);
    Drag(bar, {70000, 199981});
    const std::vector<ScrollCall> expected = {
        {SB_VERT, SB_THUMBTRACK, 70000 & 0xFFFF, 70000},
        {SB_VERT, SB_THUMBTRACK, 199981 & 0xFFFF, 199981},
        {SB_VERT, SB_THUMBPOSITION, 199981 & 0xFFFF, 199981},
        {SB_VERT, SB_ENDSCROLL, 0, 199981},
    };
    EXPECT_EQ(view.scrolls, expected);
    EXPECT_EQ(view.GetScrollPos(SB_VERT), 199981);

    // Released without moving, the thumb reports where it is now.
    view.SetScrollPos(SB_VERT, 20);
    view.scrolls.clear();
    Drag(bar);
    ASSERT_EQ(view.scrolls.size(), 2u);
    EXPECT_EQ(view.scrolls[0], (ScrollCall{SB_VERT, SB_THUMBPOSITION, 20, 20}));
    EXPECT_EQ(view.GetScrollPos(SB_VERT), 20);
}

TEST_F(ScrollBarTest, ScrollWindowRepaintsTheUncoveredStripAndUpdateNowPaintsAtOnce) {
    RECT client;
    view.GetClientRect(&client);
    recorder->paints.clear();
    view.ScrollWindow(0, -30);
    ProcessEvents();
    ASSERT_FALSE(recorder->paints.empty());
    for (const RECT& r : recorder->paints) {
        EXPECT_EQ(r.top, client.bottom - 30);
        EXPECT_EQ(r.bottom, client.bottom);
    }
    recorder->paints.clear();
    view.ScrollWindow(12, 0);
    ProcessEvents();
    ASSERT_FALSE(recorder->paints.empty());
    for (const RECT& r : recorder->paints) {
        EXPECT_EQ(r.left, 0);
        EXPECT_EQ(r.right, 12);
    }

    recorder->paints.clear();
    view.RedrawWindow(nullptr, nullptr, RDW_INVALIDATE);
    EXPECT_TRUE(recorder->paints.empty());
    view.RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
    ASSERT_EQ(recorder->paints.size(), 1u);
    EXPECT_EQ(recorder->paints[0].right, client.right);
    EXPECT_EQ(recorder->paints[0].bottom, client.bottom);
}

TEST_F(ScrollBarTest, PointerMovesWithNoButtonHeldAndLeavingReachTheWindow) {
    QMouseEvent move(QEvent::MouseMove, QPointF(17, 23), QPointF(17, 23), Qt::NoButton,
                     Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(view.GetSafeHwnd(), &move);
    ASSERT_EQ(view.moves.size(), 1u);
    EXPECT_EQ(view.moves[0].x, 17);
    EXPECT_EQ(view.moves[0].y, 23);
    QEvent leave(QEvent::Leave);
    QApplication::sendEvent(view.GetSafeHwnd(), &leave);
    EXPECT_EQ(view.leaves, 1);
}

} // namespace
