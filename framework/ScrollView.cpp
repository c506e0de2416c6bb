#include "framework/ScrollView.h"

#include <QPaintEvent>
#include <QPainter>
#include <QScrollBar>
#include <algorithm>

namespace {

void SetBar(QScrollBar& bar, int total, int visible, int page, int line) {
    const int pageStep = page > 0 ? page : std::max(1, visible);
    bar.setRange(0, std::max(0, total - visible));
    bar.setPageStep(pageStep);
    bar.setSingleStep(line > 0 ? line : std::max(1, pageStep / 10));
}

} // namespace

CScrollView::CScrollView(QWidget* parent) : QAbstractScrollArea(parent) {}

void CScrollView::SetScrollSizes(const QSize& total, const QSize& page, const QSize& line) {
    m_total = total.expandedTo(QSize(0, 0));
    m_page = page;
    m_line = line;
    UpdateBars();
    viewport()->update();
}

QPoint CScrollView::GetScrollPosition() const {
    return {horizontalScrollBar()->value(), verticalScrollBar()->value()};
}

void CScrollView::ScrollToPosition(const QPoint& position) {
    // The bars keep their values inside their ranges.
    horizontalScrollBar()->setValue(position.x());
    verticalScrollBar()->setValue(position.y());
}

void CScrollView::OnUpdate(CView* /*sender*/, int /*hint*/) {
    viewport()->update();
}

void CScrollView::OnDraw(QPainter& /*painter*/) {}

void CScrollView::paintEvent(QPaintEvent* event) {
    QPainter painter(viewport());
    painter.setClipRect(event->rect());
    painter.translate(-GetScrollPosition());
    OnDraw(painter);
}

void CScrollView::resizeEvent(QResizeEvent* event) {
    QAbstractScrollArea::resizeEvent(event);
    UpdateBars();
}

void CScrollView::scrollContentsBy(int /*dx*/, int /*dy*/) {
    viewport()->update();
}

void CScrollView::UpdateBars() {
    const QSize visible = viewport()->size();
    SetBar(*horizontalScrollBar(), m_total.width(), visible.width(), m_page.width(), m_line.width());
    SetBar(*verticalScrollBar(), m_total.height(), visible.height(), m_page.height(), m_line.height());
}
