#pragma once

#include "tabulation/LaneSums.h"

#include <cstddef>
#include <cstdint>
#include <vector>

// The flat counts of a one-answer question taken sixteen units at a time with the processor's
// vector instructions (AVX2, where it has them), into the lanes of LaneSums and in their order:
// lane l adds the units l, l + 4, l + 8, ... of a chunk one after the other, and a unit that does
// not answer a modality adds nothing to it. The sums are those of the unit-by-unit count to the
// last bit, and the count of a chunk goes on unit by unit where this one stops.
//
// Each kept modality costs a few instructions per sixteen units, whatever the number of units
// that answer it, and no counter waits for the one before it: worth it for the few modalities of
// most closed questions, not for a long list, which is left to the unit-by-unit count.
class OneAnswerBlockCounter {
public:
    // The modalities counted: those of the map (as CompterModalites takes it) below
    // `modalityCount`. Counters are laid out as CompterModalites': the weighted count of modality
    // k at k, the number of units of non-zero weight that answer it at modalityCount + k.
    OneAnswerBlockCounter(const std::vector<std::uint16_t>& map, std::size_t modalityCount);

    // Whether Count counts anything on this processor for these modalities.
    bool Applies() const { return m_applies; }

    // Counts the first units of a chunk of `units`, whose codes and weights start at the chunk's
    // first unit, adding to the chunk's lanes and running sums (respondents: the units of a kept
    // answer; sums: every unit). Answers how many units it counted: a multiple of sixteen, 0 when
    // it does not apply.
    int Count(const std::int16_t* codes, const double* weights, int units, LaneSums& lanes,
              LaneSums::Running& respondents, LaneSums::Running& sums) const;

    static constexpr int kBlockUnits = 16;

private:
    std::vector<std::int16_t> m_kept;
    std::size_t m_modalityCount;
    bool m_contiguous = false;
    bool m_applies = false;
};
