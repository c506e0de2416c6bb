#pragma once

#include <string>

class CPoliceAna;
class FontMetricsSource;

// The wrapping of a cell's text to its column. Ordinary text is left as it is: the measure and the
// drawing break it between words. Only a word longer than the column gets a line break, before
// the character at which it would overflow, so that no text runs over into the next column.
namespace TextWrapping {

// The text to lay out in the area from `left` to `right`, measured with the font. An area of 1 or
// less keeps the text unchanged. Characters are UTF-8 sequences: a break never falls inside one.
std::string WrapToColumn(const std::string& text, int left, int right, const CPoliceAna& font,
                         const FontMetricsSource& metrics);

} // namespace TextWrapping
