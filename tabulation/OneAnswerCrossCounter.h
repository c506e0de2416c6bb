#pragma once

#include "tabulation/LaneSums.h"

#include <cstddef>
#include <cstdint>
#include <vector>

// The cells and margins of a cross of two one-answer questions, unit by unit into the lanes of
// LaneSums: a kept pair adds its weight to its cell only, and the margins are summed from the
// cells at the end (one addition a unit instead of three). The cells and the total receive the
// same weights in the same order as in the several-answer count, so they agree to the last bit;
// the margins, summed in another order, agree to rounding. A unit's answers pick its cell
// through two small tables made once per cross, with no test of the maps' bounds per unit: a kept
// answer beyond the table's lines or columns adds to a spare line or column, which counts in the
// margins of the other side only. Where the processor has AVX-512 and the maps are
// short, the counters of 32 units at a time are looked up with vector instructions first, and the
// units' weights are added to the running sums in the same lanes; the additions to the counters
// stay one unit after the other, in unit order.
class OneAnswerCrossCounter {
public:
    // The modalities kept by each map (as CroiserModalites takes them); r and c the question's
    // modality counts.
    OneAnswerCrossCounter(const std::vector<std::uint16_t>& rowMap, std::size_t r,
                          const std::vector<std::uint16_t>& columnMap, std::size_t c);

    // Counters a lane holds.
    std::size_t Slots() const { return (m_r + 1) * m_stride; }

    // Counts units first .. last-1, whose answers and weights the arrays hold at the units'
    // indexes, into the chunk's lanes; marks (when given) gets 1 for every unit of a kept pair.
    // Answers the weight of those units, merged across the lanes.
    double Count(const std::int16_t* rowCells, const std::int16_t* columnCells, const double* weights, int first,
                 int last, LaneSums& lanes, std::uint8_t* marks) const;

    // The (r+1) x (c+1) matrix of CroiserModalites from the merged counters, `total` at (r, c).
    std::vector<double> Matrix(const std::vector<double>& counters, double total) const;

private:
    template <bool Marked>
    double CountUnits(const std::int16_t* rowCells, const std::int16_t* columnCells, const double* weights,
                      int first, int last, LaneSums& lanes, std::uint8_t* marks) const;

    template <bool Marked>
    int CountBlocks(const std::int16_t* rowCells, const std::int16_t* columnCells, const double* weights,
                    int first, int last, LaneSums& lanes, LaneSums::Running& sums, std::uint8_t* marks) const;

    std::size_t m_r;
    std::size_t m_c;
    std::size_t m_stride; // c real columns, a spare column
    // By answer (the last entry for every answer beyond the map): the first counter of the
    // answer's line, or of a column, -1 when the answer is not kept.
    std::vector<std::int32_t> m_rowStart;
    std::vector<std::int32_t> m_columnOffset;
    // The same tables in 16 bits, 32 entries each (the last for every answer beyond), when the
    // maps and the counters are small enough and the processor can look them up by blocks.
    std::vector<std::int16_t> m_rowStartBlock;
    std::vector<std::int16_t> m_columnOffsetBlock;
    bool m_byBlocks = false;
};
