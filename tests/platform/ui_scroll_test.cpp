// The window's scroll bars: position rules, visibility, and how user
// actions reach the handlers as scroll codes.
#include "ui_fixture.h"

#include <gtest/gtest.h>

#include <QMouseEvent>
#include <QScrollBar>
#include <QStyle>
#include <QStyleOptionSlider>
#include <QWidget>

namespace {

class ScrollBarTest : public ::testing::Test {
protected:
    void SetUp() override {
        TestApplication();
        view.Create(nullptr);
        view.GetOuterWidget()->resize(300, 200);
        view.ShowWindow(TRUE);
        ProcessEvents();
    }

    void SetRange(int nBar, int nMax, UINT nPage) {
        SCROLLINFO info = {sizeof info, SIF_RANGE | SIF_PAGE, 0, nMax, nPage, 0, 0};
        view.SetScrollInfo(nBar, &info);
    }

    QScrollBar* Bar(Qt::Orientation orientation) {
        for (QScrollBar* bar : view.GetOuterWidget()->findChildren<QScrollBar*>()) {
            if (bar->orientation() == orientation) {
                return bar;
            }
        }
        return nullptr;
    }

    // Where a part of the bar is, as the style draws it.
    static QPoint CentreOf(QScrollBar* bar, QStyle::SubControl part) {
        QStyleOptionSlider option;
        option.initFrom(bar);
        option.orientation = bar->orientation();
        if (bar->orientation() == Qt::Horizontal) {
            option.state |= QStyle::State_Horizontal;
        }
        option.minimum = bar->minimum();
        option.maximum = bar->maximum();
        option.sliderPosition = bar->sliderPosition();
        option.sliderValue = bar->value();
        option.singleStep = bar->singleStep();
        option.pageStep = bar->pageStep();
        option.subControls = QStyle::SC_All;
        return bar->style()->subControlRect(QStyle::CC_ScrollBar, &option, part, bar).center();
    }

    static void Mouse(QScrollBar* bar, QEvent::Type type, QPoint at) {
        const Qt::MouseButtons buttons =
            type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton;
        QMouseEvent event(type, at, bar->mapToGlobal(at), Qt::LeftButton, buttons, Qt::NoModifier);
        QApplication::sendEvent(bar, &event);
    }

