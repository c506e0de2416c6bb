#include "framework/ScrollView.h"

#include <QPainter>
#include <QScrollBar>
#include <gtest/gtest.h>

namespace {

// Records where the painter's origin stood when it drew.
class DrawingView : public CScrollView {
public:
    QPointF drawnOrigin{1.0, 1.0};
    int draws = 0;

protected:
    void OnDraw(QPainter& painter) override {
        ++draws;
        drawnOrigin = painter.transform().map(QPointF(0, 0));
    }
};

class ScrollViewTest : public ::testing::Test {
protected:
    void SetUp() override {
        m_view.resize(300, 200);
        m_view.show();
    }

    QSize Visible() const { return m_view.viewport()->size(); }

    DrawingView m_view;
};

TEST_F(ScrollViewTest, TheBarsReachTheEndOfTheLogicalArea) {
    m_view.SetScrollSizes(QSize(1000, 800));

    EXPECT_EQ(m_view.horizontalScrollBar()->maximum(), 1000 - Visible().width());
    EXPECT_EQ(m_view.verticalScrollBar()->maximum(), 800 - Visible().height());
    EXPECT_EQ(m_view.verticalScrollBar()->pageStep(), Visible().height());
    EXPECT_EQ(m_view.verticalScrollBar()->singleStep(), Visible().height() / 10);

    m_view.SetScrollSizes(QSize(1000, 800), QSize(100, 50), QSize(7, 3));
    EXPECT_EQ(m_view.horizontalScrollBar()->pageStep(), 100);
    EXPECT_EQ(m_view.verticalScrollBar()->singleStep(), 3);
}

TEST_F(ScrollViewTest, ThePositionStaysInsideTheArea) {
    m_view.SetScrollSizes(QSize(1000, 800));

    m_view.ScrollToPosition(QPoint(5000, -20));
    EXPECT_EQ(m_view.GetScrollPosition(), QPoint(1000 - Visible().width(), 0));

    m_view.ScrollToPosition(QPoint(120, 90));
    EXPECT_EQ(m_view.GetScrollPosition(), QPoint(120, 90));

    // An area smaller than the window cannot be scrolled.
    m_view.SetScrollSizes(QSize(100, 100));
    EXPECT_EQ(m_view.GetScrollPosition(), QPoint(0, 0));
}

TEST_F(ScrollViewTest, DrawingStartsAtTheLogicalOriginMovedByTheScrollPosition) {
    m_view.SetScrollSizes(QSize(1000, 800));
    m_view.ScrollToPosition(QPoint(120, 90));

    m_view.viewport()->grab();

    ASSERT_GT(m_view.draws, 0);
    EXPECT_EQ(m_view.drawnOrigin, QPointF(-120, -90));
}

} // namespace
