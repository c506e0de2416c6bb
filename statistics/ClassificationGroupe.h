#pragma once

#include <cstdint>
#include <vector>

// A node of the tree of a hierarchical classification: a merge, or an item that was not split
// further (a start group, an interview, or a merge below the clusters shown). The dendrogram
// owns its nodes; the links between them do not own.
class CClassificationGroupe {
public:
    std::int32_t nbInterviews = 0;
    double niveau = 0.0;          // percent of the inertia kept between groups
    std::int32_t numeroFusion = -1; // -1 for a leaf of the classification
    std::int32_t numeroGroupe = 0;  // 1-based place in the partition, 0 outside it
    std::int32_t rangDessin = 0;    // position of numeroFusion among the tree's distinct merge numbers
    double position = 0.0;          // leaves 0, 1, 2, ... top to bottom; a merge halfway between its children
    std::vector<std::int32_t> membres; // interview rows, on nodes whose children are not drawn
    CClassificationGroupe* gauche = nullptr;
    CClassificationGroupe* droite = nullptr;
    CClassificationGroupe* parent = nullptr;

    bool ADeuxEnfants() const { return gauche != nullptr && droite != nullptr; }
};
