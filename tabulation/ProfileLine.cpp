#include "tabulation/ProfileLine.h"

#include "app/Ligne.h"
#include "tabulation/LignesRepetees.h"
#include "tabulation/MoteurTableau.h"

#include <limits>

namespace {

std::int16_t Signed(std::uint16_t position) {
    if (position == CMoteurTableau::kNotKept || position > std::numeric_limits<std::int16_t>::max())
        return -1;
    return static_cast<std::int16_t>(position);
}

} // namespace

ProfileLine ProfileLine::Donner(const CMoteurTableau& engine, const CProfil& profile, int index) {
    ProfileLine line;
    int selectedCount = 0;
    engine.DonnerIndexModalites(profile, index, line.question, line.modalityCount, line.codes, line.map,
                                line.totalPosition, line.nonResponsePosition, selectedCount, line.selected);
    line.signedMap.reserve(line.map.size());
    for (const std::uint16_t position : line.map)
        line.signedMap.push_back(Signed(position));
    std::vector<std::unique_ptr<CLigne>> lines;
    CLigne::CreerLignesModalites(lines, line.selected);
    line.sources = LignesRepetees::DonnerSources(lines);
    line.totalPosition = LignesRepetees::Source(line.sources, line.totalPosition);
    line.nonResponsePosition = LignesRepetees::Source(line.sources, line.nonResponsePosition);
    return line;
}
