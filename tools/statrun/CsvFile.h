#pragma once

#include <optional>
#include <ostream>
#include <string>
#include <vector>

namespace statrun {

// A CSV table as statistics-run reads it: the first line names the columns, the first column
// names the rows; cells are split at commas and lose their surrounding double quotes.
struct Csv {
    std::vector<std::string> columns;
    std::vector<std::string> rows;
    std::vector<std::vector<std::string>> cells;
};

// False, with the reason on err, when the file cannot be read.
bool ReadCsv(const std::string& path, Csv& csv, std::ostream& err);

// The arguments that name columns, rows or questions: a 1-based range "A-B" or a single "A", as
// 0-based indexes (nothing when it does not read as one); names separated by commas.
std::optional<std::vector<int>> Range(const std::string& text);
std::vector<std::string> Names(const std::string& text);

} // namespace statrun
