#include "export/TablePieces.h"

#include <algorithm>
#include <functional>
#include <map>
#include <utility>

#include "tabulation/Fusion.h"
#include "tabulation/MatriceCreuse.h"
#include "tabulation/Tableau.h"

namespace {

// No merge reaches further than this many cells.
constexpr std::int32_t kLongestSpan = 0xFFFF;

using Range = std::pair<std::int32_t, std::int32_t>; // first index, count
// Whether the label of header level `level` at data index `index` is not empty.
using StartsGroup = std::function<bool(std::int32_t level, std::int32_t index)>;
// Whether the data lines from `first` to before `end` fit a page beside their headers.
using Fits = std::function<bool(std::int32_t first, std::int32_t end)>;

// Cuts `count` data lines, shown under `headers` header lines, into ranges of at most `limit`
// lines with the headers that fit (one data line at the least), each range that stops before the
// end shortened to end before its last line that starts a group.
std::vector<Range> Cut(std::int32_t count, std::int32_t headers, std::int32_t limit, std::int32_t levels,
                       const StartsGroup& startsGroup, const Fits& fits) {
    if (count <= 0 || (headers + count <= limit && fits(0, count)))
        return {{0, std::max(count, 0)}};
    const std::int32_t most = std::max(limit - headers, 1);
    std::vector<Range> ranges;
    for (std::int32_t start = 0; start < count;) {
        std::int32_t end = std::min(start + most, count);
        while (end > start + 1 && !fits(start, end))
            --end;
        if (end < count) {
            bool found = false;
            for (std::int32_t level = 0; level < levels && !found; ++level) {
                for (std::int32_t line = end - 1; line > start; --line) {
                    if (startsGroup(level, line)) {
                        end = line;
                        found = true;
                        break;
                    }
                }
            }
        }
        ranges.emplace_back(start, end - start);
        start = end;
    }
    return ranges;
}

// The span of a merge, kept inside the segment of the piece's grid (headers, or data) where the
// cell stands.
std::uint16_t Clip(std::uint16_t span, std::int32_t position, std::int32_t headers, std::int32_t total) {
    const std::int32_t segmentEnd = position < headers ? headers : total;
    return static_cast<std::uint16_t>(std::min<std::int32_t>(span, segmentEnd - 1 - position));
}

// The header block that a piece's first data column (row) cuts: the first cell of a block merged
// across the cut, found to the left of (above) it; the block's label and the rest of its span
// then start the piece, so that a heading over several columns is repeated in every piece. Each
// search stops at the first cell with a label or a span of its own, or as far as a span reaches.
void CarryCutBlocks(const CTableauBase& table, const TablePieces::Piece& piece, CTableau& built, CFusion& rowMerges,
                    CFusion& columnMerges) {
    const auto hasSpans = [](const CFusion* merges) { return merges != nullptr && merges->ASpans(); };
    if (!hasSpans(table.GetFusionLignes()) && !hasSpans(table.GetFusionColonnes()))
        return;
    const std::int32_t headerRows = table.DonnerNbLignesEnTete();
    const std::int32_t headerColumns = table.DonnerNbColonnesEnTete();
    if (piece.firstColumn > 0 && piece.columnCount > 0) {
        for (std::int32_t level = 0; level < headerRows; ++level) {
            if (!table.GetLibelleColonneAffiche(level, piece.firstColumn).empty() ||
                table.DonnerFusionColonneAffichee(level, headerColumns + piece.firstColumn) != 0)
                continue;
            const std::int32_t farthest = std::max(piece.firstColumn - kLongestSpan, 0);
            for (std::int32_t column = piece.firstColumn - 1; column >= farthest; --column) {
                const std::int32_t span = table.DonnerFusionColonneAffichee(level, headerColumns + column);
                if (span == 0 && table.GetLibelleColonneAffiche(level, column).empty())
                    continue;
                if (column + span >= piece.firstColumn) {
                    built.SetLibelleColonne(level, 0, table.DisplayedColumnLabel(level, column));
                    const auto rest = static_cast<std::uint16_t>(column + span - piece.firstColumn);
                    columnMerges.SetFusion(level, headerColumns,
                                           Clip(rest, headerColumns, headerColumns, headerColumns + piece.columnCount));
                }
                break;
            }
        }
    }
    if (piece.firstRow > 0 && piece.rowCount > 0) {
        for (std::int32_t level = 0; level < headerColumns; ++level) {
            if (!table.GetLibelleLigneAffiche(level, piece.firstRow).empty() ||
                table.DonnerFusionLigneAffichee(headerRows + piece.firstRow, level) != 0)
                continue;
            const std::int32_t farthest = std::max(piece.firstRow - kLongestSpan, 0);
            for (std::int32_t row = piece.firstRow - 1; row >= farthest; --row) {
                const std::int32_t span = table.DonnerFusionLigneAffichee(headerRows + row, level);
                if (span == 0 && table.GetLibelleLigneAffiche(level, row).empty())
                    continue;
                if (row + span >= piece.firstRow) {
                    built.SetLibelleLigne(level, 0, table.DisplayedRowLabel(level, row));
                    const auto rest = static_cast<std::uint16_t>(row + span - piece.firstRow);
                    rowMerges.SetFusion(headerRows, level, Clip(rest, headerRows, headerRows, headerRows + piece.rowCount));
                }
                break;
            }
        }
    }
}

} // namespace

