#include "tools/statrun/CsvTable.h"

#include <charconv>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <limits>
#include <string_view>
#include <system_error>

namespace statrun {

namespace {

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
constexpr std::string_view kBlanks = " \t";

std::string_view Trimmed(std::string_view text) {
    const std::size_t first = text.find_first_not_of(kBlanks);
    if (first == std::string_view::npos)
        return {};
    return text.substr(first, text.find_last_not_of(kBlanks) - first + 1);
}

// The fields of one line; false for a quote left open at the end of the line.
bool SplitFields(std::string_view line, std::vector<std::string>& fields) {
    fields.assign(1, std::string());
    bool quoted = false;
    for (std::size_t i = 0; i < line.size(); ++i) {
        const char c = line[i];
        if (quoted && c == '"' && i + 1 < line.size() && line[i + 1] == '"') {
            fields.back() += '"';
            ++i;
        } else if (c == '"' && (quoted || Trimmed(fields.back()).empty())) {
            quoted = !quoted;
        } else if (c == ',' && !quoted) {
            fields.emplace_back();
        } else {
            fields.back() += c;
        }
    }
    return !quoted;
}

std::string At(const std::string& path, int line) { return path + ":" + std::to_string(line) + ": "; }

} // namespace

std::optional<CsvTable> CsvTable::Read(const std::string& path, std::string& error) {
    std::error_code status;
    if (!std::filesystem::is_regular_file(path, status)) {
        error = path + (std::filesystem::exists(path, status) ? ": not a regular file" : ": no such file");
        return std::nullopt;
    }
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        error = path + ": cannot be read";
        return std::nullopt;
    }
    return Parse(path, in, error);
}

std::optional<CsvTable> CsvTable::Parse(const std::string& path, std::istream& in, std::string& error) {
    CsvTable table;
    table.m_path = path;
    bool header = true;
    std::size_t width = 0;
    std::string line;
    std::vector<std::string> fields;
    for (int number = 1; std::getline(in, line); ++number) {
        if (number == 1 && line.starts_with(kByteOrderMark))
            line.erase(0, kByteOrderMark.size());
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        if (Trimmed(line).empty())
            continue;
        if (!SplitFields(line, fields)) {
            error = At(path, number) + "a quote is not closed";
            return std::nullopt;
        }
        if (header) {
            width = fields.size();
            table.m_columns.assign(fields.begin() + 1, fields.end());
            header = false;
        } else if (fields.size() != width) {
            error = At(path, number) + std::to_string(fields.size()) + " fields where the first line has " +
                    std::to_string(width);
            return std::nullopt;
        } else {
            table.m_rows.push_back({number, fields.front(), std::vector<std::string>(fields.begin() + 1, fields.end())});
        }
    }
    if (in.bad()) {
        error = path + ": cannot be read";
        return std::nullopt;
    }
    if (header) {
        error = path + ": empty file: the first line must name the columns";
        return std::nullopt;
    }
    if (table.m_rows.empty()) {
        error = path + ": no row after the line of column names";
        return std::nullopt;
    }
    return table;
}

std::optional<double> CsvTable::Number(std::size_t row, std::size_t column, std::string& error) const {
    if (row >= m_rows.size()) {
        error = m_path + ": no row " + std::to_string(row + 1);
        return std::nullopt;
    }
    const Row& read = m_rows[row];
    if (column >= read.fields.size()) {
        error = At(m_path, read.line) + "no column " + std::to_string(column + 1);
        return std::nullopt;
    }
    std::string_view text = Trimmed(read.fields[column]);
    if (text.empty() || text == "NA")
        return std::numeric_limits<double>::quiet_NaN();
    if (text.size() > 1 && text.front() == '+' && text[1] != '-')
        text.remove_prefix(1);
    double value = 0.0;
    const auto [end, status] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (status == std::errc() && end == text.data() + text.size() && std::isfinite(value))
        return value;
    error = At(m_path, read.line) + "column " + std::to_string(column + 1) + " (" + m_columns[column] + "): \"" +
            read.fields[column] + "\" is not a number";
    return std::nullopt;
}

} // namespace statrun
