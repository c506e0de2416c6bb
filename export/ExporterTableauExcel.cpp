#include "export/ExporterTableauExcel.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <vector>

#include "app/Registre.h"
#include "export/Utf8.h"
#include "export/XlsxSheet.h"
#include "export/XlsxWorkbook.h"
#include "presentation/PresentationTableau.h"
#include "tabulation/Cellule.h"
#include "tabulation/TableauBase.h"

namespace {

using Line = XlsxFormat::Line;

constexpr std::int32_t kLettersInAlphabet = 26;
// Columns that two letters can name the way cells are named here.
constexpr std::int32_t kLastNamedColumn = 676;
constexpr std::int32_t kMostDecimals = 4;

// Width of a column in the sheet's units (the width of a digit in its default font) for a text
// of `characters` characters in a font of `size` points, with a little room around it.
constexpr double kWidthMargin = 1.5;
constexpr double kReferenceSize = 11.0;
constexpr double kBoldFactor = 1.1;
constexpr double kLargestWidth = 255.0;

// How one cell of the table will look: its font (an index in the table's font list, or -1 for
// the "Cellule" font), the grey fill and its four edges.
struct CellLook {
    std::int32_t font = -1;
    bool grey = false;
    std::array<Line, 4> edges{Line::None, Line::None, Line::None, Line::None};
};

std::uint32_t Rgb(std::uint32_t colorref) {
    return ((colorref & 0xFF) << 16) | (colorref & 0xFF00) | ((colorref >> 16) & 0xFF);
}

XlsxFormat Look(const CPoliceAna& font, bool grey) {
    XlsxFormat format;
    format.face = font.GetNom();
    format.size = font.GetTaille() > 0 ? font.GetTaille() : CPoliceAna::kDefaultSize;
    format.bold = font.GetGras();
    format.italic = font.GetItalique();
    format.underline = font.GetSouligne();
    format.rgb = Rgb(font.GetCouleur());
    format.grey = grey;
    return format;
}

// The number a data cell shows, and the format that shows it as its text; false when the cell
// shows no plain number (a mark, a text, a missing value, a number in scientific form).
bool ShownNumber(const CTableauBase& table, std::int32_t row, std::int32_t column, const std::string& text,
                 double& value, std::string& numberFormat) {
    const std::uint16_t marker = table.DonnerMarqueAffichee(row, column);
    const CPresentationTableau& presentation = table.GetPresentation();
    int decimals = 0;
    bool percent = false;
    switch (marker) {
    case CTableauBase::kMarqueEffectif:
        decimals = presentation.GetEffectif();
        break;
    case CTableauBase::kMarquePourcentage:
        decimals = presentation.GetPourcentage();
        percent = presentation.GetEstPourcent();
        break;
    case CTableauBase::kMarqueReel:
        decimals = presentation.GetReel();
        break;
    default:
        return false;
    }
    std::string_view number = text;
    if (percent) {
        if (!number.ends_with('%'))
            return false;
        number.remove_suffix(1);
    }
    if (number.empty())
        return false;
    const auto result = std::from_chars(number.data(), number.data() + number.size(), value, std::chars_format::fixed);
    if (result.ec != std::errc() || result.ptr != number.data() + number.size())
        return false;
    decimals = std::clamp(decimals, 0, kMostDecimals);
    numberFormat.assign(1, '0');
    if (decimals > 0) {
        numberFormat += '.';
        numberFormat.append(static_cast<std::size_t>(decimals), '0');
    }
    if (percent)
        numberFormat += "\"%\"";
    return true;
}

// The characters of the longest line of a text.
std::size_t LongestLine(std::string_view text) {
    std::size_t longest = 0;
    std::size_t start = 0;
    while (start <= text.size()) {
        std::size_t end = text.find_first_of("\r\n", start);
        if (end == std::string_view::npos)
            end = text.size();
        longest = std::max(longest, Utf8::Length(text.substr(start, end - start)));
        start = end + 1;
    }
    return longest;
}

double ColumnWidth(std::size_t characters, const CPoliceAna& font) {
    const double size = font.GetTaille() > 0 ? font.GetTaille() : CPoliceAna::kDefaultSize;
    const double width =
        kWidthMargin + static_cast<double>(characters) * size / kReferenceSize * (font.GetGras() ? kBoldFactor : 1.0);
    return std::min(width, kLargestWidth);
}

} // namespace

