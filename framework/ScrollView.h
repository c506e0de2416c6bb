#pragma once

#include "framework/View.h"

#include <QAbstractScrollArea>
#include <QPoint>
#include <QSize>

class QPainter;
class QPaintEvent;
class QResizeEvent;

// A view larger than its window: it draws a logical area of a given size, in pixels, and the
// scroll bars move the visible part over it.
class CScrollView : public QAbstractScrollArea, public CView {
    Q_OBJECT

public:
    explicit CScrollView(QWidget* parent = nullptr);

    // The size of the logical area. A page step left empty is the visible size; a line step left
    // empty is a tenth of the page. The position stays inside the new area.
    void SetScrollSizes(const QSize& total, const QSize& page = {}, const QSize& line = {});
    const QSize& GetTotalSize() const { return m_total; }

    // The logical point at the top-left corner of the window.
    QPoint GetScrollPosition() const;
    // Brings the logical point to the top-left corner, as far as the area allows.
    void ScrollToPosition(const QPoint& position);

    void OnUpdate(CView* sender, int hint) override;

protected:
    // Draws the logical area: the painter's origin is the area's, its clip the visible part.
    virtual void OnDraw(QPainter& painter);

    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void scrollContentsBy(int dx, int dy) override;

private:
    void UpdateBars();

    QSize m_total;
    QSize m_page;
    QSize m_line;
};
