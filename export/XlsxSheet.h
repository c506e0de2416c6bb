#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <string_view>

#include "export/XlsxFormat.h"

struct lxw_worksheet;
class XlsxWorkbook;

// One sheet of a workbook being written: texts (always as text, never as a formula), numbers and
// blank formatted cells by row and column index (from 0), and column widths. Cells outside the
// sheet's limits are refused and make the workbook's Close fail.
class XlsxSheet {
public:
    XlsxSheet(XlsxWorkbook& workbook, lxw_worksheet* sheet);

    // A text as it stands: "=1+1" stays the text "=1+1". Invalid UTF-8 is mended, CR LF becomes a
    // line break, texts beyond the cell's limit are cut. An empty text gives a blank formatted cell.
    void WriteText(std::int32_t row, std::int32_t column, std::string_view text, const XlsxFormat& format);
    void WriteNumber(std::int32_t row, std::int32_t column, double value, const XlsxFormat& format);
    void WriteBlank(std::int32_t row, std::int32_t column, const XlsxFormat& format);

    // Makes a column at least this wide (in the sheet's units, the width of a digit); widths are
    // set when the workbook closes.
    void Widen(std::int32_t column, double width);
    void ApplyWidths();

private:
    XlsxWorkbook& m_workbook;
    lxw_worksheet* m_sheet;
    std::map<std::int32_t, double> m_widths;
};
