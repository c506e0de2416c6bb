#include "tabulation/EnTetesRegroupement.h"

#include <cstddef>
#include <cstdint>

#include "recodes/ModaliteGroupe.h"
#include "recodes/RecodageModalite.h"

namespace EnTetesRegroupement {

namespace {

std::size_t Index(int value) { return static_cast<std::size_t>(value); }

// The header level of node i; -1 when there is no such node or its level lies outside the header.
int LevelOf(const CRecodageModalite& grouping, int i) {
    const CModaliteGroupe* node = grouping.Node(i);
    if (node == nullptr || node->level < 0 || node->level >= grouping.DonnerNombreNiveaux())
        return -1;
    return node->level;
}

} // namespace

LibellesNoeuds DonnerLibellesNoeuds(const CRecodageModalite& grouping) {
    const int levels = grouping.DonnerNombreNiveaux();
    const int nodes = grouping.NodeCount();
    LibellesNoeuds result;
    result.levels.assign(Index(levels), std::vector<const CLigne*>(Index(nodes), nullptr));
    for (int i = 0; i < nodes; ++i) {
        const int level = LevelOf(grouping, i);
        if (level < 0)
            continue;
        result.labels.push_back(std::make_unique<CLigne>(*grouping.Node(i)));
        result.levels[Index(level)][Index(i)] = result.labels.back().get();
    }
    return result;
}

FusionsNoeuds DonnerFusionsNoeuds(const CRecodageModalite& grouping, int columns) {
    const int levels = grouping.DonnerNombreNiveaux();
    const int nodes = grouping.NodeCount();
    FusionsNoeuds merges{CFusion(1, levels, nodes, columns), CFusion(1, levels, nodes, columns)};
    merges.columnMerges.SetFusion(0, 0, static_cast<std::uint16_t>(levels - 1));
    for (int i = 0; i < nodes; ++i) {
        const int level = LevelOf(grouping, i);
        if (level < 0)
            continue;
        // Grid line i + 1: the column-header level comes first.
        merges.columnMerges.SetFusion(i + 1, level, static_cast<std::uint16_t>(levels - level - 1));
        merges.rowMerges.SetFusion(i + 1, level, static_cast<std::uint16_t>(grouping.DonnerNombreDescendants(i)));
    }
    return merges;
}

} // namespace EnTetesRegroupement
