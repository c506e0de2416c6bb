#pragma once

#include "presentation/PoliceAna.h"
#include "gui/tabulation/FontMetricsSource.h"

#include <QFontMetrics>
#include <utility>
#include <vector>

class QPaintDevice;

// The measures of a table layout as Qt will draw the texts on one device (a widget, an image, a
// printer): the fonts are made for that device and texts are broken between words as the
// painter's word wrapping breaks them.
class QtFontMetricsSource final : public FontMetricsSource {
public:
    // The device must outlive the source; null measures at 1.25 pixels per point.
    explicit QtFontMetricsSource(const QPaintDevice* device);

    TextExtent MeasureWrapped(const CPoliceAna& font, const std::string& text, int width) const override;

private:
    const QFontMetrics& MetricsOf(const CPoliceAna& font) const;

    const QPaintDevice* m_device;
    // A table has few distinct fonts: a short list searched in order.
    mutable std::vector<std::pair<CPoliceAna, QFontMetrics>> m_metrics;
};
