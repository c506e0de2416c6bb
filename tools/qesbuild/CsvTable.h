#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace qesbuild {

// Comma-separated records as fixtures give them: a header row of field names, then one row per
// record. A cell left empty is absent (Null); a quoted cell ("" included) is a text as written.
// Quoted cells may hold commas, doubled quotes and line breaks.
class CsvTable {
public:
    using Cell = std::optional<std::string>;

    struct Row {
        int line = 0; // line of the source where the row starts
        std::vector<Cell> cells;
    };

    // Reads the text. `file` and `firstLine` (the line of the source on which the text starts)
    // only serve the error messages. Throws FixtureError on a malformed text: no header, an
    // unterminated quote, a row whose cell count differs from the header's, an empty or
    // repeated field name.
    static CsvTable Parse(std::string_view text, const std::string& file, int firstLine = 1);

    const std::string& file() const { return file_; }
    int headerLine() const { return headerLine_; }
    const std::vector<std::string>& header() const { return header_; }
    const std::vector<Row>& rows() const { return rows_; }

private:
    std::string file_;
    int headerLine_ = 0;
    std::vector<std::string> header_;
    std::vector<Row> rows_;
};

} // namespace qesbuild
