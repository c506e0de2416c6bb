#pragma once

#include <cstdint>
#include <string>

class CTableauBase;

// The texts the table window shows in its cells. Headers and the corner read as the table gives
// them; values take the window's style of CellFormatter: a blank before the per-cent sign, and a
// single blank where a cell has nothing to show, so that a text export of the window keeps every
// field.
namespace TableCellTexts {

// The text of a displayed cell (headers counted).
std::string CellText(const CTableauBase& table, std::int32_t row, std::int32_t column);

// The text of a displayed data cell (headers not counted). A marker outside the known ones and a
// text marker whose value is no text index show a single blank, as a missing value does.
std::string DataText(const CTableauBase& table, std::int32_t row, std::int32_t column);

} // namespace TableCellTexts
