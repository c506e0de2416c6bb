#include "tabulation/LignesRepetees.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <map>

#include "app/Calcul.h"
#include "app/Ligne.h"

namespace LignesRepetees {
namespace {

std::size_t Index(int i) { return static_cast<std::size_t>(i); }

// What the kernels place a line by: its code, when it was built from a modality and is not a
// calculation line.
bool StandsForAModality(const CLigne* line) {
    return line != nullptr && line->fromModality != 0 && dynamic_cast<const CCalcul*>(line) == nullptr;
}

} // namespace

std::vector<int> DonnerSources(const std::vector<std::unique_ptr<CLigne>>& lines) {
    std::vector<int> sources(lines.size());
    std::map<std::int32_t, int> firstOfCode;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const int position = static_cast<int>(i);
        sources[i] = position;
        if (StandsForAModality(lines[i].get()))
            sources[i] = firstOfCode.try_emplace(lines[i]->code, position).first->second;
    }
    return sources;
}

int Source(const std::vector<int>& sources, int position) {
    if (position < 0 || Index(position) >= sources.size())
        return position;
    return sources[Index(position)];
}

void RecopierLignes(std::span<double> records, int width, const std::vector<int>& sources) {
    if (width <= 0)
        return;
    const std::size_t size = Index(width);
    for (std::size_t i = 0; i < sources.size(); ++i) {
        const std::size_t source = Index(sources[i]);
        if (source == i || (std::max(source, i) + 1) * size > records.size())
            continue;
        std::copy_n(records.begin() + static_cast<std::ptrdiff_t>(source * size), size,
                    records.begin() + static_cast<std::ptrdiff_t>(i * size));
    }
}

void RecopierColonnes(std::span<double> cells, int columns, const std::vector<int>& sources) {
    if (columns <= 0)
        return;
    const std::size_t width = Index(columns);
    for (std::size_t row = 0; (row + 1) * width <= cells.size(); ++row) {
        for (std::size_t j = 0; j < sources.size() && j < width; ++j) {
            const std::size_t source = Index(sources[j]);
            if (source != j && source < width)
                cells[row * width + j] = cells[row * width + source];
        }
    }
}

} // namespace LignesRepetees
