#include "tools/statrun/CsvFile.h"

#include <fstream>
#include <sstream>

namespace statrun {
namespace {

std::string Unquote(std::string cell) {
    if (cell.size() >= 2 && cell.front() == '"' && cell.back() == '"')
        cell = cell.substr(1, cell.size() - 2);
    return cell;
}

} // namespace

bool ReadCsv(const std::string& path, Csv& csv, std::ostream& err) {
    std::ifstream in(path);
    if (!in) {
        err << "statistics-run: cannot read " << path << "\n";
        return false;
    }
    std::string line;
    bool header = true;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        if (line.empty())
            continue;
        std::vector<std::string> cells;
        std::string cell;
        std::istringstream fields(line);
        while (std::getline(fields, cell, ','))
            cells.push_back(Unquote(cell));
        if (cells.empty())
            continue;
        if (header) {
            csv.columns.assign(cells.begin() + 1, cells.end());
            header = false;
            continue;
        }
        csv.rows.push_back(cells[0]);
        csv.cells.emplace_back(cells.begin() + 1, cells.end());
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
