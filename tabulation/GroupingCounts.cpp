#include "tabulation/GroupingCounts.h"

#include "recodes/RecodageModalite.h"
#include "tabulation/MoteurTableau.h"

#include <utility>

namespace GroupingCounts {

bool CountNodes(CMoteurTableau& engine, CQuestionEtendue& question, const CRecodageModalite& grouping, int level,
                std::int32_t studyField, std::int32_t weighting, std::vector<double>& counts, std::string& error) {
    std::vector<double> nodeCounts(static_cast<std::size_t>(grouping.NodeCount()), 0.0);
    // The groups of one level are its nodes, numbered in node order.
    for (int groupLevel = 0; groupLevel < grouping.DonnerNombreNiveaux(); ++groupLevel) {
        const int groups = grouping.DonnerNombreGroupes(groupLevel);
        if (groups == 0)
            continue;
        std::vector<double> groupCounts;
        double respondents = 0.0;
        double total = 0.0;
        if (!engine.CompterGroupes(question, grouping, groupLevel, groupCounts, respondents, total, level, studyField,
                                   weighting, error)) {
            counts.clear();
            return false;
        }
        for (int group = 0; group < groups && group < static_cast<int>(groupCounts.size()); ++group)
            nodeCounts[static_cast<std::size_t>(grouping.DonnerIndexNoeud(group, groupLevel))] =
                groupCounts[static_cast<std::size_t>(group)];
    }
    counts = std::move(nodeCounts);
    return true;
}

} // namespace GroupingCounts
