#pragma once

#include <cstdint>
#include <string>

class CTableauBase;

// The text export of a result table: what a spreadsheet or a word processor reads as tab-separated
// lines, with the markers of the "Tableau" settings around the table so that a macro can find it.
//
// In order: the title; a line end; the title block when the presentation shows it above the
// table; a line end; the before-marker (no line end of its own: it starts the first row); then
// the cell records row by row, each record's text followed by as many tabs as the columns it
// covers, one fewer after the last record of a row; the after-marker ends the last row when
// "MarqueurSurLigne" is set, otherwise it follows the last row's line end; finally
// "NombreLigneApresTableau" line ends.
//
// Every line end is CR LF, inside the title block and the markers too. A field holds the text
// the table window shows (a blank before the per-cent sign, a single blank for a missing value),
// on one line: a line break or a tab inside a text (the title block in the corner, a label)
// becomes one blank, so that every field stays in its column. A record that continues a merge
// from the row above is an empty field.
class TableTextExport {
public:
    static void Append(const CTableauBase& table, std::string& out);
    // The part of Append from the before-marker on: markers, rows and the lines after the table.
    static void AppendCells(const CTableauBase& table, std::string& out);
    // The text with every line end (CR LF, CR or LF) written CR LF.
    static void AppendLines(std::string& out, const std::string& text);

    // The field of a displayed cell (headers counted).
    static std::string FieldText(const CTableauBase& table, std::int32_t row, std::int32_t column);
};