std::string NomCelluleExcel(std::int32_t row, std::int32_t column) {
    std::string name;
    if (column >= 0 && column < kLettersInAlphabet) {
        name += static_cast<char>('A' + column);
    } else if (column >= kLettersInAlphabet && column <= kLastNamedColumn) {
        name += static_cast<char>('A' + column / kLettersInAlphabet - 1);
        name += static_cast<char>('A' + column % kLettersInAlphabet);
    }
    return name + std::to_string(static_cast<std::int64_t>(row) + 1);
}

void AppliquerBordureExcel(Line& edge, std::int32_t kind, const CPresentationTableau& presentation) {
    std::uint16_t size = 0;
    std::uint16_t type = 0;
    switch (kind) {
    case CTableauBase::kTraitAucun:
        edge = Line::None;
        return;
    case CTableauBase::kTraitFin:
        size = presentation.GetThinBorderSize();
        type = presentation.GetThinBorderType();
        break;
    case CTableauBase::kTraitNormal:
        size = presentation.GetNormalBorderSize();
        type = presentation.GetNormalBorderType();
        break;
    case CTableauBase::kTraitEpais:
        size = presentation.GetThickBorderSize();
        type = presentation.GetThickBorderType();
        break;
    default:
        return;
    }
    if (size == 0 || type == 0)
        return;
    switch (type) {
    case CPresentationTableau::kDashedLine:
        edge = size >= 2 && size <= 4 ? Line::MediumDashed : Line::Dashed;
        return;
    case CPresentationTableau::kDottedLine:
        edge = Line::Dotted;
        return;
    default:
        edge = size == 2 ? Line::Medium : (size == 3 || size == 4) ? Line::Thick : Line::Thin;
        return;
    }
}

