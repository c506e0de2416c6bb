#pragma once

#include <string>
#include <vector>

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

// The pieces of a text that a reader needs whole on one line: its words, between blanks and line
// breaks. A word made only of the closing punctuation that French sets after a blank (":", ";",
// "!", "?", "%", "»") stays with the word before it on the same line, blank included: a number
// keeps its per-cent sign ("100.0 %"), a word its colon. The drawing's line breaking never breaks
// before the punctuation, so a column must hold the word and its sign together; it may break
// before a per-cent sign, but a value's text is only its number and sign, and a column wide
// enough for the pair shows it on one line.
//
// The window writes an ordinary blank between a number and its per-cent sign, not a no-break
// space: texts copied or exported from the window stay plain, and keeping the pair whole is the
// layout's business, which measures it as one piece and makes its column wide enough for it.
std::vector<std::string> WholeWords(const std::string& text);

// The width of the widest of the text's whole words drawn with the font, each measured alone on
// one line; 0 for a text without a word.
int WidestWholeWord(const std::string& text, const CPoliceAna& font, const FontMetricsSource& metrics);

} // namespace TextWrapping
