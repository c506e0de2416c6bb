#pragma once

#include <cstdint>
#include <vector>

class CTableauBase;

// The widths of a table's columns in a word-processor document, in twips.
//
// On the page, the table shares the width between the margins: header columns two units, data
// columns one. A column whose words or numbers would not stand whole at that width (a word
// processor would break them mid-way) is given what its widest word needs, the others sharing
// what is left in the same proportions. A table whose words need more than the page is cut into
// pieces of columns (TablePieces), each of which fits.
namespace RtfColumnWidths {

// Width of the table between an A4 page's margins.
constexpr std::int32_t kPortraitWidth = 10433;
constexpr std::int32_t kLandscapeWidth = 13608;
// The space a word processor keeps between a cell's edge and its text, on each side.
constexpr std::int32_t kCellGap = 108;
// Kept over the measure of a word, for the borders and the word processor's rounding.
constexpr std::int32_t kSlack = 40;

inline std::int32_t PageWidth(bool portrait) {
    return portrait ? kPortraitWidth : kLandscapeWidth;
}

// The least width of every displayed column (header columns first): what the widest word or
// number of its cells needs, gaps included, at the cell's font. A text spanning several columns
// needs its widest word over the columns together: what they lack is shared among them.
std::vector<std::int32_t> Needs(const CTableauBase& table);

// The widths of the columns of one piece whose least widths are `needs` (header columns first):
// the shared widths on `pageWidth` when every column holds its words at them; otherwise no column
// below its need, the others' widths in the shared proportions, the whole within the page. Needs
// that together exceed the page are taken as they are.
std::vector<std::int32_t> Widths(const std::vector<std::int32_t>& needs, std::int32_t headerColumns,
                                 std::int32_t pageWidth);

} // namespace RtfColumnWidths
