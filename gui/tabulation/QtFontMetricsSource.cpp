#include "gui/tabulation/QtFontMetricsSource.h"

#include "gui/tabulation/QtFonts.h"

#include <QPaintDevice>
#include <QRect>
#include <algorithm>
#include <functional>
#include <limits>

namespace {
// Tall enough for any text: the measure must never be cut by the box's height.
constexpr int kUnboundedHeight = std::numeric_limits<int>::max() / 4;
} // namespace

QtFontMetricsSource::QtFontMetricsSource(const QPaintDevice* device) : m_device(device) {}

std::size_t QtFontMetricsSource::MeasureHash::operator()(const Measure& measure) const {
    std::size_t seed = std::hash<std::string>{}(measure.text);
    for (const std::size_t part : {measure.font, static_cast<std::size_t>(measure.width)})
        seed ^= part + 0x9E3779B97F4A7C15ull + (seed << 6) + (seed >> 2);
    return seed;
}

std::size_t QtFontMetricsSource::FontIndex(const CPoliceAna& font) const {
    for (std::size_t index = 0; index < m_metrics.size(); ++index)
        if (m_metrics[index].first == font)
            return index;
    const QFont drawing = QtFonts::CreerFont(font, m_device);
    m_metrics.emplace_back(font, m_device ? QFontMetrics(drawing, m_device) : QFontMetrics(drawing));
    return m_metrics.size() - 1;
}

TextExtent QtFontMetricsSource::MeasureWrapped(const CPoliceAna& font, const std::string& text,
                                               int width) const {
    const int boxWidth = std::max(width, 1);
    const std::size_t fontIndex = FontIndex(font);
    const auto [known, added] = m_measures.try_emplace(Measure{fontIndex, boxWidth, text}, TextExtent{});
    if (!added)
        return known->second;
    const QRect box(0, 0, boxWidth, kUnboundedHeight);
    const QRect used = m_metrics[fontIndex].second.boundingRect(
        box, Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap, QtFonts::ToDisplayText(text));
    known->second = TextExtent{used.width(), used.height()};
    return known->second;
}
