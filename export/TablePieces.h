#pragma once

#include <cstdint>
#include <memory>
#include <vector>

class CTableau;
class CTableauBase;

// Cutting a table too large for a word-processor page into pieces, each repeating the header
// rows and columns: first into bands of rows, then each band into blocks of columns.
//
// A band holds at most `linesPerPiece` lines, header rows included, and a block at most
// `columnsPerPiece` columns, header columns included; but always at least one data row and one
// data column, however many header lines there are, so that the cutting always ends. A piece that
// does not reach the end of the table is shortened to end just before its last row that starts a
// group (a row with a label in a header column, the first header column searched first, then the
// next), unless that row is the piece's first; columns likewise with the header rows' labels.
class TablePieces {
public:
    // A piece: displayed data rows and columns (headers not counted), first index and count.
    struct Piece {
        std::int32_t firstRow = 0;
        std::int32_t rowCount = 0;
        std::int32_t firstColumn = 0;
        std::int32_t columnCount = 0;

        bool operator==(const Piece&) const = default;
    };

    // The pieces in writing order, bands outermost. A table that fits is one piece covering it;
    // a table without data rows or columns too.
    static std::vector<Piece> Plan(const CTableauBase& table, std::int32_t linesPerPiece,
                                   std::int32_t columnsPerPiece);
    // The same, a block of columns also kept within `pageWidth`: its header columns and data
    // columns together no wider than the page, by `columnWidths` (the least width of every
    // displayed column, header columns first), one data column at the least.
    static std::vector<Piece> Plan(const CTableauBase& table, std::int32_t linesPerPiece,
                                   std::int32_t columnsPerPiece,
                                   const std::vector<std::int32_t>& columnWidths, std::int32_t pageWidth);

    // Whether the plan is the whole table, which is then written as it is.
    static bool IsWhole(const CTableauBase& table, const Piece& piece);

    // A new table holding one piece of the displayed grid: the same header rows and columns, the
    // piece's values, markers (one per cell), texts, labels, line marks and presentation (never
    // transposed: the piece is already what is displayed), the title block's captions and base;
    // merges are clipped to the piece and the header corner is made one cell. A header block
    // merged across the piece's first data column (row) starts the piece with its label and the
    // rest of its span, so that a heading over several columns is repeated in each piece.
    static std::unique_ptr<CTableau> Build(const CTableauBase& table, const Piece& piece);
};
