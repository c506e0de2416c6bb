#pragma once

#include "presentation/PoliceAna.h"
#include "gui/tabulation/FontMetricsSource.h"

#include <QFontMetrics>
#include <cstddef>
#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

class QPaintDevice;

// The measures of a table layout as Qt will draw the texts on one device (a widget, an image, a
// printer): the fonts are made for that device and texts are broken between words as the
// painter's word wrapping breaks them.
//
// A measure is remembered for the life of the source: the texts of a table repeat ("0",
// "100.0 %"), a layout measures each of its texts twice (to see whether it must be broken, then
// for its height), and a printout lays out the same columns in every band of its pages.
class QtFontMetricsSource final : public FontMetricsSource {
public:
    // The device must outlive the source; null measures at 1.25 pixels per point.
    explicit QtFontMetricsSource(const QPaintDevice* device);

    TextExtent MeasureWrapped(const CPoliceAna& font, const std::string& text, int width) const override;

private:
    struct Measure {
        std::size_t font;
        int width;
        std::string text;

        bool operator==(const Measure&) const = default;
    };
    struct MeasureHash {
        std::size_t operator()(const Measure& measure) const;
    };

    // The index of the font in m_metrics, added when new.
    std::size_t FontIndex(const CPoliceAna& font) const;

    const QPaintDevice* m_device;
    // A table has few distinct fonts: a short list searched in order.
    mutable std::vector<std::pair<CPoliceAna, QFontMetrics>> m_metrics;
    mutable std::unordered_map<Measure, TextExtent, MeasureHash> m_measures;
};
