#pragma once

#include <memory>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

class CTableau;
class CTableauBase;

namespace qesrun {

// Writes result tables as tab-separated text, as the table window shows them: the title on a
// line of its own, then the lines of the title block (base, study field, weighting, level as the
// presentation asks), then the displayed grid row by row, header rows and header columns
// included, each cell as the table shows it (labels, numbers with their decimals, "%", the
// significance symbols). Tables are separated by one empty line.
//
// A text that holds a tab, a line break or a backslash is written with "\t", "\n" and "\\" so
// that every table line stays one line of cells (the corner cell holds the title block with its
// line breaks).
class TablePrinter {
public:
    static void Print(const CTableauBase& table, std::ostream& out);
    static void PrintAll(const std::vector<std::unique_ptr<CTableau>>& tables, std::ostream& out);

    static std::string Escape(std::string_view text);
};

} // namespace qesrun
