#pragma once

#include <memory>
#include <vector>

#include "app/Ligne.h"
#include "tabulation/ExecuteurTraitement.h"
#include "tabulation/Fusion.h"

class CRecodageModalite;

// The row headers of a table whose lines are the nodes of a grouping, in node order (a grouped
// flat table, a cross table with grouped rows). The header has one level per group level: a
// node's label stands at its own level, the other levels of its line stay empty, and its cell
// spans to the right edge of the header and down over its descendants, so that the tree reads
// as nested boxes.
namespace EnTetesRegroupement {

// The node labels (owned here) and, per group level, the label of each line (null where the
// line's node is of another level). Levels point into `labels`: keep both together.
struct LibellesNoeuds {
    std::vector<std::unique_ptr<CLigne>> labels;
    CExecuteurTraitement::NiveauxLibelles levels;
};

// The two merge maps of the header grid of 1 column-header level, one row-header level per group
// level, one line per node and `columns` columns.
struct FusionsNoeuds {
    CFusion rowMerges;    // vertical spans: a node over its descendants
    CFusion columnMerges; // horizontal spans: the corner, and each node to the header's edge
};

LibellesNoeuds DonnerLibellesNoeuds(const CRecodageModalite& grouping);
FusionsNoeuds DonnerFusionsNoeuds(const CRecodageModalite& grouping, int columns);

} // namespace EnTetesRegroupement
