#include "gui/statistics/FactorFormView.h"

std::vector<double> FactorFormView::DonnerCoordonnees(int ensemble, int axe) const {
    return m_results.Coordonnees(ensemble, axe);
}

std::vector<double> FactorFormView::DonnerQualites(int ensemble, int axe) const {
    return m_results.Qualites(ensemble, axe);
}

std::vector<double> FactorFormView::DonnerContributions(int ensemble, int axe) const {
    return m_results.Contributions(ensemble, axe);
}
