#include "tabulation/CellFormatter.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>

#include "tabulation/TableauBase.h"

namespace {

// Digits after the decimal point that the cell formats cover.
constexpr int kMostDecimals = 4;

// Texts of the significance marker, from -3 to 3.
constexpr int kStrongestSignificance = 3;
constexpr std::array<const char*, 2 * kStrongestSignificance + 1> kSignificanceSymbols{"---", "--", "-",  " ",
                                                                                       "+",   "++", "+++"};
constexpr const char* kNoSignificance = " ";

// Empty when the number cannot be written (never for a finite double in 330 characters).
std::string Fixed(double value, int decimals) {
    decimals = std::clamp(decimals, 0, kMostDecimals);
    // The largest double written in fixed notation takes 309 digits, plus sign, point and decimals.
    std::array<char, 330> buffer{};
    const auto result =
        std::to_chars(buffer.data(), buffer.data() + buffer.size(), value, std::chars_format::fixed, decimals);
    if (result.ec != std::errc())
        return std::string();
    std::string text(buffer.data(), result.ptr);
    // A small negative value (and a negative zero) rounds to nothing but its sign; "-0.0" would
    // read as a direction the value does not have at the decimals shown.
    if (text.front() == '-' && text.find_first_not_of("-0.") == std::string::npos)
        text.erase(0, 1);
    return text;
}

// From here on a double no longer holds every digit that "%.Nf" would print (15 significant
// digits at most): such a number is written "%.Ne", the same decimals before the exponent, so that
// a value of 1e308 takes ten characters rather than three hundred.
constexpr double kLargestFixed = 1e15;

std::string Number(double value, int decimals) {
    if (!(std::abs(value) >= kLargestFixed))
        return Fixed(value, decimals);
    std::array<char, 32> buffer{};
    const auto result = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value,
                                      std::chars_format::scientific, std::clamp(decimals, 0, kMostDecimals));
    if (result.ec != std::errc())
        return std::string();
    return std::string(buffer.data(), result.ptr);
}

std::string Significance(double value) {
    const double level = std::trunc(value);
    if (!(level >= -kStrongestSignificance && level <= kStrongestSignificance))
        return kNoSignificance;
    return kSignificanceSymbols[static_cast<std::size_t>(static_cast<int>(level) + kStrongestSignificance)];
}

} // namespace

std::string CellFormatter::NumberText(double value, int decimals) { return Number(value, decimals); }

std::string CellFormatter::DataText(const CTableauBase& table, std::int32_t row, std::int32_t column,
                                    const Style& style) {
    const double value = table.DonnerValeurAffichee(row, column);
    if (value == CTableauBase::kValeurManquante)
        return style.nothingShown;
    const CPresentationTableau& presentation = table.GetPresentation();
    std::string text;
    switch (table.DonnerMarqueAffichee(row, column)) {
    case CTableauBase::kMarqueEffectif:
        text = Number(value, presentation.GetEffectif());
        break;
    case CTableauBase::kMarquePourcentage:
        text = Number(value, presentation.GetPourcentage());
        if (!text.empty() && presentation.GetEstPourcent())
            text += style.percentSuffix;
        break;
    case CTableauBase::kMarqueReel:
        text = Number(value, presentation.GetReel());
        break;
    case CTableauBase::kMarqueSignificativite:
        return Significance(value);
    case CTableauBase::kMarqueTexte:
        if (value >= 0 && value < table.TextCount())
            return table.GetTexte(static_cast<std::int32_t>(value));
        break;
    default:
        break;
    }
    return text.empty() ? style.nothingShown : text;
}
