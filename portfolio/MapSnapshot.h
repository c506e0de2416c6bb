#pragma once

#include "statistics/Mapping.h"
#include "statistics/MappingSource.h"

#include <string>
#include <vector>

// A perceptual map that stands on its own: its coordinates, labels and the per-axis coordinates,
// qualities and contributions its colours and sizes are computed from, copied out of the
// analysis that drew it. A portfolio keeps maps this way, so that a map outlives the analysis
// window whose results it borrowed.
//
// What a copy cannot keep is dropped: colours or sizes chosen by a question (the question belongs
// to the survey, which may close first) fall back to no colouring, and no question is offered.
class MapSnapshot : public CMappingSource {
public:
    explicit MapSnapshot(const CMapping& mapping);
    MapSnapshot(const MapSnapshot&) = delete;
    MapSnapshot& operator=(const MapSnapshot&) = delete;

    // The map, reading from this copy; its owner is whoever holds the copy.
    CMapping& GetMapping() { return m_mapping; }
    const CMapping& GetMapping() const { return m_mapping; }

    std::string DonnerLibelleLigne(std::int32_t index) const override;
    std::string DonnerLibelleColonne(std::int32_t index) const override;
    std::vector<double> DonnerCoordonnees(int ensemble, int axe) const override;
    std::vector<double> DonnerQualites(int ensemble, int axe) const override;
    std::vector<double> DonnerContributions(int ensemble, int axe) const override;

private:
    // Per point set, per axis, one value per point.
    using PerAxis = std::vector<std::vector<double>>;
    static const std::vector<double>& Axis(const PerAxis (&values)[2], int ensemble, int axe);

    CMapping m_mapping;
    std::vector<double> m_rowCoordinates;
    std::vector<double> m_columnCoordinates;
    std::vector<std::string> m_rowLabels;
    std::vector<std::string> m_columnLabels;
    PerAxis m_coordinates[2];
    PerAxis m_qualities[2];
    PerAxis m_contributions[2];
};
