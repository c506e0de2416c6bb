#include "statistics/MappingSource.h"

#include <cstddef>

#include "tabulation/FonctionsStatistiques.h"

CLigne CMappingSource::DonnerLigne(std::int32_t, std::int32_t, std::int32_t) const { return CLigne(); }
std::string CMappingSource::DonnerLibelleLigne(std::int32_t) const { return {}; }
std::string CMappingSource::DonnerLibelleColonne(std::int32_t) const { return {}; }
bool CMappingSource::DonnerQuestion() const { return false; }
std::vector<double> CMappingSource::DonnerCoordonnees(int, int) const { return {}; }
std::vector<double> CMappingSource::DonnerQualites(int, int) const { return {}; }
std::vector<double> CMappingSource::DonnerContributions(int, int) const { return {}; }
std::vector<double> CMappingSource::DonnerModalite(CQuestionEtendue&) const { return {}; }
std::vector<double> CMappingSource::DonnerValeur(CQuestionEtendue&) const { return {}; }

const CLigne* CMappingSource::Label(std::int32_t selector, std::int32_t level, std::int32_t index) const {
    m_ligne = DonnerLigne(selector, level, index);
    return &m_ligne;
}

std::vector<double> CMappingSource::ColonneResultats(const std::vector<double>& table, int points, int axes, int axe) {
    if (axe < 0 || axe >= axes || table.size() < static_cast<std::size_t>(points) * static_cast<std::size_t>(axes))
        return {};
    std::vector<double> column(static_cast<std::size_t>(points));
    for (int i = 0; i < points; ++i)
        column[static_cast<std::size_t>(i)] = table[static_cast<std::size_t>(i) * static_cast<std::size_t>(axes) + static_cast<std::size_t>(axe)];
    return column;
}

std::vector<double> CMappingSource::ColonneContributions(const std::vector<double>& table, int actifs, int points,
                                                         int axes, int axe) {
    std::vector<double> column = ColonneResultats(table, actifs, axes, axe);
    if (column.empty() && actifs > 0)
        return {};
    column.resize(static_cast<std::size_t>(points), kValeurManquante);
    return column;
}
