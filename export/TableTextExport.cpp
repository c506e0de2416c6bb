#include "export/TableTextExport.h"

#include <algorithm>
#include <vector>

#include "app/Registre.h"
#include "tabulation/CellFormatter.h"
#include "tabulation/Cellule.h"
#include "tabulation/TableauBase.h"

namespace {

constexpr const char* kLineEnd = "\r\n";

} // namespace

void TableTextExport::AppendLines(std::string& out, const std::string& text) {
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r') {
            if (i + 1 < text.size() && text[i + 1] == '\n')
                ++i;
            out += kLineEnd;
        } else if (text[i] == '\n') {
            out += kLineEnd;
        } else {
            out += text[i];
        }
    }
}

namespace {

// A text on one line: each line break (CR LF, CR or LF) and each tab becomes one blank.
void AppendField(std::string& out, const std::string& text) {
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n')
            continue;
        out += (c == '\r' || c == '\n' || c == '\t') ? ' ' : c;
    }
}

} // namespace

std::string TableTextExport::FieldText(const CTableauBase& table, std::int32_t row, std::int32_t column) {
    const std::int32_t headerRows = table.DonnerNbLignesEnTete();
    const std::int32_t headerColumns = table.DonnerNbColonnesEnTete();
    if (row < headerRows || column < headerColumns)
        return table.DonnerTexteCellule(row, column);
    return CellFormatter::DataText(table, row - headerRows, column - headerColumns, CellFormatter::kWindow);
}

void TableTextExport::Append(const CTableauBase& table, std::string& out) {
    AppendLines(out, table.title);
    out += kLineEnd;
    if (table.GetPresentation().GetEstTitreAuDessus())
        AppendLines(out, table.DonnerTexteBase());
    out += kLineEnd;
    AppendCells(table, out);
}

void TableTextExport::AppendCells(const CTableauBase& table, std::string& out) {
    const std::string before = CRegistre::GetMarqueurAvant();
    const std::string after = CRegistre::GetMarqueurApres();
    const bool afterOnLine = CRegistre::GetMarqueurSurLigne();

    AppendLines(out, before);

    std::vector<CPoliceAna> fonts;
    std::vector<CCellule> cells;
    table.DonnerTablePolices(fonts, cells);
    for (std::size_t first = 0; first < cells.size();) {
        const auto count =
            static_cast<std::size_t>(CTableauBase::CompterSuiteIdentique(cells, static_cast<std::int32_t>(first)));
        const std::size_t end = first + count;
        for (std::size_t i = first; i < end; ++i) {
            const CCellule& cell = cells[i];
            if (cell.firstOfBlock)
                AppendField(out, FieldText(table, cell.row, cell.column));
            const std::int32_t tabs = i + 1 == end ? cell.span - 1 : cell.span;
            out.append(static_cast<std::size_t>(std::max(tabs, 0)), '\t');
        }
        if (end == cells.size() && afterOnLine)
            AppendLines(out, after);
        out += kLineEnd;
        first = end;
    }
    if (!afterOnLine)
        AppendLines(out, after);
    for (int i = 0; i < CRegistre::GetNombreLigneApresTableau(); ++i)
        out += kLineEnd;
}
