#include "gui/presentation/MappingPainter.h"

#include "gui/presentation/DessinSymbole.h"
#include "gui/tabulation/QtFonts.h"

#include <QBuffer>
#include <QFontMetrics>
#include <QImage>
#include <QPainter>
#include <QPen>
#include <algorithm>
#include <cmath>
#include <cstdio>

namespace {

int T(double value) {
    return static_cast<int>(std::trunc(value));
}

// A coordinate as the ticks show it ("%g").
QString Valeur(double value) {
    char text[32];
    std::snprintf(text, sizeof text, "%g", value);
    return QString::fromLatin1(text);
}

// A device position that an int holds: the plot is at most a few thousand pixels wide.
bool Placable(double position) {
    return std::isfinite(position) && std::fabs(position) < 1e7;
}

} // namespace

MappingPainter::MappingPainter(const CMapping& mapping, const BoiteMapping& window,
                               const GraduationMapping& graduation, const QRectF& plot,
                               const Points (&points)[2])
    : m_mapping(mapping), m_window(window), m_graduation(graduation), m_plot(plot), m_points(points) {}

const QPaintDevice* MappingPainter::FontDevice(const QPainter& painter) const {
    return m_fontDevice != nullptr ? m_fontDevice : painter.device();
}

bool MappingPainter::ACoordonnees(int ensemble) const {
    return Lisible(m_mapping, ensemble);
}

bool MappingPainter::Lisible(const CMapping& mapping, int ensemble) {
    return (ensemble == CMapping::kColonnes ? mapping.coordonneesColonnes : mapping.coordonneesLignes) !=
               nullptr &&
           mapping.nombreAxes > std::max(mapping.axeHorizontal, mapping.axeVertical) &&
           std::min(mapping.axeHorizontal, mapping.axeVertical) >= 0;
}

void MappingPainter::CalculerFenetre(const CMapping& mapping, BoiteMapping& window,
                                     GraduationMapping& graduation) {
    CMapping readable = mapping;
    if (!Lisible(mapping, CMapping::kLignes))
        readable.nombreLignes = 0;
    if (!Lisible(mapping, CMapping::kColonnes))
        readable.nombreColonnes = 0;
    readable.CalculerFenetre(window, graduation);
}

double MappingPainter::DeviceX(double x) const {
    return m_plot.left() + m_plot.width() * (x - m_window.xMin) / (m_window.xMax - m_window.xMin);
}

double MappingPainter::DeviceY(double y) const {
    return m_plot.top() + m_plot.height() * (m_window.yMax - y) / (m_window.yMax - m_window.yMin);
}

QPoint MappingPainter::Position(double x, double y) const {
    const double px = DeviceX(x);
    const double py = DeviceY(y);
    if (!Placable(px) || !Placable(py))
        return QPoint(T(m_plot.center().x()), T(m_plot.center().y()));
    return QPoint(T(px), T(py));
}

QPoint MappingPainter::PositionPoint(int ensemble, int i) const {
    double x = 0.0;
    double y = 0.0;
    m_mapping.DonnerPoint(ensemble, i, x, y);
    if (ensemble == CMapping::kColonnes) {
        x *= m_graduation.echelleColonnesX;
        y *= m_graduation.echelleColonnesY;
    }
    return Position(x, y);
}

void MappingPainter::DessinerMapping(QPainter& painter) const {
    const CPresentationMapping& presentation = m_mapping.presentation;
    const QColor fore = DessinSymbole::Couleur(presentation.GetCouleurAvant());
    QPen solid(fore, 1);
    solid.setCosmetic(false);
    painter.save();
    painter.setBrush(DessinSymbole::Couleur(presentation.GetCouleurFond()));
    painter.setPen(presentation.GetEstCadre() ? solid : QPen(Qt::NoPen));
    painter.drawRect(QRectF(m_plot.left(), m_plot.top(), m_plot.width(), m_plot.height()));
    painter.setPen(solid);
    if (presentation.GetEstAxe()) {
        const double ox = DeviceX(0.0);
        const double oy = DeviceY(0.0);
        if (Placable(ox))
            painter.drawLine(QPointF(T(ox), m_plot.top()), QPointF(T(ox), m_plot.bottom()));
        if (Placable(oy))
            painter.drawLine(QPointF(m_plot.left(), T(oy)), QPointF(m_plot.right(), T(oy)));
    }
    painter.setFont(QtFonts::CreerFont(presentation.GetLegendFont(), FontDevice(painter)));
    DessinerGraduationsX(painter);
    DessinerGraduationsY(painter);
    painter.restore();
}

void MappingPainter::DessinerGraduationsX(QPainter& painter) const {
    const CPresentationMapping& presentation = m_mapping.presentation;
    const QColor fore = DessinSymbole::Couleur(presentation.GetCouleurAvant());
    QPen dotted(fore, 1, Qt::DotLine);
    const QColor text = QtFonts::TextColour(presentation.GetLegendFont());
    const auto toDevice = [this](double value) { return DeviceX(value); };
    const int bottom = T(m_plot.bottom());
    const int top = T(m_plot.top());
    for (int direction : {1, -1})
        for (double value :
             Graduations(m_graduation.pasX, direction, m_plot.left(), m_plot.right(), toDevice)) {
            const int x = T(DeviceX(value));
            if (presentation.GetEstCadre()) {
                painter.setPen(QPen(fore, 1));
                painter.drawLine(x, bottom, x, bottom - kTickLength);
            }
            if (presentation.GetEstCoordonnee()) {
                painter.setPen(text);
                constexpr int kHalf = 1 << 12;
                painter.drawText(QRect(x - kHalf, bottom + kCoordinateGap, 2 * kHalf, kHalf),
                                 Qt::AlignHCenter | Qt::AlignTop | Qt::TextDontClip, Valeur(value));
            }
            if (presentation.GetEstGrille()) {
                painter.setPen(dotted);
                painter.drawLine(x, top, x, bottom);
            }
        }
}

