#include "export/XlsxSheet.h"

#include <algorithm>
#include <cctype>
#include <xlsxwriter.h>

#include "export/Utf8.h"
#include "export/XlsxWorkbook.h"

namespace {

bool IsHex(char c) { return std::isxdigit(static_cast<unsigned char>(c)) != 0; }

// Whether "_xHHHH_" starts at `i`: the workbook's readers take it for an escaped character.
bool StartsEscape(std::string_view text, std::size_t i) {
    return i + 7 <= text.size() && text[i] == '_' && text[i + 1] == 'x' && IsHex(text[i + 2]) && IsHex(text[i + 3]) &&
           IsHex(text[i + 4]) && IsHex(text[i + 5]) && text[i + 6] == '_';
}

// The text as the workbook keeps it: valid UTF-8, line breaks as LF, no other control character
// but the tab, a literal "_xHHHH_" protected so that it reads back as written, and within the
// cell's limit.
std::string CellText(std::string_view text) {
    const std::string valid = Utf8::Valid(Utf8::FirstCharacters(text, XlsxWorkbook::kMaxTextLength));
    std::string out;
    out.reserve(valid.size());
    for (std::size_t i = 0; i < valid.size(); ++i) {
        const char c = valid[i];
        if (c == '\r') {
            if (i + 1 < valid.size() && valid[i + 1] == '\n')
                ++i;
            out += '\n';
        } else if (c == '_' && StartsEscape(valid, i)) {
            out += "_x005F_";
        } else if (static_cast<unsigned char>(c) >= 0x20 || c == '\t' || c == '\n') {
            out += c;
        }
    }
    return out;
}

} // namespace

XlsxSheet::XlsxSheet(XlsxWorkbook& workbook, lxw_worksheet* sheet) : m_workbook(workbook), m_sheet(sheet) {}

void XlsxSheet::WriteText(std::int32_t row, std::int32_t column, std::string_view text, const XlsxFormat& format) {
    const std::string kept = CellText(text);
    const lxw_error error =
        kept.empty() ? worksheet_write_blank(m_sheet, static_cast<lxw_row_t>(row), static_cast<lxw_col_t>(column),
                                             m_workbook.Format(format))
                     : worksheet_write_string(m_sheet, static_cast<lxw_row_t>(row), static_cast<lxw_col_t>(column),
                                              kept.c_str(), m_workbook.Format(format));
    if (error != LXW_NO_ERROR)
        m_workbook.NoteFailure(error);
}

void XlsxSheet::WriteNumber(std::int32_t row, std::int32_t column, double value, const XlsxFormat& format) {
    const lxw_error error = worksheet_write_number(m_sheet, static_cast<lxw_row_t>(row), static_cast<lxw_col_t>(column),
                                                   value, m_workbook.Format(format));
    if (error != LXW_NO_ERROR)
        m_workbook.NoteFailure(error);
}

void XlsxSheet::WriteBlank(std::int32_t row, std::int32_t column, const XlsxFormat& format) {
    const lxw_error error = worksheet_write_blank(m_sheet, static_cast<lxw_row_t>(row), static_cast<lxw_col_t>(column),
                                                  m_workbook.Format(format));
    if (error != LXW_NO_ERROR)
        m_workbook.NoteFailure(error);
}

void XlsxSheet::Widen(std::int32_t column, double width) {
    double& kept = m_widths[column];
    kept = std::max(kept, width);
}

void XlsxSheet::ApplyWidths() {
    for (const auto& [column, width] : m_widths) {
        const lxw_error error = worksheet_set_column(m_sheet, static_cast<lxw_col_t>(column),
                                                     static_cast<lxw_col_t>(column), width, nullptr);
        if (error != LXW_NO_ERROR)
            m_workbook.NoteFailure(error);
    }
    m_widths.clear();
}