std::vector<TablePieces::Piece> TablePieces::Plan(const CTableauBase& table, std::int32_t linesPerPiece,
                                                  std::int32_t columnsPerPiece) {
    return Plan(table, linesPerPiece, columnsPerPiece, {}, 0);
}

std::vector<TablePieces::Piece> TablePieces::Plan(const CTableauBase& table, std::int32_t linesPerPiece,
                                                  std::int32_t columnsPerPiece,
                                                  const std::vector<std::int32_t>& columnWidths,
                                                  std::int32_t pageWidth) {
    const std::int32_t headerRows = table.DonnerNbLignesEnTete();
    const std::int32_t headerColumns = table.DonnerNbColonnesEnTete();
    const auto anyLines = [](std::int32_t, std::int32_t) { return true; };
    const std::vector<Range> bands = Cut(
        table.DonnerNbLignes(), headerRows, linesPerPiece, headerColumns,
        [&table](std::int32_t level, std::int32_t row) {
            return !table.GetLibelleLigneAffiche(level, row).empty();
        },
        anyLines);

    // Running sums of the widths: the header columns', then each data column's added.
    const std::int32_t dataColumns = table.DonnerNbColonnes();
    const bool measured = pageWidth > 0 && static_cast<std::int64_t>(columnWidths.size()) ==
                                               std::int64_t{headerColumns} + dataColumns;
    std::vector<std::int64_t> sums;
    if (measured) {
        sums.resize(static_cast<std::size_t>(dataColumns) + 1);
        for (std::int32_t column = 0; column < headerColumns; ++column)
            sums[0] += columnWidths[static_cast<std::size_t>(column)];
        for (std::int32_t column = 0; column < dataColumns; ++column)
            sums[static_cast<std::size_t>(column) + 1] =
                sums[static_cast<std::size_t>(column)] +
                columnWidths[static_cast<std::size_t>(headerColumns + column)];
    }
    const Fits fitsPage = [&](std::int32_t first, std::int32_t end) {
        return !measured ||
               sums[0] + sums[static_cast<std::size_t>(end)] - sums[static_cast<std::size_t>(first)] <=
                   pageWidth;
    };
    const std::vector<Range> blocks = Cut(
        dataColumns, headerColumns, columnsPerPiece, headerRows,
        [&table](std::int32_t level, std::int32_t column) {
            return !table.GetLibelleColonneAffiche(level, column).empty();
        },
        fitsPage);
    std::vector<Piece> pieces;
    pieces.reserve(bands.size() * blocks.size());
    for (const Range& band : bands)
        for (const Range& block : blocks)
            pieces.push_back(Piece{band.first, band.second, block.first, block.second});
    return pieces;
}

bool TablePieces::IsWhole(const CTableauBase& table, const Piece& piece) {
    return piece.firstRow == 0 && piece.firstColumn == 0 && piece.rowCount == table.DonnerNbLignes() &&
           piece.columnCount == table.DonnerNbColonnes();
}

