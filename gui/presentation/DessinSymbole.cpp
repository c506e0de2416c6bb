#include "gui/presentation/DessinSymbole.h"

#include "presentation/PresentationMappingLigne.h"
#include "gui/tabulation/QtFonts.h"

#include <QBrush>
#include <QColor>
#include <QPainter>
#include <QPen>
#include <QPolygon>
#include <QRect>
#include <cmath>

namespace DessinSymbole {
namespace {

enum Symbole : std::int16_t {
    kAucun = 0,
    kPoint = 1,
    kTriangle = 2,
    kTriangleInverse = 3,
    kBoite = 4,
    kDiamant = 5,
    kCroix = 6,
    kCercle = 7,
    kCarre = 8,
};

// Positions are truncated toward zero, as every drawing position of the map.
int T(double value) {
    return static_cast<int>(std::trunc(value));
}

// The box of half-side r around the point, its right and bottom edges excluded.
QRect Boite(int x, int y, double r) {
    return QRect(QPoint(T(x - r), T(y - r)), QPoint(T(x + r) - 1, T(y + r) - 1));
}

QPolygon Polygone(std::initializer_list<QPointF> corners) {
    QPolygon polygon;
    for (const QPointF& corner : corners)
        polygon << QPoint(T(corner.x()), T(corner.y()));
    return polygon;
}

QPen PlumeContour(const QColor& colour, double width) {
    QPen pen(colour);
    pen.setWidth(std::max(1, T(width)));
    return pen;
}

} // namespace

QColor Couleur(std::uint32_t colour) {
    return QColor(static_cast<int>(colour & 0xFF), static_cast<int>((colour >> 8) & 0xFF),
                  static_cast<int>((colour >> 16) & 0xFF));
}

QPolygon Contour(std::int16_t type, int x, int y, std::int32_t size) {
    const double r = size * 0.5;
    const int h = size / 2;
    switch (type) {
    case kPoint:
    case kBoite:
    case kCercle:
    case kCarre: {
        const QRect box = Boite(x, y, r);
        return QPolygon(QList<QPoint>{box.topLeft(), box.topRight(), box.bottomRight(), box.bottomLeft()});
    }
    case kTriangle:
        return Polygone(
            {{double(x), double(y - h)}, {x - 0.866 * h, y + 0.5 * h}, {x + 0.866 * h, y + 0.5 * h}});
    case kTriangleInverse:
        return Polygone(
            {{double(x), double(y + h)}, {x - 0.866 * h, y - 0.5 * h}, {x + 0.866 * h, y - 0.5 * h}});
    case kDiamant:
        return Polygone({{double(x - h), double(y)},
                         {double(x), double(y - h)},
                         {double(x + h), double(y)},
                         {double(x), double(y + h)}});
    default:
        return {};
    }
}

int HautLibelle(std::int16_t type, int y, std::int32_t size) {
    return type != kAucun ? y + size / 2 : y;
}

void DessinerSymbole(QPainter& painter, const CPresentationMappingLigne& set, int x, int y,
                     const QString& label, std::uint32_t colour, std::int32_t size) {
    const double r = size * 0.5;
    const std::int16_t type = set.GetTypeSymbole();
    const QColor symbolColour = Couleur(colour);
    painter.save();
    switch (type) {
    case kPoint:
        painter.setBrush(symbolColour);
        painter.drawEllipse(Boite(x, y, r));
        break;
    case kBoite:
        painter.setBrush(symbolColour);
        painter.drawRect(Boite(x, y, r));
        break;
    case kTriangle:
    case kTriangleInverse:
    case kDiamant:
        painter.setBrush(symbolColour);
        painter.drawPolygon(Contour(type, x, y, size));
        break;
    case kCroix:
        painter.setPen(PlumeContour(symbolColour, r / 3 + 1));
        painter.setBrush(Qt::NoBrush);
        painter.drawLine(QPoint(T(x - r), T(y - r)), QPoint(T(x + r + 1), T(y + r + 1)));
        painter.drawLine(QPoint(T(x - r), T(y + r)), QPoint(T(x + r + 1), T(y - r - 1)));
        break;
    case kCercle:
        painter.setPen(PlumeContour(symbolColour, r * 0.25 + 1));
        painter.setBrush(Qt::NoBrush);
        painter.drawEllipse(Boite(x, y, r));
        break;
    case kCarre:
        painter.setPen(PlumeContour(symbolColour, r / 3 + 1));
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(Boite(x, y, r));
        break;
    default:
        break;
    }
    painter.restore();
    if (!set.GetEstLibelleVisible() || label.isEmpty())
        return;
    // Centred on x with the top at the label's top, never clipped: a rectangle wide enough for
    // any label.
    constexpr int kHalfWidth = 1 << 20;
    painter.drawText(QRect(x - kHalfWidth, HautLibelle(type, y, size), 2 * kHalfWidth, kHalfWidth),
                     Qt::AlignHCenter | Qt::AlignTop | Qt::TextDontClip, label);
}

void DessinerApercu(QPainter& painter, const QRect& rectangle, const CPresentationMappingLigne& set) {
    painter.save();
    painter.fillRect(rectangle, Qt::white);
    painter.setBackgroundMode(Qt::TransparentMode);
    painter.setFont(QtFonts::CreerFont(set.GetLabelFont(), painter.device()));
    painter.setPen(Couleur(set.GetCouleur()));
    DessinerSymbole(painter, set, rectangle.left() + rectangle.width() / 2,
                    rectangle.top() + rectangle.height() / 2, QStringLiteral("Libellé"), set.GetCouleur(),
                    set.GetTailleSymbole());
    painter.restore();
}

} // namespace DessinSymbole
