#pragma once

#include <memory>
#include <span>
#include <vector>

class CLigne;

// A request may put the same line twice on an axis: a modality named twice, or two Total lines.
// The kernels count each modality once, on its first line; the compute functions then copy the
// values of that line onto its repeats, so that every occurrence shows the same numbers and none
// is counted twice (the sums over the lines see a repeat as empty while they are made).
namespace LignesRepetees {

// For each line of the axis, the position of the line whose values it shows: the first line that
// stands for the same thing, a line built from a modality (not a calculation line) with the same
// code, the Total line included. Every other line shows its own values.
std::vector<int> DonnerSources(const std::vector<std::unique_ptr<CLigne>>& lines);

// The line whose values `position` shows; a position outside the axis (-1: no such line) is kept.
int Source(const std::vector<int>& sources, int position);

// Records of `width` values, one per line of the axis: each repeat receives its source's record.
void RecopierLignes(std::span<double> records, int width, const std::vector<int>& sources);

// A row-major grid of `columns` columns whose columns are the lines of the axis: each repeated
// column receives its source column, in every row.
void RecopierColonnes(std::span<double> cells, int columns, const std::vector<int>& sources);

} // namespace LignesRepetees
