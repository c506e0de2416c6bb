#pragma once

#include <cstdint>
#include <string>

class CTableauBase;

// The text of a result table's data cell from its value and marker, with the decimals and the
// per-cent sign of the table's presentation. Its two readers differ only in two texts: the
// exports put the sign right after the number and leave a cell with nothing to show empty, while
// the table window puts a blank before the sign and shows a single blank there, so that a text
// copied out of the window keeps every field. The style says which.
class CellFormatter {
public:
    struct Style {
        const char* percentSuffix; // after a percentage, when the presentation asks for the sign
        const char* nothingShown;  // a missing value, an unknown marker, a text index out of the list
    };
    static constexpr Style kExport{"%", ""};
    static constexpr Style kWindow{" %", " "};

    // Row and column of the displayed data grid (headers not counted). Numbers are written as
    // printf's "%.Nlf" writes them in the "C" locale, whatever the locale, with the decimals
    // brought into 0..4, except that a value rounding to zero has no sign ("0.0", never "-0.0");
    // significance marks read "---" to "+++", a single blank for none.
    static std::string DataText(const CTableauBase& table, std::int32_t row, std::int32_t column,
                                const Style& style);

    // A number as DataText writes it with `decimals` (brought into 0..4) after the point: every
    // digit of a whole number up to 1e15, in any locale (the title block's base is one).
    static std::string NumberText(double value, int decimals);
};