std::unique_ptr<CTableau> TablePieces::Build(const CTableauBase& table, const Piece& piece) {
    const std::int32_t headerRows = table.DonnerNbLignesEnTete();
    const std::int32_t headerColumns = table.DonnerNbColonnesEnTete();
    const std::int32_t rows = piece.rowCount;
    const std::int32_t columns = piece.columnCount;
    auto built = std::make_unique<CTableau>(headerRows, headerColumns, rows, columns, CTableauBase::kMarqueParCellule);

    CPresentationTableau presentation = table.GetPresentation();
    presentation.SetOrientation(0);
    built->SetPresentation(presentation);
    built->SetPresentationGraphique(table.GetPresentationGraphique());
    built->title = table.title;
    built->studyFieldCaption = table.studyFieldCaption;
    built->weightingCaption = table.weightingCaption;
    built->levelCaption = table.levelCaption;
    built->base = table.base;

    // Values and markers; a text cell takes its text into the piece's own list, so that a piece
    // of a table of many texts carries only its own.
    std::map<std::int32_t, std::int32_t> textIndexes;
    for (std::int32_t row = 0; row < rows; ++row) {
        for (std::int32_t column = 0; column < columns; ++column) {
            double value = table.DonnerValeurAffichee(piece.firstRow + row, piece.firstColumn + column);
            const std::uint16_t marker = table.DonnerMarqueAffichee(piece.firstRow + row, piece.firstColumn + column);
            if (marker == CTableauBase::kMarqueTexte && value >= 0 && value < table.TextCount()) {
                const auto source = static_cast<std::int32_t>(value);
                auto [entry, added] = textIndexes.try_emplace(source, 0);
                if (added)
                    entry->second = built->AjouterTexte(table.GetTexte(source));
                value = entry->second;
            }
            built->SetValeur(row, column, value);
            built->SetMarqueCellule(row, column, marker);
        }
    }

    for (std::int32_t level = 0; level < headerColumns; ++level)
        for (std::int32_t row = 0; row < rows; ++row)
            built->SetLibelleLigne(level, row, table.DisplayedRowLabel(level, piece.firstRow + row));
    for (std::int32_t level = 0; level < headerRows; ++level)
        for (std::int32_t column = 0; column < columns; ++column)
            built->SetLibelleColonne(level, column, table.DisplayedColumnLabel(level, piece.firstColumn + column));

    // Grid positions of the piece (headers counted) in the whole table's displayed grid; the
    // position one past the piece's last row or column is the edge it shares with the next one.
    const std::int32_t gridRows = headerRows + rows;
    const std::int32_t gridColumns = headerColumns + columns;
    const auto sourceRow = [&](std::int32_t row) { return row < headerRows ? row : row + piece.firstRow; };
    const auto sourceColumn = [&](std::int32_t column) {
        return column < headerColumns ? column : column + piece.firstColumn;
    };

    auto rowMerges = std::make_unique<CFusion>(headerRows, headerColumns, rows, columns);
    auto columnMerges = std::make_unique<CFusion>(headerRows, headerColumns, rows, columns);
    auto marks = std::make_unique<CMatriceCreuse>(gridRows, gridColumns);
    for (std::int32_t row = 0; row <= gridRows; ++row) {
        for (std::int32_t column = 0; column <= gridColumns; ++column) {
            const std::int32_t fromRow = sourceRow(row);
            const std::int32_t fromColumn = sourceColumn(column);
            if (row < gridRows && column < gridColumns) {
                const std::uint16_t below = table.DonnerFusionLigneAffichee(fromRow, fromColumn);
                const std::uint16_t across = table.DonnerFusionColonneAffichee(fromRow, fromColumn);
                if (below != 0)
                    rowMerges->SetFusion(row, column, Clip(below, row, headerRows, gridRows));
                if (across != 0)
                    columnMerges->SetFusion(row, column, Clip(across, column, headerColumns, gridColumns));
            }
            const std::uint16_t left = table.DonnerBordureLigne(fromRow, fromColumn);
            const std::uint16_t top = table.DonnerBordureColonne(fromRow, fromColumn);
            if (left != CMatriceCreuse::kNormal)
                marks->SetMarqueLigne(row, column, left);
            if (top != CMatriceCreuse::kNormal)
                marks->SetMarqueColonne(row, column, top);
        }
    }
    CarryCutBlocks(table, piece, *built, *rowMerges, *columnMerges);
    if (headerRows > 0 && headerColumns > 0)
        CFusion::FusionnerCoinEnTete(*rowMerges, *columnMerges, headerRows, headerColumns);
    built->SetFusionLignes(std::move(rowMerges));
    built->SetFusionColonnes(std::move(columnMerges));
    built->SetBordures(std::move(marks));
    return built;
}
