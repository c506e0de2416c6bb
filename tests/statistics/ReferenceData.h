#pragma once

#include <fstream>
#include <limits>
#include <sstream>
#include <string>
#include <vector>

// A reference data set of tests/fixtures: a CSV whose first line names the columns and whose first
// column names the rows. Cells that do not read as numbers are kept as text only.
struct ReferenceData {
    std::vector<std::string> columns;
    std::vector<std::string> rows;
    std::vector<std::vector<double>> values; // per row, per column (NaN where the cell is text)

    static std::string Unquote(std::string cell) {
        if (cell.size() >= 2 && cell.front() == '"' && cell.back() == '"')
            cell = cell.substr(1, cell.size() - 2);
        return cell;
    }

    static std::vector<std::string> Split(const std::string& line) {
        std::vector<std::string> cells;
        std::string cell;
        std::istringstream in(line);
        while (std::getline(in, cell, ','))
            cells.push_back(Unquote(cell));
        return cells;
    }

    static ReferenceData Read(const std::string& name) {
        ReferenceData data;
        std::ifstream in(std::string(MORVANE_SOURCE_DIR) + "/tests/fixtures/" + name);
        std::string line;
        std::getline(in, line);
        std::vector<std::string> header = Split(line);
        data.columns.assign(header.begin() + 1, header.end());
        while (std::getline(in, line)) {
            if (line.empty())
                continue;
            std::vector<std::string> cells = Split(line);
            data.rows.push_back(cells[0]);
            std::vector<double> row;
            for (std::size_t j = 1; j < cells.size(); ++j) {
                try {
                    row.push_back(std::stod(cells[j]));
                } catch (...) {
                    row.push_back(std::numeric_limits<double>::quiet_NaN());
                }
            }
            data.values.push_back(row);
        }
        return data;
    }

    // The given columns of every row, row-major.
    std::vector<double> Table(int firstColumn, int columnCount) const {
        std::vector<double> table;
        for (const auto& row : values)
            for (int j = 0; j < columnCount; ++j)
                table.push_back(row[static_cast<std::size_t>(firstColumn + j)]);
        return table;
    }

    int Row(const std::string& name) const {
        for (std::size_t i = 0; i < rows.size(); ++i)
            if (rows[i] == name)
                return static_cast<int>(i);
        return -1;
    }
    int Column(const std::string& name) const {
        for (std::size_t j = 0; j < columns.size(); ++j)
            if (columns[j] == name)
                return static_cast<int>(j);
        return -1;
    }
};
