#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

class CPoliceAna;

// How wide a text prints in a word processor, estimated without a display: the advance widths of
// the metrics shared by Arial and Liberation Sans, and by Times New Roman and Liberation Serif
// (the faces a word processor uses for the tables' fonts, or substitutes for them), regular or
// bold, for ASCII, Latin-1 and the typographic signs of French texts. Any other character is
// taken as one em, as wide as the widest letters, so that an estimate errs on the wide side. A
// monospaced face (Courier, a "Mono" face) takes its fixed advance; a face of neither family the
// wider of the two advances and some more, for the wider face a word processor may draw instead.
namespace TextWidth {

constexpr std::int32_t kTwipsPerPoint = 20;

// Width of a one-line text at the font's face, size and weight, in twips (rounded up).
std::int32_t Twips(std::string_view text, const CPoliceAna& font);

// The pieces of a text that a reader needs whole on one line: its words, between blanks and line
// breaks. Closing punctuation that French sets after a blank (":", ";", "!", "?", "%", "»") stays
// with the word before it, blank included, so that a number keeps its per-cent sign ("100.0 %").
std::vector<std::string> WholeWords(std::string_view text);

// The width of the text's widest whole word, in twips; 0 for a text without a word.
std::int32_t WidestWordTwips(std::string_view text, const CPoliceAna& font);

} // namespace TextWidth
