#include "tools/qesbuild/CsvTable.h"

#include "tools/qesbuild/FixtureError.h"

#include <set>

namespace qesbuild {

namespace {

// Walks the text one record at a time, keeping the line count for the messages.
class CsvScanner {
public:
    CsvScanner(std::string_view text, const std::string& file, int firstLine)
        : text_(text), file_(file), line_(firstLine) {}

    bool AtEnd() const { return pos_ >= text_.size(); }
    int line() const { return line_; }

    // Skips lines that hold nothing at all.
    void SkipBlankLines() {
        while (!AtEnd() && (text_[pos_] == '\n' || text_[pos_] == '\r')) {
            if (text_[pos_] == '\n')
                ++line_;
            ++pos_;
        }
    }

    std::vector<CsvTable::Cell> ReadRecord() {
        std::vector<CsvTable::Cell> cells;
        for (;;) {
            cells.push_back(ReadCell());
            if (AtEnd())
                return cells;
            const char separator = text_[pos_++];
            if (separator == ',')
                continue;
            if (separator == '\r' && !AtEnd() && text_[pos_] == '\n')
                ++pos_;
            ++line_;
            return cells;
        }
    }

private:
    CsvTable::Cell ReadCell() {
        if (!AtEnd() && text_[pos_] == '"')
            return ReadQuotedCell();
        const std::size_t start = pos_;
        while (!AtEnd() && text_[pos_] != ',' && text_[pos_] != '\n' && text_[pos_] != '\r')
            ++pos_;
        if (pos_ == start)
            return std::nullopt;
        return std::string(text_.substr(start, pos_ - start));
    }

    std::string ReadQuotedCell() {
        const int openingLine = line_;
        ++pos_;
        std::string cell;
        for (;;) {
            if (AtEnd())
                throw FixtureError(file_, openingLine, "unterminated quoted cell");
            const char c = text_[pos_++];
            if (c == '"') {
                if (!AtEnd() && text_[pos_] == '"') {
                    cell += '"';
                    ++pos_;
                    continue;
                }
                break;
            }
            if (c == '\n')
                ++line_;
            cell += c;
        }
        if (!AtEnd() && text_[pos_] != ',' && text_[pos_] != '\n' && text_[pos_] != '\r')
            throw FixtureError(file_, line_, "unexpected text after a closing quote");
        return cell;
    }

    std::string_view text_;
    const std::string& file_;
    std::size_t pos_ = 0;
    int line_;
};

} // namespace

CsvTable CsvTable::Parse(std::string_view text, const std::string& file, int firstLine) {
    CsvTable table;
    table.file_ = file;
    CsvScanner scanner(text, file, firstLine);
    scanner.SkipBlankLines();
    if (scanner.AtEnd())
        throw FixtureError(file, firstLine, "no header row of field names");

    table.headerLine_ = scanner.line();
    std::set<std::string> seen;
    for (auto& cell : scanner.ReadRecord()) {
        if (!cell || cell->empty())
            throw FixtureError(file, table.headerLine_, "empty field name in the header row");
        if (!seen.insert(*cell).second)
            throw FixtureError(file, table.headerLine_,
                               "field \"" + *cell + "\" named twice in the header row");
        table.header_.push_back(std::move(*cell));
    }

    for (scanner.SkipBlankLines(); !scanner.AtEnd(); scanner.SkipBlankLines()) {
        Row row;
        row.line = scanner.line();
        row.cells = scanner.ReadRecord();
        if (row.cells.size() != table.header_.size())
            throw FixtureError(file, row.line,
                               std::to_string(row.cells.size()) + " cells where the header names " +
                                   std::to_string(table.header_.size()) + " fields");
        table.rows_.push_back(std::move(row));
    }
    return table;
}

} // namespace qesbuild
