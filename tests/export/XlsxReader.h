#pragma once

#include <array>
#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

// Just enough of a workbook reader to check what the spreadsheet export wrote, independent of the
// library that wrote it: the zip container (stored and deflated entries, through zlib), a small
// XML reader, and the cells of each sheet with their shared strings and styles resolved.
namespace xlsx_test {

// The entries of a zip file by name. Throws std::runtime_error on anything it cannot read.
std::map<std::string, std::string> ReadZip(const std::string& path);

// A parsed XML element: its name (with any prefix), attributes, text and children in order.
struct XmlElement {
    std::string name;
    std::map<std::string, std::string> attributes;
    std::string text; // the text directly inside it, entities decoded
    std::vector<std::unique_ptr<XmlElement>> children;

    const XmlElement* Child(const std::string& childName) const;
    std::vector<const XmlElement*> Children(const std::string& childName) const;
    std::string Attribute(const std::string& key) const;
    // Every text of this element and of its descendants, in order.
    std::string AllText() const;
};
std::unique_ptr<XmlElement> ParseXml(const std::string& text);

// One cell as a reader of the workbook sees it.
struct Cell {
    enum class Kind { Blank, Text, Number, Formula };
    Kind kind = Kind::Blank;
    std::string text; // the string of a text cell
    double number = 0.0;
    std::string formula;
    // Its look, from the style sheet.
    std::string numberFormat; // "General" for the built-in format 0
    std::string face;
    double size = 0.0;
    bool bold = false;
    bool italic = false;
    bool underline = false;
    std::string colour;   // "FFRRGGBB" or empty
    std::string fill;     // the fill's foreground colour when solid, else empty
    std::array<std::string, 4> edges; // top, bottom, left, right: "" none, "thin", "medium"...
};

class Workbook {
public:
    explicit Workbook(const std::string& path);

    std::vector<std::string> SheetNames() const { return m_sheetNames; }
    // The cell at a name ("B3") of a sheet; nullopt when the sheet holds no such cell.
    std::optional<Cell> At(const std::string& sheet, const std::string& reference) const;
    // The number of cells the sheet holds.
    std::size_t CellCount(const std::string& sheet) const;
    // Column widths of a sheet (0-based column), as the sheet declares them.
    std::map<int, double> Widths(const std::string& sheet) const;

private:
    std::vector<std::string> m_sheetNames;
    std::map<std::string, std::map<std::string, Cell>> m_cells;
    std::map<std::string, std::map<int, double>> m_widths;
};

} // namespace xlsx_test
