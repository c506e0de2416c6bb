#include "portfolio/MapSnapshot.h"

#include <algorithm>
#include <cstddef>

namespace {

using Index = std::size_t;

std::vector<double> CopyCoordinates(const double* coordinates, std::int32_t points, std::int32_t axes) {
    if (coordinates == nullptr || points <= 0 || axes <= 0)
        return {};
    return std::vector<double>(coordinates,
                               coordinates + static_cast<Index>(points) * static_cast<Index>(axes));
}

} // namespace

MapSnapshot::MapSnapshot(const CMapping& mapping) : m_mapping(mapping) {
    const CMappingSource* source = mapping.source;
    const std::int32_t rows = mapping.coordonneesLignes != nullptr ? std::max(mapping.nombreLignes, 0) : 0;
    const std::int32_t columns =
        mapping.coordonneesColonnes != nullptr ? std::max(mapping.nombreColonnes, 0) : 0;
    m_rowCoordinates = CopyCoordinates(mapping.coordonneesLignes, rows, mapping.nombreAxes);
    m_columnCoordinates = CopyCoordinates(mapping.coordonneesColonnes, columns, mapping.nombreAxes);
    for (std::int32_t i = 0; i < rows; ++i)
        m_rowLabels.push_back(mapping.DonnerLibelle(CMapping::kLignes, i));
    for (std::int32_t i = 0; i < columns; ++i)
        m_columnLabels.push_back(mapping.DonnerLibelle(CMapping::kColonnes, i));
    for (int set = 0; set < 2; ++set)
        for (int axe = 0; axe < std::max(mapping.nombreAxes, 0); ++axe) {
            m_coordinates[set].push_back(source ? source->DonnerCoordonnees(set, axe)
                                                : std::vector<double>());
            m_qualities[set].push_back(source ? source->DonnerQualites(set, axe) : std::vector<double>());
            m_contributions[set].push_back(source ? source->DonnerContributions(set, axe)
                                                  : std::vector<double>());
        }

    m_mapping.coordonneesLignes = m_rowCoordinates.empty() ? nullptr : m_rowCoordinates.data();
    m_mapping.coordonneesColonnes = m_columnCoordinates.empty() ? nullptr : m_columnCoordinates.data();
    m_mapping.nombreLignes = m_mapping.coordonneesLignes != nullptr ? rows : 0;
    m_mapping.nombreColonnes = m_mapping.coordonneesColonnes != nullptr ? columns : 0;
    m_mapping.source = this;
    m_mapping.proprietaire = nullptr;
    for (CParamBrushing& brushing : m_mapping.brushing)
        if (brushing.mode == CParamBrushing::kQuestion) {
            brushing.mode = CParamBrushing::kAucun;
            brushing.question = nullptr;
        }
    for (CParamSizing& sizing : m_mapping.sizing)
        if (sizing.mode == CParamBrushing::kQuestion) {
            sizing.mode = CParamBrushing::kAucun;
            sizing.question = nullptr;
        }
}

std::string MapSnapshot::DonnerLibelleLigne(std::int32_t index) const {
    return index >= 0 && static_cast<Index>(index) < m_rowLabels.size()
               ? m_rowLabels[static_cast<Index>(index)]
               : std::string();
}

std::string MapSnapshot::DonnerLibelleColonne(std::int32_t index) const {
    return index >= 0 && static_cast<Index>(index) < m_columnLabels.size()
               ? m_columnLabels[static_cast<Index>(index)]
               : std::string();
}

const std::vector<double>& MapSnapshot::Axis(const PerAxis (&values)[2], int ensemble, int axe) {
    static const std::vector<double> kNone;
    if (ensemble < 0 || ensemble > 1 || axe < 0 || static_cast<Index>(axe) >= values[ensemble].size())
        return kNone;
    return values[ensemble][static_cast<Index>(axe)];
}

std::vector<double> MapSnapshot::DonnerCoordonnees(int ensemble, int axe) const {
    return Axis(m_coordinates, ensemble, axe);
}

std::vector<double> MapSnapshot::DonnerQualites(int ensemble, int axe) const {
    return Axis(m_qualities, ensemble, axe);
}

std::vector<double> MapSnapshot::DonnerContributions(int ensemble, int axe) const {
    return Axis(m_contributions, ensemble, axe);
}
