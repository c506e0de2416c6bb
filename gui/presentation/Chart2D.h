#pragma once

#include <QImage>
#include <QWidget>

#include "presentation/ChartModel.h"

class QPainter;

// The window that shows a chart. It holds the chart's model and paints it; the same chart can
// be drawn into any painter (printer, picture) or image, and put on the clipboard as an image.
class CChart2D : public QWidget {
    Q_OBJECT
public:
    explicit CChart2D(QWidget* parent = nullptr);

    const ChartModel& Model() const { return m_model; }
    // Changes the model through `change` and repaints once.
    template <typename Change>
    void Modifier(Change&& change)
    {
        change(m_model);
        update();
    }
    void SetModel(ChartModel model);

    // Draws the chart into `rect` of the painter; an empty rectangle fills the painter's device.
    void DessinerDans(QPainter& painter, const QRectF& rect = {}) const;
    // Draws the chart as this window lays it out, scaled to `rect` (printing).
    void DessinerCommeVu(QPainter& painter, const QRectF& rect) const;
    // The chart drawn into a new image of that size (white where nothing is drawn).
    QImage DonnerImage(const QSize& size) const;
    // Puts the chart, at the window's size, on the clipboard as an image.
    void CopierDansPressePapiers() const;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    ChartModel m_model;
};
