#include "gui/presentation/Chart2D.h"

#include <QApplication>
#include <QClipboard>
#include <QPainter>
#include <QPaintEvent>

#include "gui/presentation/ChartPainter.h"

CChart2D::CChart2D(QWidget* parent) : QWidget(parent)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void CChart2D::SetModel(ChartModel model)
{
    m_model = std::move(model);
    update();
}

void CChart2D::DessinerDans(QPainter& painter, const QRectF& rect) const
{
    QRectF bounds = rect;
    if (bounds.isEmpty() && painter.device() != nullptr)
        bounds = QRectF(0, 0, painter.device()->width(), painter.device()->height());
    ChartPainter::Paint(painter, bounds, m_model);
}

void CChart2D::DessinerCommeVu(QPainter& painter, const QRectF& rect) const
{
    ChartPainter::PaintAsSeen(painter, rect, QSizeF(size()), m_model);
}

QImage CChart2D::DonnerImage(const QSize& size) const
{
    QImage image(size.expandedTo(QSize(1, 1)), QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    DessinerDans(painter, QRectF(QPointF(0, 0), QSizeF(image.size())));
    return image;
}

void CChart2D::CopierDansPressePapiers() const
{
    QApplication::clipboard()->setImage(DonnerImage(size()));
}

void CChart2D::paintEvent(QPaintEvent* /*event*/)
{
    QPainter painter(this);
    DessinerDans(painter, QRectF(rect()));
}
