#include "tabulation/TableauFactoriel.h"

CTableauFactoriel::CTableauFactoriel() { deleteWithWindow = 0; }

CTableauFactoriel::CTableauFactoriel(std::int32_t columnHeaderLevels, std::int32_t rowHeaderLevels,
                                     std::int32_t rows, std::int32_t columns, std::int32_t markerMode) {
    Dimensionner(columnHeaderLevels, rowHeaderLevels, rows, columns, markerMode);
    deleteWithWindow = 0;
}

// The source is only asked for positions of the table.
const CLigne* CTableauFactoriel::GetLigneEnTete(std::int32_t level, std::int32_t index) const {
    if (!m_source || level < 0 || level >= RowHeaderLevels() || index < 0 || index >= RowCount())
        return nullptr;
    return m_source->Label(rowSelector, level, index);
}

const CLigne* CTableauFactoriel::GetColonneEnTete(std::int32_t level, std::int32_t index) const {
    if (!m_source || level < 0 || level >= ColumnHeaderLevels() || index < 0 || index >= ColumnCount())
        return nullptr;
    return m_source->Label(columnSelector, level, index);
}
