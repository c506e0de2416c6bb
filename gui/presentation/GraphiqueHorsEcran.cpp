#include "gui/presentation/GraphiqueHorsEcran.h"

#include <QBuffer>
#include <QPainter>

#include "gui/presentation/ChartPainter.h"
#include "gui/presentation/TableauChartSource.h"
#include "tabulation/TableauBase.h"

void CGraphiqueHorsEcran::SetTableau(const CTableauBase& table)
{
    const CPresentationGraphique& presentation = table.GetPresentationGraphique();
    ChartModel model;
    presentation.ConstruireDonnees(model, TableauChartSource(table));
    std::vector<std::string> lines;
    table.DonnerLignesTitre(lines);
    presentation.Appliquer(model, table.title, lines);
    m_model = std::move(model);
}

void CGraphiqueHorsEcran::DessinerDansDC(QPainter& painter, const QRectF& rect) const
{
    QRectF bounds = rect;
    if (bounds.isEmpty() && painter.device() != nullptr)
        bounds = QRectF(0, 0, painter.device()->width(), painter.device()->height());
    ChartPainter::Paint(painter, bounds, m_model);
}

std::vector<std::uint8_t> CGraphiqueHorsEcran::DonnerPng(int scale) const
{
    scale = std::max(1, scale);
    QImage image(kLargeur * scale, kHauteur * scale, QImage::Format_RGB32);
    image.setDevicePixelRatio(scale);
    image.fill(Qt::white);
    {
        QPainter painter(&image);
        DessinerDansDC(painter, QRectF(0, 0, kLargeur, kHauteur));
    }
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return std::vector<std::uint8_t>(bytes.begin(), bytes.end());
}
