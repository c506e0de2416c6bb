#pragma once

#include <QImage>
#include <QRectF>
#include <cstdint>
#include <vector>

#include "presentation/ChartModel.h"

class CTableauBase;
class QPainter;

// A table's chart without a window, for pictures: the RTF writer draws it into a PNG. It is
// drawn as a chart window of 632 x 420 pixels would show it: the proportions (158:105) of the
// picture's place in a document, 158 x 105 mm, so that the picture is never stretched there.
class CGraphiqueHorsEcran {
public:
    static constexpr int kLargeur = 632;
    static constexpr int kHauteur = 420;

    // The table's data and presentation, titled with its title over its title lines.
    void SetTableau(const CTableauBase& table);
    const ChartModel& Model() const { return m_model; }

    // Into that rectangle of the painter; an empty one fills the painter's device.
    void DessinerDansDC(QPainter& painter, const QRectF& rect = {}) const;
    // The chart at `scale` times its size (the fonts with it), as a PNG file's bytes.
    std::vector<std::uint8_t> DonnerPng(int scale) const;

private:
    ChartModel m_model;
};