    void Release(QScrollBar* bar) {
        QMouseEvent release(QEvent::MouseButtonRelease, QPointF(2, 2), QPointF(2, 2),
                            Qt::LeftButton, Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(bar, &release);
        // The synthetic release does not reach the bar's own tracking.
        bar->setSliderDown(false);
    }

    RecordingView view;
};

TEST_F(ScrollBarTest, PositionStaysInsideRangeMinusPage) {
    SetRange(SB_VERT, 10, 4);
    EXPECT_EQ(view.SetScrollPos(SB_VERT, 100), 0);
    EXPECT_EQ(view.GetScrollPos(SB_VERT), 7);
    view.SetScrollPos(SB_VERT, -5);
    EXPECT_EQ(view.GetScrollPos(SB_VERT), 0);

    // The system moves the position back when the range shrinks or the
    // page grows.
    view.SetScrollPos(SB_VERT, 7);
    SetRange(SB_VERT, 8, 4);
    EXPECT_EQ(view.GetScrollPos(SB_VERT), 5);
    SetRange(SB_VERT, 8, 20);
    EXPECT_EQ(view.GetScrollPos(SB_VERT), 0);
}

TEST_F(ScrollBarTest, BarIsHiddenWhileThePageCoversTheRange) {
    QScrollBar* bar = Bar(Qt::Vertical);
    EXPECT_FALSE(bar->isVisible());
    SetRange(SB_VERT, 0, 10);
    EXPECT_FALSE(bar->isVisible());
    SetRange(SB_VERT, 10, 11);
    EXPECT_FALSE(bar->isVisible());
    SetRange(SB_VERT, 10, 10);
    EXPECT_TRUE(bar->isVisible());

    // Showing the bar narrows the client area and tells the view at once.
    RECT client;
    view.GetClientRect(&client);
    EXPECT_EQ(client.left, 0);
    EXPECT_EQ(client.right, 300 - bar->width());
    ASSERT_FALSE(view.sizes.empty());
    EXPECT_EQ(view.sizes.back().cx, client.right);
}

TEST_F(ScrollBarTest, ActionsArriveAsCodesAndNeverMoveTheBar) {
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
}

TEST_F(ScrollBarTest, ThumbDragCarriesThe32BitTrackPosition) {
    SetRange(SB_VERT, 200000, 20);
    view.followThumb = true;
    QScrollBar* bar = Bar(Qt::Vertical);
    bar->setSliderDown(true);
    bar->setSliderPosition(70000);
    bar->setSliderPosition(199981);
    Release(bar);

    const std::vector<ScrollCall> expected = {
        {SB_VERT, SB_THUMBTRACK, 70000 & 0xFFFF, 70000},
        {SB_VERT, SB_THUMBTRACK, 199981 & 0xFFFF, 199981},
        {SB_VERT, SB_THUMBPOSITION, 199981 & 0xFFFF, 199981},
        {SB_VERT, SB_ENDSCROLL, 0, 199981},
    };
    EXPECT_EQ(view.scrolls, expected);
    EXPECT_EQ(view.GetScrollPos(SB_VERT), 199981);
}

TEST_F(ScrollBarTest, MouseOnTheBarSendsCodesAndTheDragFollowsTheMouse) {
    SetRange(SB_VERT, 1000, 10);
    view.followThumb = true;
    QScrollBar* bar = Bar(Qt::Vertical);

    const QPoint arrow = CentreOf(bar, QStyle::SC_ScrollBarAddLine);
    Mouse(bar, QEvent::MouseButtonPress, arrow);
    Mouse(bar, QEvent::MouseButtonRelease, arrow);
    ASSERT_EQ(view.scrolls.size(), 2u);
    EXPECT_EQ(view.scrolls[0].nSBCode, SB_LINEDOWN);
    EXPECT_EQ(view.scrolls[1].nSBCode, SB_ENDSCROLL);
    EXPECT_EQ(view.GetScrollPos(SB_VERT), 0); // the view did not move it

    view.scrolls.clear();
    const QPoint thumb = CentreOf(bar, QStyle::SC_ScrollBarSlider);
    Mouse(bar, QEvent::MouseButtonPress, thumb);
    Mouse(bar, QEvent::MouseMove, thumb + QPoint(0, 40));
    const int dragged = view.GetScrollPos(SB_VERT);
    EXPECT_GT(dragged, 0);
    Mouse(bar, QEvent::MouseButtonRelease, thumb + QPoint(0, 40));
    ASSERT_GE(view.scrolls.size(), 3u);
    EXPECT_EQ(view.scrolls.front().nSBCode, SB_THUMBTRACK);
    EXPECT_EQ(view.scrolls.front().nTrackPos, dragged);
    EXPECT_EQ(view.scrolls.end()[-2],
              (ScrollCall{SB_VERT, SB_THUMBPOSITION, UINT(dragged), dragged}));
    EXPECT_EQ(view.scrolls.back().nSBCode, SB_ENDSCROLL);
    EXPECT_EQ(bar->value(), dragged);
}

TEST_F(ScrollBarTest, ThumbReleasedWithoutMovingKeepsItsPosition) {
    SetRange(SB_VERT, 100, 10);
    view.followThumb = true;
    QScrollBar* bar = Bar(Qt::Vertical);
    bar->setSliderDown(true);
    bar->setSliderPosition(60);
    Release(bar);
    view.SetScrollPos(SB_VERT, 20);
    view.scrolls.clear();
    bar->setSliderDown(true);
    Release(bar);
    ASSERT_EQ(view.scrolls.size(), 2u);
    EXPECT_EQ(view.scrolls[0], (ScrollCall{SB_VERT, SB_THUMBPOSITION, 20, 20}));
    EXPECT_EQ(view.GetScrollPos(SB_VERT), 20);
}

TEST_F(ScrollBarTest, IgnoredDragLeavesThePositionWhereItWas) {
    SetRange(SB_HORZ, 100, 10);
    QScrollBar* bar = Bar(Qt::Horizontal);
    bar->setSliderDown(true);
    bar->setSliderPosition(40);
    Release(bar);
    EXPECT_EQ(view.GetScrollPos(SB_HORZ), 0);
    EXPECT_EQ(bar->value(), 0);
    SCROLLINFO info = {};
    view.GetScrollInfo(SB_HORZ, &info);
    EXPECT_EQ(info.nTrackPos, 0);
}

TEST_F(ScrollBarTest, KeysAndWheelSendTheCodesOfTheBars) {
    struct Case {
        int key;
        Qt::KeyboardModifiers modifiers;
        ScrollCall first;
    };
    const Case cases[] = {
        {Qt::Key_Down, Qt::NoModifier, {SB_VERT, SB_LINEDOWN, 0, 0}},
        {Qt::Key_PageUp, Qt::NoModifier, {SB_VERT, SB_PAGEUP, 0, 0}},
        {Qt::Key_Right, Qt::NoModifier, {SB_HORZ, SB_LINERIGHT, 0, 0}},
        {Qt::Key_Home, Qt::NoModifier, {SB_HORZ, SB_LEFT, 0, 0}},
        {Qt::Key_End, Qt::ControlModifier, {SB_VERT, SB_BOTTOM, 0, 0}},
    };
    for (const Case& c : cases) {
        view.scrolls.clear();
        QKeyEvent press(QEvent::KeyPress, c.key, c.modifiers);
        QApplication::sendEvent(view.GetSafeHwnd(), &press);
        ASSERT_EQ(view.scrolls.size(), 2u) << c.key;
        EXPECT_EQ(view.scrolls[0], c.first);
        EXPECT_EQ(view.scrolls[1].nSBCode, SB_ENDSCROLL);
    }

    view.scrolls.clear();
    QWheelEvent notchDown(QPointF(5, 5), QPointF(5, 5), QPoint(), QPoint(0, -120), Qt::NoButton,
                          Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(view.GetSafeHwnd(), &notchDown);
    const std::vector<ScrollCall> threeRows = {
        {SB_VERT, SB_LINEDOWN, 0, 0},
        {SB_VERT, SB_LINEDOWN, 0, 0},
        {SB_VERT, SB_LINEDOWN, 0, 0},
        {SB_VERT, SB_ENDSCROLL, 0, 0},
    };
    EXPECT_EQ(view.scrolls, threeRows);

    // Half notches add up; with Shift the wheel scrolls sideways.
    view.scrolls.clear();
    QWheelEvent halfUp(QPointF(5, 5), QPointF(5, 5), QPoint(), QPoint(0, 60), Qt::NoButton,
                       Qt::ShiftModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(view.GetSafeHwnd(), &halfUp);
    EXPECT_TRUE(view.scrolls.empty());
    QApplication::sendEvent(view.GetSafeHwnd(), &halfUp);
    ASSERT_EQ(view.scrolls.size(), 4u);
    EXPECT_EQ(view.scrolls[0], (ScrollCall{SB_HORZ, SB_LINELEFT, 0, 0}));
}

TEST_F(ScrollBarTest, ScrollWindowRepaintsOnlyTheUncoveredStrip) {
    view.paints.clear();
    view.ScrollWindow(0, -30);
    ProcessEvents();
    ASSERT_FALSE(view.paints.empty());
    RECT client;
    view.GetClientRect(&client);
    for (const RECT& r : view.paints) {
        EXPECT_EQ(r.top, client.bottom - 30);
        EXPECT_EQ(r.bottom, client.bottom);
    }

    view.paints.clear();
    view.ScrollWindow(12, 0);
    ProcessEvents();
    ASSERT_FALSE(view.paints.empty());
    for (const RECT& r : view.paints) {
        EXPECT_EQ(r.left, 0);
        EXPECT_EQ(r.right, 12);
    }
}

TEST_F(ScrollBarTest, RedrawWithUpdateNowPaintsBeforeItReturns) {
    view.paints.clear();
    view.RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
    ASSERT_EQ(view.paints.size(), 1u);
    RECT client;
    view.GetClientRect(&client);
    EXPECT_EQ(view.paints[0].right, client.right);
    EXPECT_EQ(view.paints[0].bottom, client.bottom);

    view.paints.clear();
    view.RedrawWindow(nullptr, nullptr, RDW_INVALIDATE);
    EXPECT_TRUE(view.paints.empty());
}

} // namespace
