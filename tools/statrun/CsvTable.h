#pragma once

#include <cstddef>
#include <istream>
#include <optional>
#include <string>
#include <vector>

namespace statrun {

// A table read from a CSV file, as the analyses of statistics-run take it: the first line names
// the columns, the first field of every other line names its row, and every line has as many
// fields as the first. Fields are separated by commas; a field may be quoted ("a,b", with ""
// for a quote inside). Blank lines are skipped, a final "\r" and a leading UTF-8 byte order mark
// are dropped.
//
// The reader refuses what is not such a table rather than making one up: a path that is not a
// regular file (a folder, a device), an empty file, a header without a row, a line whose number
// of fields differs from the header's, an unterminated quote. Cells stay texts until a caller asks
// for one as a number, so that a column of names beside the numbers does no harm when it is not
// analysed. Every refusal is one line of text naming the file, the line and, for a cell, its
// column: "PATH:LINE: column N (NAME): ...", N counted as --columns counts them (the row names
// not counted).
class CsvTable {
public:
    // The table of the file, or nullopt with `error` set.
    static std::optional<CsvTable> Read(const std::string& path, std::string& error);
    // The table of a file's bytes, `path` naming it in the messages.
    static std::optional<CsvTable> Parse(const std::string& path, std::istream& in, std::string& error);

    // The column names, row names not included.
    const std::vector<std::string>& Columns() const { return m_columns; }
    std::size_t RowCount() const { return m_rows.size(); }
    const std::string& RowName(std::size_t row) const { return m_rows[row].name; }
    // The texts of a row's cells, unquoted.
    const std::vector<std::string>& Fields(std::size_t row) const { return m_rows[row].fields; }

    // The number a cell holds (0-based row and column, row names not counted): the whole field,
    // blanks around it aside, must be a finite number; an empty field or "NA" is a missing value
    // (NaN). Nullopt with `error` set otherwise, and for a row or column the table does not have.
    std::optional<double> Number(std::size_t row, std::size_t column, std::string& error) const;

private:
    struct Row {
        int line = 0;
        std::string name;
        std::vector<std::string> fields;
    };

    std::string m_path;
    std::vector<std::string> m_columns;
    std::vector<Row> m_rows;
};

} // namespace statrun
