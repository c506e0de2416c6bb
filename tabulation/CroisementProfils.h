#pragma once

#include "app/Ligne.h"
#include "tabulation/Fusion.h"

#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <vector>

class CModaliteEtendue;
class CMoteurTableau;
class CProfil;

// The cross of a profile of closed questions on the rows by one on the columns: each row
// question is crossed with each column question, the planes of each cross (count, percentages,
// significance...) placed side by side and one under the other in one block per plane, with
// the captions and merges of both profiles' headers. The profile Totals count each question over
// the units that answered at least one pair of any of the crosses.
//
// Block layout: two column-header levels (each column question's caption over its modalities).
// With an empty line per question, one row-header level and a caption line above each row
// question's modalities, empty in every block; without it, two row-header levels, the caption
// beside its modalities. The Total line and Total column come first when the Totals stand
// before, last otherwise.
namespace CroisementProfils {

// Both profiles without separators.
struct Entrees {
    const CProfil& rowProfile;
    const CProfil& columnProfile;
    std::span<const std::int32_t> planeCodes; // one block per code, in order
    bool emptyLinePerQuestion = false;
    bool rowTotal = false;
    bool columnTotal = false;
    bool totalBefore = false;
    int level = 0;
    std::int32_t studyField = -1;
    std::int32_t weighting = -1;
    const CModaliteEtendue* rowTotalModality = nullptr;    // labels the Total line (none when null)
    const CModaliteEtendue* columnTotalModality = nullptr; // labels the Total column
};

// What the table assembly takes. The label arrays point into `labels`.
struct ResultatsProfils {
    int H = 0;
    int R = 0;
    int V = 0;
    int C = 0;
    std::vector<std::vector<double>> blocks; // one R x C block per plane code
    std::vector<std::unique_ptr<CLigne>> labels;
    std::vector<std::vector<const CLigne*>> rowLabels;    // V levels of R
    std::vector<std::vector<const CLigne*>> columnLabels; // H levels of C
    CFusion rowMerges;
    CFusion columnMerges;
    std::vector<std::uint16_t> markers; // one per block
    double base = 0.0;                  // the largest total of the crosses
};

// Fills the results; false with the failing kernel's text, the results then emptied.
bool CroiserProfils(CMoteurTableau& engine, const Entrees& in, ResultatsProfils& out, std::string& error);

// Empties everything the cross built.
void LibererResultatsProfils(ResultatsProfils& results);

// The flat value (0 to 9: count, percentage of respondents ... 9 "Total", 100) that the profile
// Totals show of a plane: side 1 the Total line, 0 the Total column. -1 for a plane that shows no
// flat value there.
int DonnerValeursTotal(int plane, int side);

} // namespace CroisementProfils
