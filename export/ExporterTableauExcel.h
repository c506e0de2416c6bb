#pragma once

#include <cstdint>
#include <string>

#include "export/XlsxFormat.h"

class CPresentationTableau;
class CTableauBase;
class XlsxSheet;

// The spreadsheet export of one result table.

// The name of a cell from 0-based row and column: the column's letters then row + 1 ("A1",
// "Z10", "AA1", "ZA1"). Columns from 677 on have no letters: the name is only the row number.
std::string NomCelluleExcel(std::int32_t row, std::int32_t column);

// Writes the table into the sheet from `row` on and moves `row` past it. Texts at their cells
// (always as text); a data cell showing a number is written as that number, with a format that
// shows the same text (its decimals, "%" after a percentage). Every cell takes the "Cellule"
// font, the grey fill when that font is shaded, and the normal line on each edge. Unless the
// "Excel" setting "IsFastExport" is set, each cell record then gets its own font when it
// differs, loses the inside lines of a run merged across columns, and gets its bottom and right
// lines, the top line on the table's first row and the left line on a row's first record, from
// the kinds that differ from the normal one. Columns are made as wide as their longest text.
//
// False, and nothing written, when the table would pass the sheet's last row or column.
bool ExporterTableauExcel(XlsxSheet& sheet, const CTableauBase& table, std::int32_t& row);

// A line of the presentation set on a cell edge: kind 0 removes it; kinds 1 to 3 (thin, normal,
// thick), when their size and type are both non-zero, set it from the size (1 thin, 2 medium,
// 3 and 4 thick; a size out of that range is taken as thin) and the type (2 dashed, 3 dotted,
// any other solid); a dashed line is at most medium, a dotted one always fine, as the workbook
// has no others. Any other kind leaves the edge as it was.
void AppliquerBordureExcel(XlsxFormat::Line& edge, std::int32_t kind, const CPresentationTableau& presentation);
