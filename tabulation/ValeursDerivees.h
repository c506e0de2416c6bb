#pragma once

#include "tabulation/CrossPlanes.h"

#include <cstdint>
#include <span>
#include <vector>

// The values the compute functions derive from the kernels' counts once counting is done: the
// mean ranks of a ranking table, the ten values of a flat table whose modalities are grouped, the
// eight planes of a cross table whose rows are grouped, the per-modality records of a mean table
// placed on its lines, and the cell marker of each kind of calculation. None keeps state; every
// output is sized and zeroed here.
//
// Code maps hold one entry per source modality: its result row (column), or 0xFFFF (-1 in a
// signed map) when it is not kept. A Total position of -1 means the axis has no Total.
namespace ValeursDerivees {

// Mean ranks: resultRows x (ranks + 2) doubles. counts holds, per source modality, ranks weighted
// counts of how often it was given rank 1, 2... Cells 0..ranks-1 of a kept modality's row take its
// counts, cell `ranks` their sum S and cell ranks + 1 the mean rank (sum of k x count_k over S, 0
// when nobody ranked it). The Total row sums each rank column, its Total cell the sum of those,
// and its mean cell holds the missing value.
void CalculerRangsMoyens(std::vector<double>& matrix, std::span<const double> counts, int resultRows,
                         int sourceCount, std::span<const std::uint16_t> codeMap, int totalRow, int ranks);

// Ten values of a grouped flat table (kinds of the flat tables, 0 count to 9 "Total") for
// resultRows rows from countRows counts; z is the confidence threshold of the bounds [6] and [7].
// Answers the total that [4] and the cumulative [2] are measured against (see the runner).
double CalculerValeursTriRegroupe(std::vector<double>& rows, std::span<const double> counts, double base1,
                                  double base2, int resultRows, int countRows, double answerTotal, double z);

// Eight planes of (rows + 1) x resultColumns doubles (plane p of cell (i, j) at
// (p x (rows + 1) + i) x resultColumns + j) from a (rows + 1) x (sourceColumns + 1) count matrix
// whose last column and last row hold the margins. columnMap sends each source column to its
// result column (-1 dropped). columnBases: the column totals that column percentages are measured
// against; when empty they are made here from the matrix's totals row and handed back. When no
// unit falls in a kept cell only the counts are placed. A test that cannot be computed (a side that
// weighs nothing, a share of 0 or 1 on both sides) leaves its test value at 0 and no mark; a cell
// expected below settings.minimumExpectedCount keeps its test value but no mark.
void CalculerPlansCroisesRegroupes(std::vector<double>& planes, std::span<const double> counts,
                                   double grandTotal, int rows, int resultColumns, int sourceColumns,
                                   std::span<const std::int16_t> columnMap, int totalColumn,
                                   std::vector<double>& columnBases,
                                   const CrossPlanes::SignificanceSettings& settings);

// resultRows rows of eleven doubles: each kept source modality's record goes to its row, and the
// source's extra record (after the last modality) to the Total row when there is one.
void PlacerLignesStatistiques(std::vector<double>& rows, std::span<const double> statistics, int resultRows,
                              int sourceCount, std::span<const std::uint16_t> codeMap, int totalRow);

// The cell marker (0 count, 1 percentage, 2 real, 3 significance symbol) of a calculation kind of
// a flat table, of a statistics table and of a mean table.
std::uint16_t MarqueCalculTri(std::int32_t kind);
std::uint16_t MarqueCalculStatistique(std::int32_t kind);
std::uint16_t MarqueCalculMoyenne(std::int32_t kind);

} // namespace ValeursDerivees
