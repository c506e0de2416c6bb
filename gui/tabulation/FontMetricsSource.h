#pragma once

#include <string>

class CPoliceAna;

// The size a text takes once drawn.
struct TextExtent {
    int width = 0;
    int height = 0;
};

// Measures texts as the device a table is laid out for will draw them, so that the layout itself
// stays free of any drawing library and can be checked with made-up metrics.
class FontMetricsSource {
public:
    virtual ~FontMetricsSource() = default;

    // The extent of the text drawn with the font in a box `width` wide: lines break at the line
    // breaks of the text and between words; a word wider than the box is not broken and makes the
    // extent wider than the box. A width below 1 counts as 1. An empty text is one line high.
    virtual TextExtent MeasureWrapped(const CPoliceAna& font, const std::string& text, int width) const = 0;
};
