#include "export/TextWidth.h"

#include "export/Utf8.h"
#include "presentation/PoliceAna.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <cmath>

namespace {

// The typographic signs of French texts beyond Latin-1, in the order of Widths::signs.
constexpr std::array<char32_t, 11> kSigns = {0x0152, 0x0153, 0x0178, 0x2013, 0x2014, 0x2018,
                                             0x2019, 0x201C, 0x201D, 0x2026, 0x20AC};

// Advance widths of one weight of a face, in thousandths of an em: from the blank (U+0020) to "~"
// (U+007E), from the no-break space (U+00A0) to "ÿ" (U+00FF), then the signs of kSigns.
struct Widths {
    std::array<std::uint16_t, 95> ascii;
    std::array<std::uint16_t, 96> latin1;
    std::array<std::uint16_t, kSigns.size()> signs;
};
// Regular, then bold.
using Metrics = std::array<Widths, 2>;

// Arial, Helvetica and Liberation Sans.
constexpr Metrics kSansWidths = {{
    Widths{{278, 278, 355, 556, 556, 889, 667, 191, 333, 333, 389, 584, 278, 333,  278, 278, 556, 556, 556,
            556, 556, 556, 556, 556, 556, 556, 278, 278, 584, 584, 584, 556, 1015, 667, 667, 722, 722, 667,
            611, 778, 722, 278, 500, 667, 556, 833, 722, 778, 667, 778, 722, 667,  611, 722, 667, 944, 667,
            667, 611, 278, 278, 278, 469, 556, 333, 556, 556, 500, 556, 556, 278,  556, 556, 222, 222, 500,
            222, 833, 556, 556, 556, 556, 333, 500, 278, 556, 500, 722, 500, 500,  500, 334, 260, 334, 584},
           {278, 333, 556, 556, 556, 556, 260,  556, 333, 737, 370, 556, 584, 333, 737, 552,
            400, 549, 333, 333, 333, 576, 537,  333, 333, 333, 365, 556, 834, 834, 834, 611,
            667, 667, 667, 667, 667, 667, 1000, 722, 667, 667, 667, 667, 278, 278, 278, 278,
            722, 722, 778, 778, 778, 778, 778,  584, 778, 722, 722, 722, 722, 667, 667, 611,
            556, 556, 556, 556, 556, 556, 889,  500, 556, 556, 556, 556, 278, 278, 278, 278,
            556, 556, 556, 556, 556, 556, 556,  549, 611, 556, 556, 556, 556, 500, 556, 500},
           {1000, 944, 667, 556, 1000, 222, 222, 333, 333, 1000, 556}},
    Widths{{278, 333, 474, 556, 556, 889, 722, 238, 333, 333, 389, 584, 278, 333, 278, 278, 556, 556, 556,
            556, 556, 556, 556, 556, 556, 556, 333, 333, 584, 584, 584, 611, 975, 722, 722, 722, 722, 667,
            611, 778, 722, 278, 556, 722, 611, 833, 722, 778, 667, 778, 722, 667, 611, 722, 667, 944, 667,
            667, 611, 333, 278, 333, 584, 556, 333, 556, 611, 556, 611, 556, 333, 611, 611, 278, 278, 556,
            278, 889, 611, 611, 611, 611, 389, 556, 333, 611, 556, 778, 556, 556, 500, 389, 280, 389, 584},
           {278, 333, 556, 556, 556, 556, 280,  556, 333, 737, 370, 556, 584, 333, 737, 552,
            400, 549, 333, 333, 333, 576, 556,  333, 333, 333, 365, 556, 834, 834, 834, 611,
            722, 722, 722, 722, 722, 722, 1000, 722, 667, 667, 667, 667, 278, 278, 278, 278,
            722, 722, 778, 778, 778, 778, 778,  584, 778, 722, 722, 722, 722, 667, 667, 611,
            556, 556, 556, 556, 556, 556, 889,  556, 556, 556, 556, 556, 278, 278, 278, 278,
            611, 611, 611, 611, 611, 611, 611,  549, 611, 611, 611, 611, 611, 556, 611, 556},
           {1000, 944, 667, 556, 1000, 278, 278, 500, 500, 1000, 556}},
}};

// Times New Roman and Liberation Serif.
constexpr Metrics kSerifWidths = {{
    Widths{{250, 333, 408, 500, 500, 833, 778, 180, 333, 333, 500, 564, 250, 333, 250, 278, 500, 500, 500,
            500, 500, 500, 500, 500, 500, 500, 278, 278, 564, 564, 564, 444, 921, 722, 667, 667, 722, 611,
            556, 722, 722, 333, 389, 722, 611, 889, 722, 722, 556, 722, 667, 556, 611, 722, 722, 944, 722,
            722, 611, 333, 278, 333, 469, 500, 333, 444, 500, 444, 500, 444, 333, 500, 500, 278, 278, 500,
            278, 778, 500, 500, 500, 500, 333, 389, 278, 500, 500, 722, 500, 500, 444, 480, 200, 480, 541},
           {250, 333, 500, 500, 500, 500, 200, 500, 333, 760, 276, 500, 564, 333, 760, 500,
            400, 549, 300, 300, 333, 576, 453, 333, 333, 300, 310, 500, 750, 750, 750, 444,
            722, 722, 722, 722, 722, 722, 889, 667, 611, 611, 611, 611, 333, 333, 333, 333,
            722, 722, 722, 722, 722, 722, 722, 564, 722, 722, 722, 722, 722, 722, 556, 500,
            444, 444, 444, 444, 444, 444, 667, 444, 444, 444, 444, 444, 278, 278, 278, 278,
            500, 500, 500, 500, 500, 500, 500, 549, 500, 500, 500, 500, 500, 500, 500, 500},
           {889, 722, 722, 500, 1000, 333, 333, 444, 444, 1000, 500}},
    Widths{{250, 333, 555, 500, 500, 1000, 833, 278, 333, 333, 500, 570, 250, 333, 250, 278, 500, 500,  500,
            500, 500, 500, 500, 500, 500,  500, 333, 333, 570, 570, 570, 500, 930, 722, 667, 722, 722,  667,
            611, 778, 778, 389, 500, 778,  667, 944, 722, 778, 611, 778, 722, 556, 667, 722, 722, 1000, 722,
            722, 667, 333, 278, 333, 581,  500, 333, 500, 556, 444, 556, 444, 333, 500, 556, 278, 333,  556,
            278, 833, 556, 500, 556, 556,  444, 389, 333, 556, 500, 722, 500, 500, 444, 394, 220, 394,  520},
           {250, 333, 500, 500, 500, 500, 220,  500, 333, 747, 300, 500, 570, 333, 747, 500,
            400, 549, 300, 300, 333, 576, 540,  333, 333, 300, 330, 500, 750, 750, 750, 500,
            722, 722, 722, 722, 722, 722, 1000, 722, 667, 667, 667, 667, 389, 389, 389, 389,
            722, 722, 778, 778, 778, 778, 778,  570, 778, 722, 722, 722, 722, 722, 611, 556,
            500, 500, 500, 500, 500, 500, 722,  444, 444, 444, 444, 444, 278, 278, 278, 278,
            500, 556, 500, 500, 500, 500, 500,  549, 500, 556, 556, 556, 556, 500, 556, 500},
           {1000, 722, 722, 500, 1000, 333, 333, 500, 500, 1000, 500}},
}};

constexpr std::uint16_t kUnknown = 1000;
constexpr std::uint16_t kMonospacedAdvance = 600;
// A face of neither family is drawn in whatever the word processor substitutes for it, often wider
// than both: the wider of the two advances, and this much more, in per cent.
constexpr std::int64_t kOtherFaceAllowance = 115;

enum class Family { kSans, kSerif, kMonospaced, kOther };

Family FamilyOf(const std::string& face) {
    std::string name(face);
    std::transform(name.begin(), name.end(), name.begin(), [](unsigned char c) { return std::tolower(c); });
    const auto has = [&name](const char* part) { return name.find(part) != std::string::npos; };
    if (has("courier") || has("mono"))
        return Family::kMonospaced;
    if (has("arial") || has("helvetica") || has("sans") || has("arimo"))
        return Family::kSans;
    if (has("times") || has("serif") || has("tinos"))
        return Family::kSerif;
    return Family::kOther;
}

std::uint16_t Advance(const Widths& widths, char32_t character) {
    if (character >= 0x20 && character <= 0x7E)
        return widths.ascii[character - 0x20];
    if (character >= 0xA0 && character <= 0xFF)
        return widths.latin1[character - 0xA0];
    for (std::size_t i = 0; i < kSigns.size(); ++i)
        if (kSigns[i] == character)
            return widths.signs[i];
    return kUnknown;
}

// In thousandths of an em, times 100 for a face of neither family.
std::int64_t Advance(Family family, bool bold, char32_t character) {
    const std::size_t weight = bold ? 1 : 0;
    switch (family) {
    case Family::kMonospaced:
        return kMonospacedAdvance;
    case Family::kSans:
        return Advance(kSansWidths[weight], character);
    case Family::kSerif:
        return Advance(kSerifWidths[weight], character);
    case Family::kOther:
        break;
    }
    return std::max(Advance(kSansWidths[weight], character), Advance(kSerifWidths[weight], character)) *
           kOtherFaceAllowance;
}

bool IsBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

// A word made only of punctuation that French sets after a blank.
bool IsClosingPunctuation(std::string_view word) {
    static constexpr std::string_view kGuillemet = "\xC2\xBB";
    if (word == kGuillemet)
        return true;
    return !word.empty() && std::all_of(word.begin(), word.end(), [](char c) {
        return std::string_view(":;!?%").find(c) != std::string_view::npos;
    });
}

} // namespace

