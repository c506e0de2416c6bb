#pragma once

#include "statistics/Mapping.h"

#include <QPoint>
#include <QRectF>
#include <cmath>
#include <cstdint>
#include <vector>

class QPaintDevice;
class QPainter;

// The drawing of a perceptual map in a square plot area: ground, frame, axes through the origin,
// ticks with their coordinates and grid, then the row points and the column points with their
// symbols and labels. Everything is drawn in the units of the plot rectangle (the screen's pixels
// for the window); a printer or a picture scales the painter instead.
//
// Any map is drawn without fault: coordinates that are not finite, or a window with no width,
// place nothing off the plot, and the tick search stops after a bounded number of ticks.
class MappingPainter {
public:
    // The plot rectangle of a map at 100 %.
    static constexpr double kLeft = 50.0;
    static constexpr double kTop = 5.0;
    static constexpr double kSide100 = 500.0;
    // Ticks stay more than this many pixels inside the plot rectangle.
    static constexpr double kTickInset = 5.0;
    static constexpr int kTickLength = 4;
    static constexpr int kCoordinateGap = 3;
    // More ticks than this on one side of an axis would be closer than a pixel on any plot.
    static constexpr int kMostTicks = 10000;

    // Per point set, the colours and sizes of its points (one entry per point).
    struct Points {
        std::vector<std::uint32_t> couleurs;
        std::vector<std::int32_t> tailles;
    };

    MappingPainter(const CMapping& mapping, const BoiteMapping& window, const GraduationMapping& graduation,
                   const QRectF& plot, const Points (&points)[2]);

    // The device whose resolution sizes the fonts: the window's, also when the painter is scaled
    // onto a printer or a picture, so that text keeps its place in the drawing. Without one, the
    // painter's own device.
    void SetFontDevice(const QPaintDevice* device) { m_fontDevice = device; }

    // Device position of a map point, truncated toward zero; the plot's centre for a point that
    // cannot be placed (not finite, or a window without width or height).
    QPoint Position(double x, double y) const;
    // Where point i of a set is drawn (the column points scaled by the column scales).
    QPoint PositionPoint(int ensemble, int i) const;
    // Whether the points of a set can be read: coordinates given and both axes among them.
    bool ACoordonnees(int ensemble) const;
    static bool Lisible(const CMapping& mapping, int ensemble);
    // The plotting window of the map's readable points (a set that cannot be read counts as
    // empty), with its steps.
    static void CalculerFenetre(const CMapping& mapping, BoiteMapping& window, GraduationMapping& graduation);

    void DessinerMapping(QPainter& painter) const;
    void DessinerPoints(QPainter& painter, int ensemble) const;
    // Both, as the window paints: the map, then the row points, then the column points.
    void Dessiner(QPainter& painter) const;

    // The map alone as a square PNG picture: the plot square of 100 % with a margin of `margin`
    // pixels all round, drawn `scale` times larger, its colours and sizes computed from the map.
    static std::vector<std::uint8_t> ImagePng(const CMapping& mapping, int margin, int scale);

    // The values k·step (k = 1, 2, ...) on one side of the origin whose position lies more than
    // kTickInset inside [low, high] of the device; `direction` +1 for the positive side, -1 for the
    // negative side. `toDevice` converts a map value to the device.
    template <class ToDevice>
    static std::vector<double> Graduations(double step, int direction, double low, double high,
                                           ToDevice toDevice);

private:
    double DeviceX(double x) const;
    double DeviceY(double y) const;
    void DessinerGraduationsX(QPainter& painter) const;
    void DessinerGraduationsY(QPainter& painter) const;
    const QPaintDevice* FontDevice(const QPainter& painter) const;

    const CMapping& m_mapping;
    BoiteMapping m_window;
    GraduationMapping m_graduation;
    QRectF m_plot;
    const Points (&m_points)[2];
    const QPaintDevice* m_fontDevice = nullptr;
};

template <class ToDevice>
std::vector<double> MappingPainter::Graduations(double step, int direction, double low, double high,
                                                ToDevice toDevice) {
    std::vector<double> values;
    if (!(step > 0.0) || !std::isfinite(step))
        return values;
    for (int k = 1; k <= kMostTicks; ++k) {
        const double value = direction * k * step;
        const double position = toDevice(value);
        if (!std::isfinite(position) || !(position > low + kTickInset && position < high - kTickInset))
            break;
        values.push_back(value);
    }
    return values;
}
