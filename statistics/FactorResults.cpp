#include "statistics/FactorResults.h"

#include <utility>

#include "statistics/MappingSource.h"

namespace {
const std::vector<double> kNone;
const char* const kEigenvalueHeadings[] = {"Valeur propre", "Information", "Information cumulée"};
} // namespace

void FactorResults::Vider() {
    m_kind = Kind::kNone;
    m_acp = ResultatsAcp();
    m_ca = ResultatsCorrespondances();
}

void FactorResults::SetAcp(ResultatsAcp results) {
    Vider();
    m_acp = std::move(results);
    m_kind = Kind::kAcp;
}

void FactorResults::SetCorrespondances(ResultatsCorrespondances results) {
    Vider();
    m_ca = std::move(results);
    m_kind = Kind::kCorrespondances;
}

int FactorResults::Axes() const { return EstAcp() ? m_acp.axes : m_ca.axes; }
int FactorResults::Lignes() const { return EstAcp() ? m_acp.lignes : m_ca.lignes; }
int FactorResults::LignesActives() const { return EstAcp() ? m_acp.lignesActives : m_ca.lignesActives; }
int FactorResults::Colonnes() const { return EstAcp() ? m_acp.variables : m_ca.colonnes; }
int FactorResults::ColonnesActives() const { return EstAcp() ? m_acp.variablesActives : m_ca.colonnesActives; }

const std::vector<double>& FactorResults::ValeursPropres() const {
    return EstAcp() ? m_acp.valeursPropres : m_ca.valeursPropres;
}

int FactorResults::NombreValeursPropres() const {
    return static_cast<int>(ValeursPropres().size() / 3);
}

const std::vector<double>& FactorResults::CoordonneesLignes() const {
    return EstAcp() ? m_acp.coordonneesLignes : m_ca.coordonneesLignes;
}

const std::vector<double>& FactorResults::CoordonneesColonnes() const {
    return EstAcp() ? m_acp.correlations : m_ca.coordonneesColonnes;
}

std::vector<double> FactorResults::Coordonnees(int ensemble, int axe) const {
    if (!Existe())
        return {};
    if (ensemble == kLignes)
        return CMappingSource::ColonneResultats(CoordonneesLignes(), Lignes(), Axes(), axe);
    if (ensemble == kColonnes)
        return CMappingSource::ColonneResultats(CoordonneesColonnes(), Colonnes(), Axes(), axe);
    return {};
}

std::vector<double> FactorResults::Qualites(int ensemble, int axe) const {
    if (!Existe())
        return {};
    if (ensemble == kLignes)
        return CMappingSource::ColonneResultats(EstAcp() ? m_acp.qualitesLignes : m_ca.qualitesLignes, Lignes(),
                                                Axes(), axe);
    if (ensemble == kColonnes && !EstAcp())
        return CMappingSource::ColonneResultats(m_ca.qualitesColonnes, Colonnes(), Axes(), axe);
    return {};
}

std::vector<double> FactorResults::Contributions(int ensemble, int axe) const {
    if (!Existe())
        return {};
    if (ensemble == kLignes)
        return CMappingSource::ColonneContributions(EstAcp() ? m_acp.contributionsLignes : m_ca.contributionsLignes,
                                                    LignesActives(), Lignes(), Axes(), axe);
    if (ensemble == kColonnes && !EstAcp())
        return CMappingSource::ColonneContributions(m_ca.contributionsColonnes, ColonnesActives(), Colonnes(), Axes(),
                                                    axe);
    return {};
}

std::string FactorResults::EnTeteValeursPropres(int index) {
    if (index < 0 || index >= static_cast<int>(std::size(kEigenvalueHeadings)))
        return {};
    return kEigenvalueHeadings[index];
}