void MappingPainter::DessinerGraduationsY(QPainter& painter) const {
    const CPresentationMapping& presentation = m_mapping.presentation;
    const QColor fore = DessinSymbole::Couleur(presentation.GetCouleurAvant());
    QPen dotted(fore, 1, Qt::DotLine);
    const QColor text = QtFonts::TextColour(presentation.GetLegendFont());
    // Device y grows downwards: the positive side of the axis lies above the origin.
    const auto toDevice = [this](double value) { return DeviceY(value); };
    const int left = T(m_plot.left());
    const int right = T(m_plot.right());
    for (int direction : {1, -1})
        for (double value :
             Graduations(m_graduation.pasY, direction, m_plot.top(), m_plot.bottom(), toDevice)) {
            const int y = T(DeviceY(value));
            if (presentation.GetEstCadre()) {
                painter.setPen(QPen(fore, 1));
                painter.drawLine(left, y, left + kTickLength, y);
            }
            if (presentation.GetEstCoordonnee()) {
                painter.setPen(text);
                constexpr int kWide = 1 << 12;
                const int height = painter.fontMetrics().height();
                painter.drawText(QRect(left - kCoordinateGap - kWide, y - height / 2, kWide, height),
                                 Qt::AlignRight | Qt::AlignVCenter | Qt::TextDontClip, Valeur(value));
            }
            if (presentation.GetEstGrille()) {
                painter.setPen(dotted);
                painter.drawLine(left, y, right, y);
            }
        }
}

void MappingPainter::DessinerPoints(QPainter& painter, int ensemble) const {
    const auto set = ensemble == CMapping::kColonnes ? CPresentationMapping::kColumnPoints
                                                     : CPresentationMapping::kRowPoints;
    const CPresentationMappingLigne& look = m_mapping.presentation.GetPointSet(set);
    const Points& points = m_points[ensemble == CMapping::kColonnes ? 1 : 0];
    painter.save();
    painter.setBackgroundMode(Qt::TransparentMode);
    painter.setFont(QtFonts::CreerFont(look.GetLabelFont(), FontDevice(painter)));
    painter.setPen(QtFonts::TextColour(look.GetLabelFont()));
    const int count = ACoordonnees(ensemble) ? m_mapping.DonnerNombrePoints(ensemble) : 0;
    for (int i = 0; i < count; ++i) {
        double x = 0.0;
        double y = 0.0;
        m_mapping.DonnerPoint(ensemble, i, x, y);
        if (!std::isfinite(x) || !std::isfinite(y))
            continue;
        const QPoint position = PositionPoint(ensemble, i);
        const auto index = static_cast<std::size_t>(i);
        const std::uint32_t colour =
            index < points.couleurs.size() ? points.couleurs[index] : look.GetCouleur();
        const std::int32_t size =
            index < points.tailles.size() ? points.tailles[index] : look.GetTailleSymbole();
        DessinSymbole::DessinerSymbole(painter, look, position.x(), position.y(),
                                       QtFonts::ToDisplayText(m_mapping.DonnerLibelle(ensemble, i)), colour,
                                       size);
    }
    painter.restore();
}

void MappingPainter::Dessiner(QPainter& painter) const {
    DessinerMapping(painter);
    DessinerPoints(painter, CMapping::kLignes);
    DessinerPoints(painter, CMapping::kColonnes);
}

std::vector<std::uint8_t> MappingPainter::ImagePng(const CMapping& mapping, int margin, int scale) {
    BoiteMapping window;
    GraduationMapping graduation;
    CalculerFenetre(mapping, window, graduation);
    const Points points[2] = {
        {mapping.CalculerCouleurs(CMapping::kLignes), mapping.CalculerTailles(CMapping::kLignes)},
        {mapping.CalculerCouleurs(CMapping::kColonnes), mapping.CalculerTailles(CMapping::kColonnes)}};
    const int side = static_cast<int>(kSide100) + 2 * margin;
    QImage image(side * scale, side * scale, QImage::Format_RGB32);
    // A screen's resolution, so that text keeps its size beside the drawing.
    constexpr int kScreenDotsPerMetre = 3780;
    image.setDotsPerMeterX(kScreenDotsPerMetre);
    image.setDotsPerMeterY(kScreenDotsPerMetre);
    image.fill(Qt::white);
    {
        QPainter painter(&image);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setRenderHint(QPainter::TextAntialiasing);
        painter.scale(scale, scale);
        MappingPainter(mapping, window, graduation, QRectF(margin, margin, kSide100, kSide100), points)
            .Dessiner(painter);
    }
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return std::vector<std::uint8_t>(bytes.begin(), bytes.end());
}