namespace TextWidth {

std::int32_t Twips(std::string_view text, const CPoliceAna& font) {
    const Family family = FamilyOf(font.GetNom());
    std::int64_t units = 0;
    for (std::size_t position = 0; position < text.size();) {
        const char32_t character = Utf8::Next(text, position);
        units += Advance(family, font.GetGras(), character);
    }
    const double perEm = family == Family::kOther ? 1000.0 * 100.0 : 1000.0;
    const double twips = static_cast<double>(units) * font.GetTaille() * kTwipsPerPoint / perEm;
    return static_cast<std::int32_t>(std::ceil(twips - 1e-9));
}

std::vector<std::string> WholeWords(std::string_view text) {
    std::vector<std::string> words;
    bool blankBefore = false;
    for (std::size_t position = 0; position < text.size();) {
        if (IsBlank(text[position])) {
            blankBefore = true;
            ++position;
            continue;
        }
        std::size_t end = position;
        while (end < text.size() && !IsBlank(text[end]))
            ++end;
        const std::string_view word = text.substr(position, end - position);
        if (!words.empty() && IsClosingPunctuation(word)) {
            if (blankBefore)
                words.back() += ' ';
            words.back() += word;
        } else {
            words.emplace_back(word);
        }
        blankBefore = false;
        position = end;
    }
    return words;
}

std::int32_t WidestWordTwips(std::string_view text, const CPoliceAna& font) {
    std::int32_t widest = 0;
    for (const std::string& word : WholeWords(text))
        widest = std::max(widest, Twips(word, font));
    return widest;
}

} // namespace TextWidth
