#include "gui/tabulation/TableCellTexts.h"

#include "tabulation/CellFormatter.h"
#include "tabulation/TableauBase.h"

namespace TableCellTexts {

std::string CellText(const CTableauBase& table, std::int32_t row, std::int32_t column) {
    const std::int32_t headerRows = table.DonnerNbLignesEnTete();
    const std::int32_t headerColumns = table.DonnerNbColonnesEnTete();
    if (row < headerRows || column < headerColumns)
        return table.DonnerTexteCellule(row, column);
    return DataText(table, row - headerRows, column - headerColumns);
}

std::string DataText(const CTableauBase& table, std::int32_t row, std::int32_t column) {
    return CellFormatter::DataText(table, row, column, CellFormatter::kWindow);
}

} // namespace TableCellTexts
