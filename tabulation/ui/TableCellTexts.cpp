#include "tabulation/ui/TableCellTexts.h"

#include "tabulation/TableauBase.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>

namespace {

constexpr const char* kNothingShown = " ";
constexpr const char* kPercentSuffix = " %";
constexpr int kMostDecimals = 4;
constexpr int kStrongestSignificance = 3;
constexpr std::array<const char*, 2 * kStrongestSignificance + 1> kSignificanceSymbols{"---", "--", "-",  " ",
                                                                                       "+",   "++", "+++"};

// The value with that many decimals, as printf's "%.Nlf" writes it in the "C" locale; decimals
// are brought into 0..4.
std::string Fixed(double value, int decimals) {
    decimals = std::clamp(decimals, 0, kMostDecimals);
    std::array<char, 330> buffer{};
    const auto result = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value,
                                      std::chars_format::fixed, decimals);
    if (result.ec != std::errc())
        return kNothingShown;
    return std::string(buffer.data(), result.ptr);
}

std::string Significance(double value) {
    const double level = std::trunc(value);
    if (!(level >= -kStrongestSignificance && level <= kStrongestSignificance))
        return kNothingShown;
    return kSignificanceSymbols[static_cast<std::size_t>(static_cast<int>(level) + kStrongestSignificance)];
}

std::string TextOfIndex(const CTableauBase& table, double value) {
    if (!(value >= 0 && value < table.TextCount()))
        return kNothingShown;
    return table.GetTexte(static_cast<std::int32_t>(value));
}

} // namespace

namespace TableCellTexts {

std::string CellText(const CTableauBase& table, std::int32_t row, std::int32_t column) {
    const std::int32_t headerRows = table.DonnerNbLignesEnTete();
    const std::int32_t headerColumns = table.DonnerNbColonnesEnTete();
    if (row < headerRows || column < headerColumns)
        return table.DonnerTexteCellule(row, column);
    return DataText(table, row - headerRows, column - headerColumns);
}

std::string DataText(const CTableauBase& table, std::int32_t row, std::int32_t column) {
    const double value = table.DonnerValeurAffichee(row, column);
    if (value == CTableauBase::kValeurManquante)
        return kNothingShown;
    const CPresentationTableau& presentation = table.GetPresentation();
    switch (table.DonnerMarqueAffichee(row, column)) {
    case CTableauBase::kMarqueEffectif:
        return Fixed(value, presentation.GetEffectif());
    case CTableauBase::kMarquePourcentage:
        return Fixed(value, presentation.GetPourcentage()) +
               (presentation.GetEstPourcent() ? kPercentSuffix : "");
    case CTableauBase::kMarqueReel:
        return Fixed(value, presentation.GetReel());
    case CTableauBase::kMarqueSignificativite:
        return Significance(value);
    case CTableauBase::kMarqueTexte:
        return TextOfIndex(table, value);
    default:
        return kNothingShown;
    }
}

} // namespace TableCellTexts
