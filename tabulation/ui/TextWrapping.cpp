#include "tabulation/ui/TextWrapping.h"

#include "tabulation/ui/FontMetricsSource.h"

#include <algorithm>
#include <cstddef>

namespace {

// The number of bytes of the UTF-8 sequence that starts with `lead` (1 for a stray byte, so that
// malformed text still advances).
std::size_t SequenceLength(unsigned char lead) {
    if (lead >= 0xF0 && lead <= 0xF7)
        return 4;
    if (lead >= 0xE0)
        return lead <= 0xEF ? 3 : 1;
    if (lead >= 0xC0)
        return 2;
    return 1;
}

} // namespace

namespace TextWrapping {

std::string WrapToColumn(const std::string& text, int left, int right, const CPoliceAna& font,
                         const FontMetricsSource& metrics) {
    const int width = right - left;
    if (width <= 1)
        return text;
    if (metrics.MeasureWrapped(font, text, width).width <= width)
        return text;

    std::string wrapped;
    wrapped.reserve(text.size() * 2);
    for (std::size_t at = 0; at < text.size();) {
        const std::size_t length =
            std::min(SequenceLength(static_cast<unsigned char>(text[at])), text.size() - at);
        const std::size_t before = wrapped.size();
        wrapped.append(text, at, length);
        if (metrics.MeasureWrapped(font, wrapped, width).width > width)
            wrapped.insert(before, 1, '\n');
        at += length;
    }
    return wrapped;
}

} // namespace TextWrapping
