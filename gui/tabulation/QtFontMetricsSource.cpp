#include "gui/tabulation/QtFontMetricsSource.h"

#include "gui/tabulation/QtFonts.h"

#include <QPaintDevice>
#include <QRect>
#include <algorithm>
#include <limits>

namespace {
// Tall enough for any text: the measure must never be cut by the box's height.
constexpr int kUnboundedHeight = std::numeric_limits<int>::max() / 4;
} // namespace

QtFontMetricsSource::QtFontMetricsSource(const QPaintDevice* device) : m_device(device) {}

const QFontMetrics& QtFontMetricsSource::MetricsOf(const CPoliceAna& font) const {
    for (const auto& [known, metrics] : m_metrics)
        if (known == font)
            return metrics;
    const QFont drawing = QtFonts::CreerFont(font, m_device);
    m_metrics.emplace_back(font, m_device ? QFontMetrics(drawing, m_device) : QFontMetrics(drawing));
    return m_metrics.back().second;
}

TextExtent QtFontMetricsSource::MeasureWrapped(const CPoliceAna& font, const std::string& text,
                                               int width) const {
    const QRect box(0, 0, std::max(width, 1), kUnboundedHeight);
    const QRect used = MetricsOf(font).boundingRect(box, Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap,
                                                    QtFonts::ToDisplayText(text));
    return TextExtent{used.width(), used.height()};
}