bool ExporterTableauExcel(XlsxSheet& sheet, const CTableauBase& table, std::int32_t& row) {
    const std::int32_t headerRows = table.DonnerNbLignesEnTete();
    const std::int32_t headerColumns = table.DonnerNbColonnesEnTete();
    const std::int32_t rows = headerRows + table.DonnerNbLignes();
    const std::int32_t columns = headerColumns + table.DonnerNbColonnes();
    if (row < 0 || static_cast<std::int64_t>(row) + rows > XlsxWorkbook::kMaxRows || columns > XlsxWorkbook::kMaxColumns)
        return false;

    std::vector<CPoliceAna> fonts;
    std::vector<CCellule> cells;
    table.DonnerTablePolices(fonts, cells);
    const CPresentationTableau& presentation = table.GetPresentation();
    const CPoliceAna& cellFont = presentation.GetCellule();

    // The whole table: the "Cellule" font and the normal line on every edge.
    CellLook base;
    base.grey = cellFont.GetOmbre();
    for (Line& edge : base.edges)
        AppliquerBordureExcel(edge, CTableauBase::kTraitNormal, presentation);
    std::vector<CellLook> looks(static_cast<std::size_t>(rows) * static_cast<std::size_t>(columns), base);
    const auto look = [&](std::int32_t r, std::int32_t c) -> CellLook& {
        return looks[static_cast<std::size_t>(r) * static_cast<std::size_t>(columns) + static_cast<std::size_t>(c)];
    };

    if (!CRegistre::GetIsFastExport()) {
        for (std::size_t i = 0; i < cells.size(); ++i) {
            const CCellule& cell = cells[i];
            const bool firstOfRow = i == 0 || cells[i - 1].row != cell.row;
            const std::int32_t r = cell.row;
            const std::int32_t first = cell.column;
            const std::int32_t last = std::min(first + std::max(cell.span, 1) - 1, columns - 1);
            const CPoliceAna& font = fonts[static_cast<std::size_t>(cell.fontIndex)];
            if (!(font == cellFont)) {
                for (std::int32_t c = first; c <= last; ++c) {
                    look(r, c).font = cell.fontIndex;
                    look(r, c).grey = look(r, c).grey || font.GetOmbre();
                }
            }
            // A run merged across columns reads as one cell.
            for (std::int32_t c = first; c < last; ++c) {
                look(r, c).edges[XlsxFormat::kRight] = Line::None;
                look(r, c + 1).edges[XlsxFormat::kLeft] = Line::None;
            }
            // An edge is shared with the neighbouring cell: both sides take the line.
            if (cell.bottom != CTableauBase::kTraitNormal) {
                for (std::int32_t c = first; c <= last; ++c) {
                    Line& edge = look(r, c).edges[XlsxFormat::kBottom];
                    AppliquerBordureExcel(edge, cell.bottom, presentation);
                    if (r + 1 < rows)
                        look(r + 1, c).edges[XlsxFormat::kTop] = edge;
                }
            }
            if (cell.right != CTableauBase::kTraitNormal) {
                Line& edge = look(r, last).edges[XlsxFormat::kRight];
                AppliquerBordureExcel(edge, cell.right, presentation);
                if (last + 1 < columns)
                    look(r, last + 1).edges[XlsxFormat::kLeft] = edge;
            }
            if (cell.top != CTableauBase::kTraitNormal && r == 0) {
                for (std::int32_t c = first; c <= last; ++c)
                    AppliquerBordureExcel(look(r, c).edges[XlsxFormat::kTop], cell.top, presentation);
            }
            if (cell.left != CTableauBase::kTraitNormal && firstOfRow)
                AppliquerBordureExcel(look(r, first).edges[XlsxFormat::kLeft], cell.left, presentation);
        }
    }

    const auto format = [&](std::int32_t r, std::int32_t c) {
        const CellLook& cellLook = look(r, c);
        XlsxFormat shown =
            Look(cellLook.font < 0 ? cellFont : fonts[static_cast<std::size_t>(cellLook.font)], cellLook.grey);
        shown.edges = cellLook.edges;
        return shown;
    };

    std::vector<std::uint8_t> written(looks.size(), 0);
    std::string numberFormat;
    for (const CCellule& cell : cells) {
        if (!cell.firstOfBlock)
            continue;
        const std::int32_t r = cell.row;
        const std::int32_t c = cell.column;
        const std::string text = table.DonnerTexteCellule(r, c);
        XlsxFormat shown = format(r, c);
        double value = 0.0;
        if (r >= headerRows && c >= headerColumns &&
            ShownNumber(table, r - headerRows, c - headerColumns, text, value, numberFormat)) {
            shown.numberFormat = numberFormat;
            sheet.WriteNumber(row + r, c, value, shown);
        } else {
            shown.wrap = text.find_first_of("\r\n") != std::string::npos;
            sheet.WriteText(row + r, c, text, shown);
        }
        written[static_cast<std::size_t>(r) * static_cast<std::size_t>(columns) + static_cast<std::size_t>(c)] = 1;
        if (cell.span <= 1 && !text.empty())
            sheet.Widen(c, ColumnWidth(LongestLine(text), cell.fontIndex >= 0
                                                              ? fonts[static_cast<std::size_t>(cell.fontIndex)]
                                                              : cellFont));
    }
    for (std::int32_t r = 0; r < rows; ++r)
        for (std::int32_t c = 0; c < columns; ++c)
            if (!written[static_cast<std::size_t>(r) * static_cast<std::size_t>(columns) + static_cast<std::size_t>(c)])
                sheet.WriteBlank(row + r, c, format(r, c));
    row += rows;
    return true;
}
