#include "export/XlsxWorkbook.h"

#include <cerrno>
#include <system_error>
#include <xlsxwriter.h>

#include "app/StringTable.h"
#include "export/XlsxPackageCheck.h"
#include "export/XlsxSheet.h"

namespace {

std::uint8_t Border(XlsxFormat::Line line) {
    switch (line) {
    case XlsxFormat::Line::Thin:
        return LXW_BORDER_THIN;
    case XlsxFormat::Line::Medium:
        return LXW_BORDER_MEDIUM;
    case XlsxFormat::Line::Thick:
        return LXW_BORDER_THICK;
    case XlsxFormat::Line::Dashed:
        return LXW_BORDER_DASHED;
    case XlsxFormat::Line::MediumDashed:
        return LXW_BORDER_MEDIUM_DASHED;
    case XlsxFormat::Line::Dotted:
        return LXW_BORDER_DOTTED;
    case XlsxFormat::Line::None:
        break;
    }
    return LXW_BORDER_NONE;
}

} // namespace

XlsxWorkbook::XlsxWorkbook(const std::string& path) : m_path(path) {
    lxw_workbook_options options{};
    m_workbook = workbook_new_opt(path.c_str(), &options);
}

XlsxWorkbook::~XlsxWorkbook() {
    if (m_workbook)
        lxw_workbook_free(m_workbook);
}

XlsxSheet* XlsxWorkbook::AddSheet(const std::string& name) {
    if (!m_workbook || workbook_validate_sheet_name(m_workbook, name.c_str()) != LXW_NO_ERROR)
        return nullptr;
    lxw_worksheet* sheet = workbook_add_worksheet(m_workbook, name.c_str());
    if (!sheet)
        return nullptr;
    m_sheets.push_back(std::make_unique<XlsxSheet>(*this, sheet));
    return m_sheets.back().get();
}

lxw_format* XlsxWorkbook::Format(const XlsxFormat& look) {
    const auto known = m_formats.find(look);
    if (known != m_formats.end())
        return known->second;
    lxw_format* format = workbook_add_format(m_workbook);
    if (!format)
        return nullptr;
    format_set_font_name(format, look.face.c_str());
    format_set_font_size(format, look.size);
    if (look.bold)
        format_set_bold(format);
    if (look.italic)
        format_set_italic(format);
    if (look.underline)
        format_set_underline(format, LXW_UNDERLINE_SINGLE);
    if (look.rgb != 0)
        format_set_font_color(format, static_cast<lxw_color_t>(look.rgb));
    if (look.grey) {
        format_set_pattern(format, LXW_PATTERN_SOLID);
        format_set_bg_color(format, 0xC0C0C0);
    }
    format_set_top(format, Border(look.edges[XlsxFormat::kTop]));
    format_set_bottom(format, Border(look.edges[XlsxFormat::kBottom]));
    format_set_left(format, Border(look.edges[XlsxFormat::kLeft]));
    format_set_right(format, Border(look.edges[XlsxFormat::kRight]));
    if (!look.numberFormat.empty())
        format_set_num_format(format, look.numberFormat.c_str());
    if (look.wrap)
        format_set_text_wrap(format);
    m_formats.emplace(look, format);
    return format;
}

void XlsxWorkbook::NoteFailure(int libraryError) {
    if (m_failure == 0)
        m_failure = libraryError;
}

bool XlsxWorkbook::Close(std::string& reason) {
    if (!m_workbook) {
        reason = std::generic_category().message(errno != 0 ? errno : ENOMEM);
        return false;
    }
    for (const auto& sheet : m_sheets)
        sheet->ApplyWidths();
    if (m_failure != 0) {
        reason = lxw_strerror(static_cast<lxw_error>(m_failure));
        return false;
    }
    errno = 0;
    const lxw_error error = workbook_close(m_workbook);
    const int system = errno;
    m_workbook = nullptr; // closing frees it, whatever the result
    if (error != LXW_NO_ERROR) {
        reason = system != 0 ? std::generic_category().message(system) : std::string(lxw_strerror(error));
        return false;
    }
    std::string part;
    if (!XlsxPackageCheck::Complete(m_path, part)) {
        reason = StringTable::Format(Message(StringTable::kPartieClasseurIncomplete, {part}));
        return false;
    }
    return true;
}
