#include "tools/statrun/CsvFile.h"

#include "tools/statrun/CsvTable.h"

#include <sstream>

namespace statrun {

// The file is read by the one CSV reader of the tool, which refuses what is not a table.
bool ReadCsv(const std::string& path, Csv& csv, std::ostream& err) {
    std::string error;
    const std::optional<CsvTable> table = CsvTable::Read(path, error);
    if (!table) {
        err << "statistics-run: " << error << "\n";
        return false;
    }
    csv.columns = table->Columns();
    for (std::size_t row = 0; row < table->RowCount(); ++row) {
        csv.rows.push_back(table->RowName(row));
        csv.cells.push_back(table->Fields(row));
    }
    return true;
}

// A 1-based range "A-B" or a single "A", as 0-based indexes.
std::optional<std::vector<int>> Range(const std::string& text) {
    int first = 0;
    int last = 0;
    char dash = 0;
    std::istringstream in(text);
    if (!(in >> first))
        return std::nullopt;
    last = first;
    if (in >> dash && (dash != '-' || !(in >> last)))
        return std::nullopt;
    if (first < 1 || last < first)
        return std::nullopt;
    std::vector<int> indexes;
    for (int i = first; i <= last; ++i)
        indexes.push_back(i - 1);
    return indexes;
}

std::vector<std::string> Names(const std::string& text) {
    std::vector<std::string> names;
    std::string name;
    std::istringstream in(text);
    while (std::getline(in, name, ','))
        if (!name.empty())
            names.push_back(name);
    return names;
}

} // namespace statrun
