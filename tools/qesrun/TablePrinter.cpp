#include "tools/qesrun/TablePrinter.h"

#include "tabulation/Tableau.h"

#include <cstdint>

namespace qesrun {

std::string TablePrinter::Escape(std::string_view text) {
    std::string escaped;
    escaped.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '\\') {
            escaped += "\\\\";
        } else if (c == '\t') {
            escaped += "\\t";
        } else if (c == '\n') {
            escaped += "\\n";
        } else if (c == '\r') {
            // "\r\n" is one line break.
            if (i + 1 < text.size() && text[i + 1] == '\n')
                ++i;
            escaped += "\\n";
        } else {
            escaped += c;
        }
    }
    return escaped;
}

void TablePrinter::Print(const CTableauBase& table, std::ostream& out) {
    out << Escape(table.title) << '\n';
    std::vector<std::string> titleLines;
    table.DonnerLignesTitre(titleLines);
    for (const std::string& line : titleLines)
        out << Escape(line) << '\n';
    const std::int32_t rows = table.DonnerNbLignesEnTete() + table.DonnerNbLignes();
    const std::int32_t columns = table.DonnerNbColonnesEnTete() + table.DonnerNbColonnes();
    for (std::int32_t row = 0; row < rows; ++row) {
        for (std::int32_t column = 0; column < columns; ++column) {
            if (column > 0)
                out << '\t';
            out << Escape(table.DonnerTexteCellule(row, column));
        }
        out << '\n';
    }
}

void TablePrinter::PrintAll(const std::vector<std::unique_ptr<CTableau>>& tables, std::ostream& out) {
    bool first = true;
    for (const auto& table : tables) {
        if (!table)
            continue;
        if (!first)
            out << '\n';
        Print(*table, out);
        first = false;
    }
}

} // namespace qesrun
