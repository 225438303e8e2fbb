// The window's scroll bars: what the view's own tests cannot see, the codes
// the user's actions arrive as, the position the system keeps, and the
// strip a scroll leaves to paint.
#include "ui_fixture.h"

#include "platform/ui/scrollstep.h"

#include <gtest/gtest.h>

#include <QMouseEvent>

namespace {

class ScrollBarTest : public ::testing::Test {
protected:
    void SetUp() override {
        TestApplication();
        view.Create(nullptr);
        view.GetOuterWidget()->resize(300, 200);
        view.ShowWindow(TRUE);
        SetRange(100, 10);
        view.SetScrollPos(SB_VERT, 50);
        ProcessEvents();
    }

    void SetRange(int nMax, UINT nPage) {
        SCROLLINFO info = {sizeof info, SIF_RANGE | SIF_PAGE, 0, nMax, nPage, 0, 0};
        view.SetScrollInfo(SB_VERT, &info);
    }

    RecordingView view;
};

TEST_F(ScrollBarTest, ActionsArriveAsCodesAndOnlyTheViewMovesTheBar) {
    QScrollBar* bar = ScrollBarOf(view, Qt::Vertical);
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
        EXPECT_EQ(bar->value(), 50);
    }
    // The thumb pressed and let go where it was reports its place; the end
    // of every interaction follows.
    view.scrolls.clear();
    bar->setSliderDown(true);
    QMouseEvent release(QEvent::MouseButtonRelease, QPointF(2, 2), QPointF(2, 2), Qt::LeftButton,
                        Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(bar, &release);
    bar->setSliderDown(false); // the synthetic release does not reach the bar's own tracking
    EXPECT_EQ(view.scrolls, (std::vector<ScrollCall>{{SB_VERT, SB_THUMBPOSITION, 50, 50},
                                                     {SB_VERT, SB_ENDSCROLL, 0, 50}}));
    EXPECT_EQ(view.GetScrollPos(SB_VERT), 50);
}

TEST_F(ScrollBarTest, ThePositionStaysWithinTheRangeLessThePage) {
    EXPECT_EQ(view.SetScrollPos(SB_VERT, 100), 50);
    EXPECT_EQ(view.GetScrollPos(SB_VERT), 91);
    view.SetScrollPos(SB_VERT, -5);
    EXPECT_EQ(view.GetScrollPos(SB_VERT), 0);
    // The system moves it back when the range shrinks or the page grows.
    view.SetScrollPos(SB_VERT, 91);
    SetRange(80, 10);
    EXPECT_EQ(view.GetScrollPos(SB_VERT), 71);
    SetRange(80, 30);
    EXPECT_EQ(view.GetScrollPos(SB_VERT), 51);
}

// A step stops where the last page fills the window; with a page larger
// than the range every request ends at the start. The thumb's position is
// taken whole beyond 16 bits, and no step overflows at the ends of the
// largest range.
TEST(ScrollStepTest, StepsStopWhereTheLastPageFillsTheWindow) {
    const SCROLLINFO bar = {sizeof bar, SIF_ALL, 0, 100, 10, 50, 70000};
    const auto to = [](SCROLLINFO info, UINT code, int line = 1, int page = 10) {
        return ScrollStepPosition(info, code, line, page);
    };
    EXPECT_EQ(to(bar, SB_LINEDOWN, 3), 53);
    EXPECT_EQ(to(bar, SB_PAGEUP, 1, 9), 41);
    EXPECT_EQ(to(bar, SB_BOTTOM), 91);
    EXPECT_EQ(to(bar, SB_THUMBTRACK), 91);
    EXPECT_EQ(to({sizeof bar, SIF_ALL, 0, 100000, 10, 50, 70000}, SB_THUMBPOSITION), 70000);
    EXPECT_EQ(to({sizeof bar, SIF_ALL, 0, 100, 10, 91, 0}, SB_LINEDOWN), 91);
    EXPECT_EQ(to({sizeof bar, SIF_ALL, 0, 5, 20, 0, 0}, SB_BOTTOM), 0);
    EXPECT_EQ(to({sizeof bar, SIF_ALL, 0, 100, 10, 2, 0}, SB_PAGEUP, 1, 20), 0);
    EXPECT_EQ(to({sizeof bar, SIF_ALL, 0, INT_MAX, 1, INT_MAX, 0}, SB_PAGEDOWN, 1, INT_MAX),
              INT_MAX);
    EXPECT_EQ(to(bar, SB_ENDSCROLL), std::nullopt);
}

TEST_F(ScrollBarTest, ScrollWindowRepaintsTheUncoveredStripAndUpdateNowPaintsAtOnce) {
    auto* recorder = new PaintRecorder(view.GetSafeHwnd()); // owned by the widget
    RECT client;
    view.GetClientRect(&client);
    const std::pair<POINT, RECT> scrolls[] = {
        {{0, -30}, {0, client.bottom - 30, client.right, client.bottom}},
        {{12, 0}, {0, 0, 12, client.bottom}},
    };
    for (const auto& [by, strip] : scrolls) {
        recorder->paints.clear();
        view.ScrollWindow(by.x, by.y);
        ProcessEvents();
        ASSERT_FALSE(recorder->paints.empty());
        for (const RECT& r : recorder->paints) {
            EXPECT_TRUE(r.left >= strip.left && r.top >= strip.top && r.right <= strip.right &&
                        r.bottom <= strip.bottom);
        }
    }
    recorder->paints.clear();
    view.RedrawWindow(nullptr, nullptr, RDW_INVALIDATE);
    EXPECT_TRUE(recorder->paints.empty());
    view.RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
    ASSERT_EQ(recorder->paints.size(), 1u);
    EXPECT_EQ(recorder->paints[0].right, client.right);
    EXPECT_EQ(recorder->paints[0].bottom, client.bottom);
}

} // namespace
