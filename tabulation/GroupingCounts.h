#pragma once

#include <cstdint>
#include <string>
#include <vector>

class CMoteurTableau;
class CQuestionEtendue;
class CRecodageModalite;

namespace GroupingCounts {

// The count of every node of a grouping of the question, in node order: the weight of the units
// of the level, study field and weighting whose answers lie in the node's group (its own code and
// those of its members), as the grouped table counts them. False, with the reason, when the
// answers or the weights cannot be read; the counts are then empty.
bool CountNodes(CMoteurTableau& engine, CQuestionEtendue& question, const CRecodageModalite& grouping, int level,
                std::int32_t studyField, std::int32_t weighting, std::vector<double>& counts, std::string& error);

} // namespace GroupingCounts
